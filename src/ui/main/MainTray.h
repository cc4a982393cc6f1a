#pragma once

#include <QObject>

class QAction;
class QIcon;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// The tray icon "ti" with its menu popTi. The icon exists only where the
// desktop has a tray; without one, the window minimizes instead of going
// to the tray.
class MainTray : public QObject
{
    Q_OBJECT
public:
    MainTray(QWidget *window, const QIcon &icon, QAction *showHideMainWindow, QAction *exit);

    bool available() const { return m_ti != nullptr; }
    void setVisible(bool visible);
    QMenu *popTi() const { return m_popTi; }

Q_SIGNALS:
    // A click on the icon (not on its menu).
    void clicked();

private:
    QSystemTrayIcon *m_ti = nullptr;
    QMenu *m_popTi = nullptr;
};
