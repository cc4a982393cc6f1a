#pragma once

#include <sys/types.h>
#include <utility>

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
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

// A close-on-exec pipe whose ends lie above the standard descriptors; 0 or
// the system's error number.
int makePipe(Fd &readEnd, Fd &writeEnd);
int setNonBlocking(int fd);
// A descriptor that becomes readable when the process ends; -1 where the
// kernel has none.
int openPidFd(pid_t pid);
// Writes one byte; false when it could not (the reader has gone: no
// SIGPIPE reaches this process).
bool writeByteWithoutSigpipe(int fd, unsigned char byte);
// Reads a non-blocking descriptor empty.
void drain(int fd);
