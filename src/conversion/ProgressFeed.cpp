#include "conversion/ProgressFeed.h"

#include "conversion/EncoderOutput.h"

#include <algorithm>

void ProgressFeed::push(const EncoderProgressUpdate &update)
{
    if (!update.Updated)
        return;
    std::lock_guard lock(m_mutex);
    ProgressSnapshot &s = m_state;
    s.percentage = update.Percentage;
    s.frameCount = update.FrameCount;
    if (update.ProgressBar >= 0)
        s.progressBar = update.ProgressBar;
    s.statusMarkup = update.StatusMarkup;
    s.statusPlain = update.StatusPlain;
    if (!update.WindowCaption.isEmpty())
        s.windowCaption = update.WindowCaption;
    if (!update.ApplicationTitle.isEmpty())
        s.applicationTitle = update.ApplicationTitle;
    s.viewShowsOutput = update.ViewShowsOutput;
    s.fileTimeLeftMs = update.FileTimeLeftMs;
    s.batchTimeLeftMs = update.BatchTimeLeftMs;

    switch (m_keepView ? update.ViewChange : OutputViewChange::None) {
    case OutputViewChange::None:
        break;
    case OutputViewChange::AppendLine:
        m_view.append(update.ViewLine);
        break;
    case OutputViewChange::ReplaceLastLine:
        if (m_view.isEmpty()) {
            m_view.append(update.ViewLine);
        } else {
            m_view.last() = update.ViewLine;
            m_stable = std::min(m_stable, m_view.size() - 1);
        }
        break;
    case OutputViewChange::RemoveLastLine:
        if (!m_view.isEmpty()) {
            m_view.removeLast();
            m_stable = std::min(m_stable, m_view.size());
        }
        break;
    case OutputViewChange::Reset:
        m_view = update.ViewLines;
        m_stable = 0;
        m_reset = true;
        break;
    }
    changedLocked();
}

void ProgressFeed::resetView(const QStringList &lines)
{
    std::lock_guard lock(m_mutex);
    const QStringList next = m_keepView ? lines : QStringList();
    // The reader keeps the lines it has that the new view starts with: the
    // filtered output at the end of a run is mostly what it shows already.
    const qsizetype limit = std::min(m_stable, next.size());
    qsizetype same = 0;
    while (same < limit && m_view.at(same) == next.at(same))
        ++same;
    m_view = next;
    m_stable = same;
    if (same == 0)
        m_reset = true;
    changedLocked();
}

ProgressSnapshot ProgressFeed::take()
{
    std::lock_guard lock(m_mutex);
    ProgressSnapshot snapshot = m_state;
    snapshot.viewReset = m_reset;
    snapshot.keepLines = m_reset ? 0 : m_stable;
    snapshot.appendLines = m_view.mid(snapshot.keepLines);
    m_stable = m_view.size();
    m_reset = false;
    m_takenSequence = m_state.sequence;
    return snapshot;
}

bool ProgressFeed::hasNews() const
{
    std::lock_guard lock(m_mutex);
    return m_state.sequence != m_takenSequence;
}

QStringList ProgressFeed::viewLines() const
{
    std::lock_guard lock(m_mutex);
    return m_view;
}

void ProgressFeed::changedLocked()
{
    ++m_state.sequence;
}
