// Process-wide state of the simulated SDK: the configuration, the call log,
// the fault switches, and the cameras opened through DllOpen.
//
// Everything here is guarded by one mutex. Lock order: a camera's own lock may
// be held while the Simulator is called (for the log and the fault switches);
// while holding its lock the Simulator touches a camera only through its
// immutable id and its atomic closed flag.
// Cameras are never freed: a closed camera stays in the list so that late
// calls on it are answered (with kClosedHandle) and counted, not crashed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/mutex.h"
#include "module/sdk_camera.h"
#include "sim/call_text.h"
#include "sim/config.h"

namespace qvsim {

class SimCamera;

class Simulator {
 public:
  static Simulator& Instance();

  // Configuration: loaded from the environment on first use.
  Config CurrentConfig() EXCLUDES(mu_);
  bool Configure(const std::string& json, std::string* error) EXCLUDES(mu_);
  // Back to the environment's configuration; clears log, faults and counters.
  void Reset() EXCLUDES(mu_);

  // Entry points.
  unsigned Enumerate(SdkDeviceEntry* entries) EXCLUDES(mu_);
  int GigeEnable() EXCLUDES(mu_);
  int DefaultAutoExposure(int which, unsigned short* value) EXCLUDES(mu_);
  SdkCamera* Open(const char* openText) EXCLUDES(mu_);
  void SetAppName(const char* name) EXCLUDES(mu_);
  void CameraClosed(SimCamera* camera) EXCLUDES(mu_);
  // Stops every camera's stream thread (process exit).
  void StopAllStreams() EXCLUDES(mu_);

  // A camera by id; null or "" is the camera opened last that is still open
  // (or, when none is open, the one opened last).
  SimCamera* FindCamera(const char* id) EXCLUDES(mu_);

  // Call log: one line per call, tagged with the camera id ("" for entry
  // points). With QUORVEX_SIM_LOG set to a path, every line is also appended
  // to that file as "<camera id> <line>".
  // Allocation-free once the ring exists ("callLog": false turns it off).
  void Log(const std::string& cameraId, const CallText& line) EXCLUDES(mu_);
  std::string LogText(const char* cameraId) EXCLUDES(mu_);
  int CountCalls(const char* cameraId, const char* prefix) EXCLUDES(mu_);
  void ClearLog() EXCLUDES(mu_);

  // Fault switches. Key "Op" or "Op:selector" (see README). times < 0: forever.
  void SetFault(const std::string& cameraId, const std::string& key, int32_t status, int times)
      EXCLUDES(mu_);
  void ClearFaults() EXCLUDES(mu_);
  // True when a switch for (camera, op, selector) is on; *status gets its value.
  bool Fault(const std::string& cameraId, const char* op, const std::string& selector,
             int32_t* status) EXCLUDES(mu_);

  struct Counters {
    int opens = 0, closes = 0, failedOpens = 0, enumerations = 0, callsAfterClose = 0;
    std::string lastOpenText, appName;
    bool gigeEnabled = false;
  };
  Counters GetCounters() EXCLUDES(mu_);
  void CountCallAfterClose() EXCLUDES(mu_);

 private:
  Simulator() = default;
  void EnsureConfigured() REQUIRES(mu_);
  // The cameras DllEnumCamera reports now (configured, GigE, synthesized).
  std::vector<CameraConfig> EnumerableCameras() REQUIRES(mu_);

  struct FaultSwitch {
    int32_t status;
    int remaining;  // < 0: forever
  };
  // The log is a ring of fixed slots, allocated at the first logged call.
  struct LogSlot {
    char camera[48];
    CallText line;
  };
  static constexpr size_t kLogSlots = 65536;

  qv::Mutex mu_;
  bool configured_ GUARDED_BY(mu_) = false;
  Config config_ GUARDED_BY(mu_);
  std::unique_ptr<LogSlot[]> log_ GUARDED_BY(mu_);
  size_t logNext_ GUARDED_BY(mu_) = 0;   // slot the next line goes to
  size_t logCount_ GUARDED_BY(mu_) = 0;  // lines held, at most kLogSlots
  template <typename Visit>
  void ForEachLogLine(const char* cameraId, Visit visit) REQUIRES(mu_);
  std::map<std::pair<std::string, std::string>, FaultSwitch> faults_ GUARDED_BY(mu_);
  bool configFaults_ GUARDED_BY(mu_) = false;  // any camera of config_ has "faults"
  std::vector<SimCamera*> cameras_ GUARDED_BY(mu_);  // every camera ever opened, in order
  Counters counters_ GUARDED_BY(mu_);
  std::FILE* logFile_ GUARDED_BY(mu_) = nullptr;  // QUORVEX_SIM_LOG, opened on first use
  bool logFileChecked_ GUARDED_BY(mu_) = false;
};

}  // namespace qvsim
