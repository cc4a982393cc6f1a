#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One Quillon per user and display. The first start listens on a local
// socket; a later start hands its files over to it and ends, so "Open with
// Quillon" in a file manager adds to the running window.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // The server of this user on this display: a socket in $XDG_RUNTIME_DIR
    // (private to the user) when that is set, else a name in the temporary
    // folder that carries the user id.
    static QString serverName();
    static QString serverName(const QString &runtimeDir, uint userId, const QString &display);

    explicit SingleInstance(const QString &serverName, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Hands paths (absolute: the running instance has another current
    // folder) to the instance that runs already and returns false once it
    // has acknowledged them. Otherwise becomes the running instance and
    // returns true; a socket left by a crashed instance is removed first.
    // Also true, without listening, when neither works: a start must never
    // end without a window.
    bool start(const QStringList &paths, int timeoutMs = 5000);
    bool isListening() const;

Q_SIGNALS:
    // A later start asked to open these files; an empty list only asks to
    // raise the window.
    void openRequested(const QStringList &paths);

private:
    bool handOver(const QStringList &paths, int timeoutMs);
    void acceptConnections();
    void readRequest(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
    QHash<QLocalSocket *, QByteArray> m_pending;
};
