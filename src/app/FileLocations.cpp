#include "app/FileLocations.h"

#include "app/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace {

// An absolute folder from the environment, normalised; nothing for an unset,
// empty or relative value. The root comes back as "" (see NormalizeDirPath).
std::optional<QString> absoluteDir(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return std::nullopt;
    return NormalizeDirPath(QDir::cleanPath(path));
}

std::optional<QString> homeDir(const QProcessEnvironment &env)
{
    return absoluteDir(env.value(QStringLiteral("HOME")));
}

// The home folder as a folder to show ("/" for the root); empty without an
// absolute HOME.
QString homeFolder(const QProcessEnvironment &env)
{
    const auto home = homeDir(env);
    return home ? (home->isEmpty() ? QStringLiteral("/") : *home) : QString();
}

QString baseDir(const QProcessEnvironment &env, const QString &variable, const QString &fallback)
{
    if (const auto base = absoluteDir(env.value(variable)))
        return JoinPath(*base, QStringLiteral("quillon"));
    if (const auto home = homeDir(env))
        return JoinPath(JoinPath(*home, fallback), QStringLiteral("quillon"));
    return {};
}

// A file name in a folder that may be unknown: no folder, no file.
QString inDir(const QString &dir, const QString &name)
{
    return dir.isEmpty() ? QString() : JoinPath(dir, name);
}

} // namespace

bool IsPortableLayout(const QString &programDir)
{
    const QString dir = NormalizeDirPath(programDir);
    return QFileInfo(JoinPath(dir, QStringLiteral("data"))).isDir()
        || QFileInfo::exists(JoinPath(dir, QStringLiteral("quillon.ini")));
}

QString InstalledDataDir(const QString &programDir)
{
    return NormalizeDirPath(QDir::cleanPath(
        JoinPath(NormalizeDirPath(programDir), QStringLiteral(QLN_INSTALL_DATA_FROM_BIN))));
}

FileLocations LocateFiles(const QString &programDir, const QProcessEnvironment &env)
{
    const QString dir = NormalizeDirPath(programDir);
    FileLocations l;
    l.programDir = dir;
    l.cacheDir = UserCacheDir(env);
    l.userDataDir = UserDataDir(env);
    if (IsPortableLayout(dir)) {
        l.layout = FileLayout::Portable;
        l.settingsFile = JoinPath(dir, QStringLiteral("quillon.ini"));
        l.configDir = dir;
        l.profilesDir = JoinPath(dir, QStringLiteral("profiles"));
        l.langDir = JoinPath(dir, QStringLiteral("lang"));
        l.dataDir = JoinPath(dir, QStringLiteral("data"));
        l.reportsDir = l.dataDir;
        l.helpFile = JoinPath(l.dataDir, QLatin1String(HelpFileName));
        l.toolsDir = JoinPath(dir, QStringLiteral("tools"));
        l.defaultDocumentsDir = dir;
        l.workDir = dir;
        return l;
    }
    l.layout = FileLayout::Installed;
    const QString shared = InstalledDataDir(dir);
    l.langDir = JoinPath(shared, QStringLiteral("lang"));
    l.dataDir = JoinPath(shared, QStringLiteral("data"));
    l.helpFile = JoinPath(l.dataDir, QLatin1String(HelpFileName));
    l.configDir = UserConfigDir(env);
    l.settingsFile = inDir(l.configDir, QStringLiteral("quillon.ini"));
    l.profilesDir = inDir(l.userDataDir, QStringLiteral("profiles"));
    l.reportsDir = l.userDataDir;
    l.defaultDocumentsDir = homeFolder(env);
    l.workDir = l.cacheDir;
    return l;
}

QString ReportSaveFolder(const FileLocations &locations, const QProcessEnvironment &env)
{
    if (locations.layout == FileLayout::Installed)
        return locations.defaultDocumentsDir;
    const QFileInfo documents(locations.defaultDocumentsDir);
    if (!locations.defaultDocumentsDir.isEmpty() && documents.isDir() && documents.isWritable())
        return locations.defaultDocumentsDir;
    return homeFolder(env);
}

QString UserCacheDir(const QProcessEnvironment &env)
{
    return baseDir(env, QStringLiteral("XDG_CACHE_HOME"), QStringLiteral(".cache"));
}

QString UserConfigDir(const QProcessEnvironment &env)
{
    return baseDir(env, QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(".config"));
}

QString UserDataDir(const QProcessEnvironment &env)
{
    return baseDir(env, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share"));
}
