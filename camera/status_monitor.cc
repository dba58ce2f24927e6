// The status monitor: once a second it refreshes the properties that change
// by themselves and reports them to the host. RefreshAndNotify is also the
// camera's general way of telling the host about a value that changed.
#include <cerrno>
#include <ctime>

#include <boost/format.hpp>

#include "camera/camera.h"

namespace {

// One second, resumed for the remaining time when a signal interrupts it.
void SleepOneSecond() {
  struct timespec remaining = {1, 0};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

}  // namespace

void Camera::RefreshAndNotify(const char* name) {
  RefreshProperty(name);
  RecordPropertyName(name);
  std::string text;
  if (GetPropertyText(name, text) != DeviceError::Ok) return;
  char buffer[HostStringLimit];
  CopyToHostBuffer(buffer, text);
  if (HostCore* host = GetCoreCallback()) host->OnPropertyChanged(this, name, buffer);
}

// The stop request is looked at before each sleep only: a stop that arrives
// during the sleep lets one more pass run.
void Camera::StatusMonitorLoop() {
  while (!statusStop.load()) {
    SleepOneSecond();
    if (ModelHas(SdkCapability::TemperatureSensor)) RefreshAndNotify("Temperature");
    if (ModelHas(SdkCapability::Cooler)) RefreshAndNotify("TECPower");
    for (const char* name : {"FFCStatus", "DFCStatus", "FPNCStatus", "SnapStat", "FrameStat"}) {
      RefreshAndNotify(name);
    }
  }
}

std::string Camera::FrameStatisticsText() {
  unsigned frames = 0, milliseconds = 0, total = 0;
  if (HasSdk()) sdk->GetFrameStatistics(&frames, &milliseconds, &total, nullptr, nullptr);
  if (milliseconds != 0) {
    return (boost::format("%.1f; %u") % (1000.0 * frames / milliseconds) % total).str();
  }
  return (boost::format("%u") % total).str();
}
