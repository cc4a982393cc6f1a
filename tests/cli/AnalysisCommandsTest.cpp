#include "CliTestSupport.h"
#include "analysis/Crc32.h"
#include "app/AppParams.h"
#include "i18n/AppStrings.h"
#include "i18n/FFmpegMissing.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using TestSupport::CliRun;
using TestSupport::RunCli;

class AnalysisCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = TestSupport::SystemFFmpeg();
        s_mediaInfo = TestSupport::SystemMediaInfo();
        if (s_ffmpeg.isEmpty() || s_mediaInfo.isEmpty())
            return;
        s_dir = new QTemporaryDir;
        s_clip = s_dir->filePath(u"clip.mkv"_s);
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(s_ffmpeg,
            {u"-hide_banner"_s, u"-loglevel"_s, u"error"_s, u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"testsrc=size=160x120:rate=25:duration=2"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=frequency=440:sample_rate=48000:duration=2"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=frequency=880:sample_rate=44100:duration=2"_s, u"-map"_s, u"0:v"_s,
                u"-map"_s, u"1:a"_s, u"-map"_s, u"2:a"_s, u"-c:v"_s, u"libx264"_s, u"-preset"_s,
                u"ultrafast"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a:0"_s, u"ac3"_s, u"-ac:a:0"_s,
                u"6"_s, u"-c:a:1"_s, u"aac"_s, u"-ac:a:1"_s, u"2"_s, u"-metadata:s:a:1"_s,
                u"language=ger"_s, s_clip});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            s_clip.clear();
    }

    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        if (s_clip.isEmpty())
            QLN_SKIP_MISSING() << "needs ffmpeg (with libx264) and libmediainfo.so.0";
    }

    QStringList ToolOptions() const
    {
        return {u"--ffmpeg"_s, s_ffmpeg, u"--mediainfo"_s, s_mediaInfo};
    }

    static inline QString s_ffmpeg;
    static inline QString s_mediaInfo;
    static inline QTemporaryDir *s_dir = nullptr;
    static inline QString s_clip;
};

TEST_F(AnalysisCommands, InfoPrintsTheReportOfAGeneratedFile)
{
    // A relative name is reported in full.
    const CliRun run = RunCli(ToolOptions() + QStringList{u"info"_s, u"clip.mkv"_s}, s_dir->path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    const QStringList lines = run.out.split(u"\r\n"_s);
    ASSERT_GT(lines.size(), 60);
    EXPECT_TRUE(lines.at(0).startsWith(u"Quillon 1.10  ["_s));
    EXPECT_TRUE(lines.at(0).endsWith(u"-bit] - Video file information report"_s));
    EXPECT_EQ(lines.at(1), BuiltInWebSite()); // the line stays, empty without a site
    EXPECT_EQ(lines.at(3), u"File: "_s + s_clip);
    EXPECT_TRUE(run.out.endsWith(u"\r\n"_s));
    for (const QString &expected : {u"CRC32: $"_s + Crc32Hex(*Crc32OfFile(s_clip)),
             u"Format: Matroska"_s, u"Number of all data streams: 3"_s,
             u"Number of video streams: 1"_s, u"Number of audio streams: 2"_s, u"VIDEO STREAM"_s,
             u"Video codec: AVC"_s, u"Resolution: 160 x 120"_s, u"Display aspect: 4:3"_s,
             u"Frames / second: 25.00"_s, u"Frames:~ 50"_s, u"Stream index: 0"_s,
             u"AUDIO STREAM 1"_s, u"Audio codec: AC-3"_s, u"Channels: 6"_s,
             u"Sampling rate: 48 000 Hz"_s, u"Stream index: 1"_s, u"AUDIO STREAM 2"_s,
             u"Channels: 2"_s, u"Sampling rate: 44 100 Hz"_s, u"Language: German"_s,
             u"Stream index: 2"_s, u"DATA STREAMS:   (FFmpeg)"_s, u"MediaInfo"_s}) {
        EXPECT_TRUE(lines.contains(expected)) << expected.toStdString();
    }
    EXPECT_TRUE(
        lines.contains(u"   3: Stream #0:2(ger) - Audio: aac (LC), 44100 Hz, stereo, fltp"_s));
    EXPECT_TRUE(run.out.contains(u"Duration: 00:00:02."_s));
}

TEST_F(AnalysisCommands, InfoOnBadInputStillPrintsAReport)
{
    QTemporaryDir dir;
    const QByteArray clip = TestSupport::ReadFile(s_clip);
    const struct
    {
        QString name;
        QByteArray bytes;
        QString expectedLine;
    } cases[] = {
        {u"empty.mkv"_s, {}, u"CRC32: $00000000"_s},
        {u"text.mkv"_s, "This is not a Matroska file.\n", u"Number of video streams: 0"_s},
        {u"-dash $HOME \"quoted\" 'single' `id` ünïcødé.mkv"_s, clip,
            u"Number of audio streams: 2"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(TestSupport::WriteFile(path, c.bytes));
        const CliRun run = RunCli(ToolOptions() + QStringList{u"info"_s, path});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QStringList lines = run.out.split(u"\r\n"_s);
        EXPECT_EQ(lines.value(3), u"File: "_s + path);
        EXPECT_TRUE(lines.contains(c.expectedLine)) << run.out.toStdString();
    }
}

TEST_F(AnalysisCommands, InfoOnAMissingFileFails)
{
    const QString missing = s_dir->filePath(u"absent.mkv"_s);
    CliRun run = RunCli(ToolOptions() + QStringList{u"info"_s, missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.contains(u"no such file: "_s + missing)) << run.err.toStdString();

    run = RunCli(ToolOptions() + QStringList{u"info"_s, s_dir->path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"not a file"_s)) << run.err.toStdString();

    // A name that is not UTF-8 names a file that exists, but cannot be used.
    const QByteArray bad = QFile::encodeName(s_dir->path()) + "/\xff\xfe.mkv";
    ASSERT_TRUE(RawCli::Touch(bad));
    run = RawCli::Run({"--ffmpeg", QFile::encodeName(s_ffmpeg), "info", bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err,
        u"quillon-cli: info: \""_s + s_dir->path()
            + u"/\\xff\\xfe.mkv\": the name is not valid UTF-8\n"_s);

    run = RunCli(ToolOptions() + QStringList{u"info"_s});
    EXPECT_EQ(run.exitCode, 2);
    run = RunCli(ToolOptions() + QStringList{u"info"_s, s_clip, s_clip});
    EXPECT_EQ(run.exitCode, 2);
}

TEST_F(AnalysisCommands, InfoWithoutFFmpegWarnsAndPrintsNameAndSize)
{
    // No FFmpeg on the search path and none beside the program.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PATH"_s, s_dir->path());
    const CliRun run = RunCli({u"--mediainfo"_s, s_mediaInfo, u"info"_s, s_clip}, {}, env);
    if (run.err.isEmpty())
        GTEST_SKIP() << "an FFmpeg was found beside the program";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"FFmpeg not found"_s)) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"\r\nFile: "_s + s_clip + u"\r\n"_s));
    EXPECT_TRUE(run.out.contains(u"\r\nNumber of video streams: 0\r\n"_s));
    EXPECT_FALSE(run.out.contains(u"MediaInfo"_s)); // not consulted without FFmpeg
}

