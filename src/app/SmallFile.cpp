#include "app/SmallFile.h"

#include "app/TextHelpers.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::optional<QByteArray> ReadSmallFile(const QString &path, QString *error)
{
    const auto fail = [error](const QString &reason) -> std::optional<QByteArray> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name"));
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return fail(SystemErrorText(errno));
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0)
        return fail(SystemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return fail(QStringLiteral("Not a regular file"));
    if (st.st_size > MaxSmallFileBytes)
        return fail(QStringLiteral("Larger than %1 MB").arg(MaxSmallFileBytes / (1024 * 1024)));
    QByteArray bytes;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(SystemErrorText(errno));
        if (got == 0)
            return bytes;
        // The file may have grown since fstat.
        if (bytes.size() + got > MaxSmallFileBytes)
            return fail(QStringLiteral("Larger than %1 MB").arg(MaxSmallFileBytes / (1024 * 1024)));
        bytes.append(chunk, got);
    }
}
