#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The built program, started as a user would start it, from a portable
// folder of its own so that its settings file is the test's.
class ProgramSignals : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString bin = TestSupport::BinDir();
        ASSERT_TRUE(QDir().mkpath(path(u"program"_qs)));
        ASSERT_TRUE(QDir().mkpath(path(u"run"_qs)));
        ASSERT_TRUE(QFile::setPermissions(
            path(u"run"_qs), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        ASSERT_TRUE(QFile::copy(bin + u"/quillon"_qs, path(u"program/quillon"_qs)));
        for (const QString &dir : {u"data"_qs, u"lang"_qs})
            ASSERT_TRUE(QFile::link(bin + u'/' + dir, path(u"program/"_qs + dir)));
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QStringList sockets() const
    {
        return QDir(path(u"run"_qs)).entryList(QDir::System | QDir::NoDotAndDotDot);
    }

    struct Ended
    {
        bool normally = false;
        int exitCode = -1;
        QString err;
    };

    // Starts the program, waits until it listens for later starts and
    // its window is being made, and sends it the signal.
    Ended runUntil(int signal)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        env.insert(u"XDG_RUNTIME_DIR"_qs, path(u"run"_qs));
        env.insert(u"HOME"_qs, path(u"home"_qs));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(path(u"program/quillon"_qs), {});
        Ended ended;
        if (!program.waitForStarted(10000)
            || !QTest::qWaitFor([&] { return !sockets().isEmpty(); }, 20000)) {
            ADD_FAILURE() << "the program did not start";
            return ended;
        }
        ::kill(pid_t(program.processId()), signal);
        if (!program.waitForFinished(20000)) {
            program.kill();
            program.waitForFinished();
            ADD_FAILURE() << "the program did not end";
        }
        ended.normally = program.exitStatus() == QProcess::NormalExit;
        ended.exitCode = program.exitCode();
        ended.err = QString::fromLocal8Bit(program.readAllStandardError());
        return ended;
    }

    QTemporaryDir m_dir;
};

TEST_F(ProgramSignals, EndTheProgramAsItsCloseWouldWithTheSignalsExitStatus)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        QFile::remove(path(u"program/quillon.ini"_qs));
        const Ended ended = runUntil(signal);
        EXPECT_TRUE(ended.normally);
        EXPECT_EQ(ended.exitCode, 128 + signal);
        EXPECT_TRUE(QFile::exists(path(u"program/quillon.ini"_qs)));
        EXPECT_EQ(sockets(), QStringList());
    }
}

// A settings file that is a FIFO, a link to a device or a huge file neither
// hangs nor kills the start; the defaults are used, the user is told on
// standard error, and the exit leaves the file as it was.
TEST_F(ProgramSignals, ASettingsFileThatIsNotASmallFileIsReportedAndLeftAlone)
{
    const QString ini = path(u"program/quillon.ini"_qs);
    const auto fifo = [&] { return ::mkfifo(QFile::encodeName(ini).constData(), 0600) == 0; };
    const auto device = [&] { return QFile::link(u"/dev/zero"_qs, ini); };
    const auto huge = [&] {
        QFile file(ini);
        return file.open(QIODevice::WriteOnly) && file.write("[MAIN]\n") > 0
            && file.resize(9 * 1024 * 1024);
    };
    const std::pair<const char *, std::function<bool()>> cases[]
        = {{"FIFO", fifo}, {"link to /dev/zero", device}, {"9 MB", huge}};
    for (const auto &[name, make] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(ini);
        ASSERT_TRUE(make());
        struct stat before
        {
        };
        ASSERT_EQ(::lstat(QFile::encodeName(ini).constData(), &before), 0);
        const Ended ended = runUntil(SIGTERM);
        EXPECT_EQ(ended.exitCode, 128 + SIGTERM);
        EXPECT_TRUE(ended.err.contains(u"Settings not read from "_qs + ini))
            << ended.err.toStdString();
        struct stat after
        {
        };
        ASSERT_EQ(::lstat(QFile::encodeName(ini).constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
    }
}

} // namespace
