// Test-pattern frames: a diagonal gradient with a bright bar that moves one
// step per frame and the frame number as a binary code in the top row.
//
// The gradient is precomputed once per geometry (FramePattern::Fit); a frame
// is rendered straight into the caller's buffer, without allocating. The
// level scales with exposure x gain, so auto exposure has something to
// regulate.
//
// Thread safety: none; the owning camera serialises Fit and Render.
#pragma once

#include <cstdint>
#include <vector>

namespace qvsim {

struct RenderRequest {
  unsigned width = 0, height = 0;
  unsigned components = 1;   // 1 mono, 4 colour (B, G, R, A)
  unsigned bytesPerComponent = 1;
  unsigned depth = 8;        // raw bits; 16-bit output holds values up to 2^depth - 1
  long rowPitch = 0;         // bytes between rows (>= packed row bytes)
  uint32_t scale = 0;        // signal: 65536 = full scale at the gradient's top
  uint32_t frameNumber = 0;
  bool negative = false;
  int colourGain[3] = {0, 0, 0};  // white balance, -127 .. 127, red, green, blue
};

class FramePattern {
 public:
  // Makes the gradient match the geometry (reallocates only when it changes).
  void Fit(unsigned width, unsigned height);
  // Writes one frame; the pattern must fit req.width x req.height.
  void Render(const RenderRequest& req, void* buffer) const;
  // Mean gradient level, 0 .. 1 (for auto exposure).
  double MeanLevel() const { return 0.5; }

 private:
  unsigned width_ = 0, height_ = 0;
  std::vector<uint16_t> base_;
};

// The signal scale for an exposure (microseconds) and gain (percent); 20 ms
// at unity gain is full scale.
uint32_t SignalScale(double exposureUs, double gainPercent, unsigned binFactor, bool binAdds);

}  // namespace qvsim
