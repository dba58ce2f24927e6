// What the frames show: the colour reference squares in memory order (B, G, R,
// A), the colour chart's channels, and the monochrome specimen.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace simtest {
namespace {

constexpr unsigned kBarWidth = 8;

struct Frame {
  unsigned width = 0, height = 0, components = 1;
  std::vector<uint16_t> values;  // width x height x components, memory order
  unsigned At(unsigned x, unsigned y, unsigned c) const {
    return values[(static_cast<size_t>(y) * width + x) * components + c];
  }
};

class PictureTest : public SimCameraTest {
 protected:
  // One software-triggered frame of the open camera, 8- or 16-bit components.
  Frame Pull(int bitsPerPixel) {
    Frame f;
    f.components = bitsPerPixel >= 32 ? 4 : 1;
    const unsigned bytes = bitsPerPixel / 8 / f.components;
    EXPECT_GE(cam->GetOutputSize(&f.width, &f.height), 0);
    EXPECT_GE(cam->PutOption(11, 1), 0);
    EXPECT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, EventCounter::Callback, nullptr,
                                  &events),
              0);
    EXPECT_GE(cam->TriggerFrames(1), 0);
    std::vector<unsigned char> raw(static_cast<size_t>(f.width) * f.height * bitsPerPixel / 8);
    EXPECT_EQ(cam->PullFrame(3000, raw.data(), bitsPerPixel, -1, nullptr), 0);
    cam->StopStreaming(0);
    f.values.resize(raw.size() / bytes);
    for (size_t i = 0; i < f.values.size(); ++i)
      f.values[i] = bytes == 1 ? raw[i] : static_cast<uint16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
    return f;
  }
  EventCounter events;
};

// The moving bar: a column at full scale below the counter rows.
bool IsBarColumn(const Frame& f, unsigned x, unsigned full) {
  for (unsigned y = 2; y < f.height; ++y)
    if (f.At(x, y, 0) != full) return false;
  return true;
}

// Mean of component c over a rectangle.
double Mean(const Frame& f, unsigned c, unsigned x0, unsigned y0, unsigned x1, unsigned y1) {
  double sum = 0;
  for (unsigned y = y0; y < y1; ++y)
    for (unsigned x = x0; x < x1; ++x) sum += f.At(x, y, c);
  return sum / ((x1 - x0) * (y1 - y0));
}

struct PatchCase {
  const char* what;
  int bitsPerPixel;
  unsigned pixelFormat;  // 2 = RAW12 on the C8
  unsigned binning;
  unsigned exposureUs;
  int gains[3];          // white balance red, green, blue
  unsigned red, green, blue, alpha;  // a square's full components
};

void PrintTo(const PatchCase& c, std::ostream* os) { *os << c.what; }

class ReferencePatchTest : public PictureTest, public ::testing::WithParamInterface<PatchCase> {};

