#pragma once

#include "conversion/BatchScript.h"
#include "encoding/CommandAssembly.h"

#include <QString>
#include <QStringList>

struct PieceContext;

// One file's commands for the output its run would name, and each pass as
// a self-contained shell command: what a listing prints and what the
// command-line window copies, built as the run builds them.
struct PlannedCommands
{
    // commands.ok false: a piece failed; its message went to the context's
    // sink and there is nothing to show.
    FileCommands commands;
    // One per pass, in the order of commands.passes.
    QStringList shellTexts;
};

PlannedCommands PlanFileCommands(const PieceContext &ctx, const QString &ffmpegPath,
    const QString &inputPath, const QString &outputPath);

// The six pieces under the names of the script's variables.
BatchPieces ToBatchPieces(const CommandPieces &pieces);
