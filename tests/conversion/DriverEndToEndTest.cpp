// The driver with the real FFmpeg on tiny generated clips; every output is
// checked by analysing it.
#include "DriverTestSupport.h"
#include "support/TestSupport.h"

#include "analysis/FFmpegProbe.h"
#include "app/ToolResolution.h"
#include "conversion/FileTimes.h"
#include "conversion/ProbeBatch.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <future>
#include <gmock/gmock.h>
#include <map>

using namespace DriverTest;
using ::testing::HasSubstr;

namespace {

struct Analysis
{
    QStringList streams; // FFmpeg's stream lines
    int videoStreams = 0;
    int audioStreams = 0;
    int width = 0;
    int height = 0;

    bool has(const QString &text) const
    {
        return std::any_of(streams.cbegin(), streams.cend(),
            [&](const QString &line) { return line.contains(text); });
    }
};

class DriverEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = new QString(TestSupport::SystemFFmpeg());
        s_mediaInfo = new QString(TestSupport::SystemMediaInfo());
        if (s_ffmpeg->isEmpty())
            return;
        s_clipDir = new QTemporaryDir;
        s_clip = new QString(s_clipDir->filePath(QStringLiteral("clip.mkv")));
        // On a thread of its own: once the test's thread has started a
        // program through Qt, ThreadSanitizer no longer sees its locks. The
        // future's atomics, unlike a thread's join, are where it sees them.
        std::async(std::launch::async, [] { makeClip(); }).get();
    }
    static void makeClip()
    {
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(*s_ffmpeg,
            {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("testsrc=size=160x120:rate=25:duration=1"), QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("sine=frequency=440:sample_rate=48000:duration=1"),
                QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:v"),
                QStringLiteral("libx264"), QStringLiteral("-preset"), QStringLiteral("ultrafast"),
                QStringLiteral("-c:a"), QStringLiteral("aac"), *s_clip});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            s_clip->clear();
    }
    static void TearDownTestSuite()
    {
        delete s_clipDir;
        delete s_clip;
        delete s_ffmpeg;
        delete s_mediaInfo;
        s_clipDir = nullptr;
        s_clip = s_ffmpeg = s_mediaInfo = nullptr;
    }

    void SetUp() override
    {
        if (s_ffmpeg->isEmpty() || !s_clip || s_clip->isEmpty())
            QLN_SKIP_MISSING() << "FFmpeg is not installed or cannot make the test clip";
        ASSERT_TRUE(m_dir.isValid());
        // A temporary folder of the test's own: other test programs running
        // meanwhile make and remove their run folders in the shared one.
        m_oldTmpDir = qgetenv("TMPDIR");
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("tmp")));
        qputenv("TMPDIR", QFile::encodeName(m_dir.filePath(QStringLiteral("tmp"))));
        m_runFolders = runFolders();
    }

    void TearDown() override
    {
        if (IsSkipped())
            return;
        // The inputs are never touched, and no two-pass folder is left.
        for (const auto &[file, digest] : m_inputs)
            EXPECT_EQ(digestOf(file), digest) << file.toStdString();
        EXPECT_EQ(runFolders(), m_runFolders);
        if (m_oldTmpDir.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_oldTmpDir);
    }

    static QByteArray digestOf(const QString &file)
    {
        return QCryptographicHash::hash(TestSupport::ReadFile(file), QCryptographicHash::Sha256);
    }

    static QStringList runFolders()
    {
        return QDir(QDir::tempPath())
            .entryList({QStringLiteral("Orvane_Quillon_*")}, QDir::Dirs | QDir::Hidden);
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A copy of the clip (or the given bytes) under name.
    QString input(const QString &name, const QByteArray &bytes = {})
    {
        QString file = path(name);
        EXPECT_TRUE(
            bytes.isEmpty() ? QFile::copy(*s_clip, file) : TestSupport::WriteFile(file, bytes));
        m_inputs[file] = digestOf(file);
        return file;
    }

    ConversionSetup setup() const
    {
        ConversionSetup s;
        s.settings = DefaultEncodingSettings(s.strings, AviCodec::Xvid);
        s.settings.cbAudioCodec = AudioCodec::Mp3;
        s.lists = BuildEncodingLists(s.strings, QStringLiteral("/nonexistent/resolutions.txt"),
            QStringLiteral("/nonexistent/fourcc_video_tags.txt"));
        s.params.ffmpeg = *s_ffmpeg;
        s.params.MediaInfoDll = *s_mediaInfo;
        s.toolLookup = ToolLookup{QString(), QStringList(), QStringList()};
        s.processorCount = 2;
        return s;
    }

    static Analysis analyse(const QString &file)
    {
        TVideoFileInfo info;
        ProbeWithFFmpeg(file, *s_ffmpeg, *s_mediaInfo, info);
        Analysis a;
        for (const TSTreamInfoStr &line : info.StreamsStr) {
            if (line.StreamExists)
                a.streams << line.Str1;
        }
        a.videoStreams = info.NumberOfVideoStreams;
        a.audioStreams = info.NumberOfAudioStreams;
        a.width = info.VideoStreams[0].Width;
        a.height = info.VideoStreams[0].Height;
        return a;
    }

    std::vector<ConversionRow> convert(const ConversionSetup &s, const QStringList &files)
    {
        std::vector<ConversionRow> rows = RowsOf(files);
        ConversionDriver driver(frontEnd);
        result = driver.run(s, rows);
        rows = result.rows;
        errorLogText = driver.errorLog().text();
        return rows;
    }

    static inline QString *s_ffmpeg = nullptr;
    static inline QString *s_mediaInfo = nullptr;
    static inline QString *s_clip = nullptr;
    static inline QTemporaryDir *s_clipDir = nullptr;

    QTemporaryDir m_dir;
    std::map<QString, QByteArray> m_inputs;
    QStringList m_runFolders;
    QByteArray m_oldTmpDir;
    RecordingFrontEnd frontEnd;
    ConversionResult result;
    QString errorLogText;
};

