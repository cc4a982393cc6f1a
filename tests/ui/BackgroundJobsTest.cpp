#include "ui/common/BackgroundJobs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <latch>
#include <memory>

namespace {

enum Kind { Probe, Report };

// Lets the test hold a job until it has made its next request.
struct Gate
{
    std::latch open{1};
    void wait() { open.wait(); }
};

} // namespace

TEST(BackgroundJobs, DeliversTheResultOnTheOwnersThreadOnce)
{
    BackgroundJobs jobs(2);
    QThread *worker = nullptr;
    QThread *receiver = nullptr;
    QStringList results;
    jobs.run(
        BackgroundJobs::EveryJob,
        [&](BackgroundJob &) {
            worker = QThread::currentThread();
            return QStringLiteral("done");
        },
        [&](QString result) {
            receiver = QThread::currentThread();
            results << result;
        });
    EXPECT_TRUE(jobs.isPending(BackgroundJobs::EveryJob));
    ASSERT_TRUE(QTest::qWaitFor([&] { return jobs.pending() == 0; }, 10000));
    EXPECT_EQ(results, QStringList{QStringLiteral("done")});
    EXPECT_NE(worker, QThread::currentThread());
    EXPECT_EQ(receiver, QThread::currentThread());
}

// Latest request wins: the older one is stopped, its result never shown,
// while other kinds go on.
TEST(BackgroundJobs, ANewerRequestOfTheSameKindDropsTheOlderResult)
{
    BackgroundJobs jobs(3);
    auto gate = std::make_shared<Gate>();
    auto sawStop = std::make_shared<std::atomic<bool>>(false);
    QStringList results;
    const auto record = [&](QString result) { results << result; };
    jobs.run(
        Probe,
        [gate, sawStop](BackgroundJob &job) {
            gate->wait();
            sawStop->store(job.stopped());
            return QStringLiteral("old");
        },
        record);
    jobs.run(
        Report, [](BackgroundJob &) { return QStringLiteral("report"); }, record);
    jobs.run(
        Probe, [](BackgroundJob &) { return QStringLiteral("new"); }, record);
    gate->open.count_down();
    ASSERT_TRUE(jobs.waitForDone(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return jobs.pending() == 0; }, 10000));
    results.sort();
    EXPECT_EQ(results, (QStringList{QStringLiteral("new"), QStringLiteral("report")}));
    EXPECT_TRUE(sawStop->load());

    // A cancelled request delivers nothing; a stopped one still delivers,
    // but none of the parts it posts after the stop.
    jobs.run(
        Probe, [](BackgroundJob &) { return QStringLiteral("cancelled"); }, record);
    jobs.cancel(Probe);
    auto stopGate = std::make_shared<Gate>();
    jobs.run(
        Report,
        [stopGate, &results](BackgroundJob &job) {
            job.post([&results] { results << QStringLiteral("part before"); });
            stopGate->wait();
            job.post([&results] { results << QStringLiteral("part after"); });
            return QStringLiteral("stopped");
        },
        record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return results.contains("part before"); }, 10000));
    jobs.stop(Report);
    stopGate->open.count_down();
    ASSERT_TRUE(QTest::qWaitFor([&] { return jobs.pending() == 0; }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(results.mid(2), (QStringList{QStringLiteral("part before"), "stopped"}));
}

TEST(BackgroundJobs, NothingArrivesOnceTheOwnerIsGone)
{
    auto delivered = std::make_shared<int>(0);
    {
        auto owner = std::make_unique<QObject>();
        auto *jobs = new BackgroundJobs(1, owner.get());
        jobs->run(
            BackgroundJobs::EveryJob, [](BackgroundJob &job) { job.post([] {}); },
            [delivered] { ++*delivered; });
        ASSERT_TRUE(jobs->waitForDone(10000));
        // The result is queued for the owner's thread now.
    }
    QTest::qWait(50);
    EXPECT_EQ(*delivered, 0);
}

// Closing a window waits for its jobs, but no longer than they take to see
// their stop: a hung tool is killed, a long loop ends early.
TEST(BackgroundJobs, StopAndWaitStopsRunningJobsAndWaitsForThem)
{
    if (!QFile::exists(QStringLiteral("/bin/sleep")))
        GTEST_SKIP() << "no /bin/sleep";
    auto started = std::make_shared<std::latch>(2);
    auto ended = std::make_shared<std::atomic<int>>(0);
    auto sawStop = std::make_shared<std::atomic<bool>>(false);
    int delivered = 0;
    BackgroundJobs jobs(2);
    jobs.run(
        BackgroundJobs::EveryJob,
        [started, ended, sawStop](BackgroundJob &job) {
            started->count_down();
            QElapsedTimer clock;
            clock.start();
            while (!job.stopped() && clock.elapsed() < 30000)
                QThread::msleep(5);
            sawStop->store(job.stopped());
            ++*ended;
        },
        [&] { ++delivered; });
    jobs.run(
        BackgroundJobs::EveryJob,
        [started, ended](BackgroundJob &job) {
            started->count_down();
            job.runner().RunConsoleApp(
                CommandLine(QStringLiteral("/bin/sleep"), QStringLiteral("30")), nullptr);
            ++*ended;
        },
        [&] { ++delivered; });
    started->wait();
    QElapsedTimer clock;
    clock.start();
    jobs.stopAndWait();
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(ended->load(), 2);
    EXPECT_TRUE(sawStop->load());
    QTest::qWait(50);
    EXPECT_EQ(delivered, 0);
}
