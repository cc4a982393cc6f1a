#include "CommandTestSupport.h"

#include "encoding/AudioParams.h"
#include "encoding/EncoderSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using CommandTest::Inputs;

namespace {

struct AudioCase
{
    const char *name;
    void (*prepare)(Inputs &);
    QString codec;
    QString params;
    int warnings = 0;
};

void ac3Source(Inputs &t)
{
    t.video(1920, 1080, 25, 0.1, 5000);
    t.audio(6, 48000, 448);
}

void mpgCustom(Inputs &t)
{
    t.settings.pcVideoFormat = EncodingSettings::tsMpg;
}

TEST(AudioPieces, Cases)
{
    const AudioCase cases[] = {
        {"auto codec, 5.1 AC-3 source", ac3Source, u"-c:a ac3"_s, u"-b:a 448k -async 1"_s},
        {"MP3 of a 5.1 source: capped, downmixed",
            [](Inputs &t) {
                ac3Source(t);
                t.settings.cbAudioCodec = AudioCodec::Mp3;
            },
            u"-c:a libmp3lame"_s, u"-b:a 320k -ac 2 -async 1"_s},
        {"auto codec, stereo of unknown bitrate", [](Inputs &t) { t.audio(2, 48000, 0); },
            u"-c:a libmp3lame"_s, u"-b:a 96k -async 1"_s},
        {"auto codec, six channels chosen",
            [](Inputs &t) {
                t.audio(2, 44100, 128);
                t.settings.cbAudioChannels = 3;
            },
            u"-c:a ac3"_s, u"-b:a 128k -ac 6 -async 1"_s},
        {"MPG custom, auto codec: MP2 capped",
            [](Inputs &t) {
                ac3Source(t);
                mpgCustom(t);
            },
            u"-c:a mp2"_s, u"-b:a 384k -ac 2 -async 1"_s},
        {"MPG custom, audio dropped",
            [](Inputs &t) {
                mpgCustom(t);
                t.settings.chAudioDontCopy = true;
            },
            u"-an"_s, QString()},
        {"MPG custom, AC-3 chosen: MP2 column all the same",
            [](Inputs &t) {
                ac3Source(t);
                mpgCustom(t);
                t.settings.cbAudioCodec = AudioCodec::Ac3;
            },
            u"-c:a ac3"_s, u"-b:a 384k -ac 2 -async 1"_s},
        {"MPG DVD preset: no codec, parameters still written",
            [](Inputs &t) {
                t.audio(2, 48000, 192);
                mpgCustom(t);
                t.settings.cbMpgVideo = MpgVideo::PalDvd;
            },
            QString(), u"-b:a 192k -ac 2 -async 1"_s},
        {"PCM with a typed bitrate: no bitrate",
            [](Inputs &t) {
                t.audio(2, 48000, 1536);
                t.settings.cbAudioCodec = AudioCodec::Pcm;
                t.settings.cbAudioBitrate = u"junk"_s;
                t.settings.cbAudioSampling = u"44100"_s;
                t.settings.cbAudioChannels = 1;
            },
            u"-c:a pcm_s16le"_s, u"-ar 44100 -ac 1 -async 1"_s},
        {"COPY with a sampling rate: no -ar",
            [](Inputs &t) {
                t.audio(2, 48000, 192);
                t.settings.cbAudioCodec = AudioCodec::Copy;
                t.settings.cbAudioSampling = u"44100"_s;
            },
            u"-c:a copy"_s, u"-async 1"_s},
        {"COPY with a volume: a copied stream cannot be filtered",
            [](Inputs &t) {
                t.audio(2, 48000, 192);
                t.settings.cbAudioCodec = AudioCodec::Copy;
                t.settings.tbAudioVolume = 150;
            },
            u"-c:a copy"_s, u"-async 1"_s},
        {"volume 150", [](Inputs &t) { t.settings.tbAudioVolume = 150; }, u"-c:a libmp3lame"_s,
            u"-b:a 96k -af volume=1.50 -async 1"_s},
        {"volume 5", [](Inputs &t) { t.settings.tbAudioVolume = 5; }, u"-c:a libmp3lame"_s,
            u"-b:a 96k -af volume=0.05 -async 1"_s},
        {"audio dropped",
            [](Inputs &t) {
                ac3Source(t);
                t.settings.chAudioDontCopy = true;
                t.settings.cbAudioBitrate = u"junk"_s;
            },
            u"-an"_s, QString()},
        {"typed bitrate", [](Inputs &t) { t.settings.cbAudioBitrate = u" 160 "_s; },
            u"-c:a libmp3lame"_s, u"-b:a 160k -async 1"_s},
        {"invalid bitrate", [](Inputs &t) { t.settings.cbAudioBitrate = u"1x"_s; },
            u"-c:a libmp3lame"_s, u"ERROR"_s, 1},
        {"negative bitrate", [](Inputs &t) { t.settings.cbAudioBitrate = u"-128"_s; },
            u"-c:a libmp3lame"_s, u"ERROR"_s, 1},
        {"zero bitrate", [](Inputs &t) { t.settings.cbAudioBitrate = u" 0 "_s; },
            u"-c:a libmp3lame"_s, u"ERROR"_s, 1},
        {"invalid sampling", [](Inputs &t) { t.settings.cbAudioSampling = u"44.1k"_s; },
            u"-c:a libmp3lame"_s, u"ERROR"_s, 1},
        {"negative sampling", [](Inputs &t) { t.settings.cbAudioSampling = u"-44100"_s; },
            u"-c:a libmp3lame"_s, u"ERROR"_s, 1},
        {"invalid sampling with COPY is still reported",
            [](Inputs &t) {
                t.settings.cbAudioCodec = AudioCodec::Copy;
                t.settings.cbAudioSampling = u"x"_s;
            },
            u"-c:a copy"_s, u"ERROR"_s, 1},
        {"WMA2 gets the bitrate of its column",
            [](Inputs &t) {
                t.audio(2, 48000, 700);
                t.settings.cbAudioCodec = AudioCodec::Wma2;
            },
            u"-c:a wmav2"_s, u"-b:a 640k -async 1"_s},
        {"WMA2 typed bitrate",
            [](Inputs &t) {
                t.settings.cbAudioCodec = AudioCodec::Wma2;
                t.settings.cbAudioBitrate = u"128"_s;
            },
            u"-c:a wmav2"_s, u"-b:a 128k -async 1"_s},
        {"typed sampling rate sets the bitrate limit",
            [](Inputs &t) {
                t.audio(2, 48000, 448);
                t.settings.cbAudioCodec = AudioCodec::Mp2;
                t.settings.cbAudioSampling = u"22050"_s;
            },
            u"-c:a mp2"_s, u"-b:a 160k -ar 22050 -async 1"_s},
        {"channel check follows the chosen track",
            [](Inputs &t) {
                t.audio(2, 48000, 192);
                t.audio(6, 48000, 448);
                t.settings.cbAudioCodec = AudioCodec::Wma1;
                t.settings.cbAudioTrackNo = 2;
            },
            u"-c:a wmav1"_s, u"-b:a 192k -ac 2 -async 1"_s},
        {"a track the file lacks: the first one",
            [](Inputs &t) {
                t.audio(2, 48000, 192);
                t.settings.cbAudioCodec = AudioCodec::Mp2;
                t.settings.cbAudioTrackNo = 5;
            },
            u"-c:a mp2"_s, u"-b:a 192k -async 1"_s},
        {"AC-3 keeps six channels",
            [](Inputs &t) {
                ac3Source(t);
                t.settings.cbAudioCodec = AudioCodec::Ac3;
            },
            u"-c:a ac3"_s, u"-b:a 448k -async 1"_s},
        {"no selection reads as MP3",
            [](Inputs &t) {
                ac3Source(t);
                t.settings.cbAudioCodec = -1;
            },
            u"-c:a libmp3lame"_s, u"-b:a 320k -ac 2 -async 1"_s},
        {"AAC without encoder information stays libfdk_aac",
            [](Inputs &t) { t.settings.cbAudioCodec = AudioCodec::Aac; }, u"-c:a libfdk_aac"_s,
            u"-b:a 96k -async 1"_s},
    };
    for (const AudioCase &c : cases) {
        Inputs t;
        c.prepare(t);
        const PieceContext ctx = t.context();
        EXPECT_EQ(GetAudioCodecStr(ctx), c.codec) << c.name;
        EXPECT_EQ(CommandTest::PieceText(GetAudioParamsStr(ctx)), c.params) << c.name;
        EXPECT_EQ(t.sink.warnings.size(), c.warnings) << c.name;
    }
}

TEST(AudioPieces, Messages)
{
    Inputs t;
    t.settings.cbAudioBitrate = u"fast"_s;
    t.settings.cbAudioSampling = u"slow"_s;
    EXPECT_EQ(CommandTest::PieceText(GetAudioParamsStr(t.context())), u"ERROR"_s);
    // The bitrate is checked first; the piece stops there.
    EXPECT_EQ(t.sink.warnings,
        QStringList{u"Audio bitrate: fast\r\nBitrate must be an integer value!"_s});
    t.settings.cbAudioBitrate = u"Auto"_s;
    t.sink.warnings.clear();
    EXPECT_EQ(CommandTest::PieceText(GetAudioParamsStr(t.context())), u"ERROR"_s);
    EXPECT_EQ(t.sink.warnings,
        QStringList{u"Audio sampling frequency: slow\r\nFrequency must be an integer value!"_s});
}

TEST(AudioPieces, AacStandInWhenTheBuildLacksLibfdk)
{
    Inputs t;
    t.settings.cbAudioCodec = AudioCodec::Aac;
    t.audio(2, 48000, 300);
    const EncoderSet distribution({u"aac"_s, u"ac3"_s, u"libmp3lame"_s});
    const EncoderSet withFdk({u"aac"_s, u"libfdk_aac"_s});
    PieceContext ctx = t.context();
    ctx.encoders = &distribution;
    EXPECT_EQ(GetAudioCodecStr(ctx), u"-c:a aac"_s);
    // The bitrate still comes from the libfdk_aac column.
    EXPECT_EQ(CommandTest::PieceText(GetAudioParamsStr(ctx)), u"-b:a 256k -async 1"_s);
    ctx.encoders = &withFdk;
    EXPECT_EQ(GetAudioCodecStr(ctx), u"-c:a libfdk_aac"_s);
}

TEST(MaxAudioBitrate, TableCells)
{
    struct Case
    {
        QString codec;
        int rate, expected;
    };
    const Case cases[] = {
        {u"libmp3lame"_s, 16000, 160},
        {u"LIBMP3LAME"_s, 48000, 320},
        {u"mp2"_s, 44100, 384},
        {u"ac3"_s, 32000, 640},
        {u"libfdk_aac"_s, 16000, 96},
        {u"libfdk_aac"_s, 32000, 192},
        {u"wmav2"_s, 48000, 640},
        {u"auto"_s, 48000, 1234},
        {u"pcm_s16le"_s, 48000, 1234},
        {u"mp2"_s, 96000, 1234},
        {u"aac"_s, 48000, 1234},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MaxAudioBitrate(c.codec, c.rate, 1234), c.expected) << c.codec << " " << c.rate;
}

// The automatic bitrate table as published (minimum-maximum, kbit/s), copied
// as text so that a cell changed in the code cannot change the expectation.
const char PublishedBitrateTable[] = R"(
| Sampling frequency | "libmp3lame" (MP3) | "mp2" (MP2) | "ac3" (AC3) | "libfdk_aac" (AAC) | "wmav1" (WMA1) | "wmav2" (WMA2) |
| 16000 | 8–160 | 8–160 | 16–320 | 8–96 | 24–640 | 24–640 |
| 22050 | 8–160 | 8–160 | 16–320 | 8–128 | 24–640 | 24–640 |
| 24000 | 8–160 | 8–160 | 16–320 | 8–128 | 24–640 | 24–640 |
| 32000 | 32–320 | 32–384 | 32–640 | 8–192 | 24–640 | 24–640 |
| 44100 | 32–320 | 32–384 | 32–640 | 8–256 | 24–640 | 24–640 |
| 48000 | 32–320 | 32–384 | 32–640 | 8–256 | 24–640 | 24–640 |
)";

