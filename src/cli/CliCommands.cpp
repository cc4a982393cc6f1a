#include "cli/CliCommands.h"

#include "app/AppInfo.h"
#include "app/FileLocations.h"
#include "app/ProgramDir.h"
#include "cli/AnalysisCommands.h"
#include "cli/CommandSubcommand.h"
#include "cli/ConversionCommands.h"
#include "cli/PlanSubcommand.h"

namespace {

// Prints where the tools were found and where Quillon's own files live.
int RunPaths(CliContext &context)
{
    if (context.args.contains(QStringLiteral("--help"))) {
        PrintOut(QStringLiteral("Usage: quillon-cli paths\n\n"
                                "Prints where the tools were found, the layout (portable or "
                                "installed)\nand the folders the program uses, one KEY=VALUE line "
                                "each.\n"));
        return ExitOk;
    }
    const TAppParams &p = context.params;
    const FileLocations where = LocateFiles(ProgramDir());
    PrintOut(QStringLiteral("ffmpeg=%1\nMediaInfoDll=%2\nToolsDir=%3\nLangDir=%4\nDataDir=%5\n"
                            "ProfilesDir=%6\nIniName=%7\n")
                 .arg(p.ffmpeg, p.MediaInfoDll, p.ToolsDir, p.LangDir, p.DataDir, p.ProfilesDir,
                     p.IniName)
        + QStringLiteral("Layout=%1\nProgramDir=%2\nReportsDir=%3\nCacheDir=%4\n"
                         "DocumentsDir=%5\nWorkDir=%6\n")
              .arg(where.layout == FileLayout::Portable ? QStringLiteral("portable")
                                                        : QStringLiteral("installed"),
                  where.programDir, where.reportsDir, where.cacheDir, where.defaultDocumentsDir,
                  where.workDir));
    return ExitOk;
}

const CliCommand Commands[] = {
    {"paths", "", "print the resolved tools and where Quillon's files live", RunPaths},
    {"command", CommandSubcommandUsage, CommandSubcommandSummary, RunCommandSubcommand},
    {"plan", PlanSubcommandUsage, PlanSubcommandSummary, RunPlanSubcommand},
    {"convert", ConvertCommandUsage, ConvertCommandSummary, RunConvertCommand},
    {"script", ScriptCommandUsage, ScriptCommandSummary, RunScriptCommand},
    {"info", "FILE", "print the file information report of FILE", RunInfoCommand},
    {"tools", "", "print the report on the FFmpeg program and the MediaInfo library",
        RunToolsCommand},
};

} // namespace

std::span<const CliCommand> CliCommands()
{
    return Commands;
}
