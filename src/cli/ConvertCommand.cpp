#include "app/InterruptWatcher.h"
#include "cli/CliConversion.h"
#include "cli/ConversionCommands.h"

#include "conversion/ErrorLog.h"
#include "conversion/JobCount.h"

const char ConvertCommandUsage[] = "[OPTIONS] FILE...";
const char ConvertCommandSummary[] = "convert the files with FFmpeg (see --help)";

namespace {

const QString KeepDates = QStringLiteral("--keep-dates");
const QString KeepUnfinished = QStringLiteral("--keep-unfinished");
const QString ErrorLogOption = QStringLiteral("--error-log");
const QString JobsOption = QStringLiteral("--jobs");

QString usageText()
{
    return QStringLiteral("Usage: quillon-cli convert %1\n\nOptions:\n")
               .arg(QLatin1String(ConvertCommandUsage))
        + EncodingOptionsUsage()
        + QStringLiteral(
            "  --keep-dates              give the outputs the times of their inputs\n"
            "  --keep-unfinished         keep the output of a file cut short by Ctrl+C\n"
            "  --error-log PATH          save the error log as PATH (.log or .html)\n"
            "  --jobs N|auto             convert N files at once (1 to 16; default 1); auto\n"
            "                            decides from the processors and the encoder\n"
            "\nOne line per file on standard output: status, input, output (tab-separated).\n"
            "Exit status: 0 all done or skipped, 1 a file failed, 2 the run ended early,\n"
            "128 + the signal number when stopped by a signal: 130 Ctrl+C (INT), 143 TERM,\n"
            "129 HUP, 131 QUIT.\n");
}

} // namespace

int RunConvertCommand(CliContext &context)
{
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(usageText());
        return ExitOk;
    }
    CliConversionOptions options;
    if (!ParseConversionOptions(
            context, {KeepDates, KeepUnfinished}, {ErrorLogOption, JobsOption}, options))
        return ExitUsage;
    int jobs = 1;
    if (options.values.contains(JobsOption)) {
        const QString text = options.values.value(JobsOption);
        const std::optional<int> parsed = ParseJobCount(text);
        if (!parsed) {
            PrintErr(QStringLiteral("quillon-cli convert: --jobs: \"%1\" is not auto or a number "
                                    "from 1 to %2\n")
                         .arg(text)
                         .arg(MaxJobs));
            return ExitUsage;
        }
        jobs = *parsed;
    }

    EncodingSettings settings = options.encoding.settings;
    settings.chKeepDates = options.flags.contains(KeepDates);
    ConversionSetup setup = CliConversionSetup(context, settings);
    setup.jobs = jobs;

    TerminalFrontEnd frontEnd(context.command, options.flags.contains(KeepUnfinished));
    ConversionDriver driver(frontEnd);
    ConversionResult result;
    int signalStatus = 0;
    {
        InterruptWatcher watcher([&driver] { driver.RequestAbort(); });
        result = driver.run(setup, ConversionRowsOf(options.list));
        if (watcher.interrupted())
            signalStatus = watcher.exitStatus();
    }
    PrintRowResults(result.rows);

    const ErrorLog &log = driver.errorLog();
    if (options.values.contains(ErrorLogOption)) {
        const QString chosen = options.values.value(ErrorLogOption);
        const ErrorLogFormat format = chosen.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
                || chosen.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
            ? ErrorLogFormat::Html
            : ErrorLogFormat::Log;
        QString saved, error;
        if (!log.save(chosen, format, &saved, &error)) {
            PrintErr(
                QStringLiteral("quillon-cli convert: cannot save the error log: %1\n").arg(error));
            result.ErrorCount = std::max(result.ErrorCount, 1);
        } else if (saved != chosen) {
            PrintErr(QStringLiteral("quillon-cli convert: error log saved as \"%1\"\n").arg(saved));
        }
    } else if (result.ErrorCount > 0) {
        PrintErr(log.text() + u'\n');
    }

    if (signalStatus != 0)
        return signalStatus;
    if (result.Aborted)
        return ExitInterrupted;
    if (result.End != ConversionEnd::Walked)
        return ExitUsage;
    if (CountOutcomes(result.rows).failed > 0 || result.ErrorCount > 0 || options.inputsRejected)
        return ExitFailed;
    return ExitOk;
}
