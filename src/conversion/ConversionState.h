#pragma once

#include "analysis/VideoFileInfo.h"

#include <QString>
#include <atomic>

// The flags and counters of one conversion run. The driver writes them; the
// abort flags are also set from other threads (the Abort command of a window,
// a terminal's interrupt), so they are atomic. Everything else is only read
// on the driver's thread or between runs.
struct ConversionState
{
    // From the start of a run to its clean-up.
    std::atomic<bool> IsConverting{false};
    // The output has no video: the video stream is dropped, the audio kept.
    bool AudioOnly = false;
    // The current file is encoded in two passes; keeps the last file's value.
    bool TwoPass = false;
    int PassNo = 0; // 1 or 2 during a two-pass encoding
    int FileNo = 0; // 1-based number of the checked row (skipped ones count)
    int FileCount = 0; // checked rows when the run started
    // The user asked to abort.
    std::atomic<bool> AbortRequested{false};
    // The grace time after the abort request ran out and FFmpeg was stopped
    // by force; stays set until the next run starts.
    std::atomic<bool> AbortNow{false};
    // The run only collects the batch script.
    bool BatchOnly = false;
    QString BatchFileName;
    // Error-log entries written during this run.
    int ErrorCount = 0;
    // Probe result of the file being converted. The driver's own record, so
    // that a run on a worker thread shares nothing with the window's preview.
    TVideoFileInfo CurrentFileInfo;
};
