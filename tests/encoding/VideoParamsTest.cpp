#include "CommandTestSupport.h"

#include "encoding/VideoParams.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

TEST(VideoCodecPiece, FollowsPageCodecAndDropBox)
{
    struct Case
    {
        int page, aviCodec, mpgVideo, mpegVersion;
        bool dropAvi, dropMpg;
        QString expected;
    };
    const int avi = EncodingSettings::tsAvi, mpg = EncodingSettings::tsMpg;
    const Case cases[] = {
        {avi, 0, 2, 0, false, false, u"-c:v libxvid"_s},
        {avi, 2, 2, 0, false, false, u"-c:v libx264"_s},
        {avi, 9, 2, 0, false, false, u"-c:v copy"_s},
        {avi, -1, 2, 0, false, false, u"-c:v libxvid"_s},
        {avi, 42, 2, 0, false, false, u"-c:v libxvid"_s},
        {avi, 2, 2, 0, true, false, u"-vn"_s},
        // The other page's drop box does not count.
        {avi, 2, 2, 0, false, true, u"-c:v libx264"_s},
        {mpg, 0, 0, 0, false, false, u"-target pal-dvd"_s},
        {mpg, 0, 1, 1, false, false, u"-target ntsc-dvd"_s},
        {mpg, 0, 2, 0, false, false, u"-c:v mpeg1video"_s},
        {mpg, 0, 2, 1, false, false, u"-c:v mpeg2video"_s},
        {mpg, 0, 2, -1, false, false, QString()},
        {mpg, 0, -1, 0, false, false, QString()},
        {mpg, 0, 0, 0, false, true, u"-vn"_s},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.settings.pcVideoFormat = c.page;
        t.settings.cbAviVideoCodec = c.aviCodec;
        t.settings.cbMpgVideo = c.mpgVideo;
        t.settings.cbMpegVersion = c.mpegVersion;
        t.settings.chAviVideoDontCopy = c.dropAvi;
        t.settings.chMpgVideoDontCopy = c.dropMpg;
        EXPECT_EQ(GetVideoCodecStr(t.context()), c.expected)
            << c.page << " " << c.aviCodec << " " << c.mpgVideo;
    }
}

TEST(VideoCodecPiece, CopiedH264GetsTheAnnexBFilterForAvi)
{
    for (const QString &codec : {u"h264"_s, u"AVC"_s, u"H.264 / AVC"_s}) {
        Inputs t;
        t.settings.cbAviVideoCodec = AviCodec::Copy;
        t.info.VideoStreams[0].Codec = codec;
        EXPECT_EQ(GetVideoCodecStr(t.context()), u"-c:v copy -bsf:v h264_mp4toannexb"_s) << codec;
    }
    Inputs t;
    t.settings.cbAviVideoCodec = AviCodec::Copy;
    t.info.VideoStreams[0].Codec = u"mpeg4"_s;
    EXPECT_EQ(GetVideoCodecStr(t.context()), u"-c:v copy"_s);
}

struct ParamsCase
{
    const char *name;
    void (*prepare)(Inputs &);
    QString expected; // trimmed piece
    int warnings = 0;
};

void source720p(Inputs &t)
{
    t.video(1280, 720, 23.976, 0.11, 2500);
}

