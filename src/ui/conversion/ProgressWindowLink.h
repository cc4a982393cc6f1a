#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>

class TFormProgress;
class WindowFrontEnd;

// Brings one run to the progress window: the run's and the files' starts
// and ends by the
// front end's queued signals, and the progress from its feeds, taken at the
// window's pace (drain(), about ten times a second) and whenever an event
// of the run needs the state from before it. A run of several files at once
// is taken from the running files' feed, with the view of the file the
// window follows.
class ProgressWindowLink : public QObject
{
    Q_OBJECT
public:
    ProgressWindowLink(WindowFrontEnd &frontEnd, TFormProgress *window, QObject *parent = nullptr);

    // Shows what the feeds hold new.
    void drain();

Q_SIGNALS:
    // After a take with news: what the titles and the time labels need.
    void progressTaken(
        const QString &applicationTitle, int64_t fileTimeLeftMs, int64_t batchTimeLeftMs);

private:
    void drainRunning(bool wholeView);

    WindowFrontEnd &m_frontEnd;
    QPointer<TFormProgress> m_window;
    bool m_running = false; // several files at once
};
