#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where Quillon's own files live: the one rule every reader and writer of
// the settings file, profiles, language files, data tables, reports and
// caches asks, and the user-facing default folders that follow from it.
//
// Portable: everything beside the program, chosen when data/ or quillon.ini
// lies there (never because the folder is writable: root can write
// /usr/bin). Installed otherwise: lang/ and data/ in the data folder that
// belongs to the program's binary folder (<prefix>/share/quillon for
// <prefix>/bin), the user's files in the XDG base directories.
enum class FileLayout { Portable, Installed };

// The user's guide, one HTML page the build makes and puts in the data folder.
inline constexpr auto HelpFileName = "quillon-help.html";

struct FileLocations
{
    FileLayout layout = FileLayout::Portable;
    QString programDir;
    QString settingsFile; // quillon.ini
    QString configDir; // the folder of settingsFile, created when first saved
    QString profilesDir;
    QString langDir;
    QString dataDir; // the data tables shipped with the program
    QString helpFile; // the user's guide, made at build time, in dataDir
    QString reportsDir; // reports written on request (audio bit rates)
    // Installed: empty. The tools then come from the settings keys and the
    // system, never from a folder next to /usr/bin.
    QString toolsDir;
    QString cacheDir; // what may be thrown away: the user's cache folder
    // The user's own data folder ($XDG_DATA_HOME/quillon), in both layouts.
    QString userDataDir;
    // Where the add-files, list, error-log and script dialogs start, and
    // what Explore opens without an output folder.
    QString defaultDocumentsDir;
    // FFmpeg's working folder when a run names none; may not exist yet.
    QString workDir;
};

bool IsPortableLayout(const QString &programDir);

// The locations for a program living in programDir. env gives HOME and the
// XDG_* variables; a user folder that cannot be worked out (no absolute
// HOME) stays empty, and nothing is written there.
FileLocations LocateFiles(const QString &programDir,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// Where a save dialog for a report the user saves (the error log) starts:
// defaultDocumentsDir, or the home folder for a portable program folder
// that cannot be written to.
QString ReportSaveFolder(const FileLocations &locations,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// The installed data folder of a program in programDir: the relative path
// from the binary folder to <datadir>/quillon that the build was
// configured with, so that no prefix is written into the program.
QString InstalledDataDir(const QString &programDir);

// The base directories, each + "/quillon": $XDG_CACHE_HOME, $XDG_CONFIG_HOME,
// $XDG_DATA_HOME when set to an absolute path (a relative value is invalid
// and ignored), else $HOME/.cache, $HOME/.config, $HOME/.local/share; empty
// without either.
QString UserCacheDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
QString UserConfigDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
QString UserDataDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
