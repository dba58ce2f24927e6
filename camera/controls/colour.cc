// Colour and image-processing handlers of the Camera: white balance (mode,
// interval, the three gains), hue, saturation, brightness, contrast, gamma,
// flips, negative, denoise, sharpening, tone mapping, and the SDK's
// white-balance event.
//
// The white-balance mode is never kept here: it is derived from option 108
// (non-zero: continuous, with that interval) and the SDK parameter "AwbOff".
#include <array>
#include <string>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"

using controls::IsApply;
using controls::IsRefresh;

namespace {

constexpr int kModeOnce = 0, kModeContinuous = 1, kModeOff = 2;
// Sharpening writes carry this bit; reads show only the low 16 bits.
constexpr int kSharpeningWriteBit = 0x20000;

constexpr const char* kGainNames[3] = {"WhiteBalanceRGain", "WhiteBalanceGGain",
                                       "WhiteBalanceBGain"};

// Rewrites one element of the SDK's gain array, the other two as just read.
int WhiteBalanceGain(Camera& camera, int element, MM::PropertyBase* prop, MM::ActionKind kind) {
  std::array<int, 3> gains{0, 0, 0};
  if (IsRefresh(kind)) {
    camera.sdk->GetWhiteBalanceGain(gains.data());
    prop->Set(static_cast<long>(gains[static_cast<size_t>(element)]));
  } else if (IsApply(kind)) {
    long value = 0;
    if (!prop->Get(value)) return 0;
    camera.sdk->GetWhiteBalanceGain(gains.data());
    gains[static_cast<size_t>(element)] = static_cast<int>(value);
    camera.sdk->SetWhiteBalanceGain(gains.data());
  }
  return 0;
}

void RepublishGains(Camera& camera) {
  for (const char* name : kGainNames) camera.RefreshAndNotify(name);
}

}  // namespace

int Camera::CurrentWhiteBalanceMode() {
  if (!HasSdk()) return kModeOff;
  int interval = 0;
  sdk->GetOption(108, &interval);
  if (interval != 0) return kModeContinuous;
  int off = 0;
  sdk->GetParameter("AwbOff", &off);
  return off != 0 ? kModeOff : kModeOnce;
}

void Camera::OnSdkWhiteBalanceEvent() {
  if (!HasSdk()) return;
  RepublishGains(*this);
}

// ---- white balance -------------------------------------------------------------

int Camera::OnAutoWhiteBalance(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    SetValueByIndex(prop, CurrentWhiteBalanceMode(), whiteBalanceModeValues);
    return 0;
  }
  if (!IsApply(kind)) return 0;
  const int mode = IndexOfValue(prop, whiteBalanceModeValues);
  if (mode == kModeOnce) {
    sdk->PutOption(108, 0);
    sdk->WhiteBalanceOnce(nullptr, nullptr);
    sdk->SetParameter("AwbOff", 1);
  } else if (mode == kModeOff) {
    sdk->PutOption(108, 0);
    const int zero[3] = {0, 0, 0};
    sdk->SetWhiteBalanceGain(zero);
    RepublishGains(*this);
  } else {
    // Continuous runs with the interval kept in "AwbInterval".
    std::string interval;
    if (GetPropertyText("AutoWhiteBalanceInterval", interval) != DeviceError::Ok) return 0;
    sdk->PutOption(108, static_cast<int>(controls::ParseDecimal(interval)));
    sdk->SetParameter("AwbOff", 1);
  }
  return 0;
}

// A running continuous white balance keeps the interval it was started with.
int Camera::OnAutoWhiteBalanceInterval(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int interval = 1000;
    sdk->GetParameter("AwbInterval", &interval);
    prop->Set(static_cast<long>(interval));
  } else if (IsApply(kind)) {
    long interval = 0;
    if (prop->Get(interval)) sdk->SetParameter("AwbInterval", static_cast<int>(interval));
  }
  return 0;
}

int Camera::OnWhiteBalanceRGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? WhiteBalanceGain(*this, 0, prop, kind) : 0;
}
int Camera::OnWhiteBalanceGGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? WhiteBalanceGain(*this, 1, prop, kind) : 0;
}
int Camera::OnWhiteBalanceBGain(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? WhiteBalanceGain(*this, 2, prop, kind) : 0;
}

// ---- colour adjustment -----------------------------------------------------------

int Camera::OnHue(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkNumber(*this, &SdkCamera::GetHue, &SdkCamera::SetHue, prop, kind);
}
int Camera::OnSaturation(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkNumber(*this, &SdkCamera::GetSaturation, &SdkCamera::SetSaturation, prop,
                             kind);
}
int Camera::OnBrightness(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkNumber(*this, &SdkCamera::GetBrightness, &SdkCamera::SetBrightness, prop,
                             kind);
}
int Camera::OnContrast(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkNumber(*this, &SdkCamera::GetContrast, &SdkCamera::SetContrast, prop, kind);
}
int Camera::OnGamma(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkNumber(*this, &SdkCamera::GetGamma, &SdkCamera::SetGamma, prop, kind);
}

// ---- orientation and processing ------------------------------------------------------

int Camera::OnFlipHorizontal(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkFlag(*this, &SdkCamera::GetHorizontalFlip, &SdkCamera::SetHorizontalFlip,
                           prop, kind);
}
int Camera::OnFlipVertical(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkFlag(*this, &SdkCamera::GetVerticalFlip, &SdkCamera::SetVerticalFlip, prop,
                           kind);
}
int Camera::OnNegative(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::SdkFlag(*this, &SdkCamera::GetNegative, &SdkCamera::SetNegative, prop, kind);
}

int Camera::OnDenoise(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  return controls::OptionNumber(*this, 53, 0, prop, kind);
}

int Camera::OnSharpening(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    sdk->GetOption(30, &value);
    prop->Set(static_cast<long>(value & 0xFFFF));
  } else if (IsApply(kind)) {
    long value = 0;
    if (prop->Get(value)) sdk->PutOption(30, static_cast<int>(value) | kSharpeningWriteBit);
  }
  return 0;
}

// Option 10: 0 "OFF", 1 "Polynomial", anything else "Logarithmic".
int Camera::OnToneMapping(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    sdk->GetOption(10, &value);
    prop->Set(value == 0 ? "OFF" : value == 1 ? "Polynomial" : "Logarithmic");
  } else if (IsApply(kind)) {
    std::string text;
    if (!prop->Get(text)) return 0;
    sdk->PutOption(10, text == onOffValues[0] ? 0 : text == "Polynomial" ? 1 : 2);
  }
  return 0;
}
