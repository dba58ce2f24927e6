// C entry points of the vendor SDK library, looked up by name with dlsym.
#pragma once

#include <cstdarg>

#include "module/sdk_camera.h"
#include "module/sdk_records.h"

extern "C" {
using DllMmgrNameFn = const char* (*)();
using DllCompanyFn = const char* (*)();
using DllVersionFn = const char* (*)();
using DllAppNameFn = int (*)(const char* applicationName);
using DllEnumCameraFn = unsigned (*)(SdkDeviceEntry entries[MaxCameras]);
using DllGigeEnableFn = int (*)(void* callback, void* context);
using DllGetDefAEFn = int (*)(int which, unsigned short* value);
using DlllogVFn = int (*)(int level, const char* format, va_list args);
using DllOpenFn = SdkCamera* (*)(const char* openText);
}
