#include "sim/scene.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qvsim {
namespace {

constexpr uint32_t kSeed = 20261024;
constexpr unsigned kCells = 14, kBeads = 160;
constexpr double kBackground = 0.2;       // specimen background, before vignetting
constexpr double kVignetting = 0.35;      // level lost in the corners
constexpr double kSpecimenOnChart = 0.5;  // the specimen's strength over the colour chart
constexpr double kRampTop = 0.45;         // red and green ramps end here
constexpr double kBlueLevel = 0.5;

// A Gaussian spot; position in fractions of width and height, sigma in
// fractions of the shorter side.
struct Spot {
  double x, y, sigma, amplitude;
};

// mt19937's output is fixed by the standard (distributions are not), so the
// scene is the same with every library.
std::vector<Spot> SpecimenSpots() {
  std::mt19937 random(kSeed);
  auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * (random() / 4294967296.0); };
  std::vector<Spot> spots;
  spots.reserve(kCells + kBeads);
  for (unsigned i = 0; i < kCells; ++i)
    spots.push_back({uniform(0, 1), uniform(0, 1), uniform(0.03, 0.06), uniform(0.12, 0.25)});
  for (unsigned i = 0; i < kBeads; ++i)
    spots.push_back({uniform(0, 1), uniform(0, 1), uniform(0.003, 0.008), uniform(0.45, 0.8)});
  return spots;
}

// Adds the spot to `sum` (the window's pixels, 1.0 = full scale) within 3
// sigma, as the product of a row and a column profile. Every term depends on
// full-frame coordinates only, so a window gets exactly the full frame's values.
void AddSpot(const Spot& s, const SceneWindow& win, std::vector<float>* sum, std::vector<float>* profile) {
  const double sigma = std::max(0.7, s.sigma * std::min(win.fullWidth, win.fullHeight));
  const double cx = s.x * win.fullWidth, cy = s.y * win.fullHeight, reach = 3 * sigma;
  const int x0 = std::max<int>(win.x, static_cast<int>(cx - reach));
  const int x1 = std::min<int>(win.x + win.width, cx + reach + 1);
  const int y0 = std::max<int>(win.y, static_cast<int>(cy - reach));
  const int y1 = std::min<int>(win.y + win.height, cy + reach + 1);
  if (x0 >= x1 || y0 >= y1) return;
  auto gauss = [&](double d) { return static_cast<float>(std::exp(-d * d / (2 * sigma * sigma))); };
  profile->resize(x1 - x0);
  for (int x = x0; x < x1; ++x) (*profile)[x - x0] = gauss(x + 0.5 - cx);
  for (int y = y0; y < y1; ++y) {
    const float gy = static_cast<float>(s.amplitude) * gauss(y + 0.5 - cy);
    float* row = sum->data() + static_cast<size_t>(y - win.y) * win.width;
    for (int x = x0; x < x1; ++x) row[x - win.x] += gy * (*profile)[x - x0];
  }
}

// Background plus spots, vignetted around the full frame's centre: 1.0 = full
// scale, not clipped; the window's pixels.
std::vector<float> Specimen(const SceneWindow& win) {
  std::vector<float> sum(static_cast<size_t>(win.width) * win.height, static_cast<float>(kBackground));
  std::vector<float> profile;
  for (const Spot& s : SpecimenSpots()) AddSpot(s, win, &sum, &profile);
  // 1 - k r^2 is a column term plus a row term.
  const double cx = win.fullWidth / 2.0, cy = win.fullHeight / 2.0, k = kVignetting / (cx * cx + cy * cy);
  std::vector<float> columnLoss(win.width);
  for (unsigned i = 0; i < win.width; ++i) {
    const double x = win.x + i + 0.5 - cx;
    columnLoss[i] = static_cast<float>(k * x * x);
  }
  for (unsigned j = 0; j < win.height; ++j) {
    const double y = win.y + j + 0.5 - cy;
    const float rowFactor = static_cast<float>(1.0 - k * y * y);
    float* row = sum.data() + static_cast<size_t>(j) * win.width;
    for (unsigned i = 0; i < win.width; ++i) row[i] *= rowFactor - columnLoss[i];
  }
  return sum;
}

