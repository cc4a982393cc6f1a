// Several files at once, through the fake FFmpeg: each file's run is
// scripted by a section matching its output's name, so the order in which
// they end is the test's, not the machine's.
#include "DriverTestSupport.h"
#include "conversion/JobCount.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <gmock/gmock.h>
#include <map>
#include <mutex>
#include <set>
#include <thread>

using namespace DriverTest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class DriverParallel : public DriverFixture
{
protected:
    ConversionSetup parallelSetup(int jobs)
    {
        ConversionSetup s = setup();
        s.jobs = jobs;
        return s;
    }
    QStringList fileNosEnded() const
    {
        QStringList numbers;
        for (const ConversionFileEnd &end : frontEnd.finished)
            numbers << QString::number(end.FileNo);
        return numbers;
    }
};

// Two inputs of the same name into one folder: the second output is renamed
// whichever file ends first, exactly as one file at a time names them.
TEST_F(DriverParallel, FilesEndingInReverseOrderKeepTheirNamesStatusesAndOrderOfNaming)
{
    ASSERT_TRUE(QDir(path({})).mkpath(QStringLiteral("one")));
    ASSERT_TRUE(QDir(path({})).mkpath(QStringLiteral("two")));
    const QStringList inputs{makeInput(QStringLiteral("one/clip.mkv")),
        makeInput(QStringLiteral("two/clip.mkv")), makeInput(QStringLiteral("last.mkv"))};

    std::vector<std::vector<ConversionRow>> results;
    for (const int jobs : {1, 2}) {
        SCOPED_TRACE(jobs);
        QDir(path(QStringLiteral("out"))).removeRecursively();
        // Two at a time, the first file is the slow one: the second and
        // third end before it (with time to spare on a loaded machine).
        writeScript(QStringLiteral("[run match=/clip.avi]\nprogress:3,100\nsleep:%1\noutput:100\n"
                                   "[run]\nprogress:3,20\noutput:100\n")
                        .arg(jobs == 1 ? 0 : 4000));
        frontEnd = RecordingFrontEnd();
        std::mutex seenMutex;
        std::set<int> progressFiles;
        frontEnd.onProgress = [&](const EncoderProgressUpdate &update) {
            const std::lock_guard lock(seenMutex);
            progressFiles.insert(update.FileNo);
            if (jobs > 1 && update.Updated) {
                EXPECT_GE(update.BatchPercentage, 0);
                EXPECT_GE(update.FilesDone, 0);
            }
        };
        ConversionSetup s = parallelSetup(jobs);
        s.settings.rbOutDir = true;
        s.settings.edOutDir = path(QStringLiteral("out"));
        s.settings.cbOutputExists = OutputExists::Rename;
        ConversionDriver driver(frontEnd);

        const ConversionResult result = driver.run(s, rowsOf(inputs));

        EXPECT_EQ(frontEnd.walk.Jobs, jobs);
        EXPECT_EQ(result.ErrorCount, 0);
        EXPECT_EQ(fileNosEnded(),
            jobs == 1 ? QStringList({"1", "2", "3"}) : QStringList({"2", "3", "1"}));
        EXPECT_EQ(progressFiles, (std::set<int>{1, 2, 3}));
        for (const ConversionRow &row : result.rows)
            EXPECT_EQ(QFileInfo(row.OutputFile).size(), 100);
        EXPECT_EQ(result.rows[0].Status, QStringLiteral("Done"));
        EXPECT_EQ(result.rows[1].Status, QStringLiteral("OK - Renamed"));
        EXPECT_EQ(result.rows[2].Status, QStringLiteral("Done"));
        EXPECT_EQ(result.rows[1].Outcome, RowOutcome::Renamed);
        results.push_back(result.rows);
    }
    ASSERT_EQ(results.size(), 2u);
    for (size_t k = 0; k < results[0].size(); ++k)
        EXPECT_EQ(results[1][k].OutputFile, results[0][k].OutputFile);
    EXPECT_EQ(QFileInfo(results[1][0].OutputFile).fileName(), QStringLiteral("clip.avi"));
    EXPECT_NE(results[1][1].OutputFile, results[1][0].OutputFile);
}

TEST_F(DriverParallel, AFileFailingWhileAnotherRunsStopsOnlyItselfAndLogsWhole)
{
    const QStringList inputs{makeInput(QStringLiteral("slow.mkv")),
        makeInput(QStringLiteral("bad.mkv")), makeInput(QStringLiteral("next.mkv"))};
    writeScript(QStringLiteral(
        "[run match=slow.avi]\nout:slow line one\\n\nprogress:4,150\nsleep:3000\n"
        "out:slow line two\\n\n"
        "output:100\n"
        "[run match=bad.avi]\nout:bad line one\\n\noutput:50\nout:bad line two\\n\nexit:3\n"
        "[run]\nprogress:2,20\noutput:100\n"));
    ConversionDriver driver(frontEnd);
    // Auto is the driver's to decide: two processors, one per conversion.
    ConversionSetup s = parallelSetup(AutoJobs);
    s.processorCount = 2;

    const ConversionResult result = driver.run(s, rowsOf(inputs));

    EXPECT_EQ(frontEnd.walk.Jobs, 2);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Done"));
    EXPECT_EQ(result.rows[1].Status, QStringLiteral("Error (3)"));
    EXPECT_EQ(result.rows[1].Outcome, RowOutcome::Failed);
    EXPECT_EQ(result.rows[2].Status, QStringLiteral("Done"));
    EXPECT_EQ(result.ErrorCount, 1);
    // The failed file's output is deleted, the others' kept.
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("bad.avi"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("slow.avi"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("next.avi"))));
    // The entry is the failed file's own, none of the other's lines in it.
    ASSERT_EQ(frontEnd.errorEntries.size(), 1);
    const std::string entry = frontEnd.errorEntries[0].toStdString();
    EXPECT_THAT(entry, HasSubstr("bad line one"));
    EXPECT_THAT(entry, HasSubstr("bad line two"));
    EXPECT_THAT(entry, HasSubstr("bad.mkv"));
    EXPECT_THAT(entry, Not(HasSubstr("slow")));
    // The failure reached its row before the slow file ended.
    EXPECT_EQ(fileNosEnded().first(), QStringLiteral("2"));
}

