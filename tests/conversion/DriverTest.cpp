#include "DriverTestSupport.h"

#include "app/AppStartup.h"

#include <QFileInfo>
#include <gmock/gmock.h>
#include <sys/resource.h>

using namespace DriverTest;
using namespace Qt::StringLiterals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class Driver : public DriverFixture
{
};

TEST_F(Driver, SkipsAnExistingOutputInTheMiddleAndCountsItsFileNumber)
{
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    const QString c = makeInput(QStringLiteral("c.mkv"));
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("b.avi")), "earlier output"));
    ConversionSetup s = setup();
    s.settings.cbOutputExists = OutputExists::Skip;
    std::vector<ConversionRow> rows = rowsOf({a, b, c});

    ConversionDriver driver(frontEnd);
    const ConversionResult result = driver.run(s, rows);
    rows = result.rows;

    EXPECT_EQ(result.End, ConversionEnd::Walked);
    EXPECT_THAT(frontEnd.statuses,
        ElementsAre(QStringLiteral("0:Converting"), QStringLiteral("0:Done"),
            QStringLiteral("1:Converting"), QStringLiteral("1:Skipped"),
            QStringLiteral("2:Converting"), QStringLiteral("2:Done")));
    ASSERT_EQ(frontEnd.started.size(), 2u);
    EXPECT_EQ(frontEnd.started[0].FileNo, 1);
    EXPECT_EQ(frontEnd.started[1].FileNo, 3);
    ASSERT_EQ(frontEnd.skipped.size(), 1u);
    EXPECT_EQ(frontEnd.skipped[0].FileNo, 2);
    EXPECT_EQ(frontEnd.skipped[0].OutputMarkup,
        QStringLiteral("<font bgcolor=\"#C0C0C0\">") + m_dir.path()
            + QStringLiteral("/</font><b>b.avi</b>"));
    EXPECT_EQ(TestSupport::ReadFile(path(QStringLiteral("b.avi"))), "earlier output");

    const std::vector<FakeCall> runs = conversions();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].output(), path(QStringLiteral("a.avi")));
    EXPECT_EQ(runs[1].output(), path(QStringLiteral("c.avi")));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("c.avi"))).size(), 1000);
    EXPECT_EQ(rows[1].Outcome, RowOutcome::Skipped);
    EXPECT_EQ(rows[2].Outcome, RowOutcome::Done);
    EXPECT_EQ(frontEnd.walk.FileCount, 3);
}

TEST_F(Driver, NeverConvertsAFileOntoItself)
{
    struct Case
    {
        int policy;
        const char *status;
    };
    const Case cases[] = {
        {OutputExists::Rename, "OK - Renamed"},
        // The numbered name was written, whatever the policy.
        {OutputExists::Overwrite, "OK - Renamed"},
        {OutputExists::Skip, "Skipped"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.policy);
        QFile::remove(m_log);
        QFile::remove(path(QStringLiteral("movie_001.avi")));
        frontEnd.statuses.clear();
        const QString input = makeInput(QStringLiteral("movie.avi"), "the original");
        ConversionSetup s = setup();
        s.settings.cbOutputExists = c.policy;
        std::vector<ConversionRow> rows = rowsOf({input});

        ConversionDriver driver(frontEnd);
        rows = driver.run(s, rows).rows;

        EXPECT_EQ(rows[0].Status, QLatin1String(c.status));
        if (c.policy != OutputExists::Skip) {
            EXPECT_EQ(rows[0].Outcome, RowOutcome::Renamed);
        }
        EXPECT_EQ(TestSupport::ReadFile(input), "the original");
        const std::vector<FakeCall> runs = conversions();
        if (c.policy == OutputExists::Skip) {
            EXPECT_TRUE(runs.empty());
        } else {
            ASSERT_EQ(runs.size(), 1u);
            EXPECT_EQ(runs[0].output(), path(QStringLiteral("movie_001.avi")));
        }
    }
}

