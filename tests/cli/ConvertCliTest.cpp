#include "CliTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 msAfterSignal = -1;
    // quillon-cli's children when the signal was sent.
    QList<pid_t> children;
};

// How a run is disturbed.
struct Disturbance
{
    // Sent that long after the start (-1: none), or after the file
    // startedMark appears (the fake FFmpeg's log-nice action writes it): to
    // quillon-cli alone, or, as a terminal's Ctrl+C does, to its whole
    // process group. The mark keeps a slow build's signal from arriving
    // before the conversion it means to stop has begun.
    int signalAfterMs = -1;
    QString startedMark;
    int signal = SIGINT;
    bool wholeGroup = false;
    // Standard output is a pipe nobody reads any more.
    bool brokenOutput = false;
};

QList<pid_t> ChildrenOf(pid_t parent)
{
    QList<pid_t> children;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const pid_t pid = pid_t(entry.toInt(&isPid));
        if (!isPid)
            continue;
        // "pid (name) state ppid ...": the name may hold anything.
        const QByteArray stat = TestSupport::ReadFile(u"/proc/"_s + entry + u"/stat"_s);
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toInt() == parent)
            children << pid;
    }
    return children;
}

// Still running: there, and not a zombie waiting to be reaped.
bool Running(pid_t pid)
{
    const QByteArray stat = TestSupport::ReadFile(u"/proc/"_s + QString::number(pid) + u"/stat"_s);
    return !stat.isEmpty() && stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

bool AllGoneWithin(const QList<pid_t> &pids, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (std::any_of(pids.cbegin(), pids.cend(), Running)) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// quillon-cli with the fake FFmpeg scripted by `script`, its temporary
// folder the test's own "tmp".
class ConvertCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(tmp()));
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString tmp() const { return path(u"tmp"_s); }

    QString input(const QString &name)
    {
        QString file = path(name);
        EXPECT_TRUE(TestSupport::WriteFile(file, "input bytes"));
        return file;
    }

    CliRun run(const QStringList &args, const QString &script = {}, int signalAfterMs = -1,
        bool wholeGroup = false)
    {
        Disturbance disturbance;
        disturbance.signalAfterMs = signalAfterMs;
        disturbance.wholeGroup = wholeGroup;
        return run(args, script, disturbance);
    }

    CliRun run(const QStringList &args, const QString &script, const Disturbance &disturbance)
    {
        QProcess process;
        start(process, args, script, disturbance);
        return finish(process, disturbance);
    }

    // Starts quillon-cli without waiting for it.
    void start(QProcess &process, const QStringList &args, const QString &script = {},
        const Disturbance &disturbance = {})
    {
        const QString scriptFile = path(u"fake-script.txt"_s);
        EXPECT_TRUE(TestSupport::WriteFile(scriptFile, script.toUtf8()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QLN_FAKE_FFMPEG_SCRIPT"_s, scriptFile);
        env.insert(u"TMPDIR"_s, tmp());
        int brokenPipe[2] = {-1, -1};
        if (disturbance.brokenOutput) {
            EXPECT_EQ(::pipe2(brokenPipe, O_CLOEXEC), 0);
            ::close(brokenPipe[0]);
        }
        process.setProcessEnvironment(env);
        const bool wholeGroup = disturbance.wholeGroup;
        const int output = brokenPipe[1];
        process.setChildProcessModifier([wholeGroup, output] {
            if (wholeGroup)
                ::setpgid(0, 0);
            if (output >= 0)
                ::dup2(output, STDOUT_FILENO);
        });
        process.start(TestSupport::BinDir() + u"/quillon-cli"_s,
            QStringList{u"--ffmpeg"_s, TestSupport::ToolPath(u"fake_ffmpeg"_s)} + args);
        if (output >= 0)
            ::close(output);
    }

    CliRun finish(QProcess &process, const Disturbance &disturbance = {})
    {
        const bool wholeGroup = disturbance.wholeGroup;
        CliRun result;
        if (!process.waitForStarted()) {
            ADD_FAILURE() << "quillon-cli did not start";
            return result;
        }
        QElapsedTimer sinceSignal;
        if (disturbance.signalAfterMs >= 0) {
            if (!disturbance.startedMark.isEmpty()) {
                QElapsedTimer waited;
                waited.start();
                while (!QFileInfo::exists(disturbance.startedMark) && waited.elapsed() < 30000)
                    QThread::msleep(10);
                EXPECT_TRUE(QFileInfo::exists(disturbance.startedMark)) << "no conversion began";
            }
            QThread::msleep(ulong(disturbance.signalAfterMs));
            const pid_t pid = pid_t(process.processId());
            result.children = ChildrenOf(pid);
            ::kill(wholeGroup ? -pid : pid, disturbance.signal);
            sinceSignal.start();
        }
        const bool killed = disturbance.signal == SIGKILL && disturbance.signalAfterMs >= 0;
        if (!process.waitForFinished(60000)
            || process.exitStatus() != (killed ? QProcess::CrashExit : QProcess::NormalExit)) {
            ADD_FAILURE() << "quillon-cli did not finish";
            return result;
        }
        if (sinceSignal.isValid())
            result.msAfterSignal = sinceSignal.elapsed();
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    QTemporaryDir m_dir;
};

TEST_F(ConvertCli, PrintsOneLinePerFileAndExitsWithZero)
{
    const QString a = input(u"a.mkv"_s);
    const QString b = input(u"-b.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(path(u"-b.avi"_s), "there"));
    const CliRun r = run({u"convert"_s, a, b, u"--if-exists"_s, u"skip"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
        u"Done\t"_s + a + u'\t' + path(u"a.avi"_s) + u"\nSkipped\t"_s + b + u'\t'
            + path(u"-b.avi"_s) + u'\n');
    EXPECT_TRUE(QFileInfo::exists(path(u"a.avi"_s)));
}

TEST_F(ConvertCli, AFailedFileGivesStatusOneAndItsErrorLog)
{
    const QString script = u"[run match=bad]\nout:Conversion failed!\\r\\n\nexit:1\n"_s;
    const QString bad = input(u"bad.mkv"_s);
    const QString good = input(u"good.mkv"_s);

    CliRun r = run({u"convert"_s, bad, good}, script);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith(u"Error (1)\t"_s + bad)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\nDone\t"_s + good));
    EXPECT_TRUE(r.err.contains(u"Error # 1"_s)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"ExitCode: 1"_s));
    // Both streams into one file ("> run.log 2>&1"): the results are there
    // before the log that is written after them.
    QProcess merged;
    merged.setProcessChannelMode(QProcess::MergedChannels);
    start(merged, {u"convert"_s, bad, good}, script);
    const QString both = finish(merged).out;
    const qsizetype results = both.indexOf(u"\t"_s + good + u"\t"_s);
    EXPECT_GE(results, 0) << both.toStdString();
    EXPECT_GT(both.indexOf(u"Error # 1"_s), results) << both.toStdString();

    // With --error-log the log goes to the file, not to standard error.
    const QString logFile = path(u"errors.html"_s);
    r = run({u"convert"_s, u"--error-log"_s, logFile, bad}, script);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.contains(u"ExitCode: 1"_s)) << r.err.toStdString();
    const QString html = QString::fromUtf8(TestSupport::ReadFile(logFile));
    EXPECT_TRUE(html.contains(u"<html"_s, Qt::CaseInsensitive));
    EXPECT_TRUE(html.contains(u"Conversion failed!"_s));
}

TEST_F(ConvertCli, AnEarlyEndGivesStatusTwo)
{
    const QString a = input(u"a.mkv"_s);
    ASSERT_TRUE(TestSupport::WriteFile(path(u"file"_s), "x"));
    CliRun r = run({u"convert"_s, u"--out-dir"_s, path(u"file/out"_s), a});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"Couldn't create directory"_s)) << r.err.toStdString();

    r = run({u"convert"_s, a, u"--set"_s, u"AVI.VideoFPS=fast"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"FPS must be a float value!"_s)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(u"a.avi"_s)));

    r = run({u"convert"_s, path(u"missing.mkv"_s)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(ConvertCli, AMissingInputAmongOthersGivesStatusOne)
{
    const QString a = input(u"a.mkv"_s);
    const CliRun r = run({u"convert"_s, a, path(u"missing.mkv"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, u"Done\t"_s + a + u'\t' + path(u"a.avi"_s) + u'\n');
    EXPECT_TRUE(r.err.contains(u"missing.mkv"_s));
}

TEST_F(ConvertCli, InterruptAbortsWithStatus130)
{
    struct Case
    {
        const char *name;
        QString script;
        bool keepUnfinished;
        bool outputLeft;
        qint64 minMs, maxMs;
        bool wholeGroup = false;
    };
    const Case cases[] = {
        // FFmpeg ends on "q": the unfinished output is deleted unless kept.
        {"honours q", u"[run]\noutput:5000\nlog-nice:%1\nprogress:200,50\n"_s, false, false, 0,
            2000},
        {"honours q, kept", u"[run]\noutput:5000\nlog-nice:%1\nprogress:200,50\n"_s, true, true, 0,
            2000},
        // Silent and deaf to "q": stopped by force after 2.5 s.
        {"ignores q", u"[run]\noutput:5000\nlog-nice:%1\nq:ignore\nsleep:30000\n"_s, false, false,
            2400, 6000},
        // Ctrl+C in a terminal reaches the whole group: FFmpeg must still
        // get only "q" and leave its output to be kept.
        {"ctrl+c, kept", u"[run]\noutput:5000\nlog-nice:%1\nprogress:200,50\n"_s, true, true, 0,
            2000, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path(u"a.avi"_s));
        const QString a = input(u"a.mkv"_s);
        const QString b = input(u"b.mkv"_s);
        QStringList args{u"convert"_s, a, b};
        if (c.keepUnfinished)
            args << u"--keep-unfinished"_s;
        Disturbance interrupt;
        interrupt.startedMark = path(u"started"_s);
        interrupt.signalAfterMs = 200;
        interrupt.wholeGroup = c.wholeGroup;
        QFile::remove(interrupt.startedMark);
        const CliRun r = run(args, c.script.arg(interrupt.startedMark), interrupt);
        EXPECT_EQ(r.exitCode, 130) << r.err.toStdString();
        EXPECT_GE(r.msAfterSignal, c.minMs);
        EXPECT_LT(r.msAfterSignal, c.maxMs);
        EXPECT_EQ(
            r.out, u"Aborted\t"_s + a + u'\t' + path(u"a.avi"_s) + u"\nReady\t"_s + b + u"\t\n"_s);
        EXPECT_EQ(QFileInfo::exists(path(u"a.avi"_s)), c.outputLeft);
        EXPECT_FALSE(QFileInfo::exists(path(u"b.avi"_s)));
    }
}

TEST_F(ConvertCli, StopSignalsAbortAndCleanUpLikeCtrlC)
{
    // A two-pass run, so that it has a working folder to remove.
    const QString mark = path(u"started"_s);
    const QString script = u"[run]\noutput:5000\nlog-nice:%1\nsleep:20000\n"_s.arg(mark);
    for (const int signal : {SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(signal);
        const QString a = input(u"a.mkv"_s);
        QFile::remove(mark);
        Disturbance stop;
        stop.startedMark = mark;
        stop.signalAfterMs = 200;
        stop.signal = signal;
        const CliRun r = run({u"convert"_s, u"--set"_s, u"AVI.Video2Pass=1"_s, a}, script, stop);
        EXPECT_EQ(r.exitCode, 128 + signal) << r.err.toStdString();
        EXPECT_LT(r.msAfterSignal, 2000);
        EXPECT_EQ(r.out, u"Aborted\t"_s + a + u'\t' + path(u"a.avi"_s) + u'\n');
        EXPECT_FALSE(r.children.isEmpty());
        EXPECT_TRUE(AllGoneWithin(r.children, 0));
        EXPECT_FALSE(QFileInfo::exists(path(u"a.avi"_s)));
        EXPECT_EQ(QDir(tmp()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
}

TEST_F(ConvertCli, KilledOutrightItLeavesNoFFmpegBehind)
{
    const QString a = input(u"a.mkv"_s);
    Disturbance kill;
    kill.startedMark = path(u"started"_s);
    kill.signalAfterMs = 200;
    kill.signal = SIGKILL;
    const CliRun r = run({u"convert"_s, a},
        u"[run]\noutput:5000\nlog-nice:%1\nq:ignore\nsleep:20000\n"_s.arg(kill.startedMark), kill);
    ASSERT_FALSE(r.children.isEmpty());
    EXPECT_TRUE(AllGoneWithin(r.children, 5000));
}

TEST_F(ConvertCli, InterruptStopsAHangingEncoderQueryOrProbeAtOnce)
{
    for (const char *call : {"-encoders", "-i"}) {
        SCOPED_TRACE(call);
        const QString a = input(u"a.mkv"_s);
        const QString script
            = u"[first match=%1]\nq:ignore\nsleep:20000\n"_s.arg(QLatin1String(call));
        const CliRun r = run({u"convert"_s, a}, script, 700);
        EXPECT_EQ(r.exitCode, 130) << r.err.toStdString();
        EXPECT_LT(r.msAfterSignal, 2000);
        EXPECT_TRUE(r.out.startsWith(u"Aborted\t"_s)) << r.out.toStdString();
        EXPECT_TRUE(AllGoneWithin(r.children, 0));
    }
}

TEST_F(ConvertCli, AReaderThatWentAwayDoesNotKillTheRun)
{
    // "quillon-cli convert ... | head": writing the results must not end
    // the program before its clean-up.
    const QString a = input(u"a.mkv"_s);
    Disturbance broken;
    broken.brokenOutput = true;
    run({u"convert"_s, a}, {}, broken);
    EXPECT_TRUE(QFileInfo::exists(path(u"a.avi"_s)));
}

TEST_F(ConvertCli, StatusLinesComeAtMostFourTimesASecond)
{
    // 100 progress lines in about two seconds.
    const QString a = input(u"a.mkv"_s);
    const CliRun r = run({u"convert"_s, a}, u"[run]\noutput:10\nprogress:100,20\n"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const qsizetype statusLines = r.err.count(u"Converting file: 1 / 1"_s);
    EXPECT_GE(statusLines, 2);
    EXPECT_LE(statusLines, 12) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"Frame: "_s));
}

TEST_F(ConvertCli, JobsConvertFilesAtOnceWithOneCombinedStatusLine)
{
    const QString a = input(u"a.mkv"_s);
    const QString b = input(u"b.mkv"_s);
    const QString script = u"[run match=a.avi]\noutput:10\nprogress:40,25\nexit:1\n"
                           u"[run]\noutput:10\nprogress:40,25\n"_s;
    const CliRun r = run({u"convert"_s, u"--jobs"_s, u"2"_s, a, b}, script);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    // The results in row order, whichever file ended first.
    EXPECT_EQ(r.out,
        u"Error (1)\t"_s + a + u'\t' + path(u"a.avi"_s) + u"\nDone\t"_s + b + u'\t'
            + path(u"b.avi"_s) + u'\n');
    // Standard error is not a terminal: one line tells both running files.
    const QStringList lines = r.err.split(u'\n');
    EXPECT_TRUE(std::any_of(lines.cbegin(), lines.cend(), [](const QString &line) {
        return line.contains(u"Converting file: 1 / 2"_s) && line.contains(u" | "_s)
            && line.contains(u"Converting file: 2 / 2"_s);
    })) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u"Error # "_s), 1);

    for (const QString &bad : {u"0"_s, u"17"_s, u"two"_s}) {
        const CliRun refused = run({u"convert"_s, u"--jobs"_s, bad, a}, script);
        EXPECT_EQ(refused.exitCode, 2) << bad.toStdString();
        EXPECT_TRUE(refused.err.contains(u"--jobs"_s)) << refused.err.toStdString();
    }
}

TEST_F(ConvertCli, ScriptWritesTheScriptAndNeedsItsName)
{
    const QString a = input(u"it's $here.mkv"_s);
    const QString script = path(u"convert.sh"_s);
    CliRun r = run({u"script"_s, u"-o"_s, script, a});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(QFileInfo(script).isExecutable());
    EXPECT_TRUE(QString::fromUtf8(TestSupport::ReadFile(script)).contains(u"'\\''"_s));
    EXPECT_FALSE(QFileInfo::exists(path(u"it's $here.avi"_s)));

    r = run({u"script"_s, u"-o"_s, path(u"convert.bat"_s), a});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(TestSupport::ReadFile(path(u"convert.bat"_s)).startsWith("@echo off\r\n"));

    r = run({u"script"_s, a});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(ConvertCli, ScriptRefusesToReplaceAnInputOrWhatIsNotAFile)
{
    const QString v = input(u"v.mkv"_s);
    const QString link = path(u"link.sh"_s);
    ASSERT_EQ(::symlink(QFile::encodeName(v).constData(), QFile::encodeName(link).constData()), 0);
    const QString fifo = path(u"fifo.sh"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case
    {
        QString target;
        const char *reason;
        mode_t type;
    };
    const Case cases[] = {
        {v, "one of the files to convert", S_IFREG},
        {link, "one of the files to convert", S_IFLNK},
        {fifo, "not a regular file", S_IFIFO},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const CliRun r = run({u"script"_s, u"-o"_s, c.target, v});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.reason))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(c.target).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.type);
        EXPECT_EQ(TestSupport::ReadFile(v), "input bytes");
    }

    // A full disk keeps the older script and says which file and why.
    const QString old = path(u"old.sh"_s);
    ASSERT_TRUE(TestSupport::WriteFile(old, "old script"));
    CliRun full;
    {
        TestSupport::FileSizeLimit limit(4);
        full = run({u"script"_s, u"-o"_s, old, v});
    }
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(u"Cannot write \"%1\": File too large"_s.arg(old)))
        << full.err.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(old), "old script");
}

TEST_F(ConvertCli, SameNamedInputsGetTheNamesOfARealRunInEveryCommand)
{
    const QString a = input(u"a/x.mkv"_s);
    const QString b = input(u"b/x.mkv"_s);
    const QString script = path(u"run.sh"_s);
    const std::pair<const char *, QStringList> cases[] = {
        {"rename", {u"x.avi"_s, u"x_001.avi"_s}},
        // An output of the same run is never overwritten.
        {"overwrite", {u"x.avi"_s, u"x_001.avi"_s}},
        {"skip", {u"x.avi"_s}},
    };
    for (const auto &[policy, names] : cases) {
        for (const QString &command : {u"convert"_s, u"script"_s, u"command"_s}) {
            SCOPED_TRACE(command.toStdString() + ' ' + policy);
            const QString out = path(u"out-%1-%2"_s.arg(QLatin1String(policy), command));
            QStringList args{command, u"--out-dir"_s, out, u"--if-exists"_s, QLatin1String(policy)};
            if (command == u"script"_s)
                args << u"-o"_s << script;
            const CliRun r = run(args << a << b);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            // What would be written, in order: the last path of each line of
            // convert that was not skipped, of the script's FFmpeg lines, of
            // the command listing.
            const QString lines
                = command == u"script"_s ? QString::fromUtf8(TestSupport::ReadFile(script)) : r.out;
            QStringList written;
            for (const QString &line : lines.split(u'\n', Qt::SkipEmptyParts)) {
                if (line.startsWith(u"Skipped\t"_s)
                    || (command == u"script"_s && !line.startsWith(u"\"$ffmpeg\""_s)))
                    continue;
                written << line.mid(line.lastIndexOf(out)).remove(QRegularExpression(u"['\"]$"_s));
            }
            QStringList expected;
            for (const QString &name : names)
                expected << out + u'/' + name;
            EXPECT_EQ(written.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
        }
    }
}

TEST_F(ConvertCli, ConcurrentRunsIntoOneFolderWriteDifferentFiles)
{
    // Each FFmpeg writes its output only after the other run has chosen.
    const QString script = u"[run]\nsleep:2000\noutput:1000\n"_s;
    const QString in = input(u"long.mkv"_s);
    QProcess first, second;
    start(first, {u"convert"_s, in}, script);
    start(second, {u"convert"_s, in}, script);
    const CliRun r1 = finish(first);
    const CliRun r2 = finish(second);
    ASSERT_EQ(r1.exitCode, 0) << r1.err.toStdString();
    ASSERT_EQ(r2.exitCode, 0) << r2.err.toStdString();
    QStringList outputs{r1.out.section(u'\t', 2).trimmed(), r2.out.section(u'\t', 2).trimmed()};
    outputs.sort();
    EXPECT_EQ(outputs.join(u'\n').toStdString(),
        (path(u"long.avi"_s) + u'\n' + path(u"long_001.avi"_s)).toStdString());
    EXPECT_EQ(QFileInfo(path(u"long.avi"_s)).size(), 1000);
    EXPECT_EQ(QFileInfo(path(u"long_001.avi"_s)).size(), 1000);
}

TEST_F(ConvertCli, NamesThatAreNotUtf8AreReportedAndSkipped)
{
    // Such a name given directly, inside such a folder (from a list file),
    // and relative to such a current folder.
    const QByteArray dir = QFile::encodeName(m_dir.path());
    const QByteArray folder = dir + "/\xe9t\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_TRUE(RawCli::Touch(dir + "/\xff\xfe.mkv"));
    ASSERT_TRUE(RawCli::Touch(folder + "/in.mkv"));
    ASSERT_TRUE(RawCli::Touch(folder + "/rel.mkv"));
    ASSERT_TRUE(TestSupport::WriteFile(path(u"files.lst"_s), folder + "/in.mkv\n"));
    const QString good = input(u"good.mkv"_s);
    const QByteArray fake = QFile::encodeName(TestSupport::ToolPath(u"fake_ffmpeg"_s));
    const QString escapedDir = m_dir.path() + u"/\\xe9t\\xe9"_s;

    TestSupport::CliRun r = RawCli::Run(
        {"--ffmpeg", fake, "convert", dir + "/\xff\xfe.mkv", "--list",
            QFile::encodeName(path(u"files.lst"_s)), "rel.mkv", QFile::encodeName(good)},
        folder);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, u"Done\t"_s + good + u'\t' + path(u"good.avi"_s) + u'\n');
    for (const QString &name : {m_dir.path() + u"/\\xff\\xfe.mkv"_s, escapedDir + u"/in.mkv"_s,
             escapedDir + u"/rel.mkv"_s})
        EXPECT_TRUE(r.err.contains(u"skipped \""_s + name + u"\": the name is not valid UTF-8\n"_s))
            << r.err.toStdString();

    // Nothing left: the run does not start.
    r = RawCli::Run({"--ffmpeg", fake, "convert", dir + "/\xff\xfe.mkv"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());

    const QString script = path(u"s.sh"_s);
    r = RawCli::Run({"--ffmpeg", fake, "script", "-o", QFile::encodeName(script),
        dir + "/\xff\xfe.mkv", QFile::encodeName(good)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"\\xff\\xfe.mkv\": the name is not valid UTF-8"_s))
        << r.err.toStdString();
    const QString text = QString::fromUtf8(TestSupport::ReadFile(script));
    EXPECT_TRUE(text.contains(u"good.mkv"_s));
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));

    // A path option is refused outright.
    r = RawCli::Run({"--ffmpeg", fake, "convert", "--out-dir", folder, QFile::encodeName(good)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"--out-dir: \""_s + escapedDir + u"\" is not valid UTF-8"_s))
        << r.err.toStdString();
}

} // namespace
