#include "analysis/MediaInfoAnalysis.h"

#include "analysis/MediaInfoLibrary.h"
#include "analysis/MediaInfoTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MediaInfoTest;
using namespace Qt::Literals::StringLiterals;

namespace {

// ReadMediaInfo over info, with the fake library answering `answers`.
TVideoFileInfo Analyse(const QStringList &answers, TVideoFileInfo info = {})
{
    QTemporaryDir dir;
    ReadMediaInfo(WriteFakeMedia(dir.filePath(u"media.mkv"_s), answers), FakeLibrary(), info);
    return info;
}

// One general, one video and one audio stream; the rows name the rest.
QStringList OneOfEach(const QStringList &more)
{
    return QStringList{u"0;0;StreamCount=1"_s, u"1;0;StreamCount=1"_s, u"2;0;StreamCount=1"_s}
    + more;
}

// Holds a value in every field that an untouched record must still show.
TVideoFileInfo Marked()
{
    TVideoFileInfo info;
    SetFileName(info, u"/in/clip.mkv"_s);
    info.FileSize = 1234;
    info.Format = u"from before"_s;
    info.VideoStreams[0].Codec = u"h264 (High)"_s;
    return info;
}

void ExpectUntouched(const TVideoFileInfo &info, const char *what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(info.FileName, u"/in/clip.mkv"_s);
    EXPECT_EQ(info.FileSize, 1234);
    EXPECT_EQ(info.Format, u"from before"_s);
    EXPECT_EQ(info.VideoStreams[0].Codec, u"h264 (High)"_s);
    EXPECT_EQ(info.NumberOfDataStreams, 0);
    EXPECT_TRUE(info.MediaInfoFull.isEmpty());
}

const QStringList RichFile{
    u"0;0;StreamCount=1"_s, u"0;0;Format=Matroska"_s, u"1;0;StreamCount=1"_s, u"1;0;Format=AVC"_s};

} // namespace

TEST(MediaInfoAnalysis, CountsStreamsOfEveryKindButTheGeneralOne)
{
    RunInFreshProcess([] {
        struct Case
        {
            QStringList counts;
            int data, video, audio;
        };
        const Case cases[] = {
            {{u"0;0;StreamCount=1"_s, u"1;0;StreamCount=1"_s, u"2;0;StreamCount=2"_s,
                 u"3;0;StreamCount=3"_s},
                6, 1, 2},
            {{u"0;0;StreamCount=1"_s, u"4;0;StreamCount=1"_s, u"5;0;StreamCount=2"_s,
                 u"6;0;StreamCount=1"_s},
                4, 0, 0},
            {{u"0;0;StreamCount=1"_s}, 0, 0, 0},
            // More than the 8-bit counter holds: it stops at its maximum.
            {{u"0;0;StreamCount=1"_s, u"2;0;StreamCount=300"_s}, 300, 0, 255},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE(c.counts.join(u' ').toStdString());
            const TVideoFileInfo info = Analyse(c.counts);
            EXPECT_EQ(info.NumberOfDataStreams, c.data);
            EXPECT_EQ(info.NumberOfVideoStreams, c.video);
            EXPECT_EQ(info.NumberOfAudioStreams, c.audio);
        }
    });
}

TEST(MediaInfoAnalysis, DescribesAtMostTenVideoStreams)
{
    RunInFreshProcess([] {
        QStringList answers{u"0;0;StreamCount=1"_s, u"1;0;StreamCount=12"_s};
        for (int i = 0; i < 12; ++i)
            answers << u"1;%1;Format=V%1"_s.arg(i) << u"1;%1;Width=%2"_s.arg(i).arg(100 + i);
        const TVideoFileInfo info = Analyse(answers);
        EXPECT_EQ(info.NumberOfVideoStreams, 12);
        EXPECT_EQ(info.NumberOfDataStreams, 12);
        for (int i = 0; i < MaxVideoStreams; ++i) {
            EXPECT_EQ(info.VideoStreams[i].Codec, u"V%1"_s.arg(i));
            EXPECT_EQ(info.VideoStreams[i].Width, 100 + i);
        }
    });
}

