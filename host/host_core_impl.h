// The host's callback object handed to devices with SetCallback: it records
// every call in an EventLog and keeps pushed images in an ImageBuffer.
//
// Contract: PrepareForAcquisition answers `prepareAnswer` (0 unless a test
// sets another code); when it answers 0 a new acquisition begins (empty
// buffer, counters reset). AcquisitionFinished ends it, which wakes a
// consumer waiting in images().Pop. PushImage copies the frame (0) or
// answers 22 when the buffer is full; ClearImageQueue empties the buffer.
// Every call returns 0 except PushImage's 22 and a refused preparation.
// Thread-safety: the module calls it from any of its threads while the host
// thread reads; all state lives in the two thread-safe members.
#pragma once

#include <atomic>

#include "host/event_log.h"
#include "host/image_buffer.h"
#include "module/host_core.h"

namespace qv::host {

class HostCoreImpl : public HostCore {
 public:
  explicit HostCoreImpl(ImageBufferLimits limits = {});

  int LogMessage(const MM::Device* caller, const char* text, bool debugOnly) override;
  int OnPropertyChanged(const MM::Device* caller, const char* name, const char* value) override;
  int OnExposureChanged(const MM::Device* caller, double exposureMs) override;
  int AcquisitionFinished(const MM::Device* caller, int status) override;
  int PrepareForAcquisition(const MM::Device* caller) override;
  int PushImage(const MM::Device* caller, const unsigned char* pixels, unsigned width,
                unsigned height, unsigned bytesPerPixel, const char* serializedMetadata,
                bool process) override;
  int ClearImageQueue(const MM::Device* caller) override;

  ImageBuffer& images() { return images_; }
  EventLog& events() { return events_; }

  // The answer of the next PrepareForAcquisition calls (tests use it).
  void SetPrepareAnswer(int code) { prepareAnswer_ = code; }

 private:
  void Record(EventKind kind, const MM::Device* caller, const char* name, const char* value,
              double number = 0.0, int status = 0, bool flag = false);

  ImageBuffer images_;
  EventLog events_;
  std::atomic<int> prepareAnswer_{0};
};

}  // namespace qv::host
