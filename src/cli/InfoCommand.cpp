#include "cli/AnalysisCommands.h"

#include "analysis/FileInfoReport.h"
#include "app/NonUtf8Names.h"
#include "app/ProgramDir.h"
#include "i18n/AppStrings.h"
#include "process/ConsoleRunner.h"

#include <QFileInfo>

int RunInfoCommand(CliContext &context)
{
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral(
            "Usage: quillon-cli info FILE\n\n"
            "Prints the file information report of FILE: the facts FFmpeg and the MediaInfo\n"
            "library find, with CR LF line ends. Use the global options --ffmpeg and\n"
            "--mediainfo to choose the tools.\n"
            "Exit status: 0 done, 1 no such file or no FFmpeg, 2 bad arguments.\n"));
        return ExitOk;
    }
    if (context.args.size() != 1) {
        PrintErr(QStringLiteral("quillon-cli: info takes one file name\n"));
        return ExitUsage;
    }
    const QString path = ExpandFullPath(context.args.first());
    if (HasNonUtf8Bytes(path)) {
        PrintErr(QStringLiteral("quillon-cli: info: ") + NonUtf8NameMessage(path) + u'\n');
        return ExitFailed;
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