TEST_F(DriverParallel, AbortStopsEveryRunningFileAndAsksOnceForAllTheirOutputs)
{
    const QStringList inputs{makeInput(QStringLiteral("a.mkv")), makeInput(QStringLiteral("b.mkv")),
        makeInput(QStringLiteral("c.mkv"))};
    writeScript(QStringLiteral("[run]\noutput:5000\nprogress:400,50\n"));
    frontEnd.answerYes = true;
    ConversionDriver driver(frontEnd);
    std::mutex seenMutex;
    std::set<int> running;
    frontEnd.onProgress = [&](const EncoderProgressUpdate &update) {
        const std::lock_guard lock(seenMutex);
        running.insert(update.FileNo);
        if (running.size() == 2)
            driver.RequestAbort();
    };
    QElapsedTimer timer;
    timer.start();

    const ConversionResult result = driver.run(parallelSetup(2), rowsOf(inputs));

    // "q" ended both at once, not one after the other's full run.
    EXPECT_LT(timer.elapsed(), 8000);
    EXPECT_TRUE(result.Aborted);
    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Aborted"));
    EXPECT_EQ(result.rows[1].Status, QStringLiteral("Aborted"));
    EXPECT_EQ(result.rows[2].Status, QStringLiteral("Ready"));
    EXPECT_EQ(conversions().size(), 2u);
    ASSERT_EQ(frontEnd.questions.size(), 1);
    EXPECT_THAT(frontEnd.questions[0].toStdString(), HasSubstr("a.avi"));
    EXPECT_THAT(frontEnd.questions[0].toStdString(), HasSubstr("b.avi"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("b.avi"))));
    EXPECT_EQ(power.calls, 0);
}

TEST_F(DriverParallel, PauseHoldsEveryRunningFileUntilResumed)
{
    const QStringList inputs{
        makeInput(QStringLiteral("a.mkv")), makeInput(QStringLiteral("b.mkv"))};
    writeScript(QStringLiteral("[run]\nprogress:30,40\noutput:100\n"));
    ConversionDriver driver(frontEnd);
    std::mutex seenMutex;
    std::set<int> running;
    bool paused = false;
    int duringPause = 0;
    std::thread resumer;
    frontEnd.onProgress = [&](const EncoderProgressUpdate &update) {
        const std::lock_guard lock(seenMutex);
        running.insert(update.FileNo);
        if (paused)
            ++duringPause;
        if (running.size() == 2 && !resumer.joinable()) {
            ASSERT_TRUE(driver.pause());
            resumer = std::thread([&] {
                QThread::msleep(100);
                {
                    const std::lock_guard held(seenMutex);
                    paused = true;
                }
                QThread::msleep(600);
                {
                    const std::lock_guard held(seenMutex);
                    paused = false;
                }
                driver.resume();
            });
        }
    };

    const ConversionResult result = driver.run(parallelSetup(2), rowsOf(inputs));
    resumer.join();

    EXPECT_EQ(duringPause, 0);
    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Done"));
    EXPECT_EQ(result.rows[1].Status, QStringLiteral("Done"));
}

TEST_F(DriverParallel, TwoPassFilesAtOnceKeepTheirStatisticsApart)
{
    const QStringList inputs{
        makeInput(QStringLiteral("a.mkv")), makeInput(QStringLiteral("b.mkv"))};
    writeScript(QStringLiteral("[run]\nprogress:3,100\noutput:100\n"));
    ConversionSetup s = parallelSetup(2);
    s.settings.chAviVideo2Pass = true;
    ConversionDriver driver(frontEnd);

    const ConversionResult result = driver.run(s, rowsOf(inputs));

    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Done"));
    EXPECT_EQ(result.rows[1].Status, QStringLiteral("Done"));
    std::map<QString, QString> folderOf;
    for (const FakeCall &call : conversions())
        if (call.output().endsWith(QLatin1String(".avi")))
            folderOf[call.output()] = call.cwd;
    ASSERT_EQ(folderOf.size(), 2u);
    const QString a = folderOf[path(QStringLiteral("a.avi"))];
    const QString b = folderOf[path(QStringLiteral("b.avi"))];
    EXPECT_NE(a, b);
    EXPECT_EQ(QFileInfo(a).path(), QFileInfo(b).path());
    // The run's folders are gone with their statistics.
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(a).path()));
}

} // namespace
