#pragma once

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
