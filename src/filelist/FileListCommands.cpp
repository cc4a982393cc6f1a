#include "filelist/FileListCommands.h"

#include <algorithm>

namespace {

void setChecks(std::vector<FileListRow> &rows, const RowSelection &selected, bool checked)
{
    for (int index : selected)
        if (IsValidRowIndex(rows, index))
            rows[index].active = checked;
}

} // namespace

void checkAll(std::vector<FileListRow> &rows)
{
    for (FileListRow &row : rows)
        row.active = true;
}

void uncheckAll(std::vector<FileListRow> &rows)
{
    for (FileListRow &row : rows)
        row.active = false;
}

void invertChecks(std::vector<FileListRow> &rows)
{
    for (FileListRow &row : rows)
        row.active = !row.active;
}

void checkSelected(std::vector<FileListRow> &rows, const RowSelection &selected)
{
    setChecks(rows, selected, true);
}

void uncheckSelected(std::vector<FileListRow> &rows, const RowSelection &selected)
{
    setChecks(rows, selected, false);
}

void RenumNg(std::vector<FileListRow> &rows)
{
    int no = 0;
    for (FileListRow &row : rows)
        row.no = ++no;
}

int GetNgCheckedCount(const std::vector<FileListRow> &rows)
{
    return int(std::count_if(rows.begin(), rows.end(), [](const auto &row) { return row.active; }));
}

int removeChecked(std::vector<FileListRow> &rows)
{
    const auto removed = std::erase_if(rows, [](const FileListRow &row) { return row.active; });
    RenumNg(rows);
    return int(removed);
}

int removeRowsAt(std::vector<FileListRow> &rows, const RowSelection &indexes)
{
    std::vector<FileListRow> kept;
    kept.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        if (!indexes.contains(int(i)))
            kept.push_back(std::move(rows[i]));
    const int removed = int(rows.size() - kept.size());
    rows = std::move(kept);
    RenumNg(rows);
    return removed;
}
