#include "host/event_log.h"

namespace qv::host {

const char* EventKindName(EventKind kind) {
  switch (kind) {
    case EventKind::Log: return "log";
    case EventKind::PropertyChanged: return "property";
    case EventKind::ExposureChanged: return "exposure";
    case EventKind::PrepareForAcquisition: return "prepare";
    case EventKind::AcquisitionFinished: return "finished";
    case EventKind::ClearImageQueue: return "clear";
  }
  return "unknown";
}

EventLog::EventLog(size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

void EventLog::Append(HostEvent event) {
  event.when = std::chrono::steady_clock::now();
  qv::MutexLock lock(mu_);
  event.index = nextIndex_++;
  events_.push_back(std::move(event));
  if (events_.size() > capacity_) events_.pop_front();
  appended_.NotifyAll();
}

std::vector<HostEvent> EventLog::CopySince(uint64_t from) const {
  std::vector<HostEvent> copy;
  for (const HostEvent& event : events_) {
    if (event.index >= from) copy.push_back(event);
  }
  return copy;
}

std::vector<HostEvent> EventLog::Since(uint64_t from) const {
  qv::MutexLock lock(mu_);
  return CopySince(from);
}

std::vector<HostEvent> EventLog::WaitSince(uint64_t from, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  qv::MutexLock lock(mu_);
  appended_.WaitUntil(mu_, deadline, [this, from]() REQUIRES(mu_) { return nextIndex_ > from; });
  return CopySince(from);
}

uint64_t EventLog::NextIndex() const {
  qv::MutexLock lock(mu_);
  return nextIndex_;
}

}  // namespace qv::host
