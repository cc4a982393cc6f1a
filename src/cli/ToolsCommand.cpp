#include "cli/AnalysisCommands.h"

#include "analysis/ToolsReport.h"

int RunToolsCommand(CliContext &context)
{
    if (!context.args.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli: tools takes no arguments\n"));
        return ExitUsage;
    }
    QString report;
    QString error;
    if (!BuildToolsReport(context.params.ffmpeg, context.params.MediaInfoDll, report, &error)) {
        PrintErr(QStringLiteral("quillon-cli: tools: %1\n").arg(error));
        return ExitFailed;
    }
    // The report ends with its separator; the line end keeps the prompt off it.
    PrintOut(report + QStringLiteral("\r\n"));
    return ExitOk;
}
