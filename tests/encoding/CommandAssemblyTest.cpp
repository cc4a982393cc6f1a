#include "CommandTestSupport.h"

#include "encoding/AdvancedParams.h"
#include "encoding/AudioParams.h"
#include "encoding/CommandAssembly.h"
#include "encoding/VideoParams.h"
#include "process/CommandLine.h"

#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

const QString In = u"/videos/My Movie.mkv"_s;
const QString Out = u"/videos/My Movie.avi"_s;

// AVI, Xvid at 1500, automatic rate of a 25 frame/s source, MP3 with the
// automatic bitrate of a 48000 Hz stereo source of 192 kbit/s.
void exampleXvid(Inputs &t)
{
    t.video(1920, 1080, 25, 0.1, 5000);
    t.audio(2, 48000, 192);
    t.settings.cbAviVideoBitrate = u"1500"_s;
    t.settings.cbAudioCodec = AudioCodec::Mp3;
}

// AVI, H.264, automatic threads on eight processors, 2000, two passes,
// AAC with the automatic bitrate of a 48000 Hz stereo source of 128 kbit/s.
void exampleH264TwoPass(Inputs &t)
{
    t.video(1920, 1080, 25, 0.1, 5000);
    t.audio(2, 48000, 128);
    t.settings.cbAviVideoCodec = AviCodec::H264;
    t.settings.cbAviVideoBitrate = u"2000"_s;
    t.settings.chAviVideo2Pass = true;
    t.settings.cbAudioCodec = AudioCodec::Aac;
}

void exampleDvd(Inputs &t)
{
    t.video(720, 576, 25, 0.3, 6000);
    t.audio(2, 48000, 192);
    t.settings.pcVideoFormat = EncodingSettings::tsMpg;
    t.settings.cbMpgVideo = MpgVideo::PalDvd;
}

TEST(CommandAssembly, WorkedExampleXvid)
{
    Inputs t;
    exampleXvid(t);
    const FileCommands commands = BuildFileCommands(t.context(), u"/usr/bin/ffmpeg"_s, In, Out);
    ASSERT_TRUE(commands.ok);
    EXPECT_FALSE(commands.twoPass);
    ASSERT_EQ(commands.passes.size(), 1);
    EXPECT_EQ(commands.passes[0].paramText(),
        u"-y -i \"/videos/My Movie.mkv\" -c:v libxvid -b:v 1500k -r 25.000 -c:a libmp3lame "
        u"-b:a 192k -async 1   \"/videos/My Movie.avi\""_s);
    EXPECT_EQ(commands.passes[0].program(), u"/usr/bin/ffmpeg"_s);
}

TEST(CommandAssembly, WorkedExampleH264TwoPass)
{
    Inputs t;
    exampleH264TwoPass(t);
    const FileCommands commands = BuildFileCommands(t.context(8), {}, In, Out);
    ASSERT_TRUE(commands.ok);
    ASSERT_TRUE(commands.twoPass);
    ASSERT_EQ(commands.passes.size(), 2);
    const QString head = u"-y -i \"/videos/My Movie.mkv\" -c:v libx264 -threads 4 -b:v 2000k "
                         u"-r 25.000 -c:a libfdk_aac -b:a 128k -async 1  -preset:v faster "_s;
    EXPECT_EQ(commands.passes[0].paramText(), head + u"-pass 1  \"/videos/My Movie.avi\""_s);
    EXPECT_EQ(commands.passes[1].paramText(), head + u"-pass 2  \"/videos/My Movie.avi\""_s);
}

TEST(CommandAssembly, WorkedExampleDvd)
{
    Inputs t;
    exampleDvd(t);
    const FileCommands commands = BuildFileCommands(t.context(), {}, In, u"/videos/My Movie.mpg"_s);
    ASSERT_TRUE(commands.ok);
    ASSERT_EQ(commands.passes.size(), 1);
    EXPECT_EQ(commands.passes[0].paramText(),
        u"-y -i \"/videos/My Movie.mkv\" -target pal-dvd   -b:a 192k -ac 2 -async 1   "
        u"\"/videos/My Movie.mpg\""_s);
}

