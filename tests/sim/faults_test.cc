// Fault switches and the call log.
#include <dlfcn.h>

#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace simtest {
namespace {

class FaultTest : public SimCameraTest {};

TEST_F(FaultTest, SwitchesMatchOperationSelectorAndCount) {
  constexpr int kStatus = -7;
  ASSERT_EQ(Sim().setFault("t-1", "GetOption:26", kStatus, -1), 0);
  int v = 0;
  EXPECT_EQ(cam->GetOption(26, &v), kStatus);
  EXPECT_GE(cam->GetOption(23, &v), 0);  // other options untouched
  ASSERT_EQ(Sim().setFault(nullptr, "SetExposureTime", kStatus, 2), 0);
  EXPECT_EQ(cam->SetExposureTime(5000), kStatus);
  EXPECT_EQ(cam->SetExposureTime(5000), kStatus);
  EXPECT_GE(cam->SetExposureTime(5000), 0);  // two calls, then the switch is off
  ASSERT_EQ(Sim().setFault("t-1", "IoControl:14", kStatus, -1), 0);
  EXPECT_EQ(cam->IoControl(0, 14, 5, nullptr), kStatus);
  EXPECT_GE(cam->IoControl(0, 13, 0, &v), 0);
  ASSERT_EQ(Sim().setFault("t-1", "QueryCapability:issupportgain", 0, -1), 0);
  EXPECT_EQ(cam->QueryCapability("issupportgain"), 0);
  ASSERT_EQ(Sim().setFault("t-1", "GetModelRecord", 0, 1), 0);
  EXPECT_EQ(cam->GetModelRecord(), nullptr);
  EXPECT_NE(cam->GetModelRecord(), nullptr);
  ASSERT_EQ(Sim().setFault("t-1", "GetOption:26", 0, 0), 0);  // times 0 clears
  EXPECT_GE(cam->GetOption(26, &v), 0);
  Sim().clearFaults();
  EXPECT_NE(cam->QueryCapability("issupportgain"), 0);
}

TEST_F(FaultTest, PullFramePendingSwitchAndConfiguredFaults) {
  ASSERT_GE(cam->PutOption(11, 1), 0);
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(Sim().setFault("t-1", "PullFrame", SdkPullPending, -1), 0);
  std::vector<unsigned char> frame(2448 * 2048);
  EXPECT_EQ(cam->PullFrame(0, frame.data(), 8, -1, nullptr), SdkPullPending);
  cam->StopStreaming(0);
  CloseCamera();
  // Faults in the configuration belong to their camera.
  ASSERT_EQ(Sim().configure(R"({"cameras": [{"id": "f-1", "faults": {"GetNamedValue:GainMode": -3}},
                                           {"id": "f-2", "model": "Quorvex C4 HDR"}]})"),
            0);
  SdkCamera* a = Sim().open(OpenTextFor("f-1").c_str());
  SdkCamera* b = Sim().open(OpenTextFor("f-2").c_str());
  ASSERT_TRUE(a && b);
  int v = 0;
  EXPECT_EQ(a->GetNamedValue("GainMode", &v), -3);
  EXPECT_GE(b->GetNamedValue("GainMode", &v), 0);
  a->Close();
  b->Close();
  ASSERT_EQ(Sim().setFault("", "DllOpen", -1, 1), 0);
  EXPECT_EQ(Sim().open(OpenTextFor("f-1").c_str()), nullptr);
}

TEST_F(FaultTest, CallLogHasOneLinePerCallPerCamera) {
  Sim().clearCallLog();
  cam->PutOption(42, 1);
  cam->IoControl(0, 14, 5, nullptr);
  int v = 0;
  cam->GetNamedValue("FFCStatus", &v);
  cam->SetExposureTime(1234);
  char log[512];
  Sim().callLog("t-1", log, sizeof log);
  EXPECT_STREQ(log,
               "PutOption(42,1)\nIoControl(0,14,5)\nGetNamedValue(FFCStatus)\nSetExposureTime(1234)\n");
  EXPECT_EQ(Sim().callCount("t-1", "PutOption(42,"), 1);
  EXPECT_EQ(Sim().callCount("other", "PutOption"), 0);
  unsigned entries = 0;
  (void)entries;
  SdkDeviceEntry records[MaxCameras];
  Sim().enumCamera(records);
  EXPECT_EQ(Sim().callCount(nullptr, "DllEnumCamera()"), 1);
  // State inspection reads without logging.
  auto getState = reinterpret_cast<decltype(&QvSimGetState)>(dlsym(Sim().handle, "QvSimGetState"));
  ASSERT_NE(getState, nullptr);
  int exposure = 0;
  ASSERT_EQ(getState("t-1", "exposureUs", &exposure), 0);
  EXPECT_EQ(exposure, 1234);
  EXPECT_EQ(getState("t-1", "noSuchSetting", &exposure), -1);
  EXPECT_EQ(Sim().callCount("t-1", "GetExposureTime"), 0);
}

}  // namespace
}  // namespace simtest
