#include "conversion/ConversionDriver.h"

#include "analysis/FFmpegProbe.h"
#include "analysis/MediaInfoLibrary.h"
#include "app/AppInfo.h"
#include "app/AppStartup.h"
#include "app/TextHelpers.h"
#include "conversion/BatchScript.h"
#include "conversion/ConversionFrontEnd.h"
#include "conversion/PowerControl.h"
#include "conversion/ProbeBatch.h"
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

namespace {

// FFmpeg's two-pass statistics files, as the encoders name them.
constexpr const char *PassLogNames[]
    = {"ffmpeg2pass-0.log", "x264_2pass.log.temp", "x264_2pass.log.mbtree.temp", "x264_2pass.log",
        "x264_2pass.log.mbtree", "ffmpeg2pass-0.log.mbtree", "xvidff.iG2Kb7"};

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Folder (with its trailing separator) and file name of a path, escaped
// for the markup label: a name is shown, never taken for tags.
std::pair<QString, QString> splitPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return {path.left(slash + 1).toHtmlEscaped(), path.mid(slash + 1).toHtmlEscaped()};
}

QString outputMarkup(const QString &path)
{
    const auto [dir, name] = splitPath(path);
    return QStringLiteral("<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> ") + dir
        + QStringLiteral(" </font> ") + name + QStringLiteral("</b>");
}

QString skippedMarkup(const QString &path)
{
    const auto [dir, name] = splitPath(path);
    return QStringLiteral("<font bgcolor=\"#C0C0C0\">") + dir + QStringLiteral("</font><b>") + name
        + QStringLiteral("</b>");
}

// Deletes a file; when a plain delete fails, once more after making it
// writable (a read-only file must not survive as a half-converted output).
bool removeFile(const QString &path)
{
    if (QFile::remove(path))
        return true;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return QFile::remove(path);
}

} // namespace

ConversionDriver::ConversionDriver(IConversionFrontEnd &frontEnd)
    : m_frontEnd(frontEnd)
{ }

ConversionDriver::~ConversionDriver() = default;

