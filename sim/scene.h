// The simulated scene: what the camera looks at, as 12-bit levels per pixel
// (0 = black, kSceneLevels - 1 = full scale at 10 ms and unity gain).
//
// The scene is a function of the coordinates of the full frame (the sensor at
// the current resolution, binned and rotated); a window of it is what a sensor
// region sees: the same pixels, at the same scale and position, as the full
// frame has inside the window.
//
// Monochrome: a specimen — a dim background with a slow vignetting, a few
// large dim "cells" and many small bright "beads" (Gaussian spots), always the
// same (fixed seed), placed in fractions of the full frame so that a binned
// frame shows the same picture smaller.
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
// nearest edges of the full frame (side = min(width, height) / 8, at least 4;
// margin = side / 2). A window may hold none of them.
struct PatchLayout {
  unsigned side = 0, margin = 0;
};
PatchLayout ReferencePatches(unsigned width, unsigned height);

// The part of a fullWidth x fullHeight frame that is seen: width x height
// pixels from (x, y); x + width <= fullWidth, y + height <= fullHeight.
struct SceneWindow {
  unsigned fullWidth = 0, fullHeight = 0;
  unsigned x = 0, y = 0, width = 0, height = 0;
  bool operator==(const SceneWindow& o) const {
    return fullWidth == o.fullWidth && fullHeight == o.fullHeight && x == o.x && y == o.y &&
           width == o.width && height == o.height;
  }
};

// The whole frame as its own window.
SceneWindow FullFrame(unsigned width, unsigned height);

// Levels of the window's width x height pixels, `components` per pixel: 1
// (mono) or 3 (colour, memory order blue, green, red); each pixel has the
// level it has in the full frame. Returns the window's mean level, 0 .. 1.
double BuildScene(const SceneWindow& window, unsigned components, std::vector<uint16_t>* levels);

}  // namespace qvsim
