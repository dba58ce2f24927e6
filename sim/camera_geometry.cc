// Resolution, region, binning, rotation and pixel format of a SimCamera.
#include <algorithm>
#include <cmath>

#include "sim/camera_enter.h"
#include "sim/sim_camera.h"
#include "sim/status.h"

namespace qvsim {

unsigned SimCamera::BinFactorLocked() {
  const unsigned f = static_cast<unsigned>(s_.options[23]) & 0xF;
  return f == 0 ? 1 : f;
}

// The full frame is the current resolution binned and rotated; the region, put
// through the same binning and rotation, is the window of it that is seen.
SceneWindow SimCamera::SceneWindowLocked() {
  const SdkResolution& r = model_->record.resolutions[s_.resolutionIndex];
  const bool region = s_.roiWidth != 0;
  const unsigned f = BinFactorLocked();
  const unsigned fw = r.width / f, fh = r.height / f;
  const unsigned x = region ? s_.roiX / f : 0, y = region ? s_.roiY / f : 0;
  const unsigned w = region ? s_.roiWidth / f : fw, h = region ? s_.roiHeight / f : fh;
  SceneWindow win;
  switch (s_.options[24]) {
    case 90:  // clockwise: the sensor's left column becomes the top row
      win = {fh, fw, fh - y - h, x, h, w};
      break;
    case 180:
      win = {fw, fh, fw - x - w, fh - y - h, w, h};
      break;
    case 270:
      win = {fh, fw, y, fw - x - w, h, w};
      break;
    default:
      win = {fw, fh, x, y, w, h};
  }
  return win;
}

void SimCamera::OutputSizeLocked(unsigned* width, unsigned* height) {
  const SceneWindow win = SceneWindowLocked();
  *width = win.width;
  *height = win.height;
}

const std::vector<unsigned>& SimCamera::PixelFormatListLocked() {
  auto it = s_.named.find("GainMode");
  if (it != s_.named.end() && it->second == 3 && !model_->hdrPixelFormats.empty())
    return model_->hdrPixelFormats;
  return model_->pixelFormats;
}

unsigned SimCamera::PixelFormatLocked() { return static_cast<unsigned>(s_.options[26]); }

double SimCamera::RowTimeUsLocked() {
  return static_cast<double>(model_->readoutUsPerRow) / (1.0 + s_.speed);
}

unsigned SimCamera::RealExposureLocked() {
  // The sensor exposes whole rows; under mains light with auto exposure the
  // exposure snaps to whole flicker periods once it is longer than one.
  const double row = RowTimeUsLocked();
  double real = std::ceil(s_.exposureUs / row) * row;
  if (s_.autoExposure && s_.powerFrequency != 2) {
    const double flicker = s_.powerFrequency == 0 ? 1e6 / 120.0 : 1e6 / 100.0;
    if (real > flicker) real = std::floor(real / flicker) * flicker;
  }
  return static_cast<unsigned>(real);
}

int SimCamera::MaxFrameRateTenthsLocked() {
  if (!model_->has(SdkCapability::FrameRateControl)) return 0;
  // Fewer rows read out give proportionally more frames, up to 8 times.
  const double fullRows = model_->record.resolutions[0].height;
  const double rows =
      std::max(1u, (s_.roiWidth ? s_.roiHeight : model_->record.resolutions[s_.resolutionIndex].height) /
                       BinFactorLocked());
  const int bandwidth = s_.options.count(46) ? s_.options[46] : 100;
  const double tenths = model_->maxFrameRateTenths * std::min(8.0, fullRows / rows) * bandwidth / 100.0;
  return std::max(1, static_cast<int>(tenths));
}

int32_t SimCamera::SetResolutionIndex(unsigned index) {
  QV_ENTER(Call("SetResolutionIndex", index), "SetResolutionIndex", "");
  if (index >= model_->record.resolutionCount) return kInvalidArgument;
  qv::MutexLock lock(mu_);
  if (streaming_ && index != s_.resolutionIndex) return kWrongState;
  if (index != s_.resolutionIndex) {
    s_.resolutionIndex = index;
    s_.roiX = s_.roiY = s_.roiWidth = s_.roiHeight = 0;  // a region belongs to its resolution
  }
  return kOk;
}

int32_t SimCamera::GetResolutionIndex(unsigned* index) {
  QV_ENTER(Call("GetResolutionIndex"), "GetResolutionIndex", "");
  if (index == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  *index = s_.resolutionIndex;
  return kOk;
}

int32_t SimCamera::SetSensorRegion(unsigned x, unsigned y, unsigned width, unsigned height) {
  QV_ENTER(Call("SetSensorRegion", x, y, width, height), "SetSensorRegion", "");
  qv::MutexLock lock(mu_);
  const bool clear = x == 0 && y == 0 && width == 0 && height == 0;
  const SdkResolution& r = model_->record.resolutions[s_.resolutionIndex];
  if (!clear) {
    if (width < 16 || height < 16 || (width | height | x | y) & 1u) return kInvalidArgument;
    if (x > r.width || width > r.width - x || y > r.height || height > r.height - y)
      return kInvalidArgument;
  }
  const bool same = clear ? s_.roiWidth == 0
                          : (s_.roiX == x && s_.roiY == y && s_.roiWidth == width && s_.roiHeight == height);
  if (same) return kOk;
  if (streaming_) return kWrongState;
  if (clear || (width == r.width && height == r.height)) {
    s_.roiX = s_.roiY = s_.roiWidth = s_.roiHeight = 0;
  } else {
    s_.roiX = x;
    s_.roiY = y;
    s_.roiWidth = width;
    s_.roiHeight = height;
  }
  return kOk;
}

int32_t SimCamera::GetSensorRegion(unsigned* x, unsigned* y, unsigned* width, unsigned* height) {
  QV_ENTER(Call("GetSensorRegion"), "GetSensorRegion", "");
  qv::MutexLock lock(mu_);
  const SdkResolution& r = model_->record.resolutions[s_.resolutionIndex];
  const bool none = s_.roiWidth == 0;
  if (x) *x = none ? 0 : s_.roiX;
  if (y) *y = none ? 0 : s_.roiY;
  if (width) *width = none ? r.width : s_.roiWidth;
  if (height) *height = none ? r.height : s_.roiHeight;
  return kOk;
}

int32_t SimCamera::GetOutputSize(unsigned* width, unsigned* height) {
  QV_ENTER(Call("GetOutputSize"), "GetOutputSize", "");
  if (width == nullptr || height == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  OutputSizeLocked(width, height);
  return kOk;
}

int32_t SimCamera::GetResolutionRatio(unsigned index, int* numerator, int* denominator) {
  QV_ENTER(Call("GetResolutionRatio", index), "GetResolutionRatio", "");
  if (index >= model_->record.resolutionCount) return kInvalidArgument;
  if (numerator == nullptr || denominator == nullptr) return kPointer;
  // A reduced resolution bins sensor pixels: each output pixel covers
  // full width / width sensor pixels per side.
  const unsigned full = model_->record.resolutions[0].width;
  const unsigned w = model_->record.resolutions[index].width;
  *numerator = static_cast<int>(std::lround(static_cast<double>(full) / w));
  *denominator = 1;
  return kOk;
}

int32_t SimCamera::GetRawFormat(unsigned* fourCC, unsigned* bitsPerPixel) {
  QV_ENTER(Call("GetRawFormat"), "GetRawFormat", "");
  qv::MutexLock lock(mu_);
  if (fourCC != nullptr) {
    const char* code = model_->mono() ? "YYYY" : "GRBG";
    *fourCC = static_cast<unsigned>(code[0]) | static_cast<unsigned>(code[1]) << 8 |
              static_cast<unsigned>(code[2]) << 16 | static_cast<unsigned>(code[3]) << 24;
  }
  if (bitsPerPixel != nullptr) *bitsPerPixel = PixelFormatAt(PixelFormatLocked()).depth;
  return kOk;
}

}  // namespace qvsim
