// The colour path end to end: the simulated SDK paints pure red, green and
// blue squares into its frames (memory order B, G, R, A); a snap through the
// module and mmgr-host must put them into the TIFF file as red, green and blue
// (file order R, G, B, A), so a channel-order fault anywhere on the way fails.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/host/e2e_fixture.h"

namespace qv::host::e2e {
namespace {

// The first page's pixels as R, G, B, A samples of 8 or 16 bits.
struct RgbaImage {
  unsigned width = 0, height = 0, bits = 0;
  std::vector<uint16_t> samples;
  const uint16_t* At(unsigned x, unsigned y) const { return &samples[(size_t{y} * width + x) * 4]; }
};

bool ReadRgba(const std::string& path, RgbaImage* image) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return false;
  uint32_t width = 0, height = 0;
  uint16_t samples = 0, bits = 0, photometric = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  bool ok = samples == 4 && (bits == 8 || bits == 16) && photometric == PHOTOMETRIC_RGB;
  image->width = width;
  image->height = height;
  image->bits = bits;
  image->samples.assign(ok ? size_t{width} * height * 4 : 0, 0);
  std::vector<unsigned char> row(ok ? TIFFScanlineSize(tiff) : 0);
  for (uint32_t y = 0; ok && y < height; ++y) {
    ok = TIFFReadScanline(tiff, row.data(), y) == 1;
    for (size_t i = 0; ok && i < size_t{width} * 4; ++i) {
      uint16_t v = row[i];
      if (bits == 16) std::memcpy(&v, row.data() + 2 * i, 2);
      image->samples[size_t{y} * width * 4 + i] = v;
    }
  }
  TIFFClose(tiff);
  return ok;
}

struct ColourCase {
  const char* what;
  std::string args;
  unsigned bits, maxValue;
};

// Where the simulated SDK puts its squares (sim/README.md): side min(w, h) / 8,
// half a side from the edges; red top left, green top right, blue bottom left.
TEST_F(MmgrHostTest, SnappedReferenceSquaresKeepTheirColoursInTheTiff) {
  const ColourCase cases[] = {
      {"8-bit", "", 8, 255},
      {"16-bit, binned", "--set PixelType=RAW12 --set Binning=2", 16, 4095},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = Path("colour.tiff");
    const RunResult r = Run("snap --device 'Quorvex C8 ISP' --out " + file + " " + c.args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    RgbaImage image;
    ASSERT_TRUE(ReadRgba(file, &image)) << "not a 4-sample RGB TIFF";
    EXPECT_EQ(image.bits, c.bits);
    const unsigned side = std::min(image.width, image.height) / 8, margin = side / 2;
    const unsigned right = image.width - margin - side, bottom = image.height - margin - side;
    struct Square {
      const char* name;
      unsigned x, y, channel;  // the one high channel, file order R, G, B
    } squares[] = {{"red", margin, margin, 0}, {"green", right, margin, 1}, {"blue", margin, bottom, 2}};
    for (const Square& s : squares) {
      SCOPED_TRACE(s.name);
      const unsigned y = s.y + side / 2;
      unsigned pure = 0;  // the moving bar (white, 8 columns) may cross a square
      for (unsigned x = s.x; x < s.x + side; ++x) {
        const uint16_t* px = image.At(x, y);
        bool match = px[s.channel] >= c.maxValue / 2;
        for (unsigned k = 0; k < 3; ++k)
          if (k != s.channel) match = match && px[k] <= c.maxValue / 16;
        pure += match;
      }
      const uint16_t* centre = image.At(s.x + side / 2, y);
      EXPECT_GE(pure, side - 8) << "R,G,B at the centre: " << centre[0] << "," << centre[1] << ","
                                << centre[2];
    }
  }
}

}  // namespace
}  // namespace qv::host::e2e
