// Geometry and format of the delivered images: bin factor, region,
// resolution, rotation, pixel type, gain mode and factory settings. Every
// change that alters the frame size or format goes through RestartStream,
// which refits the frame buffer to what the SDK then reports; most of them
// are refused with 30 while a sequence runs.
#include <cstring>
#include <string>

#include <boost/format.hpp>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"
#include "camera/pixel_format.h"

using controls::IsApply;
using controls::IsRefresh;

namespace {

constexpr int kBinningAverageBit = 0x80;
constexpr int kBinFactorMask = 0x0F;
constexpr unsigned kMinimumRegionSide = 32;
// Position of the high-dynamic-range entry of gainModeValues.
constexpr int kHdrGainMode = 3;
// Slots ListNamedValues may fill.
constexpr int kPixelFormatSlots = 128;

std::string ResolutionText(const SdkResolution& r) {
  return (boost::format("%u x %u") % r.width % r.height).str();
}

// At least the minimum side, lowered to an even number.
unsigned RegionSide(unsigned side) {
  if (side < kMinimumRegionSide) side = kMinimumRegionSide;
  return side & ~1u;
}

// Mirrors offset on a flipped axis of `full` pixels. A region reaching
// beyond the sensor is first pulled back onto it (its side cut to the
// sensor, its offset moved in), so the mirrored offset cannot wrap around.
void MirrorOnSensor(unsigned full, unsigned& offset, unsigned& side) {
  if (side > full) side = full;
  if (offset > full - side) offset = (full - side) & ~1u;
  offset = full - offset - side;
}

// Rotations 0 and 180 keep the frame's orientation, as do 90 and 270.
bool KeepsOrientation(long current, long wanted) {
  const bool currentUpright = current == 0 || current == 180;
  if (currentUpright) return wanted == 0 || wanted == 180;
  return wanted == 90 || wanted == 270;
}

}  // namespace

// ---- camera operations -----------------------------------------------------------

int Camera::BinFactor() const {
  if (!HasSdk()) return 1;
  int binning = 0;
  sdk->GetOption(23, &binning);
  return binning & kBinFactorMask;
}

int Camera::SetBinFactor(int factor) {
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  if (factor < 1 || factor > 8) return DeviceError::InvalidPropertyValue;
  int current = 1;
  sdk->GetOption(23, &current);
  const int value = factor | (binningAverage ? kBinningAverageBit : 0);
  if (value == current) return DeviceError::Ok;
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  RestartStream([this, value] { sdk->PutOption(23, value); });
  RefreshAndNotify("Binning");
  return DeviceError::Ok;
}

// Regions are given in the unflipped image; on a flipped axis the SDK wants
// the mirrored offset. No test for a running sequence is made.
int Camera::SetRegion(unsigned x, unsigned y, unsigned width, unsigned height) {
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  if (width == 0 && height == 0) return ClearRegion();
  SdkResolution full{0, 0};
  ResolutionAt(resolutionIndex, &full);
  width = RegionSide(width);
  height = RegionSide(height);
  x &= ~1u;
  y &= ~1u;
  int flipped = 0;
  sdk->GetVerticalFlip(&flipped);
  if (flipped != 0) MirrorOnSensor(full.height, y, height);
  flipped = 0;
  sdk->GetHorizontalFlip(&flipped);
  if (flipped != 0) MirrorOnSensor(full.width, x, width);
  RestartStream([=] { sdk->SetSensorRegion(x, y, width, height); });
  return DeviceError::Ok;
}

// What the SDK reports, mirroring on flipped axes not undone.
int Camera::GetRegion(unsigned& x, unsigned& y, unsigned& width, unsigned& height) {
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  sdk->GetSensorRegion(&x, &y, &width, &height);
  return DeviceError::Ok;
}

int Camera::ClearRegion() {
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  RestartStream([this] { sdk->SetSensorRegion(0, 0, 0, 0); });
  return DeviceError::Ok;
}

// ---- pixel formats ------------------------------------------------------------------

// An option 26 value outside the format table reads as the table's first
// format (PixelFormatAt never leaves the table).
std::string Camera::CurrentPixelTypeName() {
  int format = 0;
  if (HasSdk()) sdk->GetOption(26, &format);
  return PixelFormatAt(format).name;
}

// Option 12 follows the format's depth: 2 (colour) or 3 (mono) up to 8 bits,
// 1 (colour) or 4 (mono) above.
void Camera::ApplyOutputFormat() {
  if (!HasSdk()) return;
  int format = 0;
  sdk->GetOption(26, &format);
  const bool wide = PixelFormatAt(format).depth > 8;
  const bool mono = ModelHas(SdkCapability::Monochrome);
  sdk->PutOption(12, wide ? (mono ? 4 : 1) : (mono ? 3 : 2));
}

