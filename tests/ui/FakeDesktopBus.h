#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace UiTest {

// A private message bus (dbus-daemon) for the test's lifetime, with stand-ins
// for the login manager and the notification service on it.
class FakeDesktopBus
{
public:
    FakeDesktopBus();
    ~FakeDesktopBus();
    bool isRunning() const { return !m_address.isEmpty(); }
    // A connection of the program under test to this bus.
    QDBusConnection clientConnection();

    struct Notification
    {
        QString appName;
        QString summary;
        QString body;
    };
    std::vector<Notification> notifications;
    // The inhibitor locks handed out: what was asked and whether the holder
    // still keeps its descriptor open.
    struct Inhibition
    {
        QStringList request; // what, who, why, mode
        int writeEnd = -1;
    };
    std::vector<Inhibition> inhibitions;
    bool stillHeld(const Inhibition &inhibition) const;

private:
    QProcess m_daemon;
    QString m_address;
    QObject *m_login1 = nullptr;
    QObject *m_notifications = nullptr;
};

// The service objects (in the header for moc).
class FakeLogin1 : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    explicit FakeLogin1(FakeDesktopBus &bus)
        : m_bus(bus)
    { }
public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(
        const QString &what, const QString &who, const QString &why, const QString &mode);

private:
    FakeDesktopBus &m_bus;
};

class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(FakeDesktopBus &bus)
        : m_bus(bus)
    { }
public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &icon,
        const QString &summary, const QString &body, const QStringList &actions,
        const QVariantMap &hints, int timeout);

private:
    FakeDesktopBus &m_bus;
};

} // namespace UiTest
