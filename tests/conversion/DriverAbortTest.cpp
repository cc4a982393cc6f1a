#include "DriverTestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <gmock/gmock.h>
#include <thread>

using namespace DriverTest;
using ::testing::HasSubstr;

namespace {

class DriverAbort : public DriverFixture
{
protected:
    std::vector<ConversionRow> threeFiles()
    {
        return rowsOf({makeInput(QStringLiteral("a.mkv")), makeInput(QStringLiteral("b.mkv")),
            makeInput(QStringLiteral("c.mkv"))});
    }
};

TEST_F(DriverAbort, FFmpegEndingOnQLeavesTheFileAbortedAndAsksAboutItsOutput)
{
    writeScript(QStringLiteral("[run]\noutput:5000\nprogress:100,50\n"));
    for (const bool answerYes : {false, true}) {
        SCOPED_TRACE(answerYes);
        QFile::remove(m_log);
        QFile::remove(path(QStringLiteral("a.avi")));
        frontEnd = RecordingFrontEnd();
        frontEnd.answerYes = answerYes;
        ConversionSetup s = setup();
        s.settings.cbAfterConversion = AfterConversion::CloseWindows;
        std::vector<ConversionRow> rows = threeFiles();
        ConversionDriver driver(frontEnd);
        frontEnd.onProgress = [&](const EncoderProgressUpdate &) {
            driver.RequestAbort();
            EXPECT_FALSE(driver.RequestAbort()); // a second Abort does nothing
        };

        const ConversionResult result = driver.run(s, rows);

        rows = result.rows;

        EXPECT_TRUE(result.Aborted);
        EXPECT_EQ(rows[0].Status, QStringLiteral("Aborted"));
        EXPECT_EQ(rows[0].Outcome, RowOutcome::Aborted);
        EXPECT_EQ(rows[1].Status, QStringLiteral("Ready"));
        EXPECT_EQ(rows[2].Status, QStringLiteral("Ready"));
        ASSERT_EQ(conversions().size(), 1u);
        EXPECT_EQ(result.ErrorCount, 0); // FFmpeg ended with exit code 0
        ASSERT_EQ(frontEnd.finished.size(), 1u);
        EXPECT_FALSE(frontEnd.finished[0].Succeeded);
        EXPECT_FALSE(frontEnd.finished[0].ProgressComplete);

        ASSERT_EQ(frontEnd.questions.size(), 1);
        EXPECT_EQ(frontEnd.questions[0],
            QStringLiteral("The conversion has been aborted.\r\n\r\nDo you want to delete a "
                           "partially converted file:\r\n\r\n")
                + path(QStringLiteral("a.avi")));
        EXPECT_EQ(QFileInfo::exists(path(QStringLiteral("a.avi"))), !answerYes);
        EXPECT_EQ(power.calls, 0);
        EXPECT_FALSE(frontEnd.events.contains(QStringLiteral("closeApplication")));
        EXPECT_FALSE(driver.state().AbortRequested);
        EXPECT_FALSE(driver.state().AbortNow);
    }
}

TEST_F(DriverAbort, SilentFFmpegIgnoringQIsStoppedAfterTheGraceTime)
{
    writeScript(QStringLiteral("[run]\noutput:5000\nq:ignore\nsleep:30000\n"));
    std::vector<ConversionRow> rows = threeFiles();
    ConversionDriver driver(frontEnd);
    std::thread aborter;
    QElapsedTimer sinceAbort;
    // Once only: assigning over a running thread would end the whole program
    // if the driver went on to a further file.
    frontEnd.onFileStarted = [&](const ConversionFileView &) {
        if (aborter.joinable())
            return;
        aborter = std::thread([&] {
            QThread::msleep(300);
            sinceAbort.start();
            EXPECT_TRUE(driver.RequestAbort());
        });
    };

    const ConversionResult result = driver.run(setup(), rows);

    rows = result.rows;
    const qint64 stopMs = sinceAbort.elapsed();
    ASSERT_TRUE(aborter.joinable());
    aborter.join();

    EXPECT_GE(stopMs, 2400);
    EXPECT_LT(stopMs, 6000);
    EXPECT_TRUE(result.Aborted);
    EXPECT_TRUE(driver.state().AbortNow);
    EXPECT_EQ(rows[0].Status, QStringLiteral("Aborted"));
    EXPECT_EQ(rows[1].Status, QStringLiteral("Ready"));
    ASSERT_EQ(frontEnd.errorEntries.size(), 1);
    EXPECT_THAT(frontEnd.errorEntries[0].toStdString(), HasSubstr("ExitCode: 1"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
    // FFmpeg had to be stopped by force: the log gets its caption but is
    // not put in front of the user.
    EXPECT_EQ(frontEnd.errorLogCaption, QStringLiteral("Errors (1)"));
    EXPECT_FALSE(frontEnd.errorLogShown);
    EXPECT_EQ(conversions().size(), 1u);
}

TEST_F(DriverAbort, AnAbortDuringASkippedFileEndsTheWalkThere)
{
    // Requested while the second file, whose output exists, is being
    // skipped: the third file must not be started, and the complete output
    // that was there before is not offered for deletion.
    struct Recorder : RecordingFrontEnd
    {
        ConversionDriver *driver = nullptr;
        void rowStatusChanged(int row, const QString &status) override
        {
            RecordingFrontEnd::rowStatusChanged(row, status);
            if (row == 1 && status == QLatin1String("Converting"))
                driver->RequestAbort();
        }
    } recorder;
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("b.avi")), "complete"));
    ConversionSetup s = setup();
    s.settings.cbOutputExists = OutputExists::Skip;
    std::vector<ConversionRow> rows = threeFiles();
    ConversionDriver driver(recorder);
    recorder.driver = &driver;