TEST_F(DriverEndToEnd, ConvertsToEachKindOfOutput)
{
    struct Case
    {
        const char *name;
        std::function<void(EncodingSettings &)> change;
        const char *output;
        QStringList streams; // texts of FFmpeg's stream lines
        int videoStreams, width, height;
    };
    const Case cases[] = {
        {"two-pass H.264 with AAC",
            [](EncodingSettings &e) {
                e.cbAviVideoCodec = AviCodec::H264;
                e.chAviVideo2Pass = true;
                e.cbAudioCodec = AudioCodec::Aac;
            },
            "a.avi", {QStringLiteral("Video: h264"), QStringLiteral("Audio: aac")}, 1, 160, 120},
        {"MPG PAL - DVD",
            [](EncodingSettings &e) {
                e.pcVideoFormat = EncodingSettings::tsMpg;
                e.cbMpgVideo = 0;
            },
            "a.mpg", {QStringLiteral("Video: mpeg2video"), QStringLiteral("Audio: ")}, 1, 720, 576},
        {"audio only", [](EncodingSettings &e) { e.chAviVideoDontCopy = true; }, "a.avi",
            {QStringLiteral("Audio: mp3")}, 0, 0, 0},
    };
    const QString a = input(QStringLiteral("a.mkv"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path(QLatin1String(c.output)));
        ConversionSetup s = setup();
        c.change(s.settings);
        const std::vector<ConversionRow> rows = convert(s, {a});
        EXPECT_EQ(rows[0].Status, QStringLiteral("Done")) << errorLogText.toStdString();
        const Analysis out = analyse(path(QLatin1String(c.output)));
        for (const QString &stream : c.streams)
            EXPECT_TRUE(out.has(stream)) << out.streams.join(u'\n').toStdString();
        EXPECT_EQ(out.videoStreams, c.videoStreams);
        EXPECT_EQ(out.width, c.width);
        EXPECT_EQ(out.height, c.height);
        EXPECT_EQ(frontEnd.walk.AudioOnly, c.videoStreams == 0);
        // No statistics files beside the input (nor a run folder: TearDown).
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            EXPECT_FALSE(name.contains(QLatin1String("log"))) << name.toStdString();
    }
}

