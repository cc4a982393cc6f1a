#pragma once

#include "cli/CliContext.h"

#include <span>

// The subcommands of quillon-cli, in the order --help lists them.
std::span<const CliCommand> CliCommands();
