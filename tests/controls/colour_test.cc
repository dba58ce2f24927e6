// White balance, colour adjustment, flips, negative, denoise, sharpening,
// tone mapping and the SDK's white-balance event.
#include "tests/controls/controls_fixture.h"

namespace {

class Colour : public ControlsTest {};

Lines Only(const Lines& lines, const std::vector<std::string>& prefixes) {
  Lines picked;
  for (const std::string& line : lines) {
    for (const std::string& p : prefixes) {
      if (line.rfind(p, 0) == 0) {
        picked.push_back(line);
        break;
      }
    }
  }
  return picked;
}

TEST_F(Colour, OnceStopsContinuousStartsOneBalanceAndThenReadsOff) {
  Start();
  SetOption(108, 500);
  EXPECT_EQ(Write("AutoWhiteBalance", "Once"), 0);
  EXPECT_EQ(Sdk().Writes(),
            (Lines{"PutOption(108,0)", "WhiteBalanceOnce(null,null)", "SetParameter(AwbOff,1)"}));
  EXPECT_EQ(Read("AutoWhiteBalance"), "Off");
}

TEST_F(Colour, ContinuousRunsWithTheKeptInterval) {
  Start();
  EXPECT_EQ(Write("AutoWhiteBalanceInterval", "2000"), 0);
  EXPECT_EQ(Write("AutoWhiteBalance", "Continuous"), 0);
  EXPECT_EQ(Sdk().Writes(), (Lines{"SetParameter(AwbInterval,2000)", "PutOption(108,2000)",
                                   "SetParameter(AwbOff,1)"}));
  EXPECT_EQ(Read("AutoWhiteBalance"), "Continuous");
  // A new interval is kept for the next start; the running one stays.
  EXPECT_EQ(Write("AutoWhiteBalanceInterval", "3000"), 0);
  EXPECT_EQ(Option(108), 2000);
}

TEST_F(Colour, OffZeroesTheGainsAndRepublishesThem) {
  Start([](RecordingSdkCamera::State& s) { s.whiteBalance = {10, 20, 30}; });
  EXPECT_EQ(Write("AutoWhiteBalance", "Off"), 0);
  EXPECT_EQ(Sdk().Writes(), (Lines{"PutOption(108,0)", "SetWhiteBalanceGain(0,0,0)"}));
  EXPECT_EQ(host.Changes("WhiteBalance"),
            (Lines{"WhiteBalanceRGain=0", "WhiteBalanceGGain=0", "WhiteBalanceBGain=0"}));
}

TEST_F(Colour, OneGainIsWrittenWithTheOtherTwoAsTheSdkHoldsThem) {
  Start();
  State([](RecordingSdkCamera::State& s) { return s.whiteBalance = {10, 20, 30}; });
  EXPECT_EQ(Write("WhiteBalanceGGain", "50"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetWhiteBalanceGain(10,50,30)"});
  EXPECT_EQ(Write("WhiteBalanceBGain", "-7"), 0);
  EXPECT_EQ(Read("WhiteBalanceRGain"), "10");
  EXPECT_EQ(Read("WhiteBalanceBGain"), "-7");
}

TEST_F(Colour, WhiteBalanceEventRepublishesTheGainsInOrder) {
  Start();
  State([](RecordingSdkCamera::State& s) { return s.whiteBalance = {1, 2, 3}; });
  Sdk().Fire(6);
  EXPECT_EQ(host.Changes("WhiteBalance"),
            (Lines{"WhiteBalanceRGain=1", "WhiteBalanceGGain=2", "WhiteBalanceBGain=3"}));
}

struct Adjustment {
  const char* property;
  const char* written;
  const char* sdkCall;
};
class Adjustments : public ControlsTest, public ::testing::WithParamInterface<Adjustment> {};

TEST_P(Adjustments, ReachTheSdkAndReadBack) {
  const Adjustment& a = GetParam();
  Start();
  EXPECT_EQ(Write(a.property, a.written), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{a.sdkCall}) << a.property;
  EXPECT_EQ(Read(a.property), a.written) << a.property;
}

INSTANTIATE_TEST_SUITE_P(
    Colour, Adjustments,
    ::testing::Values(Adjustment{"Hue", "-90", "SetHue(-90)"},
                      Adjustment{"Saturation", "200", "SetSaturation(200)"},
                      Adjustment{"Brightness", "-255", "SetBrightness(-255)"},
                      Adjustment{"Contrast", "40", "SetContrast(40)"},
                      Adjustment{"Gamma", "150", "SetGamma(150)"},
                      Adjustment{"FlipHorizontal", "ON", "SetHorizontalFlip(1)"},
                      Adjustment{"FlipVertical", "ON", "SetVerticalFlip(1)"},
                      Adjustment{"Negative", "ON", "SetNegative(1)"},
                      Adjustment{"Denoise", "60", "PutOption(53,60)"},
                      Adjustment{"Sharpening", "100", "PutOption(30,131172)"},  // 0x20064
                      Adjustment{"ToneMapping", "Polynomial", "PutOption(10,1)"},
                      Adjustment{"ToneMapping", "Logarithmic", "PutOption(10,2)"}));

TEST_F(Colour, SharpeningShowsTheLowBitsAndToneMappingCatchesAll) {
  Start();
  SetOption(30, 0x20064);
  EXPECT_EQ(Read("Sharpening"), "100");
  SetOption(10, 5);
  EXPECT_EQ(Read("ToneMapping"), "Logarithmic");
  EXPECT_EQ(Write("ToneMapping", "OFF"), 0);
  EXPECT_EQ(Option(10), 0);
}

TEST_F(Colour, MonochromeModelsHaveNoColourProperties) {
  sdk.model.capabilities |= Bit(SdkCapability::Monochrome);
  Start();
  for (const char* name : {"AutoWhiteBalance", "AutoWhiteBalanceInterval", "WhiteBalanceRGain",
                           "Hue", "Saturation", "Brightness", "ToneMapping"}) {
    EXPECT_FALSE(Exists(name)) << name;
  }
  EXPECT_TRUE(Exists("Contrast"));
  EXPECT_EQ(Only(Sdk().Writes(), {"SetWhiteBalanceGain"}), Lines{});
}

}  // namespace
