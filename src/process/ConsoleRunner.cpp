#include "process/ConsoleRunner.h"

#include "process/Pipes.h"
#include "process/SpawnChild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // No application object (tests, early start-up): ask the kernel.
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return exe.isEmpty() ? QString() : QFileInfo(exe).absolutePath();
}

struct DefaultWorkDir
{
    std::mutex mutex;
    QString dir;
};

DefaultWorkDir &defaultWorkDirStorage()
{
    static DefaultWorkDir storage;
    return storage;
}

QString defaultWorkDir()
{
    QString dir;
    {
        DefaultWorkDir &storage = defaultWorkDirStorage();
        std::lock_guard lock(storage.mutex);
        dir = storage.dir;
    }
    // The user's cache folder of an installed program may not exist yet; a
    // folder that cannot be made falls back to the program's.
    if (!dir.isEmpty() && (QFileInfo(dir).isDir() || QDir().mkpath(dir)))
        return dir;
    return programFolder();
}

} // namespace

ConsoleRunError::ConsoleRunError(const QString &program, int errorCode, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_program(program)
    , m_errorCode(errorCode)
    , m_message(message)
{ }

void SetDefaultWorkDir(const QString &dir)
{
    DefaultWorkDir &storage = defaultWorkDirStorage();
    std::lock_guard lock(storage.mutex);
    storage.dir = dir;
}

ConsoleRunOptions ToolAnswerOptions(std::chrono::milliseconds timeout)
{
    ConsoleRunOptions options;
    options.timeout = timeout;
    options.maxOutputBytes = ToolAnswerMaxBytes;
    return options;
}

void LowerCurrentThreadPriority()
{
    // On Linux the nice value belongs to the thread named by its id.
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), 19);
}

// One run's wait: reads the output, reaps the program when it ends, and
// enforces the time-out and the hard stop after "q", all from one poll.
class ConsoleRunner::Watch
{
public:
    Watch(ConsoleRunner &runner, int outRead, int wakeRead, int pidFd,
        ConsoleOutputCollector &collector)
        : m_runner(runner)
        , m_outRead(outRead)
        , m_wakeRead(wakeRead)
        , m_pidFd(pidFd)
        , m_collector(collector)
    { }

    // Until the program has ended and its output is closed, or ExitWaitMs
    // after either when the other does not follow. True when it ended.
    bool run(std::optional<Clock::time_point> timeout)
    {
        m_timeout = timeout;
        for (;;) {
            const Clock::time_point now = Clock::now();
            m_wakeAt.reset();
            if (!m_ended)
                enforceDeadlines(now);
            if (done(now))
                return m_ended;
            if (!waitOnce(now))
                return m_ended;
        }
    }

private:
    void wakeBy(Clock::time_point when)
    {
        if (!m_wakeAt || when < *m_wakeAt)
            m_wakeAt = when;
    }

    void enforceDeadlines(Clock::time_point now)
    {
        std::lock_guard lock(m_runner.m_mutex);
        if (m_timeout) {
            if (now >= *m_timeout) {
                m_runner.m_timedOut = m_runner.killLocked();
                m_timeout.reset();
            } else {
                wakeBy(*m_timeout);
            }
        }
        std::optional<Clock::time_point> &stop = m_runner.m_stopDeadline;
        if (stop) {
            if (now >= *stop) {
                m_runner.killLocked();
                stop.reset();
            } else {
                wakeBy(*stop);
            }
        }
    }

    bool done(Clock::time_point now)
    {
        const auto exitWait = std::chrono::milliseconds(ExitWaitMs);
        if (m_outputClosed && m_ended)
            return true;
        if (m_outputClosed) {
            if (now >= m_closedAt + exitWait)
                return true;
            wakeBy(m_closedAt + exitWait);
        }
        if (m_ended) {
            // Whoever still holds the output (a grandchild) is not waited for.
            if (now >= m_endedAt + exitWait)
                return true;
            wakeBy(m_endedAt + exitWait);
        }
        if (!m_ended && m_pidFd < 0)
            wakeBy(now + 50ms); // no process descriptor: look for the exit now and then
        return false;
    }

