// The parameter texts run through the real FFmpeg: every codec, the MPG
// choices, two passes, the picture filters, dropped streams and track
// selection. Outputs are checked by analysing them.
#include "CommandTestSupport.h"
#include "support/TestSupport.h"

#include "analysis/FFmpegProbe.h"
#include "encoding/CommandAssembly.h"
#include "encoding/EncoderSupport.h"
#include "encoding/OutputName.h"
#include "process/ConsoleRunner.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

struct Expected
{
    QString video; // FFmpeg's decoder name of the output's video, empty: none
    int width = 160, height = 120;
    QString audio; // likewise for the audio
    int channels = 0;
};

struct RealCase
{
    const char *name;
    void (*prepare)(EncodingSettings &);
    Expected expected;
};

// The FFmpeg description line of the first stream of a kind ("Video").
QString StreamLine(const TVideoFileInfo &info, const QString &kind)
{
    for (const TSTreamInfoStr &line : info.StreamsStr)
        if (line.Str1.contains(kind + u": "_s))
            return line.Str1;
    return {};
}

// Whether that line names the decoder ("Audio: ac3, 48000 Hz...").
bool NamesDecoder(const QString &line, const QString &kind, const QString &decoder)
{
    return line.contains(
        QRegularExpression(kind + u": "_s + QRegularExpression::escape(decoder) + u"\\b"_s));
}

class CommandRealFFmpeg : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = TestSupport::SystemFFmpeg();
        s_mediaInfo = TestSupport::SystemMediaInfo();
        if (s_ffmpeg.isEmpty())
            return;
        s_dir = std::make_unique<QTemporaryDir>();
        s_source = s_dir->filePath(u"source.mkv"_s);
        // One second of H.264 with AC-3 5.1 and AAC stereo at 44100 Hz.
        const CommandLine make(s_ffmpeg,
            u"-hide_banner -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=1 "
            u"-f lavfi -i sine=frequency=440:sample_rate=48000:duration=1 -f lavfi -i "
            u"sine=frequency=880:sample_rate=44100:duration=1 -map 0:v -map 1:a -map 2:a "
            u"-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a:0 ac3 -ac:a:0 6 -c:a:1 aac "
            u"-ac:a:1 2 "_s);
        CommandLine withOutput = make;
        withOutput.appendFileName(s_source);
        ConsoleRunner runner;
        QStringList output;
        if (runner.RunConsoleApp(withOutput, &output) != 0)
            s_source.clear();
        s_encoders = QueryEncoders(s_ffmpeg);
    }

    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (s_ffmpeg.isEmpty() || s_source.isEmpty())
            QLN_SKIP_MISSING() << "needs ffmpeg";
    }

    // Builds and runs the command of settings for the source; returns the
    // analysed output.
    void convert(const RealCase &c)
    {
        SCOPED_TRACE(c.name);
        Inputs t;
        c.prepare(t.settings);
        ProbeWithFFmpeg(s_source, s_ffmpeg, s_mediaInfo, t.info);
        ASSERT_EQ(t.info.NumberOfAudioStreams, 2);

        const QString folder = s_dir->filePath(QString::number(++s_caseNo));
        ASSERT_TRUE(QDir().mkpath(folder));
        t.settings.rbOutDir = true;
        t.settings.edOutDir = folder;
        const OutputPath out
            = OutputNamePlanner(t.settings, t.strings, &t.sink, OutputNamePlanner::Plan, {s_source})
                  .next(0);
        ASSERT_EQ(out.action, OutputPath::Convert);

        PieceContext ctx = t.context(2);
        ctx.encoders = s_encoders ? &*s_encoders : nullptr;
        const FileCommands commands = BuildFileCommands(ctx, s_ffmpeg, s_source, out.path);
        ASSERT_TRUE(commands.ok) << t.sink.warnings.join(u'\n').toStdString();
        const QString logDir = folder + u"/log"_s;
        QDir().mkpath(logDir);
        for (const CommandLine &pass : commands.passes) {
            ConsoleRunner runner;
            QStringList lines;
            const uint32_t exitCode
                = runner.RunConsoleApp(pass, &lines, {}, commands.twoPass ? logDir : QString());
            ASSERT_EQ(exitCode, 0u) << pass.paramText().toStdString() << "\n"
                                    << lines.join(u'\n').toStdString();
        }

        TVideoFileInfo result;
        ProbeWithFFmpeg(out.path, s_ffmpeg, s_mediaInfo, result);
        const Expected &e = c.expected;
        if (e.video.isEmpty()) {
            EXPECT_EQ(result.NumberOfVideoStreams, 0);
        } else {
            EXPECT_EQ(result.NumberOfVideoStreams, 1);
            const QString line = StreamLine(result, u"Video"_s);
            EXPECT_TRUE(NamesDecoder(line, u"Video"_s, e.video)) << line.toStdString();
            EXPECT_EQ(result.VideoStreams[0].Width, e.width);
            EXPECT_EQ(result.VideoStreams[0].Height, e.height);
        }
        if (e.audio.isEmpty()) {
            EXPECT_EQ(result.NumberOfAudioStreams, 0);
        } else {
            EXPECT_EQ(result.NumberOfAudioStreams, 1);
            const QString line = StreamLine(result, u"Audio"_s);
            EXPECT_TRUE(NamesDecoder(line, u"Audio"_s, e.audio)) << line.toStdString();
            EXPECT_EQ(result.AudioStreams[0].Channels, e.channels);
        }
    }

    static inline QString s_ffmpeg, s_mediaInfo, s_source;
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::optional<EncoderSet> s_encoders;
    static inline int s_caseNo = 0;
};

