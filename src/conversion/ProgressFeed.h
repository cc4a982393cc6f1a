#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <mutex>

struct EncoderProgressUpdate;

// What a front end shows of a run's progress, as one consistent state.
struct ProgressSnapshot
{
    // Grows with every change taken in; equal numbers mean nothing new.
    uint64_t sequence = 0;

    int percentage = 0;
    int frameCount = 0;
    // The progress bar's position; -1 while no update has moved it.
    int progressBar = -1;
    QString statusMarkup;
    QString statusPlain;
    // The last non-empty captions ("Progress: 25%", "(1/3) 25 % - Quillon").
    QString windowCaption;
    QString applicationTitle;
    // The time left as of the latest update; -1 when unknown.
    int64_t fileTimeLeftMs = -1;
    int64_t batchTimeLeftMs = -1;

    // The output view: false while it shows "Please wait..." instead.
    bool viewShowsOutput = true;
    // How the view changed since the previous take: keep the first
    // keepLines lines the reader has (all of them are dropped when
    // viewReset), then append appendLines.
    bool viewReset = false;
    qsizetype keepLines = 0;
    QStringList appendLines;
};

// Sits between the driver, which reports after every line of FFmpeg output,
// and a front end that repaints at its own pace (a window at about 10 Hz, a
// terminal a few times a second). The driver's thread pushes; any other
// thread takes. The latest values win; the output view's lines are kept
// whole, so a reader that takes rarely still ends with the exact view, and
// a take costs what changed since the previous one, not the whole output.
class ProgressFeed
{
public:
    // A reader that shows only the status line needs no copy of the view.
    enum ViewKeeping { WithView, WithoutView };
    explicit ProgressFeed(ViewKeeping keeping = WithView)
        : m_keepView(keeping == WithView)
    { }

    // Driver's thread: one update of the line handler. An update that did
    // not run (Updated false) changes nothing.
    void push(const EncoderProgressUpdate &update);
    // Driver's thread: the view starts again with these lines (empty for a
    // new file; the filtered output after a failure or at the end). The
    // reader is sent only what differs from the lines it has.
    void resetView(const QStringList &lines = {});

    // Any thread: the state now and the view's change since the last take.
    ProgressSnapshot take();
    // Any thread: whether take() would return anything new.
    bool hasNews() const;
    // Any thread: the whole view as it stands (for a reader that starts late).
    QStringList viewLines() const;

private:
    void changedLocked();

    const bool m_keepView;
    mutable std::mutex m_mutex;
    ProgressSnapshot m_state;
    QStringList m_view;
    // Lines the reader has that are still unchanged.
    qsizetype m_stable = 0;
    bool m_reset = false;
    uint64_t m_takenSequence = 0;
};
