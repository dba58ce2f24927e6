#include "host/image_buffer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "module/host_core.h"

namespace qv::host {
namespace {

using std::chrono::milliseconds;

std::vector<unsigned char> Pixels(size_t n, unsigned char seed) {
  std::vector<unsigned char> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<unsigned char>(seed + i);
  return p;
}

struct LimitCase {
  const char* what;
  ImageBufferLimits limits;
  int frameBytes;     // each push is a frameBytes x 1 image of 1 byte per pixel
  int acceptedPushes; // pushes answered 0 before the first 22
};

TEST(ImageBuffer, RefusesWith22OnceTheLimitIsReached) {
  const LimitCase cases[] = {
      {"3 frames", {3, 0}, 100, 3},
      {"250 bytes", {0, 250}, 100, 2},
      {"exactly 300 bytes", {0, 300}, 100, 3},
      {"frames bind first", {2, 1000}, 100, 2},
      {"bytes bind first", {10, 150}, 100, 1},
      {"frame larger than the buffer", {0, 50}, 100, 0},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuffer buffer(c.limits);
    const auto pixels = Pixels(c.frameBytes, 0);
    int accepted = 0;
    while (buffer.Push(pixels.data(), c.frameBytes, 1, 1, "") == 0 && accepted < 100) ++accepted;
    EXPECT_EQ(accepted, c.acceptedPushes);
    EXPECT_EQ(buffer.Push(pixels.data(), c.frameBytes, 1, 1, ""), HostBufferFull);
    EXPECT_EQ(buffer.Stats().refused, 2u);
    EXPECT_EQ(buffer.Stats().queuedFrames, size_t(c.acceptedPushes));
  }
}

TEST(ImageBuffer, PopFreesRoomAndClearEmptiesAndCountsDropped) {
  ImageBuffer buffer({2, 0});
  const auto pixels = Pixels(16, 0);
  ASSERT_EQ(buffer.Push(pixels.data(), 4, 4, 1, "a"), 0);
  ASSERT_EQ(buffer.Push(pixels.data(), 4, 4, 1, "b"), 0);
  ASSERT_EQ(buffer.Push(pixels.data(), 4, 4, 1, "c"), HostBufferFull);
  ImageFrame frame;
  ASSERT_EQ(buffer.Pop(&frame, milliseconds(0)), PopResult::Frame);
  EXPECT_EQ(frame.metadata, "a");
  EXPECT_EQ(buffer.Push(pixels.data(), 4, 4, 1, "c"), 0);
  buffer.Clear();
  EXPECT_EQ(buffer.Stats().dropped, 2u);
  EXPECT_EQ(buffer.Stats().queuedBytes, 0u);
  EXPECT_EQ(buffer.Pop(&frame, milliseconds(0)), PopResult::TimedOut);
  EXPECT_EQ(buffer.Push(pixels.data(), 4, 4, 1, "d"), 0);
  ASSERT_EQ(buffer.Pop(&frame, milliseconds(0)), PopResult::Frame);
  EXPECT_EQ(frame.metadata, "d");
  EXPECT_EQ(frame.index, 3u);  // accepted pushes a, b, c, d
}

TEST(ImageBuffer, KeepsCopiesNotReferences) {
  ImageBuffer buffer({});
  auto pixels = Pixels(2 * 3 * 2, 7);
  std::string metadata = "{\"Camera\":\"Cam1\"}";
  ASSERT_EQ(buffer.Push(pixels.data(), 2, 3, 2, metadata.c_str()), 0);
  const auto original = pixels;
  std::fill(pixels.begin(), pixels.end(), 0xEE);  // the device reuses its frame buffer
  metadata.assign(metadata.size(), 'x');
  ImageFrame frame;
  ASSERT_EQ(buffer.Pop(&frame, milliseconds(0)), PopResult::Frame);
  EXPECT_EQ(frame.pixels, original);
  EXPECT_EQ(frame.metadata, "{\"Camera\":\"Cam1\"}");
  EXPECT_EQ(frame.width, 2u);
  EXPECT_EQ(frame.height, 3u);
  EXPECT_EQ(frame.bytesPerPixel, 2u);
}

TEST(ImageBuffer, ConsumerWakesForFramesAndForTheEnd) {
  ImageBuffer buffer({4, 0});
  buffer.BeginAcquisition();
  constexpr int kFrames = 200;
  std::thread producer([&] {
    const auto pixels = Pixels(64, 0);
    for (int i = 0; i < kFrames;) {
      if (buffer.Push(pixels.data(), 8, 8, 1, std::to_string(i).c_str()) == 0) {
        ++i;
      } else {
        std::this_thread::yield();
      }
    }
    buffer.EndAcquisition();
  });
  ImageFrame frame;
  int received = 0;
  PopResult result;
  while ((result = buffer.Pop(&frame, milliseconds(5000))) == PopResult::Frame) {
    EXPECT_EQ(frame.metadata, std::to_string(received));  // push order is kept
    ++received;
  }
  producer.join();
  EXPECT_EQ(result, PopResult::Ended);
  EXPECT_EQ(received, kFrames);
}

TEST(ImageBuffer, PopTimesOutWhileTheAcquisitionRuns) {
  ImageBuffer buffer({});
  buffer.BeginAcquisition();
  ImageFrame frame;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(buffer.Pop(&frame, milliseconds(50)), PopResult::TimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(50));
}

TEST(ImageBuffer, BeginAcquisitionStartsEmptyAndCountsAnew) {
  ImageBuffer buffer({1, 0});
  const auto pixels = Pixels(4, 0);
  buffer.Push(pixels.data(), 2, 2, 1, "");
  buffer.Push(pixels.data(), 2, 2, 1, "");  // refused
  buffer.EndAcquisition();
  buffer.BeginAcquisition();
  const ImageBufferStats stats = buffer.Stats();
  EXPECT_EQ(stats.queuedFrames, 0u);
  EXPECT_EQ(stats.refused, 0u);
  EXPECT_FALSE(buffer.AcquisitionEnded());
  EXPECT_EQ(buffer.Push(pixels.data(), 2, 2, 1, ""), 0);
}

}  // namespace
}  // namespace qv::host
