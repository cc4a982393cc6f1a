#include "process/ConsoleRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Owns one file descriptor.
class Fd
{
public:
    Fd() = default;
    explicit Fd(int fd)
        : m_fd(fd)
    { }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { reset(); }

    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// Descriptors 0 to 2 may be free when the program was started without
// standard handles; a pipe end landing there would be clobbered by the
// redirections of the child.
int moveAboveStandardFds(Fd &fd)
{
    if (fd.get() > 2)
        return 0;
    const int moved = ::fcntl(fd.get(), F_DUPFD_CLOEXEC, 3);
    if (moved < 0)
        return errno;
    fd.reset(moved);
    return 0;
}

int makePipe(Fd &readEnd, Fd &writeEnd)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
    if (int error = moveAboveStandardFds(readEnd))
        return error;
    return moveAboveStandardFds(writeEnd);
}

int setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return errno;
    return 0;
}

int openPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    return fd < 0 ? -1 : int(fd);
#else
    Q_UNUSED(pid);
    return -1;
#endif
}

// Writing to a pipe whose reader has gone raises SIGPIPE, which would end
// this whole program. The signal goes to the writing thread, so blocking it
// here and discarding the one this write raised keeps everything else as it
// was.
bool writeByteWithoutSigpipe(int fd, unsigned char byte)
{
    sigset_t pipeSignal;
    sigset_t oldMask;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &oldMask);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;

    ssize_t written;
    do {
        written = ::write(fd, &byte, 1);
    } while (written < 0 && errno == EINTR);

    if (written < 0 && errno == EPIPE && !wasPending) {
        const timespec noWait{};
        while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) { }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    return written == 1;
}

void drain(int fd)
{
    char scratch[64];
    while (::read(fd, scratch, sizeof scratch) > 0) { }
}

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

QString startFailure(const QString &program, const QString &workDir, int error)
{
    return QStringLiteral("Cannot run \"%1\" in the folder \"%2\": %3")
        .arg(program, workDir, qt_error_string(error));
}

// Everything the child needs, prepared before the fork: between fork and
// exec a child of a threaded program may only make async-signal-safe calls.
struct ChildPlan
{
    const char *path = nullptr;
    char *const *argv = nullptr;
    char *const *envp = nullptr;
    const char *folder = nullptr;
    int stdinFd = -1;
    int outputFd = -1;
    // Close-on-exec: it closes when exec succeeds; otherwise the child
    // writes its errno there.
    int errorFd = -1;
    long maxFd = 0;
    pid_t parent = 0;
    bool lowestPriority = false;
};

[[noreturn]] void failInChild(const ChildPlan &plan, int error)
{
    [[maybe_unused]] const ssize_t written = ::write(plan.errorFd, &error, sizeof error);
    ::_exit(127);
}

void closeRange(unsigned first, unsigned last, long maxFd)
{
    if (first > last)
        return;
    if (::close_range(first, last, 0) == 0)
        return;
    for (long fd = long(first); fd <= std::min(long(last), maxFd); ++fd)
        ::close(int(fd));
}

[[noreturn]] void runChild(const ChildPlan &plan)
{
    // This program's handlers must not run in the child, and signals it
    // ignores (SIGPIPE, say) must not stay ignored across exec.
    struct sigaction byDefault
    {
    };
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal)
        if (signal != SIGKILL && signal != SIGSTOP)
            ::sigaction(signal, &byDefault, nullptr);

    // A process group of its own: Ctrl+C in a terminal is Quillon's Abort
    // ("q", then a hard stop), not a signal that kills FFmpeg mid-file.
    if (::setpgid(0, 0) != 0)
        failInChild(plan, errno);
    // Dies with us, however we end; if we are gone already, the signal
    // would never come.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        failInChild(plan, errno);
    if (::getppid() != plan.parent)
        ::_exit(127);
    if (plan.lowestPriority)
        ::setpriority(PRIO_PROCESS, 0, 19);

    if (::dup2(plan.stdinFd, STDIN_FILENO) < 0 || ::dup2(plan.outputFd, STDOUT_FILENO) < 0
        || ::dup2(plan.outputFd, STDERR_FILENO) < 0)
        failInChild(plan, errno);
    if (::chdir(plan.folder) != 0)
        failInChild(plan, errno);
    // Descriptors other code opened without close-on-exec must not leak
    // into the child (a leaked pipe end would also hide the end of output).
    const auto errorFd = unsigned(plan.errorFd);
    closeRange(STDERR_FILENO + 1, errorFd - 1, plan.maxFd);
    closeRange(errorFd + 1, ~0U, plan.maxFd);

    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    ::execve(plan.path, plan.argv, plan.envp);
    failInChild(plan, errno);
}

// Starts the child with vfork: nothing of this process is copied, and we
// resume once the child has called exec or exited.
pid_t forkChild(const ChildPlan &plan)
{
    // No handler of ours may run in the child before it has reset them.
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    const pid_t pid = ::vfork();
    // The child makes only system calls before exec or _exit, as posix_spawn's
    // own child does, which is what vfork allows.
    if (pid == 0)
        runChild(plan); // NOLINT(clang-analyzer-unix.Vfork)
    const int error = errno;
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = error;
    return pid;
}

