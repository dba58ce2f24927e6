// mmgr-host's command line: one subcommand and its options, in any order.
//
//   mmgr-host [options] devices|props|snap|sequence|watch
//
// Contract: ParseOptions never exits or prints; it returns the options or a
// one-line error naming the offending argument. Values are checked for form
// (numbers, NAME=VALUE) and for what each command requires (snap --out).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace qv::host::cli {

enum class Command { None, Help, Devices, Props, Snap, Sequence, Watch };

enum class OverflowPolicy {
  Stop,   // a full image buffer ends the sequence (nothing is lost silently)
  Clear,  // the module empties the buffer and goes on; the loss is counted
};

struct Options {
  Command command = Command::None;
  std::string adapters;  // empty: next to the executable, else the build's
  std::string device;    // empty: the first camera the module offers
  std::vector<std::pair<std::string, std::string>> sets;  // in command-line order
  bool hasRegion = false;      // --region X,Y,WIDTH,HEIGHT, applied after the sets
  unsigned region[4] = {0, 0, 0, 0};
  bool json = false;
  bool verbose = false;       // device log messages to stderr
  std::string out;            // snap (required), sequence (optional)
  long count = 10;            // sequence
  double intervalMs = 0.0;    // sequence
  double seconds = 10.0;      // watch
  size_t bufferFrames = 0;    // 0: no frame limit
  size_t bufferMegabytes = 512;
  OverflowPolicy overflow = OverflowPolicy::Stop;
};

struct ParseResult {
  bool ok = false;
  Options options;
  std::string error;
};

ParseResult ParseOptions(const std::vector<std::string>& args);  // args without argv[0]

const char* UsageText();

}  // namespace qv::host::cli
