#include "cli/CliCommands.h"

#include "app/AppInfo.h"

namespace {

// Prints where the tools were found: a quick check of a portable folder.
int RunPaths(CliContext &context)
{
    const TAppParams &p = context.params;
    PrintOut(QStringLiteral("ffmpeg=%1\nMediaInfoDll=%2\nToolsDir=%3\nLangDir=%4\nDataDir=%5\n"
                            "ProfilesDir=%6\nIniName=%7\n")
                 .arg(p.ffmpeg, p.MediaInfoDll, p.ToolsDir, p.LangDir, p.DataDir, p.ProfilesDir,
                     p.IniName));
    return ExitOk;
}

const CliCommand Commands[] = {
    {"paths", "", "print the resolved tool paths and folders", RunPaths},
};

} // namespace

std::span<const CliCommand> CliCommands()
{
    return Commands;
}
