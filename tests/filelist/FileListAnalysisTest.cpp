#include "filelist/FileListAnalysis.h"

#include "analysis/MediaInfoTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MediaInfoTest;
using namespace Qt::StringLiterals;

// The fake MediaInfo answers from the media file itself; the fake FFmpeg
// describes every file as 160x120 at 25 fps and logs each call.
TEST(FileListAnalysis, ModesAndWhenFFmpegIsAsked)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        const QStringList video{u"0;0;StreamCount=1"_s, u"1;0;StreamCount=1"_s, u"1;0;Format=AVC"_s,
            u"1;0;Width=640"_s, u"1;0;Height=480"_s, u"1;0;BitRate=2000000"_s};
        const QString noRate = WriteFakeMedia(dir.filePath(u"no-rate.mkv"_s), video);
        const QString withRate = WriteFakeMedia(
            dir.filePath(u"rate.mkv"_s), video + QStringList{u"1;0;FrameRate=30.000"_s});
        const QString log = dir.filePath(u"ffmpeg.log"_s);
        qputenv("QLN_FAKE_FFMPEG_LOG", QFile::encodeName(log));
        const QString mediaInfo = FakeLibrary();
        const QString ffmpeg = TestSupport::ToolPath(u"fake_ffmpeg"_s);
        const auto calls = [&] { return TestSupport::ReadFile(log).count('\n'); };

        EXPECT_EQ(AnalyseFileForList(noRate, faNone, mediaInfo, ffmpeg).NumberOfVideoStreams, 0);

        TVideoFileInfo quick = AnalyseFileForList(noRate, faQuick, mediaInfo, ffmpeg);
        EXPECT_EQ(quick.VideoStreams[0].Width, 640);
        EXPECT_EQ(quick.VideoStreams[0].FPS, 0);
        EXPECT_EQ(calls(), 0);

        TVideoFileInfo full = AnalyseFileForList(noRate, faFull, mediaInfo, ffmpeg);
        EXPECT_EQ(full.VideoStreams[0].FPS, 25); // FFmpeg's
        EXPECT_EQ(full.VideoStreams[0].Width, 640); // MediaInfo's wins
        EXPECT_EQ(calls(), 1);

        full = AnalyseFileForList(withRate, faFull, mediaInfo, ffmpeg);
        EXPECT_EQ(full.VideoStreams[0].FPS, 30);
        EXPECT_EQ(calls(), 1);

        // Without a usable FFmpeg, MediaInfo's facts stay.
        const QString notAProgram = dir.filePath(u"ffmpeg"_s);
        EXPECT_TRUE(TestSupport::WriteFile(notAProgram, "text"));
        QFile(notAProgram).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        for (const QString &unusable : {QString(), dir.filePath(u"none"_s), notAProgram}) {
            full = AnalyseFileForList(noRate, faFull, mediaInfo, unusable);
            EXPECT_EQ(full.VideoStreams[0].Width, 640) << unusable.toStdString();
        }
        qunsetenv("QLN_FAKE_FFMPEG_LOG");
    });
}
