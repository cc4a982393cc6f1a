#pragma once

#include <QString>
#include <array>

class QAction;
class QWidget;
struct MainControls;
struct TAppStrings;

// The commands of the main window, in the order of its command table. The
// encoder commands belong to the settings panel, which brings its own.
enum class MainCommand {
    actConvert,
    actSaveBat,
    actShowOptions,
    actStayOnTop,
    actMinimizeToTray,
    actExit,
    actShowProgressWindow,
    actShowHideFileInfo,
    actShowHideFormErrors,
    actAddFiles,
    actAddFolder,
    actRemoveChecked,
    actClearFileList,
    actCheckAll,
    actUncheckAll,
    actInvertSelection,
    actCheckSelected,
    actUncheckSelected,
    actLoadFileList,
    actSaveFileList,
    actExploreDirectory,
    actCheckFailed,
    actToolsInfo,
    actHelp,
    actGoToHomePage,
    actGoToDonation,
    actGoToFacebook,
    actGoToTwitter,
    actCheckUpdate,
    actAbout,
    actShowHideMainWindow,
    actBrowseOutDir,
    actExploreOutDir,
    actEsc,
    actShowHideBottomPanel,
};
inline constexpr int MainCommandCount = int(MainCommand::actShowHideBottomPanel) + 1;

// Every command of the main window as a QAction, made from one table:
// object name, caption and hint from the catalogue, fixed shortcut, icon.
// The actions belong to the window, so their shortcuts work wherever the
// menus place them. Commands whose window or panel has not been built yet
// stay disabled whatever the enable rules say; the social-media and
// donation commands stay hidden.
class MainActions
{
public:
    explicit MainActions(QWidget *window);

    QAction *operator[](MainCommand command) const { return m_actions[size_t(command)]; }

    // SetLang of the commands. The texts that depend on state (open
    // directory, show/hide main window) come with apply().
    void setLang(const TAppStrings &strings);
    // The result of the enable-rule pass.
    void apply(const MainControls &controls);
    // DisableAll during a conversion, and EnableAll after it (the
    // enable-rule pass follows).
    void disableAll();
    void enableAll();

private:
    void setEnabled(MainCommand command, bool on);

    std::array<QAction *, MainCommandCount> m_actions{};
};
