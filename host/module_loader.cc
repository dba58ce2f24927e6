#include "host/module_loader.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <boost/format.hpp>

#ifndef QUORVEX_BUILT_ADAPTER_DIR
#define QUORVEX_BUILT_ADAPTER_DIR "adapters"
#endif

namespace qv::host {
namespace {

template <typename Fn>
bool Bind(void* handle, const char* name, Fn* slot, const std::string& path, std::string* error) {
  void* symbol = dlsym(handle, name);
  if (symbol == nullptr) {
    *error = (boost::format("module %s lacks the export %s") % path % name).str();
    return false;
  }
  *slot = reinterpret_cast<Fn>(symbol);
  return true;
}

bool BindAll(void* handle, const std::string& path, ModuleExports* e, std::string* error) {
  return Bind(handle, "InitializeModuleData", &e->initializeModuleData, path, error) &&
         Bind(handle, "GetNumberOfDevices", &e->getNumberOfDevices, path, error) &&
         Bind(handle, "GetDeviceName", &e->getDeviceName, path, error) &&
         Bind(handle, "GetDeviceType", &e->getDeviceType, path, error) &&
         Bind(handle, "GetDeviceDescription", &e->getDeviceDescription, path, error) &&
         Bind(handle, "CreateDevice", &e->createDevice, path, error) &&
         Bind(handle, "DeleteDevice", &e->deleteDevice, path, error) &&
         Bind(handle, "GetModuleVersion", &e->getModuleVersion, path, error) &&
         Bind(handle, "GetDeviceInterfaceVersion", &e->getDeviceInterfaceVersion, path, error);
}

}  // namespace

std::string BuiltAdapterDir() { return QUORVEX_BUILT_ADAPTER_DIR; }

std::string ModulePathIn(const std::string& adapterDir) {
  return adapterDir + "/" + kModuleFileName;
}

std::unique_ptr<ModuleLoader> ModuleLoader::Open(const std::string& path, std::string* error) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    *error = (boost::format("module not found: %s") % path).str();
    return nullptr;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    *error = (boost::format("cannot load module %s: %s") % path % (why ? why : "unknown")).str();
    return nullptr;
  }
  ModuleExports exports;
  if (!BindAll(handle, path, &exports, error)) {
    dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<ModuleLoader>(new ModuleLoader(handle, path, exports));
}

ModuleLoader::~ModuleLoader() { dlclose(handle_); }

std::vector<OfferedDevice> ModuleLoader::ListDevices() const {
  exports_.initializeModuleData();
  std::vector<OfferedDevice> devices;
  const unsigned count = exports_.getNumberOfDevices();
  for (unsigned i = 0; i < count; ++i) {
    char buffer[HostStringLimit] = {};
    if (!exports_.getDeviceName(i, buffer, sizeof buffer)) continue;
    OfferedDevice device;
    device.name = buffer;
    exports_.getDeviceType(buffer, &device.type);
    char description[HostStringLimit] = {};
    if (exports_.getDeviceDescription(device.name.c_str(), description, sizeof description)) {
      device.description = description;
    }
    devices.push_back(std::move(device));
  }
  return devices;
}

}  // namespace qv::host
