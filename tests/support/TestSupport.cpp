#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The fake FFmpeg answers differently from test to test at one path, so no
// test program (nor a quillon-cli it starts) may read or write the user's
// cache: the cache folder below is unusable. Tests of the cache choose
// their own.
[[maybe_unused]] const bool NoUserCache = [] {
    qputenv("XDG_CACHE_HOME", "/dev/null/no-cache");
    return true;
}();

} // namespace

namespace TestSupport {

QString ToolsDir()
{
    return QStringLiteral(QLN_TEST_TOOLS_DIR);
}

QString ToolPath(const QString &name)
{
    return ToolsDir() + u'/' + name;
}

QString FixturePath(const QString &relative)
{
    return QStringLiteral(QLN_FIXTURES_DIR) + u'/' + relative;
}

QString BinDir()
{
    return QStringLiteral(QLN_BIN_DIR);
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void MakeFiles(const QString &dir, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        const QString path = dir + u'/' + QLatin1String(name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        ASSERT_TRUE(WriteFile(path, "data"));
    }
}

QList<QStringList> RecordedRuns(const QByteArray &record)
{
    QList<QStringList> runs;
    QList<QByteArray> fields = record.split('\0');
    fields.removeLast(); // after the last zero byte
    for (qsizetype i = 0; i < fields.size();) {
        const int count = fields.at(i++).toInt();
        QStringList args;
        for (int k = 0; k < count && i < fields.size(); ++k)
            args << QString::fromUtf8(fields.at(i++));
        runs << args;
    }
    return runs;
}

bool RunsInCI()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

std::string TestNameOf(const char *text)
{
    std::string name;
    bool gap = false;
    for (const char *c = text; *c; ++c) {
        const bool alnum
            = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        if (!alnum) {
            gap = !name.empty();
            continue;
        }
        if (gap)
            name += '_';
        gap = false;
        name += *c;
    }
    return name.empty() ? std::string("blank") : name;
}

} // namespace TestSupport

#include "app/AppParams.h"
#include "app/ToolResolution.h"

#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace TestSupport {

CliRun RunCli(const QStringList &args, const QString &workDir, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(BinDir() + QStringLiteral("/quillon-cli"), args);
    CliRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "quillon-cli did not finish";
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

namespace {

struct SystemTools
{
    QString ffmpeg;
    QString mediaInfo;
};

const SystemTools &systemTools()
{
    static const SystemTools tools = [] {
        TAppParams params;
        return SystemTools{
            ResolveFFmpegPath(params, ToolLookup{}), ResolveMediaInfoPath(params, ToolLookup{})};
    }();
    return tools;
}

} // namespace

const QString &SystemFFmpeg()
{
    return systemTools().ffmpeg;
}

const QString &SystemMediaInfo()
{
    return systemTools().mediaInfo;
}

bool RunFFmpeg(const QString &ffmpeg, const QStringList &args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(ffmpeg,
        QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
            QStringLiteral("error"), QStringLiteral("-y")}
            + args);
    const bool done = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (!done)
        ADD_FAILURE() << process.readAll().toStdString();
    return done;
}

FileSizeLimit::FileSizeLimit(long long bytes)
{
    struct rlimit limit
    {
    };
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_old = limit.rlim_cur;
    // The signal would end the test program instead of failing the write.
    std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    struct rlimit limit
    {
    };
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_old);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace TestSupport
