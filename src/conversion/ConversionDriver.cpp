#include "conversion/ConversionDriver.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/MediaInfoLibrary.h"
#include "app/AppInfo.h"
#include "app/AppStartup.h"
#include "app/TextHelpers.h"
#include "conversion/BatchScript.h"
#include "conversion/ConversionFrontEnd.h"
#include "conversion/JobCount.h"
#include "conversion/ParallelFiles.h"
#include "conversion/PlannedCommands.h"
#include "conversion/PowerControl.h"
#include "conversion/ProbeBatch.h"
#include "conversion/StatusMarkup.h"
#include "conversion/TimeLeft.h"
#include "encoding/CommandAssembly.h"
#include "encoding/EncoderSupport.h"
#include "encoding/OutputName.h"
#include "encoding/PieceContext.h"
#include "encoding/SettingsLists.h"
#include "i18n/FFmpegMissing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <utility>

int ConversionSetup::processors() const
{
    return processorCount > 0 ? processorCount : QThread::idealThreadCount();
}

ConversionDriver::ConversionDriver(IConversionFrontEnd &frontEnd)
    : m_frontEnd(frontEnd)
{
    // All made now: an abort from another thread walks them without a lock
    // on their number.
    for (int k = 1; k < MaxJobs; ++k)
        m_moreRunners.push_back(std::make_unique<ConsoleRunner>());
}

ConversionDriver::~ConversionDriver() = default;

ConversionResult ConversionDriver::run(
    const ConversionSetup &setupToCopy, std::vector<ConversionRow> rows)
{
    m_run = RunState{};
    m_run.setup = std::make_unique<ConversionSetup>(setupToCopy);
    m_run.rows = std::move(rows);
    ConversionSetup &s = setup();

    // A. Start of a run.
    {
        std::lock_guard lock(m_abortMutex);
        m_state.AbortNow = false;
        m_state.AbortRequested = false;
        m_clock.start();
        m_abortGraceMs = s.abortGraceMs;
        clearStopRequests();
        m_state.IsConverting = true;
    }
    m_state.AudioOnly = false;
    m_state.TwoPass = false;
    m_state.PassNo = 0;
    m_state.FileNo = 0;
    m_state.FileCount = 0;
    m_state.BatchOnly = s.BatchOnly;
    m_state.BatchFileName = s.BatchFileName;
    ClearVideoFileInfo(m_state.CurrentFileInfo);
    m_hideOutput = s.HideEncoderOutput;

    m_errorLog.ClearErrorLog();
    m_state.ErrorCount = 0;
    s.params.KeepFileDates = s.settings.chKeepDates;
    m_run.output = std::make_unique<EncoderOutputHandler>(s.strings);
    // A script lists its commands one after the other.
    m_run.jobs = s.BatchOnly ? 1 : ResolveJobCount(s.jobs, s.settings, s.processors());
    m_frontEnd.runStarted();

    ConversionResult result;
    try {
        result.End = walk();
    } catch (const ConsoleRunError &error) {
        cleanUp();
        m_frontEnd.showError(error.message());
        result.End = ConversionEnd::RunnerFailed;
    } catch (...) {
        cleanUp();
        throw;
    }
    if (result.End != ConversionEnd::RunnerFailed) {
        cleanUp();
        if (result.End == ConversionEnd::Walked)
            endOfWalk();
    }
    result.Aborted = m_run.abortSeen;
    result.ErrorCount = m_state.ErrorCount;
    result.ScriptSaved = m_run.scriptSaved;
    result.rows = std::move(m_run.rows);
    return result;
}

