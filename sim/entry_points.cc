// The C entry points of the simulated SDK library. The test variants leave
// one out each (QUORVEX_SIM_NO_*), to exercise partial binding.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "module/sdk_entry_points.h"
#include "sim/simulator.h"

#define QV_EXPORT extern "C" __attribute__((visibility("default")))

using qvsim::Call;
using qvsim::Simulator;

#ifndef QUORVEX_SIM_NO_MMGRNAME
QV_EXPORT const char* DllMmgrName() {
  Simulator::Instance().Log("", Call("DllMmgrName"));
  return "Quorvex";
}
#endif

QV_EXPORT const char* DllCompany() {
  Simulator::Instance().Log("", Call("DllCompany"));
  return "Quorvex Imaging";
}

QV_EXPORT const char* DllVersion() {
  Simulator::Instance().Log("", Call("DllVersion"));
  return "4.18.26041.20261024-sim";
}

QV_EXPORT int DllAppName(const char* applicationName) {
  Simulator::Instance().Log("", Call("DllAppName", applicationName));
  Simulator::Instance().SetAppName(applicationName);
  return 0;
}

QV_EXPORT unsigned DllEnumCamera(SdkDeviceEntry entries[MaxCameras]) {
  Simulator::Instance().Log("", Call("DllEnumCamera"));
  return Simulator::Instance().Enumerate(entries);
}

#ifndef QUORVEX_SIM_NO_GIGE
QV_EXPORT int DllGigeEnable(void* callback, void* context) {
  Simulator::Instance().Log("", Call("DllGigeEnable", callback ? 1 : 0, context ? 1 : 0));
  return Simulator::Instance().GigeEnable();
}
#endif

#ifndef QUORVEX_SIM_NO_DEFAE
QV_EXPORT int DllGetDefAE(int which, unsigned short* value) {
  Simulator& sim = Simulator::Instance();
  sim.Log("", Call("DllGetDefAE", which));
  int32_t status = 0;
  if (sim.Fault("", "DllGetDefAE", "", &status)) return status;
  return sim.DefaultAutoExposure(which, value);
}
#endif

QV_EXPORT int DlllogV(int level, const char* format, va_list args) {
  char text[512] = "";
  if (format != nullptr) std::vsnprintf(text, sizeof text, format, args);
  Simulator::Instance().Log("", Call("DlllogV", level, text));
  return 0;
}

#ifndef QUORVEX_SIM_NO_OPEN
QV_EXPORT SdkCamera* DllOpen(const char* openText) {
  Simulator& sim = Simulator::Instance();
  sim.Log("", Call("DllOpen", openText));
  int32_t status = 0;
  if (sim.Fault("", "DllOpen", "", &status)) return nullptr;
  return sim.Open(openText);
}
#endif