    // One poll and what it found; false when polling itself fails.
    bool waitOnce(Clock::time_point now)
    {
        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        int outIndex = -1;
        int pidIndex = -1;
        if (!m_outputClosed) {
            outIndex = int(count);
            fds[count++] = {m_outRead, POLLIN, 0};
        }
        if (!m_ended && m_pidFd >= 0) {
            pidIndex = int(count);
            fds[count++] = {m_pidFd, POLLIN, 0};
        }
        const int wakeIndex = int(count);
        fds[count++] = {m_wakeRead, POLLIN, 0};

        int timeoutMs = -1;
        if (m_wakeAt) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_wakeAt - now).count();
            timeoutMs = int(std::clamp<long long>(left, 0, INT_MAX));
        }
        if (::poll(fds.data(), count, timeoutMs) < 0)
            return errno == EINTR;

        if (outIndex >= 0 && fds[size_t(outIndex)].revents != 0)
            readOutput();
        if (fds[size_t(wakeIndex)].revents != 0)
            drain(m_wakeRead);
        const bool mayHaveEnded = pidIndex >= 0 ? fds[size_t(pidIndex)].revents != 0 : m_pidFd < 0;
        if (!m_ended && mayHaveEnded && m_runner.reapIfEnded()) {
            m_ended = true;
            m_endedAt = Clock::now();
        }
        return true;
    }

    void readOutput()
    {
        const ssize_t got = ::read(m_outRead, m_buffer.data(), m_buffer.size());
        if (got > 0) {
            m_collector.feed(m_buffer.data(), got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            // End of stream, or a failing read: either ends the reading.
            m_outputClosed = true;
            m_closedAt = Clock::now();
        }
    }

    ConsoleRunner &m_runner;
    const int m_outRead;
    const int m_wakeRead;
    const int m_pidFd;
    ConsoleOutputCollector &m_collector;
    std::optional<Clock::time_point> m_timeout;
    std::optional<Clock::time_point> m_wakeAt;
    std::array<char, ReadBufferSize> m_buffer;
    bool m_outputClosed = false;
    bool m_ended = false;
    Clock::time_point m_closedAt;
    Clock::time_point m_endedAt;
};

uint32_t ConsoleRunner::RunConsoleApp(const CommandLine &command, QStringList *Output,
    const FlushHook &onFlush, const QString &WorkDir, const ConsoleRunOptions &options)
{
    // The child changes its folder before exec, so a relative program path
    // must be fixed against ours first.
    const QString program
        = command.program().isEmpty() ? QString() : QFileInfo(command.program()).absoluteFilePath();
    QString workDir = WorkDir.isEmpty() ? defaultWorkDir() : WorkDir;
    if (workDir.isEmpty())
        workDir = QStringLiteral("/");
    beginRun(program);

    Fd outRead, outWrite, inRead, inWrite, wakeRead, wakeWrite, pidFd;
    // Declared after the descriptors so that it ends the run while they are
    // still open.
    struct RunGuard
    {
        ConsoleRunner *runner;
        ~RunGuard() { runner->endRun(); }
    } guard{this};

    auto check = [&](int error) {
        if (error != 0)
            throw ConsoleRunError(program, error, StartFailureText(program, workDir, error));
    };
    check(makePipe(outRead, outWrite));
    check(makePipe(inRead, inWrite));
    check(makePipe(wakeRead, wakeWrite));
    check(setNonBlocking(outRead.get()));
    // The child's ends stay blocking; ours must not block: a full input
    // pipe must not hang a caller, a stop request must not hang a reader.
    check(setNonBlocking(inWrite.get()));
    check(setNonBlocking(wakeRead.get()));
    check(setNonBlocking(wakeWrite.get()));

    {
        // A run asked for while paused starts once resumed: a child started
        // and stopped at once could still print before the stop reaches it.
        std::unique_lock lock(m_mutex);
        m_resumed.wait(lock, [this] { return !m_paused; });
    }
    const Clock::time_point startedAt = Clock::now();
    const pid_t pid = SpawnChild(program, command.arguments(), workDir, inRead.get(),
        outWrite.get(), options.lowestPriority);
    // Only the child may hold these, so the output ends when it does.
    outWrite.reset();
    inRead.reset();
    pidFd.reset(openPidFd(pid));
    m_pidFd = pidFd.get();
    childStarted(pid, inWrite.release(), wakeWrite.release());

    ConsoleOutputCollector collector(Output, onFlush);
    collector.setMaxKeptBytes(options.maxOutputBytes);
    std::optional<Clock::time_point> timeout;
    if (options.timeout > std::chrono::milliseconds::zero())
        timeout = startedAt + options.timeout;
    Watch watch(*this, outRead.get(), wakeRead.get(), pidFd.get(), collector);
    uint32_t exitCode = StillActiveExitCode;
    if (watch.run(timeout)) {
        std::lock_guard lock(m_mutex);
        exitCode = m_exitCode;
    } else {
        // Still running 5 s after closing its output: reported as still
        // active, and killed so that it does not run on unseen.
        killAndReap(pidFd.get());
    }
    collector.finish();
    return exitCode;
}

