#include "process/SpawnChild.h"

#include "process/ConsoleRunner.h"
#include "process/Pipes.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

QString StartFailureText(const QString &program, const QString &workDir, int error)
{
    return QStringLiteral("Cannot run \"%1\" in the folder \"%2\": %3")
        .arg(program, workDir, qt_error_string(error));
}

namespace {

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

} // namespace

pid_t SpawnChild(const QString &program, const QStringList &arguments, const QString &workDir,
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
        throw ConsoleRunError(program, error, StartFailureText(program, workDir, error));
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