// The list ends at the first slot the SDK left empty, and never goes past
// the slots it was given, whatever count it reports.
void Camera::LoadPixelTypeList() {
  if (!HasSdk()) return;
  const char* names[kPixelFormatSlots] = {};
  int count = 0;
  sdk->ListNamedValues("PixelFormat", &count, 0, names);
  if (count > kPixelFormatSlots) count = kPixelFormatSlots;
  std::vector<std::string> list;
  for (int i = 0; i < count && names[i] != nullptr; ++i) list.emplace_back(names[i]);
  pixelTypeValues = std::move(list);
}

// ---- property handlers ------------------------------------------------------------------

int Camera::OnBinning(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int binning = 0;
    sdk->GetOption(23, &binning);
    prop->Set((boost::format("%d") % (binning & kBinFactorMask)).str().c_str());
  } else if (IsApply(kind)) {
    std::string text;
    // A refused factor leaves the written text shown until the next read.
    if (prop->Get(text)) SetBinFactor(static_cast<int>(controls::ParseDecimal(text)));
  }
  return 0;
}

int Camera::OnResolution(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    SdkResolution current{0, 0};
    if (ResolutionAt(resolutionIndex, &current)) prop->Set(ResolutionText(current).c_str());
    return 0;
  }
  if (!IsApply(kind)) return 0;
  std::string text;
  prop->Get(text);
  unsigned wanted = resolutionIndex;
  SdkResolution entry{0, 0};
  for (unsigned i = 0; ResolutionAt(i, &entry); ++i) {
    if (ResolutionText(entry) == text) {
      wanted = i;
      break;
    }
  }
  if (wanted == resolutionIndex) return 0;
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  RestartStream([this, wanted] {
    resolutionIndex = wanted;
    sdk->SetResolutionIndex(wanted);
  });
  RefreshExposureLimits();
  return 0;
}

// A quarter turn changes the frame's shape and needs a restart; a half turn
// within the same orientation is written directly, even during a sequence.
int Camera::OnRotate(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int degrees = 0;
    sdk->GetOption(24, &degrees);
    prop->Set((boost::format("%d") % degrees).str().c_str());
    return 0;
  }
  if (!IsApply(kind)) return 0;
  std::string text;
  const long wanted = prop->Get(text) ? controls::ParseDecimal(text) : 0;
  int current = 0;
  sdk->GetOption(24, &current);
  if (wanted == current) return 0;
  if (KeepsOrientation(current, wanted)) {
    sdk->PutOption(24, static_cast<int>(wanted));
    return 0;
  }
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  RestartStream([this, wanted] { sdk->PutOption(24, static_cast<int>(wanted)); });
  return 0;
}

int Camera::OnPixelType(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    prop->Set(CurrentPixelTypeName().c_str());
    return 0;
  }
  if (!IsApply(kind)) return 0;
  std::string text;
  prop->Get(text);
  if (text == CurrentPixelTypeName()) return 0;
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  const int format = FindPixelFormat(text);
  if (format < 0) return 0;
  RestartStream([this, format] {
    sdk->PutOption(26, format);
    ApplyOutputFormat();
  });
  RefreshExposureLimits();
  return 0;
}

// Entering or leaving the HDR gain mode changes which pixel formats exist:
// the list is reloaded and the SDK's current format is written to
// "PixelType" as the host would write it.
int Camera::OnGainMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int mode = 0;
    sdk->GetNamedValue("GainMode", &mode);
    SetValueByIndex(prop, mode, gainModeValues);  // a mode outside the list shows nothing new
    return 0;
  }
  if (!IsApply(kind)) return 0;
  std::string text;
  if (!prop->Get(text)) return 0;
  int previous = 0;
  sdk->GetNamedValue("GainMode", &previous);
  const int position = IndexOfValue(prop, gainModeValues);
  if (position < 0) return 0;
  sdk->SetNamedValue("GainMode", position);
  if ((previous == kHdrGainMode) == (position == kHdrGainMode)) return 0;
  LoadPixelTypeList();
  SetAllowedValues("PixelType", pixelTypeValues);
  char format[128];
  std::memset(format, 0, sizeof format);
  if (sdk->GetNamedValueText("PixelFormat", format) < 0) return 0;
  format[sizeof format - 1] = '\0';
  WriteProperty("PixelType", format);
  return 0;
}

// Any written text restores the factory settings; every property then
// takes the restored camera values.
int Camera::OnFactorySettings(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    prop->Set("----");
    return 0;
  }
  if (!IsApply(kind)) return 0;
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  // The restore may change the resolution entry: re-read it with the stream
  // stopped, so "Resolution", the pixel size and region mirroring follow the
  // frames the camera now delivers.
  RestartStream([this] {
    sdk->PutOption(31, 0);
    unsigned index = resolutionIndex;
    SdkResolution entryAt{};
    if (sdk->GetResolutionIndex(&index) >= 0 && ResolutionAt(index, &entryAt)) {
      resolutionIndex = index;
    }
  });
  RefreshExposureLimits();
  RefreshAllProperties();
  return 0;
}
