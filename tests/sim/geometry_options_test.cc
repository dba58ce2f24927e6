// Output geometry, options, named values, I/O lines and corrections.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>
#include <thread>
#include <chrono>

#include "tests/sim/sim_fixture.h"

namespace simtest {
namespace {

constexpr int32_t kWrongState = static_cast<int32_t>(0x8007139fu);

class GeometryTest : public SimCameraTest {
 protected:
  std::pair<unsigned, unsigned> Size() {
    unsigned w = 0, h = 0;
    EXPECT_GE(cam->GetOutputSize(&w, &h), 0);
    return {w, h};
  }
};

TEST_F(GeometryTest, OutputSizeFollowsResolutionRegionBinningAndRotation) {
  using Size2 = std::pair<unsigned, unsigned>;
  EXPECT_EQ(Size(), Size2(2448, 2048));
  ASSERT_GE(cam->SetResolutionIndex(1), 0);
  EXPECT_EQ(Size(), Size2(1224, 1024));
  ASSERT_GE(cam->SetSensorRegion(100, 200, 640, 480), 0);
  EXPECT_EQ(Size(), Size2(640, 480));
  ASSERT_GE(cam->PutOption(23, 0x82), 0);  // 2x2, averaging
  EXPECT_EQ(Size(), Size2(320, 240));
  ASSERT_GE(cam->PutOption(24, 90), 0);
  EXPECT_EQ(Size(), Size2(240, 320));
  ASSERT_GE(cam->PutOption(24, 180), 0);
  EXPECT_EQ(Size(), Size2(320, 240));
  ASSERT_GE(cam->SetSensorRegion(0, 0, 0, 0), 0);
  EXPECT_EQ(Size(), Size2(612, 512));
  // A region that does not fit, odd or too small, is refused and changes nothing.
  EXPECT_LT(cam->SetSensorRegion(1000, 0, 640, 480), 0);
  EXPECT_LT(cam->SetSensorRegion(1, 0, 64, 64), 0);
  EXPECT_LT(cam->SetSensorRegion(0, 0, 8, 8), 0);
  EXPECT_LT(cam->PutOption(23, 9), 0);
  EXPECT_LT(cam->PutOption(24, 45), 0);
  EXPECT_LT(cam->SetResolutionIndex(3), 0);
  EXPECT_EQ(Size(), Size2(612, 512));
  int numerator = 0, denominator = 0;
  ASSERT_GE(cam->GetResolutionRatio(2, &numerator, &denominator), 0);
  EXPECT_EQ(numerator / denominator, 4);
}

TEST_F(GeometryTest, GeometryIsFrozenWhileStreamingButAveragingAndHalfTurnsAreNot) {
  ASSERT_GE(cam->PutOption(23, 2), 0);
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(cam->SetResolutionIndex(1), kWrongState);
  EXPECT_EQ(cam->SetSensorRegion(0, 0, 256, 256), kWrongState);
  EXPECT_EQ(cam->PutOption(23, 4), kWrongState);
  EXPECT_EQ(cam->PutOption(24, 90), kWrongState);
  EXPECT_GE(cam->PutOption(23, 0x82), 0);
  EXPECT_GE(cam->PutOption(24, 180), 0);
  EXPECT_EQ(cam->PutOption(31, 0), kWrongState);
  ASSERT_GE(cam->StopStreaming(0), 0);
  EXPECT_GE(cam->SetResolutionIndex(1), 0);
}

TEST_F(GeometryTest, OptionDefaultsRangesAndFactoryReset) {
  int v = 0;
  // TEC range packed: low half -50.0 C, high half 40.0 C, in tenths.
  ASSERT_GE(cam->GetOption(109, &v), 0);
  EXPECT_EQ(static_cast<int16_t>(v & 0xFFFF), -500);
  EXPECT_EQ(static_cast<int16_t>(static_cast<unsigned>(v) >> 16), 400);
  // Lanes: a count query, then one value per lane, then the current position.
  v = static_cast<int>(0xFF000000u);
  ASSERT_GE(cam->GetOption(126, &v), 0);
  EXPECT_EQ(v, 4);
  std::vector<int> lanes;
  for (int i = 0; i < 4; ++i) {
    v = static_cast<int>(0xFE000000u | i);
    ASSERT_GE(cam->GetOption(126, &v), 0);
    lanes.push_back(v);
  }
  EXPECT_EQ(lanes, (std::vector<int>{1, 2, 4, 8}));
  v = 0;
  ASSERT_GE(cam->GetOption(126, &v), 0);
  EXPECT_EQ(v, 0);
  // A preset replaces a computed read-only value.
  ASSERT_EQ(Sim().setOption("t-1", 109, static_cast<int>((500u << 16) | static_cast<uint16_t>(-200))), 0);
  ASSERT_GE(cam->GetOption(109, &v), 0);
  EXPECT_EQ(static_cast<int16_t>(v & 0xFFFF), -200);
  // Unknown and model-less options fail; read-only ones refuse writes.
  EXPECT_LT(cam->GetOption(999, &v), 0);
  EXPECT_LT(cam->GetOption(87, &v), 0);  // HDR combination: not on this model
  EXPECT_LT(cam->PutOption(109, 0), 0);
  EXPECT_LT(cam->PutOption(74, 100), 0);
  // Factory reset restores what was changed.
  ASSERT_GE(cam->PutOption(74, 40), 0);
  ASSERT_GE(cam->SetExposureTime(50000), 0);
  ASSERT_GE(cam->PutOption(31, 0), 0);
  ASSERT_GE(cam->GetOption(74, &v), 0);
  EXPECT_EQ(v, 0);
  unsigned us = 0;
  cam->GetExposureTime(&us);
  EXPECT_EQ(us, 10000u);
}

TEST_F(GeometryTest, RawFormatFollowsPixelFormatAndColour) {
  unsigned fourCC = 0, bits = 0;
  ASSERT_GE(cam->GetRawFormat(&fourCC, &bits), 0);
  EXPECT_EQ(fourCC, 0x59595959u);  // YYYY
  EXPECT_EQ(bits, 8u);
  ASSERT_GE(cam->PutOption(26, 2), 0);
  ASSERT_GE(cam->GetRawFormat(&fourCC, &bits), 0);
  EXPECT_EQ(bits, 12u);
  EXPECT_LT(cam->PutOption(26, 8), 0);  // RGB888 is not offered by a mono camera
  OpenModel("Quorvex C8 ISP");
  ASSERT_GE(cam->GetRawFormat(&fourCC, &bits), 0);
  const char grbg[4] = {'G', 'R', 'B', 'G'};
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&fourCC), 4), std::string(grbg, 4));
}

