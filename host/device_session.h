// One device of a loaded module, driven through its life the way the host
// application does: CreateDevice, SetCallback, SetLabel, Initialize ... and
// on destruction StopSequence (cameras), Shutdown, SetCallback(null),
// DeleteDevice. RAII: whatever path leaves the scope, nothing the device
// started is left running.
//
// Contract: Open() returns null with a one-line error when the device cannot
// be created or initialised (the device is then shut down and deleted
// already). A failed Initialize reports its code and the device's ErrorText.
// The loader and the host core must outlive the session.
// Thread-safety: use a session from one host thread; the device calls the
// host core from its own threads.
#pragma once

#include <memory>
#include <string>

#include "host/module_loader.h"
#include "module/host_core.h"
#include "module/mm_device.h"

namespace qv::host {

struct SessionOptions {
  std::string label;        // defaults to the device name
  std::string description;  // handed to SetDescription; may be empty
};

class DeviceSession {
 public:
  static std::unique_ptr<DeviceSession> Open(const ModuleLoader& module, const std::string& name,
                                             HostCore* core, const SessionOptions& options,
                                             std::string* error);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  MM::Device* device() const { return device_; }
  // The device as a camera; null when its DeviceType is not a camera's.
  MM::Camera* camera() const;
  const std::string& name() const { return name_; }

  // The device's ErrorText for a code ("error <code>" when it has none).
  std::string ErrorText(int code) const;

 private:
  DeviceSession(const ModuleLoader& module, MM::Device* device, std::string name)
      : module_(module), device_(device), name_(std::move(name)) {}

  const ModuleLoader& module_;
  MM::Device* device_;
  std::string name_;
  bool initialized_ = false;  // Initialize was called (whatever it answered)
};

}  // namespace qv::host
