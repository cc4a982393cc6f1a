#include "filelist/ListFileSave.h"

#include "filelist/ListFile.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

QStringList listFilePaths(const std::vector<FileListRow> &rows)
{
    QStringList paths;
    paths.reserve(qsizetype(rows.size()));
    for (const FileListRow &row : rows)
        paths.append(fullFileName(row));
    return paths;
}

bool saveListFile(const QString &path, const QStringList &paths, QString *errorText)
{
    QSaveFile file(path);
    bool ok = !path.isEmpty() && file.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray bytes = EncodeListFile(paths);
        ok = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!ok && errorText)
        *errorText = u"Cannot write \"%1\": %2"_s.arg(path, file.errorString());
    return ok;
}
