#include "analysis/FFmpegProbe.h"

#include "analysis/MediaInfoTestSupport.h"
#include "process/CommandLine.h"
#include "process/ConsoleRunner.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>

using namespace MediaInfoTest;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

struct SystemTools
{
    QString ffmpeg;
    QString mediaInfo;
};

SystemTools FindSystemTools()
{
    return {TestSupport::SystemFFmpeg(), TestSupport::SystemMediaInfo()};
}

using TestSupport::RunFFmpeg;

const QStringList TestPicture
    = {u"-f"_s, u"lavfi"_s, u"-i"_s, u"testsrc=size=160x120:rate=25:duration=2"_s};

// H.264 with AC-3 5.1 and AAC stereo (German), two seconds.
bool MakeMatroska(const QString &ffmpeg, const QString &path)
{
    return RunFFmpeg(ffmpeg,
        TestPicture
            + QStringList{u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=frequency=440:sample_rate=48000:duration=2"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=frequency=880:sample_rate=44100:duration=2"_s, u"-map"_s, u"0:v"_s,
                u"-map"_s, u"1:a"_s, u"-map"_s, u"2:a"_s, u"-c:v"_s, u"libx264"_s, u"-preset"_s,
                u"ultrafast"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a:0"_s, u"ac3"_s, u"-ac:a:0"_s,
                u"6"_s, u"-c:a:1"_s, u"aac"_s, u"-ac:a:1"_s, u"2"_s, u"-metadata:s:a:1"_s,
                u"language=ger"_s, path});
}

bool MakeAvi(const QString &ffmpeg, const QString &path)
{
    return RunFFmpeg(ffmpeg,
        TestPicture
            + QStringList{u"-f"_s, u"lavfi"_s, u"-i"_s, u"sine=sample_rate=44100:duration=2"_s,
                u"-c:v"_s, u"mpeg4"_s, u"-c:a"_s, u"libmp3lame"_s, path});
}

bool MakeMpegPs(const QString &ffmpeg, const QString &path)
{
    return RunFFmpeg(ffmpeg,
        TestPicture
            + QStringList{u"-f"_s, u"lavfi"_s, u"-i"_s, u"sine=sample_rate=48000:duration=2"_s,
                u"-c:v"_s, u"mpeg2video"_s, u"-c:a"_s, u"mp2"_s, u"-f"_s, u"vob"_s, path});
}

bool MakeAudioOnly(const QString &ffmpeg, const QString &path)
{
    return RunFFmpeg(ffmpeg,
        {u"-f"_s, u"lavfi"_s, u"-i"_s, u"sine=sample_rate=44100:duration=2"_s, u"-c:a"_s,
            u"libmp3lame"_s, path});
}

int UsedStreamLines(const TVideoFileInfo &info)
{
    int used = 0;
    for (const TSTreamInfoStr &entry : info.StreamsStr)
        used += entry.StreamExists ? 1 : 0;
    return used;
}

// The argument names the variable the macro declares: no parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define REQUIRE_SYSTEM_TOOLS(tools)                                                                \
    const SystemTools tools = FindSystemTools();                                                   \
    if (tools.ffmpeg.isEmpty() || tools.mediaInfo.isEmpty())                                       \
    QLN_SKIP_MISSING() << "needs ffmpeg and libmediainfo.so.0"
// NOLINTEND(bugprone-macro-parentheses)

TEST(FFmpegProbe, PassesTheFileNameWholeAndAbsolute)
{
    const CommandLine command = ProbeCommandLine(u"/opt/ffmpeg"_s, u"-x \"$(y)\".mkv"_s);
    EXPECT_EQ(command.program(), u"/opt/ffmpeg"_s);
    EXPECT_EQ(command.arguments(),
        (QStringList{u"-i"_s, QDir::current().absoluteFilePath(u"-x \"$(y)\".mkv"_s)}));
}

