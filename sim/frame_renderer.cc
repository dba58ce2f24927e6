#include "sim/frame_renderer.h"

#include <algorithm>
#include <cstring>

namespace qvsim {
namespace {

constexpr unsigned kBarWidth = 8;
constexpr unsigned kCounterBits = 32;
constexpr unsigned kCounterCellWidth = 4;
constexpr unsigned kCounterRows = 2;

}  // namespace

void FramePattern::Fit(const SceneWindow& window, unsigned components) {
  if (window == window_ && components == components_) return;
  pictureValid_ = false;
  window_ = window;
  components_ = components;
  meanLevel_ = BuildScene(window, components == 1 ? 1 : 3, &base_);
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

bool FramePattern::CacheMatches(const RenderRequest& req) const {
  const RenderRequest& k = pictureKey_;
  return pictureValid_ && k.width == req.width && k.height == req.height &&
         k.components == req.components && k.bytesPerComponent == req.bytesPerComponent &&
         k.depth == req.depth && k.scale == req.scale && k.negative == req.negative &&
         k.colourGain[0] == req.colourGain[0] && k.colourGain[1] == req.colourGain[1] &&
         k.colourGain[2] == req.colourGain[2];
}

template <typename T>
void FramePattern::RenderPicture(const RenderRequest& req) {
  const size_t rowBytes = static_cast<size_t>(req.width) * req.components * sizeof(T);
  picture_.resize(rowBytes * req.height);  // reallocates only when the layout grows
  T* out = reinterpret_cast<T*>(picture_.data());
  const size_t pixels = static_cast<size_t>(req.width) * req.height;
  if (req.components == 1) {
    for (size_t i = 0; i < pixels; ++i) out[i] = static_cast<T>(table_[0][base_[i]]);
    return;
  }
  for (size_t i = 0; i < pixels; ++i) {
    const uint16_t* level = &base_[i * 3];
    T* px = out + i * 4;
    px[0] = static_cast<T>(table_[0][level[0]]);
    px[1] = static_cast<T>(table_[1][level[1]]);
    px[2] = static_cast<T>(table_[2][level[2]]);
    px[3] = static_cast<T>(maxValue_);
  }
}

// The moving bar and the frame counter, painted over the copied picture.
template <typename T>
void FramePattern::PaintOverlay(const RenderRequest& req, void* buffer) const {
  const unsigned w = req.width;
  const unsigned n = req.components;
  const unsigned barStart = (req.frameNumber * kBarWidth) % (w ? w : 1);
  const unsigned barEnd = std::min(w, barStart + kBarWidth);
  const T dark = static_cast<T>(req.negative ? maxValue_ : 0);
  auto* out = static_cast<unsigned char*>(buffer);
  auto paint = [&](T* row, unsigned x, bool on) {
    T* px = row + static_cast<size_t>(x) * n;
    for (unsigned c = 0; c < (n == 1 ? 1u : 3u); ++c) px[c] = on ? static_cast<T>(full_[c]) : dark;
  };
  for (unsigned y = 0; y < req.height; ++y) {
    T* row = reinterpret_cast<T*>(out + static_cast<size_t>(y) * req.rowPitch);
    for (unsigned x = barStart; x < barEnd; ++x) paint(row, x, true);
    if (y < kCounterRows)
      for (unsigned x = 0; x < std::min(w, kCounterBits * kCounterCellWidth); ++x)
        paint(row, x, (req.frameNumber >> (x / kCounterCellWidth)) & 1u);
  }
}

void FramePattern::Render(const RenderRequest& req, void* buffer) {
  if (req.width != window_.width || req.height != window_.height || req.components != components_ ||
      buffer == nullptr)
    return;
  const bool wide = req.bytesPerComponent != 1;
  if (!CacheMatches(req)) {
    FillTables(req);
    if (wide) RenderPicture<uint16_t>(req);
    else RenderPicture<uint8_t>(req);
    pictureKey_ = req;
    pictureValid_ = true;
  }
  const size_t rowBytes = static_cast<size_t>(req.width) * req.components * req.bytesPerComponent;
  auto* out = static_cast<unsigned char*>(buffer);
  if (static_cast<size_t>(req.rowPitch) == rowBytes) {
    std::memcpy(out, picture_.data(), rowBytes * req.height);
  } else {
    for (unsigned y = 0; y < req.height; ++y)
      std::memcpy(out + static_cast<size_t>(y) * req.rowPitch, picture_.data() + y * rowBytes, rowBytes);
  }
  if (wide) PaintOverlay<uint16_t>(req, buffer);
  else PaintOverlay<uint8_t>(req, buffer);
}

uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds) {
  double s = exposureUs / 10000.0 * gainPercent / 100.0;
  if (binAdds) s *= static_cast<double>(binFactor) * binFactor;
  s = std::min(s, 64.0);
  return static_cast<uint32_t>(s * 65536.0);
}

}  // namespace qvsim