TEST_F(CommandRealFFmpeg, EveryAviVideoCodec)
{
    const char *decoders[] = {"mpeg4", "msmpeg4v3", "h264", "mpeg4", "msmpeg4v2", "wmv1", "wmv2",
        "mjpeg", "huffyuv", "h264"};
    for (int codec = 0; codec < AviCodec::Count; ++codec) {
        static int current;
        current = codec;
        const RealCase c{"AVI codec",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = current;
                s.cbAudioCodec = AudioCodec::Mp3;
            },
            {QLatin1String(decoders[codec]), 160, 120, u"mp3"_s, 2}};
        SCOPED_TRACE(codec);
        convert(c);
    }
}

TEST_F(CommandRealFFmpeg, EveryAudioCodec)
{
    // The automatic choice takes AC-3 for the 5.1 source; AAC is written
    // with the "aac" stand-in.
    const std::pair<const char *, int> expected[] = {{"ac3", 6}, {"mp3", 2}, {"mp2", 2}, {"ac3", 6},
        {"aac", 6}, {"wmav1", 2}, {"wmav2", 2}, {"pcm_s16le", 6}, {"ac3", 6}};
    for (int codec = 0; codec < AudioCodec::Count; ++codec) {
        static int current;
        current = codec;
        const RealCase c{"audio codec",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::FFMpeg4;
                s.cbAudioCodec = current;
            },
            {u"mpeg4"_s, 160, 120, QLatin1String(expected[codec].first), expected[codec].second}};
        SCOPED_TRACE(codec);
        convert(c);
    }
}

TEST_F(CommandRealFFmpeg, MpgChoices)
{
    struct Choice
    {
        int preset, version;
        Expected expected;
    };
    const Choice choices[] = {
        {MpgVideo::PalDvd, 0, {u"mpeg2video"_s, 720, 576, u"ac3"_s, 2}},
        {MpgVideo::PalDvd, 1, {u"mpeg2video"_s, 720, 576, u"ac3"_s, 2}},
        {MpgVideo::NtscDvd, 0, {u"mpeg2video"_s, 720, 480, u"ac3"_s, 2}},
        {MpgVideo::NtscDvd, 1, {u"mpeg2video"_s, 720, 480, u"ac3"_s, 2}},
        {MpgVideo::Custom, 0, {u"mpeg1video"_s, 160, 120, u"mp2"_s, 2}},
        {MpgVideo::Custom, 1, {u"mpeg2video"_s, 160, 120, u"mp2"_s, 2}},
    };
    for (const Choice &choice : choices) {
        static Choice current;
        current = choice;
        SCOPED_TRACE(choice.preset * 10 + choice.version);
        convert({"MPG",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbMpgVideo = current.preset;
                s.cbMpegVersion = current.version;
            },
            choice.expected});
    }
}

TEST_F(CommandRealFFmpeg, TwoPasses)
{
    convert({"Xvid two-pass",
        [](EncodingSettings &s) {
            s.chAviVideo2Pass = true;
            s.cbAviVideoBitrate = u"300"_s;
        },
        {u"mpeg4"_s, 160, 120, u"ac3"_s, 6}});
    convert({"H.264 two-pass",
        [](EncodingSettings &s) {
            s.cbAviVideoCodec = AviCodec::H264;
            s.chAviVideo2Pass = true;
        },
        {u"h264"_s, 160, 120, u"ac3"_s, 6}});
    convert({"MPEG-2 two-pass",
        [](EncodingSettings &s) {
            s.pcVideoFormat = EncodingSettings::tsMpg;
            s.cbMpegVersion = 1;
            s.chMpgVideo2Pass = true;
        },
        {u"mpeg2video"_s, 160, 120, u"mp2"_s, 2}});
}

TEST_F(CommandRealFFmpeg, AllPictureFiltersTogether)
{
    convert({"all filters",
        [](EncodingSettings &s) {
            s.cbAviVideoCodec = AviCodec::H264;
            s.cbAviVideoAspect = u"16:9"_s;
            s.cbInterlacing = Interlacing::Deinterlace;
            s.spedCropTop = s.spedCropBottom = s.spedCropLeft = s.spedCropRight = 8;
            s.cbResolution = CommandTest::PresetVga;
            s.chBrightness = true;
            s.tbBrightness = 5;
            s.chSaturation = true;
            s.tbSaturation = 12;
            s.chFlipHorizontal = s.chFlipVertical = true;
            s.chConvertColors = true;
            s.cbConvertColors = ConvertColors::Sepia;
            s.chNegative = true;
            s.chRotate = true;
            s.cbRotate = u"90"_s;
            s.chVideoFourcc = true;
            s.cbVideoTag = u"H264"_s;
            s.tbAudioVolume = 150;
            s.meParams = u"-metadata title=\"All filters\""_s;
        },
        {u"h264"_s, 640, 480, u"ac3"_s, 6}});
}

TEST_F(CommandRealFFmpeg, DroppedStreamsAndTrackChoice)
{
    convert({"audio only", [](EncodingSettings &s) { s.chAviVideoDontCopy = true; },
        {QString(), 0, 0, u"ac3"_s, 6}});
    convert({"video only", [](EncodingSettings &s) { s.chAudioDontCopy = true; },
        {u"mpeg4"_s, 160, 120, QString(), 0}});
    // The second track is the AAC stereo one.
    convert({"audio track 2",
        [](EncodingSettings &s) {
            s.cbAudioTrackNo = 2;
            s.cbAudioCodec = AudioCodec::Mp2;
        },
        {u"mpeg4"_s, 160, 120, u"mp2"_s, 2}});
    convert({"audio track 2, COPY",
        [](EncodingSettings &s) {
            s.cbAudioTrackNo = 2;
            s.cbAudioCodec = AudioCodec::Copy;
        },
        {u"mpeg4"_s, 160, 120, u"aac"_s, 2}});
}

} // namespace
