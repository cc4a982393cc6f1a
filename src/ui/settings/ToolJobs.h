#pragma once

#include "process/ConsoleRunner.h"

#include <QObject>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <set>

// Work that runs a tool (FFmpeg asked about a file, its encoders, its help)
// off the window's thread. Each job gets a runner of its own, so it can be
// stopped; its result comes back on this object's thread. Destroying the
// object stops the jobs and waits for them, and drops their results.
class ToolJobs : public QObject
{
    Q_OBJECT
public:
    using Job = std::shared_ptr<ConsoleRunner>;

    explicit ToolJobs(QObject *parent = nullptr);
    ~ToolJobs() override;

    // Runs work(runner) on a worker thread, then done(result) here. The
    // returned handle stops the job (stop()).
    template <typename Result>
    Job run(std::function<Result(ConsoleRunner &)> work, std::function<void(Result)> done)
    {
        auto result = std::make_shared<Result>();
        return start(
            [work = std::move(work), result](ConsoleRunner &runner) { *result = work(runner); },
            [done = std::move(done), result] { done(std::move(*result)); });
    }

    // Stops the job's tool at once, also one not started yet; its result
    // still arrives (as the tool left it).
    static void stop(const Job &job);
    void stopAll();
    // Waits until every job has ended (tests).
    bool waitForDone(int msecs = -1);

private:
    Job start(std::function<void(ConsoleRunner &)> work, std::function<void()> done);

    QThreadPool m_pool;
    std::set<Job> m_running;
};