// Each square, on its centre row, shows its colour in B, G, R, A order except
// where the moving bar crosses it.
TEST_P(ReferencePatchTest, SquaresShowTheirColourInMemoryOrderBGRA) {
  const PatchCase& c = GetParam();
  OpenModel("Quorvex C8 ISP");
  ASSERT_GE(cam->SetResolutionIndex(2), 0);  // 960 x 540
  ASSERT_GE(cam->PutOption(26, static_cast<int>(c.pixelFormat)), 0);
  ASSERT_GE(cam->PutOption(23, static_cast<int>(c.binning)), 0);
  ASSERT_GE(cam->SetExposureTime(c.exposureUs), 0);
  ASSERT_GE(cam->SetWhiteBalanceGain(c.gains), 0);
  const Frame f = Pull(c.bitsPerPixel);
  ASSERT_EQ(f.width, 960 / c.binning);
  const unsigned side = std::min(f.width, f.height) / 8, margin = side / 2;
  const unsigned right = f.width - margin - side, bottom = f.height - margin - side;
  struct Square {
    const char* name;
    unsigned x, y, bgra[4];
  } squares[] = {{"red, top left", margin, margin, {0, 0, c.red, c.alpha}},
                 {"green, top right", right, margin, {0, c.green, 0, c.alpha}},
                 {"blue, bottom left", margin, bottom, {c.blue, 0, 0, c.alpha}},
                 {"white, bottom right", right, bottom, {c.blue, c.green, c.red, c.alpha}}};
  for (const Square& s : squares) {
    SCOPED_TRACE(s.name);
    const unsigned y = s.y + side / 2;
    unsigned matching = 0;
    for (unsigned x = s.x; x < s.x + side; ++x) {
      bool same = true;
      for (unsigned k = 0; k < 4; ++k) same = same && f.At(x, y, k) == s.bgra[k];
      matching += same;
    }
    EXPECT_GE(matching, side - kBarWidth) << "B,G,R,A at the centre: " << f.At(s.x + side / 2, y, 0)
                                          << "," << f.At(s.x + side / 2, y, 1) << ","
                                          << f.At(s.x + side / 2, y, 2) << ","
                                          << f.At(s.x + side / 2, y, 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ReferencePatchTest,
    ::testing::Values(
        PatchCase{"8-bit", 32, 0, 1, 10000, {0, 0, 0}, 255, 255, 255, 255},
        PatchCase{"16-bit RAW12", 64, 2, 1, 10000, {0, 0, 0}, 4095, 4095, 4095, 4095},
        PatchCase{"half exposure", 32, 0, 1, 5000, {0, 0, 0}, 127, 127, 127, 255},
        // Gains are given red, green, blue: 256 + gain of 256.
        PatchCase{"white balance", 32, 0, 1, 10000, {-64, -32, 0}, 191, 223, 255, 255},
        PatchCase{"binned by 2", 32, 0, 2, 10000, {0, 0, 0}, 255, 255, 255, 255}),
    [](const ::testing::TestParamInfo<PatchCase>& info) {
      std::string name = info.param.what;
      std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
      return name;
    });

// Between the squares: red grows left to right, green top to bottom, blue is
// up in the centre third only.
TEST_F(PictureTest, ColourChartChannelsAreDistinct) {
  OpenModel("Quorvex C4 HDR");
  ASSERT_GE(cam->SetResolutionIndex(1), 0);  // 1344 x 760
  const Frame f = Pull(32);
  const unsigned w = f.width, h = f.height, top = h / 4, low = 3 * h / 4;
  const unsigned B = 0, G = 1, R = 2;
  EXPECT_GT(Mean(f, R, 7 * w / 8, top, w, low), Mean(f, R, 16, top, w / 8, low) + 50);
  EXPECT_NEAR(Mean(f, G, 7 * w / 8, top, w, low), Mean(f, G, 16, top, w / 8, low), 20);
  EXPECT_GT(Mean(f, G, w / 4, 7 * h / 8, 3 * w / 4, h), Mean(f, G, w / 4, 2, 3 * w / 4, h / 8) + 50);
  EXPECT_NEAR(Mean(f, R, w / 4, 7 * h / 8, 3 * w / 4, h), Mean(f, R, w / 4, 2, 3 * w / 4, h / 8), 20);
  const double centre = Mean(f, B, w / 3 + 8, h / 3, 2 * w / 3 - 8, 2 * h / 3);
  EXPECT_GT(centre, Mean(f, B, 16, top, w / 4, low) + 80);
  EXPECT_GT(centre, Mean(f, B, 3 * w / 4, top, w, low) + 80);
}

// The monochrome specimen: small bright spots on a dim, vignetted background,
// the same picture on every camera and at every binning (placed in fractions
// of the frame).
TEST_F(PictureTest, MonochromeSpecimenHasBrightSpotsOnADimVignettedBackground) {
  OpenModel("Quorvex M5 Cool");
  ASSERT_GE(cam->SetResolutionIndex(1), 0);  // 1224 x 1024
  const Frame f = Pull(8);
  std::vector<uint16_t> sorted(f.values.begin() + 2 * f.width, f.values.end());  // below the counter
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const unsigned median = sorted[sorted.size() / 2];
  EXPECT_GT(median, 20u);
  EXPECT_LT(median, 90u);
  unsigned bright = 0;  // pixels of beads
  for (unsigned x = 0; x < f.width; ++x)
    if (!IsBarColumn(f, x, 255))
      for (unsigned y = 2; y < f.height; ++y) bright += f.At(x, y, 0) > 2 * median + 60;
  EXPECT_GT(bright, 500u);
  EXPECT_LT(bright, f.width * f.height / 10);
  // Vignetting: the corners' background is darker than the centre's.
  auto darkest = [&](unsigned x0, unsigned y0) {
    unsigned least = 255;
    for (unsigned y = y0; y < y0 + 100; ++y)
      for (unsigned x = x0; x < x0 + 100; ++x) least = std::min<unsigned>(least, f.At(x, y, 0));
    return least;
  };
  const unsigned corners = std::min({darkest(0, 2), darkest(f.width - 100, 2), darkest(0, f.height - 100),
                                     darkest(f.width - 100, f.height - 100)});
  EXPECT_LT(corners * 1.2, darkest(f.width / 2 - 50, f.height / 2 - 50));

  // Averaged 2x2 binning shows the same specimen at half the size.
  CloseCamera();
  OpenModel("Quorvex M5 Cool");
  ASSERT_GE(cam->SetResolutionIndex(1), 0);
  ASSERT_GE(cam->PutOption(23, 0x80 | 2), 0);
  const Frame binned = Pull(8);
  ASSERT_EQ(binned.width, f.width / 2);
  double difference = 0;
  unsigned compared = 0;
  for (unsigned y = 8; y < binned.height; y += 7)
    for (unsigned x = 0; x < binned.width; x += 7)
      if (!IsBarColumn(binned, x, 255) && !IsBarColumn(f, 2 * x, 255)) {
        difference += std::abs(static_cast<int>(binned.At(x, y, 0)) - static_cast<int>(f.At(2 * x, 2 * y, 0)));
        ++compared;
      }
  EXPECT_LT(difference / compared, 6.0);
}

// A sensor region crops: its frame holds exactly the full frame's pixels
// inside the region (same scale and place), after binning and rotation.
struct RegionCase {
  const char* what;
  const char* model;
  unsigned resolution;
  int bitsPerPixel;
  int binning;   // option 23
  int rotation;  // option 24
  unsigned x, y, width, height;  // the region, sensor pixels of the resolution
  unsigned cropX, cropY;         // where its frame sits in the full frame
};

void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.what; }

class RegionCropTest : public PictureTest, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(RegionCropTest, RegionFrameIsTheCropOfTheFullFrame) {
  const RegionCase& c = GetParam();
  OpenModel(c.model);
  ASSERT_GE(cam->SetResolutionIndex(c.resolution), 0);
  ASSERT_GE(cam->PutOption(23, c.binning), 0);
  ASSERT_GE(cam->PutOption(24, c.rotation), 0);
  const Frame full = Pull(c.bitsPerPixel);
  ASSERT_GE(cam->SetSensorRegion(c.x, c.y, c.width, c.height), 0);
  const Frame crop = Pull(c.bitsPerPixel);
  ASSERT_LE(c.cropX + crop.width, full.width);
  ASSERT_LE(c.cropY + crop.height, full.height);
  unsigned compared = 0, differing = 0;
  for (unsigned y = 2; y < crop.height; ++y)  // below the counter rows
    for (unsigned x = 0; x < crop.width; ++x) {
      if (IsBarColumn(crop, x, 255) || IsBarColumn(full, c.cropX + x, 255)) continue;
      for (unsigned k = 0; k < crop.components; ++k) {
        ++compared;
        if (crop.At(x, y, k) != full.At(c.cropX + x, c.cropY + y, k) && ++differing <= 5)
          ADD_FAILURE() << "pixel " << x << "," << y << " component " << k << ": " << crop.At(x, y, k)
                        << " in the region, " << full.At(c.cropX + x, c.cropY + y, k) << " in the full frame";
      }
    }
  EXPECT_EQ(differing, 0u);
  EXPECT_GT(compared, crop.width * crop.components * (crop.height - 2) * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(
    Regions, RegionCropTest,
    ::testing::Values(
        // 1224 x 1024
        RegionCase{"mono 8-bit", "Quorvex M5 Cool", 1, 8, 1, 0, 200, 100, 320, 240, 200, 100},
        RegionCase{"mono binned by 2", "Quorvex M5 Cool", 1, 8, 0x80 | 2, 0, 200, 100, 320, 240, 100, 50},
        // 960 x 540; the region holds the white square at the bottom right.
        RegionCase{"colour 32-bit", "Quorvex C8 ISP", 2, 32, 1, 0, 640, 300, 320, 240, 640, 300},
        // Rotated clockwise the full frame is 540 x 960; the sensor's left
        // column is its top row.
        RegionCase{"colour rotated 90", "Quorvex C8 ISP", 2, 32, 1, 90, 640, 300, 320, 240, 0, 640}),
    [](const ::testing::TestParamInfo<RegionCase>& info) {
      std::string name = info.param.what;
      std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
      return name;
    });

}  // namespace
}  // namespace simtest
