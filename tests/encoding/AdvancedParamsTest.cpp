#include "CommandTestSupport.h"

#include "encoding/AdvancedParams.h"
#include "encoding/FFmpegHelp.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

TEST(ParseResolutionText, PresetsAndPercentages)
{
    struct Case
    {
        QString text;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {u"128 x 196 - SQCIF"_s, 128, 192}, {u"352 x 288 - CIF"_s, 352, 288},
        {u"852 x 480 - HD480"_s, 848, 480}, {u"1920 x 1080 - HD1080"_s, 1920, 1080},
        {u"640 x 350 - EGA"_s, 640, 352}, {u"640x480-vga"_s, 640, 480}, {u"50%"_s, 640, 360},
        {u"33%"_s, 424, 240}, {u"50 % - half"_s, 640, 360}, {u"abc"_s, 0, 0}, {u""_s, 0, 0},
        {u"640 x"_s, 640, 0}, {u"-50%"_s, 0, 0},
        {u"12 x 20"_s, 16, 16}, // 12/8 = 1.5 and 20/8 = 2.5 round to even
        {u"99999999999 x 480"_s, 0, 480}, // beyond int: not a number
    };
    Inputs t;
    t.video(1280, 720, 25);
    for (const Case &c : cases) {
        const QSize size = ParseResolutionText(c.text, t.info);
        EXPECT_EQ(size.width(), c.expectedWidth) << c.text;
        EXPECT_EQ(size.height(), c.expectedHeight) << c.text;
    }
    // A percentage of an unknown source.
    EXPECT_EQ(ParseResolutionText(u"50%"_s, TVideoFileInfo{}), QSize(0, 0));
}

struct AdvancedCase
{
    const char *name;
    void (*prepare)(Inputs &);
    QString expected; // trimmed
};

void interlaced1080(Inputs &t)
{
    t.video(1920, 1080, 25, 0.2, 8000);
    t.info.VideoStreams[0].ScanType = u" Interlaced "_s;
}

void allFilters(Inputs &t)
{
    interlaced1080(t);
    EncodingSettings &s = t.settings;
    s.cbAviVideoCodec = AviCodec::H264;
    s.cbAviVideoAspect = u"16:9"_s;
    s.spedCropTop = s.spedCropBottom = s.spedCropLeft = s.spedCropRight = 8;
    s.cbResolution = CommandTest::PresetVga;
    s.chBrightness = true;
    s.tbBrightness = 5;
    s.chSaturation = true;
    s.tbSaturation = 12;
    s.chFlipHorizontal = s.chFlipVertical = true;
    s.chConvertColors = true;
    s.chNegative = true;
    s.chRotate = true;
    s.cbRotate = u"90"_s;
}

const QString AllFiltersChain = u"yadif,crop=1904:1064:8:8,scale=640:480,hue=s=1.2:b=0.5,hflip,"
                                u"vflip,colorchannelmixer=.3:.4:.3:0:.3:.4:.3:0:.3:.4:.3,negate,"
                                u"rotate=1.5708,setdar=16/9"_s;

