#include "module/device_registry.h"

#include <cstring>

namespace {

// Module-wide; lives until process exit. No lock: written only inside
// InitializeModuleData, which the host finishes before it lists devices.
std::vector<DeviceEntry>& Registry() {
  static std::vector<DeviceEntry> registry;
  return registry;
}

}  // namespace

void RegisterDevice(const char* name, int type, const char* description) {
  if (name == nullptr || FindRegisteredDevice(name) != nullptr) return;
  Registry().push_back(
      DeviceEntry{name, type, description != nullptr ? description : "(Null description)"});
}

const std::vector<DeviceEntry>& RegisteredDevices() { return Registry(); }

const DeviceEntry* FindRegisteredDevice(const char* name) {
  if (name == nullptr) return nullptr;
  for (const DeviceEntry& entry : Registry())
    if (entry.name == name) return &entry;
  return nullptr;
}
