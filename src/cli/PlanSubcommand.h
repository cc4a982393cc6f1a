#pragma once

#include "cli/CliContext.h"

// quillon-cli plan [OPTIONS] FILE... : names each file's output as a run
// would and prints its expected size, then the total and the free space of
// every output folder, one tab-separated line each:
//   file<TAB>BYTES<TAB>SIZE<TAB>OUTPUT   ("?" for a size that cannot be told)
//   total<TAB>BYTES<TAB>SIZE
//   free<TAB>BYTES<TAB>SIZE<TAB>FOLDER   ("?" where it cannot be told)
// Status 1 when the outputs do not fit into the free space of their file
// systems (or a file cannot be analysed), 2 for an invalid value.
int RunPlanSubcommand(CliContext &context);

extern const char PlanSubcommandUsage[];
extern const char PlanSubcommandSummary[];
