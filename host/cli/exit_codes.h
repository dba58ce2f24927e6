// mmgr-host's exit codes and the error that carries one up to main.
#pragma once

#include <string>

namespace qv::host::cli {

enum ExitCode {
  kExitOk = 0,
  kExitFailure = 1,         // a device operation or the output file failed
  kExitUsage = 2,           // the command line is wrong
  kExitModule = 3,          // module not found or not loadable
  kExitNoCamera = 4,        // no camera offered, or the named device is unknown
  kExitProperty = 5,        // unknown property, refused value, read-only property
};

// A command's failure: a one-line message naming the cause, and its code.
struct CliError {
  int code = kExitFailure;
  std::string message;
};

}  // namespace qv::host::cli
