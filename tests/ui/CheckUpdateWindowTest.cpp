#include "ui/update/CheckUpdateWindow.h"
#include "app/AppParams.h"
#include "i18n/AppStrings.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Status = TFormCheckUpdate::Status;

namespace {

// An HTTP server on 127.0.0.1 that gives every request the same answer.
class TestServer : public QObject
{
public:
    // The answer as raw bytes; empty: the server accepts and never answers.
    QByteArray answer;
    QList<QByteArray> requests;
    qint64 written = 0; // bytes of answers handed to the system

    TestServer()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(
                    socket, &QTcpSocket::bytesWritten, this, [this](qint64 n) { written += n; });
            }
        });
    }
    QString site() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        requests << std::exchange(request, {});
        if (!answer.isEmpty()) {
            socket->write(answer);
            socket->disconnectFromHost();
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

QByteArray ok(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}

class CheckUpdateWindow : public ::testing::Test
{
protected:
    CheckUpdateWindow()
    {
        // The test server is reached directly, whatever the machine's proxy.
        for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        m_params.WebSite = m_server.site();
        m_window.setFileLayout(FileLayout::Portable);
        m_window.setTimeout(300ms);
        m_window.show();
    }

    // Runs one check; false when it does not end.
    bool check()
    {
        QSignalSpy finished(&m_window, &TFormCheckUpdate::checkFinished);
        QTest::mouseClick(button("btnCheckNow"), Qt::LeftButton);
        EXPECT_FALSE(button("btnCheckNow")->isEnabled());
        return finished.wait(10000);
    }
    QString text() const { return m_window.findChild<QPlainTextEdit *>("me")->toPlainText(); }
    QString latest() const { return m_window.findChild<QLabel *>("lblLatestVersion")->text(); }
    QPushButton *button(const char *name) const
    {
        return m_window.findChild<QPushButton *>(QLatin1String(name));
    }
    QColor background() const
    {
        return m_window.findChild<QPlainTextEdit *>("me")->palette().color(QPalette::Base);
    }

    TestServer m_server;
    TAppParams m_params;
    TFormCheckUpdate m_window{m_params, TAppStrings()};
};

} // namespace

TEST_F(CheckUpdateWindow, EachAnswerGivesOneOutcome)
{
    const QByteArray newer = "[VersionInfo]\r\nLastVersion=1.11\r\nReleaseDate=<b>May</b>\r\n";
    // clang-format off
    const struct { const char *name; QByteArray answer; Status status; const char *latest, *text; } cases[] = {
        {"newer", ok(newer), Status::UpdateAvailable, "1.11",
         "A new version is available.\n\nLatest version: 1.11\nRelease date: <b>May</b>"},
        {"same", ok("[VersionInfo]\nLastVersion=1.10\n"), Status::NoUpdates, "1.10",
         "No updates available.\nYou have the latest version."},
        {"older", ok("[VersionInfo]\nLastVersion=1.9\n"), Status::NoUpdates, "1.9", nullptr},
        {"malformed", ok("<html>[Version]\nLastVersion=1.11</html>"), Status::Failed, "",
         "Unable to retrieve version information.\nPlease try again in a few minutes."},
        {"32 MB", ok(newer + QByteArray(32 << 20, ';')), Status::UpdateAvailable, "1.11", nullptr},
        {"empty body", ok(""), Status::Failed, "",
         "Can not connect to the server.\nPlease try again in a few minutes."},
        {"error status", "HTTP/1.1 404 Not Found\r\nContent-Length: " + QByteArray::number(newer.size())
         + "\r\n\r\n" + newer, Status::Failed, "", "Can not connect to the server.\nPlease try again in a few minutes."},
        {"no answer", {}, Status::Failed, "", "Can not connect to the server.\nPlease try again in a few minutes."},
    };
    // clang-format on
    for (const auto &c : cases) {
        m_server.answer = c.answer;
        m_server.requests.clear();
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(check()) << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name;
        EXPECT_EQ(m_window.status(), c.status) << c.name;
        EXPECT_EQ(latest(), QLatin1String(c.latest)) << c.name;
        if (c.text) {
            EXPECT_EQ(text(), QString::fromUtf8(c.text)) << c.name;
        }
        EXPECT_EQ(button("btnDownload")->isVisible(), c.status == Status::UpdateAvailable)
            << c.name;
        EXPECT_TRUE(button("btnCheckNow")->isEnabled()) << c.name;
        EXPECT_EQ(background(),
            c.status == Status::Failed                ? QColor(0xFA, 0xDA, 0xDA)
                : c.status == Status::UpdateAvailable ? QColor(0xE6, 0xF0, 0xE3)
                                                      : QColor(Qt::white))
            << c.name;
        ASSERT_EQ(m_server.requests.size(), 1) << c.name;
        // The download stops at the start of a long answer; what is left in
        // the system's buffers is never read.
        EXPECT_LT(m_server.written, 16 << 20) << c.name;
        m_server.written = 0;
    }

    const QByteArray request = m_server.requests.value(0);
    EXPECT_TRUE(request.startsWith("GET /products/quillon/ver.ini HTTP/1.1\r\n"));
    EXPECT_TRUE(
        request.contains("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)\r\n"));
    EXPECT_TRUE(request.contains("\r\nAccept: */*\r\n"));
    EXPECT_TRUE(request.contains("\r\nCache-Control: no-cache\r\n"));
}

