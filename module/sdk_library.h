// Binding of the vendor SDK library.
//
// The module looks for lib<Name>.so next to itself (Name is what follows
// "libmmgr_dal_" in its own file name, compared ignoring case), loads it and
// binds its entry points by name. All of it is module-wide state that lives
// until process exit; the library is never closed.
//
// Thread safety: BindSdkLibrary runs on the host's thread inside
// InitializeModuleData; the fields are written only there and read afterwards.
#pragma once

#include <cstddef>
#include <string>

#include "module/sdk_entry_points.h"

struct SdkLibrary {
  void* handle = nullptr;  // null until the library is loaded (and after a failed load)
  DllEnumCameraFn enumCamera = nullptr;
  DllGetDefAEFn getDefAE = nullptr;
  DlllogVFn logV = nullptr;
  const char* adapterName = nullptr;  // DllMmgrName(); names the fallback device and every Camera
  const char* vendorName = nullptr;   // DllCompany(); every device's description
  const char* sdkVersion = nullptr;   // DllVersion(); the "Version(Sdk)" property
};

// The module-wide binding state.
const SdkLibrary& BoundSdkLibrary();

// Finds, loads and binds the SDK library and registers its cameras (or the
// fallback device). Silent on every failure; run while the handle is null.
void BindSdkLibrary();

// Searches one directory for a regular file or symbolic link whose name equals
// `wanted` ignoring ASCII case. On success stores directory + "/" + entry name.
// Fails, without storing anything, when that path would not fit the
// PathBufferSize-byte path buffers of the binding.
bool FindLibraryFile(const std::string& directory, const std::string& wanted, std::string* path);

// Size of every path buffer of the binding, terminator included.
constexpr size_t PathBufferSize = 4096;

// Runs DllEnumCamera into `entries` and returns how many records it filled,
// never more than MaxCameras (a larger count from the SDK is capped), and 0
// when the library does not export DllEnumCamera.
unsigned EnumerateSdkCameras(SdkDeviceEntry entries[MaxCameras]);

// Makes the module file that contains this code impossible to unload
// (dlopen with RTLD_NODELETE, handle discarded). Run at static initialisation
// of the shared module, before any export is called.
void PinModule();

// dlsym in the loaded SDK library; null when nothing is loaded or the symbol
// is missing. Camera::Initialize looks up DllOpen through it every time.
void* SdkSymbol(const char* name);

// For focused tests that link the module's code directly: replaces the bound
// state and the symbol lookup (lookup null restores dlsym). Creates the open
// camera table when it does not exist yet.
void SetSdkLibraryForTesting(const SdkLibrary& library, void* (*lookup)(const char* name));