TEST(CommandAssembly, PresetSitsBetweenAdvancedAndAdditional)
{
    Inputs t;
    t.video(640, 480, 25, 0.1, 1000);
    t.settings.cbAviVideoCodec = AviCodec::H264;
    t.settings.chFlipVertical = true;
    t.settings.meParams = u"-ss 1"_s;
    const FileCommands commands = BuildFileCommands(t.context(2), {}, In, Out);
    ASSERT_EQ(commands.passes.size(), 1);
    EXPECT_EQ(commands.passes[0].paramText(),
        u"-y -i \"/videos/My Movie.mkv\" -c:v libx264 -threads 1 -b:v 1000k -r 25.000 "
        u"-c:a libmp3lame -b:a 96k -async 1 -vf vflip -preset:v faster -ss 1 "
        u"\"/videos/My Movie.avi\""_s);
}

TEST(CommandAssembly, TwoPassDecision)
{
    struct Case
    {
        const char *name;
        void (*prepare)(Inputs &);
        bool twoPass;
    };
    const Case cases[] = {
        {"Xvid, box checked", [](Inputs &t) { t.settings.chAviVideo2Pass = true; }, true},
        {"box unchecked", [](Inputs &) {}, false},
        {"WMV version 1",
            [](Inputs &t) {
                t.settings.chAviVideo2Pass = true;
                t.settings.cbAviVideoCodec = AviCodec::Wmv1;
            },
            false},
        {"video dropped",
            [](Inputs &t) {
                t.settings.chAviVideo2Pass = true;
                t.settings.chAviVideoDontCopy = true;
            },
            false},
        {"MPG box checked, the AVI one not",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.chMpgVideo2Pass = true;
            },
            true},
        {"MPG DVD preset checked",
            [](Inputs &t) {
                exampleDvd(t);
                t.settings.chMpgVideo2Pass = true;
            },
            true},
        {"AVI box on the MPG page",
            [](Inputs &t) {
                t.settings.pcVideoFormat = EncodingSettings::tsMpg;
                t.settings.chAviVideo2Pass = true;
            },
            false},
    };
    for (const Case &c : cases) {
        Inputs t;
        c.prepare(t);
        EXPECT_EQ(IsTwoPassRun(t.settings), c.twoPass) << c.name;
        EXPECT_EQ(BuildFileCommands(t.context(), {}, In, Out).passes.size(), c.twoPass ? 2 : 1)
            << c.name;
    }
}

TEST(CommandAssembly, RunStopsAtTheFirstErrorPiece)
{
    Inputs t;
    t.settings.cbAviVideoBitrate = u"fast"_s;
    t.settings.cbAudioBitrate = u"slow"_s;
    FileCommands commands = BuildFileCommands(t.context(), {}, In, Out);
    EXPECT_FALSE(commands.ok);
    EXPECT_TRUE(commands.passes.isEmpty());
    ASSERT_EQ(t.sink.warnings.size(), 1);
    EXPECT_TRUE(t.sink.warnings[0].startsWith(u"Video bitrate: fast"_s));

    t.sink.warnings.clear();
    t.settings.cbAviVideoBitrate = u"Auto"_s;
    commands = BuildFileCommands(t.context(), {}, In, Out);
    EXPECT_FALSE(commands.ok);
    ASSERT_EQ(t.sink.warnings.size(), 1);
    EXPECT_TRUE(t.sink.warnings[0].startsWith(u"Audio bitrate: slow"_s));
}

