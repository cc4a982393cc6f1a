#pragma once

#include <QList>

class MainActions;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
struct TAppStrings;

// The menu bar with its five menus, the toolbar and the list's context menu
// of the main window, filled with the window's commands.
class MainMenus
{
public:
    // columnActions: the file list's column-visibility commands, in the
    // order of its columns menus.
    MainMenus(QMainWindow *window, const MainActions &actions,
        const QList<QAction *> &columnActions, const QList<QAction *> &encoderActions);

    // Menu titles, and the toolbar's short captions with the commands'
    // long texts as hints.
    void setLang(const TAppStrings &strings, const MainActions &actions);

    QMenu *popLv() const { return m_popLv; }
    QToolBar *toolBar() const { return m_tbMain; }
    // Every menu and submenu: the window runs its enable rules when one opens.
    QList<QMenu *> menus() const;

private:
    QMenu *m_mnuFile = nullptr;
    QMenu *m_mnuView = nullptr;
    QMenu *m_mnuColumnsMenu = nullptr;
    QMenu *m_mnuFileList = nullptr;
    QMenu *m_mnuEncoder = nullptr;
    QMenu *m_mnuHelp = nullptr;
    QMenu *m_popLv = nullptr;
    QMenu *m_popColumnsSubmenu = nullptr;
    QToolBar *m_tbMain = nullptr;
};
