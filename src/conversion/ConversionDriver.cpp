#include "conversion/ConversionDriver.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/MediaInfoLibrary.h"
#include "app/AppInfo.h"
#include "app/AppStartup.h"
#include "app/TextHelpers.h"
#include "conversion/BatchScript.h"
#include "conversion/ConversionFrontEnd.h"
#include "conversion/FailureHints.h"
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

ConversionDriver::ConversionDriver(IConversionFrontEnd &frontEnd)
    : m_frontEnd(frontEnd)
{ }

ConversionDriver::~ConversionDriver() = default;

ConversionResult ConversionDriver::run(
    const ConversionSetup &setupToCopy, std::vector<ConversionRow> rows)
{
    m_run = RunState{};
    m_file = FileState{};
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
    QStringList inputs, unchecked;
    for (const ConversionRow &row : m_run.rows)
        (row.Checked ? inputs : unchecked) << row.FullFileName;
    m_run.names = std::make_unique<OutputNamePlanner>(s.settings, s.strings, &m_frontEnd,
        s.BatchOnly ? OutputNamePlanner::Plan : OutputNamePlanner::Reserve, inputs, unchecked);
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
    // The first file is analysed while FFmpeg is asked for its encoders and
    // the MediaInfo library is loaded, the others while the first one
    // converts: the run's start waits for as little as it can.
    std::future<std::optional<EncoderSet>> encoders = std::async(std::launch::async,
        [this, ffmpeg = m_run.ffmpeg] { return QueryEncoders(ffmpeg, &m_queryRunner); });
    if (!s.BatchOnly) {
        probeAhead(-1, 1, false);
        LoadMediaInfoLibrary(s.params.MediaInfoDll);
    }

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
    m_clock.beginElapsed();
    m_frontEnd.walkStarted(start);
    return ConversionEnd::Walked;
}

ConversionEnd ConversionDriver::walk()
{
    const ConversionEnd start = startRun();
    if (start != ConversionEnd::Walked)
        return start;

    int counter = 0;
    const qsizetype rowCount = qsizetype(m_run.rows.size());
    for (qsizetype i = 0; i < rowCount; ++i) {
        if (!m_run.rows[size_t(i)].Checked)
            continue;
        m_state.FileNo = ++counter;
        m_run.rowIndex = i;
        if (const std::optional<ConversionEnd> end = convertRow(int(i)))
            return *end;
        // Also after a skipped row: an abort must not let the walk go on.
        if (abortSet())
            break;
    }

    if (setup().BatchOnly) {
        QString error;
        m_run.scriptSaved = m_run.batch->finish().save(setup().BatchFileName, &error);
        if (!m_run.scriptSaved)
            m_frontEnd.showError(error);
    }
    return ConversionEnd::Walked;
}

std::optional<ConversionEnd> ConversionDriver::convertRow(int index)
{
    const ConversionSetup &s = setup();
    const bool batchOnly = s.BatchOnly;
    ConversionRow &row = m_run.rows[size_t(index)];
    m_file = FileState{};
    m_file.input = row.FullFileName;
    m_state.PassNo = 0;

    // C. Output path and existing output.
    const OutputPath output = m_run.names->next(m_state.FileNo - 1);
    if (output.action == OutputPath::Failed)
        return ConversionEnd::CantCreateDirectory;
    m_file.outputPath = output.path;
    row.OutputFile = output.path;
    m_file.doneText = output.doneText;
    if (!batchOnly)
        setRowStatus(index, s.strings.Main.Converting);

    ConversionFileView view;
    view.Row = index;
    view.FileNo = m_state.FileNo;
    view.InputFile = m_file.input;
    view.OutputFile = m_file.outputPath;
    if (output.action == OutputPath::Skip) {
        row.Outcome = RowOutcome::Skipped;
        if (!batchOnly)
            setRowStatus(index, m_file.doneText);
        view.OutputMarkup = SkippedFileMarkup(m_file.outputPath);
        view.StatusText = m_file.doneText;
        m_frontEnd.fileSkipped(view);
        return std::nullopt;
    }
    m_file.successOutcome = output.outcome == OutputPath::Renamed ? RowOutcome::Renamed
        : output.outcome == OutputPath::Overwritten               ? RowOutcome::Overwritten
                                                                  : RowOutcome::Done;

    view.OutputMarkup = OutputFileMarkup(m_file.outputPath);
    view.StatusText = s.strings.Main.PleaseWait;
    m_run.output->clear();
    m_file.startedAt = RunClock::nowMs();
    m_file.pausedAtStart = m_clock.pausedMs();
    m_frontEnd.fileStarted(view);

    // A file gone since it was listed is not handed to FFmpeg: its failure
    // would delete an output this run never wrote.
    if (!batchOnly && !QFileInfo(m_file.input).isFile()) {
        recordMissingInput();
        finishFile(index);
        return std::nullopt;
    }

    // The pieces depend on the analysis, so it comes first.
    ClearVideoFileInfo(m_state.CurrentFileInfo);
    TVideoFileInfo info;
    if (!m_ahead.take(m_file.input, info))
        ProbeWithFFmpeg(m_file.input, m_run.ffmpeg, s.params.MediaInfoDll, info, &m_probeRunner);
    m_state.CurrentFileInfo = info;
    row.DurationMs = info.Duration;
    m_run.next = NextFilesAfter(m_run.rows, size_t(index));

    // D. Pieces, parameter text and passes: the same commands the listing
    // and the script are made of.
    PieceContext context(s.settings, s.lists, s.strings, m_state.CurrentFileInfo);
    context.messages = &m_frontEnd;
    context.processorCount = s.processorCount > 0 ? s.processorCount : QThread::idealThreadCount();
    context.encoders = m_run.encoders ? &*m_run.encoders : nullptr;
    context.minAutoAudioBitrate = s.minAutoAudioBitrate;
    const PlannedCommands planned
        = PlanFileCommands(context, m_run.ffmpeg, m_file.input, m_file.outputPath);
    if (!planned.commands.ok)
        return ConversionEnd::ErrorPiece;
    m_run.batch->addPieces(m_state.FileNo, planned.batchPieces);
    m_state.TwoPass = planned.commands.twoPass;
    m_run.passCount = int(planned.commands.passes.size());
    runPasses(planned);
    finishFile(index);
    return std::nullopt;
}

