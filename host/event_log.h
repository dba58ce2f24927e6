// The ordered record of what devices told the host: log messages,
// property-change and exposure-change notifications, and the acquisition
// calls. Every event gets an index, increasing by one in arrival order, so a
// reader can follow the log with WaitSince(next index).
//
// Contract: keeps the newest `capacity` events (older ones are forgotten, the
// indices stay). Thread-safety: Append from any thread (the module calls from
// its sequence thread, status monitor and SDK event thread); readers wait
// with a timeout on a condition variable.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "framework/mutex.h"

namespace qv::host {

enum class EventKind {
  Log,                    // name: empty; value: the text; flag: debug-only
  PropertyChanged,        // name, value
  ExposureChanged,        // number: milliseconds
  PrepareForAcquisition,
  AcquisitionFinished,    // status
  ClearImageQueue,
};

const char* EventKindName(EventKind kind);

struct HostEvent {
  uint64_t index = 0;
  EventKind kind = EventKind::Log;
  const void* device = nullptr;  // the calling device, for telling devices apart
  std::string name;
  std::string value;
  double number = 0.0;
  int status = 0;
  bool flag = false;
  std::chrono::steady_clock::time_point when;
};

class EventLog {
 public:
  explicit EventLog(size_t capacity = 100000);

  // Stamps index and time, then stores the event.
  void Append(HostEvent event) EXCLUDES(mu_);

  // The stored events with index >= from, oldest first.
  std::vector<HostEvent> Since(uint64_t from) const EXCLUDES(mu_);
  // As Since, but waits up to `timeout` for at least one such event.
  std::vector<HostEvent> WaitSince(uint64_t from, std::chrono::milliseconds timeout) EXCLUDES(mu_);
  // The index the next event will get.
  uint64_t NextIndex() const EXCLUDES(mu_);

 private:
  std::vector<HostEvent> CopySince(uint64_t from) const REQUIRES(mu_);

  const size_t capacity_;
  mutable qv::Mutex mu_;
  qv::CondVar appended_;
  std::deque<HostEvent> events_ GUARDED_BY(mu_);
  uint64_t nextIndex_ GUARDED_BY(mu_) = 0;
};

}  // namespace qv::host
