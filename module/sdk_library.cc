// BindSdkLibrary: finds the SDK library next to the module, loads it, binds
// its entry points and registers one device per enumerated camera.
#include "module/sdk_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "module/device_registry.h"
#include "module/mm_device.h"
#include "module/open_camera_table.h"

namespace {

// Module-wide binding state. Its handle field's address is what dladdr is
// asked about to find the module's own file.
SdkLibrary sdkLibrary;
void* (*symbolLookupForTesting)(const char* name) = nullptr;

constexpr char ModulePrefix[] = "/libmmgr_dal_";
constexpr size_t ModulePrefixLength = sizeof(ModulePrefix) - 1;  // 13

// The sanitizer runtimes refuse RTLD_DEEPBIND, so sanitised builds load the
// SDK without it; the shipped module keeps the SDK's own symbols first.
#ifdef QUORVEX_SANITIZED
constexpr int SdkLoadFlags = RTLD_NOW;
#else
constexpr int SdkLoadFlags = RTLD_NOW | RTLD_DEEPBIND;
#endif

constexpr unsigned GigeSettleSeconds = 2;

// The canonical path of the file holding the module, or false.
bool ModuleFilePath(char (&resolved)[PathBufferSize]) {
  Dl_info info{};
  if (dladdr(&sdkLibrary.handle, &info) == 0 || info.dli_fname == nullptr) return false;
  static_assert(PathBufferSize >= PATH_MAX, "realpath writes up to PATH_MAX bytes");
  return realpath(info.dli_fname, resolved) != nullptr;
}

// Splits ".../libmmgr_dal_<Name>" into the directory and "lib<Name>".
bool SplitModulePath(char* path, std::string* directory, std::string* wanted) {
  char* prefix = std::strstr(path, ModulePrefix);
  if (prefix == nullptr) return false;
  char wantedName[PathBufferSize];
  std::snprintf(wantedName, sizeof wantedName, "lib%s", prefix + ModulePrefixLength);
  *prefix = '\0';
  *directory = path;
  *wanted = wantedName;
  return true;
}

// "libQuorvex.so.1" becomes "libQuorvex.so"; any other name stays as it is.
std::string WithoutSoVersion(const std::string& wanted) {
  size_t so = wanted.find(".so");
  if (so != std::string::npos && so + 3 < wanted.size() && wanted[so + 3] == '.')
    return wanted.substr(0, so + 3);
  return wanted;
}

bool LocateSdkLibrary(std::string* path) {
  char modulePath[PathBufferSize];
  std::string directory, wanted;
  if (!ModuleFilePath(modulePath) || !SplitModulePath(modulePath, &directory, &wanted))
    return false;
  return FindLibraryFile(directory, wanted, path) ||
         FindLibraryFile(directory, WithoutSoVersion(wanted), path);
}

template <typename Fn>
Fn LookUp(const char* name) {
  return reinterpret_cast<Fn>(SdkSymbol(name));
}

void BindEntryPoints() {
  auto mmgrName = LookUp<DllMmgrNameFn>("DllMmgrName");
  auto company = LookUp<DllCompanyFn>("DllCompany");
  auto version = LookUp<DllVersionFn>("DllVersion");
  auto appName = LookUp<DllAppNameFn>("DllAppName");
  sdkLibrary.enumCamera = LookUp<DllEnumCameraFn>("DllEnumCamera");
  sdkLibrary.getDefAE = LookUp<DllGetDefAEFn>("DllGetDefAE");
  sdkLibrary.logV = LookUp<DlllogVFn>("DlllogV");
  if (appName != nullptr) appName("mmgr");
  if (mmgrName != nullptr) sdkLibrary.adapterName = mmgrName();
  if (company != nullptr) sdkLibrary.vendorName = company();
  if (version != nullptr) sdkLibrary.sdkVersion = version();
}

// Sleeps the whole time even when signals interrupt the sleep.
void SleepFully(unsigned seconds) {
  timespec remaining{static_cast<time_t>(seconds), 0};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

bool RegisterCameras(const std::vector<SdkDeviceEntry>& entries, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    // The SDK's 64 bytes are read no further, terminated or not.
    const char* displayName = entries[i].displayName;
    std::string name(displayName, strnlen(displayName, sizeof entries[i].displayName));
    RegisterDevice(name.c_str(), CameraDeviceType, sdkLibrary.vendorName);
  }
  return count > 0;
}

// GigE cameras may show up only after GigE discovery is switched on.
bool RegisterCamerasAfterGigeEnable(std::vector<SdkDeviceEntry>& entries) {
  auto gigeEnable = LookUp<DllGigeEnableFn>("DllGigeEnable");
  if (gigeEnable == nullptr || gigeEnable(nullptr, nullptr) != 0) return false;
  SleepFully(GigeSettleSeconds);
  return RegisterCameras(entries, EnumerateSdkCameras(entries.data()));
}

void RegisterEnumeratedDevices() {
  std::vector<SdkDeviceEntry> entries(MaxCameras);
  if (RegisterCameras(entries, EnumerateSdkCameras(entries.data()))) return;
  if (RegisterCamerasAfterGigeEnable(entries)) return;
  RegisterDevice(sdkLibrary.adapterName, CameraDeviceType, sdkLibrary.vendorName);
}

}  // namespace

const SdkLibrary& BoundSdkLibrary() { return sdkLibrary; }

void BindSdkLibrary() {
  std::string path;
  if (LocateSdkLibrary(&path)) {
    sdkLibrary.handle = dlopen(path.c_str(), SdkLoadFlags);
    if (sdkLibrary.handle == nullptr) return;
    BindEntryPoints();
  }
  // Registration gate. When the library is loaded but unnamed it stays
  // loaded, so later InitializeModuleData calls do nothing.
  if (sdkLibrary.handle == nullptr || sdkLibrary.adapterName == nullptr ||
      sdkLibrary.vendorName == nullptr)
    return;
  RegisterEnumeratedDevices();
  CreateOpenCameraTable();
}

unsigned EnumerateSdkCameras(SdkDeviceEntry entries[MaxCameras]) {
  if (sdkLibrary.enumCamera == nullptr) return 0;
  unsigned count = sdkLibrary.enumCamera(entries);
  return count < MaxCameras ? count : MaxCameras;
}

void* SdkSymbol(const char* name) {
  if (symbolLookupForTesting != nullptr) return symbolLookupForTesting(name);
  return sdkLibrary.handle != nullptr ? dlsym(sdkLibrary.handle, name) : nullptr;
}

void SetSdkLibraryForTesting(const SdkLibrary& library, void* (*lookup)(const char* name)) {
  sdkLibrary = library;
  symbolLookupForTesting = lookup;
  if (!OpenCameraTableExists()) CreateOpenCameraTable();
}
