#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The files the program keeps for itself and reads whole (settings,
// profiles, language files, data tables, the tools' version files) are a
// few KB. 8 MB leaves room for any hand-made one while a stray link to a
// disk image or /dev/zero cannot take the start's time or memory.
inline constexpr qint64 MaxSmallFileBytes = 8 * 1024 * 1024;

// The whole content of such a file, or nothing with the reason in error:
// missing, unreadable, not a regular file (a FIFO would block the start, a
// device never end) or larger than MaxSmallFileBytes. Links are followed.
std::optional<QByteArray> ReadSmallFile(const QString &path, QString *error = nullptr);