TEST(VideoParamsPiece, Cases)
{
    const ParamsCase cases[] = {
        {"source bitrate kept, source rate repeated", source720p, u"-b:v 2500k -r 23.976"_s},
        {"custom size scales the bitrate",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbResolution = Resolution::Custom;
                t.settings.spedResWidth = 640;
                t.settings.spedResHeight = 360;
            },
            u"-b:v 608k -r 23.976"_s},
        {"preset size scales the bitrate",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbResolution = CommandTest::PresetVga;
            },
            u"-b:v 810k -r 23.976"_s},
        {"rich source capped at 0.3 bits per pixel",
            [](Inputs &t) { t.video(1920, 1080, 25, 0.45, 23000); }, u"-b:v 15552k -r 25.000"_s},
        {"H.264 threads: half of eight processors",
            [](Inputs &t) {
                t.video(1920, 1080, 25, 0.45, 23000);
                t.settings.cbAviVideoCodec = AviCodec::H264;
            },
            u"-threads 4 -b:v 15552k -r 25.000"_s},
        {"typed threads kept",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoCodec = AviCodec::H264;
                t.settings.cbAviVideoThreads = u" 3 "_s;
            },
            u"-threads 3 -b:v 2500k -r 23.976"_s},
        {"Xvid two-pass: quality before bitrate",
            [](Inputs &t) {
                t.video(720, 576, 25, 0.2, 3000);
                t.settings.chAviVideo2Pass = true;
                t.settings.cbAviVideoBitrate = u"1500"_s;
            },
            u"-q:v 9 -b:v 1500k -r 25.000"_s},
        {"quality only for Xvid",
            [](Inputs &t) {
                t.video(720, 576, 25, 0.2, 3000);
                t.settings.cbAviVideoCodec = AviCodec::FFMpeg4;
                t.settings.chAviVideo2Pass = true;
            },
            u"-b:v 3000k -r 25.000"_s},
        {"COPY: typed rate, no bitrate",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoCodec = AviCodec::Copy;
                t.settings.cbAviVideoFPS = u"25"_s;
                t.settings.cbAviVideoBitrate = u"junk"_s;
            },
            u"-r 25"_s},
        {"COPY: automatic rate writes nothing",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoCodec = AviCodec::Copy;
            },
            QString()},
        {"HuffYUV: no bitrate, typed or not",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoCodec = AviCodec::HuffYUV;
                t.settings.cbAviVideoBitrate = u"junk"_s;
            },
            u"-r 23.976"_s},
        {"typed bitrate trimmed",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoBitrate = u" 1500 "_s;
            },
            u"-b:v 1500k -r 23.976"_s},
        {"bitrate with a letter", [](Inputs &t) { t.settings.cbAviVideoBitrate = u"15o0"_s; },
            u"ERROR"_s, 1},
        {"negative bitrate", [](Inputs &t) { t.settings.cbAviVideoBitrate = u"-1500"_s; },
            u"ERROR"_s, 1},
        {"zero bitrate", [](Inputs &t) { t.settings.cbAviVideoBitrate = u"0"_s; }, u"ERROR"_s, 1},
        {"empty bitrate is not automatic", [](Inputs &t) { t.settings.cbAviVideoBitrate = u""_s; },
            u"ERROR"_s, 1},
        {"auto in any spelling",
            [](Inputs &t) {
                source720p(t);
                t.settings.cbAviVideoBitrate = u" aUTo "_s;
                t.settings.cbAviVideoFPS = u"auto"_s;
            },
            u"-b:v 2500k -r 23.976"_s},
        {"decimal comma written as a full stop",
            [](Inputs &t) { t.settings.cbAviVideoFPS = u"29,97"_s; }, u"-b:v 800k -r 29.97"_s},
        {"two decimal points rejected", [](Inputs &t) { t.settings.cbAviVideoFPS = u"29.9.7"_s; },
            u"ERROR"_s, 1},
        {"comma and point rejected", [](Inputs &t) { t.settings.cbAviVideoFPS = u"1,2.5"_s; },
            u"ERROR"_s, 1},
        {"no video stream: 800 and no rate", [](Inputs &) {}, u"-b:v 800k"_s},
        {"odd source made even", [](Inputs &t) { t.video(1281, 721, 25, 0.1, 1000); },
            u"-b:v 1000k -r 25.000 -s 1282x722"_s},
        {"odd height only", [](Inputs &t) { t.video(1280, 721, 25, 0.1, 1000); },
            u"-b:v 1000k -r 25.000 -s 1280x722"_s},
        {"odd source with a custom size: the filter scales",
            [](Inputs &t) {
                t.video(1281, 721, 25, 0.1, 1000);
                t.settings.cbResolution = Resolution::Custom;
            },
            u"-b:v 1025k -r 25.000"_s},
        {"video dropped",
            [](Inputs &t) {
                source720p(t);
                t.settings.chAviVideoDontCopy = true;
                t.settings.cbAviVideoBitrate = u"junk"_s;
            },
            QString()},
        {"MPG DVD preset: nothing",
            [](Inputs &t) {
                source720p(t);
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpgVideo = MpgVideo::PalDvd;
                t.settings.cbMpgVideoBitrate = u"junk"_s;
            },
            QString()},
        {"MPG custom: bitrate at 0.5, no automatic rate",
            [](Inputs &t) {
                t.video(1920, 1080, 25, 0.8, 30000);
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpegVersion = 1;
            },
            u"-b:v 25920k"_s},
        {"MPG custom: typed rate and bitrate",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpgVideoBitrate = u"6000"_s;
                t.settings.cbMpgVideoFPS = u"25"_s;
            },
            u"-b:v 6000k -r 25"_s},
        {"MPG custom: invalid rate",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpgVideoFPS = u"PAL"_s;
            },
            u"ERROR"_s, 1},
        {"MPG with the video dropped",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.chMpgVideoDontCopy = true;
            },
            QString()},
    };
    for (const ParamsCase &c : cases) {
        Inputs t;
        c.prepare(t);
        EXPECT_EQ(CommandTest::PieceText(GetVideoParamsStr(t.context())), c.expected) << c.name;
        EXPECT_EQ(t.sink.warnings.size(), c.warnings) << c.name;
    }
}

