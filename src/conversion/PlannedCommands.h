#pragma once

#include "conversion/BatchScript.h"
#include "encoding/CommandAssembly.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PieceContext;

// One file's commands for the output its run would name, as the run, the
// batch script, a listing and the command-line window all take them: one
// place decides a file's passes.
struct PlannedCommands
{
    // commands.ok false: a piece failed; its message went to the context's
    // sink and there is nothing more.
    FileCommands commands;
    // The pieces under the names of the script's variables.
    BatchPieces batchPieces;
    // One script command per pass, in the order of commands.passes.
    QList<BatchScript::Command> scriptCommands;
    // Each pass as a self-contained shell command, in the same order.
    QStringList shellTexts;
};

PlannedCommands PlanFileCommands(const PieceContext &ctx, const QString &ffmpegPath,
    const QString &inputPath, const QString &outputPath);

// The six pieces under the names of the script's variables.
BatchPieces ToBatchPieces(const CommandPieces &pieces);
