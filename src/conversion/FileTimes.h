#pragma once

#include <QString>
#include <ctime>
#include <optional>
#include <sys/types.h>

// The times of a file that can be given to another one. Linux file systems
// do not let a program set the creation (birth) time, so it is not among
// them.
struct FileTimes
{
    timespec Access{};
    timespec Modification{};
};

// Which file a name reaches and the state of its content: a file whose
// stamp is unchanged has not been written or replaced in the meantime.
struct FileStamp
{
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modification{};
    timespec Change{};

    bool operator==(const FileStamp &other) const;
};
std::optional<FileStamp> FileStampOf(const QString &path);

// Nothing when the file cannot be examined. Symbolic links are followed.
std::optional<FileTimes> ReadFileTimes(const QString &path);
// Gives path the access and modification times, to the nanosecond.
bool ApplyFileTimes(const QString &path, const FileTimes &times);
