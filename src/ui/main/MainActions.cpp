#include "ui/main/MainActions.h"

#include "filelist/MainControls.h"
#include "i18n/AppStrings.h"
#include "ui/common/PlainText.h"
#include "ui/main/DesktopIntegration.h"

#include <QAction>
#include <QWidget>

namespace {

enum Flag : unsigned {
    Checkable = 1,
    // The project has no such page yet.
    Hidden = 4,
    // The catalogue entry is the caption only, not the hint.
    CaptionOnly = 8,
};

constexpr auto NoIcon = QStyle::SP_CustomBase;

struct CommandInfo
{
    MainCommand command;
    const char *name;
    // "Module.Key" of the catalogue; text shown as it is when it has no dot.
    const char *caption;
    const char *shortcut; // portable text
    const char *themeIcon;
    QStyle::StandardPixmap fallbackIcon;
    unsigned flags;
};

using C = MainCommand;
using S = QStyle;

// clang-format off
constexpr CommandInfo Commands[] = {
    {C::actConvert, "actConvert", "Main.actConvert", "Ctrl+E", "media-playback-start", S::SP_MediaPlay, 0},
    {C::actSaveBat, "actSaveBat", "Main.actSaveBAT", "", "document-save-as", S::SP_DialogSaveButton, 0},
    {C::actShowOptions, "actShowOptions", "Main.actShowOptions", "F12", "preferences-system", S::SP_FileDialogDetailedView, 0},
    {C::actStayOnTop, "actStayOnTop", "Main.actStayOnTop", "", "go-top", S::SP_ArrowUp, Checkable},
    {C::actMinimizeToTray, "actMinimizeToTray", "Main.actMinimizeToTray", "Ctrl+Shift+M", "go-down", S::SP_TitleBarMinButton, 0},
    {C::actExit, "actExit", "Main.actExit", "Ctrl+Q", "application-exit", S::SP_DialogCloseButton, 0},
    {C::actShowProgressWindow, "actShowProgressWindow", "Main.actShowProgressWindow", "F8", "", NoIcon, 0},
    {C::actShowHideFileInfo, "actShowHideFileInfo", "Main.actShowHideFileInfo", "F10", "document-properties", S::SP_FileDialogInfoView, 0},
    {C::actShowHideFormErrors, "actShowHideFormErrors", "Main.actShowHideFormErrors", "F11", "", NoIcon, 0},
    {C::actAddFiles, "actAddFiles", "Main.actAddFiles", "Ctrl+O", "list-add", S::SP_FileIcon, 0},
    {C::actAddFolder, "actAddFolder", "Main.actAddFolder", "Ctrl+F", "folder-new", S::SP_DirIcon, 0},
    {C::actRemoveChecked, "actRemoveChecked", "Main.actRemoveChecked", "", "list-remove", S::SP_TrashIcon, 0},
    {C::actClearFileList, "actClearFileList", "Main.actClearFileList", "", "edit-clear", S::SP_DialogResetButton, 0},
    {C::actCheckAll, "actCheckAll", "Main.actCheckAll", "Ctrl+A", "", NoIcon, 0},
    {C::actUncheckAll, "actUncheckAll", "Main.actUncheckAll", "", "", NoIcon, 0},
    {C::actInvertSelection, "actInvertSelection", "Main.actInvertSelection", "Ctrl+I", "", NoIcon, 0},
    {C::actCheckSelected, "actCheckSelected", "Main.actCheckSelected", "", "", NoIcon, 0},
    {C::actUncheckSelected, "actUncheckSelected", "Main.actUncheckSelected", "", "", NoIcon, 0},
    {C::actLoadFileList, "actLoadFileList", "Main.actLoadFileList", "Ctrl+Shift+O", "document-open", S::SP_DialogOpenButton, 0},
    {C::actSaveFileList, "actSaveFileList", "Main.actSaveFileList", "Ctrl+Shift+S", "document-save", S::SP_DialogSaveButton, 0},
    {C::actExploreDirectory, "actExploreDirectory", "Main.actExploreDirectory", "", "folder-open", S::SP_DirOpenIcon, 0},
    {C::actCheckFailed, "actCheckFailed", "Main.actCheckFailed", "", "view-refresh", S::SP_BrowserReload, 0},
    {C::actToolsInfo, "actToolsInfo", "Main.actToolsInfo", "Ctrl+Shift+I", "", NoIcon, 0},
    {C::actHelp, "actHelp", "Main.mnuHelp", "F1", "help-contents", S::SP_DialogHelpButton, 0},
    {C::actGoToHomePage, "actGoToHomePage", "Main.actGoToHomePage", "", "go-home", S::SP_DirHomeIcon, 0},
    {C::actGoToDonation, "actGoToDonation", "About.Donation", "", "", NoIcon, Hidden},
    {C::actGoToFacebook, "actGoToFacebook", "Facebook", "", "", NoIcon, Hidden},
    {C::actGoToTwitter, "actGoToTwitter", "Twitter", "", "", NoIcon, Hidden},
    {C::actCheckUpdate, "actCheckUpdate", "Main.actCheckUpdate", "Ctrl+Shift+U", "system-software-update", S::SP_BrowserReload, 0},
    {C::actAbout, "actAbout", "Main.actAbout", "Ctrl+Shift+F1", "help-about", S::SP_MessageBoxInformation, 0},
    {C::actShowHideMainWindow, "actShowHideMainWindow", "Main.actMinimizeToTray", "", "", NoIcon, 0},
    {C::actBrowseOutDir, "actBrowseOutDir", "Main.actBrowseOutDir", "", "", NoIcon, 0},
    {C::actExploreOutDir, "actExploreOutDir", "Main.actExploreOutDir", "", "", NoIcon, 0},
    {C::actEsc, "actEsc", "", "Esc", "", NoIcon, 0},
    // Nothing is attached to it; its key F9 stays free.
    {C::actShowHideBottomPanel, "actShowHideBottomPanel", "Main.actShowHideBottomPanel", "", "", NoIcon, 0},
};
// clang-format on

static_assert(std::size(Commands) == MainCommandCount);
constexpr bool inTableOrder()
{
    for (int i = 0; i < MainCommandCount; ++i)
        if (Commands[i].command != MainCommand(i))
            return false;
    return true;
}
static_assert(inTableOrder());

// The commands the enable-rule pass decides.
struct EnableRule
{
    MainCommand command;
    bool MainControls::*enabled;
};
constexpr EnableRule EnableRules[] = {
    {C::actConvert, &MainControls::actConvert},
    {C::actSaveBat, &MainControls::actSaveBat},
    {C::actRemoveChecked, &MainControls::actRemoveChecked},
    {C::actClearFileList, &MainControls::actClearFileList},
    {C::actSaveFileList, &MainControls::actSaveFileList},
    {C::actShowHideFileInfo, &MainControls::actShowHideFileInfo},
    {C::actInvertSelection, &MainControls::actInvertSelection},
    {C::actCheckAll, &MainControls::actCheckAll},
    {C::actUncheckAll, &MainControls::actUncheckAll},
    {C::actCheckSelected, &MainControls::actCheckSelected},
    {C::actUncheckSelected, &MainControls::actUncheckSelected},
    {C::actExploreDirectory, &MainControls::actExploreDirectory},
    {C::actBrowseOutDir, &MainControls::outDirControls},
    {C::actExploreOutDir, &MainControls::outDirControls},
};

QString captionText(const CommandInfo &info, const TAppStrings &strings)
{
    const QLatin1String caption(info.caption);
    if (!caption.contains(u'.'))
        return caption;
    const QString *entry = strings.find(QString(caption));
    return entry ? *entry : QString();
}

void setCaptionAndHint(QAction *action, const QString &text, bool withHint)
{
    action->setText(text);
    if (withHint) {
        action->setToolTip(WithoutMnemonic(text));
        action->setStatusTip(WithoutMnemonic(text));
    }
}

// A caption that shows a folder ("&&" in it already): "<i>" in a name is
// not markup in the hint.
void setDataCaptionAndHint(QAction *action, const QString &text)
{
    action->setText(text);
    action->setToolTip(PlainToolTip(WithoutMnemonic(text)));
    action->setStatusTip(WithoutMnemonic(text));
}

} // namespace

