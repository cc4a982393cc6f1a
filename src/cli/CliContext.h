#pragma once

#include "app/AppParams.h"

#include <QString>
#include <QStringList>

// What every subcommand receives: its own arguments and the program's
// parameters, with the tool paths already resolved (quillon.ini's tool keys
// and the --ffmpeg / --mediainfo options applied).
struct CliContext
{
    QString command;
    QStringList args;
    TAppParams params;
};

using CliCommandFunction = int (*)(CliContext &context);

struct CliCommand
{
    const char *name;
    const char *usage; // one line: arguments after the command name
    const char *summary; // one line
    CliCommandFunction run;
};

// Exit statuses shared by the subcommands.
enum CliExitStatus {
    ExitOk = 0,
    ExitFailed = 1, // the command ran, something it worked on failed
    ExitUsage = 2, // bad arguments, invalid values, could not start
    ExitInterrupted = 130,
};

// UTF-8 to standard output (results only) and standard error (messages).
void PrintOut(const QString &text);
void PrintErr(const QString &text);