TEST(AdvancedPiece, Cases)
{
    const AdvancedCase cases[] = {
        {"nothing set", [](Inputs &) {}, QString()},
        {"keep original alone",
            [](Inputs &t) {
                interlaced1080(t);
                t.settings.cbInterlacing = Interlacing::KeepOriginal;
            },
            QString()},
        {"auto deinterlacing, custom odd size",
            [](Inputs &t) {
                interlaced1080(t);
                t.settings.cbResolution = Resolution::Custom;
                t.settings.spedResWidth = 853;
                t.settings.spedResHeight = 481;
            },
            u"-vf yadif,scale=854:482"_s},
        {"auto deinterlacing, progressive source", [](Inputs &t) { t.video(1920, 1080, 25); },
            QString()},
        {"crop 8 on every edge",
            [](Inputs &t) {
                t.video(1920, 1080, 25);
                t.settings.spedCropTop = t.settings.spedCropBottom = 8;
                t.settings.spedCropLeft = t.settings.spedCropRight = 8;
            },
            u"-vf crop=1904:1064:8:8"_s},
        {"crop with four different edges: the offsets are left and top",
            [](Inputs &t) {
                t.video(1920, 1080, 25);
                t.settings.spedCropTop = 10;
                t.settings.spedCropBottom = 20;
                t.settings.spedCropLeft = 30;
                t.settings.spedCropRight = 40;
            },
            u"-vf crop=1850:1050:30:10"_s},
        {"crop of an unknown size passes negative sizes on",
            [](Inputs &t) { t.settings.spedCropLeft = 16; }, u"-vf crop=-16:0:16:0"_s},
        {"brightness 0 checked: nothing; saturation 15",
            [](Inputs &t) {
                t.settings.chBrightness = true;
                t.settings.chSaturation = true;
                t.settings.tbSaturation = 15;
            },
            u"-vf hue=s=1.5"_s},
        {"saturation at 10 is written when checked",
            [](Inputs &t) { t.settings.chSaturation = true; }, u"-vf hue=s=1.0"_s},
        {"brightness alone",
            [](Inputs &t) {
                t.settings.chBrightness = true;
                t.settings.tbBrightness = 5;
            },
            u"-vf hue=b=0.5"_s},
        {"negative brightness",
            [](Inputs &t) {
                t.settings.chBrightness = true;
                t.settings.tbBrightness = -12;
            },
            u"-vf hue=b=-1.2"_s},
        {"brightness and saturation",
            [](Inputs &t) {
                t.settings.chBrightness = true;
                t.settings.tbBrightness = 5;
                t.settings.chSaturation = true;
                t.settings.tbSaturation = 12;
            },
            u"-vf hue=s=1.2:b=0.5"_s},
        {"all picture filters in their order", allFilters, u"-vf "_s + AllFiltersChain},
        {"sepia",
            [](Inputs &t) {
                t.settings.chConvertColors = true;
                t.settings.cbConvertColors = ConvertColors::Sepia;
            },
            u"-vf colorchannelmixer=.393:.769:.189:0:.349:.686:.168:0:.272:.534:.131"_s},
        {"rotation 45",
            [](Inputs &t) {
                t.settings.chRotate = true;
                t.settings.cbRotate = u" 45 "_s;
            },
            u"-vf rotate=0.7854"_s},
        {"rotation text abc",
            [](Inputs &t) {
                t.settings.chRotate = true;
                t.settings.cbRotate = u"abc"_s;
            },
            QString()},
        {"COPY: no resize, crop or picture filter; the tag stays",
            [](Inputs &t) {
                allFilters(t);
                t.settings.cbAviVideoCodec = AviCodec::Copy;
                t.settings.cbInterlacing = Interlacing::KeepOriginal;
                t.settings.chVideoFourcc = true;
            },
            u"-vtag XVID"_s},
        {"MPG DVD preset: picture filters but no scale or crop",
            [](Inputs &t) {
                allFilters(t);
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.cbMpgVideo = MpgVideo::PalDvd;
            },
            u"-vf yadif,hue=s=1.2:b=0.5,hflip,vflip,colorchannelmixer=.3:.4:.3:0:.3:.4:.3:0:.3:."
            u"4:.3,negate,rotate=1.5708"_s},
        {"tag typed in lower case",
            [](Inputs &t) {
                t.settings.chVideoFourcc = true;
                t.settings.cbVideoTag = u"dx50"_s;
            },
            u"-vtag dx50"_s},
        {"empty tag",
            [](Inputs &t) {
                t.settings.chVideoFourcc = true;
                t.settings.cbVideoTag = u"  "_s;
            },
            QString()},
        {"chain, tag and mapping",
            [](Inputs &t) {
                t.video(640, 480, 25);
                t.audio(2, 48000, 128);
                t.audio(2, 48000, 128);
                t.settings.chFlipHorizontal = true;
                t.settings.chVideoFourcc = true;
                t.settings.cbAudioTrackNo = 2;
            },
            u"-vf hflip  -vtag XVID -map 0:0 -map 0:2"_s},
        {"mapping off while the audio is dropped",
            [](Inputs &t) {
                t.video(640, 480, 25);
                t.audio(2, 48000, 128);
                t.settings.chAudioDontCopy = true;
                t.settings.cbAudioTrackNo = 1;
            },
            QString()},
        {"aspect 1.85", [](Inputs &t) { t.settings.cbAviVideoAspect = u"1.85"_s; },
            u"-vf setdar=1.85"_s},
        {"aspect with a decimal comma and blanks",
            [](Inputs &t) { t.settings.cbAviVideoAspect = u" 2,35 : 1 "_s; },
            u"-vf setdar=2.35/1"_s},
        {"aspect auto in lower case", [](Inputs &t) { t.settings.cbAviVideoAspect = u"auto"_s; },
            QString()},
        {"aspect for HuffYUV",
            [](Inputs &t) {
                t.settings.cbAviVideoCodec = AviCodec::HuffYUV;
                t.settings.cbAviVideoAspect = u"4:3"_s;
            },
            QString()},
        {"preset of a percentage",
            [](Inputs &t) {
                t.video(1280, 720, 25);
                t.lists.cbResolution.append(u"50% - half size"_s);
                t.settings.cbResolution = int(t.lists.cbResolution.size()) - 1;
            },
            u"-vf scale=640:360"_s},
        {"a preset index the list lacks", [](Inputs &t) { t.settings.cbResolution = 99; },
            QString()},
        {"quotes in typed texts are dropped",
            [](Inputs &t) {
                t.settings.chVideoFourcc = true;
                t.settings.cbVideoTag = u"a\"b"_s;
                t.settings.cbAviVideoAspect = u"4\":3"_s;
            },
            u"-vf setdar=4/3  -vtag ab"_s},
    };
    for (const AdvancedCase &c : cases) {
        Inputs t;
        c.prepare(t);
        EXPECT_EQ(GetAdvancedParamsStr(t.context()).trimmed(), c.expected) << c.name;
    }
}

