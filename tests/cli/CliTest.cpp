#include "CliTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using TestSupport::CliRun;
using TestSupport::RunCli;

TEST(Cli, AFailedWriteToStandardOutputIsAFailure)
{
    struct Case
    {
        RawCli::Output output;
        QString why;
    };
    const Case cases[] = {
        {RawCli::Output::DevFull, u"No space left on device"_s},
        {RawCli::Output::ClosedPipe, u"Broken pipe"_s},
    };
    for (const Case &c : cases) {
        for (const QList<QByteArray> &args :
            {QList<QByteArray>{"paths"}, {"--version"}, {"convert", "--help"}}) {
            SCOPED_TRACE(args.join(' ').toStdString() + ", " + c.why.toStdString());
            const CliRun run = RawCli::Run(args, {}, c.output);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err, u"quillon-cli: cannot write to standard output: "_s + c.why + u'\n');
        }
    }
    EXPECT_EQ(RawCli::Run({"paths"}).exitCode, 0);
}

TEST(Cli, PathsReportsThePortableLayoutOfTheBuildFolder)
{
    // build/bin holds data/ beside the programs: the portable layout.
    const CliRun run = RunCli({u"paths"_s});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(u"\nLayout=portable\n"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"\nIniName="_s + TestSupport::BinDir() + u"/quillon.ini\n"_s))
        << run.out.toStdString();
}

TEST(Cli, GlobalOptionsWithoutTheirValue)
{
    for (const QString &option : {u"--ffmpeg"_s, u"--mediainfo"_s}) {
        const CliRun run = RunCli({option});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(u"quillon-cli: "_s + option + u" needs a value\n"_s))
            << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(u"unknown option"_s));
    }
}

TEST(Cli, EveryCommandHasHelp)
{
    for (const QString &command :
        {u"paths"_s, u"command"_s, u"convert"_s, u"script"_s, u"info"_s, u"tools"_s}) {
        const CliRun run = RunCli({command, u"--help"_s});
        EXPECT_EQ(run.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(run.out.startsWith(u"Usage: quillon-cli "_s + command))
            << run.out.toStdString();
        EXPECT_EQ(run.err, QString());
    }
}

} // namespace
