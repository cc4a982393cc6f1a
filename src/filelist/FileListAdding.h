#pragma once

#include "filelist/FileListRow.h"
#include "filelist/InputFilter.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// Adding files to the list, without a window: the rows of accepted files
// (which files are accepted is InputFilter's), folder walks and drops.

// Appends one checked row per file, numbered after the rows there are, with
// the ids nextId, nextId + 1, ... (nextId is advanced past them), each with
// treeRoot as the folder it came through.
void appendRows(std::vector<FileListRow> &rows, const std::vector<FileToAdd> &files,
    uint64_t &nextId, const QString &readyText, const QString &treeRoot = {});

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
        NotUtf8, // a name that is not valid UTF-8: reported, never opened
    };
    Kind kind = AddFile;
    QString path;
};

// The dropped names that are not valid UTF-8 first, in the order given (a
// list or a folder of such a name would be another one, or none); then the
// other paths in the order of their paths compared without regard to case,
// empty ones left out. A folder is walked only with
// dragAcceptDirectories; otherwise it goes the way of a file (and is not
// added).
std::vector<DropStep> planDrop(QStringList paths, bool dragAcceptDirectories,
    const std::function<bool(const QString &)> &isDirectory);
