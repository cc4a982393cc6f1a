#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

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

    QTemporaryDir m_dir;
};

TEST_F(ProgramSignals, EndTheProgramAsItsCloseWouldWithTheSignalsExitStatus)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        QFile::remove(path(u"program/quillon.ini"_qs));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        env.insert(u"XDG_RUNTIME_DIR"_qs, path(u"run"_qs));
        env.insert(u"HOME"_qs, path(u"home"_qs));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(path(u"program/quillon"_qs), {});
        ASSERT_TRUE(program.waitForStarted(10000));
        // Listening for later starts: the window is up.
        const auto sockets = [this] {
            return QDir(path(u"run"_qs)).entryList(QDir::System | QDir::NoDotAndDotDot);
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sockets().isEmpty(); }, 20000));

        ::kill(pid_t(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 128 + signal);
        EXPECT_TRUE(QFile::exists(path(u"program/quillon.ini"_qs)));
        EXPECT_EQ(sockets(), QStringList());
    }
}

} // namespace
