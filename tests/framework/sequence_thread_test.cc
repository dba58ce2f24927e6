// The sequence run loop on the test camera: counts, logs, overflow handling,
// stops, failures and restarts.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <stdexcept>
#include <thread>

#include "recording_host.h"
#include "test_camera.h"

namespace {

using namespace std::chrono_literals;

class SequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    camera.SetCallback(&host);
    camera.SetLabel("Cam1");
  }

  // Waits until the run has reported its end to the host.
  void WaitForFinished(std::size_t runs = 1) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
      {
        std::lock_guard<std::mutex> lock(host.mutex);
        if (host.finished.size() >= runs) return;
      }
      std::this_thread::sleep_for(1ms);
    }
    FAIL() << "the run did not finish";
  }
  std::size_t Pushes() {
    std::lock_guard<std::mutex> lock(host.mutex);
    return host.pushedMetadata.size();
  }
  bool Logged(const std::string& text) {
    std::lock_guard<std::mutex> lock(host.mutex);
    return std::find(host.logs.begin(), host.logs.end(), text) != host.logs.end();
  }

  RecordingHost host;
  TestCamera camera;
};

TEST_F(SequenceTest, DeliversTheRequestedCountWithItsMetadata) {
  ASSERT_EQ(camera.StartSequence(3, 50.0, true), 0);
  WaitForFinished();
  EXPECT_EQ(Pushes(), 3u);
  EXPECT_EQ(camera.SequenceImageCounter(), 3);
  EXPECT_EQ(camera.SequenceLength(), 3);
  EXPECT_EQ(camera.SequenceIntervalMs(), 50.0);
  EXPECT_TRUE(camera.StopOnOverflow());
  EXPECT_FALSE(camera.IsSequenceRunning());
  for (const std::string& text : host.pushedMetadata) EXPECT_EQ(text, "1\ns\nCamera\n_\n1\nCam1\n");
  EXPECT_EQ(host.pushedPixels[0], camera.pixels);
  EXPECT_EQ(host.pushedShape, (std::vector<unsigned>{2, 1, 2}));
  EXPECT_TRUE(host.pushedProcess);
  EXPECT_EQ(host.logs, (std::vector<std::string>{"Sequence thread exiting"}));
  EXPECT_EQ(host.finished, (std::vector<int>{0}));
  EXPECT_EQ(host.lastCaller, &camera);
}

TEST_F(SequenceTest, CountsOfOneOrLessGiveOneImageAndRunsCanFollowEachOther) {
  std::size_t runs = 0;
  for (long count : {0L, 1L, -5L, LONG_MIN}) {
    const std::size_t before = Pushes();
    ASSERT_EQ(camera.StartSequence(count, 10.0, false), 0);
    WaitForFinished(++runs);
    EXPECT_EQ(Pushes(), before + 1) << count;
  }
}

TEST_F(SequenceTest, OverflowClearsTheQueueAndPushesOnceMore) {
  host.pushAnswers = {22, 0, 22, 22};
  ASSERT_EQ(camera.StartSequence(5, 1.0, false), 0);
  WaitForFinished();
  // Step 1: 22 then 0; step 2: 22 then 22, which ends the run.
  EXPECT_EQ(Pushes(), 4u);
  EXPECT_EQ(host.clears, 2);
  EXPECT_EQ(camera.SequenceImageCounter(), 1);
  EXPECT_EQ(host.pushedMetadata[1], host.pushedMetadata[0]);
}

TEST_F(SequenceTest, OverflowEndsTheRunWhenAskedToStop) {
  host.pushAnswers = {22};
  ASSERT_EQ(camera.StartSequence(5, 1.0, true), 0);
  WaitForFinished();
  EXPECT_EQ(Pushes(), 1u);
  EXPECT_EQ(host.clears, 0);
}

TEST_F(SequenceTest, AFailingCaptureEndsTheRunWithoutDelivery) {
  camera.captureAnswer = 1;
  ASSERT_EQ(camera.StartSequence(5, 1.0, false), 0);
  WaitForFinished();
  EXPECT_EQ(Pushes(), 0u);
  EXPECT_EQ(camera.captures, 1);
  EXPECT_FALSE(Logged("SeqAcquisition interrupted by the user\n"));
  EXPECT_EQ(host.finished, (std::vector<int>{0}));
}

TEST_F(SequenceTest, StopInterruptsAContinuousRun) {
  ASSERT_EQ(camera.StartContinuousSequence(20.0), 0);
  EXPECT_EQ(camera.SequenceLength(), LONG_MAX);
  EXPECT_EQ(camera.SequenceIntervalMs(), 20.0);
  EXPECT_FALSE(camera.StopOnOverflow());
  EXPECT_TRUE(camera.IsSequenceRunning());
  EXPECT_EQ(camera.StartSequence(1, 1.0, true), 30);
  while (Pushes() < 5) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(camera.StopSequence(), 0);
  EXPECT_FALSE(camera.IsSequenceRunning());
  EXPECT_TRUE(Logged("SeqAcquisition interrupted by the user\n"));
  EXPECT_EQ(host.logs.back(), "Sequence thread exiting");
  EXPECT_EQ(host.finished, (std::vector<int>{0}));
  EXPECT_EQ(camera.StopSequence(), 0);  // nothing running: nothing to do
}

TEST_F(SequenceTest, AnExceptionInAStepIsLoggedAndTheRunEnds) {
  camera.captureHook = [] { throw std::runtime_error("boom"); };
  ASSERT_EQ(camera.StartSequence(5, 1.0, false), 0);
  WaitForFinished();
  EXPECT_EQ(host.logs, (std::vector<std::string>{"Exception in the thread function.",
                                                 "Sequence thread exiting"}));
  EXPECT_FALSE(camera.IsSequenceRunning());
}

TEST_F(SequenceTest, DestroyingTheCameraStopsARunningSequence) {
  RecordingHost otherHost;
  bool destroyed = false;
  {
    TestCamera running;
    running.SetCallback(&otherHost);
    running.destroyed = &destroyed;
    ASSERT_EQ(running.StartContinuousSequence(1.0), 0);
  }
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(otherHost.finished, (std::vector<int>{0}));
}

}  // namespace
