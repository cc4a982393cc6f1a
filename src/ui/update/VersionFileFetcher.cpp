#include "ui/update/VersionFileFetcher.h"

#include "app/UpdateCheck.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// The system's proxy settings for this download only, without changing the
// application-wide choice.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

VersionFileFetcher::VersionFileFetcher(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    m_manager->setProxyFactory(new SystemProxyFactory);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { conclude(false); });
}

VersionFileFetcher::~VersionFileFetcher()
{
    drop();
}

bool VersionFileFetcher::fetch(const QUrl &url)
{
    drop();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https"))
        return false;
    m_url = url;
    m_answer.clear();

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(VersionFileUserAgent));
    request.setRawHeader("Accept", "*/*");
    // Plain bytes: nothing is unpacked, so the size limit holds for what the
    // server sends.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setAttribute(
        QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(int(m_timeout.count()));

    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;
    reply->setReadBufferSize(4 * VersionFileMaxBytes);
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl &target) {
        if (IsRedirectAllowed(m_url, target))
            Q_EMIT reply->redirectAllowed();
        else
            conclude(false);
    });
    connect(reply, &QIODevice::readyRead, this, &VersionFileFetcher::readAvailable);
    connect(reply, &QNetworkReply::finished, this, [this] {
        readAvailable();
        if (m_reply)
            conclude(m_reply->error() == QNetworkReply::NoError);
    });
    m_deadline.start(m_timeout);
    return true;
}

void VersionFileFetcher::readAvailable()
{
    if (!m_reply)
        return;
    const int status = httpStatus(m_reply);
    if (status >= 300 && status < 400) {
        m_reply->readAll(); // the body of a redirect is not the file
        return;
    }
    if (status != 0 && (status < 200 || status >= 300)) {
        // An error page is not the file. The reply is still reporting its
        // error here: it is dropped once that has been delivered.
        m_reply->readAll();
        QTimer::singleShot(0, this, [this, reply = m_reply.data()] {
            if (m_reply == reply)
                conclude(false);
        });
        return;
    }
    m_answer += m_reply->read(VersionFileMaxBytes - m_answer.size());
    if (m_answer.size() >= VersionFileMaxBytes)
        conclude(true);
}

void VersionFileFetcher::conclude(bool ok)
{
    if (!m_reply)
        return;
    drop();
    const QByteArray answer = ok ? m_answer : QByteArray();
    m_answer.clear();
    Q_EMIT finished(answer);
}

void VersionFileFetcher::drop()
{
    m_deadline.stop();
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        if (!reply->isFinished())
            reply->abort();
        reply->deleteLater();
    }
}
