// Identity, construction, and the plain settings of a SimCamera.
#include "sim/sim_camera.h"

#include <cmath>
#include <cstring>

#include "sim/camera_enter.h"
#include "sim/simulator.h"
#include "sim/status.h"

namespace qvsim {

namespace {

bool InRange(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

void CopyOut(char* out, size_t size, const std::string& text) {
  std::memset(out, 0, size);
  std::strncpy(out, text.c_str(), size - 1);
}

}  // namespace

SimCamera::SimCamera(const CameraConfig& config, const char* openText)
    : id_(config.id),
      model_(config.model),
      openText_(openText ? openText : ""),
      capabilityOverrides_(config.capabilities),
      texts_(config.texts),
      persistSettings_(config.persistSettings) {
  qv::MutexLock lock(mu_);
  s_ = DefaultSettings();
  thermalTime_ = Clock::now();
  ApplyConfiguredState(config);
  if (persistSettings_) LoadSettingsFile();
}

SimCamera::Settings SimCamera::DefaultSettings() const {
  using namespace SdkCapability;
  const ModelInfo& m = *model_;
  Settings s;
  s.exposureUs = m.exposureDefUs;
  s.gain = m.gainDef;
  s.fan = m.has(Fan) ? 1 : 0;
  auto& o = s.options;
  o[11] = 0;
  o[12] = m.mono() ? 3 : 2;
  o[16] = 1;
  o[23] = 1;
  o[24] = 0;
  o[26] = static_cast<int>(m.pixelFormats.front());
  o[74] = 0;
  if (m.has(Cooler)) o[8] = 1;
  if (!m.mono()) {
    o[10] = 0;
    o[30] = 0;
    o[42] = 0;
    o[108] = 0;
    s.parameters["AwbInterval"] = 1000;
    s.parameters["AwbOff"] = 0;
  }
  if (m.has(ConversionGain)) {
    o[25] = 0;
    s.named["GainMode"] = 0;
  }
  if (m.has(FrameRateControl)) {
    o[45] = static_cast<int>(m.maxFrameRateTenths);
    o[46] = 100;
  }
  if (m.has(Isp)) {
    o[53] = 0;
    o[75] = 0;
    o[102] = 0;
  }
  if (m.has(Heater)) o[55] = 0;
  if (m.has(LowNoise)) o[56] = 0;
  if (!m.has(GlobalShutter)) o[58] = 0;
  if (m.has(Cooler) || m.has(HdrConversionGain)) o[86] = 90 | (90 << 16);
  if (m.has(HdrConversionGain)) {
    o[87] = (100 << 16) | 16;
    o[88] = 2048;
  }
  if (m.has(Cooler)) o[105] = 0;
  if (m.maxCds > 0) o[110] = 0;
  if (m.mechanicalShutter) o[118] = 0;
  if (m.laneCount > 1) o[126] = 0;
  if (m.has(SdkCapability::GigE)) o[127] = 1500;
  if (m.maxAntiBlooming > 1) o[139] = 1;
  s.io.resize(m.record.ioLineCount);
  for (unsigned line = 0; line < s.io.size(); ++line) {
    auto& io = s.io[line];
    for (unsigned code : {9u, 11u, 13u, 15u, 19u, 23u, 29u, 31u, 33u, 35u, 37u, 39u}) io[code] = 0;
    io[7] = 1;  // output inverter position 1: not inverted
    io[3] = (line == 1) ? 1 : 0;  // the isolated output is an output, the rest start as inputs
    io[21] = 1;
  }
  return s;
}

void SimCamera::ApplyConfiguredState(const CameraConfig& config) {
  for (const auto& [option, value] : config.options) s_.options[option] = value;
  for (const auto& [name, value] : config.namedValues) s_.named[name] = value;
  for (const auto& [name, value] : config.parameters) s_.parameters[name] = value;
}

bool SimCamera::Enter(const CallText& line, const char* op, const std::string& selector,
                      int32_t* status) {
  Simulator& sim = Simulator::Instance();
  sim.Log(id_, line);
  if (closed_.load()) {
    sim.CountCallAfterClose();
    *status = kClosedHandle;
    return true;
  }
  return sim.Fault(id_, op, selector, status);
}

// ---- identity and secondary interfaces ----

int32_t SimCamera::QueryInterface(const SdkGuid* iid, void** object) {
  QV_ENTER(Call("QueryInterface"), "QueryInterface", "");
  if (object == nullptr || iid == nullptr) return kPointer;
  *object = nullptr;
  if (SameGuid(*iid, SdkSerialInfoId)) {
    *object = static_cast<SdkSerialInfo*>(&serialInfo_);
    return kOk;
  }
  if (SameGuid(*iid, SdkVersionInfoId)) {
    *object = static_cast<SdkVersionInfo*>(&versionInfo_);
    return kOk;
  }
  return kNoInterface;
}

uint32_t SimCamera::AddRef() {
  Simulator::Instance().Log(id_, Call("AddRef"));
  return ++refs_;
}

uint32_t SimCamera::Release() {
  Simulator::Instance().Log(id_, Call("Release"));
  const uint32_t r = refs_.load();
  if (r > 1) --refs_;
  return r > 1 ? r - 1 : 1;
}

int32_t SimCamera::ReadText(const char* op, const char* key, char* out, size_t size) {
  QV_ENTER(Call(op), op, "");
  if (out == nullptr) return kPointer;
  auto it = texts_.find(key);
  std::string text;
  if (it != texts_.end()) {
    text = it->second;
  } else if (std::strcmp(key, "serial") == 0) {
    text = "QV" + std::to_string(std::hash<std::string>()(id_) % 100000000);
  } else if (std::strcmp(key, "firmware") == 0) {
    text = "3.2.7";
  } else if (std::strcmp(key, "hardware") == 0) {
    text = "1.4";
  } else if (std::strcmp(key, "fpga") == 0) {
    text = "1.9";
  } else if (std::strcmp(key, "productionDate") == 0) {
    text = "20230915";
  }
  CopyOut(out, size, text);
  return kOk;
}

int32_t SimSerialInfo::QueryInterface(const SdkGuid* iid, void** object) {
  return owner_->QueryInterface(iid, object);
}
int32_t SimSerialInfo::GetSerialNumber(char serial[32]) {
  return owner_->ReadText("GetSerialNumber", "serial", serial, 32);
}
int32_t SimVersionInfo::QueryInterface(const SdkGuid* iid, void** object) {
  return owner_->QueryInterface(iid, object);
}
int32_t SimVersionInfo::GetFirmwareVersion(char text[16]) {
  return owner_->ReadText("GetFirmwareVersion", "firmware", text, 16);
}
int32_t SimVersionInfo::GetHardwareVersion(char text[16]) {
  return owner_->ReadText("GetHardwareVersion", "hardware", text, 16);
}
int32_t SimVersionInfo::GetProductionDate(char text[16]) {
  return owner_->ReadText("GetProductionDate", "productionDate", text, 16);
}
int32_t SimVersionInfo::GetFpgaVersion(char text[16]) {
  return owner_->ReadText("GetFpgaVersion", "fpga", text, 16);
}

const SdkModel* SimCamera::GetModelRecord() {
  int32_t status = 0;
  Simulator::Instance().Log(id_, Call("GetModelRecord"));
  if (Simulator::Instance().Fault(id_, "GetModelRecord", "", &status)) return nullptr;
  return &model_->record;
}

// ---- exposure and gain ----

int32_t SimCamera::GetAutoExposure(int* enabled) {
  QV_ENTER(Call("GetAutoExposure"), "GetAutoExposure", "");
  if (enabled == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *enabled = s_.autoExposure;
  return kOk;
}

int32_t SimCamera::SetAutoExposure(int enabled) {
  QV_ENTER(Call("SetAutoExposure", enabled), "SetAutoExposure", "");
  if (!InRange(enabled, 0, 1)) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.autoExposure = enabled;
  KickLocked();
  return kOk;
}

int32_t SimCamera::GetAutoExposureTarget(unsigned short* target) {
  QV_ENTER(Call("GetAutoExposureTarget"), "GetAutoExposureTarget", "");
  if (target == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *target = s_.aeTarget;
  return kOk;
}

int32_t SimCamera::SetAutoExposureTarget(unsigned short target) {
  QV_ENTER(Call("SetAutoExposureTarget", target), "SetAutoExposureTarget", "");
  if (!InRange(target, 16, 220)) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.aeTarget = target;
  return kOk;
}

int32_t SimCamera::SetAutoExposureLimits(unsigned maxTime, unsigned short maxGain) {
  QV_ENTER(Call("SetAutoExposureLimits", maxTime, maxGain), "SetAutoExposureLimits", "");
  if (!InRange(maxTime, 1, 5000000) || maxGain < model_->gainMin || maxGain > model_->gainMax)
    return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.aeMaxTime = maxTime;
  s_.aeMaxGain = maxGain;
  return kOk;
}

int32_t SimCamera::GetAutoExposureLimits(unsigned* maxTime, unsigned short* maxGain) {
  QV_ENTER(Call("GetAutoExposureLimits"), "GetAutoExposureLimits", "");
  qv::MutexLock lock(mu_);
  if (maxTime != nullptr) *maxTime = s_.aeMaxTime;
  if (maxGain != nullptr) *maxGain = s_.aeMaxGain;
  return kOk;
}

int32_t SimCamera::GetExposureTime(unsigned* microseconds) {
  QV_ENTER(Call("GetExposureTime"), "GetExposureTime", "");
  if (microseconds == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *microseconds = s_.exposureUs;
  return kOk;
}

int32_t SimCamera::SetExposureTime(unsigned microseconds) {
  QV_ENTER(Call("SetExposureTime", microseconds), "SetExposureTime", "");
  if (microseconds < model_->exposureMinUs || microseconds > model_->exposureMaxUs)
    return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.exposureUs = microseconds;
  KickLocked();
  return kOk;
}

int32_t SimCamera::GetExposureRange(unsigned* min, unsigned* max, unsigned* def) {
  QV_ENTER(Call("GetExposureRange"), "GetExposureRange", "");
  if (min) *min = model_->exposureMinUs;
  if (max) *max = model_->exposureMaxUs;
  if (def) *def = model_->exposureDefUs;
  return kOk;
}

int32_t SimCamera::GetRealExposureTime(unsigned* microseconds) {
  QV_ENTER(Call("GetRealExposureTime"), "GetRealExposureTime", "");
  if (microseconds == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *microseconds = RealExposureLocked();
  return kOk;
}

int32_t SimCamera::GetGain(unsigned short* gain) {
  QV_ENTER(Call("GetGain"), "GetGain", "");
  if (gain == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *gain = s_.gain;
  return kOk;
}

int32_t SimCamera::SetGain(unsigned short gain) {
  QV_ENTER(Call("SetGain", gain), "SetGain", "");
  if (gain < model_->gainMin || gain > model_->gainMax) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.gain = gain;
  return kOk;
}

int32_t SimCamera::GetGainRange(unsigned short* min, unsigned short* max, unsigned short* def) {
  QV_ENTER(Call("GetGainRange"), "GetGainRange", "");
  if (min) *min = model_->gainMin;
  if (max) *max = model_->gainMax;
  if (def) *def = model_->gainDef;
  return kOk;
}

// ---- colour ----

int32_t SimCamera::SetWhiteBalanceGain(const int gains[3]) {
  QV_ENTER(gains ? Call("SetWhiteBalanceGain", gains[0], gains[1], gains[2])
                 : Call("SetWhiteBalanceGain"),
           "SetWhiteBalanceGain", "");
  if (model_->mono()) return kNotImplemented;
  if (gains == nullptr) return kPointer;
  for (int i = 0; i < 3; ++i)
    if (!InRange(gains[i], -127, 127)) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.wbGain = {{gains[0], gains[1], gains[2]}};
  return kOk;
}

int32_t SimCamera::GetWhiteBalanceGain(int gains[3]) {
  QV_ENTER(Call("GetWhiteBalanceGain"), "GetWhiteBalanceGain", "");
  if (model_->mono()) return kNotImplemented;
  if (gains == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  for (int i = 0; i < 3; ++i) gains[i] = s_.wbGain[i];
  return kOk;
}

// Setter and getter pairs of one int setting with a range.
#define QV_INT_SETTING(Setter, Getter, field, lo, hi, colourOnly)            \
  int32_t SimCamera::Setter(int value) {                                     \
    QV_ENTER(Call(#Setter, value), #Setter, "");                             \
    if ((colourOnly) && model_->mono()) return kNotImplemented;              \
    if (!InRange(value, lo, hi)) return kInvalidArgument;                    \
    qv::MutexLock lock(mu_);                                                 \
    s_.field = value;                                                        \
    return kOk;                                                              \
  }                                                                          \
  int32_t SimCamera::Getter(int* value) {                                    \
    QV_ENTER(Call(#Getter), #Getter, "");                                    \
    if ((colourOnly) && model_->mono()) return kNotImplemented;              \
    if (value == nullptr) return kPointer;                                   \
    qv::MutexLock lock(mu_);                                                 \
    *value = s_.field;                                                       \
    return kOk;                                                              \
  }

QV_INT_SETTING(SetHue, GetHue, hue, -180, 180, true)
QV_INT_SETTING(SetSaturation, GetSaturation, saturation, 0, 255, true)
QV_INT_SETTING(SetBrightness, GetBrightness, brightness, -255, 255, true)
QV_INT_SETTING(SetContrast, GetContrast, contrast, -255, 255, false)
QV_INT_SETTING(SetGamma, GetGamma, gamma, 20, 180, false)
QV_INT_SETTING(SetVerticalFlip, GetVerticalFlip, vflip, 0, 1, false)
QV_INT_SETTING(SetHorizontalFlip, GetHorizontalFlip, hflip, 0, 1, false)
QV_INT_SETTING(SetNegative, GetNegative, negative, 0, 1, false)
QV_INT_SETTING(SetPowerFrequency, GetPowerFrequency, powerFrequency, 0, 2, false)
QV_INT_SETTING(SetBinningMode, GetBinningMode, binningMode, 0, 1, false)
#undef QV_INT_SETTING

int32_t SimCamera::SetSpeed(unsigned short speed) {
  QV_ENTER(Call("SetSpeed", speed), "SetSpeed", "");
  if (speed > model_->record.maxSpeed) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.speed = speed;
  return kOk;
}

int32_t SimCamera::GetSpeed(unsigned short* speed) {
  QV_ENTER(Call("GetSpeed"), "GetSpeed", "");
  if (speed == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *speed = s_.speed;
  return kOk;
}

int32_t SimCamera::SetDeviceMode(int mode) {
  QV_ENTER(Call("SetDeviceMode", mode), "SetDeviceMode", "");
  if (!InRange(mode, 0, 3)) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  s_.deviceMode = mode;
  return kOk;
}

// ---- thermal ----

void SimCamera::UpdateThermalLocked() {
  const Clock::time_point now = Clock::now();
  const double dt = std::chrono::duration<double>(now - thermalTime_).count();
  thermalTime_ = now;
  double target = 250.0;  // ambient, tenths
  if (model_->has(SdkCapability::Cooler) && s_.options[8] != 0) target = s_.tecTarget;
  else if (!model_->has(SdkCapability::Cooler)) target = 350.0 - 40.0 * s_.fan;  // sensor self-heating
  // First-order approach with a 10 s time constant.
  temperature_ += (target - temperature_) * (1.0 - std::exp(-dt / 10.0));
}

void SimCamera::SetTemperature(int tenths) {
  qv::MutexLock lock(mu_);
  UpdateThermalLocked();
  temperature_ = tenths;
}

int32_t SimCamera::GetTemperature(short* tenths) {
  QV_ENTER(Call("GetTemperature"), "GetTemperature", "");
  if (!model_->hasTemperature()) return kNotImplemented;
  if (tenths == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  UpdateThermalLocked();
  *tenths = static_cast<short>(std::lround(temperature_));
  return kOk;
}

int32_t SimCamera::GetFanSpeed(unsigned short* speed) {
  QV_ENTER(Call("GetFanSpeed"), "GetFanSpeed", "");
  if (!model_->has(SdkCapability::Fan)) return kNotImplemented;
  if (speed == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *speed = s_.fan;
  return kOk;
}

int32_t SimCamera::SetFanSpeed(unsigned short speed) {
  QV_ENTER(Call("SetFanSpeed", speed), "SetFanSpeed", "");
  if (!model_->has(SdkCapability::Fan)) return kNotImplemented;
  if (speed > model_->record.maxFanSpeed) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  UpdateThermalLocked();
  s_.fan = speed;
  // Without its fan the cooler cannot shed heat: the camera switches it off.
  if (speed == 0 && s_.options.count(8)) s_.options[8] = 0;
  return kOk;
}

int32_t SimCamera::GetTecTarget(int* tenths) {
  QV_ENTER(Call("GetTecTarget"), "GetTecTarget", "");
  if (!model_->has(SdkCapability::Cooler)) return kNotImplemented;
  if (tenths == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *tenths = s_.tecTarget;
  return kOk;
}

int32_t SimCamera::SetTecTarget(int tenths) {
  QV_ENTER(Call("SetTecTarget", tenths), "SetTecTarget", "");
  if (!model_->has(SdkCapability::Cooler)) return kNotImplemented;
  if (!InRange(tenths, -500, 400)) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  UpdateThermalLocked();
  s_.tecTarget = tenths;
  return kOk;
}

// ---- control API ----

int32_t SimCamera::PeekState(const std::string& name, int* value) {
  qv::MutexLock lock(mu_);
  UpdateThermalLocked();
  const std::map<std::string, long long> state = {
      {"exposureUs", s_.exposureUs}, {"gain", s_.gain}, {"autoExposure", s_.autoExposure},
      {"aeTarget", s_.aeTarget}, {"aeMaxTime", s_.aeMaxTime}, {"aeMaxGain", s_.aeMaxGain},
      {"wbRed", s_.wbGain[0]}, {"wbGreen", s_.wbGain[1]}, {"wbBlue", s_.wbGain[2]},
      {"hue", s_.hue}, {"saturation", s_.saturation}, {"brightness", s_.brightness},
      {"contrast", s_.contrast}, {"gamma", s_.gamma}, {"vflip", s_.vflip}, {"hflip", s_.hflip},
      {"negative", s_.negative}, {"speed", s_.speed}, {"powerFrequency", s_.powerFrequency},
      {"binningMode", s_.binningMode}, {"fan", s_.fan}, {"tecTarget", s_.tecTarget},
      {"temperature", std::lround(temperature_)}, {"deviceMode", s_.deviceMode},
      {"resolutionIndex", s_.resolutionIndex}, {"roiX", s_.roiX}, {"roiY", s_.roiY},
      {"roiWidth", s_.roiWidth}, {"roiHeight", s_.roiHeight}};
  auto it = state.find(name);
  if (it == state.end()) return kInvalidArgument;
  *value = static_cast<int>(it->second);
  return kOk;
}

// ---- parameters and capabilities ----

int32_t SimCamera::CapabilityValue(const std::string& name) {
  auto it = capabilityOverrides_.find(name);
  if (it != capabilityOverrides_.end()) return it->second;
  if (name == "issupportgain") return 1;
  if (name == "supportbandwidth") return model_->has(SdkCapability::GigE) ? 1 : 0;
  if (name == "maxCDS") return model_->maxCds;
  if (name == "defAntiBlooming") return model_->maxAntiBlooming > 1 ? 1 : 0;
  return 0;
}

int32_t SimCamera::QueryCapability(const char* name) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("QueryCapability", n), "QueryCapability", n);
  return CapabilityValue(n);
}

int32_t SimCamera::GetParameter(const char* name, int* value) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("GetParameter", n), "GetParameter", n);
  if (value == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  auto it = s_.parameters.find(n);
  if (it == s_.parameters.end()) return kNotImplemented;
  *value = it->second;
  return kOk;
}

int32_t SimCamera::SetParameter(const char* name, int value) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("SetParameter", n, value), "SetParameter", n);
  qv::MutexLock lock(mu_);
  auto it = s_.parameters.find(n);
  if (it == s_.parameters.end()) return kNotImplemented;
  if (n == "AwbInterval" && !InRange(value, 100, 600000)) return kInvalidArgument;
  if (n == "AwbOff" && !InRange(value, 0, 1)) return kInvalidArgument;
  it->second = value;
  return kOk;
}

}  // namespace qvsim
