// The nine C exports. Nothing thrown inside the module crosses them.
#include "module/exports.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "module/device_factory.h"
#include "module/device_registry.h"
#include "module/sdk_library.h"

namespace {

constexpr int ModuleVersion = 10;
constexpr int DeviceInterfaceVersion = 73;

// Pins the module while it is being loaded, before any export runs.
struct ModulePin {
  ModulePin() { PinModule(); }
} modulePin;

}  // namespace

void InitializeModuleData() {
  if (BoundSdkLibrary().handle == nullptr) BindSdkLibrary();
}

unsigned GetNumberOfDevices() { return static_cast<unsigned>(RegisteredDevices().size()); }

bool GetDeviceName(unsigned index, char* buffer, unsigned bufferLength) {
  const std::vector<DeviceEntry>& devices = RegisteredDevices();
  if (buffer == nullptr || index >= devices.size()) return false;
  const std::string& name = devices[index].name;
  // Strict: the terminator must fit too. A name is never handed over cut.
  if (name.size() >= bufferLength) return false;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return true;
}

bool GetDeviceType(const char* name, int* type) {
  if (name == nullptr || type == nullptr) return false;
  const DeviceEntry* entry = FindRegisteredDevice(name);
  *type = entry != nullptr ? entry->type : 0;
  return entry != nullptr;
}

bool GetDeviceDescription(const char* name, char* buffer, unsigned bufferLength) {
  if (name == nullptr || buffer == nullptr || bufferLength == 0) return false;
  const DeviceEntry* entry = FindRegisteredDevice(name);
  if (entry == nullptr) return false;
  // Cut to fit; a cut description still counts as success.
  size_t length = std::min<size_t>(entry->description.size(), bufferLength - 1);
  std::memcpy(buffer, entry->description.data(), length);
  buffer[length] = '\0';
  return true;
}

MM::Device* CreateDevice(const char* name) {
  if (name == nullptr) return nullptr;
  try {
    return NewCameraDevice(name);
  } catch (...) {
    return nullptr;
  }
}

void DeleteDevice(MM::Device* device) { delete device; }

int GetModuleVersion() { return ModuleVersion; }

int GetDeviceInterfaceVersion() { return DeviceInterfaceVersion; }
