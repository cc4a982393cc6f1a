#include "filelist/GridInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(GridInfo, ClearResetsEveryCounter)
{
    TGridInfo grid{5, 4, 1, 3, 2, 1};
    ClearGridInfo(grid);
    EXPECT_EQ(grid.RowCount + grid.CheckedCount + grid.UncheckedCount + grid.SelectedCount
            + grid.SelectedCheckedCount + grid.SelectedUncheckedCount,
        0);
}

} // namespace
