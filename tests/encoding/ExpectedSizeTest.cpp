#include "CommandTestSupport.h"

#include "encoding/ExpectedSize.h"
#include "encoding/OutputSpace.h"
#include "filelist/FileListRow.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

// Ten seconds of 640x360 at 25 frames/s, 1000 kbit/s of video in 1 250 000
// bytes, stereo 48 kHz audio of 160 kbit/s in 200 000 bytes: the cells the
// list keeps.
FileAnalysisCells tenSeconds()
{
    FileAnalysisCells c;
    c.duration = 10000;
    c.videoCodec = u"AVC"_s;
    c.videoWidth = 640;
    c.videoHeight = 360;
    c.videoFPS = 25;
    c.videoBitrate = 1000;
    c.videoBpp = 0.174;
    c.videoStreamSize = 1250000;
    c.audioCodec = u"AAC"_s;
    c.audioChannels = 2;
    c.audioSampling = 48000;
    c.audioBitrate = 160;
    c.audioStreamSize = 200000;
    return c;
}

// AVI adds 12 KiB of headers and 24 bytes per chunk: 25 video frames and
// 40 audio packets a second.
constexpr int64_t AviOverhead = 12288 + 24 * (250 + 400);

TEST(ExpectedSize, BitratesAsTheCommandWritesThemTimesTheDurationPlusTheContainer)
{
    const struct
    {
        const char *what;
        void (*set)(EncodingSettings &);
        std::optional<int64_t> bytes;
    } cases[] = {
        {"typed video and audio bitrates",
            [](EncodingSettings &s) {
                s.cbAviVideoBitrate = u"800"_s;
                s.cbAudioCodec = AudioCodec::Mp3;
                s.cbAudioBitrate = u"128"_s;
            },
            1000000 + 160000 + AviOverhead},
        // Auto keeps a source within 0.3 bits per pixel; MP3 snaps 160.
        {"automatic bitrates", [](EncodingSettings &) {}, 1250000 + 200000 + AviOverhead},
        {"both streams copied",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::Copy;
                s.cbAudioCodec = AudioCodec::Copy;
            },
            1250000 + 200000 + AviOverhead},
        {"no video",
            [](EncodingSettings &s) {
                s.chAviVideoDontCopy = true;
                s.cbAudioBitrate = u"128"_s;
            },
            160000 + 12288 + 24 * 400},
        {"PCM audio",
            [](EncodingSettings &s) {
                s.cbAviVideoBitrate = u"800"_s;
                s.cbAudioCodec = AudioCodec::Pcm;
            },
            1000000 + 48000 * 2 * 2 * 10 + AviOverhead},
        // MPEG program streams: 2.5 % of pack and packet headers.
        {"MPEG-2 with its automatic MP2 audio",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbMpgVideo = MpgVideo::Custom;
                s.cbMpegVersion = MpegVersion::Mpeg2;
                s.cbMpgVideoBitrate = u"3000"_s;
            },
            int64_t(3750000 + 200000) * 1025 / 1000},
        {"lossless video has no bitrate to go by",
            [](EncodingSettings &s) { s.cbAviVideoCodec = AviCodec::HuffYUV; }, std::nullopt},
        // Its fixed quantizer ("-q:v 9") makes the bitrate after it idle.
        {"two-pass Xvid",
            [](EncodingSettings &s) {
                s.chAviVideo2Pass = true;
                s.cbAviVideoBitrate = u"1500"_s;
            },
            std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Inputs t;
        c.set(t.settings);
        t.info = InfoFromAnalysisCells(tenSeconds());
        EXPECT_EQ(ExpectedOutputBytes(t.context()), c.bytes);
        EXPECT_TRUE(t.sink.warnings.isEmpty());
    }
}

TEST(ExpectedSize, NothingToGoByGivesNoSize)
{
    Inputs t;
    FileAnalysisCells unknown = tenSeconds();
    unknown.duration = 0;
    t.info = InfoFromAnalysisCells(unknown);
    EXPECT_EQ(ExpectedOutputBytes(t.context()), std::nullopt);

    // A typed value that is no bitrate fails its piece, and the size.
    t.info = InfoFromAnalysisCells(tenSeconds());
    t.settings.cbAviVideoBitrate = u"fast"_s;
    EXPECT_EQ(ExpectedOutputBytes(t.context()), std::nullopt);
}

} // namespace

namespace {

// Outputs on two file systems, the first too small for its share; a folder
// a kept tree has still to make counts on its existing parent's; an output
// folder not set counts nowhere.
TEST(OutputSpace, EachFileSystemMustHoldItsOwnOutputs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"small"_s) && QDir(dir.path()).mkpath(u"large"_s));
    QStringList looked;
    const VolumeOf volumeOf = [&](const QString &folder) {
        looked << folder;
        return folder.endsWith(u"small"_s) ? OutputVolume{u"/mnt/small"_s, 100}
                                           : OutputVolume{u"/mnt/large"_s, 1000};
    };
    const std::vector<VolumeNeed> needs
        = OutputSpaceNeeds({{dir.filePath(u"small"_s), 60}, {dir.filePath(u"small"_s), 30},
                               {dir.filePath(u"large/Season1"_s), 900}, {QString(), 5000},
                               {dir.filePath(u"small"_s), 20}},
            volumeOf);

    ASSERT_EQ(needs.size(), 2u);
    // Free space that cannot be told (a chroot, a network share) warns of
    // nothing.
    EXPECT_TRUE((VolumeNeed{{u"/mnt/unknown"_s, -1}, 1}).fits());
    EXPECT_EQ(needs[0].volume.root, u"/mnt/small"_s);
    EXPECT_EQ(needs[0].needed, 110);
    EXPECT_FALSE(needs[0].fits());
    EXPECT_EQ(needs[1].needed, 900);
    EXPECT_TRUE(needs[1].fits());
    // One look per run of outputs in one folder.
    EXPECT_EQ(looked,
        QStringList(
            {dir.filePath(u"small"_s), dir.filePath(u"large"_s), dir.filePath(u"small"_s)}));
}

} // namespace
