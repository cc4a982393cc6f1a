#include "filelist/MainControls.h"

#include "app/AppInfo.h"
#include "i18n/AppStrings.h"

using namespace Qt::StringLiterals;

MainControls InitControls(const TGridInfo &grid, const std::optional<QString> &selectedDirectory,
    bool mainWindowVisible, bool rbOutDir, const TAppStrings &strings)
{
    MainControls c;
    if (grid.RowCount == 0)
        c.windowTitle = AppInfo::ProgramTitle();

    const bool hasRows = grid.RowCount > 0;
    const bool hasChecked = grid.CheckedCount > 0;
    c.actSaveFileList = c.actClearFileList = c.actShowHideFileInfo = c.actInvertSelection = hasRows;
    c.actConvert = c.actSaveBat = c.actRemoveChecked = hasChecked;
    c.actCheckAll = hasRows && grid.CheckedCount < grid.RowCount;
    c.actUncheckAll = grid.RowCount >= 1 && grid.UncheckedCount != grid.RowCount;
    c.actCheckSelected = grid.SelectedUncheckedCount > 0;
    c.actUncheckSelected = grid.SelectedCheckedCount > 0;

    c.actExploreDirectory = selectedDirectory.has_value();
    c.exploreDirectoryCaption = FormatAppString(
        strings.Main.actExploreDirectory, LiteralInCaption(selectedDirectory.value_or(QString())));
    c.showHideMainWindowCaption
        = mainWindowVisible ? strings.Main.actMinimizeToTray : strings.Main.actShowMainWindow;
    c.outDirControls = rbOutDir;
    return c;
}

QString selectedRowWindowTitle(const QString &fullFileName)
{
    if (fullFileName.isEmpty())
        return AppInfo::ProgramTitle();
    return AppInfo::ProgramTitle() + u" - "_s + fullFileName;
}
