// Loads a device-adapter module file the way the host application does:
// dlopen with RTLD_NOW | RTLD_LOCAL, then the nine exports bound by name.
//
// Contract: Open() either returns a loader whose every export pointer is
// bound, or null with a one-line error text naming the cause (file missing,
// not loadable, export missing). The loader only binds; it calls nothing,
// not even InitializeModuleData. Destroying it releases the handle (a module
// that pins itself stays loaded); delete every device it created first.
// Thread-safety: immutable after Open(); the export pointers may be called
// from any thread, with the module's own rules about calling order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "module/exports.h"

namespace qv::host {

// File name of the Quorvex module inside an adapter directory.
constexpr const char* kModuleFileName = "libmmgr_dal_Quorvex.so";

// The adapter directory of the build this library was compiled in
// (<build>/adapters), for tests and as the CLI's last fallback.
std::string BuiltAdapterDir();

// <dir>/libmmgr_dal_Quorvex.so
std::string ModulePathIn(const std::string& adapterDir);

struct ModuleExports {
  InitializeModuleDataFn initializeModuleData = nullptr;
  GetNumberOfDevicesFn getNumberOfDevices = nullptr;
  GetDeviceNameFn getDeviceName = nullptr;
  GetDeviceTypeFn getDeviceType = nullptr;
  GetDeviceDescriptionFn getDeviceDescription = nullptr;
  CreateDeviceFn createDevice = nullptr;
  DeleteDeviceFn deleteDevice = nullptr;
  GetModuleVersionFn getModuleVersion = nullptr;
  GetDeviceInterfaceVersionFn getDeviceInterfaceVersion = nullptr;
};

// One offered device, as the listing exports describe it.
struct OfferedDevice {
  std::string name;
  int type = 0;
  std::string description;
};

class ModuleLoader {
 public:
  static std::unique_ptr<ModuleLoader> Open(const std::string& path, std::string* error);
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  const ModuleExports& exports() const { return exports_; }
  const std::string& path() const { return path_; }

  // Calls InitializeModuleData, then lists the registry through
  // GetNumberOfDevices / GetDeviceName / GetDeviceType / GetDeviceDescription.
  std::vector<OfferedDevice> ListDevices() const;

 private:
  ModuleLoader(void* handle, std::string path, const ModuleExports& exports)
      : handle_(handle), path_(std::move(path)), exports_(exports) {}

  void* handle_;
  std::string path_;
  ModuleExports exports_;
};

}  // namespace qv::host
