// The sequence progress line on a terminal: frames, frames per second and
// MB/s, redrawn in place at most ten times a second. Silent unless stderr is
// a terminal, so scripts and pipes see only the summary.
#pragma once

#include <chrono>
#include <cstdint>

namespace qv::host::cli {

class ProgressBar {
 public:
  ProgressBar(long total, bool enabled);
  void Update(uint64_t frames, double bytes);
  void Finish(uint64_t frames, double bytes);  // final state, then ends the line

 private:
  void Draw(uint64_t frames, double bytes, double seconds);

  const long total_;
  const bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
};

// True when stderr is a terminal.
bool StderrIsTerminal();

}  // namespace qv::host::cli