TEST(MediaInfoAnalysis, ContainerVideoFieldsAndReport)
{
    RunInFreshProcess([] {
        const TVideoFileInfo info = Analyse(OneOfEach({u"0;0;Format=Matroska"_s,
            u"0;0;Format/Info=Matroska container"_s, u"0;0;OverallBitRate=428599"_s,
            u"0;0;Encoded_Library=Lavf59.27.100"_s, u"1;0;Format=MPEG Video"_s,
            u"1;0;Format_Version=Version 2"_s, u"1;0;Format_Profile=Main@Main"_s,
            u"1;0;BitRate=-5000"_s, u"1;0;Width=720"_s, u"1;0;Height=576"_s,
            u"1;0;DisplayAspectRatio=1.778"_s, u"1;0;DisplayAspectRatio/String=16:9"_s,
            u"1;0;FrameRate=25.000"_s, u"1;0;FrameCount=3000000000"_s,
            u"1;0;ScanType/String=Interlaced"_s, u"1;0;Encoded_Library/String=x264 core 164"_s}));
        EXPECT_EQ(info.Format, u"Matroska"_s);
        EXPECT_EQ(info.FormatInfo, u"Matroska container"_s);
        EXPECT_EQ(info.OverallBitrate, 428);
        EXPECT_EQ(info.EncodedApplication, u"Lavf59.27.100"_s);
        // Set before the report is asked for: the normal, not the complete one.
        EXPECT_EQ(info.MediaInfoFull, u"Fake MediaInfo A\nComplete: 0\n"_s);

        const TVideoStreamInfo &v = info.VideoStreams[0];
        EXPECT_EQ(v.Codec, u"MPEG Video - Version 2"_s);
        EXPECT_EQ(v.Profile, u"Main@Main"_s);
        EXPECT_EQ(v.Bitrate, 0);
        EXPECT_EQ(v.Width, 720);
        EXPECT_EQ(v.Height, 576);
        EXPECT_DOUBLE_EQ(v.DAR, 1.778);
        EXPECT_EQ(v.DARStr, u"16:9"_s);
        EXPECT_DOUBLE_EQ(v.FPS, 25.0);
        EXPECT_EQ(v.Frames, 3000000000u);
        EXPECT_EQ(v.ScanType, u"Interlaced"_s);
        EXPECT_EQ(v.EncodedLibrary, u"x264 core 164"_s);
        EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenFiles"), 0);
        EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles"), 0);
    });
}

TEST(MediaInfoAnalysis, VideoCodecIdFallsBackWhenTheHintIsEmpty)
{
    RunInFreshProcess([] {
        struct Case
        {
            QString hint, codecId, expected;
        };
        const Case cases[] = {
            {QString(), u"V_MPEG4/ISO/AVC"_s, u"V_MPEG4/ISO/AVC"_s},
            {u"XviD"_s, u"XVID"_s, u"XviD"_s},
        };
        for (const Case &c : cases) {
            const TVideoFileInfo info = Analyse(
                OneOfEach({u"1;0;CodecID/Hint="_s + c.hint, u"1;0;CodecID="_s + c.codecId}));
            EXPECT_EQ(info.VideoStreams[0].CodecID, c.expected);
        }
    });
}

TEST(MediaInfoAnalysis, BitsPerPixelComputedUnlessReported)
{
    RunInFreshProcess([] {
        const QStringList hd{u"1;0;BitRate=2000000"_s, u"1;0;Width=1280"_s, u"1;0;Height=720"_s,
            u"1;0;FrameRate=25.000"_s};
        EXPECT_NEAR(Analyse(OneOfEach(hd)).VideoStreams[0].BitsPerPixel, 0.0868, 1e-4);
        EXPECT_DOUBLE_EQ(Analyse(OneOfEach(hd + QStringList{u"1;0;Bits-(Pixel*Frame)=0.150"_s}))
                             .VideoStreams[0]
                             .BitsPerPixel,
            0.150);

        // Values the library lacks come from what the probe found before.
        TVideoFileInfo probed;
        probed.VideoStreams[0].Bitrate = 2000;
        probed.VideoStreams[0].FPS = 25;
        EXPECT_NEAR(Analyse(OneOfEach({u"1;0;Width=1280"_s, u"1;0;Height=720"_s}), probed)
                        .VideoStreams[0]
                        .BitsPerPixel,
            0.0868, 1e-4);
        EXPECT_EQ(Analyse(OneOfEach({u"1;0;Width=1280"_s})).VideoStreams[0].BitsPerPixel, 0);
    });
}