TEST(VideoParamsPiece, MessagesCarryTheControlText)
{
    Inputs t;
    t.settings.cbAviVideoBitrate = u" 12a "_s;
    EXPECT_EQ(CommandTest::PieceText(GetVideoParamsStr(t.context())), u"ERROR"_s);
    ASSERT_EQ(t.sink.warnings.size(), 1);
    EXPECT_EQ(t.sink.warnings[0], u"Video bitrate:  12a \r\nBitrate must be an integer value!"_s);

    Inputs f;
    f.settings.cbAviVideoFPS = u"fast"_s;
    EXPECT_EQ(CommandTest::PieceText(GetVideoParamsStr(f.context())), u"ERROR"_s);
    ASSERT_EQ(f.sink.warnings.size(), 1);
    EXPECT_EQ(f.sink.warnings[0], u"Video FPS: fast\r\nFPS must be a float value!"_s);
}

TEST(AutoVideoBitrate, CapsAtBitsPerPixel)
{
    struct Case
    {
        int width, height;
        double fps, bpp;
        int kbps;
        double maxBpp;
        uint32_t expected;
    };
    const Case cases[] = {
        {1920, 1080, 25, 0.45, 23000, 0.3, 15552}, // capped
        {1280, 720, 23.976, 0.11, 2500, 0.3, 2500}, // within: kept
        {1280, 720, 25, 0.3, 2500, 0.3, 2500}, // exactly at the cap: kept
        {1280, 720, 25, 0, 0, 0.3, 800}, // unknown bitrate
        {1280, 720, 25, 0.5, -7, 0.3, 800}, // a negative bitrate is unknown too
        {0, 720, 25, 0.5, 2500, 0.3, 2500}, // unknown width: kept
        {1, 1, 5000, 1, 9, 0.5, 2}, // 2.5 rounds to even
        {1, 1, 7000, 1, 9, 0.5, 4}, // 3.5 rounds to even
        // Beyond 16 bits: kept, not wrapped (124416 would wrap to 58880).
        {3840, 2160, 30, 0.9, 200000, 0.5, 124416},
    };
    for (const Case &c : cases) {
        Inputs t;
        t.video(c.width, c.height, c.fps, c.bpp, c.kbps);
        EXPECT_EQ(AutoVideoBitrate(t.info, c.maxBpp), c.expected)
            << c.width << "x" << c.height << " " << c.kbps;
    }
}

TEST(ScaledVideoBitrate, UsesTheSmallerBitsPerPixel)
{
    struct Case
    {
        int width, height;
        int64_t source;
        double maxBpp, fps, bpp;
        uint32_t expected;
    };
    const Case cases[] = {
        {640, 360, 2500, 0.3, 23.976, 0.11, 608},
        {640, 360, 2500, 0.3, 25, 0.5, 1728}, // capped at 0.3
        {640, 360, 2500, 0.3, 25, 0, 2500}, // unknown bpp: the source
        {640, 360, 0, 0.3, 25, 0, 0}, // no 800 fallback here
        {0, 360, 2500, 0.3, 25, 0.1, 2500}, {640, 360, -5, 0.3, 0, 0.1, 0},
        {7680, 4320, 70000, 0.5, 60, 0.9, 995328}, // wide values kept
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            ScaledVideoBitrate(c.width, c.height, c.source, c.maxBpp, c.fps, c.bpp), c.expected)
            << c.width << "x" << c.height << " " << c.bpp;
}

TEST(VideoParams, ThreadsForProcessorCount)
{
    const std::pair<int, int> cases[]
        = {{-3, 1}, {0, 1}, {1, 0}, {2, 1}, {7, 3}, {8, 4}, {32, 16}, {33, 2}, {128, 2}};
    for (const auto &[processors, threads] : cases)
        EXPECT_EQ(ThreadsForProcessorCount(processors), threads) << processors;
}

} // namespace
