#include "ui/SingleInstance.h"
#include "app/NonUtf8Names.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A later start, as its own process would run it: blocking, on a thread of
// its own, so that the running instance's event loop can answer.
std::future<bool> startLater(const QString &name, const QStringList &paths)
{
    return std::async(std::launch::async, [name, paths] {
        SingleInstance later(name);
        return later.start(paths);
    });
}

QList<QVariant> waitForRequest(QSignalSpy &spy)
{
    if (spy.isEmpty() && !spy.wait(10000))
        return {};
    return spy.takeFirst();
}

TEST(SingleInstance, ServerNameIsPerUserAndDisplay)
{
    EXPECT_EQ(SingleInstance::serverName("/run/user/1000/", 1000, ":0.0"),
        "/run/user/1000/quillon-_0.socket");
    EXPECT_EQ(SingleInstance::serverName("/run/user/1000", 1000, ":0"),
        "/run/user/1000/quillon-_0.socket");
    EXPECT_EQ(SingleInstance::serverName("", 1000, "wayland-0"), "quillon-1000-wayland-0");
    // A relative runtime folder is ignored; the user id keeps users apart.
    EXPECT_NE(
        SingleInstance::serverName("run", 1000, ":1"), SingleInstance::serverName("", 1001, ":1"));
    EXPECT_NE(
        SingleInstance::serverName("", 1000, ":1"), SingleInstance::serverName("", 1000, ":0"));
}

TEST(SingleInstance, LaterStartsHandTheirFilesToTheRunningOne)
{
    QTemporaryDir runtime;
    const QString name = SingleInstance::serverName(runtime.path(), 0, ":0");
    SingleInstance running(name);
    // Whatever the umask, no other user may connect to the socket.
    const mode_t umask = ::umask(0);
    const bool started = running.start({"/ignored"});
    ::umask(umask);
    ASSERT_TRUE(started);
    ASSERT_TRUE(running.isListening());
    EXPECT_EQ(QFile::permissions(name)
            & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                | QFile::WriteUser | QFile::ExeUser),
        QFile::Permissions());
    QSignalSpy spy(&running, &SingleInstance::openRequested);

    // Any name survives, also one that is not UTF-8 (kept as U+DCxx).
    const QStringList files{"/v/a b;$(x)\n.mkv", DecodeLocalName("/v/\xff\xc3\xa9.avi")};
    auto later = startLater(name, files);
    EXPECT_EQ(waitForRequest(spy).value(0).toStringList(), files);
    EXPECT_FALSE(later.get()); // handed over: that start ends

    // Without files: only a request to raise the window.
    later = startLater(name, {});
    const QList<QVariant> raise = waitForRequest(spy);
    ASSERT_EQ(raise.size(), 1);
    EXPECT_TRUE(raise.value(0).toStringList().isEmpty());
    EXPECT_FALSE(later.get());
}

TEST(SingleInstance, SocketLeftByACrashedInstanceIsTakenOver)
{
    QTemporaryDir runtime;
    const QString name = SingleInstance::serverName(runtime.path(), 0, ":0");
    // A socket bound but never listened on: what a killed instance leaves.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
    qstrcpy(address.sun_path, path.constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(name));

    SingleInstance running(name);
    EXPECT_TRUE(running.start({}));
    EXPECT_TRUE(running.isListening());
    QSignalSpy spy(&running, &SingleInstance::openRequested);
    auto later = startLater(name, {"/v/x.mkv"});
    EXPECT_EQ(waitForRequest(spy).value(0).toStringList(), QStringList{"/v/x.mkv"});
    EXPECT_FALSE(later.get());
}

} // namespace
