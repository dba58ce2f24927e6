// Exposure and gain handlers of the Camera: exposure and real exposure,
// frame rate, bandwidth and speed, the auto-exposure family, gain and
// conversion gain, and the SDK's exposure event. Also the two list helpers
// every feature handler uses.
#include <algorithm>
#include <string>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"
#include "framework/value_text.h"

using controls::IsApply;
using controls::IsRefresh;
using MM::value_text::TruncateToLong;

namespace {

// Defaults of the shared auto-exposure pair and of peak mode, used when the
// SDK does not answer or the sibling property does not exist on the model.
constexpr unsigned kDefaultAeMaxTime = 350;
constexpr unsigned short kDefaultAeMaxGain = 500;
constexpr int kDefaultPeakPercent = 1;

bool IsPeakPercent(int value) { return value >= 1 && value <= 99; }

}  // namespace

// ---- shared helpers ----------------------------------------------------------

int Camera::IndexOfValue(MM::PropertyBase* prop, const std::vector<std::string>& list) {
  std::string text;
  if (prop == nullptr || !prop->Get(text)) return -1;
  auto found = std::find(list.begin(), list.end(), text);
  return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void Camera::SetValueByIndex(MM::PropertyBase* prop, int index,
                             const std::vector<std::string>& list) {
  if (prop == nullptr || index < 0 || index >= static_cast<int>(list.size())) return;
  prop->Set(list[static_cast<size_t>(index)].c_str());
}

void Camera::RefreshExposureLimits() {
  if (!HasSdk()) return;
  if (ModelHas(SdkCapability::FrameRateControl)) {
    int maxTenths = 0;
    sdk->GetOption(44, &maxTenths);
    SetPropertyLimits("FrameRate", 0.1, maxTenths / 10.0);
  }
  unsigned minUs = 0, maxUs = 0, defUs = 0;
  sdk->GetExposureRange(&minUs, &maxUs, &defUs);
  SetPropertyLimits("Exposure", minUs / 1000.0, maxUs / 1000.0);
  RefreshAndNotify("Exposure");
  const double value = GetExposure();
  if (HostCore* host = GetCoreCallback()) host->OnExposureChanged(this, value);
  RefreshAndNotify("RealExposure");
}

void Camera::OnSdkExposureEvent() {
  if (!HasSdk()) return;
  const double value = GetExposure();
  if (HostCore* host = GetCoreCallback()) host->OnExposureChanged(this, value);
  RefreshAndNotify("Exposure");
  RefreshAndNotify("Gain");
  RefreshAndNotify("RealExposure");
}

// ---- exposure, frame rate, bandwidth, speed ----------------------------------

// Every read re-announces the exposure to the host and refreshes the real
// exposure, which the SDK derives from it.
int Camera::OnExposure(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    const double value = GetExposure();
    prop->Set(value);
    if (HostCore* host = GetCoreCallback()) host->OnExposureChanged(this, value);
    RefreshAndNotify("RealExposure");
  } else if (IsApply(kind)) {
    double value = 1.0;
    if (prop->Get(value)) SetExposure(value);
  }
  return 0;
}

int Camera::OnRealExposure(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned microseconds = 0;
    sdk->GetRealExposureTime(&microseconds);
    prop->Set(microseconds / 1000.0);
  }
  return 0;
}

// Option 45 holds tenths of a frame per second.
int Camera::OnFrameRate(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int tenths = 0;
    sdk->GetOption(45, &tenths);
    prop->Set(tenths / 10.0);
  } else if (IsApply(kind)) {
    double fps = 0.0;
    if (prop->Get(fps)) sdk->PutOption(45, static_cast<int>(TruncateToLong(fps * 10)));
  }
  return 0;
}

// A bandwidth change moves what the sensor can do, hence the new limits.
int Camera::OnBandwidth(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) return controls::OptionNumber(*this, 46, 0, prop, kind);
  if (IsApply(kind)) {
    long value = 0;
    if (!prop->Get(value)) return 0;
    sdk->PutOption(46, static_cast<int>(value));
    RefreshExposureLimits();
  }
  return 0;
}

int Camera::OnSpeed(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned short speed = 0;
    sdk->GetSpeed(&speed);
    prop->Set(MM::value_text::FormatLong(speed).c_str());
  } else if (IsApply(kind)) {
    std::string text;
    if (prop->Get(text)) sdk->SetSpeed(static_cast<unsigned short>(controls::ParseDecimal(text)));
  }
  return 0;
}

// ---- auto exposure -------------------------------------------------------------

int Camera::OnAutoExposure(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int enabled = 1;
    sdk->GetAutoExposure(&enabled);
    controls::StoreFlag(*this, prop, enabled, onOffValues);
  } else if (IsApply(kind)) {
    int position = IndexOfValue(prop, onOffValues);
    if (position >= 0) sdk->SetAutoExposure(position);
  }
  return 0;
}

