#include "ui/settings/ToolJobs.h"

#include <QMetaObject>

ToolJobs::ToolJobs(QObject *parent)
    : QObject(parent)
{ }

ToolJobs::~ToolJobs()
{
    stopAll();
    // A result posted meanwhile is dropped with this object.
    m_pool.waitForDone();
}

void ToolJobs::stop(const Job &job)
{
    if (job)
        job->requestStop(0);
}

void ToolJobs::stopAll()
{
    for (const Job &job : m_running)
        stop(job);
}

bool ToolJobs::waitForDone(int msecs)
{
    return m_pool.waitForDone(msecs);
}

ToolJobs::Job ToolJobs::start(std::function<void(ConsoleRunner &)> work, std::function<void()> done)
{
    Job job = std::make_shared<ConsoleRunner>();
    m_running.insert(job);
    m_pool.start([this, job, work = std::move(work), done = std::move(done)]() mutable {
        work(*job);
        QMetaObject::invokeMethod(
            this,
            [this, job, done = std::move(done)] {
                m_running.erase(job);
                done();
            },
            Qt::QueuedConnection);
    });
    return job;
}