void ConversionDriver::runPasses(const PlannedCommands &planned)
{
    const ConversionSetup &s = setup();
    const FileCommands &commands = planned.commands;
    if (commands.twoPass)
        m_logFolder.ensure(setup().params.LogDir);
    if (s.BatchOnly) {
        for (const BatchScript::Command &command : planned.scriptCommands)
            m_run.batch->addCommand(command);
        return;
    }
    readInputTimes();
    // Two-pass statistics land in the run's working folder.
    const QString workDir = commands.twoPass ? s.params.LogDir : QString();
    for (qsizetype i = 0; i < commands.passes.size(); ++i) {
        if (abortSet())
            return;
        m_state.PassNo = commands.passNo(i);
        m_run.output->clear();
        const CommandLine &pass = commands.passes.at(i);
        m_file.exitCode = runPass(pass, workDir);
        if (m_file.exitCode == 0)
            continue;
        // A failed first pass reads like a failed second one: the row never
        // shows "Done" for a file that was not converted.
        const QString code = QString::number(m_file.exitCode);
        m_file.doneText = commands.twoPass
            ? s.strings.Main.Error + QStringLiteral(" = ") + code
            : s.strings.Main.Error + QStringLiteral(" (") + code + u')';
        recordFailure(pass.paramText());
        return;
    }
}

uint32_t ConversionDriver::runPass(const CommandLine &command, const QString &workDir)
{
    m_file.ranFFmpeg = true;
    m_run.unfinishedOutput = m_file.outputPath;
    probeAhead(m_run.rowIndex, ProbeBatchSize, true);
    m_run.passStartedAt = RunClock::nowMs();
    m_run.passPausedAtStart = m_clock.pausedMs();
    const FlushHook hook = [this](const ConsoleFlush &flush) {
        updateAbortNow();
        EncoderProgressUpdate update = m_run.output->onFlush(flush, progressInputs());
        addTimeLeft(update);
        m_frontEnd.progress(update);
    };
    const uint32_t code = m_runner.RunConsoleApp(command, nullptr, hook, workDir);
    updateAbortNow();
    return code;
}

void ConversionDriver::readInputTimes()
{
    if (setup().params.KeepFileDates)
        m_file.inputTimes = ReadFileTimes(m_file.input);
}

void ConversionDriver::recordFailure(const QString &params)
{
    m_file.failed = true;
    m_run.output->FilterEncoderOutput();
    const QString outputText = m_run.output->outputText();
    m_frontEnd.outputShown(outputText);
    const TVideoFileInfo &info = m_state.CurrentFileInfo;
    const QString hint
        = FailureHint(FailureCauseOf(m_run.output->entries(),
                          info.NumberOfVideoStreams > 0 || info.NumberOfAudioStreams > 0),
            setup().strings.Errors);
    QString text = QStringLiteral("ExitCode: ") + QString::number(m_file.exitCode)
        + QStringLiteral("\r\n") + outputText;
    if (!hint.isEmpty())
        text += QStringLiteral("\r\n\r\n") + hint;
    addErrorLogEntry(text, params);
    deleteOutput(m_file.outputPath);
}

void ConversionDriver::recordMissingInput()
{
    m_file.failed = true;
    m_file.doneText = setup().strings.Main.Error;
    addErrorLogEntry(QStringLiteral("Input file not found: \"%1\"").arg(m_file.input), {});
}

void ConversionDriver::addErrorLogEntry(const QString &text, const QString &params)
{
    const QStringList lines = m_errorLog.recordError(text, m_file.input, m_file.outputPath, params);
    m_state.ErrorCount = m_errorLog.ErrorCount();
    m_frontEnd.errorLogged(lines, m_state.ErrorCount);
}

