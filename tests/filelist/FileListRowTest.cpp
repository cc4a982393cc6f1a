#include "filelist/FileListRow.h"
#include "app/VideoFileInfo.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListRow, PathCellsAndAccessors)
{
    const std::vector<FileListRow> rows{
        newFileListRow(7, u"/v/ä b.mkv"_s, 1234, u"Ready"_s),
        newFileListRow(8, u"/a.mkv"_s, -1, u"Ready"_s),
    };
    EXPECT_EQ(rows[0].directory, u"/v"_s);
    EXPECT_EQ(rows[0].fileName, u"ä b.mkv"_s);
    EXPECT_EQ(rows[0].size, 1234);
    EXPECT_TRUE(rows[0].active);
    EXPECT_EQ(rows[0].status, u"Ready"_s);
    // A file in the root: the folder keeps its "/", and the full name gets no second one.
    EXPECT_EQ(GetNgDirectory(rows, 1), u"/"_s);
    EXPECT_EQ(GetNgFullFileName(rows, 1), u"/a.mkv"_s);
    EXPECT_EQ(GetNgFullFileName(rows, 0), u"/v/ä b.mkv"_s);
    EXPECT_EQ(GetNgShortFileName(rows, 1), u"a.mkv"_s);
    EXPECT_EQ(rows[1].size, 0); // a size that could not be read

    for (int invalid : {-1, 2}) {
        EXPECT_FALSE(IsValidRowIndex(rows, invalid));
        EXPECT_TRUE(GetNgFullFileName(rows, invalid).isEmpty());
        EXPECT_TRUE(GetNgDirectory(rows, invalid).isEmpty());
        EXPECT_TRUE(GetNgShortFileName(rows, invalid).isEmpty());
    }
    EXPECT_EQ(rowIndexOfId(rows, 8), 1);
    EXPECT_EQ(rowIndexOfId(rows, 9), -1);
}

TVideoFileInfo videoAndAudio()
{
    TVideoFileInfo info;
    info.Duration = 5999500;
    info.NumberOfVideoStreams = 1;
    TVideoStreamInfo &v = info.VideoStreams[0];
    v.Codec = u"h264"_s;
    v.Bitrate = 2000;
    v.Width = 1920;
    v.Height = 1080;
    v.ScanType = u"Progressive"_s;
    info.NumberOfAudioStreams = 2;
    TAudioStreamInfo &a = info.AudioStreams[0];
    a.Codec = u"AC-3"_s;
    a.Bitrate = 448;
    a.BitrateMode = u"CBR"_s;
    a.Channels = 6;
    a.SamplingRate = 48000;
    return info;
}

TEST(FileListRow, AnalysisSummaries)
{
    const TAppStrings strings;
    TVideoFileInfo info = videoAndAudio();
    FileAnalysisCells cells = analysisCellsOf(info, strings);
    EXPECT_EQ(cells.duration, 5999500);
    EXPECT_EQ(cells.video, u"h264, 2 000 kbit/s, 1 920 x 1 080"_s);
    EXPECT_EQ(cells.videoResolution, u"1 920 x 1 080"_s);
    EXPECT_EQ(cells.audio, u"AC-3, 448 kbit/s CBR, Channels: 6"_s);
    EXPECT_EQ(cells.audioCodec, u"AC-3"_s);
    EXPECT_EQ(cells.audioSampling, 48000);

    // Parts left out: no bit rate, no height, no codec name, no channels.
    TVideoStreamInfo &v = info.VideoStreams[0];
    TAudioStreamInfo &a = info.AudioStreams[0];
    v.Bitrate = 0;
    v.Height = 0;
    a.Codec.clear();
    a.Channels = 0;
    cells = analysisCellsOf(info, strings);
    EXPECT_EQ(cells.video, u"h264"_s);
    EXPECT_TRUE(cells.videoResolution.isEmpty());
    EXPECT_EQ(cells.audio, u"448 kbit/s CBR"_s);
    v.Codec.clear();
    v.Height = 1080;
    a.Bitrate = 0;
    a.Channels = 2;
    cells = analysisCellsOf(info, strings);
    EXPECT_EQ(cells.video, u"1 920 x 1 080"_s); // not ", 1 920 x 1 080"
    EXPECT_EQ(cells.audio, u"Channels: 2"_s);

    // Streams that the file does not have leave their cells empty.
    info.NumberOfVideoStreams = 0;
    info.NumberOfAudioStreams = 0;
    cells = analysisCellsOf(info, strings);
    EXPECT_TRUE(cells.video.isEmpty() && cells.videoScanType.isEmpty());
    EXPECT_EQ(cells.videoWidth, 0);
    EXPECT_TRUE(cells.audio.isEmpty());
    EXPECT_EQ(cells.audioSampling, 0);
}

TEST(FileListRow, AudioCodecNames)
{
    const std::tuple<QString, QString, QString> cases[] = {
        {u"MPEG Audio - Version 1"_s, u"Layer 3"_s, u"MP3"_s},
        {u"MPEG Audio - Version 1"_s, u"Layer 2"_s, u"MPEG Audio - Version 1"_s},
        {u"MPEG Audio - Version 2 (MP3)"_s, u""_s, u"MP3"_s},
        {u"WMA - Version 2 (Windows Media Audio) "_s, u""_s, u"WMA - Version 2"_s},
    };
    TVideoFileInfo info;
    info.NumberOfAudioStreams = 1;
    for (const auto &[codec, profile, shown] : cases) {
        info.AudioStreams[0].Codec = codec;
        info.AudioStreams[0].Profile = profile;
        const FileAnalysisCells cells = analysisCellsOf(info, TAppStrings());
        EXPECT_EQ(cells.audioCodec, shown) << codec.toStdString();
        EXPECT_EQ(cells.audio, shown);
        EXPECT_EQ(cells.audioProfile, profile);
    }
}

TEST(FileListRow, ScanTypeTextsFromTheCatalogue)
{
    TAppStrings strings;
    strings.FileInfo.ScanType_Interlaced = u"Zeilensprung"_s;
    strings.FileInfo.ScanType_Progressive = u"Vollbild"_s;
    const std::pair<QString, QString> cases[] = {
        {u" Interlaced "_s, u"Zeilensprung"_s},
        {u"PROGRESSIVE"_s, u"Vollbild"_s},
        {u"MBAFF"_s, u"mbaff"_s},
        {u""_s, u""_s},
    };
    TVideoFileInfo info;
    info.NumberOfVideoStreams = 1;
    for (const auto &[scanType, shown] : cases) {
        info.VideoStreams[0].ScanType = scanType;
        EXPECT_EQ(analysisCellsOf(info, strings).videoScanType, shown) << scanType.toStdString();
    }
}

} // namespace
