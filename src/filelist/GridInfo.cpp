#include "filelist/GridInfo.h"

void ClearGridInfo(TGridInfo &info)
{
    info = TGridInfo{};
}

TGridInfo GetGridInfo(const std::vector<FileListRow> &rows, const RowSelection &selected)
{
    TGridInfo info;
    info.RowCount = int32_t(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool checked = rows[i].active;
        (checked ? info.CheckedCount : info.UncheckedCount) += 1;
        if (selected.contains(int(i))) {
            info.SelectedCount += 1;
            (checked ? info.SelectedCheckedCount : info.SelectedUncheckedCount) += 1;
        }
    }
    return info;
}
