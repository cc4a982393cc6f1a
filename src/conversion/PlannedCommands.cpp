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
    const BatchPieces pieces = ToBatchPieces(commands.pieces);
    const bool h264 = IsH264Mode(ctx.settings);
    for (qsizetype i = 0; i < commands.passes.size(); ++i)
        planned.shellTexts << ShellCommandText(
            ffmpegPath, pieces, {inputPath, outputPath, h264, commands.passNo(i)});
    return planned;
}

BatchPieces ToBatchPieces(const CommandPieces &p)
{
    return {p.VC, p.AC, p.ADV, p.ADD, p.VP, p.AP};
}
