#include "app/FileLocations.h"

#include "app/ProgramDir.h"

#include <QDir>
#include <QFileInfo>

FileLocations LocateFiles(const QString &programDir, const QProcessEnvironment &env)
{
    const QString dir = NormalizeDirPath(programDir);
    FileLocations l;
    l.programDir = dir;
    l.settingsFile = JoinPath(dir, QStringLiteral("quillon.ini"));
    l.profilesDir = JoinPath(dir, QStringLiteral("profiles"));
    l.langDir = JoinPath(dir, QStringLiteral("lang"));
    l.dataDir = JoinPath(dir, QStringLiteral("data"));
    l.reportsDir = l.dataDir;
    l.toolsDir = JoinPath(dir, QStringLiteral("tools"));
    l.cacheDir = UserCacheDir(env);
    return l;
}

QString ReportSaveFolder(const FileLocations &locations, const QProcessEnvironment &env)
{
    const QFileInfo reports(locations.reportsDir);
    if (!locations.reportsDir.isEmpty() && reports.isDir() && reports.isWritable())
        return locations.reportsDir;
    const QString home = env.value(QStringLiteral("HOME"));
    return QDir::isAbsolutePath(home) ? QDir::cleanPath(home) : QString();
}

QString UserCacheDir(const QProcessEnvironment &env)
{
    // A relative XDG_CACHE_HOME is invalid and must be ignored.
    const QString xdg = env.value(QStringLiteral("XDG_CACHE_HOME"));
    if (QDir::isAbsolutePath(xdg))
        return JoinPath(NormalizeDirPath(QDir::cleanPath(xdg)), QStringLiteral("quillon"));
    const QString home = env.value(QStringLiteral("HOME"));
    if (QDir::isAbsolutePath(home))
        return JoinPath(NormalizeDirPath(QDir::cleanPath(home)), QStringLiteral(".cache/quillon"));
    return {};
}
