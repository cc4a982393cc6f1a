#include "analysis/FFmpegProbeOutput.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList FixtureLines(const QString &name)
{
    const QByteArray bytes = TestSupport::ReadFile(TestSupport::FixturePath(u"probe/"_s + name));
    EXPECT_FALSE(bytes.isEmpty()) << name.toStdString();
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

TVideoFileInfo Parsed(const QStringList &lines)
{
    TVideoFileInfo info;
    ParseFFmpegProbeOutput(lines, info);
    return info;
}

TVideoFileInfo ParsedFixture(const QString &name)
{
    return Parsed(FixtureLines(name));
}

int UsedStreamLines(const TVideoFileInfo &info)
{
    int used = 0;
    for (const TSTreamInfoStr &entry : info.StreamsStr)
        used += entry.StreamExists ? 1 : 0;
    return used;
}

TEST(FFmpegDuration, ReadsHoursMinutesAndSeconds)
{
    const struct
    {
        QString text;
        double seconds;
    } cases[] = {
        {u"01:23:45.67"_s, 5025.67}, {u"00:10:00.00"_s, 600}, {u"100:00:01,5"_s, 360001.5},
        {u" 00 : 01 : 02.5 "_s, 62.5}, {u"N/A"_s, 0}, {u""_s, 0}, {u"xx:01:02"_s, 62},
        {u"00:01:zz"_s, 60}, {u"00:05"_s, 0}, // one colon: minutes and seconds are not read
    };
    for (const auto &c : cases)
        EXPECT_NEAR(ParseFFmpegDuration(c.text), c.seconds, 1e-9) << c.text.toStdString();
}

TEST(FFmpegStreamNumber, ReadsTheDigitsAfterTheColon)
{
    const struct
    {
        QString line;
        int number;
    } cases[] = {
        {u"Stream #0:1(eng): Audio: ac3"_s, 1},
        {u"Stream #0:12: Video: h264"_s, 12},
        {u"Stream #0:0[0x1011]: Video: h264"_s, 0},
        {u"Stream #1:3: Audio: aac"_s, 3},
        {u"Stream #0: Video"_s, -1},
        {u"Stream 0:1: Video"_s, -1},
        {u"Stream #0"_s, -1},
        {u"Stream #0:99999999999: Video"_s, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StreamNumberOf(c.line), c.number) << c.line.toStdString();
}

TEST(FFmpegProbeOutput, DurationStartAndFirstBitrateEstimate)
{
    const TVideoFileInfo info = ParsedFixture(u"shape-start-offset.txt"_s);
    EXPECT_EQ(info.DurationStr, u"00:10:00.00"_s);
    EXPECT_DOUBLE_EQ(info.Duration, 600000);
    EXPECT_EQ(info.Seconds, 598u); // 598.5, half to even
    EXPECT_EQ(info.Start, 2u); // 1.5, half to even
    EXPECT_EQ(info.VideoStreams[0].Bitrate, 4940); // 5000 less 60
    EXPECT_EQ(info.VideoStreams[0].Width, 720);
    EXPECT_EQ(info.VideoStreams[0].Height, 576);
    EXPECT_DOUBLE_EQ(info.VideoStreams[0].FPS, 25);
    EXPECT_EQ(info.VideoStreams[0].Frames, 14950u); // 598 s at 25 fps
}

TEST(FFmpegProbeOutput, DurationLineVariants)
{
    const struct
    {
        QString line;
        QString durationStr;
        uint32_t seconds;
        uint32_t start;
        int32_t firstVideoBitrate;
    } cases[] = {
        // 100 kb/s or less is taken whole.
        {u"  Duration: 00:00:30.00, start: 0.000000, bitrate: 80 kb/s"_s, u"00:00:30.00"_s, 30, 0,
            80},
        // Without a start the bit rate is still read.
        {u"  Duration: 00:00:01.00, bitrate: 705 kb/s"_s, u"00:00:01.00"_s, 1, 0, 645},
        // Without a comma after the duration nothing else is read.
        {u"  Duration: 00:00:09.00"_s, {}, 0, 0, 0},
        // Without a comma after the start value the start is not read.
        {u"  Duration: 00:00:09.00, start: 3.000000"_s, u"00:00:09.00"_s, 9, 0, 0},
        {u"  Duration: N/A, start: 0.000000, bitrate: N/A"_s, u"N/A"_s, 0, 0, 0},
        // A start after the end does not make the time negative.
        {u"  Duration: 00:00:02.00, start: 5.000000, bitrate: 100 kb/s"_s, u"00:00:02.00"_s, 0, 5,
            100},
        // A negative start (edit lists) does not wrap the unsigned start.
        {u"  Duration: 00:00:02.00, start: -1.500000, bitrate: 0 kb/s"_s, u"00:00:02.00"_s, 4, 0,
            0},
        {u"  Duration: 00:00:02.00, start: 0.000000, bitrate: -5 kb/s"_s, u"00:00:02.00"_s, 2, 0,
            0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const TVideoFileInfo info = Parsed({c.line});
        EXPECT_EQ(info.DurationStr, c.durationStr);
        EXPECT_EQ(info.Seconds, c.seconds);
        EXPECT_EQ(info.Start, c.start);
        EXPECT_EQ(info.VideoStreams[0].Bitrate, c.firstVideoBitrate);
    }
}

TEST(FFmpegProbeOutput, DescriptionExampleLines)
{
    const TVideoFileInfo info = ParsedFixture(u"shape-hd-movie.txt"_s);
    EXPECT_DOUBLE_EQ(info.Duration, 5025670);
    EXPECT_EQ(info.Seconds, 5026u);
    ASSERT_EQ(info.NumberOfVideoStreams, 1);
    ASSERT_EQ(info.NumberOfAudioStreams, 2);

    const TVideoStreamInfo &video = info.VideoStreams[0];
    EXPECT_TRUE(video.Exists);
    EXPECT_EQ(video.Codec, u"h264 (High)"_s);
    EXPECT_EQ(video.PixelFormat, u"yuv420p(progressive)"_s);
    EXPECT_EQ(video.Width, 1920);
    EXPECT_EQ(video.Height, 1080);
    EXPECT_DOUBLE_EQ(video.FPS, 23.98);
    EXPECT_EQ(video.Bitrate, 4151);
    EXPECT_NEAR(video.BitsPerPixel, 4151000.0 / (1920.0 * 1080.0 * 23.98), 1e-12);
    EXPECT_EQ(video.Frames, 120523u); // 5026 s x 23.98
    EXPECT_EQ(video.StreamIndex, 0);

    const TAudioStreamInfo &ac3 = info.AudioStreams[0];
    EXPECT_TRUE(ac3.Exists);
    EXPECT_EQ(ac3.Codec, u"ac3"_s);
    EXPECT_EQ(ac3.CodecFF, u"ac3"_s);
    EXPECT_EQ(ac3.Bitrate, 448);
    EXPECT_EQ(ac3.Channels, 0); // 5.1(side) is left to MediaInfo
    EXPECT_EQ(ac3.StreamIndex, 1);

    const TAudioStreamInfo &aac = info.AudioStreams[1];
    EXPECT_EQ(aac.Codec, u"aac (LC)"_s);
    EXPECT_EQ(aac.CodecFF, u"aac"_s);
    EXPECT_EQ(aac.Channels, 2);
    EXPECT_EQ(aac.StreamIndex, 3);
    EXPECT_EQ(aac.BitsPerSample, 0); // fltp
    EXPECT_EQ(aac.Bitrate, 0);
    EXPECT_EQ(aac.SamplingRate, 0); // never read from FFmpeg

    EXPECT_EQ(UsedStreamLines(info), 3);
    EXPECT_EQ(info.StreamsStr[1].Str1,
        u"Stream #0:1(eng): Audio: ac3, 48000 Hz, 5.1(side), fltp, 448 kb/s (default)"_s);
}

TEST(FFmpegProbeOutput, CapturedFFmpegOutputs)
{
    const struct
    {
        const char *fixture;
        int videos;
        int audios;
        QString videoCodec;
        QString pixelFormat;
        int width;
        double fps;
        int videoBitrate;
        QString audioCodecFF;
        int channels;
        int audioIndex;
        int audioBitrate;
        uint32_t start;
    } cases[] = {
        // "yuv420p(tv, progressive)" holds a comma: the pixel format keeps
        // it, but the other parts shift by one, so the resolution is not in
        // part 2 and is left to MediaInfo.
        {"ffmpeg51-h264-ac3-aac.mkv.txt", 1, 2, u"h264 (Constrained Baseline)"_s,
            u"yuv420p(tv, progressive)"_s, 0, 25, 614, u"ac3"_s, 0, 1, 448, 0},
        // Two commas more: the frame rate comes from part 5.
        {"ffmpeg51-h264-bt709.mkv.txt", 1, 0, u"h264 (Constrained Baseline)"_s,
            u"yuv420p(tv, bt709, progressive)"_s, 0, 25, 99, {}, 0, 0, 0, 0},
        {"ffmpeg51-mpeg4-mp3.avi.txt", 1, 1, u"mpeg4 (Simple Profile) (FMP4 / 0x34504D46)"_s,
            u"yuv420p"_s, 160, 25, 267, u"mp3"_s, 1, 1, 64, 0},
        {"ffmpeg51-mpeg2-ps.mpg.txt", 1, 1, u"mpeg2video (Main)"_s, u"yuv420p(tv, progressive)"_s,
            0, 25, 582, u"mp2"_s, 1, 1, 384, 1},
        // The overall estimate lands in the first video entry all the same.
        {"ffmpeg51-audio-only.mp3.txt", 0, 1, {}, {}, 0, 0, 64, u"mp3"_s, 1, 0, 64, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fixture);
        const TVideoFileInfo info = ParsedFixture(QString::fromLatin1(c.fixture));
        EXPECT_EQ(info.NumberOfVideoStreams, c.videos);
        EXPECT_EQ(info.NumberOfAudioStreams, c.audios);
        EXPECT_EQ(UsedStreamLines(info), c.videos + c.audios);
        const TVideoStreamInfo &video = info.VideoStreams[0];
        EXPECT_EQ(video.Exists, c.videos > 0);
        EXPECT_EQ(video.Codec, c.videoCodec);
        EXPECT_EQ(video.PixelFormat, c.pixelFormat);
        EXPECT_EQ(video.Width, c.width);
        EXPECT_DOUBLE_EQ(video.FPS, c.fps);
        EXPECT_EQ(video.Bitrate, c.videoBitrate);
        EXPECT_EQ(video.StreamIndex, 0);
        const TAudioStreamInfo &audio = info.AudioStreams[0];
        EXPECT_EQ(audio.CodecFF, c.audioCodecFF);
        EXPECT_EQ(audio.Channels, c.channels);
        EXPECT_EQ(audio.StreamIndex, c.audioIndex);
        EXPECT_EQ(audio.Bitrate, c.audioBitrate);
        EXPECT_EQ(audio.BitsPerSample, 0); // fltp, s16p: no number
        EXPECT_EQ(info.Start, c.start);
    }
}

TEST(FFmpegProbeOutput, GuessedLayoutNoteIsNoStreamLine)
{
    const TVideoFileInfo info = ParsedFixture(u"ffmpeg51-pcm-guessed-layout.txt"_s);
    EXPECT_EQ(UsedStreamLines(info), 1);
    ASSERT_EQ(info.NumberOfAudioStreams, 1);
    const TAudioStreamInfo &audio = info.AudioStreams[0];
    EXPECT_EQ(audio.CodecFF, u"pcm_s16le"_s);
    EXPECT_EQ(audio.BitsPerSample, 16);
    EXPECT_EQ(audio.Channels, 1);
    EXPECT_EQ(audio.Bitrate, 705);
}

TEST(FFmpegProbeOutput, MpegOneRateOverflowKeepsTheOverallEstimate)
{
    const TVideoFileInfo info = ParsedFixture(u"ffmpeg51-mpeg1-overflowed-bitrate.mpg.txt"_s);
    const TVideoStreamInfo &video = info.VideoStreams[0];
    EXPECT_EQ(video.Codec, u"mpeg1video"_s);
    EXPECT_EQ(video.Bitrate, 219); // 279 less 60, not 104857
    EXPECT_EQ(video.Width, 160);
    EXPECT_DOUBLE_EQ(video.FPS, 25);

    // Other codecs take a high rate as it is.
    const TVideoFileInfo other = Parsed({u"  Stream #0:0: Video: mpeg2video, yuv420p, 720x576, "
                                         u"15000 kb/s, 25 fps, 25 tbr, 90k tbn"_s});
    EXPECT_EQ(other.VideoStreams[0].Bitrate, 15000);
}

TEST(FFmpegProbeOutput, TwelveVideoStreamsFillTen)
{
    const TVideoFileInfo info = ParsedFixture(u"ffmpeg51-twelve-video.mkv.txt"_s);
    EXPECT_EQ(info.NumberOfVideoStreams, 12);
    EXPECT_EQ(UsedStreamLines(info), 12);
    for (int i = 0; i < MaxVideoStreams; ++i) {
        EXPECT_TRUE(info.VideoStreams[i].Exists) << i;
        EXPECT_EQ(info.VideoStreams[i].StreamIndex, i);
    }
}

TEST(FFmpegProbeOutput, AtMostSixtyFourStreamLinesAndFortyEightAudioEntries)
{
    QStringList lines;
    for (int i = 0; i < 70; ++i)
        lines << u"    Stream #0:%1: Audio: mp2, 48000 Hz, stereo, s16, 192 kb/s"_s.arg(i);
    const TVideoFileInfo info = Parsed(lines);
    EXPECT_EQ(UsedStreamLines(info), MaxStreamLines);
    EXPECT_EQ(info.StreamsStr[63].Str1.left(14), u"Stream #0:63: "_s);
    EXPECT_EQ(info.NumberOfAudioStreams, 64);
    EXPECT_EQ(info.AudioStreams[47].StreamIndex, 47);
    EXPECT_EQ(info.AudioStreams[47].BitsPerSample, 16);
}

TEST(FFmpegProbeOutput, FileNamesAndTagsQuotingTheKeywordsAreIgnored)
{
    const QStringList lines = {
        u"Input #0, matroska,webm, from '/films/Stream #1 Video: 1x2, Duration: 9:9:9, x.mkv':"_s,
        u"  Metadata:"_s,
        u"    title           : Duration: 99:00:00.00, start: 7.000000, bitrate: 9999 kb/s"_s,
        u"    comment         : Stream #0:5: Audio: dts, 48000 Hz, mono"_s,
        u"  Duration: 00:00:04.00, start: 0.000000, bitrate: 90 kb/s"_s,
        u"  Stream #0:0: Video: h264 (High), yuv420p, 320x240, 25 fps, 25 tbr, 1k tbn"_s,
    };
    const TVideoFileInfo info = Parsed(lines);
    EXPECT_EQ(info.DurationStr, u"00:00:04.00"_s);
    EXPECT_EQ(info.Start, 0u);
    EXPECT_EQ(UsedStreamLines(info), 1);
    EXPECT_EQ(info.NumberOfVideoStreams, 1);
    EXPECT_EQ(info.NumberOfAudioStreams, 0);
    EXPECT_EQ(info.VideoStreams[0].Width, 320);
}

TEST(FFmpegProbeOutput, AudioPartsTable)
{
    const struct
    {
        QString line;
        QString codecFF;
        int bitsPerSample;
        int channels;
        int bitrate;
    } cases[] = {
        {u"Stream #0:1: Audio: pcm_s24le, 48000 Hz, stereo, s32 (24 bit), 2304 kb/s"_s,
            u"pcm_s24le"_s, 32, 2, 2304},
        {u"Stream #0:1: Audio: flac, 44100 Hz, mono, s16"_s, u"flac"_s, 16, 1, 0},
        // Only the first of "stereo" and "mono" counts.
        {u"Stream #0:1: Audio: x, 1 Hz, mono, fltp, stereo"_s, u"x"_s, 0, 1, 0},
        {u"Stream #0:1: Audio: x, 1 Hz, 2 channels, s999"_s, u"x"_s, 0, 0, 0},
        {u"Stream #0:1: Audio:"_s, u""_s, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        TAudioStreamInfo audio;
        ReadAudioStreamLine(c.line, audio);
        EXPECT_TRUE(audio.Exists);
        EXPECT_EQ(audio.CodecFF, c.codecFF);
        EXPECT_EQ(audio.BitsPerSample, c.bitsPerSample);
        EXPECT_EQ(audio.Channels, c.channels);
        EXPECT_EQ(audio.Bitrate, c.bitrate);
    }
}

TEST(FFmpegProbeOutput, VideoFieldsOutOfRangeAreIgnored)
{
    TVideoStreamInfo video;
    ReadVideoStreamLine(
        u"Stream #0:300: Video: raw, rgb24, 70000x-5, 25 fps, 25 tbr, 25 tbn"_s, 4, video);
    EXPECT_EQ(video.StreamIndex, 0);
    EXPECT_EQ(video.Width, 0);
    EXPECT_EQ(video.Height, 0);
    EXPECT_EQ(video.Frames, 100u);
    EXPECT_EQ(video.BitsPerPixel, 0);
}

TEST(FFmpegVideoSizeEstimate, FileLessItsAudioStreams)
{
    TVideoFileInfo info;
    info.FileSize = 1073741824; // 1 GiB
    info.NumberOfVideoStreams = 1;
    info.NumberOfAudioStreams = 2;
    info.AudioStreams[0].StreamSize = 31457280; // 30 MiB
    info.AudioStreams[1].StreamSize = 20971520; // 20 MiB
    EstimateVideoStreamSize(info);
    EXPECT_EQ(info.VideoStreams[0].StreamSize, 1073741824 - 52428800);
    EXPECT_EQ(info.VideoStreams[0].StreamSizeStr, u"974.00 MB"_s);
    EXPECT_EQ(info.VideoStreams[0].StreamSizeInPercent, 95);
}

TEST(FFmpegVideoSizeEstimate, LeftAloneWhenItCannotBeTold)
{
    const auto estimate = [](auto change) {
        TVideoFileInfo info;
        info.FileSize = 1000000;
        info.NumberOfVideoStreams = 1;
        info.NumberOfAudioStreams = 1;
        info.AudioStreams[0].StreamSize = 1000;
        change(info);
        EstimateVideoStreamSize(info);
        return info.VideoStreams[0];
    };
    EXPECT_EQ(estimate([](TVideoFileInfo &) {}).StreamSize, 999000);
    EXPECT_EQ(estimate([](TVideoFileInfo &i) { i.NumberOfVideoStreams = 2; }).StreamSize, 0);
    EXPECT_EQ(estimate([](TVideoFileInfo &i) { i.NumberOfAudioStreams = 0; }).StreamSize, 0);
    EXPECT_EQ(estimate([](TVideoFileInfo &i) { i.VideoStreams[0].StreamSize = 5; }).StreamSize, 5);
    // Audio entries beyond the count are not summed.
    EXPECT_EQ(estimate([](TVideoFileInfo &i) { i.AudioStreams[1].StreamSize = 7000; }).StreamSize,
        999000);
    // Audio reported larger than the file: no negative video stream.
    const TVideoStreamInfo broken
        = estimate([](TVideoFileInfo &i) { i.AudioStreams[0].StreamSize = 2000000; });
    EXPECT_EQ(broken.StreamSize, 0);
    EXPECT_EQ(broken.StreamSizeStr, QString());
    EXPECT_EQ(broken.StreamSizeInPercent, 0);
}

} // namespace
