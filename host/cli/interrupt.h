// Ctrl-C for long commands: while an InterruptGuard lives, SIGINT (and
// SIGTERM) only set a flag, which the command's main loop polls to stop the
// acquisition cleanly. The previous handlers come back on destruction.
#pragma once

#include <signal.h>

namespace qv::host::cli {

class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  static bool Requested();

 private:
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
};

}  // namespace qv::host::cli
