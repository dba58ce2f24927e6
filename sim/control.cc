// The QvSim* control functions: thin C wrappers over Simulator and SimCamera.
#include <algorithm>
#include <cstring>
#include <string>

#include "sim/sim_camera.h"
#include "sim/sim_control.h"
#include "sim/simulator.h"
#include "sim/status.h"

#define QV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using qvsim::SimCamera;
using qvsim::Simulator;

SimCamera* Find(const char* camera) { return Simulator::Instance().FindCamera(camera); }

int CopyOut(const std::string& text, char* buffer, int size) {
  if (buffer != nullptr && size > 0) {
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text.size());
}

int Status(int32_t sdkStatus) { return sdkStatus < 0 ? -1 : 0; }

}  // namespace

QV_EXPORT int QvSimConfigure(const char* json) {
  if (json == nullptr) return -1;
  std::string error;
  return Simulator::Instance().Configure(json, &error) ? 0 : -1;
}

QV_EXPORT void QvSimReset(void) { Simulator::Instance().Reset(); }

QV_EXPORT int QvSimCallLog(const char* camera, char* buffer, int size) {
  return CopyOut(Simulator::Instance().LogText(camera), buffer, size);
}

QV_EXPORT int QvSimCallCount(const char* camera, const char* prefix) {
  return Simulator::Instance().CountCalls(camera, prefix);
}

QV_EXPORT void QvSimClearCallLog(void) { Simulator::Instance().ClearLog(); }

QV_EXPORT int QvSimSetFault(const char* camera, const char* key, int status, int times) {
  if (key == nullptr || *key == '\0') return -1;
  Simulator::Instance().SetFault(camera ? camera : "", key, status, times);
  return 0;
}

QV_EXPORT void QvSimClearFaults(void) { Simulator::Instance().ClearFaults(); }

QV_EXPORT int QvSimGetOption(const char* camera, unsigned option, int* value) {
  SimCamera* c = Find(camera);
  return c && value ? Status(c->PeekOption(option, value)) : -1;
}

QV_EXPORT int QvSimSetOption(const char* camera, unsigned option, int value) {
  SimCamera* c = Find(camera);
  return c ? Status(c->PokeOption(option, value)) : -1;
}

QV_EXPORT int QvSimGetNamedValue(const char* camera, const char* name, int* value) {
  SimCamera* c = Find(camera);
  return c && value ? Status(c->PeekNamedValue(name, value)) : -1;
}

QV_EXPORT int QvSimSetNamedValue(const char* camera, const char* name, int value) {
  SimCamera* c = Find(camera);
  return c ? Status(c->PokeNamedValue(name, value)) : -1;
}

QV_EXPORT int QvSimGetIo(const char* camera, unsigned line, unsigned request, int* value) {
  SimCamera* c = Find(camera);
  return c && value ? Status(c->PeekIo(line, request, value)) : -1;
}

QV_EXPORT int QvSimSetIo(const char* camera, unsigned line, unsigned request, int value) {
  SimCamera* c = Find(camera);
  return c ? Status(c->PokeIo(line, request, value)) : -1;
}

QV_EXPORT int QvSimGetState(const char* camera, const char* name, int* value) {
  SimCamera* c = Find(camera);
  return c && name && value ? Status(c->PeekState(name, value)) : -1;
}

QV_EXPORT void* QvSimCamera(const char* camera) {
  return static_cast<SdkCamera*>(Find(camera));
}

QV_EXPORT int QvSimTriggerMode(const char* camera) {
  SimCamera* c = Find(camera);
  return c ? c->TriggerMode() : -1;
}

QV_EXPORT int QvSimIsStreaming(const char* camera) {
  SimCamera* c = Find(camera);
  return c ? (c->Streaming() ? 1 : 0) : -1;
}

QV_EXPORT int QvSimFramesProduced(const char* camera) {
  SimCamera* c = Find(camera);
  return c ? static_cast<int>(c->FramesProduced()) : -1;
}

QV_EXPORT int QvSimReadyFrames(const char* camera) {
  SimCamera* c = Find(camera);
  return c ? static_cast<int>(c->ReadyFrames()) : -1;
}

QV_EXPORT int QvSimSetTemperature(const char* camera, int tenths) {
  SimCamera* c = Find(camera);
  if (c == nullptr) return -1;
  c->SetTemperature(tenths);
  return 0;
}

QV_EXPORT int QvSimOpenText(const char* camera, char* buffer, int size) {
  SimCamera* c = Find(camera);
  if (c != nullptr) return CopyOut(c->OpenText(), buffer, size);
  if (camera != nullptr && *camera != '\0') return -1;
  return CopyOut(Simulator::Instance().GetCounters().lastOpenText, buffer, size);
}

QV_EXPORT int QvSimOpenCount(void) { return Simulator::Instance().GetCounters().opens; }
QV_EXPORT int QvSimCloseCount(void) { return Simulator::Instance().GetCounters().closes; }
QV_EXPORT int QvSimFailedOpenCount(void) { return Simulator::Instance().GetCounters().failedOpens; }
QV_EXPORT int QvSimCallsAfterClose(void) { return Simulator::Instance().GetCounters().callsAfterClose; }
QV_EXPORT int QvSimEnumCount(void) { return Simulator::Instance().GetCounters().enumerations; }
QV_EXPORT int QvSimGigeEnabled(void) { return Simulator::Instance().GetCounters().gigeEnabled ? 1 : 0; }

QV_EXPORT int QvSimAppName(char* buffer, int size) {
  return CopyOut(Simulator::Instance().GetCounters().appName, buffer, size);
}

QV_EXPORT int QvSimFireEvent(const char* camera, unsigned event) {
  SimCamera* c = Find(camera);
  return c ? Status(c->FireEvent(event)) : -1;
}

QV_EXPORT int QvSimExternalPulse(const char* camera, unsigned count) {
  SimCamera* c = Find(camera);
  return c ? c->ExternalPulse(count) : -1;
}
