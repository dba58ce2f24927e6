// mmgr-host's subcommands. Each prints its result on stdout (a text table or
// summary, or one JSON document with --json) and returns an exit code; on
// failure it fills *error with a one-line message and returns its code.
#pragma once

#include "host/cli/exit_codes.h"
#include "host/cli/options.h"

namespace qv::host::cli {

int RunDevices(const Options& options, CliError* error);
int RunProps(const Options& options, CliError* error);
int RunSnap(const Options& options, CliError* error);
int RunSequence(const Options& options, CliError* error);
int RunWatch(const Options& options, CliError* error);

}  // namespace qv::host::cli
