// Single captures and the frame buffer: pixel-format classes, the deadline
// formula, the ready-frame event that beats the wait, pull failures, and the
// frame buffer's growth rule.
#include <chrono>

#include "tests/camera/camera_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class CaptureTest : public CameraFixture {};

TEST(SnapTimeLimit, TwoPercentOverTheExposurePlusFourSeconds) {
  const struct { uint32_t exposureUs, limitMs; } cases[] = {
      {10000, 4010}, {100000, 4102}, {999, 4000}, {0, 4000}, {1000, 4001}, {4000000000u, 4084000},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapTimeLimitMs(c.exposureUs), c.limitMs) << c.exposureUs;
}

TEST_F(CaptureTest, EachPixelFormatClassGetsItsBytesBitsAndComponents) {
  const struct {
    bool monochrome;
    int format;  // option 26; -1: the read fails
    unsigned bytes, bits, components;
  } cases[] = {
      {true, 0, 1, 8, 1},    // RAW8
      {true, 2, 2, 16, 1},   // RAW12
      {true, 17, 2, 16, 1},  // HDR12HL counts as 16 bits
      {false, 8, 4, 32, 4},  // RGB888
      {false, 2, 8, 64, 4},  // RAW12
      {false, 21, 4, 32, 4},  // past the table: the 8-bit fallback
      {true, -7, 1, 8, 1},    // negative: the 8-bit fallback
      {true, -1, 1, 8, 1},    // failed read
  };
  for (const auto& c : cases) {
    sdk.model = MakeModel(c.monochrome ? Bit(SdkCapability::Monochrome) : 0);
    const int format = c.format;
    sdk.prepare = [format](FakeSdkCamera& camera) {
      if (format != -1) camera.options[26] = format;
      camera.eventOnTrigger = true;
    };
    Camera& camera = NewCamera();
    ASSERT_EQ(camera.Initialize(), 0);
    FakeSdkCamera& fake = *sdk.opened.back();
    ASSERT_EQ(camera.CaptureImage(), 0);
    EXPECT_EQ(camera.ImageBytesPerPixel(), c.bytes) << c.format;
    EXPECT_EQ(fake.lastBitsPerPixel, static_cast<int>(c.bits)) << c.format;
    EXPECT_EQ(fake.lastBuffer, camera.ImagePixels());
    EXPECT_EQ(camera.ComponentCount(), c.components);
    EXPECT_EQ(camera.ImageBufferSize(), 64 * 32 * static_cast<long>(c.bytes));
    camera.Shutdown();
  }
}

TEST_F(CaptureTest, AFrameReadyBeforeTheWaitIsNotLost) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Sdk().eventOnTrigger = true;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(camera.CaptureImage(), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(camera.snapCount.load(), 1u);
}

TEST_F(CaptureTest, AFailingPullEndsTheSnapAtOnceWithoutCounting) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Sdk().eventOnTrigger = true;
  Sdk().defaultPull = -3;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(camera.CaptureImage(), 1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(camera.snapCount.load(), 0u);
}

TEST(FrameBufferTest, ShrinkingKeepsTheArrayAndGrowingPastTheShrunkenSizeReplacesIt) {
  FrameBuffer buffer;
  ASSERT_TRUE(buffer.Fit(100, 100, 2));
  const uint8_t* first = buffer.pixels.get();
  ASSERT_TRUE(buffer.Fit(10, 10, 2));
  EXPECT_EQ(buffer.pixels.get(), first);
  EXPECT_EQ(buffer.Size(), 200u);
  ASSERT_TRUE(buffer.Fit(20, 20, 2));  // more than 10 x 10: a new array
  EXPECT_EQ(buffer.Size(), 800u);
  EXPECT_NE(buffer.pixels, nullptr);
}

TEST_F(CaptureTest, SetExposureWithTheSameWholeMicrosecondsDoesNothing) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  camera.SetExposure(10.0004);  // 10000.4 us truncates to the current 10000
  EXPECT_EQ(Sdk().Calls("SetExposureTime"), 0);
  camera.SetExposure(12.5);
  EXPECT_EQ(Sdk().Calls("SetExposureTime"), 1);
  EXPECT_EQ(Sdk().exposureUs, 12500u);
}

}  // namespace
