// Lifecycle: every camera operation in every state with its exact answer,
// initialisation failures, re-initialisation, and two cameras sharing one
// SDK camera.
#include <functional>

#include "tests/camera/camera_fixture.h"

namespace {

enum State { Constructed, Initialised, ShutDown, StateCount };
const char* const kStateNames[] = {"constructed", "initialised", "shut down"};

struct OperationCase {
  const char* name;
  std::function<double(Camera&)> call;
  double expected[StateCount];
};

class LifecycleTest : public CameraFixture {
 protected:
  Camera& InState(State state) {
    Camera& camera = NewCamera();
    if (state != Constructed) {
      EXPECT_EQ(camera.Initialize(), 0);
    }
    if (state == ShutDown) {
      EXPECT_EQ(camera.Shutdown(), 0);
    }
    return camera;
  }
};

TEST_F(LifecycleTest, EveryOperationInEveryStateAnswersItsCode) {
  unsigned u = 0;
  long capacity = 0;
  bool flag = true;
  char text[HostStringLimit];
  const OperationCase cases[] = {
      {"CaptureImage", [](Camera& c) { return c.CaptureImage(); }, {35, 0, 35}},
      {"StartSequence", [](Camera& c) {
         int result = c.StartSequence(1, 0.0, false);
         c.StopSequence();
         return result;
       }, {35, 0, 35}},
      {"StopSequence", [](Camera& c) { return c.StopSequence(); }, {0, 0, 0}},
      {"PrepareSequence", [](Camera& c) { return c.PrepareSequence(); }, {0, 0, 0}},
      {"IsSequenceRunning", [](Camera& c) { return c.IsSequenceRunning(); }, {0, 0, 0}},
      {"MultiRegionCount", [&](Camera& c) { return c.MultiRegionCount(u); }, {11, 11, 11}},
      {"SetMultiRegion", [&](Camera& c) { return c.SetMultiRegion(&u, &u, &u, &u, 1); }, {11, 11, 11}},
      {"GetMultiRegion", [&](Camera& c) { return c.GetMultiRegion(&u, &u, &u, &u, u); }, {11, 11, 11}},
      {"SupportsMultiRegion", [](Camera& c) { return c.SupportsMultiRegion(); }, {0, 0, 0}},
      {"ExposureCanSequence", [&](Camera& c) { return c.ExposureCanSequence(flag) + flag; }, {0, 0, 0}},
      {"ExposureSequenceCapacity", [&](Camera& c) { return c.ExposureSequenceCapacity(capacity); }, {11, 11, 11}},
      {"BeginExposureSequence", [](Camera& c) { return c.BeginExposureSequence(); }, {11, 11, 11}},
      {"EndExposureSequence", [](Camera& c) { return c.EndExposureSequence(); }, {11, 11, 11}},
      {"ResetExposureSequence", [](Camera& c) { return c.ResetExposureSequence(); }, {11, 11, 11}},
      {"AppendExposureSequence", [](Camera& c) { return c.AppendExposureSequence(5); }, {11, 11, 11}},
      {"CommitExposureSequence", [](Camera& c) { return c.CommitExposureSequence(); }, {11, 11, 11}},
      {"ComponentName(0)", [&](Camera& c) { return c.ComponentName(0, text); }, {0, 0, 0}},
      {"ComponentName(1)", [&](Camera& c) { return c.ComponentName(1, text); }, {23, 23, 23}},
      {"ChannelName", [&](Camera& c) { return c.ChannelName(3, text); }, {0, 0, 0}},
      {"ChannelCount", [](Camera& c) { return c.ChannelCount(); }, {1, 1, 1}},
      {"ComponentCount", [](Camera& c) { return c.ComponentCount(); }, {1, 1, 1}},
      {"ImageBitDepth", [](Camera& c) { return c.ImageBitDepth(); }, {8, 12, 8}},
      {"PixelSizeUm", [](Camera& c) { return c.PixelSizeUm(); }, {0, 5.0, 0}},
      {"GetExposure", [](Camera& c) { return c.GetExposure(); }, {0, 10.0, 0}},
      {"ImageBufferSize", [](Camera& c) { return c.ImageBufferSize(); }, {0, 64 * 32, 64 * 32}},
      {"ImagePixelsRgb32", [](Camera& c) { return c.ImagePixelsRgb32() != nullptr; }, {0, 0, 0}},
      {"SetExposure then GetExposure", [](Camera& c) {
         c.SetExposure(20.0);
         return c.GetExposure();
       }, {0, 20.0, 0}},
      {"Shutdown", [](Camera& c) { return c.Shutdown(); }, {0, 0, 0}},
  };
  for (int state = Constructed; state < StateCount; ++state) {
    for (const OperationCase& operation : cases) {
      Camera& camera = InState(static_cast<State>(state));
      EXPECT_DOUBLE_EQ(operation.call(camera), operation.expected[state])
          << operation.name << " while " << kStateNames[state];
    }
  }
}

TEST_F(LifecycleTest, InitialiseTwiceOpensOnceAndShutdownTwiceIsHarmless) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  EXPECT_EQ(camera.Initialize(), 0);
  EXPECT_EQ(sdk.opened.size(), 1u);
  EXPECT_EQ(camera.Shutdown(), 0);
  EXPECT_EQ(camera.Shutdown(), 0);
  EXPECT_EQ(Sdk().Calls("Close"), 1);
}