TEST_F(Driver, OverwriteNeverReplacesAListedFileNorAnOutputOfTheSameRun)
{
    // Each input's text is its name, so a replaced input shows. '-' marks an
    // unchecked row.
    struct Case
    {
        const char *name;
        int policy;
        QStringList rows;
        QStringList outputs;
        QStringList statuses;
    };
    const QString renamed = QStringLiteral("OK - Renamed");
    const QString done = QStringLiteral("Done");
    const QString skipped = QStringLiteral("Skipped");
    const Case cases[] = {
        {"inputs before and after", OutputExists::Overwrite,
            {u"x.mkv"_s, u"x.avi"_s, u"y.avi"_s, u"y.mkv"_s},
            {u"x_001.avi"_s, u"x_002.avi"_s, u"y_001.avi"_s, u"y_002.avi"_s},
            {renamed, renamed, renamed, renamed}},
        {"inputs, skip", OutputExists::Skip, {u"a.mkv"_s, u"a.avi"_s}, {}, {skipped, skipped}},
        {"an unchecked row", OutputExists::Overwrite, {u"u.mkv"_s, u"-u.avi"_s}, {u"u_001.avi"_s},
            {renamed, u"Ready"_s}},
        {"an output of this run", OutputExists::Overwrite, {u"v.mkv"_s, u"v.mp4"_s},
            {u"v.avi"_s, u"v_001.avi"_s}, {done, renamed}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(m_log);
        QStringList files;
        for (const QString &row : c.rows) {
            const QString name = row.startsWith(u'-') ? row.mid(1) : row;
            files << makeInput(name, name.toUtf8());
        }
        ConversionSetup s = setup();
        s.settings.cbOutputExists = c.policy;
        std::vector<ConversionRow> rows = rowsOf(files);
        for (qsizetype i = 0; i < c.rows.size(); ++i)
            rows[size_t(i)].Checked = !c.rows[i].startsWith(u'-');

        ConversionDriver driver(frontEnd);
        rows = driver.run(s, rows).rows;

        for (const QString &file : std::as_const(files))
            EXPECT_EQ(TestSupport::ReadFile(file), QFileInfo(file).fileName().toUtf8());
        QStringList outputs, statuses;
        for (const FakeCall &run : conversions())
            outputs << QFileInfo(run.output()).fileName();
        for (const ConversionRow &row : rows)
            statuses << row.Status;
        EXPECT_EQ(outputs, c.outputs);
        EXPECT_EQ(statuses, c.statuses);
        // What the run wrote is all still there.
        for (const QString &output : std::as_const(outputs))
            EXPECT_EQ(QFileInfo(path(output)).size(), 1000) << output.toStdString();
        for (const QString &output : std::as_const(outputs))
            QFile::remove(path(output));
    }
}

TEST_F(Driver, ReportsTheFileAndItsProgressAgainstTheProbedFrameCount)
{
    // The fake's probe describes 4 s at 25 frame/s: 100 frames; its run
    // prints frames 10, 20 and 30.
    const QString input = makeInput(QStringLiteral("a <b>&.mkv"));
    std::vector<ConversionRow> rows = rowsOf({input});
    ConversionDriver driver(frontEnd);
    rows = driver.run(setup(), rows).rows;

    EXPECT_EQ(frontEnd.lastPercentage, 30);
    EXPECT_EQ(driver.state().CurrentFileInfo.VideoStreams[0].Frames, 100u);
    ASSERT_EQ(frontEnd.finished.size(), 1u);
    EXPECT_TRUE(frontEnd.finished[0].Succeeded);
    EXPECT_TRUE(frontEnd.finished[0].ProgressComplete);
    EXPECT_EQ(frontEnd.finished[0].StatusMarkup, QStringLiteral("<b>Done</b>"));
    ASSERT_EQ(frontEnd.started.size(), 1u);
    EXPECT_EQ(frontEnd.started[0].OutputMarkup,
        QStringLiteral("<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> ") + m_dir.path()
            + QStringLiteral("/ </font> a &lt;b&gt;&amp;.avi</b>"));
    EXPECT_EQ(frontEnd.started[0].StatusText, QStringLiteral("Please wait..."));
}

TEST_F(Driver, ProbesEachFileOnceAndAgainWhenItChangedMeanwhile)
{
    // The next file is analysed while the current one converts. Here the
    // second input is rewritten after that analysis, before its turn.
    writeScript(QStringLiteral("[run]\nsleep:300\noutput:1000\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    const QString changed = makeInput(QStringLiteral("c.avi"), "before");
    std::vector<ConversionRow> rows = rowsOf({a, changed, b});
    frontEnd.onFileStarted = [&](const ConversionFileView &file) {
        if (file.Row == 1)
            TestSupport::WriteFile(changed, "rewritten meanwhile");
    };

    ConversionDriver driver(frontEnd);
    rows = driver.run(setup(), rows).rows;

    QStringList probed;
    for (const FakeCall &call : calls()) {
        for (const QString &file : call.probed())
            probed << QFileInfo(file).fileName();
    }
    probed.sort();
    EXPECT_EQ(probed,
        (QStringList{QStringLiteral("a.mkv"), QStringLiteral("b.mkv"), QStringLiteral("c.avi"),
            QStringLiteral("c.avi")}));
    EXPECT_EQ(rows[1].OutputFile, path(QStringLiteral("c_001.avi")));
}

TEST_F(Driver, AnalysesMadeDuringAConversionRunAtTheLowestPriority)
{
    const QString niceLog = path(QStringLiteral("nice.log"));
    writeScript(
        QStringLiteral("[first]\nlog-nice:%1\n[run]\nsleep:300\noutput:1000\n").arg(niceLog));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    const QString c = makeInput(QStringLiteral("c.mkv"));
    std::vector<ConversionRow> rows = rowsOf({a, b, c});
    ConversionDriver driver(frontEnd);
    rows = driver.run(setup(), rows).rows;

    // The first file's analysis is awaited at once; the later ones are
    // made while it converts and must not slow it down.
    const QString ours = QString::number(::getpriority(PRIO_PROCESS, 0));
    const QString later = QStringLiteral("-i %1 -i %2").arg(b, c);
    int lowered = 0;
    const QStringList lines
        = QString::fromUtf8(TestSupport::ReadFile(niceLog)).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString args = line.section(u'\t', 1);
        const QString expected = args == later ? QStringLiteral("19") : ours;
        EXPECT_EQ(line.section(u'\t', 0, 0), expected) << args.toStdString();
        lowered += args == later ? 1 : 0;
    }
    EXPECT_EQ(lowered, 1);
    EXPECT_EQ(lines.size(), 6); // encoders, a, b with c, three conversions
}

TEST_F(Driver, LogsAFailureDeletesItsOutputAndGoesOnWithTheNextFile)
{
    writeScript(QStringLiteral("[run match=bad]\n"
                               "out:Input #0, avi, from 'bad.mkv':\\r\\n\n"
                               "out:bad.mkv: Invalid data found when processing input\\r\\n\n"
                               "out:Conversion failed!\\r\\n\n"
                               "output:300\n"
                               "readonly\n"
                               "exit:2\n"));
    const QString bad = makeInput(QStringLiteral("bad.mkv"));
    const QString good = makeInput(QStringLiteral("good.mkv"));
    ConversionSetup s = setup();
    s.settings.cbAfterConversion = AfterConversion::CloseApplication;
    std::vector<ConversionRow> rows = rowsOf({bad, good});

    ConversionDriver driver(frontEnd);
    const ConversionResult result = driver.run(s, rows);
    rows = result.rows;

    EXPECT_EQ(rows[0].Status, QStringLiteral("Error (2)"));
    EXPECT_EQ(rows[0].Outcome, RowOutcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("bad.avi"))));
    EXPECT_EQ(rows[1].Status, QStringLiteral("Done"));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("good.avi"))));

    EXPECT_EQ(result.ErrorCount, 1);
    ASSERT_EQ(frontEnd.errorEntries.size(), 1);
    const QString entry = frontEnd.errorEntries[0];
    EXPECT_THAT(entry.toStdString(), HasSubstr("Error # 1"));
    EXPECT_THAT(entry.toStdString(), HasSubstr("\nExitCode: 2\n"));
    EXPECT_THAT(entry.toStdString(), HasSubstr("Conversion failed!"));
    EXPECT_THAT(entry.toStdString(), HasSubstr("Parameters: -y -i \"" + bad.toStdString()));
    // The noise filter ran over the output first.
    EXPECT_THAT(entry.toStdString(), ::testing::Not(HasSubstr("Invalid data found")));
    EXPECT_EQ(driver.errorLog().ErrorCount(), 1);
    EXPECT_FALSE(frontEnd.finished[0].Succeeded);
    // The file had streams and FFmpeg named no known cause: no hint.
    EXPECT_THAT(entry.toStdString(), ::testing::Not(HasSubstr("Hint:")));
    EXPECT_EQ(ChecksForRetry(rows), (std::vector<bool>{true, false}));

    // Errors: the log is shown and the after-conversion action is not run.
    EXPECT_EQ(frontEnd.errorLogCaption, QStringLiteral("Errors (1)"));
    EXPECT_TRUE(frontEnd.errorLogShown);
    EXPECT_FALSE(frontEnd.events.contains(QStringLiteral("closeApplication")));
}