TEST_F(GeometryTest, GainModeHdrChangesThePixelFormatList) {
  OpenModel("Quorvex C4 HDR");
  auto list = [&] {
    const char* names[128] = {};
    int count = 0;
    EXPECT_GE(cam->ListNamedValues("PixelFormat", &count, 0, names), 0);
    std::vector<std::string> out;
    for (int i = 0; i < count && names[i] != nullptr; ++i) out.push_back(names[i]);
    return out;
  };
  EXPECT_EQ(list(), (std::vector<std::string>{"RAW8", "RAW12"}));
  ASSERT_GE(cam->PutOption(26, 2), 0);
  ASSERT_GE(cam->SetNamedValue("GainMode", 3), 0);
  EXPECT_EQ(list(), (std::vector<std::string>{"RAW8", "RAW16", "HDR12HL"}));
  // RAW12 is not offered in HDR mode: the camera fell back to the first format.
  char text[128];
  ASSERT_GE(cam->GetNamedValueText("PixelFormat", text), 0);
  EXPECT_STREQ(text, "RAW8");
  EXPECT_LT(cam->SetNamedValue("GainMode", 4), 0);
  // Names are the SDK's own texts: the same pointers on every call.
  const char* a[128] = {};
  const char* b[128] = {};
  int n = 0;
  cam->ListNamedValues("PixelFormat", &n, 0, a);
  cam->ListNamedValues("PixelFormat", &n, 0, b);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[n], nullptr);
}

TEST_F(GeometryTest, IoLinesFollowTheModelAndCheckDirections) {
  int out = -1;
  ASSERT_GE(cam->IoControl(2, 1, 0, &out), 0);
  EXPECT_EQ(out, 3);  // GPIO: both directions
  ASSERT_GE(cam->IoControl(0, 1, 0, &out), 0);
  EXPECT_EQ(out, 1);  // opto-isolated input only
  EXPECT_LT(cam->IoControl(0, 4, 1, nullptr), 0);  // a fixed-direction line cannot switch
  ASSERT_GE(cam->IoControl(2, 10, 1, nullptr), 0);
  ASSERT_GE(cam->IoControl(2, 9, 0, &out), 0);
  EXPECT_EQ(out, 1);
  ASSERT_GE(cam->IoControl(0, 9, 0, &out), 0);
  EXPECT_EQ(out, 0);  // settings are per line
  EXPECT_LT(cam->IoControl(3, 9, 0, &out), 0);  // three lines on this model
  EXPECT_LT(cam->IoControl(0, 14, 6, nullptr), 0);
  EXPECT_LT(cam->IoControl(0, 22, 0, nullptr), 0);  // counter value 1 .. 65535
  OpenModel("Quorvex C8 ISP");
  EXPECT_LT(cam->IoControl(0, 13, 0, &out), 0);
}

