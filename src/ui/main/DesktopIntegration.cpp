#include "ui/main/DesktopIntegration.h"

#include "filelist/FileListRow.h"
#include "ui/common/Theme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

namespace Desktop {

namespace {

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");

bool fileManagerAvailable(const QDBusConnection &bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    QDBusConnectionInterface *daemon = bus.interface();
    return daemon->isServiceRegistered(FileManagerService).value()
        || daemon->activatableServiceNames().value().contains(FileManagerService);
}

} // namespace

void useCommonIconThemeAsFallback()
{
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == u"hicolor")
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QIcon themeIcon(const QString &name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QIcon tintedThemeIcon(const QString &name, QStyle::StandardPixmap fallback)
{
    const QString symbolic = name + QStringLiteral("-symbolic");
    if (QIcon::hasThemeIcon(symbolic))
        return PaletteTintedIcon(QIcon::fromTheme(symbolic));
    // A coloured picture reads on its own; only a grey one is a glyph.
    const QIcon icon = themeIcon(name, fallback);
    return IsGreyGlyph(icon) ? PaletteTintedIcon(icon) : icon;
}

void openWebPage(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

void openFolder(const QString &folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void openFile(const QString &file)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void showFileInFolder(const QString &file)
{
    const QString folder = directoryOfPath(file);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!fileManagerAvailable(bus)) {
        openFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService,
        QStringLiteral("/org/freedesktop/FileManager1"), FileManagerService,
        QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
    // Asynchronous: a file manager that is slow to start must not freeze
    // the window. One that fails leaves the plain folder to open.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), qApp);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, qApp, [folder](QDBusPendingCallWatcher *w) {
            if (w->isError())
                openFolder(folder);
            w->deleteLater();
        });
}

void setStaysOnTop(QWidget *window, bool on)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        window->show();
}

} // namespace Desktop
