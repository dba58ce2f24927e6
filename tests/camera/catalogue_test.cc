// The property catalogue per model family: which properties exist, their
// kinds, initial values, limits and allowed values.
#include "tests/camera/camera_fixture.h"

namespace {

using namespace SdkCapability;

struct Expect {
  const char* name;
  bool exists;
  int kind = 0;               // 0: not checked
  const char* value = nullptr;  // null: not checked
};

class CatalogueTest : public CameraFixture {
 protected:
  std::string Read(Camera& camera, const char* name) {
    char value[HostStringLimit] = {};
    EXPECT_EQ(camera.ReadProperty(name, value), 0) << name;
    return value;
  }
  std::vector<std::string> Allowed(Camera& camera, const char* name) {
    std::vector<std::string> values;
    char value[HostStringLimit];
    for (unsigned i = 0; camera.AllowedValueAt(name, i, value); ++i) values.emplace_back(value);
    return values;
  }
  void Check(Camera& camera, const std::vector<Expect>& expectations) {
    for (const Expect& e : expectations) {
      ASSERT_EQ(camera.PropertyExists(e.name), e.exists) << e.name;
      if (!e.exists) continue;
      if (e.kind != 0) {
        int kind = 0;
        EXPECT_EQ(camera.PropertyKindOf(e.name, kind), 0);
        EXPECT_EQ(kind, e.kind) << e.name;
      }
      if (e.value != nullptr) {
        EXPECT_EQ(Read(camera, e.name), e.value) << e.name;
      }
    }
  }
  void Limits(Camera& camera, const char* name, double lower, double upper) {
    double lo = 0, hi = 0;
    EXPECT_EQ(camera.PropertyLowerLimit(name, lo), 0);
    EXPECT_EQ(camera.PropertyUpperLimit(name, hi), 0);
    EXPECT_DOUBLE_EQ(lo, lower) << name;
    EXPECT_DOUBLE_EQ(hi, upper) << name;
  }
};

TEST_F(CatalogueTest, MonochromeUsbModelWithoutExtras) {
  sdk.model = MakeModel(Bit(Monochrome) | Bit(Cmos));
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Check(camera, {
      {"Description", true, 1, "Quorvex Imaging Camera"},
      {"Version(Adapter)", true, 1, "60.33015.20261024"},
      {"Model", true, 1, "Fake M1"},
      {"Sensor", true, 1, "CMOS, Rolling Shutter, Mono"},
      {"USB", true, 1, "USB2.0"},
      {"GigE", false},
      {"ISP", true, 1, "No"},
      {"Bayer", true, 1, "GRBG"},
      {"SerialNumber", false},
      {"ProductionDate", false},
      {"Resolution", true, 1, "64 x 32"},
      {"AutoExposure Policy", true, 1, "Exposure Only"},
      {"AutoExposure Maximum Gain", false},
      {"Gain", false},
      {"AutoExposure Peak Mode", true, 1, "OFF"},
      {"AutoExposure Percent", true, 3, "1"},
      {"Exposure", true, 2},
      {"AutoWhiteBalance", false},
      {"Hue", false},
      {"ToneMapping", false},
      {"Binning", true, 1},
      {"BinningMethod", true, 1, "Add"},
      {"ConversionGain", false},
      {"Temperature", false},
      {"TECPower", false},
      {"Denoise", false},
      {"FFCNumber", true, 2, "5.0000"},
      {"FPNCCInit", true, 1, "-----"},
      {"IO:Trigger Source", false},
      {"IO:Format", false},
      {"SnapStat", true, 1, "0"},
      {"Speed", true, 1},
      {"FrameRate", false},
      {"Bandwidth", false},
  });
  bool readOnly = false;
  camera.IsPropertyReadOnly("AutoExposure Policy", readOnly);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(Allowed(camera, "Resolution"), (std::vector<std::string>{"32 x 16", "64 x 32"}));
  EXPECT_EQ(Allowed(camera, "Speed"), (std::vector<std::string>{"0", "1", "2"}));
  Limits(camera, "AutoExposureTarget", 16, 220);
  Limits(camera, "AutoExposure Maximum Exposure Time", 10, 5000);
  EXPECT_EQ(Sdk().options.count(42), 0u) << "no PutOption(42, 1) for a monochrome model";
}

TEST_F(CatalogueTest, ColourCooledFrameRateModelWithIoLines) {
  sdk.model = MakeModel(Bit(ProgressiveCcd) | Bit(Cooler) | Bit(TemperatureSensor) |
                            Bit(FrameRateControl) | Bit(ConversionGain) |
                            Bit(ThreeLevelConversionGain) | Bit(GigE) | Bit(TenGigE),
                        4);
  sdk.prepare = [](FakeSdkCamera& fake) {
    fake.capabilities["issupportgain"] = 1;
    fake.options = {{23, 0x82}, {25, 1}, {33, 300}, {32, 100}, {74, 40},
                    {86, (50 << 16) | 25}, {87, (7 << 16) | 9}, {88, 100},
                    {140, 4}, {139, 2}, {10, 1}, {45, 150}, {44, 300}};
    fake.io[9] = 17;  // outside the list: clamped, never read past its end
  };
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  Check(camera, {
      {"Sensor", true, 1, "Progressive CCD, Color"},
      {"GigE", true, 1, "10G"},
      {"USB", false},
      {"AutoExposure Policy", true, 1},
      {"AutoExposure Maximum Gain", true, 3},
      {"Gain", true, 3},
      {"AutoExposure Peak Mode", true, 1, "ON"},
      {"AutoExposure Percent", true, 3, "40"},
      {"AutoWhiteBalance", true, 1},
      {"Saturation", true, 3},
      {"Binning", true, 1, "2"},
      {"BinningMethod", true, 1, "Average"},
      {"ConversionGain", true, 1, "HCG"},
      {"Temperature", true, 2},
      {"TECTarget", true, 2},
      {"TECPower", true, 2},
      {"AntiBlooming", true, 3, "2"},
      {"ToneMapping", true, 1, "Polynomial"},
      {"DynamicDefect:Dead", true, 2, "0.5000"},
      {"DynamicDefect:Hot", true, 2, "0.2500"},
      {"HDR:K", true, 3, "7"},
      {"HDR:B", true, 3, "9"},
      {"HDR:Threshold", true, 3, "100"},
      {"IO:Trigger Source", true, 1, "Opto-isolated input"},
      {"IO:Input Activation", true, 1, "Low level"},
      {"IO:Format", true, 1, "Opto-coupled"},
      {"FrameRate", true, 2, "15.0000"},
      {"Bandwidth", false},
      {"Speed", false},
  });
  EXPECT_TRUE(camera.binningAverage);
  EXPECT_EQ(Allowed(camera, "ConversionGain"), (std::vector<std::string>{"HCG", "LCG", "MCG"}));
  EXPECT_EQ(Allowed(camera, "IO:Line Select"),
            (std::vector<std::string>{"GPIO0", "GPIO1", "Isolated input", "Isolated output"}));
  Limits(camera, "TECTarget", -50.0, 40.0);  // option 109 unreadable
  Limits(camera, "AntiBlooming", 0, 4);
  Limits(camera, "FrameRate", 0.1, 30.0);
  Limits(camera, "HDR:K", 1, 25500);
  Limits(camera, "AutoExposure Maximum Gain", 100, 5000);  // no DllGetDefAE bound
  EXPECT_EQ(Sdk().Option(42), 1) << "colour models get PutOption(42, 1)";
}

TEST_F(CatalogueTest, OutOfTableResolutionIndexAndGainModeStayInsideTheirTables) {
  sdk.prepare = [](FakeSdkCamera& fake) { fake.options[24] = 90; };
  sdk.model.resolutionCount = 40;  // claims more than the record holds
  Camera& camera = NewCamera();
  ASSERT_EQ(camera.Initialize(), 0);
  // 16 entries at most; the 14 empty ones all read "0 x 0".
  EXPECT_EQ(Allowed(camera, "Resolution"),
            (std::vector<std::string>{"0 x 0", "32 x 16", "64 x 32"}));
  EXPECT_EQ(Read(camera, "Rotate"), "90");
}

}  // namespace
