// Exposure, frame rate, bandwidth, speed, auto exposure, gain, conversion
// gain and the SDK's exposure event.
#include <algorithm>

#include "tests/controls/controls_fixture.h"

namespace {

class Exposure : public ControlsTest {
 protected:
  // Host notifications of the three properties the exposure event touches.
  Lines ExposureFamilyChanges() {
    Lines picked;
    for (const std::string& c : host.Changes()) {
      if (c.rfind("Exposure=", 0) == 0 || c.rfind("Gain=", 0) == 0 ||
          c.rfind("RealExposure=", 0) == 0) {
        picked.push_back(c);
      }
    }
    return picked;
  }
};

TEST_F(Exposure, ReadingAnnouncesTheExposureAndRefreshesTheRealExposure) {
  Start();
  EXPECT_EQ(Read("Exposure"), "10.0000");
  EXPECT_EQ(host.ExposureAnnouncements(), 1);
  EXPECT_EQ(host.Changes("RealExposure"), Lines{"RealExposure=10.0000"});
  EXPECT_EQ(host.Changes("Exposure="), Lines{});
}

TEST_F(Exposure, WritingSendsWholeMicrosecondsOnlyWhenTheyChange) {
  Start();
  EXPECT_EQ(Write("Exposure", "10.0004"), 0);  // 10000.4 us: the same whole microseconds
  EXPECT_EQ(Sdk().Writes(), Lines{});
  EXPECT_EQ(host.ExposureAnnouncements(), 0);

  EXPECT_EQ(Write("Exposure", "20.5"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetExposureTime(20500)"});
  EXPECT_GE(host.ExposureAnnouncements(), 1);
  EXPECT_FALSE(host.Changes("Exposure=20.5000").empty());
  EXPECT_FALSE(host.Changes("RealExposure=20.5000").empty());
}

TEST_F(Exposure, FrameRateInTenths) {
  Start();
  EXPECT_EQ(Read("FrameRate"), "25.0000");
  EXPECT_EQ(Write("FrameRate", "12.5"), 0);
  EXPECT_EQ(Option(45), 125);
  SetOption(45, 233);
  EXPECT_EQ(Read("FrameRate"), "23.3000");
}

TEST_F(Exposure, BandwidthRefreshesFrameRateAndExposureLimits) {
  Start();
  SetOption(44, 200);
  State([](RecordingSdkCamera::State& s) { return s.exposureMax = 500000; });
  EXPECT_EQ(Write("Bandwidth", "50"), 0);
  EXPECT_EQ(Option(46), 50);
  double upper = 0;
  camera->PropertyUpperLimit("FrameRate", upper);
  EXPECT_DOUBLE_EQ(upper, 20.0);
  camera->PropertyUpperLimit("Exposure", upper);
  EXPECT_DOUBLE_EQ(upper, 500.0);
  EXPECT_FALSE(host.Changes("Exposure=").empty());
  EXPECT_FALSE(host.Changes("RealExposure=").empty());
  EXPECT_GE(host.ExposureAnnouncements(), 1);
}

TEST_F(Exposure, SpeedOnModelsWithoutFrameRateControl) {
  sdk.model.capabilities &= ~Bit(SdkCapability::FrameRateControl);
  Start();
  EXPECT_FALSE(Exists("FrameRate"));
  EXPECT_EQ(Write("Speed", "2"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetSpeed(2)"});
  EXPECT_EQ(Read("Speed"), "2");
}

TEST_F(Exposure, AutoExposureSwitchAndTarget) {
  Start();
  EXPECT_EQ(Write("AutoExposure", "OFF"), 0);
  EXPECT_EQ(Write("AutoExposure", "ON"), 0);
  EXPECT_EQ(Write("AutoExposureTarget", "200"), 0);
  EXPECT_EQ(Sdk().Writes(),
            (Lines{"SetAutoExposure(0)", "SetAutoExposure(1)", "SetAutoExposureTarget(200)"}));
  EXPECT_EQ(Write("AutoExposure", "MAYBE"), 3);  // refused before the handler
}

TEST_F(Exposure, PolicyIsAListPositionAndAFailedReadShowsNothingNew) {
  Start();
  EXPECT_EQ(Write("AutoExposure Policy", "Gain Only"), 0);
  EXPECT_EQ(Option(16), 2);
  State([](RecordingSdkCamera::State& s) { return s.options.erase(16); });
  EXPECT_EQ(Read("AutoExposure Policy"), "Gain Only");
}

// Peak mode and percent share option 74.
struct PeakRead {
  int option74;
  const char* mode;
  const char* percent;
};
class PeakReads : public ControlsTest, public ::testing::WithParamInterface<PeakRead> {};

TEST_P(PeakReads, ShowModeAndPercent) {
  Start();
  SetOption(74, GetParam().option74);
  EXPECT_EQ(Read("AutoExposure Peak Mode"), GetParam().mode);
  EXPECT_EQ(Read("AutoExposure Percent"), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(Option74, PeakReads,
                         ::testing::Values(PeakRead{0, "OFF", "1"}, PeakRead{37, "ON", "37"},
                                           PeakRead{99, "ON", "99"}, PeakRead{150, "OFF", "1"},
                                           PeakRead{-5, "OFF", "1"}));

TEST_F(Exposure, PeakModeWritesFollowTheSwitch) {
  Start();
  Write("AutoExposure Percent", "30");  // peak mode off: not sent
  EXPECT_EQ(Option(74), 0);
  Write("AutoExposure Peak Mode", "ON");  // from off: 1
  EXPECT_EQ(Option(74), 1);
  Write("AutoExposure Percent", "30");
  EXPECT_EQ(Option(74), 30);
  Write("AutoExposure Peak Mode", "OFF");
  EXPECT_EQ(Option(74), 0);
  const Lines puts = [&] {
    Lines p;
    for (const std::string& w : Sdk().Writes()) {
      if (w.rfind("PutOption(74,", 0) == 0) p.push_back(w);
    }
    return p;
  }();
  EXPECT_EQ(puts, (Lines{"PutOption(74,1)", "PutOption(74,30)", "PutOption(74,0)"}));
}

TEST_F(Exposure, AutoExposureLimitsSendBothHalves) {
  Start([](RecordingSdkCamera::State& s) { s.aeMaxGain = 700; });
  EXPECT_EQ(Write("AutoExposure Maximum Exposure Time", "200"), 0);
  EXPECT_EQ(Write("AutoExposure Maximum Gain", "800"), 0);
  EXPECT_EQ(Sdk().Writes(),
            (Lines{"SetAutoExposureLimits(200,700)", "SetAutoExposureLimits(200,800)"}));
}

TEST_F(Exposure, WithoutGainSupportTheTimeGoesWithTheDefaultGain) {
  Start([](RecordingSdkCamera::State& s) {
    s.capabilities["issupportgain"] = 0;
    s.aeMaxGain = 700;
  });
  EXPECT_FALSE(Exists("Gain"));
  EXPECT_FALSE(Exists("AutoExposure Maximum Gain"));
  EXPECT_EQ(Write("AutoExposure Maximum Exposure Time", "200"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetAutoExposureLimits(200,500)"});
}

TEST_F(Exposure, GainIsSentAndReadBack) {
  Start();
  EXPECT_EQ(Write("Gain", "300"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetGain(300)"});
  EXPECT_EQ(Read("Gain"), "300");
}

struct ConversionCase {
  bool threeLevel;
  int option25;
  const char* shown;
  const char* written;
  int sent;
};
class ConversionGain : public ControlsTest,
                       public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionGain, MapsTextsNotListPositions) {
  const ConversionCase& c = GetParam();
  if (c.threeLevel) sdk.model.capabilities |= Bit(SdkCapability::ThreeLevelConversionGain);
  else sdk.model.capabilities |= Bit(SdkCapability::HdrConversionGain);
  Start();
  SetOption(25, c.option25);
  EXPECT_EQ(Read("ConversionGain"), c.shown);
  EXPECT_EQ(Write("ConversionGain", c.written), 0);
  EXPECT_EQ(Option(25), c.sent);
}

INSTANTIATE_TEST_SUITE_P(Option25, ConversionGain,
                         ::testing::Values(ConversionCase{true, 1, "HCG", "MCG", 2},
                                           ConversionCase{true, 2, "MCG", "HCG", 1},
                                           ConversionCase{true, 9, "MCG", "LCG", 0},
                                           ConversionCase{false, 2, "HDR", "HDR", 2},
                                           ConversionCase{false, 0, "LCG", "HCG", 1}));

TEST_F(Exposure, SdkExposureEventRepublishesExposureGainAndRealExposure) {
  Start();
  State([](RecordingSdkCamera::State& s) {
    s.exposureUs = 5000;
    s.gain = 400;
    return 0;
  });
  Sdk().Fire(1);
  // Exposure, then Gain, then RealExposure (reading Exposure also refreshes
  // RealExposure on the way, so that one appears more than once).
  const Lines changes = ExposureFamilyChanges();
  auto exposure = std::find(changes.begin(), changes.end(), "Exposure=5.0000");
  auto gain = std::find(changes.begin(), changes.end(), "Gain=400");
  ASSERT_NE(exposure, changes.end());
  ASSERT_NE(gain, changes.end());
  EXPECT_LT(exposure, gain);
  EXPECT_EQ(changes.back(), "RealExposure=5.0000");
  EXPECT_EQ(host.Changes("Gain="), Lines{"Gain=400"});
  EXPECT_GE(host.ExposureAnnouncements(), 1);

  host.Clear();
  Sdk().Fire(9);  // an event the camera does not know
  EXPECT_EQ(ExposureFamilyChanges(), Lines{});
  EXPECT_EQ(host.ExposureAnnouncements(), 0);
}

}  // namespace
