#pragma once

#include "app/AppParams.h"
#include "app/ToolResolution.h"
#include "conversion/ConversionRow.h"
#include "conversion/ConversionState.h"
#include "conversion/EncoderOutput.h"
#include "conversion/ErrorLog.h"
#include "conversion/FileTimes.h"
#include "conversion/PassLogFolder.h"
#include "conversion/ProbeAhead.h"
#include "conversion/RunClock.h"
#include "conversion/SerializedFrontEnd.h"
#include "conversion/TimeLeft.h"
#include "encoding/EncoderSupport.h"
#include "encoding/EncodingSettings.h"
#include "encoding/PieceContext.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class BatchScript;
class CommandLine;
class IConversionFrontEnd;
class IPowerControl;
class OutputNamePlanner;
struct PlannedCommands;

// Everything a run reads, copied when it starts: the settings area is
// disabled during a run, so a copy is what reading it afresh would give.
struct ConversionSetup
{
    EncodingSettings settings;
    EncodingLists lists;
    TAppStrings strings;
    // Tool paths, status colours; KeepFileDates and LogDir are set by the run.
    TAppParams params;
    // Where ResolveFFmpegPath looks besides params (DefaultToolLookup()
    // taken on the caller's thread, so the run reads no process-wide value).
    ToolLookup toolLookup;
    // Lower bound of automatic audio bitrates in kbit/s.
    int minAutoAudioBitrate = DefaultMinAutoAudioBitrate;
    // Time FFmpeg has to end after "q" before it is stopped by force.
    int abortGraceMs = 2500;
    // Collect the batch script into BatchFileName instead of converting.
    bool BatchOnly = false;
    QString BatchFileName;
    // chHideEncoderOutput of the progress window at the start of the run.
    bool HideEncoderOutput = false;
    // Logical processors for the "Auto" thread and job counts; 0 asks the
    // system.
    int processorCount = 0;
    int processors() const;
    // For the after-conversion action "Power off the computer"; null: that action
    // only closes the application.
    IPowerControl *power = nullptr;
    // A finished file's status tells how long it took (Main.StatusWithTime).
    bool ShowFileTimes = false;
    // Files converted at once, as the setting "Simultaneous conversions"
    // (AutoJobs decides from the settings); 1 converts them one by one. A
    // batch-only run is always written one by one.
    int jobs = 1;
};

// How a run ended.
enum class ConversionEnd {
    Walked, // after the last row, or on abort: the end of the walk ran
    FFmpegMissing,
    MissingEncoders, // the FFmpeg build lacks an encoder the settings need
    NoCheckedRow,
    CantCreateDirectory, // an output folder could not be created
    ErrorPiece, // a piece builder met an invalid value
    BadScriptTarget, // the script would replace an input, or what is not a file
    RunnerFailed, // FFmpeg could not be started (shown through showError)
};

struct ConversionResult
{
    ConversionEnd End = ConversionEnd::Walked;
    // An abort was requested during the run.
    bool Aborted = false;
    int ErrorCount = 0;
    // A batch-only run that walked: whether the script was written.
    bool ScriptSaved = false;
    // The rows as the run left them: statuses, outputs, outcomes.
    std::vector<ConversionRow> rows;
};

// The Convert command (actConvertExecute) as sequential code: walks the
// checked rows top to bottom, decides each output, probes the input, builds
// the pieces, runs FFmpeg once or twice, logs failures, writes the statuses,
// and ends with the clean-up and the after-conversion action. With
// setup.jobs above 1, up to that many files run their passes at once, each
// on a thread of its own; everything else stays on the driver's thread in
// row order, so names, statuses and the error log do not depend on timing.
// It talks to its front end only through IConversionFrontEnd. run() blocks;
// a window calls it on a worker thread and RequestAbort() from its own.
class ConversionDriver
{
public:
    explicit ConversionDriver(IConversionFrontEnd &frontEnd);
    ~ConversionDriver();
    ConversionDriver(const ConversionDriver &) = delete;
    ConversionDriver &operator=(const ConversionDriver &) = delete;

    // One run over a copy of rows; each status change is also told through
    // the front end as it happens, and the rows come back in the result, so
    // a caller on another thread shares nothing with the run.
    ConversionResult run(const ConversionSetup &setup, std::vector<ConversionRow> rows);

    // The Abort command; any thread. "q" to each FFmpeg, and abortGraceMs later
    // FFmpeg is stopped by force, also when it prints nothing meanwhile. The
    // walk stops after the files running. A second request, or one while no
    // run is active, does nothing; false then.
    bool RequestAbort();

    // The progress window's "Don't show encoder output"; any thread.
    void setHideEncoderOutput(bool hide);

    // Pause and Resume; any thread. Every FFmpeg of the run stops where it is (also one
    // started while paused) and goes on; the times the run reports leave the
    // pause out. An abort resumes first. False when no run is active, or it
    // is already paused, respectively not paused.
    bool pause();
    bool resume();
    bool isPaused() const;
    // Since the walk began, pauses left out; any thread.
    int64_t elapsedMs() const { return m_clock.elapsedMs(); }