void ConsoleRunner::beginRun(const QString &program)
{
    std::lock_guard lock(m_mutex);
    if (m_active)
        throw ConsoleRunError(program, EBUSY,
            QStringLiteral("Cannot run \"%1\": another program is still running").arg(program));
    m_active = true;
    m_pid = 0;
    m_killed = false;
    m_timedOut = false;
    m_exitCode = 0;
}

void ConsoleRunner::childStarted(pid_t pid, int inputWriter, int wakeWriter)
{
    std::lock_guard lock(m_mutex);
    m_pid = pid;
    m_inputWriter = inputWriter;
    m_wakeWriter = wakeWriter;
    if (m_paused)
        signalGroupLocked(SIGSTOP);
    if (m_stopRequested) {
        writeInputLocked('q');
        armStopLocked(Clock::now());
    }
}

bool ConsoleRunner::SendToConsoleApp(const QString &Text)
{
    if (Text.isEmpty())
        return false;
    std::lock_guard lock(m_mutex);
    if (!m_active)
        return false;
    return writeInputLocked(static_cast<unsigned char>(Text.front().unicode() & 0xFF));
}

bool ConsoleRunner::Terminate()
{
    std::lock_guard lock(m_mutex);
    resumeLocked();
    const bool killed = killLocked();
    wakeLocked();
    return killed;
}

bool ConsoleRunner::requestStop(int graceMs)
{
    std::lock_guard lock(m_mutex);
    m_stopRequested = true;
    m_stopGraceMs = std::max(0, graceMs);
    // A stopped program would read "q" only when it goes on.
    resumeLocked();
    if (!m_active)
        return false;
    const bool sent = writeInputLocked('q');
    armStopLocked(Clock::now());
    wakeLocked();
    return sent;
}

void ConsoleRunner::clearStopRequest()
{
    std::lock_guard lock(m_mutex);
    m_stopRequested = false;
    m_stopDeadline.reset();
}

bool ConsoleRunner::stopRequested() const
{
    std::lock_guard lock(m_mutex);
    return m_stopRequested;
}

bool ConsoleRunner::timedOut() const
{
    std::lock_guard lock(m_mutex);
    return m_timedOut;
}

bool ConsoleRunner::isRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_active;
}

bool ConsoleRunner::pause()
{
    std::lock_guard lock(m_mutex);
    m_paused = true;
    return signalGroupLocked(SIGSTOP);
}

