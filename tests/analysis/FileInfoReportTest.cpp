#include "analysis/FileInfoReport.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const TFileInfoModuleStrings &English()
{
    static const TAppStrings strings;
    return strings.FileInfo;
}

TVideoStreamInfo SampleVideo()
{
    TVideoStreamInfo v;
    v.Exists = true;
    v.Codec = u"AVC"_s;
    v.CodecID = u"V_MPEG4/ISO/AVC"_s;
    v.Profile = u"High@L4"_s;
    v.PixelFormat = u"yuv420p(tv, progressive)"_s;
    v.DARStr = u"16:9"_s;
    v.ScanType = u"Progressive"_s;
    v.Width = 1920;
    v.Height = 1080;
    v.Bitrate = 4151;
    v.FPS = 23.976;
    v.BitsPerPixel = 0.08355;
    v.Frames = 1234;
    v.StreamSize = 1300000000;
    v.StreamSizeStr = u"1.21 GB"_s;
    v.StreamSizeInPercent = 95;
    v.EncodedLibrary = u"x264 core 164"_s;
    v.StreamIndex = 0;
    return v;
}

TAudioStreamInfo SampleAudio()
{
    TAudioStreamInfo a;
    a.Exists = true;
    a.Codec = u"AC-3"_s;
    a.CodecID = u"A_AC3"_s;
    a.CodecFF = u"ac3"_s;
    a.SamplingRate = 48000;
    a.Channels = 6;
    a.Frames = 96768;
    a.Bitrate = 448;
    a.BitrateMode = u"CBR"_s;
    a.Language = u"English"_s;
    a.VideoDelay = -5;
    a.StreamSize = 112640;
    a.StreamSizeStr = u"110 KB"_s;
    a.StreamSizeInPercent = 66;
    a.EncodedLibrary = u"Lavc59.37.100 ac3"_s;
    a.StreamIndex = 1;
    return a;
}

TVideoFileInfo SampleFile()
{
    TVideoFileInfo info;
    SetFileName(info, u"/films/movie.mkv"_s);
    info.FileSize = 10485760;
    info.DurationStr = u"00:01:23.45"_s;
    info.Format = u"Matroska"_s;
    info.OverallBitrate = 4211;
    info.EncodedApplication = u"Lavf59.27.100"_s;
    info.NumberOfDataStreams = 3;
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 2;
    info.VideoStreams[0] = SampleVideo();
    info.AudioStreams[0] = SampleAudio();
    info.AudioStreams[1].Exists = true;
    info.AudioStreams[1].Codec = u"AAC"_s;
    info.AudioStreams[1].Channels = 2;
    info.AudioStreams[1].StreamIndex = 2;
    info.StreamsStr[0] = {true, u"Stream #0:0: Video: h264 (High), yuv420p(tv, progressive)"_s};
    info.StreamsStr[1] = {true, u"Stream #0:1(eng): Audio: ac3, 48000 Hz, 5.1(side)"_s};
    info.StreamsStr[2] = {true, u"Stream #0:2(ger): Audio: aac (LC), 44100 Hz, stereo"_s};
    info.MediaInfoFull = u"General\nFormat                                   : Matroska\n\n"_s;
    return info;
}

// What the window shows besides the report's values.
TEST(FileInfoView, LinksSizeAndCodecIdentifiers)
{
    const FileInfoContent view = FileInfoView(SampleFile(), 1, 1, English());
    EXPECT_EQ(view.FileName, u"movie.mkv"_s);
    EXPECT_EQ(view.FileNameTarget, u"/films/movie.mkv"_s);
    EXPECT_EQ(view.Directory, u"/films"_s);
    EXPECT_EQ(view.FileSize, u"10.00 MB (10 485 760 bytes)"_s);
    EXPECT_EQ(view.Video.Codec, u"AVC (ID: V_MPEG4/ISO/AVC)"_s);
    EXPECT_EQ(view.Audio.Codec, u"AC-3 (ID: A_AC3)"_s);
    EXPECT_EQ(view.DataStreams.size(), 3);
}

