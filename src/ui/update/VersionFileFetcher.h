#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <chrono>

class QNetworkAccessManager;

// Downloads the start of the version file without blocking the window:
// no cache, the program's user agent, at most VersionFileMaxBytes read,
// redirects followed only within the same scheme, host and port, and a
// time-out for the whole download.
class VersionFileFetcher : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds DefaultTimeout{15000};

    explicit VersionFileFetcher(QObject *parent = nullptr);
    ~VersionFileFetcher() override;

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Starts a download; one still running is dropped without a signal.
    // False, with no signal to follow, for an address that is not http or
    // https.
    bool fetch(const QUrl &url);
    bool isRunning() const { return m_reply != nullptr; }

Q_SIGNALS:
    // The first bytes of a successful answer; empty when the download failed
    // (no connection, an error status, a redirect elsewhere, the time-out).
    void finished(const QByteArray &answer);

private:
    void readAvailable();
    void conclude(bool ok);
    void drop();

    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QUrl m_url;
    QByteArray m_answer;
    QTimer m_deadline;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
};
