// mmgr-host: lists the cameras of the Quorvex module, shows and sets their
// properties, snaps images and records sequences to TIFF. See
// docs/mmgr-host.md.
#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/cli/commands.h"
#include "host/cli/json_output.h"
#include "host/cli/options.h"

namespace {

using namespace qv::host::cli;

int Dispatch(const Options& options, CliError* error) {
  switch (options.command) {
    case Command::Devices: return RunDevices(options, error);
    case Command::Props: return RunProps(options, error);
    case Command::Snap: return RunSnap(options, error);
    case Command::Sequence: return RunSequence(options, error);
    case Command::Watch: return RunWatch(options, error);
    case Command::Help:
    case Command::None: break;
  }
  std::printf("%s", UsageText());
  return kExitOk;
}

int Report(const CliError& error, bool json) {
  std::fprintf(stderr, "mmgr-host: %s\n", error.message.c_str());
  if (json) PrintJson({{"error", error.message}, {"exitCode", error.code}});
  return error.code;
}

}  // namespace

int main(int argc, char** argv) {
  const ParseResult parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.ok) {
    std::fprintf(stderr, "mmgr-host: %s\n%s", parsed.error.c_str(),
                 "run \"mmgr-host help\" for the commands and options\n");
    return kExitUsage;
  }
  CliError error;
  const int code = Dispatch(parsed.options, &error);
  if (code != kExitOk) return Report(error, parsed.options.json);
  return kExitOk;
}
