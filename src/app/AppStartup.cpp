#include "app/AppStartup.h"

#include "app/FileLocations.h"
#include "app/IniFile.h"
#include "app/ProgramDir.h"
#include "app/ToolKeys.h"
#include "process/ConsoleRunner.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString &initialFolderStorage()
{
    static QString folder;
    return folder;
}

} // namespace

TAppParams InitAppParams(const QString &programDir)
{
    const FileLocations where = LocateFiles(programDir);
    ToolLookup lookup = DefaultToolLookup();
    lookup.ProgramDir = where.layout == FileLayout::Portable ? where.programDir : QString();
    SetDefaultWorkDir(where.workDir);
    return InitAppParams(programDir, lookup);
}

TAppParams InitAppParams(const QString &programDir, const ToolLookup &lookup)
{
    TAppParams params = DefaultAppParams(programDir);
    ResolveFFmpegPath(params, lookup);
    ResolveMediaInfoPath(params, lookup);
    if (QFileInfo(params.IniName).isFile()) {
        IniFile ini(params.IniName);
        ini.load();
        ApplyToolKeys(params, ini, lookup);
    }
    return params;
}

bool CheckIniFile(const TAppParams &params)
{
    if (!QFileInfo(params.IniName).isFile())
        return true;
    IniFile ini(params.IniName);
    ini.load();
    return ini.readBool(QStringLiteral("MAIN"), QStringLiteral("Left"), true);
}

QString TempWorkDirName()
{
    return TempWorkDirName(QDir::tempPath(), QDateTime::currentDateTime());
}

QString TempWorkDirName(const QString &tempDir, const QDateTime &now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    const QString stamp = QString::asprintf("%04d-%02d-%02d@%02d_%02d_%02d.%03d", d.year(),
        d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
    return JoinPath(NormalizeDirPath(tempDir), QStringLiteral("Orvane_Quillon_") + stamp);
}

void UpdateInitialFolders(const QString &dir)
{
    initialFolderStorage() = dir;
}

QString InitialFolder()
{
    return initialFolderStorage();
}

bool EnsureProfilesDir(const TAppParams &params)
{
    if (QFileInfo(params.ProfilesDir).isDir())
        return true;
    // Installed, the parents ($XDG_DATA_HOME/quillon) may be missing too.
    return !params.ProfilesDir.isEmpty() && QDir().mkpath(params.ProfilesDir);
}