TEST_F(DriverEndToEnd, ExistingOutputPolicies)
{
    struct Case
    {
        int policy;
        const char *status;
        const char *converted; // where the new output lands; empty: nowhere
    };
    const Case cases[] = {
        {OutputExists::Rename, "OK - Renamed", "a_001.avi"},
        {OutputExists::Overwrite, "OK - Overwritten", "a.avi"},
        {OutputExists::Skip, "Skipped", ""},
    };
    const QString a = input(QStringLiteral("a.mkv"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.policy);
        QFile::remove(path(QStringLiteral("a_001.avi")));
        QFile::remove(path(QStringLiteral("a.avi")));
        ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("a.avi")), "earlier"));
        ConversionSetup s = setup();
        s.settings.cbOutputExists = c.policy;
        const std::vector<ConversionRow> rows = convert(s, {a});
        EXPECT_EQ(rows[0].Status, QLatin1String(c.status)) << errorLogText.toStdString();
        if (*c.converted) {
            EXPECT_EQ(rows[0].OutputFile, path(QLatin1String(c.converted)));
            EXPECT_TRUE(analyse(rows[0].OutputFile).has(QStringLiteral("Video: mpeg4")));
        }
        if (c.policy != OutputExists::Overwrite) {
            EXPECT_EQ(TestSupport::ReadFile(path(QStringLiteral("a.avi"))), "earlier");
        }
    }
}

TEST_F(DriverEndToEnd, KeepsTheInputsTimes)
{
    const QString a = input(QStringLiteral("a.mkv"));
    FileTimes times;
    times.Access = {1200000000, 0};
    times.Modification = {1100000000, 250000000};
    ASSERT_TRUE(ApplyFileTimes(a, times));
    ConversionSetup s = setup();
    s.settings.chKeepDates = true;
    convert(s, {a});
    const std::optional<FileTimes> output = ReadFileTimes(path(QStringLiteral("a.avi")));
    ASSERT_TRUE(output);
    EXPECT_EQ(output->Modification.tv_sec, times.Modification.tv_sec);
    EXPECT_EQ(output->Modification.tv_nsec, times.Modification.tv_nsec);
    // Reading the input (the probe) may already have moved its access time;
    // the output gets the time the input has.
    const std::optional<FileTimes> now = ReadFileTimes(a);
    ASSERT_TRUE(now);
    EXPECT_EQ(output->Access.tv_sec, now->Access.tv_sec);
    EXPECT_EQ(output->Access.tv_nsec, now->Access.tv_nsec);
}

TEST_F(DriverEndToEnd, ACorruptInputIsLoggedAndTheNextFileStillConverted)
{
    QByteArray garbage(20000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    const QString bad = input(QStringLiteral("bad.mkv"), garbage);
    const QString good = input(QStringLiteral("good.mkv"));
    const std::vector<ConversionRow> rows = convert(setup(), {bad, good});

    EXPECT_TRUE(rows[0].Status.startsWith(QStringLiteral("Error ("))) << rows[0].Status;
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("bad.avi"))));
    ASSERT_EQ(frontEnd.errorEntries.size(), 1);
    const QStringList entry = frontEnd.errorEntries[0].split(u'\n');
    const auto text = std::find_if(entry.cbegin(), entry.cend(),
        [](const QString &line) { return line.startsWith(QLatin1String("ExitCode: ")); });
    ASSERT_NE(text, entry.cend()) << frontEnd.errorEntries[0].toStdString();
    // The entry text follows the empty line after the header lines.
    EXPECT_TRUE((text - 1)->isEmpty());
    // FFmpeg found no stream in it: the entry ends with the hint that says so.
    EXPECT_EQ(entry.last(), TAppStrings().Errors.Hint_NotMediaFile);
    EXPECT_EQ(rows[1].Status, QStringLiteral("Done"));
    EXPECT_TRUE(analyse(path(QStringLiteral("good.avi"))).has(QStringLiteral("Video: mpeg4")));
}

