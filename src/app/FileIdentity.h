#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

// A file as the file system knows it: names reaching the same device and
// inode (through symbolic links, hard links, or letter case on a file system
// that ignores it) are the same file.
struct FileIdentity
{
    uint64_t device = 0;
    uint64_t inode = 0;
    auto operator<=>(const FileIdentity &) const = default;
};

// What one stat of a path (following symbolic links) tells.
struct FileFacts
{
    FileIdentity identity;
    bool isFile = false; // a regular file
    bool isDirectory = false;
    int64_t size = 0;
};

// Nothing when nothing (or a dangling link) has this name.
std::optional<FileFacts> fileFactsOf(const QString &path);
std::optional<FileIdentity> fileIdentityOf(const QString &path);