MainActions::MainActions(QWidget *window)
{
    for (const CommandInfo &info : Commands) {
        auto *action = new QAction(window);
        action->setObjectName(QLatin1String(info.name));
        if (*info.shortcut)
            action->setShortcut(
                QKeySequence::fromString(QLatin1String(info.shortcut), QKeySequence::PortableText));
        if (*info.themeIcon) {
            action->setIcon(info.fallbackIcon == NoIcon
                    ? QIcon::fromTheme(QLatin1String(info.themeIcon))
                    : Desktop::themeIcon(QLatin1String(info.themeIcon), info.fallbackIcon));
        }
        action->setCheckable(info.flags & Checkable);
        // A held key runs a command once: repeats would open and close a
        // window, or flip the checks, in turn.
        action->setAutoRepeat(false);
        action->setVisible(!(info.flags & Hidden));
        m_actions[size_t(info.command)] = action;
    }
    // Their pictures are a pale outline (Convert) or dark on a dark face;
    // drawn in the palette's button text they read as enabled or disabled
    // in either palette.
    m_actions[size_t(C::actConvert)]->setIcon(
        Desktop::tintedThemeIcon(QStringLiteral("media-playback-start"), QStyle::SP_MediaPlay));
    m_actions[size_t(C::actAbout)]->setIcon(
        Desktop::tintedThemeIcon(QStringLiteral("help-about"), QStyle::SP_MessageBoxInformation));
    // Part of the window, so the shortcuts work whether or not a menu shows
    // the command.
    for (QAction *action : m_actions)
        window->addAction(action);
    // The keys that show and hide a window work in every window of the
    // program, that window itself included.
    for (const MainCommand command :
        {C::actShowHideFileInfo, C::actShowHideFormErrors, C::actShowProgressWindow})
        m_actions[size_t(command)]->setShortcutContext(Qt::ApplicationShortcut);
}

void MainActions::setLang(const TAppStrings &strings)
{
    for (const CommandInfo &info : Commands)
        setCaptionAndHint(m_actions[size_t(info.command)], captionText(info, strings),
            !(info.flags & CaptionOnly));
}

void MainActions::apply(const MainControls &controls)
{
    for (const EnableRule &rule : EnableRules)
        setEnabled(rule.command, controls.*rule.enabled);
    setDataCaptionAndHint((*this)[C::actExploreDirectory], controls.exploreDirectoryCaption);
    setCaptionAndHint((*this)[C::actShowHideMainWindow], controls.showHideMainWindowCaption, true);
}

void MainActions::disableAll()
{
    for (QAction *action : m_actions)
        action->setEnabled(false);
}

void MainActions::enableAll()
{
    for (QAction *action : m_actions)
        action->setEnabled(true);
}

void MainActions::setEnabled(MainCommand command, bool on)
{
    m_actions[size_t(command)]->setEnabled(on);
}
