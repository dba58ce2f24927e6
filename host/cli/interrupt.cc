#include "host/cli/interrupt.h"

#include <atomic>

namespace qv::host::cli {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

void OnSignal(int) { interrupted.store(true); }

}  // namespace

InterruptGuard::InterruptGuard() {
  interrupted = false;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &oldInt_);
  sigaction(SIGTERM, &action, &oldTerm_);
}

InterruptGuard::~InterruptGuard() {
  sigaction(SIGINT, &oldInt_, nullptr);
  sigaction(SIGTERM, &oldTerm_, nullptr);
}

bool InterruptGuard::Requested() { return interrupted.load(); }

}  // namespace qv::host::cli