void ConversionDriver::finishFile(int index)
{
    const ConversionSetup &s = setup();
    const bool aborted = abortSet();
    if (aborted)
        m_file.doneText = s.strings.Main.Aborted;

    ConversionFileEnd end;
    end.Row = index;
    end.FileNo = m_state.FileNo;
    end.DoneText = m_file.doneText;
    end.StatusMarkup = QStringLiteral("<b>") + m_file.doneText + QStringLiteral("</b>");
    end.Succeeded = !aborted && !m_file.failed && m_file.exitCode == 0;
    // A failed file's bar stays where FFmpeg stopped; a batch-only run
    // converts nothing.
    end.ProgressComplete = end.Succeeded && !s.BatchOnly;
    if (m_file.ranFFmpeg) {
        end.ElapsedMs
            = RunClock::nowMs() - m_file.startedAt - (m_clock.pausedMs() - m_file.pausedAtStart);
        if (s.ShowFileTimes)
            m_file.doneText = FormatAppString(
                s.strings.Main.StatusWithTime, m_file.doneText, FormatTimeSpan(end.ElapsedMs));
    }
    m_frontEnd.fileFinished(end);

    m_run.rows[size_t(index)].Outcome = aborted ? RowOutcome::Aborted
        : m_file.failed                         ? RowOutcome::Failed
                                                : m_file.successOutcome;
    if (!s.BatchOnly)
        setRowStatus(index, m_file.doneText);

    const QString &output = m_file.outputPath;
    // Only an output FFmpeg wrote in this run: an empty file that was there
    // before is not ours to delete.
    if (m_file.ranFFmpeg && FileSizeOf(output) == 0)
        deleteOutput(output);
    // The name created for a file that FFmpeg never wrote is not left behind.
    m_run.names->release(output);
    if (s.params.KeepFileDates && m_file.inputTimes && !s.BatchOnly && QFileInfo(output).isFile())
        ApplyFileTimes(output, *m_file.inputTimes);
    if (!aborted)
        m_run.unfinishedOutput.clear();
}

void ConversionDriver::cleanUp()
{
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
    const QString unfinished = std::exchange(m_run.unfinishedOutput, QString());
    if (m_run.abortSeen && !unfinished.isEmpty() && PathEntryExists(unfinished)) {
        if (m_frontEnd.askYesNo(FormatAppString(s.strings.Main.DeleteUnfinished, unfinished))) {
            deleteOutput(unfinished);
            if (PathEntryExists(unfinished))
                m_frontEnd.showError(FormatAppString(s.strings.Main.CannotDeleteFile, unfinished));
        }
    }

    std::lock_guard lock(m_abortMutex);
    m_state.AbortRequested = false;
    m_clock.clearAbortDeadline();
    clearStopRequests();
    // The next run must not start stopped.
    m_clock.resume();
    m_runner.resume();
}

void ConversionDriver::clearStopRequests()
{
    for (ConsoleRunner *runner : {&m_runner, &m_ahead.runner(), &m_queryRunner, &m_probeRunner})
        runner->clearStopRequest();
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

bool ConversionDriver::deleteOutput(const QString &path)
{
    // However the output was named, the input is never deleted.
    if (path.isEmpty() || !PathEntryExists(path) || IsSameFile(path, m_file.input))
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
    m_runner.requestStop(m_abortGraceMs);
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
    m_runner.pause();
    return true;
}

bool ConversionDriver::resume()
{
    std::lock_guard lock(m_abortMutex);
    if (!m_clock.resume())
        return false;
    m_runner.resume();
    return true;
}

bool ConversionDriver::isPaused() const
{
    return m_clock.isPaused();
}

void ConversionDriver::addTimeLeft(EncoderProgressUpdate &update) const
{
    if (!update.Updated)
        return;
    TimeLeftInputs in;
    in.FramesDone = update.FrameCount;
    in.TotalFrames = m_state.CurrentFileInfo.VideoStreams[0].Frames;
    in.FileDurationMs = m_state.CurrentFileInfo.Duration;
    in.Speed = update.Speed;
    in.PassRunningMs = RunClock::nowMs() - m_run.passStartedAt;
    in.PassPausedMs = m_clock.pausedMs() - m_run.passPausedAtStart;
    in.PassNo = m_state.PassNo;
    in.PassCount = m_run.passCount;
    in.NextFilesKnownMs = m_run.next.KnownMs;
    in.NextFilesKnown = m_run.next.Known;
    in.NextFilesUnknown = m_run.next.Unknown;
    const TimeLeft left = EstimateTimeLeft(in);
    update.FileTimeLeftMs = left.FileMs;
    update.BatchTimeLeftMs = left.BatchMs;
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

EncoderProgressInputs ConversionDriver::progressInputs() const
{
    EncoderProgressInputs inputs;
    inputs.IsConverting = m_state.IsConverting;
    inputs.AudioOnly = m_state.AudioOnly;
    inputs.TwoPass = m_state.TwoPass;
    inputs.PassNo = m_state.PassNo;
    inputs.FileNo = m_state.FileNo;
    inputs.FileCount = m_state.FileCount;
    inputs.TotalFrames = m_state.CurrentFileInfo.VideoStreams[0].Frames;
    inputs.HideEncoderOutput = m_hideOutput;
    return inputs;
}
