#include "process/ConsoleRunner.h"
#include "ConsoleLineCases.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString Helper()
{
    return TestSupport::ToolPath(u"runner_helper"_s);
}

CommandLine HelperWith(const QStringList &actions)
{
    CommandLine command(Helper());
    for (const QString &action : actions)
        command.appendText(u" "_s).appendFileName(action);
    return command;
}

// The helper's own escapes for arbitrary bytes.
QString Escaped(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r')
            text += u"\\r"_s;
        else if (byte == '\n')
            text += u"\\n"_s;
        else if (byte == '\\' || byte < 0x20 || byte > 0x7e)
            text += u"\\x"_s + QString::number(byte, 16).rightJustified(2, u'0');
        else
            text += QChar(byte);
    }
    return text;
}

// The number after "key=" in the first entry that starts with it.
long long ValueOf(const QStringList &output, const QString &key)
{
    for (const QString &entry : output) {
        if (entry.startsWith(key + u'='))
            return entry.mid(key.size() + 1).toLongLong();
    }
    return -1;
}

bool ProcessGone(long long pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// A killed grandchild is reparented to whatever reaps orphans here, which may
// leave it a zombie for a while: dead is what counts.
bool ProcessEnds(long long pid)
{
    for (int waited = 0; waited < 5000; waited += 20) {
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return ProcessGone(pid);
        const QByteArray line = stat.readAll();
        if (line.mid(line.lastIndexOf(')') + 2, 1) == "Z")
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// Calls action on another thread once the helper has printed "ready".
class WhenReady
{
public:
    explicit WhenReady(std::function<void()> action)
        : m_thread([this, action = std::move(action)] {
            while (!m_ready)
                std::this_thread::sleep_for(5ms);
            action();
        })
    { }
    ~WhenReady()
    {
        m_ready = true;
        m_thread.join();
    }
    FlushHook hook()
    {
        return [this](const ConsoleFlush &flush) {
            if (flush.text == u"ready")
                m_ready = true;
        };
    }

private:
    std::atomic<bool> m_ready{false};
    std::thread m_thread;
};

class ConsoleRunnerLines : public testing::TestWithParam<ConsoleLineCase>
{
};

TEST_P(ConsoleRunnerLines, ArriveThroughThePipe)
{
    ConsoleRunner runner;
    QStringList output;
    const uint32_t exitCode
        = runner.RunConsoleApp(HelperWith({u"out:"_s + Escaped(GetParam().bytes)}), &output);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(output, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsoleRunnerLines, testing::ValuesIn(ConsoleLineCases()),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConsoleRunner, MergesStandardErrorInOrder)
{
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(
        HelperWith({u"out:one\\n"_s, u"err:two\\n"_s, u"out:three\\n"_s}), &output);
    EXPECT_EQ(output, QStringList({"one", "two", "three", ""}));
}

TEST(ConsoleRunner, ReportsTheExitCode)
{
    const std::vector<std::pair<QString, uint32_t>> cases{
        {u"exit:0"_s, 0}, {u"exit:7"_s, 7}, {u"exit:255"_s, 255}, {u"signal:15"_s, 128 + 15}};
    ConsoleRunner runner;
    for (const auto &[action, expected] : cases) {
        SCOPED_TRACE(action.toStdString());
        EXPECT_EQ(runner.RunConsoleApp(HelperWith({action}), nullptr), expected);
    }
}

TEST(ConsoleRunner, BlankParametersRunTheProgramAlone)
{
    ConsoleRunner runner;
    QStringList output;
    EXPECT_EQ(runner.RunConsoleApp(CommandLine(Helper(), u"   "_s), &output), 0u);
    EXPECT_EQ(output, QStringList({"no arguments", ""}));
}

TEST(ConsoleRunner, FileNamesArriveAsOneArgumentUnchanged)
{
    const QString nasty = u"-rf \"quoted\" $HOME `touch pwned`; echo 'x' & ü\u4e2d.mkv"_s;
    CommandLine command(Helper(), u"args "_s);
    command.appendFileName(nasty).appendText(u" "_s).appendFileName({});
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(command, &output);
    EXPECT_EQ(output, QStringList({u"arg="_s + nasty, "arg=", ""}));
}

TEST(ConsoleRunner, RunsInTheGivenOrTheProgramFolder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(HelperWith({u"cwd"_s}), &output, {}, folder.path());
    EXPECT_EQ(output.value(0), u"cwd="_s + QFileInfo(folder.path()).canonicalFilePath());

    output.clear();
    runner.RunConsoleApp(HelperWith({u"cwd"_s}), &output);
    const QString testProgram = QFile::symLinkTarget(u"/proc/self/exe"_s);
    EXPECT_EQ(output.value(0), u"cwd="_s + QFileInfo(testProgram).absolutePath());

    // The installed program's default: the user's cache folder, made when
    // first needed.
    const QString cache = QFileInfo(folder.path()).canonicalFilePath() + u"/cache/quillon"_s;
    SetDefaultWorkDir(cache);
    output.clear();
    runner.RunConsoleApp(HelperWith({u"cwd"_s}), &output);
    SetDefaultWorkDir({});
    EXPECT_EQ(output.value(0), u"cwd="_s + cache);
}

TEST(ConsoleRunner, RelativeProgramIsTakenFromOurFolderNotTheChilds)
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(TestSupport::ToolsDir()));
    ConsoleRunner runner;
    QStringList output;
    EXPECT_NO_THROW(
        runner.RunConsoleApp(CommandLine(u"./runner_helper"_s), &output, {}, folder.path()));
    QDir::setCurrent(previous);
    EXPECT_EQ(output.value(0), u"no arguments"_s);
}

TEST(ConsoleRunner, ChildInheritsNoStrayDescriptors)
{
    const int stray = ::open("/dev/null", O_RDONLY); // deliberately without O_CLOEXEC
    ASSERT_GE(stray, 0);
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(HelperWith({u"fds"_s}), &output);
    ::close(stray);
    EXPECT_EQ(output.value(0), u"fds=0,1,2"_s);
}

TEST(ConsoleRunner, ChildRunsInItsOwnProcessGroup)
{
    // The terminal's Ctrl+C goes to our group only; the child must be told
    // to stop by us, not killed by the keyboard.
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(HelperWith({u"pid"_s, u"pgid"_s}), &output);
    const long long pid = ValueOf(output, u"pid"_s);
    EXPECT_GT(pid, 0);
    EXPECT_EQ(ValueOf(output, u"pgid"_s), pid);
    EXPECT_NE(ValueOf(output, u"pgid"_s), static_cast<long long>(::getpgrp()));
}

TEST(ConsoleRunner, DeliversQFromTheLineHandlerAndFromAnotherThread)
{
    ConsoleRunner runner;
    QStringList output;
    const CommandLine command = HelperWith({u"out:ready\\n"_s, u"readq"_s});
    uint32_t exitCode = runner.RunConsoleApp(command, &output, [&](const ConsoleFlush &flush) {
        if (flush.text == u"ready") {
            EXPECT_TRUE(runner.SendToConsoleApp(u"q"_s));
        }
    });
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(output.contains(u"got q"_s));

    output.clear();
    {
        WhenReady sender([&] { EXPECT_TRUE(runner.SendToConsoleApp(u"q"_s)); });
        exitCode = runner.RunConsoleApp(command, &output, sender.hook());
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(output.contains(u"got q"_s));
}

TEST(ConsoleRunner, SendsTheLowByteOfTheCharacter)
{
    ConsoleRunner runner;
    QStringList output;
    runner.RunConsoleApp(HelperWith({u"out:ready\\n"_s, u"readbyte:10000"_s}), &output,
        [&](const ConsoleFlush &flush) {
            if (flush.text == u"ready")
                runner.SendToConsoleApp(QString(QChar(0x0171)));
        });
    EXPECT_TRUE(output.contains(u"byte=71"_s));
}

TEST(ConsoleRunner, NothingToSendToOrStopWithoutAChild)
{
    ConsoleRunner runner;
    EXPECT_FALSE(runner.isRunning());
    EXPECT_FALSE(runner.SendToConsoleApp(u"q"_s));
    EXPECT_FALSE(runner.Terminate());
    runner.RunConsoleApp(HelperWith({u"exit:0"_s}), nullptr);
    EXPECT_FALSE(runner.SendToConsoleApp(u"q"_s));
    EXPECT_FALSE(runner.isRunning());
}

TEST(ConsoleRunner, WritingToAClosedInputFailsQuietly)
{
    sigset_t before;
    pthread_sigmask(SIG_SETMASK, nullptr, &before);
    ConsoleRunner runner;
    bool sent = true;
    runner.RunConsoleApp(HelperWith({u"close-stdin"_s, u"out:ready\\n"_s, u"sleep:300"_s}), nullptr,
        [&](const ConsoleFlush &flush) {
            if (flush.text == u"ready")
                sent = runner.SendToConsoleApp(u"q"_s);
        });
    // Still alive, so SIGPIPE did not end this process.
    EXPECT_FALSE(sent);
    sigset_t after;
    pthread_sigmask(SIG_SETMASK, nullptr, &after);
    EXPECT_EQ(sigismember(&after, SIGPIPE), sigismember(&before, SIGPIPE));
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST(ConsoleRunner, TerminateStopsASilentChild)
{
    ConsoleRunner runner;
    QStringList output;
    bool terminated = false;
    const auto start = std::chrono::steady_clock::now();
    uint32_t exitCode = 0;
    {
        WhenReady stopper([&] {
            std::this_thread::sleep_for(200ms);
            terminated = runner.Terminate();
        });
        // The grandchild stands for the real FFmpeg under a wrapper script.
        exitCode = runner.RunConsoleApp(
            HelperWith({u"pid"_s, u"spawn:30000"_s, u"out:ready\\n"_s, u"sleep:30000"_s}), &output,
            stopper.hook());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(exitCode, ConsoleRunner::TerminatedExitCode);
    EXPECT_TRUE(ProcessGone(ValueOf(output, u"pid"_s)));
    EXPECT_TRUE(ProcessEnds(ValueOf(output, u"grandchild"_s)));
}

TEST(ConsoleRunner, StopRequestKillsAChildThatIgnoresQ)
{
    ConsoleRunner runner;
    QStringList output;
    bool sent = false;
    const auto start = std::chrono::steady_clock::now();
    uint32_t exitCode = 0;
    {
        WhenReady stopper([&] { sent = runner.requestStop(300); });
        exitCode = runner.RunConsoleApp(
            HelperWith({u"spawn:30000"_s, u"out:ready\\n"_s, u"sleep:30000"_s}), &output,
            stopper.hook());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_TRUE(sent);
    EXPECT_EQ(exitCode, ConsoleRunner::TerminatedExitCode);
    EXPECT_TRUE(ProcessEnds(ValueOf(output, u"grandchild"_s)));
}

TEST(ConsoleRunner, StopRequestLetsAChildThatHonoursQFinish)
{
    ConsoleRunner runner;
    QStringList output;
    uint32_t exitCode = 1;
    {
        WhenReady stopper([&] { runner.requestStop(5000); });
        exitCode = runner.RunConsoleApp(
            HelperWith({u"out:ready\\n"_s, u"readq"_s, u"exit:0"_s}), &output, stopper.hook());
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(output.contains(u"got q"_s));
}

TEST(ConsoleRunner, StopRequestedBetweenRunsReachesTheNextRun)
{
    ConsoleRunner runner;
    EXPECT_FALSE(runner.requestStop(5000));
    QStringList output;
    EXPECT_EQ(runner.RunConsoleApp(HelperWith({u"readq"_s}), &output), 0u);
    EXPECT_TRUE(output.contains(u"got q"_s));

    runner.clearStopRequest();
    output.clear();
    runner.RunConsoleApp(HelperWith({u"readbyte:300"_s}), &output);
    EXPECT_TRUE(output.contains(u"byte=none"_s));
}

TEST(ConsoleRunner, PausedChildMakesNoProgressUntilResumed)
{
    QStringList actions{u"out:ready\\n"_s};
    for (int i = 0; i < 20; ++i)
        actions << u"out:tick\\n"_s << u"sleep:25"_s;
    ConsoleRunner runner;
    std::atomic<int> ticks{0};
    int ticksWhenPaused = -1;
    int ticksBeforeResume = -1;
    const auto start = std::chrono::steady_clock::now();
    uint32_t exitCode = 1;
    {
        WhenReady pauser([&] {
            EXPECT_TRUE(runner.pause());
            // Output already in the pipe may still arrive.
            std::this_thread::sleep_for(100ms);
            ticksWhenPaused = ticks;
            std::this_thread::sleep_for(600ms);
            ticksBeforeResume = ticks;
            EXPECT_TRUE(runner.isPaused());
            EXPECT_TRUE(runner.resume());
        });
        const FlushHook ready = pauser.hook();
        exitCode = runner.RunConsoleApp(HelperWith(actions), nullptr, [&](const ConsoleFlush &f) {
            ticks += f.text == u"tick" ? 1 : 0;
            ready(f);
        });
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ticksBeforeResume, ticksWhenPaused);
    EXPECT_LT(ticksWhenPaused, 20);
    EXPECT_EQ(ticks, 20);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 700ms);
    EXPECT_FALSE(runner.isPaused());
}

TEST(ConsoleRunner, StopRequestReachesAPausedChildAndARunStartedPausedStartsStopped)
{
    ConsoleRunner runner;
    QStringList output;
    uint32_t exitCode = 1;
    {
        WhenReady stopper([&] {
            runner.pause();
            std::this_thread::sleep_for(100ms);
            runner.requestStop(5000);
        });
        exitCode = runner.RunConsoleApp(
            HelperWith({u"out:ready\\n"_s, u"readq"_s, u"exit:0"_s}), &output, stopper.hook());
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(output.contains(u"got q"_s));
    EXPECT_FALSE(runner.isPaused());
    runner.clearStopRequest();

    runner.pause();
    std::atomic<bool> printed{false};
    std::thread resumer([&] {
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(printed);
        runner.resume();
    });
    runner.RunConsoleApp(
        HelperWith({u"out:started\\n"_s}), nullptr, [&](const ConsoleFlush &) { printed = true; });
    resumer.join();
    EXPECT_TRUE(printed);
}

TEST(ConsoleRunner, ChildThatOutlivesItsOutputIsReportedStillActiveAndKilled)
{
    ConsoleRunner runner;
    QStringList output;
    const uint32_t exitCode
        = runner.RunConsoleApp(HelperWith({u"pid"_s, u"close-out"_s, u"sleep:30000"_s}), &output);
    EXPECT_EQ(exitCode, ConsoleRunner::StillActiveExitCode);
    EXPECT_TRUE(ProcessGone(ValueOf(output, u"pid"_s)));
}

TEST(ConsoleRunner, GrandchildHoldingTheOutputDoesNotBlockForever)
{
    ConsoleRunner runner;
    QStringList output;
    const auto start = std::chrono::steady_clock::now();
    const uint32_t exitCode
        = runner.RunConsoleApp(HelperWith({u"spawn:30000"_s, u"exit:4"_s}), &output);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_EQ(exitCode, 4u);
    const long long grandchild = ValueOf(output, u"grandchild"_s);
    ASSERT_GT(grandchild, 0);
    ::kill(pid_t(grandchild), SIGKILL);
}

TEST(ConsoleRunner, ExceptionFromTheHookKillsTheChild)
{
    ConsoleRunner runner;
    QStringList output;
    EXPECT_THROW(runner.RunConsoleApp(HelperWith({u"pid"_s, u"sleep:30000"_s}), &output,
                     [](const ConsoleFlush &flush) {
                         if (flush.text.startsWith(u"pid="))
                             throw std::runtime_error("handler failed");
                     }),
        std::runtime_error);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_TRUE(ProcessGone(ValueOf(output, u"pid"_s)));
}

TEST(ConsoleRunner, ProgramThatCannotStartIsReported)
{
    QTemporaryDir folder;
    const QString plainFile = folder.filePath(u"not-a-program"_s);
    ASSERT_TRUE(TestSupport::WriteFile(plainFile, "#!/bin/sh\n"));
    const QString missing = folder.filePath(u"no such program"_s);
    const std::vector<std::tuple<QString, QString, int>> cases{
        {missing, folder.path(), ENOENT},
        {plainFile, folder.path(), EACCES},
        {Helper(), folder.filePath(u"no such folder"_s), ENOENT},
    };
    ConsoleRunner runner;
    for (const auto &[program, workDir, error] : cases) {
        SCOPED_TRACE(program.toStdString());
        try {
            runner.RunConsoleApp(CommandLine(program), nullptr, {}, workDir);
            ADD_FAILURE() << "no error reported";
        } catch (const ConsoleRunError &failure) {
            EXPECT_EQ(failure.errorCode(), error);
            EXPECT_TRUE(failure.message().contains(program));
            EXPECT_TRUE(failure.message().contains(qt_error_string(error)));
        }
        EXPECT_FALSE(runner.isRunning());
    }
    // The runner stays usable.
    EXPECT_EQ(runner.RunConsoleApp(HelperWith({u"exit:3"_s}), nullptr), 3u);
}

TEST(ConsoleRunner, TimeOutKillsAHangingChild)
{
    ConsoleRunner runner;
    QStringList output;
    ConsoleRunOptions options;
    options.timeout = 300ms;
    const auto start = std::chrono::steady_clock::now();
    const uint32_t exitCode
        = runner.RunConsoleApp(HelperWith({u"pid"_s, u"sleep:30000"_s}), &output, {}, {}, options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(exitCode, ConsoleRunner::TerminatedExitCode);
    EXPECT_TRUE(runner.timedOut());
    EXPECT_TRUE(ProcessGone(ValueOf(output, u"pid"_s)));

    // A program that ends in time is not touched, and the flag is per run.
    EXPECT_EQ(runner.RunConsoleApp(HelperWith({u"exit:5"_s}), nullptr, {}, {}, options), 5u);
    EXPECT_FALSE(runner.timedOut());
}

TEST(ConsoleRunner, OutputCapKeepsTheStartExactlyAndReadsOn)
{
    // 3 MB without a line end: far more than a pipe holds, so a runner that
    // stopped reading would hang the child.
    const CommandLine flood = HelperWith({u"out:head\r\n"_s, u"bytes:3000000"_s, u"exit:7"_s});
    ConsoleRunner runner;
    QStringList whole;
    runner.RunConsoleApp(flood, &whole);
    ConsoleRunOptions options;
    options.maxOutputBytes = 100000;
    QStringList kept{u"kept from before"_s};
    int flushes = 0;
    EXPECT_EQ(runner.RunConsoleApp(
                  flood, &kept, [&](const ConsoleFlush &) { ++flushes; }, {}, options),
        7u);
    ASSERT_EQ(kept.takeFirst(), u"kept from before"_s);
    qsizetype bytes = 0;
    for (const QString &entry : std::as_const(kept))
        bytes += entry.toUtf8().size();
    EXPECT_LE(bytes, options.maxOutputBytes);
    EXPECT_GT(bytes, options.maxOutputBytes - ConsoleOutputCollector::MaxLineBytes);
    EXPECT_EQ(kept, whole.mid(0, kept.size()));
    // The hook still sees the whole stream.
    EXPECT_EQ(flushes, whole.size());
}

TEST(ConsoleRunner, LowestPriorityForTheChildOrTheCallingThread)
{
    const int ours = ::getpriority(PRIO_PROCESS, 0);
    ConsoleRunner runner;
    QStringList output;
    ConsoleRunOptions options;
    options.lowestPriority = true;
    runner.RunConsoleApp(HelperWith({u"nice"_s}), &output, {}, {}, options);
    runner.RunConsoleApp(HelperWith({u"nice"_s}), &output);
    EXPECT_EQ(output.value(0), u"nice=19"_s);
    EXPECT_EQ(output.value(2), u"nice="_s + QString::number(ours));

    int lowered = 0;
    std::thread([&] {
        LowerCurrentThreadPriority();
        lowered = ::getpriority(PRIO_PROCESS, id_t(::gettid()));
    }).join();
    EXPECT_EQ(lowered, 19);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), ours);
}

TEST(ConsoleRunner, OneRunAtATime)
{
    ConsoleRunner runner;
    std::atomic<bool> ready{false};
    std::thread first([&] {
        runner.RunConsoleApp(HelperWith({u"out:ready\\n"_s, u"sleep:30000"_s}), nullptr,
            [&](const ConsoleFlush &flush) { ready = ready || flush.text == u"ready"; });
    });
    while (!ready)
        std::this_thread::sleep_for(5ms);
    try {
        runner.RunConsoleApp(HelperWith({u"exit:0"_s}), nullptr);
        ADD_FAILURE() << "second run started";
    } catch (const ConsoleRunError &failure) {
        EXPECT_EQ(failure.errorCode(), EBUSY);
    }
    EXPECT_TRUE(runner.Terminate());
    first.join();
}

} // namespace
