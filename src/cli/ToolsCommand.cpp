#include "cli/AnalysisCommands.h"

#include "analysis/ToolsReport.h"
#include "app/TextHelpers.h"
#include "i18n/AppStrings.h"
#include "i18n/FFmpegMissing.h"

int RunToolsCommand(CliContext &context)
{
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral(
            "Usage: quillon-cli tools\n\n"
            "Prints the report on the FFmpeg program and the MediaInfo library in use: file\n"
            "name, size, CRC-32, binary type and version of each, with CR LF line ends.\n"
            "Exit status: 0 done, 1 FFmpeg missing or a tool unreadable, 2 bad arguments.\n"));
        return ExitOk;
    }
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
    // Without FFmpeg nothing can be converted: the report, with its empty
    // FFmpeg block, still shows what was found of the rest.
    if (context.params.ffmpeg.isEmpty()) {
        const TAppStrings strings;
        PrintErr(WithLineFeeds(FFmpegMissingText(strings)) + u'\n');
        return ExitFailed;
    }
    return ExitOk;
}