TEST(FileInfoView, EmptyAndZeroValues)
{
    TVideoFileInfo info;
    info.FormatInfo = u"Long name"_s;
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 1;
    info.AudioStreams[0].StreamSizeStr = u"0"_s;
    info.AudioStreams[0].BitrateMode = u"VBR"_s;
    const FileInfoContent view = FileInfoView(info, 1, 1, English());
    EXPECT_EQ(view.FileSize, u" 0 bytes (0 bytes)"_s);
    EXPECT_EQ(view.Format, u" (Long name)"_s);
    EXPECT_EQ(view.Video.Resolution, u"0 x 0"_s);
    EXPECT_EQ(view.Video.FPS, u"0.00"_s);
    EXPECT_EQ(view.Video.StreamSize, QString());
    EXPECT_EQ(view.Audio.Bitrate, QString()); // no mode without a rate
    EXPECT_EQ(view.Audio.StreamSize, QString());
}

TEST(FileInfoView, ScanTypeWordsComeFromTheCatalogue)
{
    TAppStrings german;
    german.FileInfo.ScanType_Interlaced = u"Zeilensprung"_s;
    german.FileInfo.ScanType_Progressive = u"Vollbild"_s;
    const struct
    {
        QString scanType;
        QString english;
        QString translated;
    } cases[] = {
        {u"Interlaced"_s, u"interlaced"_s, u"Zeilensprung"_s},
        {u" progressive "_s, u"progressive"_s, u"Vollbild"_s},
        {u"MBAFF"_s, u"MBAFF"_s, u"MBAFF"_s},
        {QString(), QString(), QString()},
    };
    for (const auto &c : cases) {
        TVideoStreamInfo stream;
        stream.ScanType = c.scanType;
        EXPECT_EQ(FileInfoVideoValues(stream, English()).ScanType, c.english);
        EXPECT_EQ(FileInfoVideoValues(stream, german.FileInfo).ScanType, c.translated);
    }
}

TEST(FileInfoView, StreamSelectors)
{
    TVideoFileInfo info = SampleFile();
    info.NumberOfAudioStreams = 1;
    FileInfoContent view = FileInfoView(info, 1, 1, English());
    EXPECT_EQ(view.AudioSelector.ItemCount, 1);
    EXPECT_EQ(view.AudioSelector.Selected, 1);
    EXPECT_FALSE(view.AudioSelector.Enabled);

    // The second of three audio streams; the video choice stays.
    info.NumberOfAudioStreams = 3;
    info.AudioStreams[2].Codec = u"Third"_s;
    view = FileInfoView(info, 2, 1, English());
    EXPECT_EQ(view.AudioSelector.Selected, 2);
    EXPECT_TRUE(view.AudioSelector.Enabled);
    EXPECT_EQ(view.Audio.Codec, u"AAC"_s);
    EXPECT_EQ(view.Video.Codec, u"AVC (ID: V_MPEG4/ISO/AVC)"_s);

    // Numbers below 1, 0 included, are taken as 1.
    for (const int number : {0, -4}) {
        view = FileInfoView(info, number, number, English());
        EXPECT_EQ(view.AudioSelector.Selected, 1);
        EXPECT_EQ(view.Audio.Codec, u"AC-3 (ID: A_AC3)"_s);
        EXPECT_EQ(view.VideoSelector.Selected, 1);
    }

    // More streams than the record describes: the selectors stop at 10 and
    // 48, and a number beyond them shows an empty panel.
    info.NumberOfVideoStreams = 12;
    info.NumberOfAudioStreams = 60;
    view = FileInfoView(info, 49, 11, English());
    EXPECT_EQ(view.VideoSelector.ItemCount, 10);
    EXPECT_EQ(view.VideoSelector.Selected, 0);
    EXPECT_EQ(view.AudioSelector.ItemCount, 48);
    EXPECT_EQ(view.AudioSelector.Selected, 0);
    EXPECT_EQ(view.Video.Codec, QString());
    EXPECT_EQ(view.Audio.Codec, QString());
}

