#include "ui/filelist/AnalysisQueue.h"

#include "filelist/FileListAnalysis.h"

#include <algorithm>

AnalysisQueue::AnalysisQueue(int workers, QObject *parent)
    : QObject(parent)
    , m_maxWorkers(std::max(workers, 1))
    , m_jobs(m_maxWorkers)
{ }

AnalysisQueue::~AnalysisQueue()
{
    // The workers see their stop before they take the next job.
    m_jobs.stopAndWait();
}

void AnalysisQueue::enqueue(std::vector<AnalysisJob> jobs)
{
    int start = 0;
    {
        std::lock_guard lock(m_mutex);
        for (AnalysisJob &job : jobs)
            m_waiting.push_back(std::move(job));
        start = std::min(m_maxWorkers - m_workers, int(m_waiting.size()));
        m_workers += std::max(start, 0);
    }
    for (int i = 0; i < start; ++i)
        m_jobs.run(
            BackgroundJobs::EveryJob, [this](BackgroundJob &worker) { work(worker); }, [] {});
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

void AnalysisQueue::work(BackgroundJob &worker)
{
    for (;;) {
        AnalysisJob job;
        {
            std::lock_guard lock(m_mutex);
            if (worker.stopped() || m_waiting.empty()) {
                --m_workers;
                return;
            }
            job = std::move(m_waiting.front());
            m_waiting.pop_front();
            ++m_running;
        }
        const AnalysisSettings &settings = *job.settings;
        const TVideoFileInfo info = AnalyseFileForList(
            job.path, settings.mode, settings.mediaInfoDll, settings.ffmpeg, &worker.runner());
        AnalysisResult result{job.id, analysisCellsOf(info, settings.strings)};
        bool announce = false;
        {
            std::lock_guard lock(m_mutex);
            --m_running;
            m_results.push_back(std::move(result));
            announce = !std::exchange(m_announced, true);
        }
        if (announce)
            worker.post([this] { Q_EMIT resultsReady(); });
    }
}