TEST(MediaInfoAnalysis, AudioBitRateRules)
{
    RunInFreshProcess([] {
        struct Case
        {
            QString bitRate, mode;
            int before, expected;
        };
        const Case cases[] = {
            {u"1509000 / 640000"_s, QString(), 0, 1074},
            {u"191000"_s, u"CBR"_s, 0, 192},
            {u"191000"_s, u"cbr"_s, 0, 192},
            {u"191000"_s, u"VBR"_s, 0, 191},
            {u"192000"_s, u"CBR"_s, 0, 192},
            // Not a usable rate: the probe's value stays.
            {u"1509000 / unknown"_s, QString(), 77, 77},
            {u"-128000"_s, QString(), 77, 77},
            {QString(), QString(), 77, 77},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE((c.bitRate + u' ' + c.mode).toStdString());
            TVideoFileInfo probed;
            probed.AudioStreams[0].Bitrate = c.before;
            const TVideoFileInfo info = Analyse(
                OneOfEach({u"2;0;BitRate="_s + c.bitRate, u"2;0;BitRate_Mode="_s + c.mode}),
                probed);
            EXPECT_EQ(info.AudioStreams[0].Bitrate, c.expected);
            EXPECT_EQ(info.AudioStreams[0].BitrateMode, c.mode);
        }
    });
}

TEST(MediaInfoAnalysis, AudioCodecNameAndChannels)
{
    RunInFreshProcess([] {
        struct NameCase
        {
            QString format, version, hint, info, expected;
        };
        const NameCase names[] = {
            {u"MPEG Audio"_s, u"Version 1"_s, u"MP3"_s, u"MPEG-1 Audio layer 3"_s,
                u"MPEG Audio - Version 1 (MP3)"_s},
            {u"AC-3"_s, QString(), QString(), QString(), u"AC-3"_s},
            {u"WMA"_s, u"Version 2"_s, u"161"_s, u"Windows Media Audio"_s,
                u"WMA - Version 2 (Windows Media Audio)"_s},
            {u"AAC"_s, QString(), QString(), u"AAC"_s, u"AAC"_s},
            // No format: the probe's codec name stays.
            {QString(), u"Version 1"_s, u"MP3"_s, QString(), u"aac (LC)"_s},
        };
        for (const NameCase &c : names) {
            TVideoFileInfo probed;
            probed.AudioStreams[0].Codec = u"aac (LC)"_s;
            const TVideoFileInfo info = Analyse(
                OneOfEach({u"2;0;Format="_s + c.format, u"2;0;Format_Version="_s + c.version,
                    u"2;0;CodecID/Hint="_s + c.hint, u"2;0;CodecID/Info="_s + c.info}),
                probed);
            EXPECT_EQ(info.AudioStreams[0].Codec, c.expected);
        }

        struct ChannelCase
        {
            QString original, channels;
            int before, expected;
        };
        const ChannelCase channels[] = {
            {u"8"_s, u"6"_s, 0, 8},
            {QString(), u"6"_s, 0, 6},
            {u"Object Based"_s, u"16"_s, 0, 16},
            {QString(), QString(), 2, 2},
            {QString(), u"-2"_s, 2, 2},
        };
        for (const ChannelCase &c : channels) {
            TVideoFileInfo probed;
            probed.AudioStreams[0].Channels = uint8_t(c.before);
            const TVideoFileInfo info
                = Analyse(OneOfEach({u"2;0;Channel(s)_Original="_s + c.original,
                              u"2;0;Channel(s)="_s + c.channels}),
                    probed);
            EXPECT_EQ(info.AudioStreams[0].Channels, c.expected)
                << c.original.toStdString() << " / " << c.channels.toStdString();
        }

        const TAudioStreamInfo a = Analyse(
            OneOfEach({u"2;0;CodecID=A_AC3"_s, u"2;0;Format_Profile=LC"_s,
                u"2;0;Channel(s)/String=6 channels"_s, u"2;0;SamplingRate=48000"_s,
                u"2;0;BitDepth=24"_s, u"2;0;SamplingCount=49152"_s, u"2;0;Video_Delay=-5"_s,
                u"2;0;Language/String=Français"_s, u"2;0;Encoded_Library/String=Lavc59 ac3"_s}))
                                       .AudioStreams[0];
        EXPECT_EQ(a.CodecID, u"A_AC3"_s);
        EXPECT_EQ(a.Profile, u"LC"_s);
        EXPECT_EQ(a.ChannelsStr, u"6 channels"_s);
        EXPECT_EQ(a.SamplingRate, 48000);
        EXPECT_EQ(a.BitsPerSample, 24);
        EXPECT_EQ(a.Frames, 49152u);
        EXPECT_EQ(a.VideoDelay, -5);
        EXPECT_EQ(a.Language, u"Français"_s);
        EXPECT_EQ(a.EncodedLibrary, u"Lavc59 ac3"_s);
    });
}

