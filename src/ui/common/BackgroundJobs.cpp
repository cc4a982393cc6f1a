#include "ui/common/BackgroundJobs.h"

#include <QMetaObject>

void BackgroundJob::stop()
{
    m_stopped.store(true);
    // Also between two programs: the stop stays for the next one.
    m_runner.requestStop(0);
}

void BackgroundJob::post(std::function<void()> part)
{
    // The pool waits for this job before the owner's object goes, so the
    // call cannot outlive it; a call still queued then is dropped with it.
    QMetaObject::invokeMethod(
        &m_jobs,
        [self = shared_from_this(), part = std::move(part)] {
            if (!self->stopped())
                part();
        },
        Qt::QueuedConnection);
}

BackgroundJobs::BackgroundJobs(int threads, QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(std::max(threads, 1));
}

BackgroundJobs::~BackgroundJobs()
{
    stopAndWait();
}

void BackgroundJobs::start(Kind kind, Work work)
{
    if (kind != EveryJob)
        cancel(kind);
    auto job = std::make_shared<BackgroundJob>(*this);
    const quint64 ticket = ++m_lastTicket;
    m_pending.emplace(ticket, Pending{kind, job});
    m_pool.start([this, job, ticket, work = std::move(work)]() mutable {
        std::function<void()> done = work(*job);
        QMetaObject::invokeMethod(
            this, [this, ticket, done = std::move(done)] { deliver(ticket, done); },
            Qt::QueuedConnection);
    });
}

void BackgroundJobs::deliver(quint64 ticket, const std::function<void()> &done)
{
    // Gone from the list: a newer request of its kind, or stopAndWait().
    if (m_pending.erase(ticket) == 1)
        done();
}

void BackgroundJobs::stop(Kind kind)
{
    const auto it = pendingOf(kind);
    if (it != m_pending.end())
        it->second.job->stop();
}

void BackgroundJobs::cancel(Kind kind)
{
    stop(kind);
    if (const auto it = pendingOf(kind); it != m_pending.end())
        m_pending.erase(it);
}

void BackgroundJobs::stopAndWait()
{
    for (auto &entry : m_pending)
        entry.second.job->stop();
    m_pending.clear();
    m_pool.waitForDone();
}
