#pragma once

#include <QString>
#include <cstdint>
#include <vector>

struct ConversionRow;

// What the time left of a run is estimated from, as the driver knows it
// when FFmpeg reports progress.
struct TimeLeftInputs
{
    int64_t FramesDone = 0;
    // The file's video frames; 0 when unknown (then nothing is estimated).
    int64_t TotalFrames = 0;
    double FileDurationMs = 0; // 0 when unknown
    // FFmpeg's "speed=" factor (media time per wall-clock time); 0 unknown.
    double Speed = 0;
    // Since the current FFmpeg run started, and how much of it was paused:
    // FFmpeg measures its speed against the wall clock, pause included.
    int64_t PassRunningMs = 0;
    int64_t PassPausedMs = 0;
    int PassNo = 0; // 0 or 1..PassCount
    int PassCount = 1;
    // The checked rows after the current one: the sum of the durations
    // known, and how many are known and unknown. An unknown one counts as
    // long as the average of those known, the current file included.
    double NextFilesKnownMs = 0;
    int NextFilesKnown = 0;
    int NextFilesUnknown = 0;
};

// The checked rows after the current one, for the time left of the batch.
struct NextFiles
{
    double KnownMs = 0; // the sum of the durations known
    int Known = 0;
    int Unknown = 0;
};
NextFiles NextFilesAfter(const std::vector<ConversionRow> &rows, size_t index);

// Milliseconds left, -1 when they cannot be told.
struct TimeLeft
{
    int64_t FileMs = -1;
    int64_t BatchMs = -1;

    bool operator==(const TimeLeft &) const = default;
};

TimeLeft EstimateTimeLeft(const TimeLeftInputs &inputs);

// The speed figure FFmpeg prints ("2.05x", " 25x", "N/A"); 0 when it is
// not a positive number.
double ParseFFmpegSpeed(const QString &text);

// "0:42", "12:05", "1:02:03" (hours only when there are any); rounded down
// to whole seconds; "--:--" for a negative span.
QString FormatTimeSpan(int64_t ms);

// The application title with the time left of the batch: "(1/3) 25 % -
// Quillon" and "%s left" give "(1/3) 25 %, 3:10 left - Quillon". The title
// unchanged when the time is unknown.
QString TitleWithTimeLeft(const QString &title, int64_t batchMs, const QString &leftFormat);
