#include "CommandTestSupport.h"

#include "encoding/EncoderSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using CommandTest::Inputs;

namespace {

const char EncoderListSample[] = "Encoders:\n"
                                 " V..... = Video\n"
                                 " A..... = Audio\n"
                                 " ------\n"
                                 " V....D libx264              libx264 H.264 (codec h264)\n"
                                 " VFS... mjpeg                MJPEG (Motion JPEG)\n"
                                 " A..... aac                  AAC (Advanced Audio Coding)\n"
                                 " A....D ac3                  ATSC A/52A (AC-3)\n"
                                 "\n";

TEST(Encoders, ParseTheEncoderList)
{
    EXPECT_EQ(ParseEncoderList(QLatin1String(EncoderListSample)).names(),
        (QStringList{u"aac"_s, u"ac3"_s, u"libx264"_s, u"mjpeg"_s}));
    // The legend before the rule is not a list of encoders.
    EXPECT_TRUE(ParseEncoderList(u"Encoders:\n V..... = Video\n"_s).isEmpty());
    EXPECT_TRUE(ParseEncoderList(u"Unrecognized option 'encoders'."_s).isEmpty());
}

TEST(Encoders, StandInForLibfdkAac)
{
    const EncoderSet withAac({u"aac"_s});
    const EncoderSet withFdk({u"aac"_s, u"libfdk_aac"_s});
    const EncoderSet withoutAny({u"ac3"_s});
    EXPECT_EQ(EncoderWithStandIn(u"libfdk_aac"_s, &withAac), u"aac"_s);
    EXPECT_EQ(EncoderWithStandIn(u"libfdk_aac"_s, &withFdk), u"libfdk_aac"_s);
    EXPECT_EQ(EncoderWithStandIn(u"libfdk_aac"_s, &withoutAny), u"libfdk_aac"_s);
    EXPECT_EQ(EncoderWithStandIn(u"libfdk_aac"_s, nullptr), u"libfdk_aac"_s);
    EXPECT_EQ(EncoderWithStandIn(u"libxvid"_s, &withAac), u"libxvid"_s);
}

TEST(Encoders, MissingEncodersOfTheSettings)
{
    const EncoderSet build({u"libx264"_s, u"mpeg2video"_s, u"aac"_s, u"ac3"_s, u"mp2"_s,
        u"libmp3lame"_s, u"pcm_s16le"_s});
    struct Case
    {
        const char *name;
        void (*prepare)(EncodingSettings &);
        QStringList missing;
    };
    const Case cases[] = {
        {"Xvid and automatic audio", [](EncodingSettings &) {}, {u"libxvid"_s}},
        {"H.264 with AAC: the stand-in serves",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::H264;
                s.cbAudioCodec = AudioCodec::Aac;
            },
            {}},
        {"copies need nothing",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::Copy;
                s.cbAudioCodec = AudioCodec::Copy;
            },
            {}},
        {"dropped streams need nothing",
            [](EncodingSettings &s) {
                s.chAviVideoDontCopy = true;
                s.chAudioDontCopy = true;
            },
            {}},
        {"WMA 2 and HuffYUV",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::HuffYUV;
                s.cbAudioCodec = AudioCodec::Wma2;
            },
            {u"huffyuv"_s, u"wmav2"_s}},
        {"MPEG-1 custom",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbAudioCodec = AudioCodec::Mp2;
            },
            {u"mpeg1video"_s}},
        {"DVD preset",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbMpgVideo = MpgVideo::NtscDvd;
                s.cbAudioCodec = AudioCodec::Wma1; // the target chooses AC-3
            },
            {}},
    };
    for (const Case &c : cases) {
        Inputs t;
        c.prepare(t.settings);
        EXPECT_EQ(MissingEncoders(t.settings, build), c.missing) << c.name;
    }
    EXPECT_EQ(MissingEncodersMessage({}, u"/usr/bin/ffmpeg"_s), QString());
    const QString message = MissingEncodersMessage({u"libxvid"_s}, u"/usr/bin/ffmpeg"_s);
    EXPECT_TRUE(message.contains(u"\"/usr/bin/ffmpeg\""_s));
    EXPECT_TRUE(message.contains(u"\"libxvid\""_s));
}

// A stand-in FFmpeg that counts how often it is asked.
QString WriteCountingProgram(const QTemporaryDir &dir, const QString &extraLine = {})
{
    QString program = dir.filePath(u"ffmpeg"_s);
    const QString script
        = u"#!/bin/sh\necho run >> '%1'\nprintf '%2'\n%3\n"_s.arg(dir.filePath(u"count"_s),
            QString::fromLatin1(EncoderListSample).replace(u"\n"_s, u"\\n"_s), extraLine);
    EXPECT_TRUE(TestSupport::WriteFile(program, script.toUtf8()));
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    return program;
}