TEST(AudioBitrateTable, EveryCellAsPublished)
{
    const int standard[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256,
        320, 384, 448, 512, 576, 640};
    ASSERT_TRUE(std::equal(std::begin(standard), std::end(standard), StandardAudioBitrates.begin(),
        StandardAudioBitrates.end()));

    QStringList rows = QString::fromUtf8(PublishedBitrateTable).trimmed().split(u'\n');
    QStringList codecs;
    for (const QString &heading : rows.takeFirst().split(u'|', Qt::SkipEmptyParts).mid(1))
        codecs << heading.section(u'"', 1, 1);
    ASSERT_EQ(codecs.size(), 6);
    ASSERT_EQ(rows.size(), 6);
    int cells = 0;
    for (const QString &row : std::as_const(rows)) {
        const QStringList fields = row.split(u'|', Qt::SkipEmptyParts);
        ASSERT_EQ(fields.size(), 7) << row.toStdString();
        const int rate = fields[0].trimmed().toInt();
        for (int column = 0; column < 6; ++column) {
            const QStringList bounds = fields[column + 1].trimmed().split(u'–');
            const int minimum = bounds.value(0).toInt(), maximum = bounds.value(1).toInt();
            const QString &codec = codecs[column];
            SCOPED_TRACE(codec.toStdString() + " at " + std::to_string(rate));
            EXPECT_EQ(MaxAudioBitrate(codec, rate, -1), maximum);
            const AudioBitrateCell *cell = AudioBitrateTable().find(codec, rate);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->Minimum, minimum);
            EXPECT_EQ(cell->Maximum, maximum);
            for (size_t i = 0; i < std::size(standard); ++i)
                EXPECT_EQ(cell->Allowed[i], minimum <= standard[i] && standard[i] <= maximum)
                    << standard[i];
            ++cells;
        }
    }
    EXPECT_EQ(cells, 36);
}

