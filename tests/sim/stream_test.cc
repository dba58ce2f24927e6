// Trigger modes, frame events, PullFrame output and the stop guarantee.
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace simtest {
namespace {

using std::chrono::milliseconds;

bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
  const auto deadline = std::chrono::steady_clock::now() + milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(2));
  }
  return true;
}

class StreamTest : public SimCameraTest {
 protected:
  void Start(int mode) {
    ASSERT_GE(cam->SetExposureTime(2000), 0);
    ASSERT_GE(cam->PutOption(11, mode), 0);
    ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, EventCounter::Callback, nullptr,
                                  &events),
              0);
  }
  EventCounter events;
};

TEST_F(StreamTest, SoftwareTriggerMakesExactlyTheRequestedFrames) {
  Start(1);
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_EQ(events.frames, 0);  // nothing without a trigger
  std::vector<unsigned char> frame(2448 * 2048);
  EXPECT_EQ(cam->PullFrame(0, frame.data(), 8, -1, nullptr), SdkPullPending);
  ASSERT_GE(cam->TriggerFrames(3), 0);
  ASSERT_TRUE(WaitFor([&] { return events.frames == 3; }));
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_EQ(events.frames, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(cam->PullFrame(0, frame.data(), 8, -1, nullptr), 0);
  EXPECT_EQ(cam->PullFrame(0, frame.data(), 8, -1, nullptr), SdkPullPending);
}

TEST_F(StreamTest, PullWithWaitReturnsAsSoonAsTheFrameIsReady) {
  Start(1);
  std::vector<unsigned char> frame(2448 * 2048);
  ASSERT_GE(cam->TriggerFrames(1), 0);
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(cam->PullFrame(3000, frame.data(), 8, -1, nullptr), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, milliseconds(1500));
  EXPECT_EQ(cam->PullFrame(20, frame.data(), 8, -1, nullptr), SdkPullPending);
}

TEST_F(StreamTest, FreeRunningStreamsAndExternalTriggerWaitsForPulses) {
  Start(0);
  ASSERT_TRUE(WaitFor([&] { return events.frames >= 3; }));
  EXPECT_LT(cam->TriggerFrames(1), 0);  // no software trigger while free-running
  unsigned frames = 0, ms = 0, total = 0;
  ASSERT_GE(cam->GetFrameStatistics(&frames, &ms, &total, nullptr, nullptr), 0);
  EXPECT_GE(total, 3u);

  ASSERT_GE(cam->PutOption(11, 2), 0);
  ASSERT_GE(cam->IoControl(0, 14, 0, nullptr), 0);  // opto-isolated input
  const int before = events.frames;
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_LE(events.frames, before + 1);  // at most one frame that was already under way
  const int armed = events.frames;
  EXPECT_EQ(Sim().externalPulse("t-1", 2), 2);
  ASSERT_TRUE(WaitFor([&] { return events.frames == armed + 2; }));
  // With the software source selected, pulses are ignored.
  ASSERT_GE(cam->IoControl(0, 14, 5, nullptr), 0);
  EXPECT_EQ(Sim().externalPulse("t-1", 1), 0);
}

TEST_F(StreamTest, NoCallbackRunsAfterStopStreamingReturns) {
  Start(0);
  ASSERT_TRUE(WaitFor([&] { return events.frames >= 1; }));
  ASSERT_GE(cam->StopStreaming(0), 0);
  const int atStop = events.frames;
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_EQ(events.frames, atStop);
  std::vector<unsigned char> frame(2448 * 2048);
  EXPECT_LT(cam->PullFrame(0, frame.data(), 8, -1, nullptr), 0);  // not streaming
  EXPECT_LT(Sim().fireEvent("t-1", 4), 0);
  int v = 0;
  EXPECT_LT(cam->GetOption(108, &v), 0);  // streaming gave the mono camera no colour option
}

// The module calls in from the host thread, its status monitor and inside the
// event callback at once; run under ThreadSanitizer this checks the locking.
TEST_F(StreamTest, ConcurrentCallersAndCallbacksThatCallBack) {
  struct Context {
    SdkCamera* cam;
    std::atomic<int> frames{0};
  } context{cam};
  auto callback = [](unsigned event, void* p) {
    auto* c = static_cast<Context*>(p);
    unsigned us = 0;
    int v = 0;
    c->cam->GetExposureTime(&us);
    c->cam->GetOption(26, &v);
    if (event == 4) ++c->frames;
  };
  ASSERT_GE(cam->SetExposureTime(1000), 0);
  ASSERT_GE(cam->PutOption(11, 1), 0);
  ASSERT_GE(cam->SetAutoExposure(1), 0);
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, callback, nullptr, &context), 0);
  std::atomic<bool> stop{false};
  std::thread monitor([&] {
    while (!stop) {
      short t = 0;
      int s = 0;
      unsigned f = 0, ms = 0, total = 0;
      cam->GetTemperature(&t);
      cam->GetNamedValue("FFCStatus", &s);
      cam->GetFrameStatistics(&f, &ms, &total, nullptr, nullptr);
      std::this_thread::sleep_for(milliseconds(1));
    }
  });
  std::vector<unsigned char> frame(2448 * 2048);
  int pulled = 0;
  for (int i = 0; i < 5; ++i) {
    ASSERT_GE(cam->TriggerFrames(1), 0);
    if (cam->PullFrame(2000, frame.data(), 8, -1, nullptr) == 0) ++pulled;
  }
  EXPECT_EQ(Sim().fireEvent("t-1", 1), 0);
  ASSERT_GE(cam->StopStreaming(0), 0);
  stop = true;
  monitor.join();
  EXPECT_EQ(pulled, 5);
  EXPECT_EQ(context.frames, 5);
}

