#include "filelist/GridInfo.h"
#include "app/AppInfo.h"
#include "filelist/MainControls.h"
#include "i18n/AppStrings.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<FileListRow> rowsChecked(std::initializer_list<bool> checks)
{
    std::vector<FileListRow> rows;
    for (bool checked : checks) {
        rows.emplace_back();
        rows.back().active = checked;
    }
    return rows;
}

TEST(GridInfo, CountsRowsChecksAndSelection)
{
    const auto rows = rowsChecked({true, false, true, false});
    const TGridInfo grid = GetGridInfo(rows, {1, 2, 7});
    EXPECT_EQ(grid.RowCount, 4);
    EXPECT_EQ(grid.CheckedCount, 2);
    EXPECT_EQ(grid.UncheckedCount, 2);
    EXPECT_EQ(grid.SelectedCount, 2); // row 7 does not exist
    EXPECT_EQ(grid.SelectedCheckedCount, 1);
    EXPECT_EQ(grid.SelectedUncheckedCount, 1);

    TGridInfo cleared = grid;
    ClearGridInfo(cleared);
    EXPECT_EQ(cleared.RowCount + cleared.CheckedCount + cleared.UncheckedCount
            + cleared.SelectedCount + cleared.SelectedCheckedCount + cleared.SelectedUncheckedCount,
        0);
}

QString enabled(const MainControls &c)
{
    QStringList names;
    const std::pair<bool, const char *> flags[] = {
        {c.actConvert, "convert"},
        {c.actSaveBat, "bat"},
        {c.actRemoveChecked, "remove"},
        {c.actClearFileList, "clear"},
        {c.actSaveFileList, "save"},
        {c.actShowHideFileInfo, "info"},
        {c.actInvertSelection, "invert"},
        {c.actCheckAll, "checkAll"},
        {c.actUncheckAll, "uncheckAll"},
        {c.actCheckSelected, "checkSel"},
        {c.actUncheckSelected, "uncheckSel"},
        {c.actExploreDirectory, "explore"},
        {c.outDirControls, "outDir"},
    };
    for (const auto &[on, name] : flags)
        if (on)
            names.append(QLatin1String(name));
    return names.join(u' ');
}

TEST(MainControls, EnableRules)
{
    const TAppStrings strings;
    const struct
    {
        std::vector<FileListRow> rows;
        RowSelection selected;
        QString enabled;
    } cases[] = {
        {{}, {}, u""_s},
        {rowsChecked({false}), {}, u"clear save info invert checkAll"_s},
        {rowsChecked({true}), {}, u"convert bat remove clear save info invert uncheckAll"_s},
        {rowsChecked({true, false, true}), {0},
            u"convert bat remove clear save info invert checkAll uncheckAll uncheckSel"_s},
        {rowsChecked({true, false, true}), {0, 1},
            u"convert bat remove clear save info invert checkAll uncheckAll checkSel uncheckSel"_s},
    };
    for (const auto &[rows, selected, expected] : cases) {
        const MainControls c
            = InitControls(GetGridInfo(rows, selected), std::nullopt, true, false, strings);
        EXPECT_EQ(enabled(c), expected) << rows.size() << " rows";
        EXPECT_EQ(c.windowTitle.has_value(), rows.empty());
        EXPECT_EQ(c.exploreDirectoryCaption, u"Open directory \"\""_s);
    }
    EXPECT_EQ(
        *InitControls({}, std::nullopt, true, false, strings).windowTitle, AppInfo::ProgramTitle());
}

TEST(MainControls, CaptionsAndOutputFolder)
{
    TAppStrings strings;
    const TGridInfo one = GetGridInfo(rowsChecked({true}), {0});
    MainControls c = InitControls(one, u"/home/u/Videos"_s, true, true, strings);
    EXPECT_TRUE(c.actExploreDirectory);
    EXPECT_EQ(c.exploreDirectoryCaption, u"Open directory \"/home/u/Videos\""_s);
    EXPECT_EQ(c.showHideMainWindowCaption, u"Minimize to system tray"_s);
    EXPECT_TRUE(c.outDirControls);
    c = InitControls(one, std::nullopt, false, false, strings);
    EXPECT_FALSE(c.actExploreDirectory);
    EXPECT_EQ(c.showHideMainWindowCaption, u"Show main window"_s);

    EXPECT_EQ(selectedRowWindowTitle(u"/v/a.mkv"_s), AppInfo::ProgramTitle() + u" - /v/a.mkv"_s);
    EXPECT_EQ(selectedRowWindowTitle({}), AppInfo::ProgramTitle());
}

} // namespace