int Camera::OnAutoExposureTarget(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned short target = 120;
    sdk->GetAutoExposureTarget(&target);
    prop->Set(static_cast<long>(target));
  } else if (IsApply(kind)) {
    long target = 0;
    if (prop->Get(target)) sdk->SetAutoExposureTarget(static_cast<unsigned short>(target));
  }
  return 0;
}

// Only a successful, non-negative read of option 16 is shown.
int Camera::OnAutoExposurePolicy(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int policy = 1;
    if (sdk->GetOption(16, &policy) >= 0 && policy >= 0) {
      SetValueByIndex(prop, policy, exposurePolicyValues);
    }
    return 0;
  }
  return controls::OptionPosition(*this, 16, exposurePolicyValues, prop, kind);
}

// The maximum time and the maximum gain share one SDK pair: each write sends
// both, the other taken from its own property.
int Camera::OnAutoExposureMaxTime(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned time = kDefaultAeMaxTime;
    sdk->GetAutoExposureLimits(&time, nullptr);
    prop->Set(static_cast<long>(time));
  } else if (IsApply(kind)) {
    long time = kDefaultAeMaxTime;
    if (!prop->Get(time)) return 0;
    std::string sibling;  // refreshed from the SDK first; absent on models without gain
    long gain = GetPropertyText("AutoExposure Maximum Gain", sibling) == DeviceError::Ok
                    ? controls::ParseDecimal(sibling)
                    : kDefaultAeMaxGain;
    sdk->SetAutoExposureLimits(static_cast<unsigned>(time), static_cast<unsigned short>(gain));
  }
  return 0;
}

int Camera::OnAutoExposureMaxGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned short gain = kDefaultAeMaxGain;
    sdk->GetAutoExposureLimits(nullptr, &gain);
    prop->Set(static_cast<long>(gain));
  } else if (IsApply(kind)) {
    long gain = kDefaultAeMaxGain;
    if (!prop->Get(gain)) return 0;
    std::string sibling;
    long time = GetPropertyText("AutoExposure Maximum Exposure Time", sibling) == DeviceError::Ok
                    ? controls::ParseDecimal(sibling)
                    : kDefaultAeMaxTime;
    sdk->SetAutoExposureLimits(static_cast<unsigned>(time), static_cast<unsigned short>(gain));
  }
  return 0;
}

// Option 74: 0 peak mode off, 1 to 99 peak mode on with that percentage.
int Camera::OnAutoExposurePeakMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    sdk->GetOption(74, &value);
    controls::StoreFlag(*this, prop, IsPeakPercent(value) ? 1 : 0, onOffValues);
  } else if (IsApply(kind)) {
    const int position = IndexOfValue(prop, onOffValues);
    if (position == 0) {
      sdk->PutOption(74, 0);
    } else if (position == 1) {
      // The percent property reads 1 while peak mode is off, so switching
      // on from off writes 1.
      std::string sibling;
      long percent = GetPropertyText("AutoExposure Percent", sibling) == DeviceError::Ok
                         ? controls::ParseDecimal(sibling)
                         : kDefaultPeakPercent;
      sdk->PutOption(74, static_cast<int>(percent));
    }
  }
  return 0;
}

// A percentage written while peak mode is off is not sent.
int Camera::OnAutoExposurePercent(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = kDefaultPeakPercent;
    sdk->GetOption(74, &value);
    prop->Set(static_cast<long>(IsPeakPercent(value) ? value : kDefaultPeakPercent));
  } else if (IsApply(kind)) {
    long percent = kDefaultPeakPercent;
    if (!prop->Get(percent)) return 0;
    std::string peak;
    if (GetPropertyText("AutoExposure Peak Mode", peak) == DeviceError::Ok &&
        peak == onOffValues[1]) {
      sdk->PutOption(74, static_cast<int>(percent));
    }
  }
  return 0;
}

// ---- gain ------------------------------------------------------------------------

int Camera::OnGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned short gain = 100;
    sdk->GetGain(&gain);
    prop->Set(static_cast<long>(gain));
  } else if (IsApply(kind)) {
    long gain = 0;
    if (prop->Get(gain)) sdk->SetGain(static_cast<unsigned short>(gain));
  }
  return 0;
}

// Option 25: 0 "LCG", 1 "HCG", 2 "MCG" on three-level models and "HDR" on
// the others. On three-level models the list order ("LCG", "MCG", "HCG")
// is not the option order, so the texts are mapped, not their positions.
int Camera::OnConversionGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    sdk->GetOption(25, &value);
    const char* text = value == 0   ? "LCG"
                       : value == 1 ? "HCG"
                       : ModelHas(SdkCapability::ThreeLevelConversionGain) ? "MCG"
                                                                           : "HDR";
    prop->Set(text);
  } else if (IsApply(kind)) {
    std::string text;
    if (!prop->Get(text)) return 0;
    sdk->PutOption(25, text == "LCG" ? 0 : text == "HCG" ? 1 : 2);
  }
  return 0;
}