TEST_F(LifecycleTest, ReinitialisationOpensAnewAndRestartsTheStream) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  ASSERT_EQ(camera.Shutdown(), 0);
  ASSERT_EQ(camera.Initialize(), 0);
  ASSERT_EQ(sdk.opened.size(), 2u);
  EXPECT_EQ(Sdk(1).Context(), &camera);
  EXPECT_EQ(camera.CaptureImage(), 0);
}

TEST_F(LifecycleTest, NoEnumeratedCameraOrNoDllOpenFailsWith35) {
  Camera& camera = NewCamera();
  sdk.count = 0;
  EXPECT_EQ(camera.Initialize(), 35);
  EXPECT_FALSE(camera.HasSdk());
  sdk.count = 1;
  sdk.exportsOpen = false;
  EXPECT_EQ(camera.Initialize(), 35);
  EXPECT_FALSE(camera.HasSdk());
  EXPECT_TRUE(sdk.opened.empty());
  sdk.exportsOpen = true;
  EXPECT_EQ(camera.Initialize(), 0);
}

TEST_F(LifecycleTest, OpenTextNamesTheSettingsFileUnderTheUsersHome) {
  Camera& camera = NewCamera("no such name");  // falls back to the first record
  ASSERT_EQ(camera.Initialize(), 0);
  ASSERT_EQ(sdk.openTexts.size(), 1u);
  const std::string& text = sdk.openTexts[0];
  EXPECT_EQ(text.rfind("@" + sdk.id + ";ini=/", 0), 0u) << text;
  EXPECT_NE(text.find("/.mmgr/Fake M1.ini"), std::string::npos) << text;
  char label[HostStringLimit];
  camera.GetLabel(label);
  EXPECT_STREQ(label, "Fake M1");
}

TEST_F(LifecycleTest, TwoCamerasShareOneSdkCameraAndTheLastOneClosesIt) {
  Camera& first = NewCamera();
  Camera& second = NewCamera();
  ASSERT_EQ(first.Initialize(), 0);
  ASSERT_EQ(second.Initialize(), 0);
  ASSERT_EQ(sdk.opened.size(), 1u) << "the second camera must share, not open";
  EXPECT_EQ(Sdk().Context(), &second);

  // The event owner leaves: the events must go to the camera that remains.
  ASSERT_EQ(second.Shutdown(), 0);
  EXPECT_EQ(Sdk().Calls("Close"), 0);
  EXPECT_EQ(Sdk().Context(), &first);
  cameras.pop_back();  // destroys `second`
  Sdk().Fire(4);       // reaches `first`, not freed memory
  EXPECT_EQ(first.CaptureImage(), 0);

  ASSERT_EQ(first.Shutdown(), 0);
  EXPECT_EQ(Sdk().Calls("Close"), 1);
}

TEST_F(LifecycleTest, DestroyingAnInitialisedCameraStopsItsThreadsAndClosesTheSdkCamera) {
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Sdk().defaultPull = SdkPullPending;  // the sequence waits for a frame forever
  ASSERT_EQ(camera.StartContinuousSequence(0.0), 0);
  cameras.clear();
  EXPECT_EQ(Sdk().Calls("Close"), 1);
}

}  // namespace
