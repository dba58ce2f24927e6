#include "sim/frame_renderer.h"

#include <algorithm>
#include <cstring>

namespace qvsim {
namespace {

constexpr unsigned kBarWidth = 8;
constexpr unsigned kCounterBits = 32;
constexpr unsigned kCounterCellWidth = 4;

template <typename T>
void RenderTyped(const RenderRequest& req, const uint16_t* base, void* buffer) {
  const uint32_t maxValue = (req.bytesPerComponent == 1) ? 255u : ((1u << std::min(req.depth, 16u)) - 1u);
  const unsigned shift = 16 - ((req.bytesPerComponent == 1) ? 8 : std::min(req.depth, 16u));
  const unsigned barStart = (req.frameNumber * kBarWidth) % (req.width ? req.width : 1);
  uint32_t componentScale[3];
  for (int c = 0; c < 3; ++c) componentScale[c] = static_cast<uint32_t>((256 + req.colourGain[c]));
  auto* out = static_cast<unsigned char*>(buffer);
  for (unsigned y = 0; y < req.height; ++y) {
    T* row = reinterpret_cast<T*>(out + static_cast<size_t>(y) * req.rowPitch);
    const uint16_t* in = base + static_cast<size_t>(y) * req.width;
    for (unsigned x = 0; x < req.width; ++x) {
      uint64_t level = (static_cast<uint64_t>(in[x]) * req.scale) >> 16;
      if (x >= barStart && x < barStart + kBarWidth) level = 65535;
      if (y < 2 && x < kCounterBits * kCounterCellWidth)
        level = ((req.frameNumber >> (x / kCounterCellWidth)) & 1u) ? 65535 : 0;
      if (level > 65535) level = 65535;
      uint32_t v = static_cast<uint32_t>(level) >> shift;
      if (req.negative) v = maxValue - std::min(v, maxValue);
      if (req.components == 1) {
        row[x] = static_cast<T>(std::min(v, maxValue));
      } else {
        T* px = row + static_cast<size_t>(x) * 4;
        // Memory order blue, green, red, alpha; gains indexed red, green, blue.
        px[0] = static_cast<T>(std::min<uint32_t>((v * componentScale[2]) >> 8, maxValue));
        px[1] = static_cast<T>(std::min<uint32_t>((v * componentScale[1]) >> 8, maxValue));
        px[2] = static_cast<T>(std::min<uint32_t>((v * componentScale[0]) >> 8, maxValue));
        px[3] = static_cast<T>(maxValue);
      }
    }
  }
}

}  // namespace

void FramePattern::Fit(unsigned width, unsigned height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  base_.assign(static_cast<size_t>(width) * height, 0);
  const double span = static_cast<double>(width) + height;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x)
      base_[static_cast<size_t>(y) * width + x] = static_cast<uint16_t>(65535.0 * (x + y) / span);
}

void FramePattern::Render(const RenderRequest& req, void* buffer) const {
  if (req.width != width_ || req.height != height_ || buffer == nullptr) return;
  if (req.bytesPerComponent == 1)
    RenderTyped<uint8_t>(req, base_.data(), buffer);
  else
    RenderTyped<uint16_t>(req, base_.data(), buffer);
}

uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds) {
  double s = exposureUs / 20000.0 * gainPercent / 100.0;
  if (binAdds) s *= static_cast<double>(binFactor) * binFactor;
  s = std::min(s, 64.0);
  return static_cast<uint32_t>(s * 65536.0);
}

}  // namespace qvsim
