// Loads libQuorvex.so with dlopen and binds its entry points and control API.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "module/sdk_entry_points.h"
#include "sim/sim_control.h"

namespace simtest {

struct SimApi {
  void* handle = nullptr;
  DllMmgrNameFn mmgrName = nullptr;
  DllCompanyFn company = nullptr;
  DllVersionFn version = nullptr;
  DllAppNameFn appName = nullptr;
  DllEnumCameraFn enumCamera = nullptr;
  DllGigeEnableFn gigeEnable = nullptr;
  DllGetDefAEFn getDefAE = nullptr;
  DllOpenFn open = nullptr;
  decltype(&QvSimConfigure) configure = nullptr;
  decltype(&QvSimReset) reset = nullptr;
  decltype(&QvSimCallLog) callLog = nullptr;
  decltype(&QvSimCallCount) callCount = nullptr;
  decltype(&QvSimClearCallLog) clearCallLog = nullptr;
  decltype(&QvSimSetFault) setFault = nullptr;
  decltype(&QvSimClearFaults) clearFaults = nullptr;
  decltype(&QvSimGetOption) getOption = nullptr;
  decltype(&QvSimSetOption) setOption = nullptr;
  decltype(&QvSimTriggerMode) triggerMode = nullptr;
  decltype(&QvSimOpenText) openText = nullptr;
  decltype(&QvSimOpenCount) openCount = nullptr;
  decltype(&QvSimCloseCount) closeCount = nullptr;
  decltype(&QvSimCallsAfterClose) callsAfterClose = nullptr;
  decltype(&QvSimFireEvent) fireEvent = nullptr;
  decltype(&QvSimExternalPulse) externalPulse = nullptr;
  decltype(&QvSimGigeEnabled) gigeEnabled = nullptr;
  decltype(&QvSimSetTemperature) setTemperature = nullptr;
};

// The library under test, loaded once per process.
const SimApi& Sim();

// Open text for a camera id, as the module builds it.
std::string OpenTextFor(const std::string& id);

// Fixture: resets the simulator, applies a configuration, opens the first
// enumerated camera (model chosen by the configuration) and closes it after.
class SimCameraTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Reconfigures with one camera of the given model and opens it.
  void OpenModel(const std::string& model);
  void CloseCamera();

  SdkCamera* cam = nullptr;
};

// Events counted by a test callback.
struct EventCounter {
  std::atomic<int> frames{0}, exposure{0}, whiteBalance{0}, other{0};
  static void Callback(unsigned event, void* context);
};

}  // namespace simtest
