#include "cli/AnalysisCommands.h"

#include "analysis/FileInfoReport.h"
#include "conversion/ConsoleRunner.h"
#include "i18n/AppStrings.h"

#include <QFileInfo>

int RunInfoCommand(CliContext &context)
{
    if (context.args.size() != 1) {
        PrintErr(QStringLiteral("quillon-cli: info takes one file name\n"));
        return ExitUsage;
    }
    const QFileInfo file(context.args.first());
    if (!file.exists()) {
        PrintErr(QStringLiteral("quillon-cli: info: no such file: %1\n").arg(file.filePath()));
        return ExitFailed;
    }
    if (!file.isFile()) {
        PrintErr(QStringLiteral("quillon-cli: info: not a file: %1\n").arg(file.filePath()));
        return ExitFailed;
    }

    const TAppParams &params = context.params;
    int status = ExitOk;
    if (params.ffmpeg.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli: info: FFmpeg not found (see --ffmpeg); the report "
                                "holds only the file's name and size\n"));
        status = ExitFailed;
    } else if (params.MediaInfoDll.isEmpty()) {
        PrintErr(QStringLiteral("quillon-cli: info: MediaInfo library not found (see "
                                "--mediainfo); the report holds only FFmpeg's facts\n"));
    }

    const TAppStrings strings;
    bool answered = true;
    try {
        PrintOut(GetInfoAsText(file.absoluteFilePath(), params.ffmpeg, params.MediaInfoDll,
            strings.FileInfo, WebSiteUrl(params), &answered));
    } catch (const ConsoleRunError &error) {
        PrintErr(QStringLiteral("quillon-cli: info: %1\n").arg(error.message()));
        return ExitFailed;
    }
    if (!answered) {
        PrintErr(QStringLiteral("quillon-cli: info: FFmpeg did not describe the file within %1 s "
                                "and was stopped; the report holds only the file's name and size\n")
                     .arg(ToolAnswerTimeout.count() / 1000));
        status = ExitFailed;
    }
    return status;
}
