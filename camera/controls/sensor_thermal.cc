// Sensor, thermal and power handlers of the Camera: temperature, cooler
// (TEC, target, power), fan, heater, mains frequency, the readout and noise
// modes, binning mode and method, and the read-only figures (pixel size,
// frame and snap statistics). The SDK uses tenths of a degree; the host
// sees degrees Celsius.
#include <string>

#include <boost/format.hpp>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"
#include "framework/value_text.h"

using controls::IsApply;
using controls::IsRefresh;
using MM::value_text::TruncateToLong;

namespace {

constexpr int kBinningAverageBit = 0x80;
constexpr int kBinFactorMask = 0x0F;
// Bits 1 to 3 of option 23: a bin factor above 1 is active.
constexpr int kBinningActiveBits = 0x0E;

// "OFF" for level 0, else the level in decimal (fan and heater).
std::string LevelText(const Camera& camera, long level) {
  return level == 0 ? camera.onOffValues[0] : MM::value_text::FormatLong(level);
}

}  // namespace

// ---- thermal -------------------------------------------------------------------------

// A failed read leaves the last temperature shown.
int Camera::OnTemperature(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    short tenths = 0;
    if (sdk->GetTemperature(&tenths) >= 0) prop->Set(tenths / 10.0);
  }
  return 0;
}

// The camera may start its fan with the cooler, so switching on republishes it.
int Camera::OnTec(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  controls::OptionFlag(*this, 8, 0, onOffValues, prop, kind);
  if (IsApply(kind) && IndexOfValue(prop, onOffValues) == 1) RefreshAndNotify("Fan");
  return 0;
}

int Camera::OnTecTarget(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int tenths = 0;
    sdk->GetTecTarget(&tenths);
    prop->Set(tenths / 10.0);
  } else if (IsApply(kind)) {
    double degrees = 10.0;
    if (prop->Get(degrees)) sdk->SetTecTarget(static_cast<int>(TruncateToLong(degrees * 10)));
  }
  return 0;
}

// Current cooler power (option 32) as a percentage of its maximum (option
// 33); nothing is stored when either read fails or makes no sense.
int Camera::OnTecPower(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk() || !IsRefresh(kind)) return 0;
  int maximum = 0;
  if (sdk->GetOption(33, &maximum) < 0 || maximum <= 0) return 0;
  int current = 0;
  if (sdk->GetOption(32, &current) < 0 || current < 0) return 0;
  prop->Set(current * 100.0 / maximum);
  return 0;
}

// Stopping the fan may stop the cooler, so "OFF" republishes "TEC".
int Camera::OnFan(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    unsigned short speed = 0;
    sdk->GetFanSpeed(&speed);
    prop->Set(LevelText(*this, speed).c_str());
  } else if (IsApply(kind)) {
    std::string text;
    if (!prop->Get(text)) return 0;
    if (text == onOffValues[0]) {
      sdk->SetFanSpeed(0);
      RefreshAndNotify("TEC");
    } else {
      sdk->SetFanSpeed(static_cast<unsigned short>(controls::ParseDecimal(text)));
    }
  }
  return 0;
}

int Camera::OnHeat(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int level = 0;
    sdk->GetOption(55, &level);
    prop->Set(LevelText(*this, level).c_str());
  } else if (IsApply(kind)) {
    std::string text;
    if (!prop->Get(text)) return 0;
    sdk->PutOption(55, text == onOffValues[0] ? 0 : static_cast<int>(controls::ParseDecimal(text)));
  }
  return 0;
}

// ---- power -----------------------------------------------------------------------------

// The SDK may fit the real exposure to the flicker period, hence its refresh.
int Camera::OnPowerFrequency(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int frequency = 2;
    sdk->GetPowerFrequency(&frequency);
    prop->Set(frequency == 0 ? "60HZ" : frequency == 1 ? "50HZ" : "DC");
  } else if (IsApply(kind)) {
    std::string text;
    if (!prop->Get(text)) return 0;
    sdk->SetPowerFrequency(text == "60HZ" ? 0 : text == "50HZ" ? 1 : 2);
    RefreshAndNotify("RealExposure");
  }
  return 0;
}

int Camera::OnLowPowerConsumption(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionFlag(*this, 102, 0, onOffValues, prop, kind) : 0;
}

// ---- sensor modes ------------------------------------------------------------------------

int Camera::OnLowNoise(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionFlag(*this, 56, 0, onOffValues, prop, kind) : 0;
}
int Camera::OnGlobalResetMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionFlag(*this, 58, 0, onOffValues, prop, kind) : 0;
}
int Camera::OnAntiShutterEffect(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionFlag(*this, 75, 0, onOffValues, prop, kind) : 0;
}
int Camera::OnMechanicalShutter(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionFlag(*this, 118, 0, shutterValues, prop, kind) : 0;
}
int Camera::OnReadoutMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionPosition(*this, 105, readoutModeValues, prop, kind) : 0;
}
int Camera::OnLane(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionPosition(*this, 126, laneValues, prop, kind) : 0;
}
int Camera::OnCorrelatedDoubleSampling(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionNumber(*this, 110, 0, prop, kind) : 0;
}

// The write takes the SDK's default as the pre-set of the property read,
// which always succeeds, so the property's value is what is sent.
int Camera::OnAntiBlooming(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (!IsApply(kind)) return controls::OptionNumber(*this, 139, 0, prop, kind);
  long value = sdk->QueryCapability("defAntiBlooming");
  prop->Get(value);
  sdk->PutOption(139, static_cast<int>(value));
  return 0;
}

int Camera::OnVoltageBias(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int bias = 0;
    sdk->GetOption(127, &bias);
    prop->Set(static_cast<double>(bias));
  } else if (IsApply(kind)) {
    double bias = 0.0;
    if (prop->Get(bias)) sdk->PutOption(127, static_cast<int>(TruncateToLong(bias)));
  }
  return 0;
}

// ---- binning mode and method ----------------------------------------------------------------

// "Mode": 0 bins, anything else skips.
int Camera::OnBinningSkipMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int mode = 0;
    sdk->GetBinningMode(&mode);
    prop->Set(mode == 0 ? "Bin" : "Skip");
  } else if (IsApply(kind)) {
    std::string text;
    if (prop->Get(text)) sdk->SetBinningMode(text == "Skip" ? 1 : 0);
  }
  return 0;
}

// The method is kept in binningAverage and merged into option 23 at once
// only while a factor above 1 is active; otherwise the next binning write
// applies it.
int Camera::OnBinningMethod(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    prop->Set(binningAverage ? "Average" : "Add");
    return 0;
  }
  if (!IsApply(kind)) return 0;
  std::string text;
  if (!prop->Get(text)) return 0;
  binningAverage = text == "Average";
  int binning = 1;
  sdk->GetOption(23, &binning);
  if ((binning & kBinningActiveBits) == 0) return 0;
  const int wanted = (binning & kBinFactorMask) | (binningAverage ? kBinningAverageBit : 0);
  if (wanted != binning) sdk->PutOption(23, wanted);
  return 0;
}

// ---- read-only figures ---------------------------------------------------------------------

int Camera::OnPixelSize(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (HasSdk() && IsRefresh(kind)) prop->Set(PixelSizeUm());
  return 0;
}

int Camera::OnFrameStat(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (HasSdk() && IsRefresh(kind)) prop->Set(FrameStatisticsText().c_str());
  return 0;
}

int Camera::OnSnapStat(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (HasSdk() && IsRefresh(kind)) {
    prop->Set((boost::format("%u") % snapCount.load()).str().c_str());
  }
  return 0;
}
