#include "app/FileLocations.h"

#include "app/ProgramDir.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The XDG base-directory rule: the variable when it holds an absolute path
// (a relative one is invalid and must be ignored), else the folder below
// HOME; Quillon's own folder inside.
QString xdgUserDir(
    const QProcessEnvironment &env, const QString &variable, const QString &belowHome)
{
    const QString xdg = env.value(variable);
    if (QDir::isAbsolutePath(xdg))
        return JoinPath(NormalizeDirPath(QDir::cleanPath(xdg)), QStringLiteral("quillon"));
    const QString home = env.value(QStringLiteral("HOME"));
    if (QDir::isAbsolutePath(home))
        return JoinPath(NormalizeDirPath(QDir::cleanPath(home)), belowHome);
    return {};
}

} // namespace

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
    l.userDataDir = UserDataDir(env);
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
    return xdgUserDir(env, QStringLiteral("XDG_CACHE_HOME"), QStringLiteral(".cache/quillon"));
}

QString UserDataDir(const QProcessEnvironment &env)
{
    return xdgUserDir(env, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share/quillon"));
}