TEST(CommandAssembly, ArgumentVectorKeepsFileNamesWhole)
{
    Inputs t;
    t.settings.meParams = u"-metadata title=\"A B\"\n-ss 1"_s;
    const QString in = u"/tmp/-x \"quoted\" $(rm -rf ~) `id`; a.mkv"_s;
    const QString out = u"/tmp/  two  blanks.avi"_s;
    const FileCommands commands = BuildFileCommands(t.context(), u"/usr/bin/ffmpeg"_s, in, out);
    ASSERT_EQ(commands.passes.size(), 1);
    const QStringList args = commands.passes[0].arguments();
    ASSERT_GE(args.size(), 4);
    EXPECT_EQ(args.mid(0, 3), (QStringList{u"-y"_s, u"-i"_s, in}));
    EXPECT_EQ(args.last(), out);
    EXPECT_TRUE(args.contains(u"title=A B"_s));
    EXPECT_EQ(args.mid(args.size() - 5),
        (QStringList{u"-metadata"_s, u"title=A B"_s, u"-ss"_s, u"1"_s, out}));
}

TEST(CommandAssembly, UnbalancedQuoteInUserTextCannotSwallowTheOutput)
{
    Inputs t;
    t.settings.meParams = u"-metadata title=\"open"_s;
    const FileCommands commands = BuildFileCommands(t.context(), {}, In, Out);
    ASSERT_EQ(commands.passes.size(), 1);
    EXPECT_EQ(commands.passes[0].arguments().last(), Out);
}

TEST(Preview, Forms)
{
    struct Case
    {
        const char *name;
        void (*prepare)(Inputs &);
        QString inputPath;
        QString expected;
    };
    const Case cases[] = {
        {"no row selected", [](Inputs &) {}, QString(),
            u"-y -i <input_file> -c:v libxvid -b:v 800k -c:a libmp3lame -b:a 96k -async 1 "
            u"<output_file>"_s},
        {"a row: quoted input", exampleXvid, u"/v/a b.mkv"_s,
            u"-y -i \"/v/a b.mkv\" -c:v libxvid -b:v 1500k -r 25.000 -c:a libmp3lame -b:a 192k "
            u"-async 1 <output_file>"_s},
        {"H.264 with additional parameters",
            [](Inputs &t) {
                t.video(640, 480, 25, 0.1, 1000);
                t.settings.cbAviVideoCodec = AviCodec::H264;
                t.settings.meParams = u"-ss 1"_s;
            },
            QString(),
            u"-y -i <input_file> -c:v libx264 -threads 4 -b:v 1000k -r 25.000 -c:a libmp3lame "
            u"-b:a 96k -async 1  -preset:v faster -ss 1  <output_file>"_s},
        {"H.264 without additional parameters",
            [](Inputs &t) {
                t.video(640, 480, 25, 0.1, 1000);
                t.settings.cbAviVideoCodec = AviCodec::H264;
            },
            QString(),
            u"-y -i <input_file> -c:v libx264 -threads 4 -b:v 1000k -r 25.000 -c:a libmp3lame "
            u"-b:a 96k -async 1  -preset:v faster <output_file>"_s},
        {"H.264 two passes: pass option before the preset", exampleH264TwoPass, u"/v/a.mkv"_s,
            u"-y -i \"/v/a.mkv\" -c:v libx264 -threads 4 -b:v 2000k -r 25.000 -c:a libfdk_aac "
            u"-b:a 128k -async 1  -pass 1  -preset:v faster  <output_file>\r\n\r\n"
            u"-y -i \"/v/a.mkv\" -c:v libx264 -threads 4 -b:v 2000k -r 25.000 -c:a libfdk_aac "
            u"-b:a 128k -async 1  -pass 2  -preset:v faster  <output_file>"_s},
        {"WMV version 1 two passes are shown",
            [](Inputs &t) {
                t.settings.cbAviVideoCodec = AviCodec::Wmv1;
                t.settings.chAviVideo2Pass = true;
            },
            QString(),
            u"-y -i <input_file> -c:v wmv1 -b:v 800k -c:a libmp3lame -b:a 96k -async 1  -pass 1  "
            u"<output_file>\r\n\r\n-y -i <input_file> -c:v wmv1 -b:v 800k -c:a libmp3lame -b:a "
            u"96k -async 1  -pass 2  <output_file>"_s},
        {"DVD preset", exampleDvd, QString(),
            u"-y -i <input_file> -target pal-dvd -b:a 192k -ac 2 -async 1 <output_file>"_s},
        {"invalid bitrates left out",
            [](Inputs &t) {
                t.settings.cbAviVideoBitrate = u"x"_s;
                t.settings.cbAudioBitrate = u"y"_s;
            },
            QString(), u"-y -i <input_file> -c:v libxvid  -c:a libmp3lame  <output_file>"_s},
    };
    for (const Case &c : cases) {
        Inputs t;
        c.prepare(t);
        EXPECT_EQ(PreviewText(t.context(8), c.inputPath), c.expected) << c.name;
    }
}

