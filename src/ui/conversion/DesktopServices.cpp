#include "ui/conversion/DesktopServices.h"

#include "app/AppInfo.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString Login1Service = QStringLiteral("org.freedesktop.login1");
const QString Login1Path = QStringLiteral("/org/freedesktop/login1");
const QString Login1Manager = QStringLiteral("org.freedesktop.login1.Manager");

} // namespace

IdleInhibitor::IdleInhibitor(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{ }

IdleInhibitor::~IdleInhibitor() = default;

void IdleInhibitor::acquire(const QString &why)
{
    m_wanted = true;
    if (m_lock.isValid() || !m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        Login1Service, Login1Path, Login1Manager, QStringLiteral("Inhibit"));
    call << QStringLiteral("idle") << QLatin1String(AppInfo::ProgramName) << why
         << QStringLiteral("block");
    const quint64 request = ++m_request;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, request](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
            // The descriptor closes with the last copy of it: an answer that
            // comes after the run ended is let go at once.
            if (reply.isError() || request != m_request || !m_wanted)
                return;
            m_lock = reply.value();
            if (m_lock.isValid())
                Q_EMIT heldChanged(true);
        });
}

void IdleInhibitor::release()
{
    m_wanted = false;
    ++m_request;
    if (!m_lock.isValid())
        return;
    m_lock = QDBusUnixFileDescriptor();
    Q_EMIT heldChanged(false);
}

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{ }

void DesktopNotifier::notify(const QString &summary, const QString &body)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage call
        = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QLatin1String(AppInfo::ProgramName) << uint(0) << QStringLiteral("video-x-generic")
         << summary << body << QStringList() << QVariantMap() << int(-1);
    // No answer is waited for: a desktop without the service simply has no
    // notification.
    m_bus.asyncCall(call);
}

bool Login1PowerControl::powerOff(QString *errorText)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            Login1Service, Login1Path, Login1Manager, QStringLiteral("PowerOff"));
        call << true;
        const QDBusMessage reply = bus.call(call, QDBus::Block, 60000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
        const QString name = reply.errorName();
        // Any answer of the login manager is its decision (a refusal by its
        // rules included); only its absence leaves the decision to systemctl.
        if (name != QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
            && name != QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            if (errorText)
                *errorText = reply.errorMessage().isEmpty() ? name : reply.errorMessage();
            return false;
        }
    }
    return SystemPowerControl().powerOff(errorText);
}
