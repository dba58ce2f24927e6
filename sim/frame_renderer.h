// Test-pattern frames: a diagonal gradient with a bright bar that moves one
// step per frame and the frame number as a binary code in the top rows.
//
// The gradient is precomputed once per geometry (FramePattern::Fit) as 12-bit
// levels. The picture for one set of parameters (layout, exposure x gain,
// depth, white balance, negative) is rendered once into a cache through a
// per-level table; every frame is then a copy of the cache into the caller's
// buffer plus the bar and the counter painted over it: memcpy speed, no
// allocation. The level scales with exposure x gain, so auto exposure has
// something to regulate (while it moves, the cache is re-rendered per frame).
//
// Thread safety: none; the owning camera serialises Fit and Render.
#pragma once

#include <cstdint>
#include <vector>

namespace qvsim {

struct RenderRequest {
  // Everything but rowPitch and frameNumber decides the cached picture.
  unsigned width = 0, height = 0;
  unsigned components = 1;   // 1 mono, 4 colour (B, G, R, A in memory order)
  unsigned bytesPerComponent = 1;
  unsigned depth = 8;        // raw bits; 16-bit output holds values up to 2^depth - 1
  long rowPitch = 0;         // bytes between rows (>= packed row bytes)
  uint32_t scale = 0;        // signal: 65536 = full scale at the gradient's top
  uint32_t frameNumber = 0;
  bool negative = false;
  int colourGain[3] = {0, 0, 0};  // white balance, -127 .. 127: red, green, blue
};

class FramePattern {
 public:
  static constexpr unsigned kLevels = 4096;

  // Makes the gradient match the geometry (reallocates only when it changes).
  void Fit(unsigned width, unsigned height);
  // Writes one frame; does nothing unless the pattern fits req.width x req.height.
  void Render(const RenderRequest& req, void* buffer);
  // Mean gradient level, 0 .. 1 (for auto exposure).
  double MeanLevel() const { return 0.5; }

 private:
  template <typename T>
  void RenderPicture(const RenderRequest& req);
  template <typename T>
  void PaintOverlay(const RenderRequest& req, void* buffer) const;
  void FillTables(const RenderRequest& req);
  bool CacheMatches(const RenderRequest& req) const;

  unsigned width_ = 0, height_ = 0;
  std::vector<unsigned char> picture_;      // packed rows of the cached picture
  bool pictureValid_ = false;
  RenderRequest pictureKey_;
  std::vector<uint16_t> base_;              // levels 0 .. kLevels - 1
  uint16_t table_[3][kLevels] = {};         // per component: level -> output value
  uint16_t full_[3] = {};                   // the value of a full-scale level
  uint16_t maxValue_ = 0;
};

// The signal scale for an exposure (microseconds) and gain (percent); 10 ms
// at unity gain is full scale.
uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds);

}  // namespace qvsim
