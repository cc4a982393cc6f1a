#include "app/InterruptWatcher.h"
#include "cli/CliConversion.h"
#include "cli/ConversionCommands.h"

const char ScriptCommandUsage[] = "-o OUT.sh|OUT.bat [OPTIONS] FILE...";
const char ScriptCommandSummary[]
    = "write a shell or batch script that converts the files (see --help)";

int RunScriptCommand(CliContext &context)
{
    const QString output = QStringLiteral("-o");
    const QString outputLong = QStringLiteral("--output");
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral("Usage: quillon-cli script %1\n\nOptions:\n")
                     .arg(QLatin1String(ScriptCommandUsage))
            + QStringLiteral("  -o, --output FILE         the script to write: FILE.bat for "
                             "Windows,\n"
                             "                            any other name a POSIX shell script\n")
            + EncodingOptionsUsage());
        return ExitOk;
    }
    CliConversionOptions options;
    if (!ParseConversionOptions(context, {}, {output, outputLong}, options))
        return ExitUsage;
    const QString scriptFile = options.values.value(output, options.values.value(outputLong));
    if (scriptFile.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli script: -o FILE is required\n"));
        return ExitUsage;
    }

    ConversionSetup setup = CliConversionSetup(context, options.encoding.settings);
    setup.BatchOnly = true;
    setup.BatchFileName = scriptFile;

    TerminalFrontEnd frontEnd(context.command, false, false);
    ConversionDriver driver(frontEnd);
    ConversionResult result;
    {
        // Stopped by a signal, the run still removes its working folder.
        InterruptWatcher watcher([&driver] { driver.RequestAbort(); });
        result = driver.run(setup, ConversionRowsOf(options.list));
        if (watcher.interrupted())
            return watcher.exitStatus();
    }
    if (result.End != ConversionEnd::Walked)
        return ExitUsage;
    if (!result.ScriptSaved || options.inputsRejected)
        return ExitFailed;
    return ExitOk;
}
