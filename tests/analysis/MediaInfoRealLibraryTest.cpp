#include "analysis/MediaInfoAnalysis.h"

#include "analysis/MediaInfoTestSupport.h"
#include "app/TextHelpers.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MediaInfoTest;
using namespace Qt::Literals::StringLiterals;

namespace {

// 160x120 H.264 at 25 frames/s, AC-3 5.1 in English, AAC stereo in French,
// one second each.
bool MakeClip(const QString &path)
{
    return TestSupport::RunFFmpeg(TestSupport::SystemFFmpeg(),
        {u"-f"_s, u"lavfi"_s, u"-i"_s, u"testsrc=size=160x120:rate=25:duration=1"_s, u"-f"_s,
            u"lavfi"_s, u"-i"_s, u"sine=frequency=440:sample_rate=48000:duration=1"_s, u"-f"_s,
            u"lavfi"_s, u"-i"_s, u"sine=frequency=660:sample_rate=44100:duration=1"_s,
            u"-filter_complex"_s,
            u"[1:a]aformat=channel_layouts=5.1[a1];[2:a]aformat=channel_layouts=stereo[a2]"_s,
            u"-map"_s, u"0:v"_s, u"-map"_s, u"[a1]"_s, u"-map"_s, u"[a2]"_s, u"-c:v"_s,
            u"libx264"_s, u"-preset"_s, u"ultrafast"_s, u"-c:a:0"_s, u"ac3"_s, u"-b:a:0"_s,
            u"192k"_s, u"-c:a:1"_s, u"aac"_s, u"-metadata:s:a:0"_s, u"language=eng"_s,
            u"-metadata:s:a:1"_s, u"language=fre"_s, path});
}

} // namespace

TEST(MediaInfoRealLibrary, AnalysesAGeneratedMatroskaFile)
{
    // The system installation: no program folder, the loader's folders.
    const QString &library = TestSupport::SystemMediaInfo();
    if (TestSupport::SystemFFmpeg().isEmpty() || library.isEmpty())
        QLN_SKIP_MISSING() << "needs ffmpeg and libmediainfo.so.0";

    RunInFreshProcess([&] {
        QTemporaryDir dir;
        // The library turns the wide name into bytes itself: a non-ASCII name
        // must survive that even under the "C" locale the tests run in.
        const QString clip = dir.filePath(u"clip é 日本 $1.mkv"_s);
        ASSERT_TRUE(MakeClip(clip));

        TVideoFileInfo info;
        ReadMediaInfo(clip, library, info);

        EXPECT_EQ(info.Format, u"Matroska"_s);
        EXPECT_GT(info.OverallBitrate, 0);
        EXPECT_EQ(info.NumberOfVideoStreams, 1);
        EXPECT_EQ(info.NumberOfAudioStreams, 2);
        EXPECT_EQ(info.NumberOfDataStreams, 3);

        const TVideoStreamInfo &v = info.VideoStreams[0];
        EXPECT_EQ(v.Codec, u"AVC"_s);
        EXPECT_EQ(v.CodecID, u"V_MPEG4/ISO/AVC"_s);
        EXPECT_EQ(v.Width, 160);
        EXPECT_EQ(v.Height, 120);
        EXPECT_DOUBLE_EQ(v.FPS, 25.0);
        EXPECT_EQ(v.DARStr, u"4:3"_s);

        const TAudioStreamInfo &ac3 = info.AudioStreams[0];
        EXPECT_EQ(ac3.Codec, u"AC-3"_s);
        EXPECT_EQ(ac3.Channels, 6);
        EXPECT_EQ(ac3.SamplingRate, 48000);
        EXPECT_EQ(ac3.Bitrate, 192);
        EXPECT_EQ(ac3.Language, u"English"_s);

        const TAudioStreamInfo &aac = info.AudioStreams[1];
        EXPECT_TRUE(aac.Codec.startsWith(u"AAC"_s)) << aac.Codec.toStdString();
        EXPECT_EQ(aac.Channels, 2);
        EXPECT_EQ(aac.SamplingRate, 44100);
        EXPECT_EQ(aac.Language, u"French"_s);

        // The first audio stream's duration, about one second.
        EXPECT_GE(info.Duration, 950);
        EXPECT_LE(info.Duration, 1100);
        EXPECT_EQ(info.Duration, ac3.DurationMs);
        EXPECT_EQ(info.DurationStr, MsToTimeStr(ac3.DurationMs));

        // The normal report, not the complete one.
        EXPECT_TRUE(info.MediaInfoFull.contains(u"Matroska"_s));
        EXPECT_FALSE(info.MediaInfoFull.contains(u"Count of stream of this kind"_s));
    });
}

TEST(MediaInfoRealLibrary, AFileWithoutAudioHasTheContainersDuration)
{
    const QString &ffmpeg = TestSupport::SystemFFmpeg();
    const QString &library = TestSupport::SystemMediaInfo();
    if (ffmpeg.isEmpty() || library.isEmpty())
        QLN_SKIP_MISSING() << "needs ffmpeg and libmediainfo.so.0";

    RunInFreshProcess([&] {
        QTemporaryDir dir;
        const QString clip = dir.filePath(u"silent.mp4"_s);
        ASSERT_TRUE(TestSupport::RunFFmpeg(ffmpeg,
            {u"-f"_s, u"lavfi"_s, u"-i"_s, u"testsrc=size=160x120:rate=25:duration=2"_s, u"-c:v"_s,
                u"libx264"_s, u"-preset"_s, u"ultrafast"_s, clip}));

        TVideoFileInfo info;
        ReadMediaInfo(clip, library, info);
        EXPECT_EQ(info.NumberOfAudioStreams, 0);
        EXPECT_GE(info.Duration, 1950);
        EXPECT_LE(info.Duration, 2100);
        EXPECT_EQ(info.DurationStr, MsToTimeStr(int32_t(info.Duration)));
    });
}
