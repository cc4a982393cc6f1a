#pragma once

#include "app/AppParams.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the shared-tools search looks for: a version file whose section MAIN
// names this tool, bit width and version, with the tool file beside it.
struct ToolDescriptor
{
    QString Tool;
    QString Bits;
    QString Version;
    QString VersionFileName;
    QString FileName;
};

ToolDescriptor FFmpegToolDescriptor();
ToolDescriptor MediaInfoToolDescriptor();

// The inputs of a tool lookup besides TAppParams. An empty ProgramDir skips
// the shared-tools search (an unknown program folder must not turn into a
// search of the whole file system). The folder lists of the system step are
// taken from the environment when not given.
struct ToolLookup
{
    QString ProgramDir;
    std::optional<QStringList> ExecutableDirs;
    std::optional<QStringList> LibraryDirs;
};

// ProgramDir() (for the portable layout only) and the environment.
ToolLookup DefaultToolLookup();

// A usable path or an empty text, stored back into params.ffmpeg /
// params.MediaInfoDll. Tried in order: the current value (made absolute),
// the tools folder, the shared-tools search, the system installation.
QString ResolveFFmpegPath(TAppParams &params);
QString ResolveFFmpegPath(TAppParams &params, const ToolLookup &lookup);
QString ResolveMediaInfoPath(TAppParams &params);
QString ResolveMediaInfoPath(TAppParams &params, const ToolLookup &lookup);

// The shared-tools search: "_common" in the parent of the program folder,
// then the parent itself. A root whose first matching version file lacks
// the tool gives nothing, and the next root is searched.
QString SharedToolsSearch(const QString &programDir, const ToolDescriptor &wanted);
// One root: the tool beside the first matching version file, or empty.
QString SearchToolRoot(const QString &root, const ToolDescriptor &wanted);
// The root and its folders down to maxDepth levels below it, symbolic links
// followed (each real folder once), sorted alphabetically.
QStringList CollectSearchDirs(const QString &root, int maxDepth = 3);

// The system step. PATH entries that are empty or relative are not used:
// they would make the outcome depend on the current folder.
QStringList ExecutableSearchDirs();
QString FindExecutableInDirs(const QString &name, const QStringList &dirs);
// LD_LIBRARY_PATH, then the folders of /etc/ld.so.conf (with its includes),
// then the loader's built-in folders.
QStringList LibrarySearchDirs();
QStringList LibrarySearchDirs(const QString &ldLibraryPath, const QString &ldSoConfPath);
QStringList ReadLdSoConf(const QString &path);
// The real path (links resolved) of the first library of that name whose
// ELF class fits this program; a 32-bit copy in /usr/lib32 would not load.
QString FindLibraryInDirs(const QString &name, const QStringList &dirs);
bool IsLoadableElfClass(const QString &path);
