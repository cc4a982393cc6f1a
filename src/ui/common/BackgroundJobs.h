#pragma once

#include "process/ConsoleRunner.h"

#include <QObject>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>

// What a running job sees of itself: whether it has been stopped, and a
// console runner that is stopped with it.
class BackgroundJob : public std::enable_shared_from_this<BackgroundJob>
{
public:
    explicit BackgroundJob(QObject &jobs)
        : m_jobs(jobs)
    { }

    // Set once the job is stopped (by its owner, a newer request of its
    // kind, or the owner's close): long work polls it and ends early.
    bool stopped() const { return m_stopped.load(); }
    const std::atomic<bool> *stopFlag() const { return &m_stopped; }
    // Runs the job's console programs; a stop kills the running one at
    // once, and one started after the stop as soon as it starts.
    ConsoleRunner &runner() { return m_runner; }
    // Hands part of the result to the owner's thread before the job ends;
    // dropped when the job has been stopped by the time it arrives.
    void post(std::function<void()> part);

private:
    friend class BackgroundJobs;
    void stop();

    QObject &m_jobs;
    std::atomic<bool> m_stopped{false};
    ConsoleRunner m_runner;
};

// The work a window runs off its thread, on a pool of its own, so that a
// window's job never waits for another window's. A result comes back on
// the owner's thread, and never once this object is gone: the owner holds
// it as its last member (or calls stopAndWait() first in its destructor),
// so a delivered result always finds the owner whole.
class BackgroundJobs : public QObject
{
    Q_OBJECT
public:
    // Requests of one kind: the latest wins, an older one is stopped and
    // its result dropped. The owner numbers its kinds from 0.
    using Kind = int;
    // Jobs that all deliver.
    static constexpr Kind EveryJob = -1;

    explicit BackgroundJobs(int threads, QObject *parent = nullptr);
    ~BackgroundJobs() override; // stopAndWait()

    // Runs work(job) on a thread of the pool, then done(result) (done()
    // for work without a result) on the owner's thread.
    template <typename Work, typename Done> void run(Kind kind, Work work, Done done)
    {
        start(kind, [work = std::move(work), done = std::move(done)](BackgroundJob &job) mutable {
            if constexpr (std::is_void_v<std::invoke_result_t<Work &, BackgroundJob &>>) {
                work(job);
                return std::function<void()>(done);
            } else {
                return std::function<void()>(
                    [done, result = work(job)]() mutable { done(std::move(result)); });
            }
        });
    }

    // Stops the pending job of kind; its result still arrives, as the stop
    // left it.
    void stop(Kind kind);
    // Stops it and drops its result, as a newer request would.
    void cancel(Kind kind);
    // Results still to come: of kind, and of all kinds.
    bool isPending(Kind kind) const { return pendingOf(kind) != m_pending.end(); }
    int pending() const { return int(m_pending.size()); }
    // Stops every job and waits until they have ended; nothing is delivered
    // after it. New jobs may start afterwards.
    void stopAndWait();
    // Waits until every job has ended; results arrive afterwards.
    bool waitForDone(int msecs = -1) { return m_pool.waitForDone(msecs); }

private:
    using Work = std::function<std::function<void()>(BackgroundJob &)>;
    struct Pending
    {
        Kind kind;
        std::shared_ptr<BackgroundJob> job;
    };

    void start(Kind kind, Work work);
    void deliver(quint64 ticket, const std::function<void()> &done);
    std::map<quint64, Pending>::const_iterator pendingOf(Kind kind) const
    {
        return std::find_if(m_pending.begin(), m_pending.end(),
            [kind](const auto &entry) { return entry.second.kind == kind; });
    }

    // Touched on the owner's thread only: a worker just posts its result.
    std::map<quint64, Pending> m_pending;
    quint64 m_lastTicket = 0;
    QThreadPool m_pool;
};
