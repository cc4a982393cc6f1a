#include "conversion/PlannedCommands.h"

#include "encoding/PieceContext.h"

PlannedCommands PlanFileCommands(const PieceContext &ctx, const QString &ffmpegPath,
    const QString &inputPath, const QString &outputPath)
{
    PlannedCommands planned;
    planned.commands = BuildFileCommands(ctx, ffmpegPath, inputPath, outputPath);
    const FileCommands &commands = planned.commands;
    if (!commands.ok)
        return planned;
    planned.batchPieces = ToBatchPieces(commands.pieces);
    const bool h264 = IsH264Mode(ctx.settings);
    for (qsizetype i = 0; i < commands.passes.size(); ++i) {
        const BatchScript::Command command{inputPath, outputPath, h264, commands.passNo(i)};
        planned.scriptCommands << command;
        planned.shellTexts << ShellCommandText(ffmpegPath, planned.batchPieces, command);
    }
    return planned;
}

BatchPieces ToBatchPieces(const CommandPieces &p)
{
    return {p.VC, p.AC, p.ADV, p.ADD, p.VP, p.AP};
}
