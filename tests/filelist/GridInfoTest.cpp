#include "filelist/GridInfo.h"
#include "app/AppInfo.h"
#include "filelist/MainControls.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// "x-" gives a checked and an unchecked row.
std::vector<FileListRow> rowsChecked(const char *checks)
{
    std::vector<FileListRow> rows;
    for (const char *c = checks; *c; ++c) {
        rows.emplace_back();
        rows.back().active = *c == 'x';
    }
    return rows;
}

TEST(GridInfo, ClearResetsEveryCounter)
{
    TGridInfo grid{5, 4, 1, 3, 2, 1};
    ClearGridInfo(grid);
    EXPECT_EQ(grid.RowCount + grid.CheckedCount + grid.UncheckedCount + grid.SelectedCount
            + grid.SelectedCheckedCount + grid.SelectedUncheckedCount,
        0);
}

QString enabled(const MainControls &c)
{
    const std::pair<bool, const char *> flags[] = {{c.actConvert, "convert"}, {c.actSaveBat, "bat"},
        {c.actRemoveChecked, "remove"}, {c.actClearFileList, "clear"}, {c.actSaveFileList, "save"},
        {c.actShowHideFileInfo, "info"}, {c.actInvertSelection, "invert"}, {c.actCheckAll, "all"},
        {c.actUncheckAll, "none"}, {c.actCheckSelected, "checkSel"},
        {c.actUncheckSelected, "uncheckSel"}, {c.actExploreDirectory, "explore"},
        {c.outDirControls, "outDir"}};
    QString names;
    for (const auto &[on, name] : flags)
        if (on)
            names += QLatin1String(name) + u' ';
    return names.trimmed();
}

TEST(MainControls, EnableRules)
{
    const struct
    {
        const char *checks;
        RowSelection selected;
        QString enabled;
    } cases[] = {
        {"", {}, u""_s},
        {"-", {}, u"clear save info invert all"_s},
        {"x", {}, u"convert bat remove clear save info invert none"_s},
        {"x-x", {0}, u"convert bat remove clear save info invert all none uncheckSel"_s},
        {"x-x", {0, 1},
            u"convert bat remove clear save info invert all none checkSel uncheckSel"_s},
    };
    for (const auto &[checks, selected, expected] : cases) {
        const auto grid = GetGridInfo(rowsChecked(checks), selected);
        const MainControls c = InitControls(grid, std::nullopt, true, false, TAppStrings());
        EXPECT_EQ(enabled(c), expected) << checks;
        EXPECT_EQ(c.windowTitle.value_or(QString()),
            grid.RowCount == 0 ? AppInfo::ProgramTitle() : QString());
        EXPECT_EQ(c.exploreDirectoryCaption, u"O&pen directory \"\""_s);
        EXPECT_EQ(c.showHideMainWindowCaption, u"&Minimize to system tray"_s);
    }

    EXPECT_EQ(GetGridInfo(rowsChecked("x-x"), {0, 1, 7}).SelectedCount, 2);

    const TGridInfo one = GetGridInfo(rowsChecked("-"), {});
    const MainControls c = InitControls(one, u"/home/u/Tom & Jerry"_s, false, true, TAppStrings());
    EXPECT_EQ(enabled(c), u"clear save info invert all explore outDir"_s);
    // The folder's "&" is shown as itself, the caption keeps its Alt+letter.
    EXPECT_EQ(c.exploreDirectoryCaption, u"O&pen directory \"/home/u/Tom && Jerry\""_s);
    EXPECT_EQ(c.showHideMainWindowCaption, u"&Show main window"_s);
    EXPECT_EQ(selectedRowWindowTitle(u"/v/a.mkv"_s), AppInfo::ProgramTitle() + u" - /v/a.mkv"_s);
    EXPECT_EQ(selectedRowWindowTitle({}), AppInfo::ProgramTitle());
}

} // namespace