TEST(Preview, ShowsEveryMessageVideoFirst)
{
    Inputs t;
    t.settings.cbAviVideoBitrate = u"x"_s;
    t.settings.cbAudioBitrate = u"y"_s;
    PreviewText(t.context(), {});
    ASSERT_EQ(t.sink.warnings.size(), 2);
    EXPECT_TRUE(t.sink.warnings[0].startsWith(u"Video bitrate: x"_s));
    EXPECT_TRUE(t.sink.warnings[1].startsWith(u"Audio bitrate: y"_s));
    EXPECT_EQ(t.sink.controls, (QStringList{u"cbAviVideoBitrate"_s, u"cbAudioBitrate"_s}));
}

// A window marks the control a message is about, so each message names it.
TEST(Preview, NamesTheControlOfEachInvalidValue)
{
    const struct
    {
        bool mpg;
        QString EncodingSettings::*field;
        const char *control;
    } cases[] = {
        {false, &EncodingSettings::cbAviVideoBitrate, "cbAviVideoBitrate"},
        {false, &EncodingSettings::cbAviVideoFPS, "cbAviVideoFPS"},
        {true, &EncodingSettings::cbMpgVideoBitrate, "cbMpgVideoBitrate"},
        {true, &EncodingSettings::cbMpgVideoFPS, "cbMpgVideoFPS"},
        {false, &EncodingSettings::cbAudioBitrate, "cbAudioBitrate"},
        {true, &EncodingSettings::cbAudioSampling, "cbAudioSampling"},
    };
    for (const auto &c : cases) {
        Inputs t;
        t.settings.pcVideoFormat = c.mpg ? EncodingSettings::tsMpg : EncodingSettings::tsAvi;
        t.settings.*c.field = u"25..0"_s;
        PreviewText(t.context(), {});
        EXPECT_EQ(t.sink.controls, QStringList{QString::fromLatin1(c.control)}) << c.control;
        EXPECT_EQ(t.sink.warnings.size(), 1) << c.control;
    }
}

