#include "conversion/FileTimes.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

std::optional<TFileTimes> ReadFileTimes(const QString &path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    TFileTimes times;
    times.Access = info.st_atim;
    times.Modification = info.st_mtim;
    return times;
}

bool ApplyFileTimes(const QString &path, const TFileTimes &times)
{
    if (path.isEmpty())
        return false;
    const timespec both[2] = {times.Access, times.Modification};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), both, 0) == 0;
}