TEST(MediaInfoAnalysis, StreamSizesAndShares)
{
    RunInFreshProcess([] {
        struct Case
        {
            QString size, text;
            int64_t expectedSize;
            QString expectedText;
            int expectedPercent;
        };
        const Case cases[] = {
            {u"3221225472"_s, u"3.00 GiB (95%)"_s, 3221225472, u"3.00 GB"_s, 95},
            {u"24576"_s, u"24.0 KiB (44%)"_s, 24576, u"24.0 KB"_s, 44},
            {QString(), u"812 mib"_s, 0, u"812 MB"_s, 0},
            {u"n/a"_s, u"1.5 GiB (250%)"_s, 0, u"1.5 GB"_s, 100},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE(c.text.toStdString());
            const TVideoFileInfo info = Analyse(
                OneOfEach({u"1;0;StreamSize="_s + c.size, u"1;0;StreamSize/String="_s + c.text,
                    u"2;0;StreamSize="_s + c.size, u"2;0;StreamSize/String="_s + c.text}));
            EXPECT_EQ(info.VideoStreams[0].StreamSize, c.expectedSize);
            EXPECT_EQ(info.VideoStreams[0].StreamSizeStr, c.expectedText);
            EXPECT_EQ(info.VideoStreams[0].StreamSizeInPercent, c.expectedPercent);
            EXPECT_EQ(info.AudioStreams[0].StreamSize, c.expectedSize);
            EXPECT_EQ(info.AudioStreams[0].StreamSizeStr, c.expectedText);
            EXPECT_EQ(info.AudioStreams[0].StreamSizeInPercent, c.expectedPercent);
        }
    });
}

TEST(MediaInfoAnalysis, DurationFromTheFirstAudioStreamOrElseTheContainerUnlessAlreadyKnown)
{
    RunInFreshProcess([] {
        const QStringList answers{u"0;0;StreamCount=1"_s, u"2;0;StreamCount=3"_s,
            u"2;1;Duration=1024.000000"_s, u"2;2;Duration=2000"_s};
        const TVideoFileInfo fresh = Analyse(answers);
        EXPECT_DOUBLE_EQ(fresh.Duration, 1024);
        EXPECT_EQ(fresh.DurationStr, u"00:00:01.024"_s);

        TVideoFileInfo probed;
        probed.Duration = 600000;
        probed.DurationStr = u"00:10:00.00"_s;
        const TVideoFileInfo kept = Analyse(answers, probed);
        EXPECT_DOUBLE_EQ(kept.Duration, 600000);
        EXPECT_EQ(kept.DurationStr, u"00:10:00.00"_s);

        for (const TVideoFileInfo &info : {fresh, kept}) {
            EXPECT_EQ(info.AudioStreams[0].DurationMs, 0);
            EXPECT_EQ(info.AudioStreams[1].DurationMs, 1024);
            EXPECT_EQ(info.AudioStreams[2].DurationMs, 2000);
        }

        // The container's length counts only when no audio stream has one,
        // as in a file without audio; an audio stream's wins over it.
        const TVideoFileInfo silent
            = Analyse({u"0;0;StreamCount=1"_s, u"0;0;Duration=3000.5"_s, u"1;0;StreamCount=1"_s});
        EXPECT_DOUBLE_EQ(silent.Duration, 3000);
        EXPECT_EQ(silent.DurationStr, u"00:00:03.000"_s);
        EXPECT_DOUBLE_EQ(Analyse(answers + QStringList{u"0;0;Duration=9000"_s}).Duration, 1024);
        EXPECT_DOUBLE_EQ(Analyse({u"0;0;StreamCount=1"_s, u"0;0;Duration=-5"_s}).Duration, 0);
    });
}

