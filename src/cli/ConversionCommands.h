#pragma once

#include "cli/CliContext.h"

// quillon-cli convert [OPTIONS] FILE... : converts the files as the Convert
// command does. While it runs, standard error shows a status line a few
// times a second; at the end standard output has one line per file: the
// status, a tab, the input, a tab, the output. Exit status 0 when every file
// ended well or was skipped, 1 when one failed, 2 when the run ended early,
// 130 when interrupted (SIGINT is the Abort command).
int RunConvertCommand(CliContext &context);
extern const char ConvertCommandUsage[];
extern const char ConvertCommandSummary[];

// quillon-cli script -o OUT.sh|OUT.bat [OPTIONS] FILE... : writes the batch
// script of the same conversion (a POSIX shell script unless the name ends
// in ".bat").
int RunScriptCommand(CliContext &context);
extern const char ScriptCommandUsage[];
extern const char ScriptCommandSummary[];