TEST_F(GeometryTest, CorrectionBuildProgressesOverStreamedFrames) {
  int status = -1;
  ASSERT_GE(cam->GetNamedValue("FFCStatus", &status), 0);
  EXPECT_EQ(status, 0);
  ASSERT_GE(cam->SetNamedValue("FFCInit", 3), 0);
  ASSERT_GE(cam->GetNamedValue("FFCStatus", &status), 0);
  EXPECT_EQ(status, 3 << 16);  // 0 of 3 frames
  ASSERT_GE(cam->PutOption(11, 1), 0);
  EventCounter events;
  ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, EventCounter::Callback, nullptr,
                                &events),
            0);
  ASSERT_GE(cam->SetExposureTime(1000), 0);
  ASSERT_GE(cam->TriggerFrames(2), 0);
  for (int i = 0; i < 200 && events.frames < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GE(cam->GetNamedValue("FFCStatus", &status), 0);
  EXPECT_EQ(status, (2 << 8) | (3 << 16));
  ASSERT_GE(cam->TriggerFrames(1), 0);
  for (int i = 0; i < 200 && events.frames < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GE(cam->GetNamedValue("FFCStatus", &status), 0);
  EXPECT_EQ(status, 2);  // initialised
  ASSERT_GE(cam->SetNamedValue("FFCEnable", 1), 0);
  ASSERT_GE(cam->GetNamedValue("FFCStatus", &status), 0);
  EXPECT_EQ(status, 1);  // enabled
  cam->StopStreaming(0);
}

TEST_F(GeometryTest, TemperatureFollowsTheCoolerAndTheFanStopsIt) {
  auto temperature = [&] {
    short t = 0;
    EXPECT_GE(cam->GetTemperature(&t), 0);
    return t;
  };
  ASSERT_GE(cam->SetTecTarget(-100), 0);
  ASSERT_EQ(Sim().setTemperature("t-1", 250), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const short cooled = temperature();
  EXPECT_LT(cooled, 250);  // toward -10.0 C
  EXPECT_GT(cooled, -100);
  ASSERT_GE(cam->SetFanSpeed(0), 0);  // without its fan the cooler switches off
  int tec = -1;
  ASSERT_GE(cam->GetOption(8, &tec), 0);
  EXPECT_EQ(tec, 0);
  ASSERT_EQ(Sim().setTemperature("t-1", -50), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GT(temperature(), -50);  // back toward ambient
  EXPECT_LT(cam->SetTecTarget(-600), 0);
  OpenModel("Quorvex C8 ISP");
  short t = 0;
  EXPECT_LT(cam->GetTemperature(&t), 0);  // no sensor on this model
}

TEST(SimSettingsFile, PersistedOnlyWhenConfigured) {
  char dir[] = "/tmp/qvsim-ini-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string open = std::string("@p-1;ini=") + dir + "/Quorvex M5 Cool.ini";
  auto session = [&](bool persist, unsigned exposure) {
    Sim().reset();
    const std::string json = std::string(R"({"persistSettings": )") + (persist ? "true" : "false") +
                             R"(, "cameras": [{"id": "p-1"}]})";
    EXPECT_EQ(Sim().configure(json.c_str()), 0);
    SdkCamera* c = Sim().open(open.c_str());
    EXPECT_NE(c, nullptr);
    unsigned before = 0;
    c->GetExposureTime(&before);
    if (exposure != 0) {
      c->SetExposureTime(exposure);
      c->PutOption(74, 33);
      c->PutOption(11, 1);  // the trigger mode is not a saved setting
    }
    int peak = 0;
    c->GetOption(74, &peak);
    int mode = -1;
    c->GetOption(11, &mode);
    c->Close();
    return std::make_tuple(before, peak, mode);
  };
  session(false, 50000);
  EXPECT_EQ(std::get<0>(session(false, 0)), 10000u);  // nothing was saved
  session(true, 50000);
  const auto [exposure, peak, mode] = session(true, 0);
  EXPECT_EQ(exposure, 50000u);
  EXPECT_EQ(peak, 33);
  EXPECT_EQ(mode, 0);
  std::remove((std::string(dir) + "/Quorvex M5 Cool.ini").c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace simtest