// Three files two at a time, two passes each (the statistics of files
// encoded at once must not mix): the same outputs, names and statuses as
// one at a time.
TEST_F(DriverEndToEnd, TwoFilesAtOnceConvertAsOneAtATime)
{
    ASSERT_TRUE(QDir(path({})).mkpath(QStringLiteral("x")));
    const QStringList files{input(QStringLiteral("a.mkv")), input(QStringLiteral("x/a.mkv")),
        input(QStringLiteral("b.mkv"))};
    std::vector<std::vector<ConversionRow>> runs;
    for (const int jobs : {1, 2}) {
        SCOPED_TRACE(jobs);
        ConversionSetup s = setup();
        s.jobs = jobs;
        s.settings.chAviVideo2Pass = true;
        s.settings.rbOutDir = true;
        s.settings.edOutDir = path(QStringLiteral("out%1").arg(jobs));
        runs.push_back(convert(s, files));
        EXPECT_EQ(result.ErrorCount, 0) << errorLogText.toStdString();
    }
    // Analysed after both runs: the run's own thread stays clear of the
    // library's (ThreadSanitizer cannot follow it).
    for (size_t k = 0; k < size_t(files.size()); ++k) {
        const ConversionRow &one = runs[0][k];
        const ConversionRow &two = runs[1][k];
        EXPECT_EQ(two.Status, one.Status);
        EXPECT_EQ(two.Outcome, k == 1 ? RowOutcome::Renamed : RowOutcome::Done);
        EXPECT_EQ(QFileInfo(two.OutputFile).fileName(), QFileInfo(one.OutputFile).fileName());
        const Analysis analysis = analyse(two.OutputFile);
        EXPECT_EQ(analysis.streams, analyse(one.OutputFile).streams);
        EXPECT_TRUE(analysis.has(QStringLiteral("Video: mpeg4")));
    }
    EXPECT_NE(runs[1][1].OutputFile, runs[1][0].OutputFile);
}

TEST_F(DriverEndToEnd, OnePassXvidWithMp3ForAnyFileName)
{
    const QStringList names = {QStringLiteral("plain.mkv"), QStringLiteral("with blanks  .mkv"),
        QStringLiteral("it's \"q\".mkv"), QStringLiteral("$HOME `x` ;.mkv"),
        QStringLiteral("Grüße 日本.mkv"), QStringLiteral("-leading.mkv")};
    QStringList files;
    for (const QString &name : names)
        files << input(name);
    const std::vector<ConversionRow> rows = convert(setup(), files);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(names[qsizetype(i)].toStdString());
        EXPECT_EQ(rows[i].Status, QStringLiteral("Done")) << errorLogText.toStdString();
        QString output = files[qsizetype(i)];
        output.replace(QLatin1String(".mkv"), QLatin1String(".avi"));
        EXPECT_EQ(rows[i].OutputFile, output);
        const Analysis a = analyse(output);
        EXPECT_TRUE(a.has(QStringLiteral("Video: mpeg4"))) << a.streams.join(u'\n').toStdString();
        EXPECT_TRUE(a.has(QStringLiteral("xvid")));
        EXPECT_TRUE(a.has(QStringLiteral("Audio: mp3")));
        EXPECT_EQ(a.width, 160);
        EXPECT_EQ(a.height, 120);
    }
}

