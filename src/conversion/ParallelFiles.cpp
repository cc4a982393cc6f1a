#include "conversion/ParallelFiles.h"

#include "app/AppInfo.h"
#include "conversion/PlannedCommands.h"
#include "conversion/ProbeBatch.h"

#include <algorithm>
#include <utility>

ConversionDriver::Parallel::Parallel(int jobs)
    : m_slots(size_t(jobs))
{ }

ConversionDriver::Parallel::~Parallel()
{
    waitUntilBelow(1, [](FileRun &) {});
}

int ConversionDriver::Parallel::freeSlot() const
{
    const std::lock_guard lock(m_mutex);
    for (size_t k = 0; k < m_slots.size(); ++k)
        if (!m_slots[k].file)
            return int(k);
    return -1;
}

void ConversionDriver::Parallel::start(
    int slot, std::unique_ptr<FileRun> file, std::function<void(FileRun &)> work)
{
    const std::lock_guard lock(m_mutex);
    Slot &s = m_slots[size_t(slot)];
    s.file = std::move(file);
    s.share = 0;
    ++m_running;
    s.thread = std::thread([this, slot, file = s.file.get(), work = std::move(work)] {
        work(*file);
        {
            const std::lock_guard ended(m_mutex);
            m_endedSlots.push_back(slot);
        }
        m_ended.notify_all();
    });
}

void ConversionDriver::Parallel::waitUntilBelow(
    int limit, const std::function<void(FileRun &)> &onEnd)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        while (!m_endedSlots.empty()) {
            const int slot = m_endedSlots.front();
            m_endedSlots.pop_front();
            Slot &s = m_slots[size_t(slot)];
            std::thread thread = std::move(s.thread);
            std::unique_ptr<FileRun> file = std::move(s.file);
            lock.unlock();
            thread.join();
            onEnd(*file);
            lock.lock();
            --m_running;
        }
        if (m_running < limit)
            return;
        m_ended.wait(lock, [this] { return !m_endedSlots.empty(); });
    }
}

void ConversionDriver::Parallel::countEnded(int slot)
{
    const std::lock_guard lock(m_mutex);
    ++m_filesEnded;
    if (slot >= 0)
        m_slots[size_t(slot)].share = 0;
}

double ConversionDriver::Parallel::setShare(int slot, double share)
{
    const std::lock_guard lock(m_mutex);
    m_slots[size_t(slot)].share = share;
    double done = m_filesEnded;
    for (const Slot &s : m_slots)
        done += s.share;
    return done;
}

int ConversionDriver::Parallel::filesEnded() const
{
    const std::lock_guard lock(m_mutex);
    return m_filesEnded;
}

void ConversionDriver::runInParallel(std::unique_ptr<FileRun> file, const PlannedCommands &planned)
{
    const int slot = m_parallel->freeSlot();
    file->slot = slot;
    file->runner = slot == 0 ? &m_runner : m_moreRunners[size_t(slot - 1)].get();
    file->ownOutput = std::make_unique<EncoderOutputHandler>(setup().strings);
    file->output = file->ownOutput.get();
    // The files after it are analysed while it converts, as in a run of one
    // file at a time; probing is the driver's, so it starts here.
    probeAhead(file->index, ProbeBatchSize, true);
    m_parallel->start(slot, std::move(file), [this, planned](FileRun &f) {
        try {
            runPasses(f, planned);
        } catch (const ConsoleRunError &) {
            f.error = std::current_exception();
        }
    });
}

void ConversionDriver::addBatchProgress(const FileRun &file, EncoderProgressUpdate &update)
{
    if (!m_parallel || !update.Updated)
        return;
    // Two passes make one file: each is half of it.
    const double pass = file.passNo > 0 ? file.passNo - 1 : 0;
    const double share = (pass + update.Percentage / 100.0) / std::max(1, file.passCount);
    const double done = m_parallel->setShare(file.slot, share);
    const int count = std::max(1, m_state.FileCount);
    const double fraction = std::clamp(done / count, 0.0, 1.0);
    update.FilesDone = m_parallel->filesEnded();
    update.BatchPercentage = int(fraction * 100);
    update.WindowCaption = setup().strings.Progress.lblProgress + u' '
        + QString::number(update.BatchPercentage) + u'%';
    update.ApplicationTitle = u'(' + QString::number(update.FilesDone) + u'/'
        + QString::number(count) + QStringLiteral(") ") + QString::number(update.BatchPercentage)
        + QStringLiteral(" % - ") + QLatin1String(AppInfo::ProgramName);
    // From the pace so far: the files overlap, so adding their own times
    // left would count the same seconds several times.
    const int64_t elapsed = m_clock.elapsedMs();
    update.BatchTimeLeftMs = fraction >= 0.01 && elapsed >= 2000
        ? int64_t(double(elapsed) * (1 - fraction) / fraction)
        : -1;
}
