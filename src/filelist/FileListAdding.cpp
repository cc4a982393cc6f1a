#include "filelist/FileListAdding.h"

#include "app/FileIdentity.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "filelist/SupportedExtensions.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <deque>
#include <dirent.h>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// Alphabetical without regard to case; names equal but for case in a fixed
// order all the same.
bool lessIgnoringCase(const QString &a, const QString &b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QString childPath(const QString &dir, const QString &name)
{
    return dir.endsWith(u'/') ? dir + name : dir + u'/' + name;
}

QStringList sortedEntries(const QString &dir, QDir::Filters filters)
{
    QStringList names = QDir(dir).entryList(filters | QDir::Hidden | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

// The supported files of dir whose names are not valid UTF-8, their bytes
// kept as DecodeLocalName keeps them.
QStringList nonUtf8Files(const QString &dir)
{
    QStringList names;
    DIR *stream = ::opendir(QFile::encodeName(dir).constData());
    if (!stream)
        return names;
    // readdir is safe on a stream no other thread shares.
    while (const dirent *entry = ::readdir(stream)) { // NOLINT(concurrency-mt-unsafe)
        const QByteArrayView bytes(entry->d_name);
        if (entry->d_type == DT_DIR
            || std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
            continue;
        const QString name = DecodeLocalName(bytes);
        if (HasNonUtf8Bytes(name) && IsSupportedFile(name))
            names << childPath(dir, name);
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

bool isCancelled(const std::atomic<bool> *cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

// The folders to list, in the order of their paths. Breadth first, so that a folder reached by two
// ways is entered at its shallowest level.
std::vector<QString> foldersToList(const QString &root, const std::atomic<bool> *cancelled)
{
    const std::optional<FileFacts> rootFacts = fileFactsOf(root);
    if (!rootFacts || !rootFacts->isDirectory)
        return {};
    std::vector<QString> folders;
    std::set<FileIdentity> visited{rootFacts->identity};
    std::deque<std::pair<QString, int>> pending{{root, 0}};
    while (!pending.empty() && !isCancelled(cancelled)) {
        const auto [dir, depth] = pending.front();
        pending.pop_front();
        folders.push_back(dir);
        if (depth == FolderWalkDepth)
            continue;
        for (const QString &name : sortedEntries(dir, QDir::Dirs)) {
            const QString sub = childPath(dir, name);
            const std::optional<FileFacts> facts = fileFactsOf(sub);
            if (facts && facts->isDirectory && visited.insert(facts->identity).second)
                pending.emplace_back(sub, depth + 1);
        }
    }
    std::sort(folders.begin(), folders.end(), lessIgnoringCase);
    return folders;
}

} // namespace

void appendRows(std::vector<FileListRow> &rows, const std::vector<FileToAdd> &files,
    uint64_t &nextId, const QString &readyText, const QString &treeRoot)
{
    rows.reserve(rows.size() + files.size());
    const QString root = ExpandFullPath(treeRoot);
    for (const FileToAdd &file : files) {
        FileListRow row = newFileListRow(nextId++, file.path, file.facts.size, readyText);
        row.identity = file.facts.identity;
        row.treeRoot = root;
        row.no = int(rows.size()) + 1;
        rows.push_back(std::move(row));
    }
}

bool walkFolder(const QString &folder, const FileBatchCallback &onBatch,
    const std::atomic<bool> *cancelled, int batchSize, const FileBatchCallback &onSkipped)
{
    QStringList batch;
    for (const QString &dir : foldersToList(ExpandFullPath(folder), cancelled)) {
        if (isCancelled(cancelled))
            break;
        for (const QString &name : sortedEntries(dir, QDir::Files)) {
            if (!IsSupportedFile(name))
                continue;
            batch.append(childPath(dir, name));
            if (batch.size() >= std::max(batchSize, 1)) {
                onBatch(batch);
                batch.clear();
            }
        }
        // QDir leaves out the names it cannot decode; they are told, not
        // dropped silently.
        if (onSkipped)
            if (const QStringList skipped = nonUtf8Files(dir); !skipped.isEmpty())
                onSkipped(skipped);
    }
    if (isCancelled(cancelled))
        return false;
    if (!batch.isEmpty())
        onBatch(batch);
    return true;
}

QStringList folderFiles(const QString &folder)
{
    QStringList files;
    walkFolder(folder, [&](const QStringList &batch) { files += batch; });
    return files;
}

std::vector<DropStep> planDrop(QStringList paths, bool dragAcceptDirectories,
    const std::function<bool(const QString &)> &isDirectory)
{
    paths.removeAll(QString());
    std::vector<DropStep> steps;
    for (const QString &path : std::as_const(paths))
        if (HasNonUtf8Bytes(path))
            steps.push_back({DropStep::NotUtf8, path});
    paths.removeIf(HasNonUtf8Bytes);
    std::sort(paths.begin(), paths.end(), lessIgnoringCase);
    for (const QString &path : paths) {
        const QString name = fileNameOfPath(path);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot >= 0 && name.mid(dot).toUpper() == ".LST"_L1)
            steps.push_back({DropStep::LoadList, path});
        else if (dragAcceptDirectories && isDirectory(path))
            steps.push_back({DropStep::AddFolder, path});
        else
            steps.push_back({DropStep::AddFile, path});
    }
    return steps;
}
