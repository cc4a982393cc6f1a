#include "ui/filelist/AnalysisQueue.h"

#include "filelist/FileListAnalysis.h"
#include "process/ConsoleRunner.h"

#include <algorithm>

AnalysisQueue::AnalysisQueue(int workers, QObject *parent)
    : QObject(parent)
    , m_maxWorkers(std::max(workers, 1))
{
    m_pool.setMaxThreadCount(m_maxWorkers);
}

AnalysisQueue::~AnalysisQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_waiting.clear();
        // A probe about to start gets the stop at its start.
        for (ConsoleRunner *runner : m_runners)
            runner->requestStop(0);
    }
    m_pool.waitForDone();
}

void AnalysisQueue::enqueue(std::vector<AnalysisJob> jobs)
{
    int start = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        for (AnalysisJob &job : jobs)
            m_waiting.push_back(std::move(job));
        start = std::min(m_maxWorkers - m_workers, int(m_waiting.size()));
        m_workers += std::max(start, 0);
    }
    for (int i = 0; i < start; ++i)
        m_pool.start([this] { work(); });
}

std::vector<AnalysisJob> AnalysisQueue::cancel(const std::set<uint64_t> &ids)
{
    std::vector<AnalysisJob> taken;
    std::lock_guard lock(m_mutex);
    const auto cancelled = [&](AnalysisJob &job) {
        if (!ids.count(job.id))
            return false;
        taken.push_back(std::move(job));
        return true;
    };
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), cancelled), m_waiting.end());
    return taken;
}

int AnalysisQueue::outstanding() const
{
    std::lock_guard lock(m_mutex);
    return int(m_waiting.size() + m_results.size()) + m_running;
}

std::vector<AnalysisResult> AnalysisQueue::takeResults()
{
    std::lock_guard lock(m_mutex);
    m_announced = false;
    return std::exchange(m_results, {});
}

void AnalysisQueue::work()
{
    ConsoleRunner runner;
    for (;;) {
        AnalysisJob job;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping || m_waiting.empty()) {
                --m_workers;
                return;
            }
            job = std::move(m_waiting.front());
            m_waiting.pop_front();
            ++m_running;
            m_runners.insert(&runner);
        }
        const AnalysisSettings &settings = *job.settings;
        const TVideoFileInfo info = AnalyseFileForList(
            job.path, settings.mode, settings.mediaInfoDll, settings.ffmpeg, &runner);
        AnalysisResult result{job.id, analysisCellsOf(info, settings.strings)};
        bool announce = false;
        {
            std::lock_guard lock(m_mutex);
            m_runners.erase(&runner);
            --m_running;
            m_results.push_back(std::move(result));
            announce = !std::exchange(m_announced, true);
        }
        // This object outlives the workers (its destructor waits for them),
        // and a call still queued when it goes is dropped with it.
        if (announce)
            QMetaObject::invokeMethod(this, &AnalysisQueue::resultsReady, Qt::QueuedConnection);
    }
}
