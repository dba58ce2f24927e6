#include "tests/sim/sim_fixture.h"

#include <dlfcn.h>

namespace simtest {
namespace {

template <typename T>
void Bind(void* handle, const char* name, T* fn) {
  *fn = reinterpret_cast<T>(dlsym(handle, name));
  ASSERT_NE(*fn, nullptr) << name;
}

SimApi Load() {
  SimApi api;
  api.handle = dlopen(QUORVEX_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  EXPECT_NE(api.handle, nullptr) << dlerror();
  if (api.handle == nullptr) return api;
  void* h = api.handle;
  Bind(h, "DllMmgrName", &api.mmgrName);
  Bind(h, "DllCompany", &api.company);
  Bind(h, "DllVersion", &api.version);
  Bind(h, "DllAppName", &api.appName);
  Bind(h, "DllEnumCamera", &api.enumCamera);
  Bind(h, "DllGigeEnable", &api.gigeEnable);
  Bind(h, "DllGetDefAE", &api.getDefAE);
  Bind(h, "DllOpen", &api.open);
  Bind(h, "QvSimConfigure", &api.configure);
  Bind(h, "QvSimReset", &api.reset);
  Bind(h, "QvSimCallLog", &api.callLog);
  Bind(h, "QvSimCallCount", &api.callCount);
  Bind(h, "QvSimClearCallLog", &api.clearCallLog);
  Bind(h, "QvSimSetFault", &api.setFault);
  Bind(h, "QvSimClearFaults", &api.clearFaults);
  Bind(h, "QvSimGetOption", &api.getOption);
  Bind(h, "QvSimSetOption", &api.setOption);
  Bind(h, "QvSimTriggerMode", &api.triggerMode);
  Bind(h, "QvSimOpenText", &api.openText);
  Bind(h, "QvSimOpenCount", &api.openCount);
  Bind(h, "QvSimCloseCount", &api.closeCount);
  Bind(h, "QvSimCallsAfterClose", &api.callsAfterClose);
  Bind(h, "QvSimFireEvent", &api.fireEvent);
  Bind(h, "QvSimExternalPulse", &api.externalPulse);
  Bind(h, "QvSimGigeEnabled", &api.gigeEnabled);
  Bind(h, "QvSimSetTemperature", &api.setTemperature);
  return api;
}

}  // namespace

const SimApi& Sim() {
  static const SimApi api = Load();
  return api;
}

std::string OpenTextFor(const std::string& id) { return "@" + id + ";ini=/tmp/.mmgr/Sim.ini"; }

void SimCameraTest::SetUp() {
  ASSERT_NE(Sim().handle, nullptr);
  Sim().reset();
  OpenModel("Quorvex M5 Cool");
}

void SimCameraTest::TearDown() { CloseCamera(); }

void SimCameraTest::OpenModel(const std::string& model) {
  CloseCamera();
  const std::string json =
      R"({"cameras": [{"displayName": "Test", "id": "t-1", "model": ")" + model + R"("}]})";
  ASSERT_EQ(Sim().configure(json.c_str()), 0);
  cam = Sim().open(OpenTextFor("t-1").c_str());
  ASSERT_NE(cam, nullptr);
}

void SimCameraTest::CloseCamera() {
  if (cam != nullptr) cam->Close();
  cam = nullptr;
}

void EventCounter::Callback(unsigned event, void* context) {
  auto* c = static_cast<EventCounter*>(context);
  if (event == 4) ++c->frames;
  else if (event == 1) ++c->exposure;
  else if (event == 6) ++c->whiteBalance;
  else ++c->other;
}

}  // namespace simtest
