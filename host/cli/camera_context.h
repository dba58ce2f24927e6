// What every camera command of mmgr-host needs: the module loaded from the
// adapter directory, the host core, the chosen camera initialised in a
// DeviceSession, and the --set list applied in order.
//
// Contract: Open() returns null with a CliError (message and exit code) on
// any failure, after undoing what it had done. Destruction shuts the camera
// down and deletes it before the host core and the module go (member order).
// Thread-safety: one host thread; the log echo runs on its own thread.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "host/cli/exit_codes.h"
#include "host/cli/options.h"
#include "host/device_session.h"
#include "host/host_core_impl.h"
#include "host/module_loader.h"

namespace qv::host::cli {

// --adapters, else <exe>/../adapters when the module is there, else the
// adapter directory of the build mmgr-host comes from.
std::string ResolveAdapterDir(const Options& options);

std::unique_ptr<ModuleLoader> LoadModule(const Options& options, CliError* error);

// Prints the device's log messages on stderr while it lives.
class LogEcho {
 public:
  explicit LogEcho(EventLog& log);
  ~LogEcho();

 private:
  void Follow();
  EventLog& log_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class CameraContext {
 public:
  static std::unique_ptr<CameraContext> Open(const Options& options, CliError* error);

  MM::Camera& camera() const { return *camera_; }
  HostCoreImpl& core() { return *core_; }
  DeviceSession& session() { return *session_; }
  const std::string& deviceName() const { return session_->name(); }
  // The event index after Initialize, before the --set writes.
  uint64_t eventsAfterInit() const { return eventsAfterInit_; }
  std::chrono::steady_clock::time_point initializedAt() const { return initializedAt_; }

 private:
  CameraContext() = default;
  bool ApplySets(const Options& options, CliError* error);

  std::unique_ptr<ModuleLoader> module_;
  std::unique_ptr<HostCoreImpl> core_;
  std::unique_ptr<LogEcho> echo_;
  std::unique_ptr<DeviceSession> session_;
  MM::Camera* camera_ = nullptr;
  uint64_t eventsAfterInit_ = 0;
  std::chrono::steady_clock::time_point initializedAt_;
};

// Picks the device: --device when the module offers it, else the first
// camera; "" with an error otherwise.
std::string ChooseDevice(const std::vector<OfferedDevice>& offered, const std::string& wanted,
                         CliError* error);

}  // namespace qv::host::cli
