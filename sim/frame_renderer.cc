#include "sim/frame_renderer.h"

#include <algorithm>

namespace qvsim {
namespace {

constexpr unsigned kBarWidth = 8;
constexpr unsigned kCounterBits = 32;
constexpr unsigned kCounterCellWidth = 4;
constexpr unsigned kCounterRows = 2;

}  // namespace

void FramePattern::Fit(unsigned width, unsigned height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  base_.assign(static_cast<size_t>(width) * height, 0);
  const double span = static_cast<double>(width) + height;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x)
      base_[static_cast<size_t>(y) * width + x] = static_cast<uint16_t>((kLevels - 1) * (x + y) / span);
}

// Output value per level and component: level x signal, clipped, in the output
// range, white-balanced, inverted for a negative image.
void FramePattern::FillTables(const RenderRequest& req) {
  const unsigned bits = req.bytesPerComponent == 1 ? 8 : std::min(req.depth, 16u);
  maxValue_ = static_cast<uint16_t>((1u << bits) - 1);
  // Memory order blue, green, red; gains are given red, green, blue.
  const int gains[3] = {req.colourGain[2], req.colourGain[1], req.colourGain[0]};
  const unsigned tables = req.components == 1 ? 1 : 3;
  for (unsigned c = 0; c < tables; ++c) {
    const uint64_t factor = req.components == 1 ? 256 : static_cast<uint64_t>(256 + gains[c]);
    auto value = [&](uint64_t level16) {
      uint64_t v = std::min<uint64_t>((level16 * factor) >> 8, 65535) >> (16 - bits);
      v = std::min<uint64_t>(v, maxValue_);
      return static_cast<uint16_t>(req.negative ? maxValue_ - v : v);
    };
    for (unsigned level = 0; level < kLevels; ++level)
      table_[c][level] = value(std::min<uint64_t>(((uint64_t{level} << 4) * req.scale) >> 16, 65535));
    full_[c] = value(65535);
  }
}

template <typename T>
void FramePattern::RenderTyped(const RenderRequest& req, void* buffer) const {
  const unsigned w = req.width;
  const unsigned barStart = (req.frameNumber * kBarWidth) % (w ? w : 1);
  const unsigned barEnd = std::min(w, barStart + kBarWidth);
  const T zero[3] = {static_cast<T>(req.negative ? maxValue_ : 0), static_cast<T>(req.negative ? maxValue_ : 0),
                     static_cast<T>(req.negative ? maxValue_ : 0)};
  auto* out = static_cast<unsigned char*>(buffer);
  for (unsigned y = 0; y < req.height; ++y) {
    T* row = reinterpret_cast<T*>(out + static_cast<size_t>(y) * req.rowPitch);
    const uint16_t* in = base_.data() + static_cast<size_t>(y) * w;
    if (req.components == 1) {
      const uint16_t* t = table_[0];
      for (unsigned x = 0; x < w; ++x) row[x] = static_cast<T>(t[in[x]]);
      for (unsigned x = barStart; x < barEnd; ++x) row[x] = static_cast<T>(full_[0]);
      if (y < kCounterRows)
        for (unsigned x = 0; x < std::min(w, kCounterBits * kCounterCellWidth); ++x)
          row[x] = ((req.frameNumber >> (x / kCounterCellWidth)) & 1u) ? static_cast<T>(full_[0]) : zero[0];
      continue;
    }
    for (unsigned x = 0; x < w; ++x) {
      T* px = row + static_cast<size_t>(x) * 4;
      const uint16_t level = in[x];
      px[0] = static_cast<T>(table_[0][level]);
      px[1] = static_cast<T>(table_[1][level]);
      px[2] = static_cast<T>(table_[2][level]);
      px[3] = static_cast<T>(maxValue_);
    }
    auto paint = [&](unsigned x, bool on) {
      T* px = row + static_cast<size_t>(x) * 4;
      for (int c = 0; c < 3; ++c) px[c] = on ? static_cast<T>(full_[c]) : zero[c];
    };
    for (unsigned x = barStart; x < barEnd; ++x) paint(x, true);
    if (y < kCounterRows)
      for (unsigned x = 0; x < std::min(w, kCounterBits * kCounterCellWidth); ++x)
        paint(x, (req.frameNumber >> (x / kCounterCellWidth)) & 1u);
  }
}

void FramePattern::Render(const RenderRequest& req, void* buffer) {
  if (req.width != width_ || req.height != height_ || buffer == nullptr) return;
  FillTables(req);
  if (req.bytesPerComponent == 1)
    RenderTyped<uint8_t>(req, buffer);
  else
    RenderTyped<uint16_t>(req, buffer);
}

uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds) {
  double s = exposureUs / 20000.0 * gainPercent / 100.0;
  if (binAdds) s *= static_cast<double>(binFactor) * binFactor;
  s = std::min(s, 64.0);
  return static_cast<uint32_t>(s * 65536.0);
}

}  // namespace qvsim
