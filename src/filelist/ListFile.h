#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// List files (".lst"): one media file path per line.

// The text of a list file: UTF-8 or UTF-16 by byte-order mark, otherwise
// UTF-8 (the 8-bit code page of this platform); lines end with CR LF or LF.
// A UTF-8 line that is not valid UTF-8 keeps its odd bytes as
// DecodeLocalName does (app/NonUtf8Names.h).
QStringList DecodeListFile(const QByteArray &bytes);

// A list holds paths: these caps are far above any real list, and keep an
// endless source ("/dev/zero") from exhausting memory.
inline constexpr qint64 MaxListFileBytes = 64 * 1024 * 1024;
inline constexpr qint64 MaxListFileLineBytes = 64 * 1024; // without its LF

// The lines of the list file at path, read to its end in pieces (a pipe or
// a FIFO works as well as a file). False, with a message naming the file in
// *error, when it cannot be read or exceeds one of the caps.
bool ReadListFile(const QString &path, QStringList &lines, QString *error = nullptr);

// The path a line adds: its folder with a trailing "." component and a
// trailing "/" removed, then "/", then its file name. Lines are not
// trimmed; an empty line gives an empty path, a line without folder stays
// relative (to the current folder).
QString ListFileLinePath(const QString &line);

// The bytes of a list file: every path followed by CR LF, UTF-8 without
// byte-order mark (with one only when the first path starts with U+FEFF).
QByteArray EncodeListFile(const QStringList &paths);
