#include "cli/CliConversion.h"

#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "app/TextHelpers.h"
#include "app/ToolResolution.h"
#include "conversion/EncoderOutput.h"
#include "conversion/TimeLeft.h"
#include "encoding/SettingsLists.h"
#include "filelist/FileListAdding.h"
#include "filelist/InputFilter.h"
#include "i18n/AppStrings.h"

#include <algorithm>

bool ParseConversionOptions(const CliContext &context, const QStringList &flags,
    const QStringList &valueOptions, CliConversionOptions &options)
{
    const QString prefix = QStringLiteral("quillon-cli %1: ").arg(context.command);
    QStringList rest;
    bool filesOnly = false;
    for (qsizetype i = 0; i < context.args.size(); ++i) {
        const QString &arg = context.args.at(i);
        if (filesOnly) {
            rest << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            filesOnly = true;
            rest << arg;
        } else if (flags.contains(arg)) {
            options.flags.insert(arg);
        } else if (valueOptions.contains(arg)) {
            if (i + 1 >= context.args.size()) {
                PrintErr(prefix + QStringLiteral("%1 needs a value\n").arg(arg));
                return false;
            }
            const QString &value = context.args.at(++i);
            if (HasNonUtf8Bytes(value)) {
                PrintErr(
                    prefix + QStringLiteral("%1: \"%2\" is not valid UTF-8\n").arg(arg, value));
                return false;
            }
            options.values.insert(arg, value);
        } else {
            rest << arg;
            // A shared option's value is never taken for one of this
            // command's flags.
            if (IsEncodingValueOption(arg) && i + 1 < context.args.size())
                rest << context.args.at(++i);
        }
    }

    TAppStrings strings;
    const EncodingOptionsBase base{strings, DefaultVideoCodecOfSettingsFile(context.params)};
    QString error;
    if (!ParseEncodingOptions(rest, {}, base, options.encoding, &error)) {
        PrintErr(prefix + error + u'\n');
        return false;
    }

    const FilteredInputs filtered = FilterInputs({}, options.encoding.inputs);
    for (const QString &note : InputNotes(filtered))
        PrintErr(prefix + note + u'\n');
    // Files that do not exist, are not media files or have a name that is
    // not UTF-8 are an error of the caller; a file named twice is simply
    // converted once, as in the list.
    options.inputsRejected
        = filtered.count(InputRejection::Duplicate) < int(filtered.rejected.size());
    uint64_t nextId = 1;
    QStringList files;
    for (const FileToAdd &file : filtered.files)
        files << file.path;
    appendRows(options.list, filtered.files, nextId, strings.Main.Ready,
        TreeRootOf(options.encoding, files));
    if (options.list.empty()) {
        PrintErr(prefix + QStringLiteral("no file to convert\n"));
        return false;
    }
    return true;
}

ConversionSetup CliConversionSetup(const CliContext &context, const EncodingSettings &settings)
{
    ConversionSetup setup;
    setup.settings = settings;
    setup.params = context.params;
    setup.lists = BuildEncodingLists(
        setup.strings, context.params.ResolutionTxt, context.params.FourccTagsFile);
    setup.toolLookup = DefaultToolLookup();
    return setup;
}

TerminalFrontEnd::TerminalFrontEnd(
    const QString &commandName, bool keepUnfinished, bool reportFiles)
    : m_prefix(QStringLiteral("quillon-cli %1: ").arg(commandName))
    , m_keepUnfinished(keepUnfinished)
    , m_reportFiles(reportFiles)
    , m_terminal(::isatty(STDERR_FILENO) == 1)
{ }

void TerminalFrontEnd::message(const QString &text)
{
    endStatusLine();
    PrintErr(m_prefix + WithLineFeeds(text) + u'\n');
}

void TerminalFrontEnd::endStatusLine()
{
    if (m_statusOpen)
        PrintErr(QStringLiteral("\n"));
    m_statusOpen = false;
    // The block of running files goes; the next update draws it again
    // below the message.
    if (m_blockLines > 0)
        PrintErr(QStringLiteral("\x1b[%1A\r\x1b[J").arg(m_blockLines));
    m_blockLines = 0;
}

