#pragma once

// The headless front end: parses the command line, runs one subcommand and
// returns the process exit status. Results go to standard output, messages
// to standard error.
int RunCli(int argc, char *argv[]);
