#pragma once

#include <QString>

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
    // The colStatus cell.
    QString Status;
    // The output path decided for the file; empty until the row is reached.
    QString OutputFile;
    RowOutcome Outcome = RowOutcome::NotReached;
};
