#pragma once

#include "filelist/FileListRow.h"

#include <cstdint>

// The six counters of the file list.
struct TGridInfo
{
    int32_t RowCount = 0;
    int32_t CheckedCount = 0;
    int32_t UncheckedCount = 0;
    int32_t SelectedCount = 0;
    int32_t SelectedCheckedCount = 0;
    int32_t SelectedUncheckedCount = 0;
};

void ClearGridInfo(TGridInfo &info);

// The counters of rows with this selection; indexes without a row do not
// count.
TGridInfo GetGridInfo(const std::vector<FileListRow> &rows, const RowSelection &selected);