pid_t spawnChild(const QString &program, const QStringList &arguments, const QString &workDir,
    int stdinFd, int outputFd, bool lowestPriority)
{
    const QByteArray path = QFile::encodeName(program);
    const QByteArray folder = QFile::encodeName(workDir);
    std::vector<QByteArray> argBytes;
    argBytes.reserve(size_t(arguments.size()) + 1);
    argBytes.push_back(path);
    for (const QString &argument : arguments)
        argBytes.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    argv.reserve(argBytes.size() + 1);
    for (QByteArray &bytes : argBytes)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);

    const auto fail = [&](int error) {
        throw ConsoleRunError(program, error, startFailure(program, workDir, error));
    };
    Fd errorRead, errorWrite;
    if (const int error = makePipe(errorRead, errorWrite))
        fail(error);

    ChildPlan plan;
    plan.path = path.constData();
    plan.argv = argv.data();
    plan.envp = environ;
    plan.folder = folder.constData();
    plan.stdinFd = stdinFd;
    plan.outputFd = outputFd;
    plan.errorFd = errorWrite.get();
    plan.maxFd = std::max(::sysconf(_SC_OPEN_MAX), 1024L);
    plan.parent = ::getpid();
    plan.lowestPriority = lowestPriority;

    const pid_t pid = forkChild(plan);
    if (pid < 0)
        fail(errno);
    errorWrite.reset();
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(errorRead.get(), &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    if (got == 0)
        return pid;
    // The child did not get to exec and has exited (or is about to).
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    fail(got == sizeof childError ? childError : EIO);
    return -1;
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
            throw ConsoleRunError(program, error, startFailure(program, workDir, error));
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
    const pid_t pid = spawnChild(program, command.arguments(), workDir, inRead.get(),
        outWrite.get(), options.lowestPriority);
    // Only the child may hold these, so the output ends when it does.
    outWrite.reset();
    inRead.reset();
    pidFd.reset(openPidFd(pid));
    m_pidFd = pidFd.get();
    {
        std::lock_guard lock(m_mutex);
        m_pid = pid;
        m_inputWriter = inWrite.release();
        m_wakeWriter = wakeWrite.release();
        if (m_paused)
            signalGroupLocked(SIGSTOP);
        if (m_stopRequested) {
            writeInputLocked('q');
            armStopLocked(Clock::now());
        }
    }

    ConsoleOutputCollector collector(Output, onFlush);
    collector.setMaxKeptBytes(options.maxOutputBytes);
    const bool timeLimited = options.timeout > std::chrono::milliseconds::zero();
    bool timeLeft = timeLimited;
    const Clock::time_point deadline = timeLimited ? startedAt + options.timeout : startedAt;
    std::array<char, ReadBufferSize> buffer;
    const auto exitWait = std::chrono::milliseconds(ExitWaitMs);
    bool outputClosed = false;
    bool ended = false;
    Clock::time_point closedAt;
    Clock::time_point endedAt;
    for (;;) {
        const Clock::time_point now = Clock::now();
        std::optional<Clock::time_point> wakeAt;
        auto wakeBy = [&wakeAt](Clock::time_point when) {
            if (!wakeAt || when < *wakeAt)
                wakeAt = when;
        };
        if (!ended) {
            std::lock_guard lock(m_mutex);
            if (timeLeft) {
                if (now >= deadline) {
                    m_timedOut = killLocked();
                    timeLeft = false;
                } else {
                    wakeBy(deadline);
                }
            }
            if (m_stopDeadline) {
                if (now >= *m_stopDeadline) {
                    killLocked();
                    m_stopDeadline.reset();
                } else {
                    wakeBy(*m_stopDeadline);
                }
            }
        }
        if (outputClosed && ended)
            break;
        if (outputClosed) {
            if (now >= closedAt + exitWait)
                break;
            wakeBy(closedAt + exitWait);
        }
        if (ended) {
            // Whoever still holds the output (a grandchild) is not waited for.
            if (now >= endedAt + exitWait)
                break;
            wakeBy(endedAt + exitWait);
        }
        if (!ended && pidFd.get() < 0)
            wakeBy(now + 50ms); // no process descriptor: look for the exit now and then

        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        int outIndex = -1;
        int pidIndex = -1;
        if (!outputClosed) {
            outIndex = int(count);
            fds[count++] = {outRead.get(), POLLIN, 0};
        }
        if (!ended && pidFd.get() >= 0) {
            pidIndex = int(count);
            fds[count++] = {pidFd.get(), POLLIN, 0};
        }
        const int wakeIndex = int(count);
        fds[count++] = {wakeRead.get(), POLLIN, 0};

        int timeoutMs = -1;
        if (wakeAt) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*wakeAt - now).count();
            timeoutMs = int(std::clamp<long long>(left, 0, INT_MAX));
        }
        if (::poll(fds.data(), count, timeoutMs) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }

        if (outIndex >= 0 && fds[size_t(outIndex)].revents != 0) {
            const ssize_t got = ::read(outRead.get(), buffer.data(), buffer.size());
            if (got > 0) {
                collector.feed(buffer.data(), got);
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                // End of stream, or a failing read: either ends the reading.
                outputClosed = true;
                closedAt = Clock::now();
            }
        }
        if (fds[size_t(wakeIndex)].revents != 0)
            drain(wakeRead.get());
        const bool mayHaveEnded
            = pidIndex >= 0 ? fds[size_t(pidIndex)].revents != 0 : pidFd.get() < 0;
        if (!ended && mayHaveEnded && reapIfEnded()) {
            ended = true;
            endedAt = Clock::now();
        }
    }

    uint32_t exitCode = StillActiveExitCode;
    if (ended) {
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
