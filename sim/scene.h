// The simulated scene: what the camera looks at, as 12-bit levels per pixel
// of the output geometry (0 = black, kSceneLevels - 1 = full scale at 10 ms
// and unity gain).
//
// Monochrome: a specimen — a dim background with a slow vignetting, a few
// large dim "cells" and many small bright "beads" (Gaussian spots), always the
// same (fixed seed), placed in fractions of the frame so that a binned frame
// shows the same picture smaller.
// Colour: the specimen at half strength on a colour chart — red grows left to
// right, green top to bottom, blue is a constant mid level in the centre
// third — and four reference squares that tell the channel order: pure red top
// left, pure green top right, pure blue bottom left, white bottom right.
//
// Thread safety: pure functions.
#pragma once

#include <cstdint>
#include <vector>

namespace qvsim {

constexpr unsigned kSceneLevels = 4096;

// The reference squares: `side` x `side` pixels, `margin` pixels from the two
// nearest edges (side = min(width, height) / 8, at least 4; margin = side / 2).
struct PatchLayout {
  unsigned side = 0, margin = 0;
};
PatchLayout ReferencePatches(unsigned width, unsigned height);

// Levels of a width x height scene, `components` per pixel: 1 (mono) or 3
// (colour, memory order blue, green, red). Returns the mean level, 0 .. 1.
double BuildScene(unsigned width, unsigned height, unsigned components, std::vector<uint16_t>* levels);

}  // namespace qvsim
