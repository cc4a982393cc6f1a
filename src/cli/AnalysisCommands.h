#pragma once

#include "cli/CliContext.h"

// quillon-cli info FILE: the file information report of FILE.
int RunInfoCommand(CliContext &context);
// quillon-cli tools: the report on the FFmpeg program and MediaInfo library.
int RunToolsCommand(CliContext &context);
