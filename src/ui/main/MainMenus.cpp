#include "ui/main/MainMenus.h"

#include "filelist/FileListColumns.h"
#include "i18n/AppStrings.h"
#include "ui/main/MainActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>

namespace {

using C = MainCommand;
// Places in a menu that are not commands.
constexpr auto Separator = MainCommand(-1);
constexpr auto ColumnsMenu = MainCommand(-2);

constexpr int HintMilliseconds = 6000;

// The toolbar: a short caption of its own, the command's text as its hint.
struct ToolButtonInfo
{
    MainCommand command;
    QString TMainModuleStrings::*caption;
    bool imageOnly;
    bool separatorBefore;
};
const ToolButtonInfo ToolButtons[] = {
    {C::actAddFiles, &TMainModuleStrings::btnAdd, false, false},
    {C::actAddFolder, &TMainModuleStrings::btnAddFolder, false, false},
    {C::actRemoveChecked, &TMainModuleStrings::btnRemove, false, false},
    {C::actConvert, &TMainModuleStrings::btnConvert, false, true},
    {C::actShowHideFileInfo, &TMainModuleStrings::btnFileInfo, false, true},
    {C::actShowOptions, &TMainModuleStrings::btnOptions, false, false},
    {C::actGoToHomePage, &TMainModuleStrings::btnHomePage, true, true},
    {C::actStayOnTop, &TMainModuleStrings::btnStayOnTop, true, true},
};

void fill(QMenu *menu, const MainActions &actions, std::initializer_list<MainCommand> items,
    QMenu *columns = nullptr)
{
    for (MainCommand item : items) {
        if (item == Separator)
            menu->addSeparator();
        else if (item == ColumnsMenu)
            menu->addMenu(columns);
        else
            menu->addAction(actions[item]);
    }
}

// The column commands in three groups (general, video, audio), the status
// column last. The i-th command belongs to the i-th column the user may hide.
void fillColumns(QMenu *menu, const QList<QAction *> &columnActions)
{
    qsizetype next = 0;
    for (int c = 0; c < FileListColumnCount && next < columnActions.size(); ++c) {
        if (!fileListColumn(FileListColumn(c)).userMayHide)
            continue;
        if (c == colVideo || c == colAudio || c == colStatus)
            menu->addSeparator();
        menu->addAction(columnActions[next++]);
    }
}

// Menu titles get an accelerator letter (the catalogue has none), so the
// menus open from the keyboard: the first letter not taken yet.
QString withAccelerator(const QString &title, QSet<QChar> &taken)
{
    if (title.contains(u'&'))
        return title;
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar letter = title[i].toLower();
        if (!letter.isLetterOrNumber() || taken.contains(letter))
            continue;
        taken.insert(letter);
        return title.left(i) + u'&' + title.mid(i);
    }
    return title;
}

} // namespace

