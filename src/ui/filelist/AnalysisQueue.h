#pragma once

#include "app/AppParams.h"
#include "filelist/FileListRow.h"
#include "i18n/AppStrings.h"
#include "ui/common/BackgroundJobs.h"

#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

// What the analyses of one adding share: the mode, the tools and the texts
// the cells take (scan type, "Channels:").
struct AnalysisSettings
{
    TFileAnalysis mode = faNone;
    QString mediaInfoDll;
    QString ffmpeg;
    TAppStrings strings;
};

struct AnalysisJob
{
    uint64_t id = 0; // the row's
    QString path;
    std::shared_ptr<const AnalysisSettings> settings;
};

struct AnalysisResult
{
    uint64_t id = 0;
    FileAnalysisCells cells;
};

// The analyses of added files, run on worker threads (as many as the
// machine has cores) in the order they came. Results are collected and
// announced on the owner's thread once per event-loop turn at most, however
// many arrived meanwhile.
class AnalysisQueue : public QObject
{
    Q_OBJECT
public:
    explicit AnalysisQueue(int workers, QObject *parent = nullptr);
    // Drops the jobs not started, stops the running FFmpeg probes and waits
    // for the workers: nothing runs on after it.
    ~AnalysisQueue() override;

    void enqueue(std::vector<AnalysisJob> jobs);
    // Takes back the jobs of these rows that have not started; they will
    // not report. Running ones still do.
    std::vector<AnalysisJob> cancel(const std::set<uint64_t> &ids);
    // Jobs waiting, running, or done with a result not yet taken.
    int outstanding() const;
    std::vector<AnalysisResult> takeResults();

Q_SIGNALS:
    void resultsReady();

private:
    void work(BackgroundJob &worker);

    mutable std::mutex m_mutex;
    std::deque<AnalysisJob> m_waiting;
    std::vector<AnalysisResult> m_results;
    int m_workers = 0;
    int m_maxWorkers = 1;
    int m_running = 0;
    bool m_announced = false;
    // Each job a worker that takes analyses from the queue until it is
    // empty.
    BackgroundJobs m_jobs;
};
