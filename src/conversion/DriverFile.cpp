#include "analysis/FFmpegProbe.h"
#include "app/TextHelpers.h"
#include "conversion/BatchScript.h"
#include "conversion/ConversionDriver.h"
#include "conversion/FailureHints.h"
#include "conversion/ParallelFiles.h"
#include "conversion/PlannedCommands.h"
#include "conversion/ProbeBatch.h"
#include "conversion/StatusMarkup.h"
#include "encoding/OutputName.h"

#include <QFileInfo>

// The steps of one file: its output name, analysis and commands on the
// driver's thread, its passes there or on a thread of its own, and its end
// on the driver's thread again.

std::unique_ptr<ConversionDriver::FileRun> ConversionDriver::prepareFile(
    int index, int fileNo, PlannedCommands &planned, std::optional<ConversionEnd> &end)
{
    const ConversionSetup &s = setup();
    const bool batchOnly = s.BatchOnly;
    ConversionRow &row = m_run.rows[size_t(index)];
    auto file = std::make_unique<FileRun>();
    file->index = index;
    file->fileNo = fileNo;
    file->input = row.FullFileName;
    file->runner = &m_runner;
    file->output = m_run.output.get();
    m_state.PassNo = 0;

    // C. Output path and existing output, decided in row order whatever
    // the timing of the files before.
    const OutputPath output = m_run.names->next(fileNo - 1);
    if (output.action == OutputPath::Failed) {
        end = ConversionEnd::CantCreateDirectory;
        return nullptr;
    }
    if (!output.newFolder.isEmpty())
        m_run.batch->addFolder(output.newFolder);
    file->outputPath = output.path;
    row.OutputFile = output.path;
    file->doneText = output.doneText;
    if (!batchOnly)
        setRowStatus(index, s.strings.Main.Converting);

    ConversionFileView view;
    view.Row = index;
    view.FileNo = fileNo;
    view.InputFile = file->input;
    view.OutputFile = file->outputPath;
    if (output.action == OutputPath::Skip) {
        row.Outcome = RowOutcome::Skipped;
        if (!batchOnly)
            setRowStatus(index, file->doneText);
        view.OutputMarkup = SkippedFileMarkup(file->outputPath);
        view.StatusText = file->doneText;
        m_frontEnd.fileSkipped(view);
        if (m_parallel)
            m_parallel->countEnded(-1);
        return nullptr;
    }
    file->successOutcome = output.outcome == OutputPath::Renamed ? RowOutcome::Renamed
        : output.outcome == OutputPath::Overwritten              ? RowOutcome::Overwritten
                                                                 : RowOutcome::Done;

    view.OutputMarkup = OutputFileMarkup(file->outputPath);
    view.StatusText = s.strings.Main.PleaseWait;
    if (!m_parallel)
        m_run.output->clear();
    file->startedAt = RunClock::nowMs();
    file->pausedAtStart = m_clock.pausedMs();
    m_frontEnd.fileStarted(view);

    // A file gone since it was listed is not handed to FFmpeg: its failure
    // would delete an output this run never wrote.
    if (!batchOnly && !QFileInfo(file->input).isFile()) {
        recordMissingInput(*file);
        endFile(*file);
        return nullptr;
    }

    // The pieces depend on the analysis, so it comes first.
    ClearVideoFileInfo(m_state.CurrentFileInfo);
    if (!m_ahead.take(file->input, file->info))
        ProbeWithFFmpeg(
            file->input, m_run.ffmpeg, s.params.MediaInfoDll, file->info, &m_probeRunner);
    m_state.CurrentFileInfo = file->info;
    row.DurationMs = file->info.Duration;
    file->next = NextFilesAfter(m_run.rows, size_t(index));

    // D. Pieces, parameter text and passes: the same commands the listing
    // and the script are made of.
    PieceContext context(s.settings, s.lists, s.strings, file->info);
    context.messages = &m_frontEnd;
    context.processorCount = s.processors();
    context.encoders = m_run.encoders ? &*m_run.encoders : nullptr;
    context.minAutoAudioBitrate = s.minAutoAudioBitrate;
    planned = PlanFileCommands(context, m_run.ffmpeg, file->input, file->outputPath);
    if (!planned.commands.ok) {
        end = ConversionEnd::ErrorPiece;
        return nullptr;
    }
    m_run.batch->addPieces(fileNo, planned.batchPieces);
    m_state.TwoPass = planned.commands.twoPass;
    file->twoPass = planned.commands.twoPass;
    file->passCount = int(planned.commands.passes.size());
    if (file->twoPass && m_logFolder.ensure(m_run.setup->params.LogDir)) {
        // Two-pass statistics land in the run's working folder; files
        // encoded at once each have their own, as the names are FFmpeg's.
        file->workDir = m_parallel ? m_logFolder.fileFolder(fileNo) : s.params.LogDir;
    }
    return file;
}

