// The nine functions the module exports under plain C names. They are the
// only symbols visible outside the module.
#pragma once

#include "module/mm_device.h"

#define QUORVEX_EXPORT __attribute__((visibility("default")))

extern "C" {
QUORVEX_EXPORT void InitializeModuleData();
QUORVEX_EXPORT unsigned GetNumberOfDevices();
QUORVEX_EXPORT bool GetDeviceName(unsigned index, char* buffer, unsigned bufferLength);
QUORVEX_EXPORT bool GetDeviceType(const char* name, int* type);
QUORVEX_EXPORT bool GetDeviceDescription(const char* name, char* buffer, unsigned bufferLength);
QUORVEX_EXPORT MM::Device* CreateDevice(const char* name);
QUORVEX_EXPORT void DeleteDevice(MM::Device* device);
QUORVEX_EXPORT int GetModuleVersion();
QUORVEX_EXPORT int GetDeviceInterfaceVersion();
}

// Function-pointer types of the exports, for loaders.
extern "C" {
using InitializeModuleDataFn = void (*)();
using GetNumberOfDevicesFn = unsigned (*)();
using GetDeviceNameFn = bool (*)(unsigned, char*, unsigned);
using GetDeviceTypeFn = bool (*)(const char*, int*);
using GetDeviceDescriptionFn = bool (*)(const char*, char*, unsigned);
using CreateDeviceFn = MM::Device* (*)(const char*);
using DeleteDeviceFn = void (*)(MM::Device*);
using GetModuleVersionFn = int (*)();
using GetDeviceInterfaceVersionFn = int (*)();
}
