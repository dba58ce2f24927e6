// The module-wide list of devices offered to the host, in registration order.
// Filled once by InitializeModuleData; never shrinks.
//
// Thread safety: written only inside InitializeModuleData, read afterwards.
#pragma once

#include <string>
#include <vector>

struct DeviceEntry {
  std::string name;
  int type = 0;
  std::string description;
};

// Appends an entry unless the name is null or already present (the first
// registration wins). A null description is stored as "(Null description)".
void RegisterDevice(const char* name, int type, const char* description);

const std::vector<DeviceEntry>& RegisteredDevices();

// The first entry with exactly this name, or null.
const DeviceEntry* FindRegisteredDevice(const char* name);
