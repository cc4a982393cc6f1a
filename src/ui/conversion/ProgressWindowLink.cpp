#include "ui/conversion/ProgressWindowLink.h"

#include "conversion/ProgressFeed.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/conversion/WindowFrontEnd.h"

ProgressWindowLink::ProgressWindowLink(
    WindowFrontEnd &frontEnd, TFormProgress *window, QObject *parent)
    : QObject(parent)
    , m_frontEnd(frontEnd)
    , m_window(window)
{
    WindowFrontEnd *fe = &frontEnd;
    const auto queued = Qt::QueuedConnection;
    connect(
        fe, &WindowFrontEnd::walkBegan, this,
        [this](const ConversionWalkStart &start) {
            m_running = !start.BatchOnly && start.Jobs > 1;
            if (m_window)
                m_window->runStarted(start);
        },
        queued);
    connect(
        fe, &WindowFrontEnd::fileBegan, this,
        [this](const ConversionFileView &file) {
            drain();
            if (m_window)
                m_window->fileStarted(file);
        },
        queued);
    connect(
        fe, &WindowFrontEnd::fileWasSkipped, this,
        [this](const ConversionFileView &file) {
            drain();
            if (m_window)
                m_window->fileSkipped(file);
        },
        queued);
    connect(
        fe, &WindowFrontEnd::fileEnded, this,
        [this](const ConversionFileEnd &end) {
            drain();
            if (m_window)
                m_window->fileFinished(end);
            // The file's values have been shown to the end.
            if (m_running)
                m_frontEnd.runningFiles().removeFile(end.FileNo);
        },
        queued);
    connect(
        fe, &WindowFrontEnd::runEnded, this,
        [this](const ConversionRunEnd &end) {
            drain();
            if (m_window)
                m_window->runFinished(end);
        },
        queued);
    if (m_window)
        connect(m_window, &TFormProgress::chosenFileChanged, this, [this] {
            if (m_running)
                drainRunning(true);
        });
}

void ProgressWindowLink::drain()
{
    if (m_running) {
        drainRunning(m_window && m_window->wantsWholeView());
        return;
    }
    ProgressFeed &feed = m_frontEnd.feed();
    if (!feed.hasNews())
        return;
    const ProgressSnapshot snapshot = feed.take();
    if (m_window)
        m_window->applySnapshot(snapshot);
    Q_EMIT progressTaken(
        snapshot.applicationTitle, snapshot.fileTimeLeftMs, snapshot.batchTimeLeftMs);
}

void ProgressWindowLink::drainRunning(bool wholeView)
{
    RunningFilesFeed &feed = m_frontEnd.runningFiles();
    if (!wholeView && !feed.hasNews())
        return;
    const int chosen = m_window ? m_window->chosenFileNo() : 0;
    const RunningFilesTake take = feed.take(chosen, wholeView);
    int64_t fileLeftMs = -1;
    if (m_window) {
        m_window->applyRunningFiles(take);
        fileLeftMs = m_window->chosenFileTimeLeftMs();
    }
    Q_EMIT progressTaken(take.batch.applicationTitle, fileLeftMs, take.batch.timeLeftMs);
}
