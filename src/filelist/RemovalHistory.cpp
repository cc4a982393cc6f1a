#include "filelist/RemovalHistory.h"

#include "app/ProgramDir.h"
#include "filelist/FileListCommands.h"
#include "filelist/InputFilter.h"

#include <algorithm>

namespace {

void sortByOldIndex(std::vector<RemovedRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(),
        [](const RemovedRow &a, const RemovedRow &b) { return a.first < b.first; });
}

} // namespace

void RemovalHistory::keep(std::vector<RemovedRow> rows, std::set<uint64_t> unanalysed)
{
    if (rows.empty())
        return;
    sortByOldIndex(rows);
    m_rows = std::move(rows);
    m_unanalysed = std::move(unanalysed);
}

bool RemovalHistory::fill(uint64_t id, const FileAnalysisCells &cells)
{
    for (RemovedRow &removed : m_rows) {
        if (removed.second.id == id) {
            removed.second.analysis = cells;
            m_unanalysed.erase(id);
            return true;
        }
    }
    return false;
}

RemovalHistory::Undo RemovalHistory::takeUndo(const std::vector<FileListRow> &listed)
{
    Undo undo;
    const ListedFiles onList(listed);
    for (RemovedRow &removed : std::exchange(m_rows, {})) {
        const QString path = ExpandFullPath(fullFileName(removed.second));
        if (onList.contains(path, fileIdentityOf(path)))
            continue;
        if (m_unanalysed.contains(removed.second.id))
            undo.toAnalyse.emplace_back(removed.second.id, path);
        undo.rows.push_back(std::move(removed));
    }
    m_unanalysed.clear();
    return undo;
}

void RestoreRemovedRows(std::vector<FileListRow> &rows, std::vector<RemovedRow> removed,
    const std::function<void(int at)> &beforeInsert, const std::function<void()> &afterInsert)
{
    sortByOldIndex(removed);
    for (RemovedRow &row : removed) {
        const int at = std::clamp(row.first, 0, int(rows.size()));
        if (beforeInsert)
            beforeInsert(at);
        rows.insert(rows.begin() + at, std::move(row.second));
        if (afterInsert)
            afterInsert();
    }
    if (!removed.empty())
        RenumNg(rows);
}
