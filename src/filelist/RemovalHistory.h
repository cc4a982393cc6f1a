#pragma once

#include "filelist/FileListRow.h"

#include <cstdint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

// A row taken off the list, with the index it had.
using RemovedRow = std::pair<int, FileListRow>;

// What the last remove, clear or Delete took off the list, for the undo
// command. One step only: a new removal replaces the one kept, an undo
// forgets it.
class RemovalHistory
{
public:
    // Keeps rows as the last removal; an empty removal keeps the one there
    // was. unanalysed: the ids of those rows whose analysis had not started
    // (it was called off with the removal).
    void keep(std::vector<RemovedRow> rows, std::set<uint64_t> unanalysed = {});
    bool canUndo() const { return !m_rows.empty(); }
    // An analysis that ended after its row was removed: the removed row
    // keeps the result, so an undo brings the row back filled and does not
    // analyse it again. False when no kept row has this id.
    bool fill(uint64_t id, const FileAnalysisCells &cells);

    struct Undo
    {
        std::vector<RemovedRow> rows; // lowest old index first
        // The id and file of each of rows still to be analysed.
        std::vector<std::pair<uint64_t, QString>> toAnalyse;
    };
    // Takes the last removal for an undo, without the rows whose files are
    // on listed (added again since: a file is never on the list twice).
    Undo takeUndo(const std::vector<FileListRow> &listed);

private:
    std::vector<RemovedRow> m_rows;
    std::set<uint64_t> m_unanalysed;
};

// Puts undone rows back at the indexes they had, lowest first (so a removed
// block comes back where it was), each at the end when the list is shorter
// now; then renumbers. A model announces each insertion through
// beforeInsert (with the index) and afterInsert.
void RestoreRemovedRows(std::vector<FileListRow> &rows, std::vector<RemovedRow> removed,
    const std::function<void(int at)> &beforeInsert = {},
    const std::function<void()> &afterInsert = {});