// A stand-in FFmpeg: a script that records its arguments and prints a
// captured description, ending with an error as FFmpeg does.
TEST(FFmpegProbe, ParsesWhatTheProgramPrintsAndKeepsItWithoutMediaInfo)
{
    QTemporaryDir dir;
    const QString fixture = TestSupport::FixturePath(u"probe/ffmpeg51-mpeg4-mp3.avi.txt"_s);
    const QString argsFile = dir.filePath(u"args.txt"_s);
    const QString fake = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(fake,
        u"#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\ncat '%2' >&2\nexit 1\n"_s.arg(argsFile, fixture)
            .toUtf8()));
    QFile(fake).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString media = dir.filePath(u"it's a \"film\" $HOME.avi"_s);
    ASSERT_TRUE(TestSupport::WriteFile(media, QByteArray(1000, 'x')));

    TVideoFileInfo info;
    info.Format = u"left over"_s;
    ProbeWithFFmpeg(media, fake, dir.filePath(u"no-library.so"_s), info);

    EXPECT_EQ(TestSupport::ReadFile(argsFile), (u"-i\n"_s + media + u'\n').toUtf8());
    EXPECT_EQ(info.FileName, media);
    EXPECT_EQ(info.FileSize, 1000);
    EXPECT_EQ(info.Format, QString()); // the record was reset
    EXPECT_EQ(info.DurationStr, u"00:00:02.04"_s);
    EXPECT_EQ(info.NumberOfVideoStreams, 1);
    EXPECT_EQ(info.VideoStreams[0].Codec, u"mpeg4 (Simple Profile) (FMP4 / 0x34504D46)"_s);
    EXPECT_EQ(info.VideoStreams[0].Width, 160);
    EXPECT_DOUBLE_EQ(info.VideoStreams[0].FPS, 25);
    EXPECT_EQ(info.VideoStreams[0].Bitrate, 267);
    EXPECT_EQ(info.AudioStreams[0].CodecFF, u"mp3"_s);
    EXPECT_EQ(info.AudioStreams[0].Bitrate, 64);
    EXPECT_EQ(info.MediaInfoFull, QString());
}