void ConversionDriver::runPasses(FileRun &file, const PlannedCommands &planned)
{
    const ConversionSetup &s = setup();
    const FileCommands &commands = planned.commands;
    if (s.BatchOnly) {
        for (const BatchScript::Command &command : planned.scriptCommands)
            m_run.batch->addCommand(command);
        return;
    }
    if (s.params.KeepFileDates)
        file.inputTimes = ReadFileTimes(file.input);
    for (qsizetype i = 0; i < commands.passes.size(); ++i) {
        if (abortSet())
            return;
        file.passNo = commands.passNo(i);
        if (!m_parallel)
            m_state.PassNo = file.passNo;
        file.output->clear();
        const CommandLine &pass = commands.passes.at(i);
        file.exitCode = runPass(file, pass);
        if (file.exitCode == 0)
            continue;
        // A failed first pass reads like a failed second one: the row never
        // shows "Done" for a file that was not converted.
        const QString code = QString::number(file.exitCode);
        file.doneText = commands.twoPass
            ? s.strings.Main.Error + QStringLiteral(" = ") + code
            : s.strings.Main.Error + QStringLiteral(" (") + code + u')';
        recordFailure(file, pass.paramText());
        return;
    }
}

uint32_t ConversionDriver::runPass(FileRun &file, const CommandLine &command)
{
    file.ranFFmpeg = true;
    if (!m_parallel)
        probeAhead(file.index, ProbeBatchSize, true);
    file.passStartedAt = RunClock::nowMs();
    file.passPausedAtStart = m_clock.pausedMs();
    const FlushHook hook = [this, &file](const ConsoleFlush &flush) {
        updateAbortNow();
        EncoderProgressUpdate update = file.output->onFlush(flush, progressInputs(file));
        addTimeLeft(file, update);
        update.FileNo = file.fileNo;
        addBatchProgress(file, update);
        m_frontEnd.progress(update);
    };
    const uint32_t code = file.runner->RunConsoleApp(command, nullptr, hook, file.workDir);
    updateAbortNow();
    return code;
}

void ConversionDriver::recordFailure(FileRun &file, const QString &params)
{
    file.failed = true;
    file.output->FilterEncoderOutput();
    FileRun::Failure failure;
    failure.output = file.output->outputText();
    const TVideoFileInfo &info = file.info;
    const QString hint
        = FailureHint(FailureCauseOf(file.output->entries(),
                          info.NumberOfVideoStreams > 0 || info.NumberOfAudioStreams > 0),
            setup().strings.Errors);
    failure.entry = QStringLiteral("ExitCode: ") + QString::number(file.exitCode)
        + QStringLiteral("\r\n") + failure.output;
    if (!hint.isEmpty())
        failure.entry += QStringLiteral("\r\n\r\n") + hint;
    failure.params = params;
    file.failure = std::move(failure);
}

void ConversionDriver::recordMissingInput(FileRun &file)
{
    file.failed = true;
    file.doneText = setup().strings.Main.Error;
    file.failure
        = FileRun::Failure{{}, QStringLiteral("Input file not found: \"%1\"").arg(file.input), {}};
}

void ConversionDriver::endFile(FileRun &file)
{
    if (file.error) {
        // FFmpeg could not be started: the run ends with that message once
        // the other files are done.
        if (!m_run.runError)
            m_run.runError = file.error;
        return;
    }
    if (file.failure) {
        if (file.ranFFmpeg)
            m_frontEnd.outputShown(file.failure->output);
        addErrorLogEntry(file, file.failure->entry, file.failure->params);
        if (file.ranFFmpeg)
            deleteOutput(file.outputPath, file.input);
    }
    finishFile(file);
    // The view's text at the end of the run is the output of the file that
    // ended last.
    if (file.ownOutput)
        m_run.output = std::move(file.ownOutput);
}