TEST_F(Driver, DeletesAnEmptyOutputOnlyWhenFFmpegWroteIt)
{
    writeScript(QStringLiteral("[run]\noutput:0\n"));
    const QString input = makeInput(QStringLiteral("a.mkv"));
    std::vector<ConversionRow> rows = rowsOf({input});
    ConversionDriver driver(frontEnd);
    rows = driver.run(setup(), rows).rows;
    EXPECT_EQ(rows[0].Status, QStringLiteral("Done"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));

    // A batch-only run runs no FFmpeg: an empty file already there stays.
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("a.avi")), {}));
    ConversionSetup s = setup();
    s.settings.cbOutputExists = OutputExists::Overwrite;
    s.BatchOnly = true;
    s.BatchFileName = path(QStringLiteral("script.sh"));
    rows = rowsOf({input});
    rows = driver.run(s, rows).rows;
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
}

TEST_F(Driver, AGoneInputIsAFailureThatLeavesTheOutputAlone)
{
    const QString gone = path(QStringLiteral("gone.mkv"));
    const QString lost = path(QStringLiteral("lost.mkv"));
    const QString next = makeInput(QStringLiteral("next.mkv"));
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("gone.avi")), "earlier output"));
    ConversionSetup s = setup();
    s.settings.cbOutputExists = OutputExists::Overwrite;
    std::vector<ConversionRow> rows = rowsOf({gone, lost, next});

    ConversionDriver driver(frontEnd);
    rows = driver.run(s, rows).rows;

    EXPECT_EQ(rows[0].Status, QStringLiteral("Error"));
    EXPECT_EQ(rows[0].Outcome, RowOutcome::Failed);
    EXPECT_EQ(TestSupport::ReadFile(path(QStringLiteral("gone.avi"))), "earlier output");
    // The name chosen for the other gone file is not left behind.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("lost.avi"))));
    ASSERT_EQ(frontEnd.errorEntries.size(), 2);
    EXPECT_THAT(frontEnd.errorEntries[0].toStdString(), HasSubstr("Input file not found"));
    const std::vector<FakeCall> runs = conversions();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].output(), path(QStringLiteral("next.avi")));
    EXPECT_EQ(rows[2].Status, QStringLiteral("Done"));
}

