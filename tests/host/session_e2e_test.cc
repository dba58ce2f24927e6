// The host library in-process with the real module: a session drives a
// camera through its life and leaves nothing running.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "host/device_session.h"
#include "host/host_core_impl.h"
#include "host/module_loader.h"
#include "tests/host/e2e_fixture.h"

namespace qv::host::e2e {
namespace {

using std::chrono::milliseconds;

class SessionTest : public MmgrHostTest {
 protected:
  void SetUp() override {
    MmgrHostTest::SetUp();
    if (IsSkipped()) return;
    setenv("HOME", scratch_.c_str(), 1);
    std::string error;
    module_ = ModuleLoader::Open(ModulePathIn(QUORVEX_ADAPTER_DIR), &error);
    ASSERT_NE(module_, nullptr) << error;
    const auto devices = module_->ListDevices();
    ASSERT_FALSE(devices.empty());
    SessionOptions options;
    options.label = "Cam1";
    session_ = DeviceSession::Open(*module_, devices[0].name, &core_, options, &error);
    ASSERT_NE(session_, nullptr) << error;
    ASSERT_NE(session_->camera(), nullptr);
  }
  void TearDown() override {
    session_.reset();
    module_.reset();
    MmgrHostTest::TearDown();
  }

  HostCoreImpl core_{ImageBufferLimits{4, 0}};
  std::unique_ptr<ModuleLoader> module_;
  std::unique_ptr<DeviceSession> session_;
};

TEST_F(SessionTest, SequenceFramesArriveWithTheCameraTagAndTheEndIsSignalled) {
  // Initialize replaces the label the host gave with the model name.
  char label[HostStringLimit] = {};
  session_->device()->GetLabel(label);
  ASSERT_EQ(session_->camera()->StartSequence(3, 0.0, true), 0);
  ImageFrame frame;
  int frames = 0;
  PopResult result;
  while ((result = core_.images().Pop(&frame, milliseconds(10000))) == PopResult::Frame) {
    EXPECT_NE(frame.metadata.find(std::string("Camera\n_\n1\n") + label), std::string::npos)
        << frame.metadata;
    EXPECT_EQ(frame.pixels.size(), size_t{frame.width} * frame.height * frame.bytesPerPixel);
    ++frames;
  }
  EXPECT_EQ(result, PopResult::Ended);
  EXPECT_EQ(frames, 3);
  bool exiting = false;
  for (const HostEvent& e : core_.events().Since(0)) {
    exiting |= e.kind == EventKind::Log && e.value == "Sequence thread exiting";
  }
  EXPECT_TRUE(exiting);
}

TEST_F(SessionTest, ClosingTheSessionStopsARunningSequence) {
  ASSERT_EQ(session_->camera()->StartContinuousSequence(0.0), 0);
  ImageFrame frame;
  ASSERT_EQ(core_.images().Pop(&frame, milliseconds(10000)), PopResult::Frame);
  session_.reset();  // stops the sequence, shuts down, deletes
  EXPECT_TRUE(core_.images().AcquisitionEnded());
  const uint64_t accepted = core_.images().Stats().accepted;
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(core_.images().Stats().accepted, accepted);
}

}  // namespace
}  // namespace qv::host::e2e
