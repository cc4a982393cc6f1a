#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QSaveFile;

// Replaces the file at path with bytes as a whole or not at all: the bytes
// are written beside it and renamed over it only when every write, the
// flush and the sync to disk succeeded; on any error the old file stays as
// it was and errorText names the file and the system's reason
// ("Cannot write "/x/list.lst": No space left on device").
// A symbolic link keeps pointing where it did (its target is replaced), an
// existing file keeps its permissions. beforeCommit may adjust the new file
// (a script's run bit); returning false cancels the save.
// Every file the program saves goes through here.
bool SaveWholeFile(const QString &path, const QByteArray &bytes, QString *errorText = nullptr,
    const std::function<bool(QSaveFile &)> &beforeCommit = {});