TEST_F(StreamTest, StopFromInsideTheCallbackNeitherDeadlocksNorBlocksARestart) {
  struct Context {
    SdkCamera* cam;
    std::atomic<int> calls{0};
  } context{cam};
  auto callback = [](unsigned, void* p) {
    auto* c = static_cast<Context*>(p);
    ++c->calls;
    c->cam->StopStreaming(0);
  };
  ASSERT_GE(cam->PutOption(11, 0), 0);
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, callback, nullptr, &context), 0);
  ASSERT_TRUE(WaitFor([&] { return Sim().triggerMode("t-1") == 0 && context.calls >= 1; }));
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(context.calls, 1);  // stopped after the first frame
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, EventCounter::Callback, nullptr,
                                &events),
            0);
  ASSERT_TRUE(WaitFor([&] { return events.frames >= 1; }));
}

TEST_F(StreamTest, EventsFiredByHandArriveOnTheStreamThread) {
  Start(1);
  struct Seen {
    std::thread::id thread;
    unsigned event = 0;
  };
  static Seen seen;
  auto callback = [](unsigned event, void*) {
    seen.thread = std::this_thread::get_id();
    seen.event = event;
  };
  cam->StopStreaming(0);
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, callback, nullptr, nullptr), 0);
  ASSERT_EQ(Sim().fireEvent("t-1", 6), 0);
  EXPECT_EQ(seen.event, 6u);
  EXPECT_NE(seen.thread, std::this_thread::get_id());
}

// PullFrame writes exactly width x height x bytes, in the requested layout.
struct PullCase {
  const char* model;
  unsigned pixelFormat;
  int bitsPerPixel;
  unsigned maxValue;
};

class PullFrameTest : public StreamTest, public ::testing::WithParamInterface<PullCase> {};

TEST_P(PullFrameTest, WritesPackedFrameWithinItsSizeAndDepth) {
  const PullCase& c = GetParam();
  OpenModel(c.model);
  ASSERT_GE(cam->SetResolutionIndex(2), 0);
  ASSERT_GE(cam->PutOption(26, static_cast<int>(c.pixelFormat)), 0);
  Start(1);
  unsigned w = 0, h = 0;
  ASSERT_GE(cam->GetOutputSize(&w, &h), 0);
  const size_t bytes = static_cast<size_t>(w) * h * (c.bitsPerPixel / 8);
  std::vector<unsigned char> buffer(bytes + 64, 0xCD);
  ASSERT_GE(cam->TriggerFrames(1), 0);
  ASSERT_TRUE(WaitFor([&] { return events.frames == 1; }));
  ASSERT_EQ(cam->PullFrame(0, buffer.data(), c.bitsPerPixel, -1, nullptr), 0);
  for (size_t i = bytes; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCD) << "overrun at " << i;
  unsigned highest = 0;
  for (size_t i = 0; i < bytes; i += (c.bitsPerPixel >= 16 ? 2 : 1)) {
    const unsigned v = c.bitsPerPixel == 8 || c.bitsPerPixel == 32
                           ? buffer[i]
                           : static_cast<unsigned>(buffer[i] | buffer[i + 1] << 8);
    highest = std::max(highest, v);
  }
  EXPECT_EQ(highest, c.maxValue);  // the moving bar is at full scale
  // The frame's rows differ (a gradient, not a constant fill).
  const size_t row = bytes / h;
  EXPECT_NE(std::memcmp(buffer.data() + row * 10, buffer.data() + row * (h - 1), row), 0);
  // The wrong layout for the model is refused.
  EXPECT_LT(cam->PullFrame(0, buffer.data(), c.bitsPerPixel == 8 ? 32 : 8, -1, nullptr), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PullFrameTest,
    ::testing::Values(PullCase{"Quorvex M5 Cool", 0, 8, 255}, PullCase{"Quorvex M5 Cool", 2, 16, 4095},
                      PullCase{"Quorvex C8 ISP", 0, 32, 255}, PullCase{"Quorvex C8 ISP", 2, 64, 4095}));

TEST_F(StreamTest, AutoExposureMovesTowardTheTargetAndReportsEvent1) {
  ASSERT_GE(cam->SetAutoExposure(1), 0);
  Start(0);
  ASSERT_GE(cam->SetExposureTime(200), 0);  // far too dark
  ASSERT_TRUE(WaitFor([&] { return events.exposure >= 2; }));
  unsigned us = 0;
  cam->GetExposureTime(&us);
  EXPECT_GT(us, 200u);
}

TEST_F(StreamTest, WhiteBalanceOnceChangesGainsOnTheNextFrame) {
  OpenModel("Quorvex C8 ISP");
  Start(1);
  ASSERT_GE(cam->WhiteBalanceOnce(nullptr, nullptr), 0);
  ASSERT_GE(cam->TriggerFrames(1), 0);
  ASSERT_TRUE(WaitFor([&] { return events.whiteBalance == 1; }));
  int gains[3] = {0, 0, 0};
  ASSERT_GE(cam->GetWhiteBalanceGain(gains), 0);
  EXPECT_NE(gains[0], 0);
}

}  // namespace
}  // namespace simtest
