#include "ui/conversion/RunningFilesFeed.h"

#include "conversion/EncoderOutput.h"
#include "conversion/StatusMarkup.h"

struct RunningFilesFeed::File
{
    RunningFileState state;
    bool changed = false;
    // The file's output view, kept whole for the moment it is chosen.
    ProgressFeed view;
};

RunningFilesFeed::RunningFilesFeed() = default;
RunningFilesFeed::~RunningFilesFeed() = default;

void RunningFilesFeed::addFile(int fileNo)
{
    std::lock_guard lock(m_mutex);
    auto file = std::make_unique<File>();
    file->state.fileNo = fileNo;
    m_files[fileNo] = std::move(file);
}

void RunningFilesFeed::removeFile(int fileNo)
{
    std::lock_guard lock(m_mutex);
    m_files.erase(fileNo);
}

void RunningFilesFeed::push(const EncoderProgressUpdate &update)
{
    if (!update.Updated)
        return;
    // The speed comes as its status-line field; the list wants its figure.
    const QString speed = MarkupToPlainText(update.SpeedText).trimmed();
    std::lock_guard lock(m_mutex);
    if (update.BatchPercentage >= 0)
        m_batch.percentage = update.BatchPercentage;
    if (!update.WindowCaption.isEmpty())
        m_batch.windowCaption = update.WindowCaption;
    if (!update.ApplicationTitle.isEmpty())
        m_batch.applicationTitle = update.ApplicationTitle;
    m_batch.timeLeftMs = update.BatchTimeLeftMs;
    m_batchChanged = true;
    ++m_sequence;

    const auto it = m_files.find(update.FileNo);
    if (it == m_files.end())
        return;
    File &file = *it->second;
    RunningFileState &s = file.state;
    if (update.ProgressBar >= 0)
        s.percentage = update.ProgressBar;
    s.speed = speed;
    s.timeLeftMs = update.FileTimeLeftMs;
    s.statusMarkup = update.StatusMarkup;
    file.changed = true;
    file.view.push(update);
}

void RunningFilesFeed::resetView(int fileNo, const QStringList &lines)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_files.find(fileNo);
    if (it == m_files.end())
        return;
    it->second->view.resetView(lines);
    ++m_sequence;
}

RunningFilesTake RunningFilesFeed::take(int chosenFileNo, bool wholeView)
{
    std::lock_guard lock(m_mutex);
    RunningFilesTake t;
    t.batchChanged = m_batchChanged;
    t.batch = m_batch;
    m_batchChanged = false;
    for (auto &[fileNo, file] : m_files) {
        const bool chosen = fileNo == chosenFileNo;
        if (file->changed || (chosen && wholeView))
            t.files.push_back(file->state);
        file->changed = false;
        if (!chosen)
            continue;
        t.viewFileNo = fileNo;
        // Under the lock no line comes between the take and the copy: the
        // reader's view and the feed's agree again.
        t.view = file->view.take();
        if (wholeView) {
            t.view.viewReset = true;
            t.view.keepLines = 0;
            t.view.appendLines = file->view.viewLines();
        }
    }
    m_takenSequence = m_sequence;
    return t;
}

bool RunningFilesFeed::hasNews() const
{
    std::lock_guard lock(m_mutex);
    return m_sequence != m_takenSequence;
}
