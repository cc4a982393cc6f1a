#include "filelist/ListFileSave.h"

#include "app/SafeSave.h"
#include "filelist/ListFile.h"

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
    return SaveWholeFile(path, EncodeListFile(paths), errorText);
}
