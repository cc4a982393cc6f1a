#include "ui/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QtEndian>
#include <unistd.h>

namespace {

// A request: this tag, the payload's length (32 bits, big endian), then the
// paths as a QDataStream string list (UTF-16, so any name survives).
constexpr char RequestTag[] = "QLN-OPEN1";
constexpr qsizetype TagSize = sizeof RequestTag - 1;
constexpr qsizetype HeaderSize = TagSize + 4;
// Only the same user can connect; this only bounds a broken client.
constexpr quint32 MaxPayload = 64 * 1024 * 1024;
constexpr char Acknowledged = '\1';

QByteArray encodeRequest(const QStringList &paths)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << paths;
    QByteArray request(RequestTag, TagSize);
    char length[4];
    qToBigEndian(quint32(payload.size()), length);
    request.append(length, 4);
    return request + payload;
}

// The display without its screen number (":0.0" and ":0" are one display),
// reduced to characters that are safe in a file name.
QString displayPart(QString display)
{
    static const QRegularExpression screen(QStringLiteral("(:\\d+)\\.\\d+$"));
    display.replace(screen, QStringLiteral("\\1"));
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]"));
    display.replace(unsafe, QStringLiteral("_"));
    return display.isEmpty() ? QStringLiteral("none") : display;
}

} // namespace

QString SingleInstance::serverName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    return serverName(qEnvironmentVariable("XDG_RUNTIME_DIR"), uint(::getuid()), display);
}

QString SingleInstance::serverName(const QString &runtimeDir, uint userId, const QString &display)
{
    // The temporary folder is shared by every user: there the user id keeps
    // users apart, and the socket is made private to its user (listen()).
    if (QDir::isAbsolutePath(runtimeDir))
        return QDir::cleanPath(runtimeDir)
            + QStringLiteral("/quillon-%1.socket").arg(displayPart(display));
    return QStringLiteral("quillon-%1-%2").arg(userId).arg(displayPart(display));
}

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName)
{ }

SingleInstance::~SingleInstance() = default;

bool SingleInstance::start(const QStringList &paths, int timeoutMs)
{
    // Two starts at the same moment (a file manager opening several files
    // one program each) must not both find no server and both listen.
    const QString lockName = m_serverName.contains(u'/')
        ? m_serverName + QStringLiteral(".lock")
        : QDir::temp().filePath(m_serverName + QStringLiteral(".lock"));
    QLockFile lock(lockName);
    const bool locked = lock.tryLock(timeoutMs);

    if (handOver(paths, timeoutMs))
        return false;

    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered: what is left under the name is a crashed instance's.
    if (locked)
        QLocalServer::removeServer(m_serverName);
    if (!server->listen(m_serverName)) {
        delete server;
        return true;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::handOver(const QStringList &paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const QByteArray request = encodeRequest(paths);
    if (socket.write(request) != request.size())
        return false;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    // Only an answer says the running instance took the files; without one
    // this start opens a window of its own rather than lose them.
    if (!socket.waitForReadyRead(timeoutMs))
        return false;
    return socket.read(1) == QByteArray(1, Acknowledged);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        // Data may have arrived with the connection.
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    QByteArray &buffer = it.value();
    buffer += socket->readAll();
    if (buffer.size() < HeaderSize)
        return;
    const quint32 length = qFromBigEndian<quint32>(buffer.constData() + TagSize);
    if (!buffer.startsWith(QByteArrayView(RequestTag, TagSize)) || length > MaxPayload) {
        m_pending.erase(it);
        socket->disconnectFromServer();
        return;
    }
    if (buffer.size() < HeaderSize + qsizetype(length))
        return;
    QStringList paths;
    QDataStream in(buffer.mid(HeaderSize, length));
    in.setVersion(QDataStream::Qt_6_4);
    in >> paths;
    m_pending.erase(it);
    if (in.status() != QDataStream::Ok) {
        socket->disconnectFromServer();
        return;
    }
    socket->write(QByteArray(1, Acknowledged));
    socket->flush();
    Q_EMIT openRequested(paths);
}
