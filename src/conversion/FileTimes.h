#pragma once

#include <QString>
#include <ctime>
#include <optional>

// The times of a file that can be given to another one. Linux file systems
// do not let a program set the creation (birth) time, so it is not among
// them.
struct TFileTimes
{
    timespec Access{};
    timespec Modification{};
};

// Nothing when the file cannot be examined. Symbolic links are followed.
std::optional<TFileTimes> ReadFileTimes(const QString &path);
// Gives path the access and modification times, to the nanosecond.
bool ApplyFileTimes(const QString &path, const TFileTimes &times);