bool ConsoleRunner::resume()
{
    std::lock_guard lock(m_mutex);
    const bool wasPaused = m_paused;
    resumeLocked();
    return wasPaused && m_pid != 0;
}

bool ConsoleRunner::isPaused() const
{
    std::lock_guard lock(m_mutex);
    return m_paused;
}

void ConsoleRunner::resumeLocked()
{
    if (!m_paused)
        return;
    m_paused = false;
    m_resumed.notify_all();
    signalGroupLocked(SIGCONT);
}

bool ConsoleRunner::signalGroupLocked(int signal)
{
    // m_pid is the group's leader and stays unreaped until cleared under this
    // lock, so the group's number cannot have been reused.
    return m_pid != 0 && ::kill(-m_pid, signal) == 0;
}

void ConsoleRunner::armStopLocked(Clock::time_point now)
{
    // A repeated request does not move the hard stop further away.
    if (!m_stopDeadline)
        m_stopDeadline = now + std::chrono::milliseconds(m_stopGraceMs);
}

bool ConsoleRunner::writeInputLocked(unsigned char byte)
{
    return m_inputWriter >= 0 && writeByteWithoutSigpipe(m_inputWriter, byte);
}

bool ConsoleRunner::killLocked()
{
    // The whole group: a wrapper script's own children (the real FFmpeg)
    // must not outlive it and keep writing an output already given up.
    if (!signalGroupLocked(SIGKILL))
        return false;
    m_killed = true;
    return true;
}

void ConsoleRunner::wakeLocked()
{
    if (m_wakeWriter >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_wakeWriter, &byte, 1);
    }
}

bool ConsoleRunner::reapIfEnded()
{
    std::lock_guard lock(m_mutex);
    if (m_pid == 0)
        return true;
    int status = 0;
    const pid_t reaped = ::waitpid(m_pid, &status, WNOHANG);
    if (reaped == 0 || (reaped < 0 && errno == EINTR))
        return false;
    const bool ourKill = m_killed && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (reaped > 0 && WIFEXITED(status)) {
        m_exitCode = uint32_t(WEXITSTATUS(status));
    } else if (reaped > 0 && WIFSIGNALED(status) && !ourKill) {
        m_exitCode = uint32_t(128 + WTERMSIG(status));
    } else {
        // Killed by us, or reaped elsewhere (SIGCHLD ignored) so that the
        // status is lost: count the run as failed rather than as a success.
        m_exitCode = TerminatedExitCode;
    }
    m_pid = 0;
    return true;
}

void ConsoleRunner::killAndReap(int pidFd)
{
    pid_t pid = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_pid == 0)
            return;
        killLocked();
        pid = m_pid;
    }
    const Clock::time_point giveUp = Clock::now() + 2s;
    while (!reapIfEnded()) {
        if (Clock::now() >= giveUp) {
            // Stuck in the kernel: a thread of its own reaps it whenever it
            // goes, so no zombie stays behind and the caller does not wait.
            {
                std::lock_guard lock(m_mutex);
                m_pid = 0;
            }
            try {
                std::thread([pid] {
                    int status = 0;
                    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
                }).detach();
            } catch (const std::system_error &) { }
            return;
        }
        if (pidFd >= 0) {
            pollfd ended{pidFd, POLLIN, 0};
            ::poll(&ended, 1, 100);
        } else {
            std::this_thread::sleep_for(10ms);
        }
    }
}

void ConsoleRunner::endRun()
{
    // On an exception the child may still run; it must not outlive the run.
    killAndReap(m_pidFd);
    m_pidFd = -1;
    std::lock_guard lock(m_mutex);
    if (m_inputWriter >= 0)
        ::close(m_inputWriter);
    if (m_wakeWriter >= 0)
        ::close(m_wakeWriter);
    m_inputWriter = -1;
    m_wakeWriter = -1;
    m_pid = 0;
    m_active = false;
    m_stopDeadline.reset();
}