TEST_F(Driver, TwoPassRunsBothPassesInTheRunFolderAndRemovesIt)
{
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    ConversionSetup s = setup();
    s.settings.chAviVideo2Pass = true;
    std::vector<ConversionRow> rows = rowsOf({a, b});

    ConversionDriver driver(frontEnd);
    rows = driver.run(s, rows).rows;

    const std::vector<FakeCall> runs = conversions();
    ASSERT_EQ(runs.size(), 4u);
    const QString folder = runs[0].cwd;
    EXPECT_TRUE(folder.startsWith(QDir::tempPath() + QStringLiteral("/Orvane_Quillon_"))) << folder;
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].cwd, folder);
        const qsizetype pass = runs[i].args.indexOf(QStringLiteral("-pass"));
        ASSERT_GE(pass, 0);
        EXPECT_EQ(runs[i].args.value(pass + 1), i % 2 == 0 ? QStringLiteral("1") : "2");
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(rows[0].Status, QStringLiteral("Done"));
    EXPECT_EQ(rows[1].Status, QStringLiteral("Done"));
    EXPECT_TRUE(driver.state().TwoPass);
}

TEST_F(Driver, AFailedPassEndsTheFileWithAnErrorStatus)
{
    struct Case
    {
        const char *failingPass;
        int conversions;
        const char *status;
    };
    const Case cases[] = {
        {"-pass 1", 1, "Error = 5"},
        {"-pass 2", 2, "Error = 5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.failingPass);
        QFile::remove(m_log);
        writeScript(QStringLiteral("[run match=%1]\noutput:10\nexit:5\n[run]\noutput:100\n")
                        .arg(QLatin1String(c.failingPass)));
        const QString input = makeInput(QStringLiteral("a.mkv"));
        ConversionSetup s = setup();
        s.settings.chAviVideo2Pass = true;
        std::vector<ConversionRow> rows = rowsOf({input});

        ConversionDriver driver(frontEnd);
        rows = driver.run(s, rows).rows;

        EXPECT_EQ(int(conversions().size()), c.conversions);
        EXPECT_EQ(rows[0].Status, QLatin1String(c.status));
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
        EXPECT_EQ(driver.errorLog().ErrorCount(), 1);
        ASSERT_FALSE(frontEnd.finished.empty());
        EXPECT_FALSE(frontEnd.finished.back().ProgressComplete);
        EXPECT_FALSE(QFileInfo::exists(conversions()[0].cwd));
    }
}

TEST_F(Driver, BatchOnlyProbesEveryFileConvertsNothingAndWritesNoStatus)
{
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b b.mkv"));
    ConversionSetup s = setup();
    s.settings.chAviVideo2Pass = true;
    s.BatchOnly = true;
    s.BatchFileName = path(QStringLiteral("convert.sh"));
    s.settings.cbAfterConversion = AfterConversion::CloseApplication;
    std::vector<ConversionRow> rows = rowsOf({a, b});

    ConversionDriver driver(frontEnd);
    const ConversionResult result = driver.run(s, rows);
    rows = result.rows;

    EXPECT_TRUE(result.ScriptSaved);
    EXPECT_TRUE(frontEnd.statuses.isEmpty());
    EXPECT_TRUE(frontEnd.walk.BatchOnly);
    EXPECT_TRUE(conversions().empty());
    int probes = 0;
    for (const FakeCall &call : calls())
        probes += call.isProbe() ? 1 : 0;
    EXPECT_EQ(probes, 2);
    const QString script = QString::fromUtf8(TestSupport::ReadFile(s.BatchFileName));
    EXPECT_TRUE(script.contains(u'\'' + b + u'\'')) << script;
    EXPECT_EQ(script.count(QStringLiteral("-pass 1")), 2);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
    EXPECT_EQ(rows[0].Status, QStringLiteral("Ready"));
    // Saving a script neither closes the program nor switches the computer off.
    EXPECT_FALSE(frontEnd.events.contains(QStringLiteral("closeApplication")));
}

TEST_F(Driver, EndsEarlyWithoutConvertingOrWritingAScript)
{
    struct Case
    {
        const char *name;
        std::function<void(ConversionSetup &)> change;
        ConversionEnd end;
        const char *warning;
    };
    const Case cases[] = {
        {"FFmpeg missing",
            [](ConversionSetup &s) { s.params.ffmpeg = QStringLiteral("/nonexistent/ffmpeg"); },
            ConversionEnd::FFmpegMissing, "FFmpeg"},
        {"invalid bitrate",
            [](ConversionSetup &s) { s.settings.cbAviVideoBitrate = QStringLiteral("fast"); },
            ConversionEnd::ErrorPiece, "fast"},
        {"output folder under a file",
            [this](ConversionSetup &s) {
                s.settings.rbOutDir = true;
                s.settings.edOutDir = path(QStringLiteral("plain.txt/out"));
            },
            ConversionEnd::CantCreateDirectory, "Couldn't create directory"},
    };
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("plain.txt")), "x"));
    const QString input = makeInput(QStringLiteral("a.mkv"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool batchOnly : {false, true}) {
            QFile::remove(m_log);
            frontEnd.warnings.clear();
            frontEnd.events.clear();
            ConversionSetup s = setup();
            s.BatchOnly = batchOnly;
            s.BatchFileName = path(QStringLiteral("never.sh"));
            s.settings.cbAfterConversion = AfterConversion::CloseApplication;
            c.change(s);
            std::vector<ConversionRow> rows = rowsOf({input});

            ConversionDriver driver(frontEnd);
            const ConversionResult result = driver.run(s, rows);
            rows = result.rows;

            EXPECT_EQ(result.End, c.end);
            ASSERT_EQ(frontEnd.warnings.size(), 1);
            EXPECT_THAT(frontEnd.warnings[0].toStdString(), HasSubstr(c.warning));
            EXPECT_TRUE(conversions().empty());
            EXPECT_FALSE(QFileInfo::exists(s.BatchFileName));
            EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
            EXPECT_TRUE(frontEnd.events.contains(QStringLiteral("runFinished")));
            EXPECT_FALSE(frontEnd.events.contains(QStringLiteral("closeApplication")));
            EXPECT_FALSE(driver.state().IsConverting);
        }
    }
}

