#include "FakeDesktopBus.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace UiTest {

namespace {
const QString ServiceConnection = QStringLiteral("qln-fake-desktop");
const QString ClientConnection = QStringLiteral("qln-client");
} // namespace

FakeDesktopBus::FakeDesktopBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
            QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
        return;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QDBusConnection service = QDBusConnection::connectToBus(m_address, ServiceConnection);
    m_login1 = new FakeLogin1(*this);
    m_notifications = new FakeNotifications(*this);
    if (!service.isConnected() || !service.registerService(QStringLiteral("org.freedesktop.login1"))
        || !service.registerService(QStringLiteral("org.freedesktop.Notifications"))
        || !service.registerObject(
            QStringLiteral("/org/freedesktop/login1"), m_login1, QDBusConnection::ExportAllSlots)
        || !service.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
            m_notifications, QDBusConnection::ExportAllSlots))
        m_address.clear();
}

FakeDesktopBus::~FakeDesktopBus()
{
    QDBusConnection::disconnectFromBus(ClientConnection);
    QDBusConnection::disconnectFromBus(ServiceConnection);
    delete m_login1;
    delete m_notifications;
    for (const Inhibition &inhibition : inhibitions)
        ::close(inhibition.writeEnd);
    m_daemon.kill();
    m_daemon.waitForFinished();
}

QDBusConnection FakeDesktopBus::clientConnection()
{
    return QDBusConnection::connectToBus(m_address, ClientConnection);
}

bool FakeDesktopBus::stillHeld(const Inhibition &inhibition) const
{
    // Without a reader left, the pipe reports an error to its writer.
    pollfd writer{inhibition.writeEnd, POLLOUT, 0};
    return ::poll(&writer, 1, 0) >= 0 && !(writer.revents & POLLERR);
}

QDBusUnixFileDescriptor FakeLogin1::Inhibit(
    const QString &what, const QString &who, const QString &why, const QString &mode)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    // The descriptor sent holds a copy; only the caller keeps the reader.
    const QDBusUnixFileDescriptor lock(fds[0]);
    ::close(fds[0]);
    m_bus.inhibitions.push_back({{what, who, why, mode}, fds[1]});
    return lock;
}

uint FakeNotifications::Notify(const QString &appName, uint, const QString &,
    const QString &summary, const QString &body, const QStringList &, const QVariantMap &, int)
{
    m_bus.notifications.push_back({appName, summary, body});
    return uint(m_bus.notifications.size());
}

} // namespace UiTest
