#pragma once

#include <QString>
#include <vector>

struct FileListRow;

// How a row's file came out of a run.
enum class RowOutcome {
    NotReached, // unchecked, or the walk ended before it
    Done,
    Renamed, // converted under a numbered name
    Overwritten, // converted over the existing output
    Skipped, // the output existed and the policy is "Skip file"
    Failed, // FFmpeg ended with a nonzero exit code, or the input was gone
    Aborted,
};

// The driver's view of one row of the file list: which file, whether it
// takes part, and what the run wrote into it.
struct ConversionRow
{
    QString FullFileName;
    bool Checked = true;
    // The folder the file was added through; empty for a file added alone.
    QString TreeRoot;
    // The colStatus cell.
    QString Status;
    // The output path decided for the file; empty until the row is reached.
    QString OutputFile;
    RowOutcome Outcome = RowOutcome::NotReached;
    // The file's duration as the list's analysis found it, for the time left
    // of a run; 0 when unknown. The run sets it when it analyses the file.
    double DurationMs = 0;
};

// The rows handed to a run: one per row of the list, in its order, with the
// file, its check, its status and the duration its analysis found.
std::vector<ConversionRow> ConversionRowsOf(const std::vector<FileListRow> &list);

// How the rows of a run came out, counted.
struct OutcomeCounts
{
    int notReached = 0;
    int done = 0;
    int renamed = 0;
    int overwritten = 0;
    int skipped = 0;
    int failed = 0;
    int aborted = 0;
    // Files that have an output now, under whatever name.
    int converted() const { return done + renamed + overwritten; }
};
OutcomeCounts CountOutcomes(const std::vector<ConversionRow> &rows);

// "Check the failed files": true for exactly the rows a run left failed or
// aborted (not the skipped ones), so that another run retries them.
std::vector<bool> ChecksForRetry(const std::vector<ConversionRow> &rows);
bool HasRowsToRetry(const std::vector<ConversionRow> &rows);
