#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where Quillon's own files live: the one rule every reader and writer of
// the settings file, profiles, language files, data tables, reports and
// caches asks. Today the portable layout: everything beside the program.
struct FileLocations
{
    QString programDir;
    QString settingsFile; // quillon.ini
    QString profilesDir;
    QString langDir;
    QString dataDir; // the data tables shipped with the program
    QString reportsDir; // reports written on request (audio bit rates)
    QString toolsDir;
    QString cacheDir; // what may be thrown away: the user's cache folder
    // The user's own data folder: where a report goes when the program's
    // folder cannot be written (a system-wide installation).
    QString userDataDir;
};

// The locations for a program living in programDir. env gives HOME,
// XDG_CACHE_HOME and XDG_DATA_HOME for the user's folders.
FileLocations LocateFiles(const QString &programDir,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// Where a save dialog for a report the user saves (the error log) starts:
// the reports folder when it is a folder that can be written to, else the
// home folder (a program installed read-only), else empty.
QString ReportSaveFolder(const FileLocations &locations,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// $XDG_CACHE_HOME/quillon when that is an absolute path, else
// $HOME/.cache/quillon; empty without either.
QString UserCacheDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
// $XDG_DATA_HOME/quillon when that is an absolute path, else
// $HOME/.local/share/quillon; empty without either.
QString UserDataDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