TEST(FileInfoView, DataStreamLinesSplitAtTheSecondColon)
{
    const struct
    {
        QString line;
        FileInfoDataStreamRow row;
    } cases[] = {
        {u"Stream #0:1(eng): Audio: ac3, 48000 Hz"_s,
            {u"Stream #0:1(eng)"_s, u"Audio: ac3, 48000 Hz"_s}},
        {u"Stream #0:0[0x1e0]: Video: mpeg2video"_s,
            {u"Stream #0:0[0x1e0]"_s, u"Video: mpeg2video"_s}},
        {u"Stream #0:2:"_s, {u"Stream #0:2"_s, QString()}},
        {u"Stream #0: Data"_s, {QString(), u"Stream #0: Data"_s}},
        {u"no colon"_s, {QString(), u"no colon"_s}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitDataStreamLine(c.line), c.row) << c.line.toStdString();
}

TEST(FileInfoView, CaptionNamesTheFileAndItsSize)
{
    TVideoFileInfo info;
    SetFileName(info, u"/media/a b/movie.mkv"_s);
    info.FileSize = 1300000000;
    EXPECT_EQ(FileInfoCaption(info, TAppStrings().FileInfo),
        u"Video file properties   ::   movie.mkv   ::   1.21 GB"_s);
}

TEST(FileInfoView, DataStreamRowColours)
{
    // Video: red 252, green 16, blue 3 darkened by 28 % on red 252, green
    // 237, blue 237 lightened by 3 % (red held at 255), running to that
    // darkened by 5 %; audio likewise.
    EXPECT_EQ(DataStreamRowColorsOf(u"Video: h264"_s),
        (DataStreamRowColors{false, 0xB50C02, 0xFFF4F4, 0xF2E8E8}));
    EXPECT_EQ(DataStreamRowColorsOf(u"audio: ac3"_s),
        (DataStreamRowColors{false, 0x1F5A36, 0xEFFBF3, 0xE3EEE7}));
    EXPECT_TRUE(DataStreamRowColorsOf(u"Subtitle: ass"_s).plain);
    EXPECT_TRUE(DataStreamRowColorsOf(u" Video"_s).plain);
}

TEST(FileInfoReport, WholeReportText)
{
    const QString expected
        = u"Quillon 1.10  [%1-bit] - Video file information report\r\n"
          "https://quillon.example\r\n"
          "\r\n"
          "File: /films/movie.mkv\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "GENERAL INFO\r\n"
          "\r\n"
          "File size: 10 485 760 bytes (10.00 MB)\r\n"
          "CRC32: $0A1B2C3D\r\n"
          "Duration: 00:01:23.45\r\n"
          "Overall bitrate: 4 211 kbit/s\r\n"
          "Format: Matroska\r\n"
          "Encoded application: Lavf59.27.100\r\n"
          "Number of all data streams: 3\r\n"
          "Number of video streams: 1\r\n"
          "Number of audio streams: 2\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "VIDEO STREAM\r\n"
          "\r\n"
          "Video codec: AVC\r\n"
          "Profile: High@L4\r\n"
          "Bitrate: 4 151 kbit/s\r\n"
          "Resolution: 1 920 x 1 080\r\n"
          "Display aspect: 16:9\r\n"
          "Frames / second: 23.98\r\n"
          "Scan type: progressive\r\n"
          "Pixel format: yuv420p(tv, progressive)\r\n"
          "Bits per pixel: 0.084\r\n"
          "Frames:~ 1 234\r\n"
          "Stream size: 1.21 GB (95%)\r\n"
          "Encoded library: x264 core 164\r\n"
          "Stream index: 0\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "AUDIO STREAM 1\r\n"
          "\r\n"
          "Audio codec: AC-3\r\n"
          "Profile: \r\n"
          "Bitrate: 448 kbit/s  CBR\r\n"
          "Channels: 6\r\n"
          "Sampling rate: 48 000 Hz\r\n"
          "Bits per sample: \r\n"
          "Samples:~ 96 768\r\n"
          "Video delay: -5 ms\r\n"
          "Language: English\r\n"
          "Stream size: 110 KB (66%)\r\n"
          "Encoded library: Lavc59.37.100 ac3\r\n"
          "Stream index: 1\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "AUDIO STREAM 2\r\n"
          "\r\n"
          "Audio codec: AAC\r\n"
          "Profile: \r\n"
          "Bitrate: \r\n"
          "Channels: 2\r\n"
          "Sampling rate: \r\n"
          "Bits per sample: \r\n"
          "Samples:~ 0\r\n"
          "Video delay: 0 ms\r\n"
          "Language: \r\n"
          "Stream size: \r\n"
          "Encoded library: \r\n"
          "Stream index: 2\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "DATA STREAMS:   (FFmpeg)\r\n"
          "   1: Stream #0:0 - Video: h264 (High), yuv420p(tv, progressive)\r\n"
          "   2: Stream #0:1(eng) - Audio: ac3, 48000 Hz, 5.1(side)\r\n"
          "   3: Stream #0:2(ger) - Audio: aac (LC), 44100 Hz, stereo\r\n"
          "\r\n"
          "-----------------------------------------------------------------------\r\n"
          "MediaInfo\r\n"
          "\r\n"
          "General\r\n"
          "Format                                   : Matroska\r\n"_s.arg(sizeof(void *) * 8);
    EXPECT_EQ(FormatFileInfoReport(SampleFile(), u"/films/movie.mkv"_s, 0x0a1b2c3d, English(),
                  u"https://quillon.example"_s),
        expected);
}

TEST(FileInfoReport, CrcLineOnlyUpTo300MiB)
{
    const struct
    {
        int64_t size;
        bool crcLine;
    } cases[]
        = {{0, true}, {10485760, true}, {314572800, true}, {314572801, false}, {1073741824, false}};
    for (const auto &c : cases) {
        TVideoFileInfo info;
        info.FileSize = c.size;
        const QString report = FormatFileInfoReport(info, u"f"_s, 7, English(), QString());
        EXPECT_EQ(report.contains(u"\r\nCRC32: $00000007\r\n"_s), c.crcLine) << c.size;
    }
    // No checksum at hand (the file could not be read): no line.
    TVideoFileInfo small;
    small.FileSize = 100;
    EXPECT_FALSE(FormatFileInfoReport(small, u"f"_s, std::nullopt, English(), QString())
                     .contains(u"CRC32"_s));
}

TEST(FileInfoReport, HeadingsAndOptionalBlocks)
{
    TVideoFileInfo info = SampleFile();
    info.NumberOfVideoStreams = 2;
    info.VideoStreams[1].Codec = u"MJPEG"_s;
    QString report = FormatFileInfoReport(info, u"f"_s, std::nullopt, English(), QString());
    EXPECT_TRUE(report.contains(u"\r\nVIDEO STREAM 1\r\n\r\nVideo codec: AVC\r\n"_s));
    EXPECT_TRUE(report.contains(u"\r\nVIDEO STREAM 2\r\n\r\nVideo codec: MJPEG\r\n"_s));

    // Twelve video streams: ten blocks, as many as are described.
    info.NumberOfVideoStreams = 12;
    report = FormatFileInfoReport(info, u"f"_s, std::nullopt, English(), QString());
    EXPECT_TRUE(report.contains(u"VIDEO STREAM 10\r\n"_s));
    EXPECT_FALSE(report.contains(u"VIDEO STREAM 11"_s));

    // Without stream lines and without a MediaInfo report the blocks go.
    TVideoFileInfo bare;
    report = FormatFileInfoReport(bare, u"f"_s, std::nullopt, English(), QString());
    EXPECT_FALSE(report.contains(u"DATA STREAMS"_s));
    EXPECT_FALSE(report.contains(u"MediaInfo"_s));
    EXPECT_TRUE(report.endsWith(u"Number of audio streams: 0\r\n"_s));

    // A translated catalogue changes the texts.
    TAppStrings german;
    german.FileInfo.Report_Info = u"%s - Bericht"_s;
    german.FileInfo.lblVideoFrames = u"Bilder:"_s;
    report = FormatFileInfoReport(SampleFile(), u"f"_s, std::nullopt, german.FileInfo, QString());
    EXPECT_TRUE(report.startsWith(u"Quillon 1.10  ["_s));
    EXPECT_TRUE(report.section(u"\r\n"_s, 0, 0).endsWith(u"] - Bericht"_s));
    EXPECT_TRUE(report.contains(u"\r\nBilder:~ 1 234\r\n"_s));
}

TEST(FileInfoReport, SavedWithByteOrderMarkUnderTheProposedName)
{
    EXPECT_EQ(ProposedInfoReportName(u"/films/movie.mkv"_s), u"/films/movie.mkv_info.txt"_s);

    QTemporaryDir dir;
    const QString path = ProposedInfoReportName(dir.filePath(u"fïlm.mkv"_s));
    ASSERT_TRUE(TestSupport::WriteFile(path, "an older, longer report to be replaced"));
    ASSERT_TRUE(SaveInfoReport(path, u"Größe\r\n"_s));
    EXPECT_EQ(TestSupport::ReadFile(path), QByteArray("\xEF\xBB\xBF") + u"Größe\r\n"_s.toUtf8());

    QString error;
    EXPECT_FALSE(SaveInfoReport(dir.filePath(u"no/such/folder/r.txt"_s), u"x"_s, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
