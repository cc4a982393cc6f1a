#include "conversion/FileTimes.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool sameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

bool FileStamp::operator==(const FileStamp &other) const
{
    return Device == other.Device && Inode == other.Inode && Size == other.Size
        && sameTime(Modification, other.Modification) && sameTime(Change, other.Change);
}

std::optional<FileStamp> FileStampOf(const QString &path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = info.st_size;
    stamp.Modification = info.st_mtim;
    stamp.Change = info.st_ctim;
    return stamp;
}

std::optional<FileTimes> ReadFileTimes(const QString &path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileTimes times;
    times.Access = info.st_atim;
    times.Modification = info.st_mtim;
    return times;
}

bool ApplyFileTimes(const QString &path, const FileTimes &times)
{
    if (path.isEmpty())
        return false;
    const timespec both[2] = {times.Access, times.Modification};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), both, 0) == 0;
}
