#pragma once

#include "conversion/PowerControl.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

// Keeps the system from suspending for idleness while a run is active: the
// login manager's "idle" inhibitor lock (org.freedesktop.login1), held as
// the descriptor it hands out until release(). Where no login manager
// answers, nothing happens.
class IdleInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit IdleInhibitor(
        QDBusConnection bus = QDBusConnection::systemBus(), QObject *parent = nullptr);
    ~IdleInhibitor() override;

    // Asks for the lock without waiting for the answer.
    void acquire(const QString &why);
    void release();
    bool isHeld() const { return m_lock.isValid(); }

Q_SIGNALS:
    // The lock arrived or was released (tests; a status display).
    void heldChanged(bool held);

private:
    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_lock;
    // Counts the requests, so that an answer to one released meanwhile is
    // dropped (and its descriptor closed) at once.
    quint64 m_request = 0;
    bool m_wanted = false;
};

// One desktop notification (org.freedesktop.Notifications); nothing where
// no notification service runs.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    explicit DesktopNotifier(
        QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    void notify(const QString &summary, const QString &body);

private:
    QDBusConnection m_bus;
};

// Switches the computer off through the login manager (login1 PowerOff,
// interactive, so that its permission rules may ask the user), falling back
// to the service manager's command where no login manager answers.
class Login1PowerControl : public IPowerControl
{
public:
    bool powerOff(QString *errorText) override;
};