TEST_F(AnalysisCommands, ToolsPrintsBothBlocks)
{
    const CliRun run = RunCli(ToolOptions() + QStringList{u"tools"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 19) << run.out.toStdString();
    EXPECT_EQ(lines.at(0), u"FFmpeg"_s);
    EXPECT_EQ(lines.at(1), u"        File name: "_s + s_ffmpeg);
    EXPECT_EQ(lines.at(3), u"       File CRC32: $"_s + Crc32Hex(*Crc32OfFile(s_ffmpeg)));
    EXPECT_TRUE(lines.at(4).startsWith(u"      Binary type: 64-bit Executable / ELF64"_s));
    EXPECT_EQ(lines.at(8), QString(83, u'-'));
    EXPECT_EQ(lines.at(9), u"MediaInfo"_s);
    EXPECT_EQ(lines.at(10), u"        File name: "_s + s_mediaInfo);
    EXPECT_TRUE(lines.at(13).startsWith(u"      Binary type: 64-bit Library / ELF64"_s));
    EXPECT_TRUE(lines.at(16).startsWith(u" File description: MediaInfoLib"_s));
    EXPECT_EQ(lines.at(17), QString(83, u'-'));
    EXPECT_EQ(lines.at(18), QString()); // the closing line end

    EXPECT_EQ(RunCli({u"tools"_s, u"extra"_s}).exitCode, 2);
}

TEST_F(AnalysisCommands, ToolsWithoutFFmpegSaysSoAndFails)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PATH"_s, s_dir->path());
    const CliRun run = RunCli({u"--mediainfo"_s, s_mediaInfo, u"tools"_s}, {}, env);
    if (run.out.contains(u"FFmpeg\r\n        File name:"_s))
        GTEST_SKIP() << "an FFmpeg was found beside the program";
    EXPECT_EQ(run.exitCode, 1);
    TAppStrings strings;
    EXPECT_EQ(run.err, FFmpegMissingText(strings).replace(u"\r\n"_s, u"\n"_s) + u'\n');
    // What was found is still reported.
    EXPECT_TRUE(run.out.startsWith(u"FFmpeg\r\n\r\n-----"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"\r\nMediaInfo\r\n        File name: "_s + s_mediaInfo));
}

} // namespace