ConversionEnd ConversionDriver::startRun()
{
    ConversionSetup &s = setup();
    QStringList inputs, unchecked, treeRoots;
    for (const ConversionRow &row : m_run.rows) {
        (row.Checked ? inputs : unchecked) << row.FullFileName;
        if (row.Checked)
            treeRoots << row.TreeRoot;
    }
    m_run.names = std::make_unique<OutputNamePlanner>(s.settings, s.strings, &m_frontEnd,
        s.BatchOnly ? OutputNamePlanner::Plan : OutputNamePlanner::Reserve, inputs, unchecked);
    m_run.names->setTreeRoots(treeRoots);
    if (s.BatchOnly) {
        const QString problem = BatchScriptTargetProblem(s.BatchFileName, &m_run.names->listed());
        if (!problem.isEmpty()) {
            m_frontEnd.warning(problem);
            return ConversionEnd::BadScriptTarget;
        }
    }
    m_run.ffmpeg = ResolveFFmpegPath(s.params, s.toolLookup);
    if (m_run.ffmpeg.isEmpty() || !QFileInfo(m_run.ffmpeg).isFile()) {
        m_frontEnd.warning(FFmpegMissingText(s.strings));
        return ConversionEnd::FFmpegMissing;
    }
    m_state.FileCount = int(inputs.size());
    // Never more slots than files: a run of one file is one at a time.
    m_run.jobs = std::clamp(m_run.jobs, 1, std::max(1, m_state.FileCount));
    // The first files (one per slot) are analysed while FFmpeg is asked for
    // its encoders and the MediaInfo library is loaded, the others while
    // they convert: the run's start waits for as little as it can.
    // The library is loaded off this thread too: ThreadSanitizer loses
    // track of the locks of a thread that loads an uninstrumented library,
    // and this thread's locks guard the files converting at once.
    const QString library = s.BatchOnly ? QString() : s.params.MediaInfoDll;
    std::future<std::optional<EncoderSet>> encoders
        = std::async(std::launch::async, [this, ffmpeg = m_run.ffmpeg, library] {
              if (!library.isEmpty())
                  LoadMediaInfoLibrary(library);
              return QueryEncoders(ffmpeg, &m_queryRunner);
          });
    if (!s.BatchOnly)
        probeAhead(-1, m_run.jobs, false);

    // Told once here rather than failing every file. A script may be meant
    // for another FFmpeg build, so it is still written.
    m_run.encoders = encoders.get();
    if (m_run.encoders) {
        const QStringList missing = MissingEncoders(s.settings, *m_run.encoders);
        if (!missing.isEmpty()) {
            m_frontEnd.warning(MissingEncodersMessage(missing, m_run.ffmpeg));
            if (!s.BatchOnly)
                return ConversionEnd::MissingEncoders;
        }
    }
    m_run.batch = std::make_unique<BatchScript>(m_run.ffmpeg);
    s.params.LogDir = TempWorkDirName();

    if (m_state.FileCount == 0)
        return ConversionEnd::NoCheckedRow;

    const EncodingSettings &e = s.settings;
    m_state.AudioOnly
        = (e.IsMpg() ? e.chMpgVideoDontCopy : e.chAviVideoDontCopy) && !e.chAudioDontCopy;
    ConversionWalkStart start;
    start.FileCount = m_state.FileCount;
    start.BatchOnly = s.BatchOnly;
    start.AudioOnly = m_state.AudioOnly;
    start.AbortCaption = s.strings.Main.Abort;
    start.Jobs = m_run.jobs;
    m_clock.beginElapsed();
    m_frontEnd.walkStarted(start);
    return ConversionEnd::Walked;
}

