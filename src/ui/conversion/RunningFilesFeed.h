#pragma once

#include "conversion/ProgressFeed.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

struct EncoderProgressUpdate;

// One running file as the list of running files shows it.
struct RunningFileState
{
    int fileNo = 0;
    int percentage = 0; // the file's progress bar
    QString speed; // plain text ("2.05x"); empty while FFmpeg gives none
    int64_t timeLeftMs = -1;
    QString statusMarkup; // the status line of that file
};

// The whole batch while several files convert at once.
struct BatchProgress
{
    int percentage = 0;
    QString windowCaption; // "Progress: 25%"
    QString applicationTitle; // "(1/3) 25 % - Quillon"
    int64_t timeLeftMs = -1;
};

// What changed since the previous take.
struct RunningFilesTake
{
    bool batchChanged = false;
    BatchProgress batch;
    // The files whose values changed (the chosen one always, when its whole
    // view was asked for), in the order they started.
    std::vector<RunningFileState> files;
    // The chosen file's output view: its change since the previous take,
    // or all of it (viewReset) when asked for. viewFileNo 0: none.
    int viewFileNo = 0;
    ProgressSnapshot view;
};

// The progress of a run that converts several files at once, between the
// files' threads, which push after every line of FFmpeg output, and the
// window, which takes at its own pace. Each running file keeps its values
// and its whole output view; only the view of the file the window follows
// is ever copied out, so a file in the background costs one line's work per
// line. Thread-safe.
class RunningFilesFeed
{
public:
    RunningFilesFeed();
    ~RunningFilesFeed();

    // The driver's thread: the file is about to start, and its end (the
    // window forgets it once it has shown the end).
    void addFile(int fileNo);
    void removeFile(int fileNo);
    // Any thread: one update of a file's line handler (update.FileNo); an
    // update of a file not added changes nothing.
    void push(const EncoderProgressUpdate &update);
    // The file's view starts again with these lines (its filtered output
    // after a failure).
    void resetView(int fileNo, const QStringList &lines);

    // The window: what changed, with the view of chosenFileNo (0: none);
    // wholeView sends all of that view, not its change.
    RunningFilesTake take(int chosenFileNo, bool wholeView);
    bool hasNews() const;

private:
    struct File;

    mutable std::mutex m_mutex;
    std::map<int, std::unique_ptr<File>> m_files;
    BatchProgress m_batch;
    bool m_batchChanged = false;
    uint64_t m_sequence = 0;
    uint64_t m_takenSequence = 0;
};
