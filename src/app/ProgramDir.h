#pragma once

#include <QString>

// Program folder and the path rules built on it. Paths are joined with "/"
// by plain concatenation, so a folder never carries a trailing separator.

// Removes a trailing "." component ("/opt/q/." -> "/opt/q/"), then one
// trailing "/". A folder whose own name ends in a dot keeps it: on Linux
// "q." and "q" are different folders.
QString NormalizeDirPath(const QString &path);

// base + "/" + relative.
QString JoinPath(const QString &base, const QString &relative);

// Everything before the last "/" of the normalised path; the path itself
// when it has no "/". Like a normalised "/", the file system root comes back
// as the empty text, so JoinPath(ParentDirPath("/q"), "x") is "/x".
QString ParentDirPath(const QString &path);

// The absolute, cleaned form of a path; relative paths are taken against
// the current folder. An empty path stays empty.
QString ExpandFullPath(const QString &path);

// The folder of the running program, set once at start-up (normalised).
void SetProgramDir(const QString &dir);
QString ProgramDir();