    const ConversionResult result = driver.run(s, rows);

    rows = result.rows;

    EXPECT_TRUE(result.Aborted);
    EXPECT_EQ(rows[0].Status, QStringLiteral("Done"));
    EXPECT_EQ(rows[1].Status, QStringLiteral("Skipped"));
    EXPECT_EQ(rows[2].Status, QStringLiteral("Ready"));
    EXPECT_EQ(conversions().size(), 1u);
    EXPECT_TRUE(recorder.questions.isEmpty());
    EXPECT_EQ(TestSupport::ReadFile(path(QStringLiteral("b.avi"))), "complete");
}

} // namespace

namespace {

class DriverPause : public DriverFixture
{
};

TEST_F(DriverPause, PausedFFmpegMakesNoProgressAndTheFileTimeLeavesThePauseOut)
{
    // One second of progress lines; paused for 1.5 s after the first.
    writeScript(QStringLiteral("[run]\noutput:5000\nprogress:40,25\n"));
    std::vector<ConversionRow> rows = rowsOf({makeInput(QStringLiteral("a.mkv"))});
    ConversionDriver driver(frontEnd);
    std::atomic<int> updates{0};
    int updatesWhenPaused = -1;
    int updatesBeforeResume = -1;
    std::thread pauser;
    frontEnd.onProgress = [&](const EncoderProgressUpdate &) {
        if (++updates > 1 || pauser.joinable())
            return;
        pauser = std::thread([&] {
            EXPECT_TRUE(driver.pause());
            EXPECT_FALSE(driver.pause());
            QThread::msleep(200);
            updatesWhenPaused = updates;
            QThread::msleep(1300);
            updatesBeforeResume = updates;
            EXPECT_TRUE(driver.resume());
        });
    };
    ConversionSetup s = setup();
    s.ShowFileTimes = true;
    QElapsedTimer wall;
    wall.start();

    rows = driver.run(s, rows).rows;

    const qint64 wallMs = wall.elapsed();
    ASSERT_TRUE(pauser.joinable());
    pauser.join();
    EXPECT_EQ(updatesBeforeResume, updatesWhenPaused);
    EXPECT_GE(wallMs, 2400);
    ASSERT_EQ(frontEnd.finished.size(), 1u);
    EXPECT_TRUE(frontEnd.finished[0].Succeeded);
    const qint64 fileMs = frontEnd.finished[0].ElapsedMs;
    EXPECT_GE(fileMs, 900);
    EXPECT_LE(fileMs, wallMs - 1400);
    EXPECT_EQ(rows[0].Status, QStringLiteral("Done (took 0:0%1)").arg(fileMs / 1000));
    EXPECT_FALSE(driver.isPaused());
}

TEST_F(DriverPause, AbortWhilePausedStopsFFmpegAtOnce)
{
    writeScript(QStringLiteral("[run]\noutput:5000\nprogress:400,25\n"));
    std::vector<ConversionRow> rows = rowsOf({makeInput(QStringLiteral("a.mkv"))});
    ConversionDriver driver(frontEnd);
    std::thread aborter;
    QElapsedTimer sinceAbort;
    frontEnd.onProgress = [&](const EncoderProgressUpdate &) {
        if (aborter.joinable())
            return;
        driver.pause();
        aborter = std::thread([&] {
            QThread::msleep(300);
            sinceAbort.start();
            EXPECT_TRUE(driver.RequestAbort());
        });
    };

    const ConversionResult result = driver.run(setup(), rows);

    const qint64 stopMs = sinceAbort.elapsed();
    aborter.join();
    EXPECT_LT(stopMs, 1500); // "q" honoured, not the grace time
    EXPECT_TRUE(result.Aborted);
    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Aborted"));
    EXPECT_EQ(ChecksForRetry(result.rows), std::vector<bool>{true});
    EXPECT_FALSE(driver.isPaused());
}

} // namespace
