// Temperature, cooler, fan, heater, power, sensor modes, binning method and
// the read-only figures.
#include "tests/controls/controls_fixture.h"

namespace {

class Sensor : public ControlsTest {};

TEST_F(Sensor, TemperatureInTenthsAndAFailedReadKeepsTheLastValue) {
  Start();
  State([](RecordingSdkCamera::State& s) { return s.temperature = -55; });
  EXPECT_EQ(Read("Temperature"), "-5.5000");
  State([](RecordingSdkCamera::State& s) {
    s.temperature = 300;
    return s.temperatureStatus = -1;
  });
  EXPECT_EQ(Read("Temperature"), "-5.5000");
}

TEST_F(Sensor, CoolerOnRepublishesTheFanAndTargetIsTruncatedTenths) {
  Start();
  EXPECT_EQ(Write("TEC", "ON"), 0);
  EXPECT_EQ(Option(8), 1);
  EXPECT_EQ(host.Changes("Fan"), Lines{"Fan=OFF"});
  host.Clear();
  EXPECT_EQ(Write("TEC", "OFF"), 0);
  EXPECT_EQ(Option(8), 0);
  EXPECT_EQ(host.Changes("Fan"), Lines{});

  EXPECT_EQ(Write("TECTarget", "12.35"), 0);
  EXPECT_EQ(Sdk().Writes().back(), "SetTecTarget(123)");
  EXPECT_EQ(Read("TECTarget"), "12.3000");
}

TEST_F(Sensor, CoolerPowerIsAPercentageAndUnreadableMaximumKeepsIt) {
  Start();
  EXPECT_EQ(Read("TECPower"), "25.0000");  // 30 of 120
  SetOption(32, 50);
  SetOption(33, 200);
  EXPECT_EQ(Read("TECPower"), "25.0000");
  SetOption(32, 100);
  SetOption(33, 0);
  EXPECT_EQ(Read("TECPower"), "25.0000");
}

TEST_F(Sensor, FanOffRepublishesTheCooler) {
  Start();
  EXPECT_EQ(Write("Fan", "2"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetFanSpeed(2)"});
  EXPECT_EQ(Read("Fan"), "2");
  EXPECT_EQ(Write("Fan", "OFF"), 0);
  EXPECT_EQ(Sdk().Writes().back(), "SetFanSpeed(0)");
  EXPECT_EQ(host.Changes("TEC="), Lines{"TEC=OFF"});
}

TEST_F(Sensor, HeaterLevels) {
  Start();
  EXPECT_EQ(Write("Heat", "3"), 0);
  EXPECT_EQ(Option(55), 3);
  EXPECT_EQ(Read("Heat"), "3");
  EXPECT_EQ(Write("Heat", "OFF"), 0);
  EXPECT_EQ(Option(55), 0);
}

TEST_F(Sensor, PowerFrequencyRepublishesTheRealExposure) {
  Start();
  EXPECT_EQ(Write("PowerFrequency", "DC"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetPowerFrequency(2)"});
  EXPECT_EQ(host.Changes("RealExposure"), Lines{"RealExposure=10.0000"});
  EXPECT_EQ(Read("PowerFrequency"), "DC");
  EXPECT_EQ(Write("PowerFrequency", "50HZ"), 0);
  EXPECT_EQ(Read("PowerFrequency"), "50HZ");
}

struct Switch {
  const char* property;
  unsigned option;
  const char* on;
};
class Switches : public ControlsTest, public ::testing::WithParamInterface<Switch> {};

TEST_P(Switches, WriteThePositionAndShowNonZeroAsTheSecondEntry) {
  const Switch& s = GetParam();
  Start();
  EXPECT_EQ(Write(s.property, s.on), 0);
  EXPECT_EQ(Option(s.option), 1) << s.property;
  SetOption(s.option, 7);
  EXPECT_EQ(Read(s.property), s.on) << s.property;
  SetOption(s.option, 0);
  EXPECT_NE(Read(s.property), s.on) << s.property;
}

INSTANTIATE_TEST_SUITE_P(Options, Switches,
                         ::testing::Values(Switch{"LowNoise", 56, "ON"},
                                           Switch{"GlobalResetMode", 58, "ON"},
                                           Switch{"AntiShutterEffect", 75, "ON"},
                                           Switch{"LowPowerConsumption", 102, "ON"},
                                           Switch{"MechanicalShutter", 118, "Close"}));

TEST_F(Sensor, ReadoutModeShowsOnlyReadablePositions) {
  Start();
  EXPECT_EQ(Write("ReadoutMode", "ITR (Integrate Then Read)"), 0);
  EXPECT_EQ(Option(105), 1);
  SetOption(105, 5);  // past the list: nothing new shown
  EXPECT_EQ(Read("ReadoutMode"), "ITR (Integrate Then Read)");
  SetOption(105, 0);
  EXPECT_EQ(Read("ReadoutMode"), "IWR (Integrate While Read)");
}

TEST_F(Sensor, NumbersPassUnchanged) {
  Start();
  EXPECT_EQ(Write("Correlated Double Sampling", "2"), 0);
  EXPECT_EQ(Option(110), 2);
  EXPECT_EQ(Write("AntiBlooming", "4"), 0);
  EXPECT_EQ(Option(139), 4);
  EXPECT_EQ(Write("VoltageBias", "12.7"), 0);
  EXPECT_EQ(Option(127), 12);
}

TEST_F(Sensor, SkipModeAndItsCatchAll) {
  Start();
  EXPECT_EQ(Write("Mode", "Skip"), 0);
  EXPECT_EQ(Write("Mode", "Bin"), 0);
  EXPECT_EQ(Sdk().Writes(), (Lines{"SetBinningMode(1)", "SetBinningMode(0)"}));
  State([](RecordingSdkCamera::State& s) { return s.binningMode = 3; });
  EXPECT_EQ(Read("Mode"), "Skip");
}

struct MethodCase {
  int option23;
  const char* sent;  // empty: nothing written
};
class BinningMethod : public ControlsTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(BinningMethod, AverageMergesIntoAnActiveFactorOnly) {
  Start();
  SetOption(23, GetParam().option23);
  EXPECT_EQ(Write("BinningMethod", "Average"), 0);
  Lines expected;
  if (*GetParam().sent != '\0') expected.push_back(GetParam().sent);
  EXPECT_EQ(Sdk().Writes(), expected);
  EXPECT_EQ(Read("BinningMethod"), "Average");
}

INSTANTIATE_TEST_SUITE_P(Option23, BinningMethod,
                         ::testing::Values(MethodCase{2, "PutOption(23,130)"},
                                           MethodCase{1, ""}, MethodCase{0x84, ""}));

TEST_F(Sensor, FrameAndSnapStatistics) {
  Start();
  State([](RecordingSdkCamera::State& s) {
    s.frameStats[0] = 25;
    s.frameStats[1] = 1000;
    return s.frameStats[2] = 300;
  });
  EXPECT_EQ(Read("FrameStat"), "25.0; 300");
  State([](RecordingSdkCamera::State& s) { return s.frameStats[1] = 0; });
  EXPECT_EQ(Read("FrameStat"), "300");
  EXPECT_EQ(Read("SnapStat"), "0");
  Snap();
  Snap();
  EXPECT_EQ(Read("SnapStat"), "2");
  EXPECT_EQ(Read("PixelSize(um)"), "2.4000");
}

}  // namespace