MainMenus::MainMenus(QMainWindow *window, const MainActions &actions,
    const QList<QAction *> &columnActions, const QList<QAction *> &encoderActions)
{
    QMenuBar *bar = window->menuBar();
    bar->setObjectName(QStringLiteral("tbMainMenu"));
    const auto menu = [window](const char *name) {
        auto *m = new QMenu(window);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    m_mnuFile = menu("mnuFile");
    m_mnuView = menu("mnuView");
    m_mnuColumnsMenu = menu("mnuColumnsMenu");
    m_mnuFileList = menu("mnuFileList");
    m_mnuEncoder = menu("mnuEncoder");
    m_mnuHelp = menu("mnuHelp");
    m_popLv = menu("popLv");
    m_popColumnsSubmenu = menu("popColumnsSubmenu");
    for (QMenu *m : {m_mnuFile, m_mnuView, m_mnuFileList, m_mnuEncoder, m_mnuHelp})
        bar->addMenu(m);

    fill(m_mnuFile, actions,
        {C::actConvert, Separator, C::actSaveBat, Separator, C::actShowOptions, C::actStayOnTop,
            Separator, C::actMinimizeToTray, C::actExit});
    fill(m_mnuView, actions,
        {C::actShowProgressWindow, C::actShowHideFileInfo, Separator, C::actShowHideFormErrors,
            Separator, ColumnsMenu},
        m_mnuColumnsMenu);
    fillColumns(m_mnuColumnsMenu, columnActions);
    fill(m_mnuFileList, actions,
        {C::actAddFiles, C::actAddFolder, C::actRemoveChecked, C::actClearFileList, Separator,
            C::actCheckAll, C::actUncheckAll, C::actInvertSelection, C::actCheckSelected,
            C::actUncheckSelected, C::actCheckFailed, Separator, C::actLoadFileList,
            C::actSaveFileList, Separator, C::actExploreDirectory});
    // The settings panel's own commands, then the tools report.
    m_mnuEncoder->addActions(encoderActions);
    fill(m_mnuEncoder, actions, {Separator, C::actToolsInfo});
    fill(m_mnuHelp, actions,
        {C::actHelp, Separator, C::actGoToHomePage, C::actGoToDonation, C::actGoToFacebook,
            C::actGoToTwitter, Separator, C::actCheckUpdate, Separator, C::actAbout});
    fill(m_popLv, actions,
        {C::actConvert, Separator, C::actAddFiles, C::actAddFolder, C::actRemoveChecked,
            C::actClearFileList, Separator, C::actCheckAll, C::actUncheckAll, C::actInvertSelection,
            C::actCheckSelected, C::actUncheckSelected, C::actCheckFailed, Separator,
            C::actLoadFileList, C::actSaveFileList, Separator, C::actShowHideFileInfo, Separator,
            C::actExploreDirectory, Separator, ColumnsMenu},
        m_popColumnsSubmenu);
    fillColumns(m_popColumnsSubmenu, columnActions);

    m_tbMain = window->addToolBar(QString());
    m_tbMain->setObjectName(QStringLiteral("tbMain"));
    m_tbMain->setMovable(false);
    // The one toolbar is always shown: no menu to hide it.
    m_tbMain->setContextMenuPolicy(Qt::PreventContextMenu);
    m_tbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolButtonInfo &button : ToolButtons) {
        if (button.separatorBefore)
            m_tbMain->addSeparator();
        QAction *action = actions[button.command];
        m_tbMain->addAction(action);
        auto *widget = qobject_cast<QToolButton *>(m_tbMain->widgetForAction(action));
        if (button.imageOnly)
            widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
        widget->setToolTipDuration(HintMilliseconds);
    }
}

void MainMenus::setLang(const TAppStrings &strings, const MainActions &actions)
{
    QSet<QChar> taken;
    const std::pair<QMenu *, const QString *> titles[] = {
        {m_mnuFile, &strings.Main.mnuFile},
        {m_mnuView, &strings.Main.mnuView},
        {m_mnuFileList, &strings.Main.mnuFileList},
        {m_mnuEncoder, &strings.Main.mnuEncoder},
        {m_mnuHelp, &strings.Main.mnuHelp},
    };
    for (const auto &[menu, title] : titles)
        menu->setTitle(withAccelerator(*title, taken));
    m_mnuColumnsMenu->setTitle(strings.Main.mnuColumns);
    m_popColumnsSubmenu->setTitle(strings.Main.mnuColumns);

    for (const ToolButtonInfo &button : ToolButtons) {
        QAction *action = actions[button.command];
        // An empty caption would make Qt show the command's long text. The
        // toolbar takes no Alt+letter of its own: the menus have them.
        const QString own = WithoutMnemonic(strings.Main.*button.caption);
        const QString caption = own.isEmpty() ? WithoutMnemonic(action->text()) : own;
        action->setIconText(caption);
        // Image-only buttons are still named for screen readers.
        m_tbMain->widgetForAction(action)->setAccessibleName(caption);
    }
}

QList<QMenu *> MainMenus::menus() const
{
    return {m_mnuFile, m_mnuView, m_mnuColumnsMenu, m_mnuFileList, m_mnuEncoder, m_mnuHelp, m_popLv,
        m_popColumnsSubmenu};
}
