#pragma once

#include "filelist/GridInfo.h"

#include <QString>
#include <optional>

struct TAppStrings;

// What the enable-rule pass of the main window decides (outside a
// conversion; during one the window disables everything). Commands not
// listed here are always enabled.
struct MainControls
{
    bool actConvert = false; // btnConvert follows it
    bool actSaveBat = false;
    bool actRemoveChecked = false;
    bool actClearFileList = false;
    bool actSaveFileList = false;
    bool actShowHideFileInfo = false;
    bool actInvertSelection = false;
    bool actCheckAll = false;
    bool actUncheckAll = false;
    bool actCheckSelected = false;
    bool actUncheckSelected = false;
    bool actExploreDirectory = false;
    // edOutDir, actBrowseOutDir and actExploreOutDir.
    bool outDirControls = false;
    // Caption and hint of actExploreDirectory and of actShowHideMainWindow.
    QString exploreDirectoryCaption;
    QString showHideMainWindowCaption;
    // Set when the list is empty: the program title comes back (a
    // conversion may have changed it); otherwise the title stays.
    std::optional<QString> windowTitle;
};

// selectedDirectory: the folder of the selected row, nothing when no valid
// row is selected.
MainControls InitControls(const TGridInfo &grid, const std::optional<QString> &selectedDirectory,
    bool mainWindowVisible, bool rbOutDir, const TAppStrings &strings);

// The caption when the selection rests on a row: the program title, then
// " - " and the row's full file name when there is one.
QString selectedRowWindowTitle(const QString &fullFileName);
