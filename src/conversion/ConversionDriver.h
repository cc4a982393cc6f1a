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
#include "conversion/TimeLeft.h"
#include "encoding/EncoderSupport.h"
#include "encoding/EncodingSettings.h"
#include "encoding/PieceContext.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <atomic>
#include <cstdint>
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
    // Logical processors for the "Auto" thread count; 0 asks the system.
    int processorCount = 0;
    // For the after-conversion action "Power off the computer"; null: that action
    // only closes the application.
    IPowerControl *power = nullptr;
    // A finished file's status tells how long it took (Main.StatusWithTime).
    bool ShowFileTimes = false;
    // Files converted at once (ResolveJobCount); 1 converts them one by one.
    // A batch-only run is always written one by one.
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
// and ends with the clean-up and the after-conversion action. It talks to
// its front end only through IConversionFrontEnd. run() blocks; a window
// calls it on a worker thread and RequestAbort() from its own thread.
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

    // The Abort command; any thread. "q" to FFmpeg, and abortGraceMs later
    // FFmpeg is stopped by force, also when it prints nothing meanwhile. The
    // walk stops after the current file. A second request, or one while no
    // run is active, does nothing; false then.
    bool RequestAbort();

    // The progress window's "Don't show encoder output"; any thread.
    void setHideEncoderOutput(bool hide);

    // Pause and Resume; any thread. FFmpeg stops where it is (also one
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
    // What one run holds; value-initialised at the start of every run.
    struct RunState
    {
        std::unique_ptr<ConversionSetup> setup;
        std::vector<ConversionRow> rows;
        qsizetype rowIndex = -1;
        QString ffmpeg;
        std::optional<EncoderSet> encoders;
        std::unique_ptr<EncoderOutputHandler> output;
        std::unique_ptr<BatchScript> batch;
        // Names the outputs of the checked rows; in a real run it holds the
        // names created for them until FFmpeg writes them.
        std::unique_ptr<OutputNamePlanner> names;
        bool abortSeen = false;
        bool scriptSaved = false;
        // The output of the file whose FFmpeg run the abort interrupted: only
        // what this run wrote may be offered for deletion.
        QString unfinishedOutput;
        // The checked rows after the current one, for the time left.
        NextFiles next;
        int passCount = 1;
        // When the current FFmpeg run started, and the run's paused time
        // then (steady-clock milliseconds).
        int64_t passStartedAt = 0;
        int64_t passPausedAtStart = 0;
    };
    // What one file holds; value-initialised for every checked row.
    struct FileState
    {
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
    };

    ConversionEnd startRun();
    ConversionEnd walk();
    // Steps B to E for one checked row; a value when the run ends early.
    std::optional<ConversionEnd> convertRow(int index);
    // Runs the passes of one file, or adds their script lines.
    void runPasses(const PlannedCommands &planned);
    uint32_t runPass(const CommandLine &command, const QString &workDir);
    void readInputTimes();
    void recordFailure(const QString &params);
    void recordMissingInput();
    void addErrorLogEntry(const QString &text, const QString &params);
    void finishFile(int index);
    void cleanUp();
    void endOfWalk();
    // Analyses the next checked rows after fromIndex that are there (up to
    // maxFiles of them) ahead of their turn.
    void probeAhead(qsizetype fromIndex, int maxFiles, bool whileConverting);
    void clearStopRequests();
    bool deleteOutput(const QString &path);
    void setRowStatus(int index, const QString &status);
    // AbortRequested or AbortNow, the latter brought up to date first.
    bool abortSet();
    void updateAbortNow();
    EncoderProgressInputs progressInputs() const;
    // The time left, into an update of the line handler.
    void addTimeLeft(EncoderProgressUpdate &update) const;
    ConversionSetup &setup() const { return *m_run.setup; }

    IConversionFrontEnd &m_frontEnd;
    // Runs the conversions.
    ConsoleRunner m_runner;
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
    FileState m_file;
};
