#include "process/Pipes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

void Fd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

// Descriptors 0 to 2 may be free when the program was started without
// standard handles; a pipe end landing there would be clobbered by the
// redirections of the child.
namespace {

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

} // namespace

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
