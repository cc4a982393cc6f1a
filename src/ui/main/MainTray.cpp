#include "ui/main/MainTray.h"

#include "app/AppInfo.h"

#include <QMenu>
#include <QSystemTrayIcon>

MainTray::MainTray(QWidget *window, const QIcon &icon, QAction *showHideMainWindow, QAction *exit)
    : QObject(window)
{
    m_popTi = new QMenu(window);
    m_popTi->setObjectName(QStringLiteral("popTi"));
    m_popTi->addAction(showHideMainWindow);
    m_popTi->addSeparator();
    m_popTi->addAction(exit);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_ti = new QSystemTrayIcon(icon, this);
    m_ti->setToolTip(QLatin1String(AppInfo::ProgramName));
    m_ti->setContextMenu(m_popTi);
    connect(m_ti, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick)
            Q_EMIT clicked();
    });
}

void MainTray::setVisible(bool visible)
{
    if (m_ti)
        m_ti->setVisible(visible);
}