TEST_F(DriverEndToEnd, TheShellScriptConvertsLikeTheDriver)
{
    const QStringList files = {input(QStringLiteral("plain.mkv")),
        input(QStringLiteral("it's $x \"y\".mkv")), input(QStringLiteral("-dash é.mkv"))};
    const auto outputOf
        = [](QString file) { return file.replace(QLatin1String(".mkv"), QLatin1String(".avi")); };

    ConversionSetup s = setup();
    s.BatchOnly = true;
    s.BatchFileName = path(QStringLiteral("convert.sh"));
    convert(s, files);
    ASSERT_TRUE(result.ScriptSaved);
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("sh"), {s.BatchFileName});
    ASSERT_TRUE(shell.waitForFinished(120000));
    ASSERT_EQ(shell.exitCode(), 0) << shell.readAll().toStdString();

    std::map<QString, std::pair<qint64, QStringList>> byScript;
    for (const QString &file : files) {
        const QString output = outputOf(file);
        const Analysis a = analyse(output);
        byScript[output] = {QFileInfo(output).size(), a.streams};
        ASSERT_TRUE(QFile::remove(output));
    }

    ConversionSetup run = setup();
    run.settings.cbOutputExists = OutputExists::Overwrite;
    const std::vector<ConversionRow> rows = convert(run, files);
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString output = outputOf(files[qsizetype(i)]);
        SCOPED_TRACE(output.toStdString());
        EXPECT_EQ(rows[i].Status, QStringLiteral("Done"));
        EXPECT_EQ(QFileInfo(output).size(), byScript[output].first);
        const Analysis a = analyse(output);
        EXPECT_TRUE(a.has(QStringLiteral("Video: mpeg4")));
        EXPECT_TRUE(a.has(QStringLiteral("Audio: mp3")));
        EXPECT_EQ(a.streams.size(), byScript[output].second.size());
    }
}

TEST_F(DriverEndToEnd, ABatchAnalysisEqualsOneAnalysisPerFile)
{
    const auto facts = [](const TVideoFileInfo &i) {
        QStringList f{i.FileName, QString::number(i.FileSize), QString::number(i.Duration),
            QString::number(i.NumberOfVideoStreams), QString::number(i.NumberOfAudioStreams),
            QString::number(i.VideoStreams[0].Frames), QString::number(i.VideoStreams[0].FPS),
            QString::number(i.VideoStreams[0].Bitrate),
            QString::number(i.VideoStreams[0].StreamSize),
            QString::number(i.AudioStreams[0].Bitrate),
            QString::number(i.AudioStreams[0].SamplingRate), i.MediaInfoFull};
        for (const TSTreamInfoStr &line : i.StreamsStr)
            f << line.Str1;
        return f;
    };
    QByteArray garbage(4000, 'x');
    const QStringList files = {input(QStringLiteral("a.mkv")), input(QStringLiteral("-it's b.mkv")),
        input(QStringLiteral("bad.mkv"), garbage), input(QStringLiteral("c.mkv"))};
    std::vector<std::optional<TVideoFileInfo>> batch(size_t(files.size()));
    ConsoleRunner runner;
    ProbeFilesWithFFmpeg(files, *s_ffmpeg, *s_mediaInfo, runner,
        [&](int k, std::optional<TVideoFileInfo> info) { batch[size_t(k)] = std::move(info); });

    // FFmpeg stops at the file it cannot open.
    EXPECT_FALSE(batch[2]);
    EXPECT_FALSE(batch[3]);
    for (int k : {0, 1}) {
        SCOPED_TRACE(files[k].toStdString());
        ASSERT_TRUE(batch[size_t(k)]);
        const TVideoFileInfo &b = *batch[size_t(k)];
        TVideoFileInfo single;
        ProbeWithFFmpeg(files[k], *s_ffmpeg, *s_mediaInfo, single);
        ASSERT_TRUE(single.StreamsStr[1].StreamExists);
        EXPECT_EQ(facts(b), facts(single));
    }
}

} // namespace