TEST(AdditionalPiece, LinesJoinedByBlanks)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), QString()},
        {u"-ss 10"_s, u" -ss 10"_s},
        {u"-ss 10\r\n-t 5"_s, u" -ss 10 -t 5"_s},
        {u"-ss 10\n-t 5\n"_s, u" -ss 10 -t 5"_s},
        {u"-ss 10\n\n-t 5"_s, u" -ss 10  -t 5"_s},
        {u"-metadata title=\"A B\""_s, u" -metadata title=\"A B\""_s},
    };
    for (const auto &[memo, expected] : cases) {
        Inputs t;
        t.settings.meParams = memo;
        EXPECT_EQ(GetAdditionalParamsStr(t.context()), expected) << memo;
    }
}

TEST(AdvancedParams, FFmpegHelpFileBesideTheProgram)
{
    QTemporaryDir dir;
    const QString ffmpeg = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(ffmpeg, "#!/bin/sh\n"));
    EXPECT_EQ(FFmpegHelpFile(ffmpeg), QString());
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"ffmpeg_HELP_long.txt"_s), "help"));
    EXPECT_EQ(FFmpegHelpFile(ffmpeg), dir.filePath(u"ffmpeg_HELP_long.txt"_s));
    EXPECT_EQ(FFmpegHelpFile(QString()), QString());
}

// Where no help file ships, FFmpeg is asked once and its answer kept.
TEST(AdvancedParams, FFmpegHelpWrittenOnceIntoTheCache)
{
    QTemporaryDir dir;
    const QString ffmpeg = dir.filePath(u"bin/ffmpeg"_s);
    const QString calls = dir.filePath(u"calls"_s);
    const QString cache = dir.filePath(u"cache/quillon"_s);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"bin"_s)));
    const auto script = [&](const char *body) {
        ASSERT_TRUE(TestSupport::WriteFile(
            ffmpeg, "#!/bin/sh\necho \"$*\" >> '" + calls.toUtf8() + "'\n" + QByteArray(body)));
        QFile::setPermissions(ffmpeg, QFile::permissions(ffmpeg) | QFile::ExeOwner);
    };
    script("printf 'Options:\\n-i url\\n'\n");

    const QString help = ProvideFFmpegHelpFile(ffmpeg, cache);
    ASSERT_FALSE(help.isEmpty());
    EXPECT_TRUE(help.startsWith(cache + u'/'));
    EXPECT_EQ(TestSupport::ReadFile(help), QByteArray("Options:\n-i url\n"));
    EXPECT_EQ(TestSupport::ReadFile(calls), QByteArray("-hide_banner -h long\n"));
    EXPECT_EQ(ProvideFFmpegHelpFile(ffmpeg, cache), help);
    EXPECT_EQ(TestSupport::ReadFile(calls).count('\n'), 1);

    // A newer program is asked again; one that fails gives nothing.
    script("exit 1\n");
    QFile program(ffmpeg);
    ASSERT_TRUE(program.open(QIODevice::ReadWrite));
    ASSERT_TRUE(program.setFileTime(
        QFileInfo(help).lastModified().addSecs(10), QFileDevice::FileModificationTime));
    program.close();
    EXPECT_EQ(ProvideFFmpegHelpFile(ffmpeg, cache), QString());
    EXPECT_EQ(TestSupport::ReadFile(calls).count('\n'), 2);
    EXPECT_EQ(ProvideFFmpegHelpFile(dir.filePath(u"missing"_s), cache), QString());

    // The shipped file wins.
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"bin/ffmpeg_HELP_long.txt"_s), "help"));
    EXPECT_EQ(ProvideFFmpegHelpFile(ffmpeg, cache), dir.filePath(u"bin/ffmpeg_HELP_long.txt"_s));
}

} // namespace
