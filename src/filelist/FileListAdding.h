#pragma once

#include "app/FileIdentity.h"
#include "filelist/FileListRow.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// The rules for adding files to the list, without a window. A file is on
// the list when a row has the same device and inode: on Linux, names that
// differ only in case are different files, while links give one file
// several names.

// A file that passed the adding rules, with what a look at it told.
struct FileToAdd
{
    QString path; // absolute and cleaned
    FileFacts facts;
};

// The paths that may be added, in the order given: a supported extension,
// an existing regular file (links followed), neither on the list (same
// device and inode, or the same full name) nor earlier in paths. Relative
// paths are taken against the current folder.
std::vector<FileToAdd> filesToAdd(const std::vector<FileListRow> &rows, const QStringList &paths);

// Whether path names a file of some row, as filesToAdd decides it.
bool IsFileOnList(const std::vector<FileListRow> &rows, const QString &path);

// Appends one checked row per file, numbered after the rows there are, with
// the ids nextId, nextId + 1, ... (nextId is advanced past them).
void appendRows(std::vector<FileListRow> &rows, const std::vector<FileToAdd> &files,
    uint64_t &nextId, const QString &readyText);

// How many levels of subfolders below the chosen one are searched.
inline constexpr int FolderWalkDepth = 20;

// Gets the files found, some at a time, in order.
using FileBatchCallback = std::function<void(const QStringList &files)>;

// The supported files of folder and its subfolders down to FolderWalkDepth
// levels below it, hidden ones included. The folders are taken in the
// order of their paths compared without regard to case, and so are the
// files of each. Symbolic links are followed; a folder already visited
// (same device and inode) is not entered again, so a link loop ends. Runs
// off the window's thread: it stops early, returning false, once cancelled
// is set; the batches handed over until then stand. Supported files whose
// names are not valid UTF-8 cannot be added: onSkipped gets them, per
// folder.
bool walkFolder(const QString &folder, const FileBatchCallback &onBatch,
    const std::atomic<bool> *cancelled = nullptr, int batchSize = 100,
    const FileBatchCallback &onSkipped = {});
// All of them at once.
QStringList folderFiles(const QString &folder);

// What to do with one dropped path.
struct DropStep
{
    enum Kind {
        LoadList, // a ".lst" file
        AddFolder, // a folder, walked as the add-folder command does
        AddFile, // anything else: the adding rules decide
    };
    Kind kind = AddFile;
    QString path;
};

// The dropped paths in the order of their paths compared without regard to
// case, empty ones left out. A folder is walked only with
// dragAcceptDirectories; otherwise it goes the way of a file (and is not
// added).
std::vector<DropStep> planDrop(QStringList paths, bool dragAcceptDirectories,
    const std::function<bool(const QString &)> &isDirectory);
