#include "CliTestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace RawCli {

TestSupport::CliRun Run(const QList<QByteArray> &args, const QByteArray &workDir, Output output)
{
    TestSupport::CliRun run;
    QTemporaryDir dir;
    const QByteArray outFile = QFile::encodeName(dir.filePath(QStringLiteral("out")));
    const QByteArray errFile = QFile::encodeName(dir.filePath(QStringLiteral("err")));
    const QByteArray program
        = QFile::encodeName(TestSupport::BinDir() + QStringLiteral("/quillon-cli"));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeFds[2] = {-1, -1};
    if (output == Output::Captured) {
        posix_spawn_file_actions_addopen(
            &actions, STDOUT_FILENO, outFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    } else if (output == Output::DevFull) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
    } else {
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "no pipe";
            return run;
        }
        ::close(pipeFds[0]);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    }
    posix_spawn_file_actions_addopen(
        &actions, STDERR_FILENO, errFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workDir.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, workDir.constData());

    std::vector<char *> argv{const_cast<char *>(program.constData())};
    for (const QByteArray &arg : args)
        argv.push_back(const_cast<char *>(arg.constData()));
    argv.push_back(nullptr);

    // An ignored signal stays ignored across exec.
    struct sigaction ignore
    {
    }, saved{};
    ignore.sa_handler = SIG_IGN;
    if (output == Output::ClosedPipe)
        ::sigaction(SIGPIPE, &ignore, &saved);
    pid_t pid = -1;
    const int spawned
        = posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    if (output == Output::ClosedPipe) {
        ::sigaction(SIGPIPE, &saved, nullptr);
        ::close(pipeFds[1]);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "quillon-cli did not start";
        return run;
    }

    int status = 0;
    QElapsedTimer waited;
    waited.start();
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (waited.elapsed() > 120000) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "quillon-cli did not finish";
            return run;
        }
        QThread::msleep(5);
    }
    if (!WIFEXITED(status)) {
        ADD_FAILURE() << "quillon-cli ended by signal " << WTERMSIG(status);
        return run;
    }
    run.exitCode = WEXITSTATUS(status);
    run.out = QString::fromUtf8(TestSupport::ReadFile(QFile::decodeName(outFile)));
    run.err = QString::fromUtf8(TestSupport::ReadFile(QFile::decodeName(errFile)));
    return run;
}

bool Touch(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && written;
}

} // namespace RawCli