TEST_F(Driver, MissingEncodersStopARunButNotAScript)
{
    writeScript(QStringLiteral("[encoders]\nmpeg4\naac\n"));
    const QString input = makeInput(QStringLiteral("a.mkv"));
    std::vector<ConversionRow> rows = rowsOf({input});
    ConversionDriver driver(frontEnd);
    EXPECT_EQ(driver.run(setup(), rows).End, ConversionEnd::MissingEncoders);
    ASSERT_EQ(frontEnd.warnings.size(), 1);
    EXPECT_THAT(frontEnd.warnings[0].toStdString(), HasSubstr("libxvid"));
    EXPECT_TRUE(conversions().empty());

    ConversionSetup s = setup();
    s.BatchOnly = true;
    s.BatchFileName = path(QStringLiteral("later.sh"));
    EXPECT_EQ(driver.run(s, rows).End, ConversionEnd::Walked);
    EXPECT_TRUE(QFileInfo::exists(s.BatchFileName));
}

TEST_F(Driver, RunsTheAfterConversionActionOnlyAfterACleanRun)
{
    struct Case
    {
        int action;
        bool powerOffConfirmed;
        int powerCalls;
        bool closes;
    };
    const Case cases[] = {
        {AfterConversion::DoNothing, true, 0, false},
        {AfterConversion::CloseApplication, true, 0, true},
        {AfterConversion::CloseWindows, true, 1, true},
        // Cancelled during the countdown: the computer stays on, the program
        // open.
        {AfterConversion::CloseWindows, false, 0, false},
    };
    const QString input = makeInput(QStringLiteral("a.mkv"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        power.calls = 0;
        frontEnd.events.clear();
        frontEnd.confirmPowerOffAnswer = c.powerOffConfirmed;
        ConversionSetup s = setup();
        s.settings.cbAfterConversion = c.action;
        s.settings.cbOutputExists = OutputExists::Overwrite;
        std::vector<ConversionRow> rows = rowsOf({input});
        ConversionDriver driver(frontEnd);
        rows = driver.run(s, rows).rows;
        EXPECT_EQ(power.calls, c.powerCalls);
        EXPECT_EQ(frontEnd.events.contains(QStringLiteral("confirmPowerOff")),
            c.action == AfterConversion::CloseWindows);
        EXPECT_EQ(frontEnd.events.contains(QStringLiteral("closeApplication")), c.closes);
        EXPECT_TRUE(frontEnd.errors.isEmpty());
    }
}

TEST_F(Driver, CleansUpWhenFFmpegCannotBeStartedInTheMiddleOfARun)
{
    // Runs the fake, but the first conversion takes its own run bit away:
    // the second pass can no longer be started.
    const QString wrapper = path(QStringLiteral("ffmpeg"));
    ASSERT_TRUE(TestSupport::WriteFile(wrapper,
        QStringLiteral("#!/bin/sh\n"
                       "case \"$1\" in -i|-hide_banner|-version) ;; *) chmod -x \"$0\" ;; esac\n"
                       "exec '%1' \"$@\"\n")
            .arg(TestSupport::ToolPath(QStringLiteral("fake_ffmpeg")))
            .toUtf8()));
    QFile::setPermissions(wrapper, QFile::permissions(wrapper) | QFileDevice::ExeOwner);
    const QString input = makeInput(QStringLiteral("a.mkv"));
    ConversionSetup s = setup();
    s.params.ffmpeg = wrapper;
    s.settings.chAviVideo2Pass = true;
    std::vector<ConversionRow> rows = rowsOf({input, makeInput(QStringLiteral("b.mkv"))});

    ConversionDriver driver(frontEnd);
    const ConversionResult result = driver.run(s, rows);
    rows = result.rows;

    EXPECT_EQ(result.End, ConversionEnd::RunnerFailed);
    ASSERT_EQ(frontEnd.errors.size(), 1);
    EXPECT_THAT(frontEnd.errors[0].toStdString(), HasSubstr(wrapper.toStdString()));
    // The clean-up ran before the error was shown, and removed the folder
    // with the first pass's statistics.
    const qsizetype finishedAt = frontEnd.events.indexOf(QStringLiteral("runFinished"));
    EXPECT_GE(finishedAt, 0);
    EXPECT_LT(finishedAt, frontEnd.events.indexOf(QStringLiteral("error")));
    const std::vector<FakeCall> runs = conversions();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(runs[0].cwd));
    EXPECT_FALSE(driver.state().IsConverting);
    EXPECT_EQ(rows[1].Status, QStringLiteral("Ready"));
}

} // namespace
