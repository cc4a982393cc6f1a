#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// List files (".lst"): one media file path per line.

// The text of a list file: UTF-8 or UTF-16 by byte-order mark, otherwise
// UTF-8 (the 8-bit code page of this platform); lines end with CR LF or LF.
QStringList DecodeListFile(const QByteArray &bytes);

// The lines of the list file at path; false when it cannot be read.
bool ReadListFile(const QString &path, QStringList &lines);

// The path a line adds: its folder with a trailing "." component and a
// trailing "/" removed, then "/", then its file name. Lines are not
// trimmed; an empty line gives an empty path, a line without folder stays
// relative (to the current folder).
QString ListFileLinePath(const QString &line);

// The bytes of a list file: every path followed by CR LF, UTF-8 without
// byte-order mark.
QByteArray EncodeListFile(const QStringList &paths);
