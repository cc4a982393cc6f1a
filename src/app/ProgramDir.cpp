#include "app/ProgramDir.h"

#include "app/NonUtf8Names.h"

#include <QDir>

namespace {

QString &programDirStorage()
{
    static QString dir;
    return dir;
}

} // namespace

QString NormalizeDirPath(const QString &path)
{
    QString result = path;
    if (result == u"." || result.endsWith(u"/."))
        result.chop(1);
    if (result.endsWith(u'/'))
        result.chop(1);
    return result;
}

QString JoinPath(const QString &base, const QString &relative)
{
    return base + u'/' + relative;
}

QString ParentDirPath(const QString &path)
{
    QString base = NormalizeDirPath(path);
    const qsizetype slash = base.lastIndexOf(u'/');
    if (slash < 0)
        return base;
    return NormalizeDirPath(base.left(slash));
}

QString ExpandFullPath(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    // The current folder as its bytes say: a folder name that is not UTF-8
    // must stay recognisable in the names made from it.
    const QString current = CurrentDirName();
    return QDir::cleanPath(
        current.isEmpty() ? QDir::current().absoluteFilePath(path) : current + u'/' + path);
}

void SetProgramDir(const QString &dir)
{
    programDirStorage() = NormalizeDirPath(dir);
}

QString ProgramDir()
{
    return programDirStorage();
}
