#include "filelist/ListFileSave.h"

#include "app/FileIdentity.h"
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
    if (const std::optional<FileIdentity> target = fileIdentityOf(path)) {
        for (const QString &listed : paths) {
            if (fileIdentityOf(listed) == target) {
                if (errorText)
                    *errorText = u"\"%1\" is one of the files in the list; the list is not "
                                 u"written over it"_s.arg(path);
                return false;
            }
        }
    }
    return SaveWholeFile(path, EncodeListFile(paths), errorText);
}