ConversionEnd ConversionDriver::walk()
{
    const ConversionEnd start = startRun();
    if (start != ConversionEnd::Walked)
        return start;

    if (m_run.jobs > 1)
        m_parallel = std::make_unique<Parallel>(m_run.jobs);
    const auto endFiles = [this](int below) {
        if (m_parallel)
            m_parallel->waitUntilBelow(below, [this](FileRun &file) { endFile(file); });
    };
    int counter = 0;
    std::optional<ConversionEnd> end;
    const qsizetype rowCount = qsizetype(m_run.rows.size());
    for (qsizetype i = 0; i < rowCount && !end; ++i) {
        if (!m_run.rows[size_t(i)].Checked)
            continue;
        // A file starts when a slot is free, so its status and its times
        // are its own.
        endFiles(m_run.jobs);
        // An abort while waiting for a slot leaves the files not started as
        // they are (one at a time, the walk has checked after the last file).
        if (m_run.runError || (m_parallel && abortSet()))
            break;
        const int fileNo = ++counter;
        m_state.FileNo = fileNo;
        PlannedCommands planned;
        std::unique_ptr<FileRun> file = prepareFile(int(i), fileNo, planned, end);
        if (file && m_parallel) {
            runInParallel(std::move(file), planned);
        } else if (file) {
            runPasses(*file, planned);
            endFile(*file);
        }
        // Also after a skipped row: an abort must not let the walk go on.
        if (abortSet())
            break;
    }
    // The files still running end as they would have: an early end of the
    // walk (a piece that failed) stops only the files not started.
    endFiles(1);
    m_parallel.reset();
    if (m_run.runError)
        std::rethrow_exception(std::exchange(m_run.runError, {}));
    if (end)
        return *end;

    if (setup().BatchOnly) {
        QString error;
        m_run.scriptSaved = m_run.batch->finish().save(setup().BatchFileName, &error);
        if (!m_run.scriptSaved)
            m_frontEnd.showError(error);
    }
    return ConversionEnd::Walked;
}

void ConversionDriver::cleanUp()
{
    // A runner error may leave files running: they end before the rest is
    // cleaned up.
    if (m_parallel)
        m_parallel->waitUntilBelow(1, [](FileRun &) {});
    m_parallel.reset();
    m_ahead.drop();
    // Also releases the name of a file the run ended before (a piece that
    // failed, FFmpeg that cannot be started).
    m_run.names.reset();
    const ConversionSetup &s = setup();
    ConversionRunEnd end;
    if (m_run.output) {
        m_run.output->FilterEncoderOutput();
        end.OutputText = m_run.output->outputText();
    }
    end.AbortCaption = s.strings.Main.Close;
    end.ApplicationTitle = AppInfo::ProgramTitle();
    end.ProgressCaption = s.strings.Progress.Caption;
    if (s.BatchOnly && m_run.scriptSaved)
        end.StatusText = FormatAppString(s.strings.Main.BatchScriptWritten, s.BatchFileName);
    m_run.batch.reset();
    m_state.IsConverting = false;
    m_frontEnd.runFinished(end);

    m_logFolder.clear();

    m_run.abortSeen = abortSet();
    QStringList unfinished;
    for (const QString &output : std::exchange(m_run.unfinishedOutputs, {}))
        if (PathEntryExists(output))
            unfinished << output;
    // One question for every file the abort interrupted.
    if (m_run.abortSeen && !unfinished.isEmpty()
        && m_frontEnd.askYesNo(
            FormatAppString(s.strings.Main.DeleteUnfinished, unfinished.join(u'\n')))) {
        for (const QString &output : std::as_const(unfinished)) {
            RemoveFileEvenReadOnly(output);
            if (PathEntryExists(output))
                m_frontEnd.showError(FormatAppString(s.strings.Main.CannotDeleteFile, output));
        }
    }

    std::lock_guard lock(m_abortMutex);
    m_state.AbortRequested = false;
    m_clock.clearAbortDeadline();
    clearStopRequests();
    // The next run must not start stopped.
    m_clock.resume();
    for (ConsoleRunner *runner : conversionRunners())
        runner->resume();
}

void ConversionDriver::clearStopRequests()
{
    for (ConsoleRunner *runner : {&m_ahead.runner(), &m_queryRunner, &m_probeRunner})
        runner->clearStopRequest();
    for (ConsoleRunner *runner : conversionRunners())
        runner->clearStopRequest();
}