TEST(FFmpegProbe, MissingFileOrProgramLeavesNameAndSizeOnly)
{
    QTemporaryDir dir;
    const QString media = dir.filePath(u"clip.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(media, QByteArray(1234, 'x')));

    TVideoFileInfo info;
    info.NumberOfAudioStreams = 3;
    ProbeWithFFmpeg(media, dir.filePath(u"no-ffmpeg"_s), dir.filePath(u"no-library.so"_s), info);
    EXPECT_EQ(info.FileName, media);
    EXPECT_EQ(info.FileSize, 1234);
    EXPECT_EQ(info.NumberOfAudioStreams, 0);

    const QString missing = dir.filePath(u"gone.mkv"_s);
    ProbeWithFFmpeg(missing, u"/bin/true"_s, dir.filePath(u"no-library.so"_s), info);
    EXPECT_EQ(info.FileName, missing);
    EXPECT_EQ(info.FileSize, 0);
}

TEST(FFmpegProbe, ProgramThatCannotStartThrowsAfterNameAndSize)
{
    QTemporaryDir dir;
    const QString media = dir.filePath(u"clip.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(media, QByteArray(10, 'x')));
    const QString notExecutable = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(notExecutable, "not a program"));
    QFile(notExecutable).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    TVideoFileInfo info;
    EXPECT_THROW(ProbeWithFFmpeg(media, notExecutable, QString(), info), ConsoleRunError);
    EXPECT_EQ(info.FileName, media);
    EXPECT_EQ(info.FileSize, 10);
}

// The fake FFmpeg, made to hang or to flood before it answers.
TEST(FFmpegProbe, HangingOrFloodingProgramCannotHoldTheProbe)
{
    QTemporaryDir dir;
    const QString media = dir.filePath(u"clip.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(media, QByteArray(1234, 'x')));
    const QString script = dir.filePath(u"script.txt"_s);
    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(script));
    const QString fake = TestSupport::ToolPath(u"fake_ffmpeg"_s);

    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nq:ignore\nsleep:30000\n"));
    TVideoFileInfo info;
    info.NumberOfAudioStreams = 3;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbeWithFFmpeg(media, fake, QString(), info, nullptr, 300ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(info.FileName, media);
    EXPECT_EQ(info.FileSize, 1234);
    EXPECT_EQ(info.NumberOfAudioStreams, 0);

    // 20 MB on one line, then the description: what comes after the first
    // few megabytes is not kept.
    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nflood:20000000\n"));
    EXPECT_TRUE(ProbeWithFFmpeg(media, fake, QString(), info));
    EXPECT_EQ(info.NumberOfVideoStreams, 0);
    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nflood:200000\n"));
    EXPECT_TRUE(ProbeWithFFmpeg(media, fake, QString(), info));
    EXPECT_EQ(info.NumberOfVideoStreams, 1);
    qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
}

TEST(FFmpegProbeEndToEnd, MatroskaWithTwoAudioStreams)
{
    REQUIRE_SYSTEM_TOOLS(tools);
    RunInFreshProcess([&] {
        QTemporaryDir dir;
        const QString clip = dir.filePath(u"clip.mkv"_s);
        ASSERT_TRUE(MakeMatroska(tools.ffmpeg, clip));
        TVideoFileInfo info;
        ProbeWithFFmpeg(clip, tools.ffmpeg, tools.mediaInfo, info);

        EXPECT_TRUE(info.DurationStr.startsWith(u"00:00:02."_s)) << info.DurationStr.toStdString();
        EXPECT_EQ(info.Seconds, 2u);
        EXPECT_EQ(info.Format, u"Matroska"_s);
        EXPECT_EQ(info.NumberOfVideoStreams, 1);
        EXPECT_EQ(info.NumberOfAudioStreams, 2);
        EXPECT_EQ(info.NumberOfDataStreams, 3);
        EXPECT_EQ(UsedStreamLines(info), 3);
        EXPECT_TRUE(info.MediaInfoFull.contains(u"Matroska"_s));

        const TVideoStreamInfo &video = info.VideoStreams[0];
        EXPECT_TRUE(video.Exists);
        EXPECT_EQ(video.Codec, u"AVC"_s);
        EXPECT_EQ(video.Width, 160);
        EXPECT_EQ(video.Height, 120);
        EXPECT_DOUBLE_EQ(video.FPS, 25);
        EXPECT_EQ(video.StreamIndex, 0);
        EXPECT_TRUE(video.PixelFormat.startsWith(u"yuv420p"_s));
        EXPECT_GT(video.StreamSize, 0);
        EXPECT_LT(video.StreamSize, info.FileSize);

        const TAudioStreamInfo &ac3 = info.AudioStreams[0];
        EXPECT_TRUE(ac3.Exists);
        EXPECT_EQ(ac3.Codec, u"AC-3"_s);
        EXPECT_EQ(ac3.CodecFF, u"ac3"_s);
        EXPECT_EQ(ac3.Channels, 6);
        EXPECT_EQ(ac3.SamplingRate, 48000);
        EXPECT_EQ(ac3.StreamIndex, 1);

        const TAudioStreamInfo &aac = info.AudioStreams[1];
        EXPECT_EQ(aac.CodecFF, u"aac"_s);
        EXPECT_EQ(aac.Channels, 2);
        EXPECT_EQ(aac.SamplingRate, 44100);
        EXPECT_EQ(aac.Language, u"German"_s);
        EXPECT_EQ(aac.StreamIndex, 2);
    });
}

TEST(FFmpegProbeEndToEnd, AviMpegProgramStreamAndAudioOnly)
{
    REQUIRE_SYSTEM_TOOLS(tools);
    RunInFreshProcess([&] {
        QTemporaryDir dir;
        const QString avi = dir.filePath(u"clip.avi"_s);
        const QString mpg = dir.filePath(u"clip.mpg"_s);
        const QString mp3 = dir.filePath(u"clip.mp3"_s);
        ASSERT_TRUE(MakeAvi(tools.ffmpeg, avi));
        ASSERT_TRUE(MakeMpegPs(tools.ffmpeg, mpg));
        ASSERT_TRUE(MakeAudioOnly(tools.ffmpeg, mp3));

        TVideoFileInfo info;
        ProbeWithFFmpeg(avi, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.Format, u"AVI"_s);
        EXPECT_EQ(info.VideoStreams[0].Codec, u"MPEG-4 Visual"_s);
        EXPECT_EQ(info.VideoStreams[0].Width, 160);
        EXPECT_DOUBLE_EQ(info.VideoStreams[0].FPS, 25);
        EXPECT_EQ(info.AudioStreams[0].CodecFF, u"mp3"_s);
        EXPECT_EQ(info.AudioStreams[0].SamplingRate, 44100);
        EXPECT_EQ(info.AudioStreams[0].Channels, 1);
        EXPECT_EQ(info.AudioStreams[0].StreamIndex, 1);

        ProbeWithFFmpeg(mpg, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.Format, u"MPEG-PS"_s);
        EXPECT_TRUE(info.VideoStreams[0].Codec.startsWith(u"MPEG Video"_s))
            << info.VideoStreams[0].Codec.toStdString();
        EXPECT_EQ(info.VideoStreams[0].Height, 120);
        EXPECT_EQ(info.VideoStreams[0].StreamIndex, 0);
        EXPECT_EQ(info.AudioStreams[0].CodecFF, u"mp2"_s);
        EXPECT_EQ(info.AudioStreams[0].SamplingRate, 48000);
        EXPECT_EQ(info.AudioStreams[0].StreamIndex, 1);

        ProbeWithFFmpeg(mp3, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.NumberOfVideoStreams, 0);
        EXPECT_FALSE(info.VideoStreams[0].Exists);
        EXPECT_EQ(info.NumberOfAudioStreams, 1);
        EXPECT_EQ(info.AudioStreams[0].Codec.left(10), u"MPEG Audio"_s);
        EXPECT_EQ(info.AudioStreams[0].CodecFF, u"mp3"_s);
        EXPECT_GT(info.Duration, 1900);
    });
}

TEST(FFmpegProbeEndToEnd, BadInputNeverCrashes)
{
    REQUIRE_SYSTEM_TOOLS(tools);
    RunInFreshProcess([&] {
        QTemporaryDir dir;
        const QString good = dir.filePath(u"good.mkv"_s);
        ASSERT_TRUE(MakeMatroska(tools.ffmpeg, good));
        const QByteArray goodBytes = TestSupport::ReadFile(good);

        const QString empty = dir.filePath(u"empty.mkv"_s);
        const QString text = dir.filePath(u"text.mkv"_s);
        const QString truncated = dir.filePath(u"truncated.mkv"_s);
        ASSERT_TRUE(TestSupport::WriteFile(empty, {}));
        ASSERT_TRUE(TestSupport::WriteFile(text, "This is not a Matroska file.\n"));
        ASSERT_TRUE(TestSupport::WriteFile(truncated, goodBytes.left(3000)));

        TVideoFileInfo info;
        ProbeWithFFmpeg(empty, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.FileSize, 0);
        EXPECT_EQ(UsedStreamLines(info), 0);
        EXPECT_EQ(info.MediaInfoFull, QString()); // MediaInfo skips empty files

        ProbeWithFFmpeg(text, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.FileSize, 29);
        EXPECT_EQ(UsedStreamLines(info), 0);
        EXPECT_EQ(info.NumberOfVideoStreams, 0);

        ProbeWithFFmpeg(truncated, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.FileSize, 3000);
        EXPECT_LE(info.NumberOfVideoStreams, 1);

        // Names that a shell or an option parser would take apart reach
        // FFmpeg whole.
        const QStringList names = {u"with blanks  and  more.mkv"_s, u"quote\"d 'single'.mkv"_s,
            u"$HOME $(id) `id`;.mkv"_s, u"ünïcødé 日本語 Ελληνικά.mkv"_s, u"-leading-dash.mkv"_s,
            u"pipe:1.mkv"_s};
        for (const QString &name : names) {
            SCOPED_TRACE(name.toStdString());
            const QString path = dir.filePath(name);
            ASSERT_TRUE(QFile::copy(good, path));
            ProbeWithFFmpeg(path, tools.ffmpeg, tools.mediaInfo, info);
            EXPECT_EQ(info.FileName, path);
            EXPECT_EQ(info.NumberOfVideoStreams, 1);
            EXPECT_EQ(UsedStreamLines(info), 3);
            EXPECT_EQ(info.AudioStreams[1].SamplingRate, 44100);
        }

        // 600 characters: the record keeps 511 of them, the analysis reads
        // the whole path.
        QString longPath = dir.path();
        while (longPath.size() < 560)
            longPath += u"/folder_with_a_long_name_"_s + QString::number(longPath.size());
        ASSERT_TRUE(QDir().mkpath(longPath));
        longPath += u'/' + QString(600 - longPath.size() - 5, u'n') + u".mkv"_s;
        ASSERT_EQ(longPath.size(), 600);
        ASSERT_TRUE(QFile::copy(good, longPath));
        ProbeWithFFmpeg(longPath, tools.ffmpeg, tools.mediaInfo, info);
        EXPECT_EQ(info.FileName, longPath.left(511));
        EXPECT_EQ(info.FileSize, goodBytes.size());
        EXPECT_EQ(info.NumberOfAudioStreams, 2);
        EXPECT_EQ(info.Format, u"Matroska"_s);
    });
}

} // namespace