TEST_F(CheckUpdateWindow, RedirectsStayOnTheSameSite)
{
    const QByteArray redirect = "HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: ";
    m_server.answer
        = redirect + "http://localhost" + m_server.site().mid(16).toUtf8() + "/x\r\n\r\n";
    ASSERT_TRUE(check());
    EXPECT_EQ(m_window.status(), Status::Failed);
    EXPECT_EQ(m_server.requests.size(), 1);

    // A move within the site is followed; this one goes round in circles.
    m_server.requests.clear();
    m_server.answer = redirect + "/products/quillon/ver2.ini\r\n\r\n";
    ASSERT_TRUE(check());
    EXPECT_EQ(m_window.status(), Status::Failed);
    ASSERT_GT(m_server.requests.size(), 1);
    EXPECT_TRUE(m_server.requests[1].startsWith("GET /products/quillon/ver2.ini "));
}

TEST_F(CheckUpdateWindow, UnreachableServerAndTheTimerOfTheMainWindowCommand)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    m_params.WebSite = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    ASSERT_TRUE(check());
    EXPECT_EQ(m_window.status(), Status::Failed);

    m_params.WebSite = m_server.site();
    m_server.answer = ok("[VersionInfo]\nLastVersion=1.10\n");
    QSignalSpy finished(&m_window, &TFormCheckUpdate::checkFinished);
    m_window.showAndCheck();
    EXPECT_EQ(m_window.status(), Status::None);
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(button("btnDownload")->isVisible());
    QTest::qWait(500);
    EXPECT_TRUE(m_server.requests.isEmpty());
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(m_window.status(), Status::NoUpdates);
}

TEST_F(CheckUpdateWindow, PlainStatesFollowADarkPalette)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    m_window.setPalette(dark);
    m_window.ClearStatus();
    EXPECT_EQ(background(), QColor(0x10, 0x10, 0x10));
    m_server.answer = ok("x");
    ASSERT_TRUE(check());
    EXPECT_EQ(background(), QColor(0xFA, 0xDA, 0xDA));
}

// Installed, or with no web site, the package manager brings updates: the
// window says so, shows our version and asks nobody.
TEST_F(CheckUpdateWindow, InstalledOrWithoutASiteNoRequestIsSent)
{
    m_server.answer = ok("[VersionInfo]\nLastVersion=1.11\n");
    for (const auto &[layout, site] : {std::pair{FileLayout::Installed, m_server.site()},
             std::pair{FileLayout::Portable, QString()}}) {
        m_window.setFileLayout(layout);
        m_params.WebSite = site;
        QSignalSpy finished(&m_window, &TFormCheckUpdate::checkFinished);
        m_window.showAndCheck();
        EXPECT_EQ(text(), "Updates of Quillon come with your system's package manager.");
        EXPECT_FALSE(button("btnCheckNow")->isEnabled());
        EXPECT_EQ(m_window.findChild<QLabel *>("lblUserVersion")->text(), "1.10");
        EXPECT_FALSE(m_window.findChild<QLabel *>("lblLatestVersionDesc")->isVisible());
        m_window.checkNow();
        EXPECT_FALSE(finished.wait(1500));
        EXPECT_TRUE(m_server.requests.isEmpty());
        EXPECT_EQ(m_window.status(), Status::None);
    }
}
