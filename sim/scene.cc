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

// Adds the spot to `sum` (width x height, 1.0 = full scale) within 3 sigma,
// as the product of a row and a column profile.
void AddSpot(const Spot& s, unsigned width, unsigned height, std::vector<float>* sum,
             std::vector<float>* profile) {
  const double sigma = std::max(0.7, s.sigma * std::min(width, height));
  const double cx = s.x * width, cy = s.y * height, reach = 3 * sigma;
  const int x0 = std::max(0, static_cast<int>(cx - reach)), x1 = std::min<int>(width, cx + reach + 1);
  const int y0 = std::max(0, static_cast<int>(cy - reach)), y1 = std::min<int>(height, cy + reach + 1);
  if (x0 >= x1 || y0 >= y1) return;
  auto gauss = [&](double d) { return static_cast<float>(std::exp(-d * d / (2 * sigma * sigma))); };
  profile->resize(x1 - x0);
  for (int x = x0; x < x1; ++x) (*profile)[x - x0] = gauss(x + 0.5 - cx);
  for (int y = y0; y < y1; ++y) {
    const float gy = static_cast<float>(s.amplitude) * gauss(y + 0.5 - cy);
    float* row = sum->data() + static_cast<size_t>(y) * width;
    for (int x = x0; x < x1; ++x) row[x] += gy * (*profile)[x - x0];
  }
}

// Background plus spots, vignetted: 1.0 = full scale, not clipped.
std::vector<float> Specimen(unsigned width, unsigned height) {
  std::vector<float> sum(static_cast<size_t>(width) * height, static_cast<float>(kBackground));
  std::vector<float> profile;
  for (const Spot& s : SpecimenSpots()) AddSpot(s, width, height, &sum, &profile);
  // 1 - k r^2 is a column term plus a row term.
  const double cx = width / 2.0, cy = height / 2.0, k = kVignetting / (cx * cx + cy * cy);
  std::vector<float> columnLoss(width);
  for (unsigned x = 0; x < width; ++x) columnLoss[x] = static_cast<float>(k * (x + 0.5 - cx) * (x + 0.5 - cx));
  for (unsigned y = 0; y < height; ++y) {
    const float rowFactor = static_cast<float>(1.0 - k * (y + 0.5 - cy) * (y + 0.5 - cy));
    float* row = sum.data() + static_cast<size_t>(y) * width;
    for (unsigned x = 0; x < width; ++x) row[x] *= rowFactor - columnLoss[x];
  }
  return sum;
}

uint16_t Level(float fraction) {
  const float level = fraction * (kSceneLevels - 1) + 0.5f;
  return static_cast<uint16_t>(std::clamp(level, 0.0f, kSceneLevels - 1.0f));
}

// The chart under the specimen, per pixel blue, green, red, then the specimen
// over it at kSpecimenOnChart.
void ColourChart(unsigned width, unsigned height, const std::vector<float>& specimen,
                 std::vector<uint16_t>* levels) {
  std::vector<float> red(width);
  for (unsigned x = 0; x < width; ++x) red[x] = static_cast<float>(kRampTop * x / std::max(1u, width - 1));
  for (unsigned y = 0; y < height; ++y) {
    const float green = static_cast<float>(kRampTop * y / std::max(1u, height - 1));
    const bool centreRows = y >= height / 3 && y < 2 * height / 3;
    const size_t rowStart = static_cast<size_t>(y) * width;
    uint16_t* out = levels->data() + rowStart * 3;
    for (unsigned x = 0; x < width; ++x, out += 3) {
      const bool centre = centreRows && x >= width / 3 && x < 2 * width / 3;
      const float over = static_cast<float>(kSpecimenOnChart) * specimen[rowStart + x];
      out[0] = Level((centre ? static_cast<float>(kBlueLevel) : 0.0f) + over);
      out[1] = Level(green + over);
      out[2] = Level(red[x] + over);
    }
  }
}

// Red, green, blue and white squares in the corners, over everything else.
void PaintPatches(unsigned width, unsigned height, std::vector<uint16_t>* levels) {
  const PatchLayout p = ReferencePatches(width, height);
  if (width < p.side + p.margin || height < p.side + p.margin) return;
  const uint16_t full = kSceneLevels - 1;
  struct Patch {
    unsigned x, y;
    uint16_t blue, green, red;
  };
  const unsigned right = width - p.margin - p.side, bottom = height - p.margin - p.side;
  const Patch patches[] = {{p.margin, p.margin, 0, 0, full},
                           {right, p.margin, 0, full, 0},
                           {p.margin, bottom, full, 0, 0},
                           {right, bottom, full, full, full}};
  for (const Patch& patch : patches)
    for (unsigned y = patch.y; y < patch.y + p.side; ++y)
      for (unsigned x = patch.x; x < patch.x + p.side; ++x) {
        uint16_t* px = levels->data() + (static_cast<size_t>(y) * width + x) * 3;
        px[0] = patch.blue;
        px[1] = patch.green;
        px[2] = patch.red;
      }
}

}  // namespace

PatchLayout ReferencePatches(unsigned width, unsigned height) {
  PatchLayout p;
  p.side = std::max(4u, std::min(width, height) / 8);
  p.margin = p.side / 2;
  return p;
}

double BuildScene(unsigned width, unsigned height, unsigned components, std::vector<uint16_t>* levels) {
  const size_t pixels = static_cast<size_t>(width) * height;
  levels->resize(pixels * components);  // every level is written below
  if (pixels == 0) return 0.0;
  const std::vector<float> specimen = Specimen(width, height);
  if (components == 1) {
    for (size_t i = 0; i < pixels; ++i) (*levels)[i] = Level(specimen[i]);
  } else {
    ColourChart(width, height, specimen, levels);
    PaintPatches(width, height, levels);
  }
  uint64_t total = 0;
  for (uint16_t level : *levels) total += level;
  return static_cast<double>(total) / levels->size() / (kSceneLevels - 1);
}

}  // namespace qvsim