ConversionResult ConversionDriver::run(
    const ConversionSetup &setup, std::vector<ConversionRow> &rows)
{
    m_setup = std::make_unique<ConversionSetup>(setup);
    ConversionSetup &s = *m_setup;

    // A. Start of a run.
    {
        std::lock_guard lock(m_abortMutex);
        m_state.AbortNow = false;
        m_state.AbortRequested = false;
        m_abortDeadline = 0;
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
    m_abortSeen = false;
    m_scriptSaved = false;
    m_createdLogDir.clear();
    m_unfinishedOutput.clear();
    m_input.clear();
    m_outputPath.clear();
    m_encoders.reset();
    m_rows = &rows;
    m_rowIndex = -1;

    m_errorLog.ClearErrorLog();
    m_state.ErrorCount = 0;
    s.params.KeepFileDates = s.settings.chKeepDates;
    m_output = std::make_unique<EncoderOutputHandler>(s.strings);
    m_frontEnd.runStarted();

    ConversionResult result;
    try {
        result.End = walk(rows);
    } catch (const ConsoleRunError &error) {
        cleanUp();
        m_frontEnd.showError(error.message());
        result.End = ConversionEnd::RunnerFailed;
        result.Aborted = m_abortSeen;
        result.ErrorCount = m_state.ErrorCount;
        return result;
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
    if (result.End == ConversionEnd::Walked)
        endOfWalk();
    result.Aborted = m_abortSeen;
    result.ErrorCount = m_state.ErrorCount;
    result.ScriptSaved = m_scriptSaved;
    return result;
}

ConversionEnd ConversionDriver::startRun(const std::vector<ConversionRow> &rows)
{
    ConversionSetup &s = *m_setup;
    QStringList inputs;
    for (const ConversionRow &row : rows) {
        if (row.Checked)
            inputs << row.FullFileName;
    }
    m_names = std::make_unique<OutputNamePlanner>(s.settings, s.strings, &m_frontEnd,
        s.BatchOnly ? OutputNamePlanner::Plan : OutputNamePlanner::Reserve, inputs);
    if (s.BatchOnly) {
        const QString problem = BatchScriptTargetProblem(s.BatchFileName, &m_names->inputs());
        if (!problem.isEmpty()) {
            m_frontEnd.warning(problem);
            return ConversionEnd::BadScriptTarget;
        }
    }
    const ToolLookup lookup = s.toolLookup ? *s.toolLookup : DefaultToolLookup();
    m_ffmpeg = ResolveFFmpegPath(s.params, lookup);
    if (m_ffmpeg.isEmpty() || !QFileInfo(m_ffmpeg).isFile()) {
        m_frontEnd.warning(FFmpegMissingText(s.strings));
        return ConversionEnd::FFmpegMissing;
    }
    m_state.FileCount = int(std::count_if(
        rows.cbegin(), rows.cend(), [](const ConversionRow &row) { return row.Checked; }));
    // The first file is analysed while FFmpeg is asked for its encoders and
    // the MediaInfo library is loaded, the others while the first one
    // converts: the run's start waits for as little as it can.
    std::future<std::optional<EncoderSet>> encoders = std::async(std::launch::async,
        [this, ffmpeg = m_ffmpeg] { return QueryEncoders(ffmpeg, &m_queryRunner); });
    if (!s.BatchOnly) {
        probeAhead(-1, 1, false);
        LoadMediaInfoLibrary(s.params.MediaInfoDll);
    }

    // Told once here rather than failing every file. A script may be meant
    // for another FFmpeg build, so it is still written.
    m_encoders = encoders.get();
    if (m_encoders) {
        const QStringList missing = MissingEncoders(s.settings, *m_encoders);
        if (!missing.isEmpty()) {
            m_frontEnd.warning(MissingEncodersMessage(missing, m_ffmpeg));
            if (!s.BatchOnly)
                return ConversionEnd::MissingEncoders;
        }
    }
    m_batch = std::make_unique<BatchScript>(m_ffmpeg);
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
    m_frontEnd.walkStarted(start);
    return ConversionEnd::Walked;
}

ConversionEnd ConversionDriver::walk(std::vector<ConversionRow> &rows)
{
    const ConversionEnd start = startRun(rows);
    if (start != ConversionEnd::Walked)
        return start;

    int counter = 0;
    const qsizetype rowCount = qsizetype(rows.size());
    for (qsizetype i = 0; i < rowCount; ++i) {
        if (!rows[size_t(i)].Checked)
            continue;
        pause();
        m_state.FileNo = ++counter;
        m_rowIndex = i;
        if (const std::optional<ConversionEnd> end = convertRow(int(i), rows[size_t(i)]))
            return *end;
        // Also after a skipped row: an abort must not let the walk go on.
        if (abortSet())
            break;
    }

    if (m_setup->BatchOnly) {
        QString error;
        m_scriptSaved = m_batch->finish().save(m_setup->BatchFileName, &error);
        if (!m_scriptSaved)
            m_frontEnd.showError(error);
    }
    return ConversionEnd::Walked;
}

std::optional<ConversionEnd> ConversionDriver::convertRow(int index, ConversionRow &row)
{
    const ConversionSetup &s = *m_setup;
    const bool batchOnly = s.BatchOnly;
    m_input = row.FullFileName;
    m_exitCode = 0;
    m_failed = false;
    m_ranFFmpeg = false;
    m_inputTimes.reset();
    m_state.PassNo = 0;

    // C. Output path and existing output.
    const OutputPath output = m_names->next(m_state.FileNo - 1);
    if (output.action == OutputPath::Failed)
        return ConversionEnd::CantCreateDirectory;
    m_outputPath = output.path;
    row.OutputFile = output.path;
    m_doneText = output.doneText;
    if (!batchOnly)
        setRowStatus(index, row, s.strings.Main.Converting);

    ConversionFileView view;
    view.Row = index;
    view.FileNo = m_state.FileNo;
    view.InputFile = m_input;
    view.OutputFile = m_outputPath;
    if (output.action == OutputPath::Skip) {
        row.Outcome = RowOutcome::Skipped;
        if (!batchOnly)
            setRowStatus(index, row, m_doneText);
        view.OutputMarkup = skippedMarkup(m_outputPath);
        view.StatusText = m_doneText;
        m_frontEnd.fileSkipped(view);
        return std::nullopt;
    }
    m_successOutcome = output.outcome == OutputPath::Renamed ? RowOutcome::Renamed
        : output.outcome == OutputPath::Overwritten          ? RowOutcome::Overwritten
                                                             : RowOutcome::Done;

    view.OutputMarkup = outputMarkup(m_outputPath);
    view.StatusText = s.strings.Main.PleaseWait;
    m_output->clear();
    m_frontEnd.fileStarted(view);

    // A file gone since it was listed is not handed to FFmpeg: its failure
    // would delete an output this run never wrote.
    if (!batchOnly && !QFileInfo(m_input).isFile()) {
        recordMissingInput();
        finishFile(index, row);
        return std::nullopt;
    }

    // The pieces depend on the analysis, so it comes first.
    ClearVideoFileInfo(m_state.CurrentFileInfo);
    TVideoFileInfo info;
    if (!takeProbeAhead(m_input, info))
        ProbeWithFFmpeg(m_input, m_ffmpeg, s.params.MediaInfoDll, info, &m_probeRunner);
    m_state.CurrentFileInfo = info;
    pause();

    // D. Pieces, parameter text and passes.
    PieceContext context(s.settings, s.lists, s.strings, m_state.CurrentFileInfo);
    context.messages = &m_frontEnd;
    context.processorCount = s.processorCount > 0 ? s.processorCount : QThread::idealThreadCount();
    context.encoders = m_encoders ? &*m_encoders : nullptr;
    CommandPieces pieces;
    if (!BuildRunPieces(context, pieces))
        return ConversionEnd::ErrorPiece;
    m_batch->addPieces(m_state.FileNo,
        BatchPieces{pieces.VC, pieces.AC, pieces.ADV, pieces.ADD, pieces.VP, pieces.AP});

    const bool h264 = IsH264Mode(s.settings);
    m_state.TwoPass = IsTwoPassRun(s.settings);
    const auto command = [&](int passNo) {
        return RunCommandLine(m_ffmpeg, pieces, m_input, m_outputPath, passNo, h264);
    };
    const QString errorText = s.strings.Main.Error;
    if (m_state.TwoPass) {
        ensureLogDir();
        if (batchOnly) {
            m_batch->addTwoPass(m_input, m_outputPath, h264);
        } else {
            const QString workDir = m_setup->params.LogDir;
            m_state.PassNo = 1;
            m_output->clear();
            readInputTimes();
            const CommandLine pass1 = command(1);
            if (!abortSet())
                m_exitCode = runPass(pass1, workDir);
            // A failed first pass reads like a failed second one: the row
            // never shows "Done" for a file that was not converted.
            if (m_exitCode != 0) {
                m_doneText = errorText + QStringLiteral(" = ") + QString::number(m_exitCode);
                recordFailure(pass1.paramText());
            } else if (!abortSet()) {
                m_state.PassNo = 2;
                m_output->clear();
                const CommandLine pass2 = command(2);
                if (!abortSet())
                    m_exitCode = runPass(pass2, workDir);
                if (m_exitCode != 0) {
                    m_doneText = errorText + QStringLiteral(" = ") + QString::number(m_exitCode);
                    recordFailure(pass2.paramText());
                }
            }
        }
    } else if (batchOnly) {
        m_batch->addSinglePass(m_input, m_outputPath, h264);
    } else {
        m_output->clear();
        readInputTimes();
        const CommandLine single = command(0);
        if (!abortSet())
            m_exitCode = runPass(single, {});
        if (m_exitCode != 0) {
            m_doneText = errorText + QStringLiteral(" (") + QString::number(m_exitCode)
                + QStringLiteral(")");
            recordFailure(single.paramText());
        }
    }

    finishFile(index, row);
    return std::nullopt;
}

uint32_t ConversionDriver::runPass(const CommandLine &command, const QString &workDir)
{
    m_ranFFmpeg = true;
    m_unfinishedOutput = m_outputPath;
    probeAhead(m_rowIndex, ProbeBatchSize, true);
    const FlushHook hook = [this](const ConsoleFlush &flush) {
        updateAbortNow();
        m_frontEnd.progress(m_output->onFlush(flush, progressInputs()));
    };
    const uint32_t code = m_runner.RunConsoleApp(command, nullptr, hook, workDir);
    updateAbortNow();
    return code;
}

void ConversionDriver::readInputTimes()
{
    if (m_setup->params.KeepFileDates)
        m_inputTimes = ReadFileTimes(m_input);
}

void ConversionDriver::recordFailure(const QString &params)
{
    m_failed = true;
    m_output->FilterEncoderOutput();
    const QString outputText = m_output->outputText();
    m_frontEnd.outputShown(outputText);
    addErrorLogEntry(QStringLiteral("ExitCode: ") + QString::number(m_exitCode)
            + QStringLiteral("\r\n") + outputText,
        params);
    deleteOutput(m_outputPath);
}

void ConversionDriver::recordMissingInput()
{
    m_failed = true;
    m_doneText = m_setup->strings.Main.Error;
    addErrorLogEntry(QStringLiteral("Input file not found: \"%1\"").arg(m_input), {});
}

void ConversionDriver::addErrorLogEntry(const QString &text, const QString &params)
{
    const QStringList lines = m_errorLog.recordError(text, m_input, m_outputPath, params);
    m_state.ErrorCount = m_errorLog.ErrorCount();
    m_frontEnd.errorLogged(lines, m_state.ErrorCount);
}

void ConversionDriver::finishFile(int index, ConversionRow &row)
{
    const ConversionSetup &s = *m_setup;
    const bool aborted = abortSet();
    if (aborted)
        m_doneText = s.strings.Main.Aborted;

    ConversionFileEnd end;
    end.Row = index;
    end.FileNo = m_state.FileNo;
    end.DoneText = m_doneText;
    end.StatusMarkup = QStringLiteral("<b>") + m_doneText + QStringLiteral("</b>");
    end.Succeeded = !aborted && !m_failed && m_exitCode == 0;
    end.ProgressComplete = !aborted;
    m_frontEnd.fileFinished(end);

    row.Outcome = aborted ? RowOutcome::Aborted : m_failed ? RowOutcome::Failed : m_successOutcome;
    if (!s.BatchOnly)
        setRowStatus(index, row, m_doneText);

    // Only an output FFmpeg wrote in this run: an empty file that was there
    // before is not ours to delete.
    if (m_ranFFmpeg && FileSizeOf(m_outputPath) == 0)
        deleteOutput(m_outputPath);
    // The name created for a file that FFmpeg never wrote is not left behind.
    m_names->release(m_outputPath);
    if (s.params.KeepFileDates && m_inputTimes && !s.BatchOnly && QFileInfo(m_outputPath).isFile())
        ApplyFileTimes(m_outputPath, *m_inputTimes);
    if (!aborted)
        m_unfinishedOutput.clear();
}

void ConversionDriver::cleanUp()
{
    dropProbeAhead();
    m_rows = nullptr;
    // Also releases the name of a file the run ended before (an "ERROR"
    // piece, FFmpeg that cannot be started).
    m_names.reset();
    const ConversionSetup &s = *m_setup;
    ConversionRunEnd end;
    if (m_output) {
        m_output->FilterEncoderOutput();
        end.OutputText = m_output->outputText();
    }
    end.AbortCaption = s.strings.Main.Close;
    end.ApplicationTitle = AppInfo::ProgramTitle();
    end.ProgressCaption = s.strings.Progress.Caption;
    m_batch.reset();
    m_state.IsConverting = false;
    m_frontEnd.runFinished(end);

    if (m_state.TwoPass || !m_createdLogDir.isEmpty())
        ClearLogs();

    m_abortSeen = abortSet();
    if (m_abortSeen && !m_unfinishedOutput.isEmpty() && PathEntryExists(m_unfinishedOutput)) {
        const QString path = m_unfinishedOutput;
        if (m_frontEnd.askYesNo(FormatAppString(s.strings.Main.DeleteUnfinished, path))) {
            deleteOutput(path);
            if (PathEntryExists(path))
                m_frontEnd.showError(FormatAppString(s.strings.Main.CannotDeleteFile, path));
        }
    }
    m_unfinishedOutput.clear();

    std::lock_guard lock(m_abortMutex);
    m_state.AbortRequested = false;
    m_abortDeadline = 0;
    clearStopRequests();
}

void ConversionDriver::clearStopRequests()
{
    for (ConsoleRunner *runner : {&m_runner, &m_aheadRunner, &m_queryRunner, &m_probeRunner})
        runner->clearStopRequest();
}

void ConversionDriver::endOfWalk()
{
    const ConversionSetup &s = *m_setup;
    if (m_state.ErrorCount > 0) {
        m_frontEnd.showErrorLog(s.strings.Main.Errors + QStringLiteral(" (")
                + QString::number(m_state.ErrorCount) + u')',
            !m_state.AbortNow);
    }
    if (m_state.FileCount == 0 || m_abortSeen || m_state.ErrorCount > 0)
        return;
    switch (s.settings.cbAfterConversion) {
    case AfterConversion::CloseApplication:
        m_frontEnd.closeApplication();
        break;
    case AfterConversion::CloseWindows: {
        QString error;
        if (!s.power)
            error = QStringLiteral("The computer cannot be switched off from here.");
        else if (!s.power->powerOff(&error) && error.isEmpty())
            error = QStringLiteral("The computer could not be switched off.");
        if (!error.isEmpty())
            m_frontEnd.showError(error);
        m_frontEnd.closeApplication();
        break;
    }
    default:
        break;
    }
}

void ConversionDriver::probeAhead(qsizetype fromIndex, int maxFiles, bool whileConverting)
{
    if (!m_rows || abortSet())
        return;
    QStringList inputs;
    const std::vector<ConversionRow> &rows = *m_rows;
    for (qsizetype i = fromIndex + 1; i < qsizetype(rows.size()) && inputs.size() < maxFiles; ++i) {
        const ConversionRow &row = rows[size_t(i)];
        // A file that is not there is left to its own turn.
        if (row.Checked && QFileInfo(row.FullFileName).isFile())
            inputs << row.FullFileName;
    }
    if (inputs.isEmpty())
        return;
    const auto pending = [&](const AheadFile &file) { return file.input == inputs.first(); };
    if (std::any_of(m_ahead.cbegin(), m_ahead.cend(), pending))
        return;
    dropProbeAhead();

    auto promises = std::make_shared<std::vector<std::promise<std::optional<TVideoFileInfo>>>>(
        size_t(inputs.size()));
    for (qsizetype k = 0; k < inputs.size(); ++k) {
        AheadFile file;
        file.input = inputs.at(k);
        file.stamp = FileStampOf(file.input);
        file.result = (*promises)[size_t(k)].get_future().share();
        m_ahead.push_back(file);
    }
    m_aheadTask = std::async(std::launch::async,
        [this, inputs, promises, ffmpeg = m_ffmpeg, mediaInfo = m_setup->params.MediaInfoDll,
            whileConverting] {
            // Work ahead must not slow the conversion down: FFmpeg and the
            // MediaInfo analysis that follows it get only what the encoder
            // leaves. This thread is the task's own, so lowering it changes
            // nothing else. The first file's analysis is awaited at once.
            ConsoleRunOptions options = ToolAnswerOptions();
            if (whileConverting) {
                LowerCurrentThreadPriority();
                options.lowestPriority = true;
            }
            int answered = 0;
            try {
                ProbeFilesWithFFmpeg(
                    inputs, ffmpeg, mediaInfo, m_aheadRunner,
                    [&](int k, std::optional<TVideoFileInfo> info) {
                        (*promises)[size_t(k)].set_value(std::move(info));
                        answered = k + 1;
                    },
                    options);
            } catch (...) {
                // Each file is then analysed on its own, which reports it.
            }
            for (size_t k = size_t(answered); k < promises->size(); ++k)
                (*promises)[k].set_value(std::nullopt);
        });
}

bool ConversionDriver::takeProbeAhead(const QString &input, TVideoFileInfo &info)
{
    const auto found = std::find_if(
        m_ahead.begin(), m_ahead.end(), [&](const AheadFile &file) { return file.input == input; });
    if (found == m_ahead.end())
        return false;
    const AheadFile file = *found;
    m_ahead.erase(found);
    const std::optional<TVideoFileInfo> &probed = file.result.get();
    // A file written meanwhile (the previous file's output, say) is analysed
    // again.
    const std::optional<FileStamp> stamp = FileStampOf(input);
    if (!probed || !stamp || !file.stamp || !(*stamp == *file.stamp))
        return false;
    info = *probed;
    return true;
}

void ConversionDriver::dropProbeAhead()
{
    if (m_aheadTask.valid())
        m_aheadTask.wait();
    m_aheadTask = {};
    m_ahead.clear();
}

bool ConversionDriver::ensureLogDir()
{
    QString &dir = m_setup->params.LogDir;
    if (dir.isEmpty())
        return false;
    const QFileInfo info(dir);
    if (dir == m_createdLogDir && info.isDir() && !info.isSymLink())
        return true;
    // The name is predictable: a folder that is already there (another run
    // started in the same millisecond, or a planted one) is not ours, and
    // the statistics files must not be written or deleted in it.
    const QString base = m_createdLogDir.isEmpty() ? dir : m_createdLogDir;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = attempt == 0 ? base : base + u'_' + QString::number(attempt);
        const QFileInfo taken(candidate);
        if (taken.exists() || taken.isSymLink())
            continue;
        if (!QDir().mkpath(candidate))
            break;
        QFile::setPermissions(
            candidate, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        dir = candidate;
        m_createdLogDir = candidate;
        return true;
    }
    dir.clear();
    return false;
}

void ConversionDriver::ClearLogs()
{
    // Only the run's own folder: without one, FFmpeg ran in the program
    // folder, where files are not deleted by name.
    const QString dir = m_createdLogDir;
    if (dir.isEmpty())
        return;
    for (const char *name : PassLogNames) {
        const QString path = dir + u'/' + QLatin1String(name);
        if (PathEntryExists(path))
            removeFile(path);
    }
    if (QFileInfo(dir).isDir())
        QDir().rmdir(dir);
    m_createdLogDir.clear();
}

bool ConversionDriver::deleteOutput(const QString &path)
{
    // However the output was named, the input is never deleted.
    if (path.isEmpty() || !PathEntryExists(path) || IsSameFile(path, m_input))
        return false;
    return removeFile(path);
}

void ConversionDriver::setRowStatus(int index, ConversionRow &row, const QString &status)
{
    row.Status = status;
    m_frontEnd.rowStatusChanged(index, status);
}

bool ConversionDriver::RequestAbort()
{
    std::lock_guard lock(m_abortMutex);
    if (m_state.AbortRequested || !m_state.IsConverting)
        return false;
    m_state.AbortRequested = true;
    m_abortDeadline = nowMs() + m_abortGraceMs;
    // The runner sends "q" and stops FFmpeg by force after the grace time,
    // printing or not; a request between two runs reaches the next one.
    m_runner.requestStop(m_abortGraceMs);
    // The probes and the encoder query have nothing to finish.
    m_aheadRunner.requestStop(0);
    m_probeRunner.requestStop(0);
    m_queryRunner.requestStop(0);
    return true;
}

void ConversionDriver::setHideEncoderOutput(bool hide)
{
    m_hideOutput = hide;
}

bool ConversionDriver::abortSet()
{
    updateAbortNow();
    return m_state.AbortRequested || m_state.AbortNow;
}

void ConversionDriver::updateAbortNow()
{
    const int64_t deadline = m_abortDeadline;
    if (deadline != 0 && nowMs() >= deadline)
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

void ConversionDriver::pause() const
{
    if (m_setup->pauseMs > 0)
        QThread::msleep(ulong(m_setup->pauseMs));
}