TEST(SnapAudioBitrate, Examples)
{
    struct Case
    {
        int64_t source;
        int minimum, maximum, expected;
    };
    const Case cases[] = {
        {0, 96, 320, 96}, // unknown
        {-5, 96, 320, 96}, {100, 96, 320, 112}, {448, 96, 320, 320}, {1536, 96, 640, 640},
        {64, 96, 320, 96}, {0, 0, 320, 32}, // 0 to 32 gives 32
        {33, 0, 640, 40}, {641, 0, 700, 128}, // above 640: the default
        {641, 0, 640, 640}, // unless the cap is lower
        {50, 96, 40, 40}, // the cap wins over the minimum
    };
    for (const Case &c : cases)
        EXPECT_EQ(SnapAudioBitrate(c.source, 128, c.minimum, c.maximum), c.expected) << c.source;
}

TEST(MapParams, TrackSelection)
{
    struct Case
    {
        const char *name;
        int audioStreams, track;
        bool dropVideo, hasVideo;
        QString expected;
    };
    const Case cases[] = {
        {"automatic track", 2, 0, false, true, QString()},
        {"second track", 2, 2, false, true, u"-map 0:0 -map 0:2"_s},
        {"first track, video dropped", 2, 1, true, true, u"-map 0:1"_s},
        {"no video stream", 1, 1, false, false, u"-map 0:0"_s},
        {"track the file lacks", 1, 2, false, true, QString()},
        {"no audio at all", 0, 1, false, true, QString()},
        {"48th of 48", 48, 48, false, true, u"-map 0:0 -map 0:48"_s},
        {"negative track", 2, -1, false, true, QString()},
    };
    for (const Case &c : cases) {
        Inputs t;
        if (c.hasVideo)
            t.video(640, 480, 25);
        for (int i = 0; i < c.audioStreams; ++i)
            t.audio(2, 48000, 128);
        t.settings.cbAudioTrackNo = c.track;
        t.settings.chAviVideoDontCopy = c.dropVideo;
        EXPECT_EQ(GetMapParams(t.context()), c.expected) << c.name;
    }
}

