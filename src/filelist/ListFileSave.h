#pragma once

#include "filelist/FileListRow.h"

#include <QString>
#include <QStringList>

// What a saved list holds: every row's full file name in row order, checked
// or not.
QStringList listFilePaths(const std::vector<FileListRow> &rows);

// Writes a list file (see EncodeListFile) in one piece: a temporary file
// beside it, renamed over it once complete, so a failure never leaves half
// a list. Never written over a file the list names (by file identity, so
// also through a link). False with errorText (naming the file) when it is
// refused or cannot be written.
bool saveListFile(const QString &path, const QStringList &paths, QString *errorText = nullptr);