void ConversionDriver::addErrorLogEntry(
    const FileRun &file, const QString &text, const QString &params)
{
    const QStringList lines = m_errorLog.recordError(text, file.input, file.outputPath, params);
    m_state.ErrorCount = m_errorLog.ErrorCount();
    m_frontEnd.errorLogged(lines, m_state.ErrorCount);
}

void ConversionDriver::finishFile(FileRun &file)
{
    const ConversionSetup &s = setup();
    const bool aborted = abortSet();
    if (aborted)
        file.doneText = s.strings.Main.Aborted;

    ConversionFileEnd end;
    end.Row = file.index;
    end.FileNo = file.fileNo;
    end.DoneText = file.doneText;
    end.StatusMarkup = QStringLiteral("<b>") + file.doneText + QStringLiteral("</b>");
    end.Succeeded = !aborted && !file.failed && file.exitCode == 0;
    // A failed file's bar stays where FFmpeg stopped; a batch-only run
    // converts nothing.
    end.ProgressComplete = end.Succeeded && !s.BatchOnly;
    if (file.ranFFmpeg) {
        end.ElapsedMs
            = RunClock::nowMs() - file.startedAt - (m_clock.pausedMs() - file.pausedAtStart);
        if (s.ShowFileTimes)
            file.doneText = FormatAppString(
                s.strings.Main.StatusWithTime, file.doneText, FormatTimeSpan(end.ElapsedMs));
    }
    if (m_parallel)
        m_parallel->countEnded(file.slot);
    m_frontEnd.fileFinished(end);

    m_run.rows[size_t(file.index)].Outcome = aborted ? RowOutcome::Aborted
        : file.failed                                ? RowOutcome::Failed
                                                     : file.successOutcome;
    if (!s.BatchOnly)
        setRowStatus(file.index, file.doneText);

    const QString &output = file.outputPath;
    // Only an output FFmpeg wrote in this run: an empty file that was there
    // before is not ours to delete.
    if (file.ranFFmpeg && FileSizeOf(output) == 0)
        deleteOutput(output, file.input);
    // The name created for a file that FFmpeg never wrote is not left behind.
    m_run.names->release(output);
    if (s.params.KeepFileDates && file.inputTimes && !s.BatchOnly && QFileInfo(output).isFile())
        ApplyFileTimes(output, *file.inputTimes);
    // Only what FFmpeg of this run was writing when the abort came.
    if (aborted && file.ranFFmpeg && !file.failed)
        m_run.unfinishedOutputs << output;
}

EncoderProgressInputs ConversionDriver::progressInputs(const FileRun &file) const
{
    EncoderProgressInputs inputs;
    inputs.IsConverting = m_state.IsConverting;
    inputs.AudioOnly = m_state.AudioOnly;
    inputs.TwoPass = file.twoPass;
    inputs.PassNo = file.passNo;
    inputs.FileNo = file.fileNo;
    inputs.FileCount = m_state.FileCount;
    inputs.TotalFrames = file.info.VideoStreams[0].Frames;
    inputs.HideEncoderOutput = m_hideOutput;
    return inputs;
}

void ConversionDriver::addTimeLeft(const FileRun &file, EncoderProgressUpdate &update) const
{
    if (!update.Updated)
        return;
    TimeLeftInputs in;
    in.FramesDone = update.FrameCount;
    in.TotalFrames = file.info.VideoStreams[0].Frames;
    in.FileDurationMs = file.info.Duration;
    in.Speed = update.Speed;
    in.PassRunningMs = RunClock::nowMs() - file.passStartedAt;
    in.PassPausedMs = m_clock.pausedMs() - file.passPausedAtStart;
    in.PassNo = file.passNo;
    in.PassCount = file.passCount;
    in.NextFilesKnownMs = file.next.KnownMs;
    in.NextFilesKnown = file.next.Known;
    in.NextFilesUnknown = file.next.Unknown;
    const TimeLeft left = EstimateTimeLeft(in);
    update.FileTimeLeftMs = left.FileMs;
    update.BatchTimeLeftMs = left.BatchMs;
}
