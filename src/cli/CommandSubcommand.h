#pragma once

#include "cli/CliContext.h"

// quillon-cli command [OPTIONS] FILE... : walks the files as a batch-only
// run does and prints, for every file that is not skipped, the FFmpeg
// parameter text of each pass (one line per pass, nothing else on standard
// output). With --preview FILE it prints the command-line preview of that
// file instead. An invalid typed value: its message on standard error,
// status 2.
int RunCommandSubcommand(CliContext &context);

extern const char CommandSubcommandUsage[];
extern const char CommandSubcommandSummary[];