TEST(MapParams, BeyondTheDescribedStreams)
{
    // The file holds 60 audio streams, the analysis describes 48: track 49
    // cannot be named, so FFmpeg's own choice applies and the channel check
    // reads the first track.
    Inputs t;
    t.video(640, 480, 25);
    for (int i = 0; i < MaxAudioStreams; ++i)
        t.audio(i == 0 ? 6 : 2, 48000, 128);
    t.info.NumberOfAudioStreams = 60;
    t.settings.cbAudioTrackNo = 49;
    t.settings.cbAudioCodec = AudioCodec::Mp3;
    const PieceContext ctx = t.context();
    EXPECT_EQ(GetMapParams(ctx), QString());
    EXPECT_EQ(CommandTest::PieceText(GetAudioParamsStr(ctx)), u"-b:a 128k -ac 2 -async 1"_s);
    t.settings.cbAudioTrackNo = 48;
    EXPECT_EQ(GetMapParams(t.context()), u"-map 0:0 -map 0:48"_s);
}

TEST(AudioBitrateReport, Layout)
{
    const QStringList lines = AudioBitrateReport().split(u"\r\n"_s);
    // Title, empty line, 6 blocks of 7 lines with 5 separating empty lines,
    // and the final line end.
    ASSERT_EQ(lines.size(), 2 + 6 * 7 + 5 + 1);
    EXPECT_EQ(lines[0], u"AUDIO BITRATE INFO"_s);
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], u"Sampling rate: 16000"_s);
    EXPECT_EQ(lines[3],
        u" MP3:    8  16  24  32  40  48  56  64  80  96 112 128 160   -   -   -   -   -   -   -   -   -"_s);
    EXPECT_EQ(lines[6],
        u" AAC:    8  16  24  32  40  48  56  64  80  96   -   -   -   -   -   -   -   -   -   -   -   -"_s);
    EXPECT_EQ(lines[9], QString());
    EXPECT_EQ(lines[42], u"Sampling rate: 48000"_s);
    EXPECT_EQ(lines[44],
        u" MP2:    -   -   -  32  40  48  56  64  80  96 112 128 160 192 224 256 320 384   -   -   -   -"_s);
    EXPECT_EQ(lines[48],
        u"WMA2:    -   -  24  32  40  48  56  64  80  96 112 128 160 192 224 256 320 384 448 512 576 640"_s);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"audio_bitrates.txt"_s);
    ASSERT_TRUE(WriteAudioBitrateReport(file));
    EXPECT_EQ(TestSupport::ReadFile(file), AudioBitrateReport().toUtf8());
    EXPECT_FALSE(WriteAudioBitrateReport(dir.filePath(u"missing/x.txt"_s)));
}

TEST(AudioBitrateReport, FallsBackToTheUserFolderWhenTheDataFolderIsNotWritable)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data/audio_bitrates.txt"_s);
    const QString user = dir.filePath(u"user/quillon"_s);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"data"_s)));
    EXPECT_EQ(WriteAudioBitrateReportFile(data, user), data);
    EXPECT_FALSE(QFileInfo::exists(user));

    // A data "folder" that is a file cannot take the report.
    const QString blocked = dir.filePath(u"blocker/audio_bitrates.txt"_s);
    ASSERT_TRUE(TestSupport::WriteFile(dir.filePath(u"blocker"_s), "x"));
    const QString written = WriteAudioBitrateReportFile(blocked, user);
    EXPECT_EQ(written, user + u"/audio_bitrates.txt"_s);
    EXPECT_EQ(TestSupport::ReadFile(written), AudioBitrateReport().toUtf8());

    EXPECT_TRUE(WriteAudioBitrateReportFile(blocked, dir.filePath(u"blocker/user"_s)).isEmpty());
    EXPECT_TRUE(WriteAudioBitrateReportFile(blocked, QString()).isEmpty());
}

} // namespace