// Many generated records: the builders never crash, only the user's own
// parameters bring double quotes, and the run's argument vector always holds
// the file names whole.
TEST(CommandAssembly, GeneratedSettingsRecords)
{
    std::mt19937 random(20240307);
    const auto pick = [&](const auto &items) {
        return items[std::uniform_int_distribution<size_t>(0, std::size(items) - 1)(random)];
    };
    const auto number
        = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    const auto flag = [&] { return number(0, 1) == 1; };
    const QString texts[]
        = {u"Auto"_s, u" auto "_s, u""_s, u"25"_s, u"29,97"_s, u"1500"_s, u"-3"_s, u"abc"_s,
            u"\"5\""_s, u"1.2.3"_s, u"16:9"_s, u"2,35"_s, u"99999999999"_s, u"44100"_s, u"0"_s};
    const QString memos[] = {QString(), u"-ss 1"_s, u"-metadata title=\"A B\"\n-t 2"_s,
        u"\r\n\r\n"_s, u"-vf \"scale=2:2\""_s};
    const QString names[] = {u"/v/a.mkv"_s, u"/v/two  blanks.mkv"_s, u"/v/-dash;$x`y`.mkv"_s,
        u"/v/ünïcødé ✓.mkv"_s, u"relative name.mkv"_s};

    for (int round = 0; round < 3000; ++round) {
        Inputs t;
        EncodingSettings &s = t.settings;
        s.pcVideoFormat = number(0, 1);
        s.cbAviVideoCodec = number(-1, 10);
        s.cbAviVideoThreads = pick(texts);
        s.cbAviVideoBitrate = pick(texts);
        s.cbAviVideoFPS = pick(texts);
        s.cbAviVideoAspect = pick(texts);
        s.chAviVideo2Pass = flag();
        s.chAviVideoDontCopy = flag();
        s.cbMpgVideo = number(-1, 3);
        s.cbMpegVersion = number(-1, 2);
        s.cbMpgVideoBitrate = pick(texts);
        s.cbMpgVideoFPS = pick(texts);
        s.chMpgVideo2Pass = flag();
        s.chMpgVideoDontCopy = flag();
        s.cbAudioCodec = number(-1, 9);
        s.cbAudioBitrate = pick(texts);
        s.cbAudioSampling = pick(texts);
        s.cbAudioChannels = number(-1, 4);
        s.tbAudioVolume = number(-5, 400);
        s.chAudioDontCopy = flag();
        s.cbAudioTrackNo = number(-1, 50);
        s.cbInterlacing = number(-1, 3);
        s.chVideoFourcc = flag();
        s.cbVideoTag = pick(texts);
        s.cbResolution = number(-1, int(t.lists.cbResolution.size()) + 1);
        s.spedResWidth = number(-10, 30000);
        s.spedResHeight = number(-10, 30000);
        s.spedCropTop = number(-8, 5000);
        s.spedCropLeft = number(0, 16);
        s.chBrightness = flag();
        s.tbBrightness = number(-25, 25);
        s.chSaturation = flag();
        s.tbSaturation = number(-1, 35);
        s.chFlipHorizontal = flag();
        s.chFlipVertical = flag();
        s.chRotate = flag();
        s.cbRotate = pick(texts);
        s.chNegative = flag();
        s.chConvertColors = flag();
        s.cbConvertColors = number(-1, 2);
        s.meParams = pick(memos);
        if (flag())
            t.video(number(0, 65535), number(0, 65535), number(0, 1) ? 0.0 : 29.97,
                number(0, 10) / 10.0, number(-1, 300000));
        for (int i = 0, n = number(0, 49); i < n && i < MaxAudioStreams; ++i)
            t.audio(
                number(0, 8), pick(std::array{0, 22050, 44100, 48000, 96000}), number(-1, 2000));
        if (flag())
            t.info.NumberOfAudioStreams = uint8_t(number(0, 255));

        const QString in = pick(names);
        const QString out = pick(names) + u".avi"_s;
        const PieceContext ctx = t.context(number(-1, 64));
        const FileCommands commands = BuildFileCommands(ctx, u"ffmpeg"_s, in, out);
        for (const QString &piece : {commands.pieces.VC, commands.pieces.VP, commands.pieces.AC,
                 commands.pieces.AP, commands.pieces.ADV})
            ASSERT_FALSE(piece.contains(u'"')) << round << " " << piece.toStdString();
        const QString preview = PreviewText(ctx, in);
        ASSERT_TRUE(preview.startsWith(u"-y -i \""_s + in + u'"')) << round;
        if (!commands.ok)
            continue;
        for (const CommandLine &pass : commands.passes) {
            const QStringList &args = pass.arguments();
            ASSERT_GE(args.size(), 4) << round;
            ASSERT_EQ(args.mid(0, 3), (QStringList{u"-y"_s, u"-i"_s, in})) << round;
            ASSERT_EQ(args.last(), out) << round;
            // The text read back by the splitter gives the same vector.
            ASSERT_EQ(splitParamText(pass.paramText()), args) << round;
        }
    }
}

} // namespace
