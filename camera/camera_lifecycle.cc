// Construction, initialisation, shut-down and destruction of the Camera.
#include <cstring>
#include <vector>

#include <boost/format.hpp>

#include "camera/camera.h"
#include "camera/event_owner.h"
#include "camera/open_text.h"
#include "camera/property_catalogue.h"
#include "module/sdk_library.h"

namespace {

constexpr const char* kAdapterVersion = "60.33015.20261024";

// The enumeration record Initialize opens: the first whose display name is
// the device name, else the first of all.
const SdkDeviceEntry& ChooseRecord(const std::vector<SdkDeviceEntry>& records, unsigned count,
                                   const std::string& deviceName) {
  for (unsigned i = 0; i < count; ++i) {
    char name[sizeof records[i].displayName + 1] = {};
    std::memcpy(name, records[i].displayName, sizeof records[i].displayName);
    if (deviceName == name) return records[i];
  }
  return records[0];
}

std::string ModelNameOf(const SdkDeviceEntry& entry) {
  char buffer[256] = {};
  if (entry.model != nullptr && entry.model->modelName != nullptr) {
    std::strncpy(buffer, entry.model->modelName, sizeof buffer - 1);
  }
  return buffer;
}

std::string IdOf(const SdkDeviceEntry& entry) {
  char id[sizeof entry.id + 1] = {};
  std::memcpy(id, entry.id, sizeof entry.id);
  return id;
}

}  // namespace

Camera::Camera(const char* name) : deviceName(name != nullptr ? name : "") {
  const SdkLibrary& library = BoundSdkLibrary();
  const char* vendor = library.vendorName != nullptr ? library.vendorName : "";
  CreateProperty("Description", (boost::format("%s Camera") % vendor).str(),
                 MM::PropertyKind::String, true);
  if (library.sdkVersion != nullptr) {
    CreateProperty("Version(Sdk)", library.sdkVersion, MM::PropertyKind::String, true);
  }
  CreateProperty("Version(Adapter)", kAdapterVersion, MM::PropertyKind::String, true);
  onOffValues = {"OFF", "ON"};
  exposurePolicyValues = {"Exposure Only", "Exposure Preferred (Default)", "Gain Only",
                          "Gain Preferred"};
  whiteBalanceModeValues = {"Once", "Continuous", "Off"};
  gainModeValues = {"Sensitive", "High Fullwell Capacity", "Balance",
                    "High Dynamic Range (HDR)"};
}

Camera::~Camera() {
  // The sequence thread calls this camera's own operations, so it has to end
  // before this part of the object goes; Shutdown stops and joins it.
  Camera::Shutdown();
}

void Camera::GetName(char* name) const {
  const char* adapter = BoundSdkLibrary().adapterName;
  CopyToHostBuffer(name, adapter != nullptr ? adapter : "");
}

int Camera::Initialize() {
  if (sdk != nullptr) return DeviceError::Ok;

  int result = OpenSdkCamera();
  if (result != DeviceError::Ok) return result;
  sdk = sdkHolder->camera;

  CreateIdentificationProperties();
  if (!ModelHas(SdkCapability::Monochrome)) sdk->PutOption(42, 1);
  sdk->SetDeviceMode(1);
  sdk->GetResolutionIndex(&resolutionIndex);

  PropertyCatalogue::Create(*this, PropertyCatalogue::Phase::Main);
  result = RefreshAllProperties();
  if (result != DeviceError::Ok) {
    // Nothing was started yet; let go of the camera as Shutdown would, so a
    // later Initialize opens it anew and completes instead of returning 0.
    ReleaseSdkCamera();
    return result;
  }

  sdk->SetDeviceMode(3);
  ApplyOutputFormat();
  RestartStream([] {});
  PropertyCatalogue::Create(*this, PropertyCatalogue::Phase::AfterStream);
  StartStatusMonitor();
  return DeviceError::Ok;
}

int Camera::OpenSdkCamera() {
  const SdkLibrary& library = BoundSdkLibrary();
  if (library.enumCamera == nullptr) {
    LogText("Quorvex: no SDK library is bound, no camera can be opened");
    sdkHolder.reset();
    return DeviceError::CommunicationFailed;
  }
  std::vector<SdkDeviceEntry> records(MaxCameras);
  unsigned count = library.enumCamera(records.data());
  if (count == 0) {
    sdkHolder.reset();
    return DeviceError::CommunicationFailed;
  }
  if (count > MaxCameras) count = MaxCameras;
  const SdkDeviceEntry& record = ChooseRecord(records, count, deviceName);
  const std::string id = IdOf(record);

  if (std::shared_ptr<HWrapper> shared = FindOpenCamera(id)) {
    entry = record;
    sdkHolder = std::move(shared);
    event_owner::Join(sdkHolder->camera, this);
    return DeviceError::Ok;
  }

  auto open = reinterpret_cast<DllOpenFn>(SdkSymbol("DllOpen"));
  if (open == nullptr) {
    LogText("Quorvex: the SDK library does not export DllOpen");
    sdkHolder.reset();
    return DeviceError::CommunicationFailed;
  }
  std::string home, reason;
  if (!RealUserHome(&home, &reason)) {
    LogText("Quorvex: cannot build the camera's settings path: " + reason);
    sdkHolder.reset();
    return DeviceError::CommunicationFailed;
  }
  EnsureSettingsDirectory(home);
  SdkCamera* opened = open(BuildOpenText(id, home, ModelNameOf(record)).c_str());
  if (opened == nullptr) {
    sdkHolder.reset();
    return DeviceError::CommunicationFailed;
  }
  entry = record;
  sdkHolder = std::make_shared<HWrapper>(opened);
  InsertOpenCamera(IdOf(entry), sdkHolder);
  event_owner::Join(opened, this);
  return DeviceError::Ok;
}

void Camera::CreateIdentificationProperties() {
  PropertyCatalogue::Create(*this, PropertyCatalogue::Phase::Identification);
  SetLabel(ModelNameOf(entry).c_str());
}

int Camera::Shutdown() {
  StopStatusMonitor();
  StopSequence();
  ReleaseSdkCamera();
  return DeviceError::Ok;
}

void Camera::ReleaseSdkCamera() {
  if (sdkHolder) {
    SdkCamera* camera = sdkHolder->camera;
    if (Camera* heir = event_owner::Leave(camera, this)) {
      // This camera held the SDK's event context: hand it to a remaining
      // user before this object can go away.
      qv::RecursiveMutexLock hold(heir->frameLock);
      camera->StopStreaming(0);
      camera->StartStreaming(nullptr, nullptr, nullptr, nullptr, &Camera::OnSdkEvent, nullptr,
                             heir);
    }
    if (ReleaseOpenCamera(sdkHolder)) camera->Close();
    sdkHolder.reset();
  }
  sdk = nullptr;
}

void Camera::StartStatusMonitor() {
  statusStop.store(false);
  statusThread = std::make_shared<std::thread>([this] { StatusMonitorLoop(); });
}

void Camera::StopStatusMonitor() {
  statusStop.store(true);
  if (statusThread) {
    if (statusThread->joinable()) statusThread->join();
    statusThread.reset();
  }
}

bool Camera::ResolutionAt(unsigned index, SdkResolution* out) const {
  const SdkModel* model = entry.model;
  if (model == nullptr) return false;
  unsigned count = model->resolutionCount < 16 ? model->resolutionCount : 16;
  if (index >= count) return false;
  *out = model->resolutions[index];
  return true;
}
