#include "host/device_session.h"

#include <boost/format.hpp>

namespace qv::host {

std::unique_ptr<DeviceSession> DeviceSession::Open(const ModuleLoader& module,
                                                   const std::string& name, HostCore* core,
                                                   const SessionOptions& options,
                                                   std::string* error) {
  MM::Device* device = module.exports().createDevice(name.c_str());
  if (device == nullptr) {
    *error = (boost::format("the module could not create the device \"%s\"") % name).str();
    return nullptr;
  }
  std::unique_ptr<DeviceSession> session(new DeviceSession(module, device, name));
  device->SetCallback(core);
  device->SetLabel((options.label.empty() ? name : options.label).c_str());
  device->SetModuleName(kModuleFileName);
  if (!options.description.empty()) device->SetDescription(options.description.c_str());
  session->initialized_ = true;
  const int code = device->Initialize();
  if (code != 0) {
    *error = (boost::format("device \"%s\" failed to initialise: %s (code %d)") % name %
              session->ErrorText(code) % code)
                 .str();
    return nullptr;  // the destructor shuts the device down and deletes it
  }
  return session;
}

DeviceSession::~DeviceSession() {
  if (MM::Camera* cam = camera(); cam != nullptr && initialized_ && cam->IsSequenceRunning()) {
    cam->StopSequence();
  }
  if (initialized_) device_->Shutdown();
  device_->SetCallback(nullptr);
  module_.exports().deleteDevice(device_);
}

MM::Camera* DeviceSession::camera() const {
  // The host's device interface is single inheritance: a device that reports
  // the camera type is an MM::Camera at the same address.
  if (device_->DeviceType() != CameraDeviceType) return nullptr;
  return static_cast<MM::Camera*>(device_);
}

std::string DeviceSession::ErrorText(int code) const {
  char text[HostStringLimit] = {};
  device_->ErrorText(code, text);
  text[HostStringLimit - 1] = '\0';
  if (text[0] == '\0') return (boost::format("error %d") % code).str();
  return text;
}

}  // namespace qv::host
