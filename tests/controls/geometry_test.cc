// Geometry and format: every change is checked through the frame a snap then
// delivers (width x height x bytes per pixel) as well as through what reached
// the SDK. The test model is a colour camera: 4 bytes per pixel up to 8 bits,
// 8 above; full resolution 1920 x 1080, second entry 960 x 540.
#include <algorithm>

#include "tests/controls/controls_fixture.h"

namespace {

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The change inside a stream restart: the writes between stopping the
// stream and re-arming software trigger, which the restart always ends with
// before it starts the stream again. Empty when there was no restart.
Lines InsideRestart(const Lines& writes) {
  auto stop = std::find(writes.begin(), writes.end(), "StopStreaming(0)");
  auto rearm = std::find(stop, writes.end(), "PutOption(11,1)");
  auto start = std::find(rearm, writes.end(), "StartStreaming()");
  if (start == writes.end()) return {};
  return Lines(stop + 1, rearm);
}

class Geometry : public ControlsTest {};

TEST_F(Geometry, BinningShrinksTheFrameAndIsAnnounced) {
  Start();
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
  EXPECT_EQ(Write("Binning", "2"), 0);
  EXPECT_EQ(Option(23), 2);
  EXPECT_EQ(Snap(), "960 x 540 x 4");
  EXPECT_EQ(camera->BinFactor(), 2);
  EXPECT_EQ(host.Changes("Binning"), Lines{"Binning=2"});
}

TEST_F(Geometry, BinFactorKeepsTheAverageBitAndRefusesBadFactors) {
  Start();
  EXPECT_EQ(Write("BinningMethod", "Average"), 0);
  EXPECT_EQ(camera->SetBinFactor(2), 0);
  EXPECT_EQ(Option(23), 0x82);
  EXPECT_EQ(camera->BinFactor(), 2);
  EXPECT_EQ(Snap(), "960 x 540 x 4");

  Sdk().ClearLog();
  EXPECT_EQ(camera->SetBinFactor(2), 0);  // already so: nothing to do
  EXPECT_EQ(Sdk().Writes(), Lines{});
  EXPECT_EQ(camera->SetBinFactor(9), 3);
  EXPECT_EQ(camera->SetBinFactor(0), 3);
  EXPECT_EQ(Sdk().Writes(), Lines{});
}

struct RegionCase {
  const char* what;
  int vflip, hflip;
  unsigned x, y, width, height;
  const char* sent;
  const char* frame;
};

class Regions : public ControlsTest, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(Regions, ReachTheSdkEvenSizedAndMirroredOnFlippedAxes) {
  const RegionCase& c = GetParam();
  Start([&](RecordingSdkCamera::State& s) {
    s.vflip = c.vflip;
    s.hflip = c.hflip;
  });
  EXPECT_EQ(camera->SetRegion(c.x, c.y, c.width, c.height), 0);
  const Lines writes = Sdk().Writes();
  EXPECT_EQ(InsideRestart(writes), Lines{c.sent}) << c.what;
  EXPECT_EQ(Snap(), c.frame) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    SetRegion, Regions,
    ::testing::Values(
        RegionCase{"odd values, small width", 0, 0, 101, 51, 20, 641,
                   "SetSensorRegion(100,50,32,640)", "32 x 640 x 4"},
        RegionCase{"vertical flip mirrors y", 1, 0, 100, 100, 200, 200,
                   "SetSensorRegion(100,780,200,200)", "200 x 200 x 4"},
        RegionCase{"horizontal flip mirrors x", 0, 1, 100, 100, 200, 200,
                   "SetSensorRegion(1620,100,200,200)", "200 x 200 x 4"},
        // A flipped region reaching past the sensor is pulled back onto it
        // instead of wrapping around below zero.
        RegionCase{"flipped, reaching past the bottom", 1, 0, 0, 1000, 64, 200,
                   "SetSensorRegion(0,0,64,200)", "64 x 200 x 4"},
        RegionCase{"flipped, wider than the sensor", 0, 1, 10, 0, 4000, 64,
                   "SetSensorRegion(0,0,1920,64)", "1920 x 64 x 4"},
        RegionCase{"flipped, starting past the edge", 1, 1, 3000, 2000, 100, 100,
                   "SetSensorRegion(0,0,100,100)", "100 x 100 x 4"},
        RegionCase{"zero size clears", 1, 1, 5, 5, 0, 0, "SetSensorRegion(0,0,0,0)",
                   "1920 x 1080 x 4"}));

TEST_F(Geometry, GetRegionReportsWhatTheSdkHoldsAndClearRestoresTheFullFrame) {
  Start([](RecordingSdkCamera::State& s) { s.vflip = 1; });
  camera->SetRegion(100, 100, 200, 200);
  unsigned x = 0, y = 0, w = 0, h = 0;
  EXPECT_EQ(camera->GetRegion(x, y, w, h), 0);
  EXPECT_EQ(std::vector<unsigned>({x, y, w, h}), std::vector<unsigned>({100, 780, 200, 200}));
  EXPECT_EQ(camera->ClearRegion(), 0);
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
}

TEST_F(Geometry, ResolutionSelectsTheEntryByItsExactText) {
  Start();
  EXPECT_EQ(Write("Resolution", "960 x 540"), 0);
  EXPECT_TRUE(Has(InsideRestart(Sdk().Writes()), "SetResolutionIndex(1)"));
  EXPECT_EQ(Snap(), "960 x 540 x 4");
  EXPECT_EQ(Read("Resolution"), "960 x 540");
  // The exposure limits and value are republished after the change.
  EXPECT_FALSE(host.Changes("Exposure=").empty());
  EXPECT_FALSE(host.Changes("RealExposure=").empty());
}

TEST_F(Geometry, ChangesRefusedWhileASequenceRuns) {
  Start();
  WhileSequenceRuns([&] {
    Sdk().ClearLog();
    EXPECT_EQ(Write("Resolution", "960 x 540"), 30);
    EXPECT_EQ(Write("PixelType", "RAW12"), 30);
    EXPECT_EQ(Write("Rotate", "90"), 30);
    EXPECT_EQ(Write("FactorySettings", "Load"), 30);
    EXPECT_EQ(camera->SetBinFactor(2), 30);
    EXPECT_EQ(Write("PixelType", "RAW8"), 0);  // the current type: nothing to refuse
    // Within one orientation pair the rotation is written directly.
    EXPECT_EQ(Write("Rotate", "180"), 0);
    EXPECT_EQ(Sdk().Writes(), Lines{"PutOption(24,180)"});
  });
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
}

TEST_F(Geometry, QuarterTurnRestartsAndSwapsTheFrame) {
  Start();
  EXPECT_EQ(Write("Rotate", "90"), 0);
  EXPECT_EQ(InsideRestart(Sdk().Writes()), Lines{"PutOption(24,90)"});
  EXPECT_EQ(Snap(), "1080 x 1920 x 4");
  Sdk().ClearLog();
  EXPECT_EQ(Write("Rotate", "270"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"PutOption(24,270)"});
  EXPECT_EQ(Read("Rotate"), "270");
}

TEST_F(Geometry, PixelTypeChangesBytesPerPixelAndOutputFormat) {
  Start();
  EXPECT_EQ(Write("PixelType", "RAW12"), 0);
  EXPECT_EQ(InsideRestart(Sdk().Writes()), (Lines{"PutOption(26,2)", "PutOption(12,1)"}));
  EXPECT_EQ(Snap(), "1920 x 1080 x 8");
  EXPECT_EQ(Sdk().Count("PullFrame(64)"), 1);
  EXPECT_EQ(Write("PixelType", "RAW8"), 0);
  EXPECT_EQ(Option(12), 2);
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
}

TEST_F(Geometry, MonochromeOutputFormats) {
  sdk.model.capabilities |= Bit(SdkCapability::Monochrome);
  Start();
  EXPECT_EQ(Option(12), 3);
  EXPECT_EQ(Snap(), "1920 x 1080 x 1");
  EXPECT_EQ(Write("PixelType", "RAW12"), 0);
  EXPECT_EQ(Option(12), 4);
  EXPECT_EQ(Snap(), "1920 x 1080 x 2");
}

// The SDK offers "RAW8", "RAW12" outside HDR and "RAW8", "HDR12HL" in it; a
// format the new mode lacks is replaced by the SDK's choice, which the
// camera then applies as if the host had written it.
TEST_F(Geometry, GainModeReloadsPixelTypesOnlyAcrossTheHdrBoundary) {
  Start();
  Write("PixelType", "RAW12");
  Sdk().ClearLog();
  EXPECT_EQ(Write("GainMode", "High Fullwell Capacity"), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{"SetNamedValue(GainMode,1)"});
  EXPECT_EQ(Sdk().Count("ListNamedValues"), 0);

  EXPECT_EQ(Write("GainMode", "High Dynamic Range (HDR)"), 0);
  EXPECT_EQ(Sdk().Count("ListNamedValues(PixelFormat)"), 1);
  EXPECT_EQ(camera->AllowedValueCount("PixelType"), 2u);
  EXPECT_EQ(Read("PixelType"), "HDR12HL");
  EXPECT_EQ(InsideRestart(Sdk().Writes()), (Lines{"PutOption(26,17)", "PutOption(12,1)"}));
  EXPECT_EQ(Snap(), "1920 x 1080 x 8");

  EXPECT_EQ(Write("GainMode", "Sensitive"), 0);
  EXPECT_EQ(Sdk().Count("ListNamedValues(PixelFormat)"), 2);
  EXPECT_EQ(Read("PixelType"), "RAW12");
  EXPECT_EQ(Read("GainMode"), "Sensitive");
}

TEST_F(Geometry, FactorySettingsRestoreTheGeometryAndEveryProperty) {
  Start();
  Write("Resolution", "960 x 540");
  Write("Binning", "2");
  Write("Rotate", "90");
  Write("PixelType", "RAW12");
  EXPECT_EQ(Snap(), "270 x 480 x 8");
  host.Clear();
  Sdk().ClearLog();
  EXPECT_EQ(Write("FactorySettings", "Load"), 0);
  EXPECT_TRUE(Has(InsideRestart(Sdk().Writes()), "PutOption(31,0)"));
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
  // The restored resolution entry is read back, not the one chosen before.
  EXPECT_EQ(Read("Resolution"), "1920 x 1080");
  EXPECT_EQ(Read("Binning"), "1");
  EXPECT_EQ(Read("Rotate"), "0");
  EXPECT_EQ(Read("FactorySettings"), "----");
  EXPECT_FALSE(host.Changes("Exposure=").empty());
}

// SDK answers outside every table: no read or write leaves a table.
TEST_F(Geometry, OutOfTableSdkValuesStayInside) {
  Start([](RecordingSdkCamera::State& s) {
    s.options[26] = 99;
    s.named["GainMode"] = 7;
  });
  EXPECT_EQ(Read("PixelType"), "RAW8");
  EXPECT_EQ(Snap(), "1920 x 1080 x 4");
  const std::string shown = Read("GainMode");
  EXPECT_EQ(Read("GainMode"), shown);  // a mode past the list changes nothing
  EXPECT_EQ(Write("GainMode", "Balance"), 0);
  EXPECT_EQ(Sdk().Count("SetNamedValue(GainMode,2)"), 1);
  EXPECT_EQ(Sdk().Count("ListNamedValues"), 0);  // neither 7 nor 2 is the HDR mode
}

// A count beyond the slots the SDK filled ends at the first empty slot; a
// count beyond the 128 slots is cut there.
TEST_F(Geometry, PixelTypeListEndsAtTheFilledSlots) {
  Start([](RecordingSdkCamera::State& s) { s.listCount = 100; });
  camera->LoadPixelTypeList();
  EXPECT_EQ(camera->pixelTypeValues, (Lines{"RAW8", "RAW12"}));

  State([](RecordingSdkCamera::State& s) {
    s.pixelFormats.assign(200, "RAW8");
    s.listCount = 200;
    return 0;
  });
  camera->LoadPixelTypeList();
  EXPECT_EQ(camera->pixelTypeValues.size(), 128u);
}

TEST_F(Geometry, RegionIsSetEvenDuringASequence) {
  Start();
  WhileSequenceRuns([&] {
    EXPECT_EQ(camera->SetRegion(0, 0, 64, 64), 0);
    EXPECT_EQ(Option(11), 1);  // the restart re-armed software trigger
  });
  EXPECT_EQ(Snap(), "64 x 64 x 4");
}

}  // namespace