TEST(Encoders, QueryIsCachedPerProgram)
{
    ClearEncoderCache();
    QTemporaryDir dir;
    const QString program = WriteCountingProgram(dir);
    const std::optional<EncoderSet> first = QueryEncoders(program);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->has(u"libx264"_s));
    EXPECT_TRUE(QueryEncoders(program));
    EXPECT_EQ(TestSupport::ReadFile(dir.filePath(u"count"_s)), "run\n");
    // A different program at the same path is asked again.
    WriteCountingProgram(dir, u"echo changed > /dev/null"_s);
    EXPECT_TRUE(QueryEncoders(program));
    EXPECT_EQ(TestSupport::ReadFile(dir.filePath(u"count"_s)), "run\nrun\n");
    EXPECT_FALSE(QueryEncoders(dir.filePath(u"missing"_s)));
    EXPECT_FALSE(QueryEncoders(QString()));
}

// Another process would find only what the user's cache folder holds:
// points that folder elsewhere and forgets the answers held in memory.
class CacheFolder
{
public:
    explicit CacheFolder(const QString &folder)
        : m_before(qgetenv("XDG_CACHE_HOME"))
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder));
        ClearEncoderCache();
    }
    ~CacheFolder()
    {
        qputenv("XDG_CACHE_HOME", m_before);
        ClearEncoderCache();
    }
    static void newProcess() { ClearEncoderCache(); }

private:
    QByteArray m_before;
};

TEST(Encoders, QueryIsRememberedOnDiskPerProgramBuild)
{
    QTemporaryDir dir;
    const QString count = dir.filePath(u"count"_s);
    const QString cache = dir.filePath(u"cache/quillon"_s);
    CacheFolder folder(dir.filePath(u"cache"_s));
    const QString program = WriteCountingProgram(dir);
    ASSERT_TRUE(QueryEncoders(program));
    CacheFolder::newProcess();
    const std::optional<EncoderSet> cached = QueryEncoders(program);
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->names(), (QStringList{u"aac"_s, u"ac3"_s, u"libx264"_s, u"mjpeg"_s}));
    EXPECT_EQ(TestSupport::ReadFile(count), "run\n");
    const QStringList files = QDir(cache).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1) << files.join(u' ').toStdString(); // no temporary file left

    // Another build at the same path is asked again.
    WriteCountingProgram(dir, u"echo changed > /dev/null"_s);
    CacheFolder::newProcess();
    EXPECT_TRUE(QueryEncoders(program));
    EXPECT_EQ(TestSupport::ReadFile(count), "run\nrun\n");

    // A damaged file is not believed, and is replaced.
    const QString file = cache + u'/' + files.first();
    const QByteArray good = TestSupport::ReadFile(file);
    for (const QByteArray &bad : {good.left(good.size() - 5), good + "two words\n", QByteArray()}) {
        ASSERT_TRUE(TestSupport::WriteFile(file, bad));
        CacheFolder::newProcess();
        EXPECT_EQ(QueryEncoders(program)->names(), cached->names());
    }
    EXPECT_EQ(TestSupport::ReadFile(count), "run\nrun\nrun\nrun\nrun\n");
    EXPECT_EQ(TestSupport::ReadFile(file), good);

    // A cache folder that cannot be made (below a regular file, which stops
    // root too) only costs asking again.
    CacheFolder unusable(count + u"/cache"_s);
    EXPECT_EQ(QueryEncoders(program)->names(), cached->names());
    EXPECT_EQ(TestSupport::ReadFile(count).count('\n'), 6);
}

TEST(Encoders, HangingOrStoppedQueryGivesNoAnswerAndIsAskedAgain)
{
    ClearEncoderCache();
    QTemporaryDir dir;
    // Prints the list, then does not end.
    const QString program = WriteCountingProgram(dir, u"exec sleep 30"_s);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(QueryEncoders(program, nullptr, 300ms));
    // An abort stops it at once.
    ConsoleRunner runner;
    std::thread stopper([&] {
        std::this_thread::sleep_for(300ms);
        runner.requestStop(0);
    });
    EXPECT_FALSE(QueryEncoders(program, &runner));
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(TestSupport::ReadFile(dir.filePath(u"count"_s)), "run\nrun\n");
}

TEST(Encoders, RealFFmpegLacksLibfdkAac)
{
    const QString ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    if (ffmpeg.isEmpty())
        QLN_SKIP_MISSING() << "no ffmpeg";
    const std::optional<EncoderSet> encoders = QueryEncoders(ffmpeg);
    ASSERT_TRUE(encoders);
    for (const QString &name : {u"libxvid"_s, u"libx264"_s, u"mpeg2video"_s, u"libmp3lame"_s,
             u"ac3"_s, u"wmav2"_s, u"pcm_s16le"_s, u"aac"_s})
        EXPECT_TRUE(encoders->has(name)) << name;
    EXPECT_EQ(EncoderWithStandIn(u"libfdk_aac"_s, &*encoders),
        encoders->has(u"libfdk_aac"_s) ? u"libfdk_aac"_s : u"aac"_s);
}

} // namespace