TEST(MediaInfoAnalysis, KeepsWhatTheLibraryDoesNotTell)
{
    RunInFreshProcess([] {
        TVideoFileInfo probed;
        SetFileName(probed, u"/in/clip.mkv"_s);
        probed.FileSize = 5000;
        probed.Seconds = 598;
        probed.Start = 2;
        probed.StreamsStr[0] = {true, u"Stream #0:0: Video: h264"_s};
        for (TVideoStreamInfo &v : probed.VideoStreams) {
            v.Exists = true;
            v.StreamIndex = 7;
            v.PixelFormat = u"yuv420p"_s;
            v.Width = 640;
            v.Height = 480;
            v.FPS = 23.976;
        }
        probed.AudioStreams[0] = {};
        probed.AudioStreams[0].Exists = true;
        probed.AudioStreams[0].StreamIndex = 1;
        probed.AudioStreams[0].CodecFF = u"aac"_s;

        // The library knows one video stream, the probe found two.
        const TVideoFileInfo info = Analyse(OneOfEach({u"1;0;Width=wide"_s, u"1;0;Height=70000"_s,
                                                u"1;0;FrameRate=n/a"_s, u"1;0;Format=AVC"_s}),
            probed);
        EXPECT_EQ(info.FileName, u"/in/clip.mkv"_s);
        EXPECT_EQ(info.FileSize, 5000);
        EXPECT_EQ(info.Seconds, 598u);
        EXPECT_EQ(info.Start, 2u);
        EXPECT_EQ(info.StreamsStr[0].Str1, u"Stream #0:0: Video: h264"_s);
        for (int i : {0, 1}) {
            const TVideoStreamInfo &v = info.VideoStreams[i];
            EXPECT_TRUE(v.Exists);
            EXPECT_EQ(v.StreamIndex, 7);
            EXPECT_EQ(v.PixelFormat, u"yuv420p"_s);
            EXPECT_EQ(v.Width, 640);
            EXPECT_EQ(v.Height, 480);
            EXPECT_DOUBLE_EQ(v.FPS, 23.976);
        }
        EXPECT_EQ(info.VideoStreams[0].Codec, u"AVC"_s);
        EXPECT_TRUE(info.AudioStreams[0].Exists);
        EXPECT_EQ(info.AudioStreams[0].StreamIndex, 1);
        EXPECT_EQ(info.AudioStreams[0].CodecFF, u"aac"_s);
    });
}

TEST(MediaInfoAnalysis, MissingLibraryLeavesTheRecordUntouched)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        const QString media = WriteFakeMedia(dir.filePath(u"media.mkv"_s), RichFile);
        for (const QString &library : {QString(), dir.filePath(u"missing/libmediainfo.so.0"_s)}) {
            TVideoFileInfo info = Marked();
            ReadMediaInfo(media, library, info);
            ExpectUntouched(info, "missing library");
        }
    });
}

TEST(MediaInfoAnalysis, LibraryWithoutGetLeavesTheRecordUntouched)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        const QString media = WriteFakeMedia(dir.filePath(u"media.mkv"_s), RichFile);
        TVideoFileInfo info = Marked();
        ReadMediaInfo(media, FakeLibrary(u"fake_mediainfo_noget"_s), info);
        ExpectUntouched(info, "library without MediaInfo_Get");
        EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenCalls", u"fake_mediainfo_noget"_s), -1);

        // Not kept: a corrected library path works at the next analysis.
        ReadMediaInfo(media, FakeLibrary(), info);
        EXPECT_EQ(info.Format, u"Matroska"_s);
    });
}

TEST(MediaInfoAnalysis, EmptyMissingOrUnreadableFileLeavesTheRecordUntouched)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        TVideoFileInfo loaded;
        ReadMediaInfo(
            WriteFakeMedia(dir.filePath(u"media.mkv"_s), RichFile), FakeLibrary(), loaded);
        ASSERT_EQ(loaded.Format, u"Matroska"_s);
        ASSERT_EQ(FakeCounter("FakeMediaInfo_OpenCalls"), 1);

        const QString empty = dir.filePath(u"empty.mkv"_s);
        TestSupport::WriteFile(empty, QByteArray());
        TVideoFileInfo info = Marked();
        ReadMediaInfo(empty, FakeLibrary(), info);
        ExpectUntouched(info, "0-byte file");
        ReadMediaInfo(dir.filePath(u"absent.mkv"_s), FakeLibrary(), info);
        ExpectUntouched(info, "missing file");
        // Neither reached the library.
        EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenCalls"), 1);

        const QString text = dir.filePath(u"notes.mkv"_s);
        TestSupport::WriteFile(text, "not a media file");
        ReadMediaInfo(text, FakeLibrary(), info);
        ExpectUntouched(info, "file the library cannot open");
        EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenCalls"), 2);
        EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles"), 0);
    });
}
