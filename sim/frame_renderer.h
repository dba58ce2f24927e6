// Test-pattern frames: the simulated scene (sim/scene.h: a specimen of beads
// and cells, on colour cameras over a colour chart with reference squares)
// with a bright bar that moves one step per frame and the frame number as a
// binary code in the top rows.
//
// The scene is built once per geometry (FramePattern::Fit: the window of the
// full frame that the output shows, see SceneWindow) as 12-bit levels,
// one per component. The picture for one set of parameters (layout, exposure x gain,
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

#include "sim/scene.h"

namespace qvsim {

struct RenderRequest {
  // Everything but rowPitch and frameNumber decides the cached picture.
  unsigned width = 0, height = 0;
  unsigned components = 1;   // 1 mono, 4 colour (B, G, R, A in memory order)
  unsigned bytesPerComponent = 1;
  unsigned depth = 8;        // raw bits; 16-bit output holds values up to 2^depth - 1
  long rowPitch = 0;         // bytes between rows (>= packed row bytes)
  uint32_t scale = 0;        // signal: 65536 maps the scene's top level to full scale
  uint32_t frameNumber = 0;
  bool negative = false;
  int colourGain[3] = {0, 0, 0};  // white balance, -127 .. 127: red, green, blue
};

class FramePattern {
 public:
  static constexpr unsigned kLevels = kSceneLevels;

  // Makes the scene match the window and layout (components 1 or 4, as in
  // RenderRequest); rebuilds only when one of them changes. Frames are then
  // window.width x window.height.
  void Fit(const SceneWindow& window, unsigned components);
  // Writes one frame; does nothing unless the pattern fits the request's
  // width, height and components.
  void Render(const RenderRequest& req, void* buffer);
  // Mean scene level, 0 .. 1 (for auto exposure).
  double MeanLevel() const { return meanLevel_; }

 private:
  template <typename T>
  void RenderPicture(const RenderRequest& req);
  template <typename T>
  void PaintOverlay(const RenderRequest& req, void* buffer) const;
  void FillTables(const RenderRequest& req);
  bool CacheMatches(const RenderRequest& req) const;

  SceneWindow window_;
  unsigned components_ = 0;
  double meanLevel_ = 0.5;
  std::vector<unsigned char> picture_;      // packed rows of the cached picture
  bool pictureValid_ = false;
  RenderRequest pictureKey_;
  std::vector<uint16_t> base_;              // scene levels, 1 or 3 (B, G, R) per pixel
  uint16_t table_[3][kLevels] = {};         // per component: level -> output value
  uint16_t full_[3] = {};                   // the value of a full-scale level
  uint16_t maxValue_ = 0;
};

// The signal scale for an exposure (microseconds) and gain (percent); 10 ms
// at unity gain is full scale.
uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds);

}  // namespace qvsim