std::vector<ConsoleRunner *> ConversionDriver::conversionRunners()
{
    std::vector<ConsoleRunner *> runners{&m_runner};
    for (const std::unique_ptr<ConsoleRunner> &runner : m_moreRunners)
        runners.push_back(runner.get());
    return runners;
}

void ConversionDriver::endOfWalk()
{
    const ConversionSetup &s = setup();
    if (m_state.ErrorCount > 0) {
        m_frontEnd.showErrorLog(s.strings.Main.Errors + QStringLiteral(" (")
                + QString::number(m_state.ErrorCount) + u')',
            !m_state.AbortNow);
    }
    // Saving a script converted nothing: it must not close the program or
    // switch the computer off.
    if (m_state.FileCount == 0 || m_run.abortSeen || m_state.ErrorCount > 0 || s.BatchOnly)
        return;
    RunAfterConversionAction(s.settings.cbAfterConversion, m_frontEnd, s.power);
}

void ConversionDriver::probeAhead(qsizetype fromIndex, int maxFiles, bool whileConverting)
{
    if (abortSet())
        return;
    QStringList inputs;
    const std::vector<ConversionRow> &rows = m_run.rows;
    for (qsizetype i = fromIndex + 1; i < qsizetype(rows.size()) && inputs.size() < maxFiles; ++i) {
        const ConversionRow &row = rows[size_t(i)];
        // A file that is not there is left to its own turn.
        if (row.Checked && QFileInfo(row.FullFileName).isFile())
            inputs << row.FullFileName;
    }
    m_ahead.start(inputs, m_run.ffmpeg, setup().params.MediaInfoDll, whileConverting);
}

bool ConversionDriver::deleteOutput(const QString &path, const QString &input)
{
    // However the output was named, the input is never deleted.
    if (path.isEmpty() || !PathEntryExists(path) || IsSameFile(path, input))
        return false;
    return RemoveFileEvenReadOnly(path);
}

void ConversionDriver::setRowStatus(int index, const QString &status)
{
    m_run.rows[size_t(index)].Status = status;
    m_frontEnd.rowStatusChanged(index, status);
}

bool ConversionDriver::RequestAbort()
{
    std::lock_guard lock(m_abortMutex);
    if (m_state.AbortRequested || !m_state.IsConverting)
        return false;
    // The runner resumes FFmpeg itself so that it reads "q".
    m_clock.resume();
    m_state.AbortRequested = true;
    m_clock.setAbortDeadline(m_abortGraceMs);
    // The runner sends "q" and stops FFmpeg by force after the grace time,
    // printing or not; a request between two runs reaches the next one.
    for (ConsoleRunner *runner : conversionRunners())
        runner->requestStop(m_abortGraceMs);
    // The probes and the encoder query have nothing to finish.
    m_ahead.runner().requestStop(0);
    m_probeRunner.requestStop(0);
    m_queryRunner.requestStop(0);
    return true;
}

void ConversionDriver::setHideEncoderOutput(bool hide)
{
    m_hideOutput = hide;
}

bool ConversionDriver::pause()
{
    std::lock_guard lock(m_abortMutex);
    if (!m_state.IsConverting || m_state.AbortRequested || !m_clock.pause())
        return false;
    for (ConsoleRunner *runner : conversionRunners())
        runner->pause();
    return true;
}

bool ConversionDriver::resume()
{
    std::lock_guard lock(m_abortMutex);
    if (!m_clock.resume())
        return false;
    for (ConsoleRunner *runner : conversionRunners())
        runner->resume();
    return true;
}

bool ConversionDriver::isPaused() const
{
    return m_clock.isPaused();
}

bool ConversionDriver::abortSet()
{
    updateAbortNow();
    return m_state.AbortRequested || m_state.AbortNow;
}

void ConversionDriver::updateAbortNow()
{
    if (m_clock.abortDeadlinePassed())
        m_state.AbortNow = true;
}
