// Sequences and the status monitor: delivery counts and metadata, overflow,
// a stop while the capture waits for a frame that never comes, the host-core
// requirement, and the order of the status notifications.
#include <chrono>
#include <thread>

#include "tests/camera/camera_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class SequenceTest : public CameraFixture {
 protected:
  void WaitForEnd(Camera& camera) {
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(10);
    while (camera.IsSequenceRunning() && Clock::now() < limit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    camera.StopSequence();  // joins the finished run
  }
};

TEST_F(SequenceTest, ACountedRunDeliversEveryImageWithTheCameraTag) {
  const struct { long count; size_t delivered; } cases[] = {{3, 3}, {1, 1}, {0, 1}};
  for (const auto& c : cases) {
    Camera& camera = NewCamera();
    ASSERT_EQ(camera.Initialize(), 0);
    camera.SetLabel("Cam1");
    host.pushed.clear();
    host.finished.clear();
    ASSERT_EQ(camera.StartSequence(c.count, 50.0, true), 0);
    WaitForEnd(camera);
    std::vector<std::string> pushed = host.Copy(host.pushed);
    ASSERT_EQ(pushed.size(), c.delivered) << c.count;
    EXPECT_NE(pushed[0].find("Camera"), std::string::npos) << pushed[0];
    EXPECT_NE(pushed[0].find("Cam1"), std::string::npos) << pushed[0];
    EXPECT_EQ(host.Copy(host.finished), std::vector<int>{0});
    for (const std::string& line : host.Copy(host.logs)) {
      EXPECT_EQ(line.find("interrupted"), std::string::npos);
    }
    camera.Shutdown();
  }
}

TEST_F(SequenceTest, AFullHostBufferIsEmptiedOnceAndTheImagePushedAgain) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  host.pushAnswers = {22};
  ASSERT_EQ(camera.StartSequence(1, 0.0, false), 0);
  WaitForEnd(camera);
  EXPECT_EQ(host.Copy(host.clears), 1);
  EXPECT_EQ(host.Copy(host.pushed).size(), 2u);

  host.pushed.clear();
  host.pushAnswers = {22};
  ASSERT_EQ(camera.StartSequence(5, 0.0, true), 0);  // stop on overflow: the run ends
  WaitForEnd(camera);
  EXPECT_EQ(host.Copy(host.clears), 1);
  EXPECT_EQ(host.Copy(host.pushed).size(), 1u);
}

TEST_F(SequenceTest, StopReturnsPromptlyWhileTheCaptureWaitsForAFrameThatNeverComes) {
  sdk.model = MakeModel(Bit(SdkCapability::Monochrome), 4);
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Sdk().defaultPull = SdkPullPending;  // external trigger, no pulse
  for (int round = 0; round < 20; ++round) {
    ASSERT_EQ(camera.StartContinuousSequence(20.0), 0);
    if (round % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(camera.StopSequence(), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "round " << round;
    EXPECT_FALSE(camera.IsSequenceRunning());
  }
}

TEST_F(SequenceTest, StartingWithoutAHostCoreAnswers13AndChangesNothing) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  camera.SetCallback(nullptr);
  const int putsBefore = Sdk().Calls("PutOption");
  EXPECT_EQ(camera.StartSequence(3, 0.0, false), 13);
  EXPECT_FALSE(camera.IsSequenceRunning());
  EXPECT_EQ(Sdk().Calls("PutOption"), putsBefore);
}

TEST_F(SequenceTest, ASecondStartDuringARunAnswers30) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Sdk().defaultPull = SdkPullPending;
  ASSERT_EQ(camera.StartContinuousSequence(20.0), 0);
  EXPECT_EQ(camera.StartSequence(3, 0.0, false), 30);
  EXPECT_DOUBLE_EQ(camera.SequenceIntervalMs(), 20.0);
  EXPECT_EQ(camera.SequenceLength(), 9223372036854775807L);
  EXPECT_EQ(camera.StopSequence(), 0);
}

TEST_F(SequenceTest, TheStatusMonitorReportsInPollingOrderEverySecond) {
  const struct { uint64_t capabilities; std::vector<std::string> pass; } cases[] = {
      {Bit(SdkCapability::Monochrome),
       {"FFCStatus", "DFCStatus", "FPNCStatus", "SnapStat", "FrameStat"}},
      {Bit(SdkCapability::Monochrome) | Bit(SdkCapability::TemperatureSensor),
       {"Temperature", "FFCStatus", "DFCStatus", "FPNCStatus", "SnapStat", "FrameStat"}},
  };
  for (const auto& c : cases) {
    sdk.model = MakeModel(c.capabilities);
    Camera& camera = NewCamera();
    ASSERT_EQ(camera.Initialize(), 0);
    {
      std::lock_guard<std::mutex> hold(host.mutex);
      host.changed.clear();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    camera.Shutdown();  // waits for the pass in progress
    std::vector<std::string> changed = host.Copy(host.changed);
    ASSERT_GE(changed.size(), c.pass.size());
    EXPECT_EQ(std::vector<std::string>(changed.begin(), changed.begin() + c.pass.size()), c.pass);
    EXPECT_EQ(changed.size() % c.pass.size(), 0u);
  }
}

}  // namespace