uint16_t Level(float fraction) {
  const float level = fraction * (kSceneLevels - 1) + 0.5f;
  return static_cast<uint16_t>(std::clamp(level, 0.0f, kSceneLevels - 1.0f));
}

// The chart under the specimen, per pixel blue, green, red, then the specimen
// over it at kSpecimenOnChart; ramps and centre third span the full frame.
void ColourChart(const SceneWindow& win, const std::vector<float>& specimen, std::vector<uint16_t>* levels) {
  const unsigned fw = win.fullWidth, fh = win.fullHeight;
  std::vector<float> red(win.width);
  for (unsigned i = 0; i < win.width; ++i)
    red[i] = static_cast<float>(kRampTop * (win.x + i) / std::max(1u, fw - 1));
  for (unsigned j = 0; j < win.height; ++j) {
    const unsigned y = win.y + j;
    const float green = static_cast<float>(kRampTop * y / std::max(1u, fh - 1));
    const bool centreRows = y >= fh / 3 && y < 2 * fh / 3;
    const size_t rowStart = static_cast<size_t>(j) * win.width;
    uint16_t* out = levels->data() + rowStart * 3;
    for (unsigned i = 0; i < win.width; ++i, out += 3) {
      const unsigned x = win.x + i;
      const bool centre = centreRows && x >= fw / 3 && x < 2 * fw / 3;
      const float over = static_cast<float>(kSpecimenOnChart) * specimen[rowStart + i];
      out[0] = Level((centre ? static_cast<float>(kBlueLevel) : 0.0f) + over);
      out[1] = Level(green + over);
      out[2] = Level(red[i] + over);
    }
  }
}

// Red, green, blue and white squares in the full frame's corners, over
// everything else; only their part inside the window is painted.
void PaintPatches(const SceneWindow& win, std::vector<uint16_t>* levels) {
  const unsigned fw = win.fullWidth, fh = win.fullHeight;
  const PatchLayout p = ReferencePatches(fw, fh);
  if (fw < p.side + p.margin || fh < p.side + p.margin) return;
  const uint16_t full = kSceneLevels - 1;
  struct Patch {
    unsigned x, y;
    uint16_t blue, green, red;
  };
  const unsigned right = fw - p.margin - p.side, bottom = fh - p.margin - p.side;
  const Patch patches[] = {{p.margin, p.margin, 0, 0, full},
                           {right, p.margin, 0, full, 0},
                           {p.margin, bottom, full, 0, 0},
                           {right, bottom, full, full, full}};
  for (const Patch& patch : patches) {
    const unsigned x0 = std::max(patch.x, win.x), x1 = std::min(patch.x + p.side, win.x + win.width);
    const unsigned y0 = std::max(patch.y, win.y), y1 = std::min(patch.y + p.side, win.y + win.height);
    for (unsigned y = y0; y < y1; ++y)
      for (unsigned x = x0; x < x1; ++x) {
        uint16_t* px = levels->data() + (static_cast<size_t>(y - win.y) * win.width + (x - win.x)) * 3;
        px[0] = patch.blue;
        px[1] = patch.green;
        px[2] = patch.red;
      }
  }
}

}  // namespace

PatchLayout ReferencePatches(unsigned width, unsigned height) {
  PatchLayout p;
  p.side = std::max(4u, std::min(width, height) / 8);
  p.margin = p.side / 2;
  return p;
}

SceneWindow FullFrame(unsigned width, unsigned height) {
  SceneWindow w;
  w.fullWidth = w.width = width;
  w.fullHeight = w.height = height;
  return w;
}

double BuildScene(const SceneWindow& window, unsigned components, std::vector<uint16_t>* levels) {
  const size_t pixels = static_cast<size_t>(window.width) * window.height;
  levels->resize(pixels * components);  // every level is written below
  if (pixels == 0) return 0.0;
  const std::vector<float> specimen = Specimen(window);
  if (components == 1) {
    for (size_t i = 0; i < pixels; ++i) (*levels)[i] = Level(specimen[i]);
  } else {
    ColourChart(window, specimen, levels);
    PaintPatches(window, levels);
  }
  uint64_t total = 0;
  for (uint16_t level : *levels) total += level;
  return static_cast<double>(total) / levels->size() / (kSceneLevels - 1);
}

}  // namespace qvsim
