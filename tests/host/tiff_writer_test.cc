// TIFF pages written by the host open with libtiff and hold the delivered
// pixels: grey as is, colour reordered from B,G,R,A to R,G,B,A.
#include "host/cli/tiff_writer.h"

#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "host/cli/image_stats.h"

namespace qv::host::cli {
namespace {

class TiffWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/host_tiff_XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = name;
  }
  void TearDown() override { unlink(path_.c_str()); }
  std::string path_;
};

struct Layout {
  unsigned bytesPerPixel, samples, bits;
};

TEST_F(TiffWriterTest, WritesEveryLayoutAsPagesThatReadBack) {
  const Layout layouts[] = {{1, 1, 8}, {2, 1, 16}, {4, 4, 8}, {8, 4, 16}};
  const unsigned w = 5, h = 3;
  std::vector<std::vector<unsigned char>> images;
  std::string error;
  {
    auto writer = TiffWriter::Create(path_, 0, &error);
    ASSERT_NE(writer, nullptr) << error;
    for (const Layout& l : layouts) {
      std::vector<unsigned char> pixels(w * h * l.bytesPerPixel);
      for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7 + 1);
      ASSERT_TRUE(writer->WritePage({pixels.data(), w, h, l.bytesPerPixel},
                                    "page " + std::to_string(l.bytesPerPixel), &error))
          << error;
      images.push_back(pixels);
    }
    EXPECT_EQ(writer->pages(), 4u);
    ASSERT_TRUE(writer->Close(&error)) << error;
  }
  TIFF* tiff = TIFFOpen(path_.c_str(), "r");
  ASSERT_NE(tiff, nullptr);
  EXPECT_EQ(TIFFNumberOfDirectories(tiff), 4);
  for (size_t page = 0; page < 4; ++page) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(TIFFSetDirectory(tiff, static_cast<uint16_t>(page)));
    const Layout& l = layouts[page];
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0;
    char* description = nullptr;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    ASSERT_TRUE(TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description));
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    EXPECT_EQ(samples, l.samples);
    EXPECT_EQ(bits, l.bits);
    EXPECT_STREQ(description, ("page " + std::to_string(l.bytesPerPixel)).c_str());
    std::vector<unsigned char> read(w * h * l.bytesPerPixel);
    ASSERT_EQ(TIFFReadEncodedStrip(tiff, 0, read.data(), read.size()), tmsize_t(read.size()));
    std::vector<unsigned char> expected = images[page];
    if (l.samples == 4) {  // R and B trade places, G and A stay
      const unsigned c = l.bits / 8;
      for (size_t p = 0; p < size_t{w} * h; ++p) {
        unsigned char* px = expected.data() + p * 4 * c;
        for (unsigned b = 0; b < c; ++b) std::swap(px[b], px[2 * c + b]);
      }
    }
    EXPECT_EQ(read, expected);
  }
  TIFFClose(tiff);
}

TEST_F(TiffWriterTest, RefusesLayoutsItCannotWrite) {
  std::string error;
  auto writer = TiffWriter::Create(path_, 0, &error);
  ASSERT_NE(writer, nullptr);
  unsigned char pixels[12] = {};
  EXPECT_FALSE(writer->WritePage({pixels, 2, 2, 3}, "", &error));
  EXPECT_NE(error.find("3 bytes per pixel"), std::string::npos);
  EXPECT_FALSE(writer->WritePage({pixels, 0, 2, 1}, "", &error));
  EXPECT_EQ(TiffWriter::Create("/nonexistent-dir/x.tiff", 0, &error), nullptr);
  EXPECT_NE(error.find("/nonexistent-dir/x.tiff"), std::string::npos);
}

TEST(ImageStats, CountsGreyAndColourComponentsButNotAlpha) {
  const unsigned char grey[] = {3, 9, 6};
  const uint16_t wide[] = {1000, 4095};
  const unsigned char bgra[] = {10, 20, 30, 255, 40, 50, 60, 0};
  struct Case {
    ImageView image;
    unsigned min, max;
    double mean;
  } cases[] = {
      {{grey, 3, 1, 1}, 3, 9, 6.0},
      {{reinterpret_cast<const unsigned char*>(wide), 2, 1, 2}, 1000, 4095, 2547.5},
      {{bgra, 2, 1, 4}, 10, 60, 35.0},
  };
  for (const Case& c : cases) {
    ImageStats stats;
    ASSERT_TRUE(stats.Add(c.image));
    EXPECT_EQ(stats.minimum(), c.min);
    EXPECT_EQ(stats.maximum(), c.max);
    EXPECT_DOUBLE_EQ(stats.mean(), c.mean);
  }
  ImageStats two;  // accumulates over images
  two.Add({grey, 3, 1, 1});
  two.Add({grey, 1, 1, 1});
  EXPECT_DOUBLE_EQ(two.mean(), (3 + 9 + 6 + 3) / 4.0);
}

}  // namespace
}  // namespace qv::host::cli