void TerminalFrontEnd::walkStarted(const ConversionWalkStart &start)
{
    m_jobs = start.Jobs;
    m_fileCount = start.FileCount;
}

void TerminalFrontEnd::warning(const QString &text)
{
    message(text);
}

void TerminalFrontEnd::fileStarted(const ConversionFileView &file)
{
    m_sinceStatus.invalidate();
    if (!m_reportFiles)
        return;
    message(QStringLiteral("file %1: \"%2\" -> \"%3\"")
                .arg(file.FileNo)
                .arg(file.InputFile, file.OutputFile));
}

void TerminalFrontEnd::fileSkipped(const ConversionFileView &file)
{
    message(QStringLiteral("file %1: \"%2\": %3, \"%4\" exists")
                .arg(file.FileNo)
                .arg(file.InputFile, file.StatusText, file.OutputFile));
}

void TerminalFrontEnd::progress(const EncoderProgressUpdate &update)
{
    // Nothing to tell before FFmpeg reports its first progress.
    if (!update.Updated || update.StatusPlain.isEmpty()
        || (update.FrameCount == 0 && update.SpeedText.isEmpty() && update.SizeText.isEmpty()))
        return;
    if (m_jobs > 1) {
        showRunningFiles(update);
        return;
    }
    m_feed.push(update);
    if (m_sinceStatus.isValid() && m_sinceStatus.elapsed() < StatusIntervalMs)
        return;
    m_sinceStatus.start();
    const QString status = m_feed.take().statusPlain;
    if (status == m_lastStatus)
        return;
    m_lastStatus = status;
    if (m_terminal) {
        // One line rewritten in place, cleared to its end.
        PrintErr(u'\r' + status + QStringLiteral("\x1b[K"));
        m_statusOpen = true;
    } else {
        PrintErr(status + u'\n');
    }
}

void TerminalFrontEnd::showRunningFiles(const EncoderProgressUpdate &update)
{
    m_running[update.FileNo] = update.StatusPlain;
    if (update.BatchPercentage >= 0) {
        m_batchLine = QStringLiteral("Files done: %1 / %2 | Progress: %3%")
                          .arg(update.FilesDone)
                          .arg(m_fileCount)
                          .arg(update.BatchPercentage);
        if (update.BatchTimeLeftMs >= 0)
            m_batchLine
                += QStringLiteral(" | Time left: ") + FormatTimeSpan(update.BatchTimeLeftMs);
    }
    if (m_sinceStatus.isValid() && m_sinceStatus.elapsed() < StatusIntervalMs)
        return;
    m_sinceStatus.start();
    QStringList lines;
    if (!m_batchLine.isEmpty())
        lines << m_batchLine;
    for (const auto &[fileNo, status] : m_running)
        lines << status;
    if (!m_terminal) {
        const QString combined = lines.join(QStringLiteral(" | "));
        if (combined != m_lastStatus)
            PrintErr(combined + u'\n');
        m_lastStatus = combined;
        return;
    }
    QString text;
    if (m_blockLines > 0)
        text += QStringLiteral("\x1b[%1A").arg(m_blockLines);
    for (const QString &line : std::as_const(lines))
        text += u'\r' + line + QStringLiteral("\x1b[K\n");
    // A block that shrank leaves no stale line below it.
    text += QStringLiteral("\x1b[J");
    PrintErr(text);
    m_blockLines = int(lines.size());
}

void TerminalFrontEnd::fileFinished(const ConversionFileEnd &end)
{
    m_running.erase(end.FileNo);
    if (!m_reportFiles)
        return;
    message(QStringLiteral("file %1: %2").arg(QString::number(end.FileNo), end.DoneText));
}

void TerminalFrontEnd::runFinished(const ConversionRunEnd &)
{
    endStatusLine();
}

bool TerminalFrontEnd::askYesNo(const QString &)
{
    // The only question is whether to delete the unfinished output.
    return !m_keepUnfinished;
}

void TerminalFrontEnd::showError(const QString &text)
{
    message(text);
}

void PrintRowResults(const std::vector<ConversionRow> &rows)
{
    QString text;
    for (const ConversionRow &row : rows)
        text += row.Status + u'\t' + row.FullFileName + u'\t' + row.OutputFile + u'\n';
    PrintOut(text);
}