    // Any thread.
    bool isConverting() const { return m_state.IsConverting; }
    bool abortRequested() const { return m_state.AbortRequested; }
    // The whole state: on the driver's thread (inside the front end's calls)
    // or between runs only; other threads use the two above.
    const ConversionState &state() const { return m_state; }
    // The run's error log (the window shows it; the terminal prints or saves
    // it). Read it between runs only.
    const ErrorLog &errorLog() const { return m_errorLog; }
    ErrorLog &errorLog() { return m_errorLog; }

private:
    // One file from its output name to its end. A run of several files at
    // once keeps one per running file: everything its passes touch is here,
    // so they share nothing with each other but the front end's lock.
    struct FileRun
    {
        int index = -1;
        int fileNo = 0;
        // Its place among the files running at once; -1 outside a slot.
        int slot = -1;
        ConsoleRunner *runner = nullptr;
        EncoderOutputHandler *output = nullptr;
        std::unique_ptr<EncoderOutputHandler> ownOutput;
        QString input;
        QString outputPath;
        QString doneText;
        uint32_t exitCode = 0;
        bool failed = false;
        bool ranFFmpeg = false;
        RowOutcome successOutcome = RowOutcome::Done;
        std::optional<FileTimes> inputTimes;
        int64_t startedAt = 0;
        int64_t pausedAtStart = 0;
        TVideoFileInfo info;
        bool twoPass = false;
        int passNo = 0;
        int passCount = 1;
        // When the current FFmpeg run started, and the run's paused time
        // then (steady-clock milliseconds).
        int64_t passStartedAt = 0;
        int64_t passPausedAtStart = 0;
        // The checked rows after this one, for the time left.
        NextFiles next;
        // Where its two-pass statistics go.
        QString workDir;
        // A failed pass: its filtered output, the error-log text and the
        // pass's parameters. Told as the file ends, so that the entries of
        // files never interleave.
        struct Failure
        {
            QString output;
            QString entry;
            QString params;
        };
        std::optional<Failure> failure;
        // FFmpeg could not be started (ConsoleRunError) on the file's thread.
        std::exception_ptr error;
    };
    // What one run holds; value-initialised at the start of every run.
    struct RunState
    {
        std::unique_ptr<ConversionSetup> setup;
        std::vector<ConversionRow> rows;
        QString ffmpeg;
        std::optional<EncoderSet> encoders;
        // The output of the file that ended last (the view's text at the end).
        std::unique_ptr<EncoderOutputHandler> output;
        std::unique_ptr<BatchScript> batch;
        // Names the outputs of the checked rows; in a real run it holds the
        // names created for them until FFmpeg writes them.
        std::unique_ptr<OutputNamePlanner> names;
        bool abortSeen = false;
        bool scriptSaved = false;
        // The outputs of the files whose FFmpeg run the abort interrupted:
        // only what this run wrote may be offered for deletion.
        QStringList unfinishedOutputs;
        int jobs = 1;
        // FFmpeg could not be started for a file of a parallel run: the run
        // ends with it once the other files have.
        std::exception_ptr runError;
    };

    ConversionEnd startRun();
    ConversionEnd walk();
    // Steps B to D for one checked row: a file ready for its passes, or
    // nothing when the row is done (skipped, input missing) or the run ends
    // early (end set).
    std::unique_ptr<FileRun> prepareFile(
        int index, int fileNo, PlannedCommands &planned, std::optional<ConversionEnd> &end);
    // Runs the passes of one file, or adds their script lines. No front-end
    // call but progress: a parallel run calls it on the file's own thread.
    void runPasses(FileRun &file, const PlannedCommands &planned);
    uint32_t runPass(FileRun &file, const CommandLine &command);
    void recordFailure(FileRun &file, const QString &params);
    void recordMissingInput(FileRun &file);
    // The end of a file on the driver's thread: its error-log entry, status,
    // outcome and clean-up.
    void endFile(FileRun &file);
    void addErrorLogEntry(const FileRun &file, const QString &text, const QString &params);
    void finishFile(FileRun &file);
    void cleanUp();
    void endOfWalk();
    // Analyses the next checked rows after fromIndex that are there (up to
    // maxFiles of them) ahead of their turn.
    void probeAhead(qsizetype fromIndex, int maxFiles, bool whileConverting);
    void clearStopRequests();
    // Every runner that converts: one per file running at once.
    std::vector<ConsoleRunner *> conversionRunners();
    bool deleteOutput(const QString &path, const QString &input);
    void setRowStatus(int index, const QString &status);
    // AbortRequested or AbortNow, the latter brought up to date first.
    bool abortSet();
    void updateAbortNow();
    EncoderProgressInputs progressInputs(const FileRun &file) const;
    // The time left, into an update of the line handler.
    void addTimeLeft(const FileRun &file, EncoderProgressUpdate &update) const;
    ConversionSetup &setup() const { return *m_run.setup; }

    // Several files at once (ParallelFiles.cpp).
    class Parallel;
    void runInParallel(std::unique_ptr<FileRun> file, const PlannedCommands &planned);
    // The batch's share of a parallel run's update.
    void addBatchProgress(const FileRun &file, EncoderProgressUpdate &update);

    SerializedFrontEnd m_frontEnd;
    // Run the conversions: m_runner the only file at a time, or the first
    // of several at once, which take the others in turn.
    ConsoleRunner m_runner;
    std::vector<std::unique_ptr<ConsoleRunner>> m_moreRunners;
    std::unique_ptr<Parallel> m_parallel;
    ProbeAhead m_ahead;
    // Ask FFmpeg for its encoders and for the description of the current
    // file: an abort stops them at once ("q" means nothing to them).
    ConsoleRunner m_queryRunner;
    ConsoleRunner m_probeRunner;
    ConversionState m_state;
    ErrorLog m_errorLog;
    std::atomic<bool> m_hideOutput{false};
    // Serialises RequestAbort, pause and resume with the start and the end
    // of a run.
    mutable std::mutex m_abortMutex;
    // Pauses and the abort's grace time.
    RunClock m_clock;
    std::atomic<int> m_abortGraceMs{2500};
    PassLogFolder m_logFolder;

    RunState m_run;
};
