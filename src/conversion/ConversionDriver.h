#pragma once

#include "app/AppParams.h"
#include "app/ToolResolution.h"
#include "conversion/ConversionRow.h"
#include "conversion/ConversionState.h"
#include "conversion/EncoderOutput.h"
#include "conversion/ErrorLog.h"
#include "conversion/FileTimes.h"
#include "encoding/EncoderSupport.h"
#include "encoding/EncodingSettings.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleRunner.h"

#include <QString>
#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class BatchScript;
class CommandLine;
class IConversionFrontEnd;
class IPowerControl;
class OutputNamePlanner;

// Everything a run reads, copied when it starts: the settings area is
// disabled during a run, so a copy is what reading it afresh would give.
struct ConversionSetup
{
    EncodingSettings settings;
    EncodingLists lists;
    TAppStrings strings;
    // Tool paths, status colours; KeepFileDates and LogDir are set by the run.
    TAppParams params;
    // Where ResolveFFmpegPath looks besides params; the running program's
    // folder and the system when not given.
    std::optional<ToolLookup> toolLookup;
    // The pauses before each file and after each probe, which give a window
    // time to paint; a terminal needs none.
    int pauseMs = 150;
    // Time FFmpeg has to end after "q" before it is stopped by force.
    int abortGraceMs = 2500;
    // Collect the batch script into BatchFileName instead of converting.
    bool BatchOnly = false;
    QString BatchFileName;
    // chHideEncoderOutput of the progress window at the start of the run.
    bool HideEncoderOutput = false;
    // Logical processors for the "Auto" thread count; 0 asks the system.
    int processorCount = 0;
    // For the after-conversion action "Close Windows"; null: that action
    // only closes the application.
    IPowerControl *power = nullptr;
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

    // One run over rows; statuses and output paths are written into them.
    ConversionResult run(const ConversionSetup &setup, std::vector<ConversionRow> &rows);

    // The Abort command; any thread. "q" to FFmpeg, and abortGraceMs later
    // FFmpeg is stopped by force, also when it prints nothing meanwhile. The
    // walk stops after the current file. A second request, or one while no
    // run is active, does nothing; false then.
    bool RequestAbort();

    // The progress window's "Don't show encoder output"; any thread.
    void setHideEncoderOutput(bool hide);

    // Deletes FFmpeg's two-pass statistics files from the run's working
    // folder, then the folder itself when it is the run's own.
    void ClearLogs();

    // The atomic fields may be read from any thread; the others on the
    // driver's thread (the front end's calls) or between runs.
    const ConversionState &state() const { return m_state; }
    // The run's error log (the window shows it; the terminal prints or saves
    // it). Read it between runs only.
    const ErrorLog &errorLog() const { return m_errorLog; }
    ErrorLog &errorLog() { return m_errorLog; }

private:
    ConversionEnd startRun(const std::vector<ConversionRow> &rows);
    ConversionEnd walk(std::vector<ConversionRow> &rows);
    // Steps B to E for one checked row; a value when the run ends early.
    std::optional<ConversionEnd> convertRow(int index, ConversionRow &row);
    uint32_t runPass(const CommandLine &command, const QString &workDir);
    void readInputTimes();
    void recordFailure(const QString &params);
    void recordMissingInput();
    void addErrorLogEntry(const QString &text, const QString &params);
    void finishFile(int index, ConversionRow &row);
    void cleanUp();
    void endOfWalk();
    // Analyses the next checked rows after fromIndex (up to maxFiles of
    // them, in one FFmpeg run) on a thread of its own, so that each analysis
    // is ready when its file's turn comes; nothing when the next one is
    // being analysed already. While a conversion runs (whileConverting) the
    // analyses take only the CPU time it leaves.
    void probeAhead(qsizetype fromIndex, int maxFiles, bool whileConverting);
    // The analysis made ahead for input, when its file has not changed
    // since; false when there is none to use.
    bool takeProbeAhead(const QString &input, TVideoFileInfo &info);
    void dropProbeAhead();
    void clearStopRequests();
    bool ensureLogDir();
    bool deleteOutput(const QString &path);
    void setRowStatus(int index, ConversionRow &row, const QString &status);
    // AbortRequested or AbortNow, the latter brought up to date first.
    bool abortSet();
    void updateAbortNow();
    EncoderProgressInputs progressInputs() const;
    void pause() const;

    IConversionFrontEnd &m_frontEnd;
    // Runs the conversions.
    ConsoleRunner m_runner;
    // Runs the probes made ahead.
    ConsoleRunner m_aheadRunner;
    // Ask FFmpeg for its encoders and for the description of the current
    // file: an abort stops them at once ("q" means nothing to them).
    ConsoleRunner m_queryRunner;
    ConsoleRunner m_probeRunner;
    ConversionState m_state;
    ErrorLog m_errorLog;
    std::unique_ptr<EncoderOutputHandler> m_output;
    std::unique_ptr<BatchScript> m_batch;
    std::atomic<bool> m_hideOutput{false};
    // Serialises RequestAbort with the start and the end of a run.
    std::mutex m_abortMutex;
    // Steady-clock milliseconds at which the grace time after an abort
    // request runs out; 0 when no abort is pending.
    std::atomic<int64_t> m_abortDeadline{0};
    std::atomic<int> m_abortGraceMs{2500};

    // Per run.
    std::unique_ptr<ConversionSetup> m_setup;
    std::vector<ConversionRow> *m_rows = nullptr;
    qsizetype m_rowIndex = -1;
    // The files being analysed ahead, in one FFmpeg run.
    struct AheadFile
    {
        QString input;
        std::optional<FileStamp> stamp; // before the analysis
        std::shared_future<std::optional<TVideoFileInfo>> result;
    };
    std::vector<AheadFile> m_ahead;
    std::future<void> m_aheadTask;
    QString m_ffmpeg;
    std::optional<EncoderSet> m_encoders;
    // Names the outputs of the checked rows; in a real run it holds the
    // names created for them until FFmpeg writes them.
    std::unique_ptr<OutputNamePlanner> m_names;
    bool m_abortSeen = false;
    bool m_scriptSaved = false;
    // The two-pass working folder this run created; only it is cleaned.
    QString m_createdLogDir;

    // Per file.
    QString m_input;
    QString m_outputPath;
    QString m_doneText;
    uint32_t m_exitCode = 0;
    bool m_failed = false;
    RowOutcome m_successOutcome = RowOutcome::Done;
    bool m_ranFFmpeg = false;
    std::optional<FileTimes> m_inputTimes;
    // The output of the file whose FFmpeg run the abort interrupted: only
    // what this run wrote may be offered for deletion.
    QString m_unfinishedOutput;
};
