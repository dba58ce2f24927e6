#include "camera/property_catalogue.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <boost/format.hpp>

#include "camera/camera.h"
#include "framework/value_text.h"
#include "module/sdk_library.h"

namespace {

using Phase = PropertyCatalogue::Phase;
using Kind = MM::PropertyKind;
using Texts = std::vector<std::string>;
using List = Texts Camera::*;

// What the rows of one creation pass share: the camera, and the SDK reads
// that several rows take from one call (the SDK is asked once for them).
struct Context {
  explicit Context(Camera& c) : camera(c), sdk(*c.sdk), model(c.entry.model) {}

  Camera& camera;
  SdkCamera& sdk;
  const SdkModel* model;

  // An SDK option read with its pre-set; the status tells whether it gates.
  struct OptionRead {
    int32_t status;
    int value;
  };
  OptionRead Option(unsigned number, int preset) {
    int value = preset;
    int32_t status = sdk.GetOption(number, &value);
    return {status, value};
  }
  bool Has(unsigned bit) const { return HasCapability(model, bit); }

  std::optional<bool> policyGain;        // the two "AutoExposure Policy" forms
  std::optional<OptionRead> option74;    // peak mode and percent
  std::optional<OptionRead> option86;    // dynamic defect dead and hot
  std::optional<OptionRead> option87;    // HDR K and B (and the threshold's pre-set)
  std::optional<OptionRead> option32, option33;  // cooler power
  std::optional<std::array<unsigned, 2>> aeLimits;  // time, gain
  std::optional<std::array<unsigned, 3>> exposureRange;
  std::optional<std::array<unsigned short, 3>> gainRange;
  std::optional<std::array<int, 3>> whiteBalance;
  std::optional<int> whiteBalanceMode;
  std::optional<int32_t> binningModeStatus;
  int binningMode = 0;
  std::optional<int> bandwidth;          // "Bandwidth" was created with it
  std::optional<OptionRead> option128;
  std::optional<OptionRead> option140;
  int laneCount = 0;
  int gainMode = 0;
  int hdrThreshold = 0;

  // Identification reads.
  bool identityRead = false;
  int32_t serialStatus = -1;
  char serial[32] = {};
  char date[16] = {}, firmware[16] = {}, hardware[16] = {}, fpga[16] = {};
  void ReadIdentity();
};

using GateFn = bool (*)(Context&);
using ValueFn = std::string (*)(Context&);
using AllowedFn = Texts (*)(Context&);
using LimitsFn = bool (*)(Context&, double& lower, double& upper);

struct Row {
  Phase phase;
  const char* name;
  Kind kind;
  bool readOnly;
  GateFn gate;          // null: always created
  const char* literal;  // the initial value when value is null
  ValueFn value;
  AllowedFn allowed;    // null: no allowed values
  LimitsFn limits;      // null: no limits
  Camera::Handler handler;  // null: no handler
};

// ---- small value helpers ---------------------------------------------------

std::string Decimal(long value) { return MM::value_text::FormatLong(value); }
std::string FloatText(double value) { return MM::value_text::FormatDefaultStream(value); }

// list[v] with a position outside the list taken as its nearest end; an
// empty list gives the empty text.
std::string Clamped(const Texts& list, long v) {
  if (list.empty()) return "";
  if (v < 0) v = 0;
  if (v >= static_cast<long>(list.size())) v = static_cast<long>(list.size()) - 1;
  return list[static_cast<size_t>(v)];
}
std::string FirstOrSecond(const Texts& list, long v) { return Clamped(list, v != 0 ? 1 : 0); }

Texts NumberTexts(long first, long last) {
  Texts texts;
  for (long i = first; i <= last; ++i) texts.push_back(Decimal(i));
  return texts;
}

std::string ResolutionText(const SdkResolution& r) {
  return (boost::format("%u x %u") % r.width % r.height).str();
}

// ---- generic row pieces ------------------------------------------------------

template <unsigned Bit>
bool Cap(Context& c) { return c.Has(Bit); }
template <unsigned Bit>
bool NotCap(Context& c) { return !c.Has(Bit); }
template <unsigned Number, int Preset>
bool OptionGated(Context& c) { return c.Option(Number, Preset).status >= 0; }

template <unsigned Number, int Preset>
std::string OptionDecimal(Context& c) { return Decimal(c.Option(Number, Preset).value); }
template <unsigned Number, int Preset>
std::string OptionOnOff(Context& c) {
  return FirstOrSecond(c.camera.onOffValues, c.Option(Number, Preset).value);
}
template <long Lower, long Upper>
bool Range(Context&, double& lower, double& upper) {
  lower = static_cast<double>(Lower);
  upper = static_cast<double>(Upper);
  return true;
}
template <List Member>
Texts MemberList(Context& c) { return c.camera.*Member; }

template <const char* const* Texts_, size_t N>
Texts Local(Context&) { return Texts(Texts_, Texts_ + N); }

// I/O line 0 reads: IoControl(0, code, 0, v), v pre-set.
int IoRead(Context& c, unsigned code, int preset) {
  int v = preset;
  c.sdk.IoControl(0, code, 0, &v);
  return v;
}
template <unsigned Code, List Member>
std::string IoEntry(Context& c) { return Clamped(c.camera.*Member, IoRead(c, Code, 0)); }
template <unsigned Code, int Preset>
std::string IoNumber(Context& c) { return Decimal(IoRead(c, Code, Preset)); }

// Fills a camera value list where the catalogue defines it, and offers it.
template <List Member>
Texts Fill(Context& c, Texts values) {
  c.camera.*Member = std::move(values);
  return c.camera.*Member;
}

// ---- identification ----------------------------------------------------------

void Context::ReadIdentity() {
  if (identityRead) return;
  identityRead = true;
  void* object = nullptr;
  if (sdk.QueryInterface(&SdkSerialInfoId, &object) >= 0 && object != nullptr) {
    serialStatus = static_cast<SdkSerialInfo*>(object)->GetSerialNumber(serial);
    serial[sizeof serial - 1] = '\0';
  }
  object = nullptr;
  if (sdk.QueryInterface(&SdkVersionInfoId, &object) >= 0 && object != nullptr) {
    auto* version = static_cast<SdkVersionInfo*>(object);
    version->GetProductionDate(date);
    version->GetFirmwareVersion(firmware);
    version->GetHardwareVersion(hardware);
    version->GetFpgaVersion(fpga);
    for (char* text : {date, firmware, hardware, fpga}) text[15] = '\0';
  }
}

std::string ModelName(Context& c) {
  char buffer[256] = {};
  if (c.model != nullptr && c.model->modelName != nullptr) {
    std::strncpy(buffer, c.model->modelName, sizeof buffer - 1);
  }
  return buffer;
}

bool HasSensorKind(Context& c) { return c.Has(SdkCapability::Cmos) || c.Has(SdkCapability::ProgressiveCcd) || c.Has(SdkCapability::InterlacedCcd); }
std::string SensorText(Context& c) {
  const char* format = c.Has(SdkCapability::ProgressiveCcd) ? "Progressive CCD, %s"
                       : c.Has(SdkCapability::InterlacedCcd) ? "Interlaced CCD, %s"
                       : c.Has(SdkCapability::GlobalShutter) ? "CMOS, Global Shutter, %s"
                                                             : "CMOS, Rolling Shutter, %s";
  return (boost::format(format) % (c.Has(SdkCapability::Monochrome) ? "Mono" : "Color")).str();
}

bool IsGigE(Context& c) {
  using namespace SdkCapability;
  return c.Has(GigE) || c.Has(TenGigE) || c.Has(FiveGigE) || c.Has(FortyGigE) ||
         c.Has(TwoPointFiveGigE);
}
bool IsCameraLink(Context& c) { return !IsGigE(c) && c.Has(SdkCapability::CameraLink); }
bool IsCoaXPress(Context& c) {
  return !IsGigE(c) && !c.Has(SdkCapability::CameraLink) && c.Has(SdkCapability::CoaXPress);
}
bool IsUsb(Context& c) {
  return !IsGigE(c) && !c.Has(SdkCapability::CameraLink) && !c.Has(SdkCapability::CoaXPress);
}
std::string GigEText(Context& c) {
  using namespace SdkCapability;
  return c.Has(TenGigE) ? "10G" : c.Has(TwoPointFiveGigE) ? "2.5G" : c.Has(FiveGigE) ? "5G"
         : c.Has(FortyGigE) ? "40G" : "1G";
}
std::string UsbText(Context& c) {
  using namespace SdkCapability;
  return c.Has(Usb32) ? "USB3.2" : c.Has(Usb32OnUsb30) ? "USB3.2 over USB3.0"
         : c.Has(Usb3) ? "USB3.0" : c.Has(Usb3OnUsb2) ? "USB3.0 over USB2.0" : "USB2.0";
}
std::string YesIfIsp(Context& c) { return c.Has(SdkCapability::Isp) ? "Yes" : "No"; }
std::string YesIfDdr(Context& c) { return c.Has(SdkCapability::FrameMemory) ? "Yes" : "No"; }

std::string BayerText(Context& c) {
  unsigned fourCC = 0;
  c.sdk.GetRawFormat(&fourCC, nullptr);
  char letters[5] = {};
  for (int i = 0; i < 4; ++i) letters[i] = static_cast<char>((fourCC >> (8 * i)) & 0xFF);
  if (std::strcmp(letters, "YYYY") == 0) return "MONO";
  return std::string(letters, 4);
}

bool HasSerial(Context& c) { c.ReadIdentity(); return c.serialStatus >= 0; }
std::string SerialText(Context& c) { c.ReadIdentity(); return c.serial; }
bool HasDate(Context& c) { c.ReadIdentity(); return c.date[0] != '\0'; }
std::string DateText(Context& c) { c.ReadIdentity(); return c.date; }
bool VersionsShown(Context& c) {
  c.ReadIdentity();
  return std::strcmp(c.date, "20160701") >= 0;
}
bool HasFirmware(Context& c) { return VersionsShown(c) && c.firmware[0] != '\0'; }
bool HasHardware(Context& c) { return VersionsShown(c) && c.hardware[0] != '\0'; }
bool HasFpga(Context& c) { return VersionsShown(c) && c.fpga[0] != '\0'; }
std::string FirmwareText(Context& c) { return c.firmware; }
std::string HardwareText(Context& c) { return c.hardware; }
std::string FpgaText(Context& c) { return c.fpga; }

// ---- group 4: exposure, gain and format ----------------------------------------

std::string PixelSizeText(Context& c) { return FloatText(c.camera.PixelSizeUm()); }

std::string CurrentResolution(Context& c) {
  SdkResolution r{};
  return c.camera.ResolutionAt(c.camera.resolutionIndex, &r) ? ResolutionText(r) : "";
}
Texts ResolutionTexts(Context& c) {
  Texts texts;
  SdkResolution r{};
  for (unsigned i = 0; c.camera.ResolutionAt(i, &r); ++i) texts.push_back(ResolutionText(r));
  return texts;
}

bool GainModeReadable(Context& c) {
  c.gainMode = 0;
  return c.sdk.GetNamedValue("GainMode", &c.gainMode) >= 0;
}
std::string GainModeText(Context& c) { return Clamped(c.camera.gainModeValues, c.gainMode); }

bool SupportsGain(Context& c) { return c.sdk.QueryCapability("issupportgain") != 0; }
bool PolicyWritable(Context& c) {
  c.policyGain = SupportsGain(c);
  return *c.policyGain;
}
bool PolicyReadOnly(Context& c) { return c.policyGain.has_value() && !*c.policyGain; }
std::string PolicyText(Context& c) {
  return Clamped(c.camera.exposurePolicyValues, c.Option(16, 1).value);
}

std::string AutoExposureTarget(Context& c) {
  unsigned short target = 120;
  c.sdk.GetAutoExposureTarget(&target);
  return Decimal(target);
}

const std::array<unsigned, 2>& AeLimits(Context& c) {
  if (!c.aeLimits) {
    unsigned time = 350;
    unsigned short gain = 500;
    c.sdk.GetAutoExposureLimits(&time, &gain);
    c.aeLimits = {time, gain};
  }
  return *c.aeLimits;
}
std::string AeMaxTime(Context& c) { return Decimal(AeLimits(c)[0]); }
std::string AeMaxGain(Context& c) { return Decimal(AeLimits(c)[1]); }
bool AeMaxGainLimits(Context&, double& lower, double& upper) {
  lower = 100;
  upper = 5000;
  const SdkLibrary& library = BoundSdkLibrary();
  unsigned short g = 500;
  if (library.getDefAE != nullptr && library.getDefAE(0, &g) >= 0) upper = 10.0 * g;
  return true;
}

int PeakValue(Context& c) {
  if (!c.option74) c.option74 = c.Option(74, 0);
  return c.option74->value;
}
bool PeakInRange(int v) { return v >= 1 && v <= 99; }
std::string PeakMode(Context& c) { return PeakInRange(PeakValue(c)) ? "ON" : "OFF"; }
std::string PeakPercent(Context& c) {
  int v = PeakValue(c);
  return Decimal(PeakInRange(v) ? v : 1);
}

const std::array<unsigned, 3>& ExposureRange(Context& c) {
  if (!c.exposureRange) {
    unsigned lo = 0, hi = 0, def = 0;
    c.sdk.GetExposureRange(&lo, &hi, &def);
    c.exposureRange = {lo, hi, def};
  }
  return *c.exposureRange;
}
std::string ExposureText(Context& c) {
  unsigned us = 0;
  c.sdk.GetExposureTime(&us);
  return FloatText(us / 1000.0);
}
bool ExposureLimits(Context& c, double& lower, double& upper) {
  lower = ExposureRange(c)[0] / 1000.0;
  upper = ExposureRange(c)[1] / 1000.0;
  return true;
}

const std::array<unsigned short, 3>& GainRange(Context& c) {
  if (!c.gainRange) {
    unsigned short lo = 0, hi = 0, def = 0;
    c.sdk.GetGainRange(&lo, &hi, &def);
    c.gainRange = {lo, hi, def};
  }
  return *c.gainRange;
}
std::string GainText(Context& c) {
  unsigned short gain = GainRange(c)[2];  // GetGain writes into the default's variable
  c.sdk.GetGain(&gain);
  return Decimal(gain);
}
bool GainLimits(Context& c, double& lower, double& upper) {
  lower = GainRange(c)[0];
  upper = GainRange(c)[1];
  return true;
}

std::string RealExposureText(Context& c) {
  unsigned us = 0;
  c.sdk.GetRealExposureTime(&us);
  return FloatText(us / 1000.0);
}

Texts PixelTypes(Context& c) {
  c.camera.LoadPixelTypeList();
  return c.camera.pixelTypeValues;
}
std::string PixelTypeText(Context& c) { return c.camera.CurrentPixelTypeName(); }

// ---- group 5: colour ----------------------------------------------------------------

bool IsColour(Context& c) { return !c.Has(SdkCapability::Monochrome); }
std::string WhiteBalanceModeText(Context& c) {
  c.whiteBalanceMode = c.camera.CurrentWhiteBalanceMode();
  return Clamped(c.camera.whiteBalanceModeValues, *c.whiteBalanceMode);
}
std::string WhiteBalanceInterval(Context& c) {
  int mode = c.whiteBalanceMode ? *c.whiteBalanceMode : c.camera.CurrentWhiteBalanceMode();
  if (mode == 1) return Decimal(c.Option(108, 1000).value);
  int interval = 1000;
  c.sdk.GetParameter("AwbInterval", &interval);
  return Decimal(interval);
}
template <int Index>
std::string WhiteBalanceGain(Context& c) {
  if (!c.whiteBalance) {
    std::array<int, 3> gains{0, 0, 0};
    c.sdk.GetWhiteBalanceGain(gains.data());
    c.whiteBalance = gains;
  }
  return Decimal((*c.whiteBalance)[Index]);
}

template <int32_t (SdkCamera::*Read)(int*), int Preset>
std::string IntRead(Context& c) {
  int v = Preset;
  (c.sdk.*Read)(&v);
  return Decimal(v);
}

// ---- group 6: adjustment and geometry -----------------------------------------------

constexpr const char* kBinSkip[] = {"Bin", "Skip"};
constexpr const char* kPowerFrequencies[] = {"60HZ", "50HZ", "DC"};
constexpr const char* kBinFactors[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
constexpr const char* kBinningMethods[] = {"Average", "Add"};
constexpr const char* kFactorySettings[] = {"----", "Load"};
constexpr const char* kRotations[] = {"0", "90", "180", "270"};
constexpr const char* kToneMappings[] = {"OFF", "Polynomial", "Logarithmic"};
constexpr const char* kInitChoices[] = {"-----", "Click"};
constexpr const char* kCounterReset[] = {"Reset"};

bool BinningModeReadable(Context& c) {
  c.binningMode = 0;
  c.binningModeStatus = c.sdk.GetBinningMode(&c.binningMode);
  return *c.binningModeStatus >= 0;
}
std::string BinningModeText(Context& c) { return Clamped(Local<kBinSkip, 2>(c), c.binningMode); }
std::string PowerFrequencyText(Context& c) {
  int v = 2;
  c.sdk.GetPowerFrequency(&v);
  return Clamped(Local<kPowerFrequencies, 3>(c), v);
}
std::string BinningText(Context& c) { return Decimal(c.Option(23, 1).value & 0xF); }
std::string BinningMethodText(Context& c) {
  c.camera.binningAverage = (c.Option(23, 1).value & 0x80) != 0;
  return c.camera.binningAverage ? "Average" : "Add";
}

Texts ConversionGains(Context& c) {
  if (c.Has(SdkCapability::ThreeLevelConversionGain)) return {"LCG", "MCG", "HCG"};
  if (c.Has(SdkCapability::HdrConversionGain)) return {"LCG", "HCG", "HDR"};
  return {"LCG", "HCG"};
}
std::string ConversionGainText(Context& c) {
  Texts list = ConversionGains(c);
  long v = c.Option(25, 0).value;
  if (v < 0) v = 0;
  if (v > static_cast<long>(list.size()) - 1) v = static_cast<long>(list.size()) - 1;
  if (c.Has(SdkCapability::ThreeLevelConversionGain) && (v == 1 || v == 2)) v = 3 - v;
  return list[static_cast<size_t>(v)];
}

// ---- group 7: sensor, thermal and processing ------------------------------------------

std::string TemperatureText(Context& c) {
  short tenths = 0;
  c.sdk.GetTemperature(&tenths);
  return FloatText(tenths / 10.0);
}
std::string FanText(Context& c) {
  unsigned short speed = 0;
  c.sdk.GetFanSpeed(&speed);
  return speed == 0 ? "OFF" : Decimal(speed);
}
Texts FanLevels(Context& c) {
  Texts texts{"OFF"};
  Texts levels = NumberTexts(1, c.model != nullptr ? static_cast<long>(c.model->maxFanSpeed) : 0);
  texts.insert(texts.end(), levels.begin(), levels.end());
  return texts;
}
std::string TecTargetText(Context& c) {
  int tenths = 100;
  c.sdk.GetTecTarget(&tenths);
  return FloatText(tenths / 10.0);
}
bool TecTargetLimits(Context& c, double& lower, double& upper) {
  const int preset = static_cast<int>((400u << 16) | static_cast<uint16_t>(-500));
  Context::OptionRead range = c.Option(109, preset);
  if (range.status >= 0) {
    lower = static_cast<int16_t>(range.value & 0xFFFF) / 10.0;
    upper = static_cast<int16_t>((static_cast<uint32_t>(range.value) >> 16) & 0xFFFF) / 10.0;
  } else {
    lower = -50.0;
    upper = 40.0;
  }
  return true;
}
bool TecPowerReadable(Context& c) {
  if (!c.Has(SdkCapability::Cooler)) return false;
  c.option33 = c.Option(33, 1);
  if (c.option33->status < 0 || c.option33->value <= 0) return false;
  c.option32 = c.Option(32, 0);
  return c.option32->status >= 0 && c.option32->value >= 0;
}
std::string TecPowerText(Context& c) {
  return FloatText(static_cast<double>(c.option32->value * 100 / c.option33->value));
}
std::string HeatText(Context& c) {
  int level = c.Option(55, 0).value;
  return level == 0 ? "OFF" : Decimal(level);
}
Texts HeatLevels(Context& c) {
  Texts texts{"OFF"};
  Texts levels = NumberTexts(1, c.Option(54, 0).value);
  texts.insert(texts.end(), levels.begin(), levels.end());
  return texts;
}
bool CdsLimits(Context& c, double& lower, double& upper) {
  lower = 0;
  upper = c.sdk.QueryCapability("maxCDS");
  return true;
}
std::string SharpeningText(Context& c) { return Decimal(c.Option(30, 0).value & 0xFFFF); }
std::string NegativeText(Context& c) {
  int v = 0;
  c.sdk.GetNegative(&v);
  return FirstOrSecond(c.camera.onOffValues, v);
}
Texts ReadoutModes(Context& c) {
  return Fill<&Camera::readoutModeValues>(
      c, {"IWR (Integrate While Read)", "ITR (Integrate Then Read)"});
}
std::string ReadoutModeText(Context& c) {
  return FirstOrSecond(c.camera.readoutModeValues, c.Option(105, 0).value);
}

bool LaneReadable(Context& c) {
  Context::OptionRead count = c.Option(126, static_cast<int>(0xFF000000u));
  if (count.status < 0 || count.value <= 1) return false;
  c.laneCount = count.value;
  return c.Option(126, 0).status >= 0;
}
Texts Lanes(Context& c) {
  Texts lanes;
  for (int i = 0; i < c.laneCount; ++i) {
    lanes.push_back(Decimal(c.Option(126, static_cast<int>(0xFE000000u | static_cast<unsigned>(i))).value));
  }
  return Fill<&Camera::laneValues>(c, std::move(lanes));
}
std::string LaneText(Context& c) { return FirstOrSecond(c.camera.laneValues, c.Option(126, 0).value); }

bool AntiBloomingReadable(Context& c) {
  c.option140 = c.Option(140, 0);
  if (c.option140->status < 0 || c.option140->value <= 1) return false;
  return c.Option(139, 0).status >= 0;
}
bool AntiBloomingLimits(Context& c, double& lower, double& upper) {
  lower = 0;
  upper = c.option140->value;
  return true;
}
bool VoltageBiasReadable(Context& c) {
  c.option128 = c.Option(128, 0);
  if (c.option128->status < 0) return false;
  return c.Option(127, 0).status >= 0;
}
std::string VoltageBiasText(Context& c) { return FloatText(c.Option(127, 0).value); }
bool VoltageBiasLimits(Context& c, double& lower, double& upper) {
  uint32_t range = static_cast<uint32_t>(c.option128->value);
  lower = range & 0xFFFF;
  upper = range >> 16;
  return true;
}
std::string RotateText(Context& c) { return Decimal(c.Option(24, 0).value); }
bool ToneMappingReadable(Context& c) { return IsColour(c) && OptionGated<10, 0>(c); }
std::string ToneMappingText(Context& c) {
  return Clamped(Local<kToneMappings, 3>(c), c.Option(10, 0).value);
}

// ---- group 8: defect correction and HDR ----------------------------------------------

bool DefectReadable(Context& c) {
  c.option86 = c.Option(86, 0);
  return c.option86->status >= 0;
}
std::string DefectDead(Context& c) {
  return FloatText((static_cast<uint32_t>(c.option86->value) >> 16) / 100.0);
}
std::string DefectHot(Context& c) {
  return FloatText((static_cast<uint32_t>(c.option86->value) & 0xFFFF) / 100.0);
}
bool HdrReadable(Context& c) {
  c.option87 = c.Option(87, 0);
  return c.option87->status >= 0;
}
std::string HdrK(Context& c) { return Decimal(static_cast<uint32_t>(c.option87->value) >> 16); }
std::string HdrB(Context& c) { return Decimal(static_cast<uint32_t>(c.option87->value) & 0xFFFF); }
int HdrThresholdPreset(Context& c) {
  if (!c.option87) c.option87 = c.Option(87, 0);
  return c.option87->value;
}
// The option 88 read starts from what the option 87 read left in its variable.
bool HdrThresholdReadable(Context& c) {
  c.hdrThreshold = HdrThresholdPreset(c);
  return c.sdk.GetOption(88, &c.hdrThreshold) >= 0;
}
std::string HdrThresholdText(Context& c) { return Decimal(c.hdrThreshold); }

// ---- group 9: shutter and corrections -------------------------------------------------

Texts ShutterStates(Context& c) { return Fill<&Camera::shutterValues>(c, {"Open", "Close"}); }
std::string ShutterText(Context& c) {
  return FirstOrSecond(c.camera.shutterValues, c.Option(118, 0).value);
}

// ---- group 10: I/O lines -------------------------------------------------------------

bool HasIoLines(Context& c) { return c.model != nullptr && c.model->ioLineCount != 0; }
Texts TriggerSources(Context& c) {
  return Fill<&Camera::triggerSourceValues>(
      c, {"Opto-isolated input", "GPIO0", "GPIO1", "Counter", "PWM", "Software Trigger"});
}
Texts Lines(Context& c) {
  Texts lines{"Isolated input", "Isolated output", "GPIO0"};
  if (c.model->ioLineCount > 3) lines.push_back("GPIO1");
  return Fill<&Camera::lineValues>(c, std::move(lines));
}
Texts GpioModes(Context& c) { return Fill<&Camera::gpioModeValues>(c, {"Input", "Output"}); }
Texts YesNo(Context& c) { return Fill<&Camera::yesNoValues>(c, {"Yes", "No"}); }
Texts InputActivations(Context& c) {
  return Fill<&Camera::inputActivationValues>(
      c, {"Rising edge", "Falling edge", "High level", "Low level"});
}
Texts CounterSources(Context& c) {
  return Fill<&Camera::counterSourceValues>(c, {"Isolated input", "GPIO0", "GPIO1"});
}
Texts PwmSources(Context& c) {
  return Fill<&Camera::pwmSourceValues>(c, {"Isolated input", "GPIO0", "GPIO1"});
}
Texts OutputModes(Context& c) {
  return Fill<&Camera::outputModeValues>(
      c, {"Frame Trigger Wait", "Exposure Active", "Strobe", "User Output", "Counter Output",
          "Timer Output"});
}
Texts StrobeDelayModes(Context& c) {
  return Fill<&Camera::strobeDelayModeValues>(c, {"pre-delay", "delay"});
}

// ---- group 11 and 13 -------------------------------------------------------------------

std::string FrameStatText(Context& c) { return c.camera.FrameStatisticsText(); }

bool BandwidthSupported(Context& c) {
  return c.Has(SdkCapability::FrameRateControl) && c.sdk.QueryCapability("supportbandwidth") != 0;
}
std::string BandwidthText(Context& c) {
  c.bandwidth = c.Option(46, 100).value;
  return Decimal(*c.bandwidth);
}
std::string FrameRateText(Context& c) {
  return FloatText(c.Option(45, c.bandwidth ? *c.bandwidth : 100).value / 10.0);
}
bool FrameRateLimits(Context& c, double& lower, double& upper) {
  lower = 0.1;
  upper = c.Option(44, 0).value / 10.0;
  return true;
}
std::string SpeedText(Context& c) {
  unsigned short speed = 0;
  c.sdk.GetSpeed(&speed);
  return Decimal(speed);
}
Texts SpeedLevels(Context& c) {
  return NumberTexts(0, c.model != nullptr ? static_cast<long>(c.model->maxSpeed) : 0);
}

// ---- the table ------------------------------------------------------------------------

constexpr Phase I = Phase::Identification;
constexpr Phase M = Phase::Main;
constexpr Phase A = Phase::AfterStream;
constexpr Kind S = Kind::String;
constexpr Kind F = Kind::Float;
constexpr Kind N = Kind::Integer;
constexpr bool RO = true;
constexpr bool RW = false;
using C = Camera;
using namespace SdkCapability;

const Row kRows[] = {
    // Identification, right after the camera is opened.
    {I, "Model", S, RO, nullptr, nullptr, ModelName, nullptr, nullptr, nullptr},
    {I, "Sensor", S, RO, HasSensorKind, nullptr, SensorText, nullptr, nullptr, nullptr},
    {I, "GigE", S, RO, IsGigE, nullptr, GigEText, nullptr, nullptr, nullptr},
    {I, "CL", S, RO, IsCameraLink, "CameraLink", nullptr, nullptr, nullptr, nullptr},
    {I, "CXP", S, RO, IsCoaXPress, "CoaXPress", nullptr, nullptr, nullptr, nullptr},
    {I, "USB", S, RO, IsUsb, nullptr, UsbText, nullptr, nullptr, nullptr},
    {I, "ISP", S, RO, nullptr, nullptr, YesIfIsp, nullptr, nullptr, nullptr},
    {I, "DDR", S, RO, nullptr, nullptr, YesIfDdr, nullptr, nullptr, nullptr},
    {I, "Bayer", S, RO, nullptr, nullptr, BayerText, nullptr, nullptr, nullptr},
    {I, "SerialNumber", S, RO, HasSerial, nullptr, SerialText, nullptr, nullptr, nullptr},
    {I, "ProductionDate", S, RO, HasDate, nullptr, DateText, nullptr, nullptr, nullptr},
    {I, "Version(Firmware)", S, RO, HasFirmware, nullptr, FirmwareText, nullptr, nullptr, nullptr},
    {I, "Version(Hardware)", S, RO, HasHardware, nullptr, HardwareText, nullptr, nullptr, nullptr},
    {I, "Version(FPGA)", S, RO, HasFpga, nullptr, FpgaText, nullptr, nullptr, nullptr},

    // Group 4: exposure, gain and format.
    {M, "PowerConsumption(mw)", S, RO, OptionGated<57, 0>, nullptr, OptionDecimal<57, 0>, nullptr, nullptr, nullptr},
    {M, "PixelSize(um)", F, RO, nullptr, nullptr, PixelSizeText, nullptr, nullptr, &C::OnPixelSize},
    {M, "Resolution", S, RW, nullptr, nullptr, CurrentResolution, ResolutionTexts, nullptr, &C::OnResolution},
    {M, "GainMode", S, RW, GainModeReadable, nullptr, GainModeText, MemberList<&C::gainModeValues>, nullptr, &C::OnGainMode},
    {M, "AutoExposure", S, RW, nullptr, "ON", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnAutoExposure},
    {M, "AutoExposureTarget", N, RW, nullptr, nullptr, AutoExposureTarget, nullptr, Range<16, 220>, &C::OnAutoExposureTarget},
    {M, "AutoExposure Policy", S, RW, PolicyWritable, nullptr, PolicyText, MemberList<&C::exposurePolicyValues>, nullptr, &C::OnAutoExposurePolicy},
    {M, "AutoExposure Policy", S, RO, PolicyReadOnly, "Exposure Only", nullptr, nullptr, nullptr, nullptr},
    {M, "AutoExposure Maximum Exposure Time", N, RW, nullptr, nullptr, AeMaxTime, nullptr, Range<10, 5000>, &C::OnAutoExposureMaxTime},
    {M, "AutoExposure Maximum Gain", N, RW, SupportsGain, nullptr, AeMaxGain, nullptr, AeMaxGainLimits, &C::OnAutoExposureMaxGain},
    {M, "AutoExposure Peak Mode", S, RW, nullptr, nullptr, PeakMode, MemberList<&C::onOffValues>, nullptr, &C::OnAutoExposurePeakMode},
    {M, "AutoExposure Percent", N, RW, nullptr, nullptr, PeakPercent, nullptr, Range<1, 99>, &C::OnAutoExposurePercent},
    {M, "Exposure", F, RW, nullptr, nullptr, ExposureText, nullptr, ExposureLimits, &C::OnExposure},
    {M, "Gain", N, RW, SupportsGain, nullptr, GainText, nullptr, GainLimits, &C::OnGain},
    {M, "RealExposure", F, RO, nullptr, nullptr, RealExposureText, nullptr, nullptr, &C::OnRealExposure},
    {M, "PixelType", S, RW, nullptr, nullptr, PixelTypeText, PixelTypes, nullptr, &C::OnPixelType},

    // Group 5: colour models only.
    {M, "AutoWhiteBalance", S, RW, IsColour, nullptr, WhiteBalanceModeText, MemberList<&C::whiteBalanceModeValues>, nullptr, &C::OnAutoWhiteBalance},
    {M, "AutoWhiteBalanceInterval", N, RW, IsColour, nullptr, WhiteBalanceInterval, nullptr, Range<100, 600000>, &C::OnAutoWhiteBalanceInterval},
    {M, "WhiteBalanceRGain", N, RW, IsColour, nullptr, WhiteBalanceGain<0>, nullptr, Range<-127, 127>, &C::OnWhiteBalanceRGain},
    {M, "WhiteBalanceGGain", N, RW, IsColour, nullptr, WhiteBalanceGain<1>, nullptr, Range<-127, 127>, &C::OnWhiteBalanceGGain},
    {M, "WhiteBalanceBGain", N, RW, IsColour, nullptr, WhiteBalanceGain<2>, nullptr, Range<-127, 127>, &C::OnWhiteBalanceBGain},
    {M, "Hue", N, RW, IsColour, nullptr, IntRead<&SdkCamera::GetHue, 0>, nullptr, Range<-180, 180>, &C::OnHue},
    {M, "Saturation", N, RW, IsColour, nullptr, IntRead<&SdkCamera::GetSaturation, 128>, nullptr, Range<0, 255>, &C::OnSaturation},
    {M, "Brightness", N, RW, IsColour, nullptr, IntRead<&SdkCamera::GetBrightness, 0>, nullptr, Range<-255, 255>, &C::OnBrightness},

    // Group 6: image adjustment and geometry.
    {M, "Contrast", N, RW, nullptr, nullptr, IntRead<&SdkCamera::GetContrast, 0>, nullptr, Range<-255, 255>, &C::OnContrast},
    {M, "Gamma", N, RW, nullptr, nullptr, IntRead<&SdkCamera::GetGamma, 100>, nullptr, Range<20, 180>, &C::OnGamma},
    {M, "Mode", S, RW, BinningModeReadable, nullptr, BinningModeText, Local<kBinSkip, 2>, nullptr, &C::OnBinningSkipMode},
    {M, "PowerFrequency", S, RW, nullptr, nullptr, PowerFrequencyText, Local<kPowerFrequencies, 3>, nullptr, &C::OnPowerFrequency},
    {M, "FlipHorizontal", S, RW, nullptr, "OFF", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnFlipHorizontal},
    {M, "FlipVertical", S, RW, nullptr, "OFF", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnFlipVertical},
    {M, "Binning", S, RW, nullptr, nullptr, BinningText, Local<kBinFactors, 8>, nullptr, &C::OnBinning},
    {M, "BinningMethod", S, RW, nullptr, nullptr, BinningMethodText, Local<kBinningMethods, 2>, nullptr, &C::OnBinningMethod},
    {M, "ConversionGain", S, RW, Cap<ConversionGain>, nullptr, ConversionGainText, ConversionGains, nullptr, &C::OnConversionGain},

    // Group 7: sensor, thermal and processing.
    {M, "Temperature", F, RO, Cap<TemperatureSensor>, nullptr, TemperatureText, nullptr, nullptr, &C::OnTemperature},
    {M, "Fan", S, RW, Cap<Fan>, nullptr, FanText, FanLevels, nullptr, &C::OnFan},
    {M, "TEC", S, RW, Cap<Cooler>, nullptr, OptionOnOff<8, 1>, MemberList<&C::onOffValues>, nullptr, &C::OnTec},
    {M, "TECTarget", F, RW, Cap<Cooler>, nullptr, TecTargetText, nullptr, TecTargetLimits, &C::OnTecTarget},
    {M, "TECPower", F, RO, TecPowerReadable, nullptr, TecPowerText, nullptr, nullptr, &C::OnTecPower},
    {M, "Heat", S, RW, Cap<Heater>, nullptr, HeatText, HeatLevels, nullptr, &C::OnHeat},
    {M, "LowNoise", S, RW, Cap<LowNoise>, nullptr, OptionOnOff<56, 0>, MemberList<&C::onOffValues>, nullptr, &C::OnLowNoise},
    {M, "Correlated Double Sampling", N, RW, OptionGated<110, 0>, nullptr, OptionDecimal<110, 0>, nullptr, CdsLimits, &C::OnCorrelatedDoubleSampling},
    {M, "Denoise", N, RW, OptionGated<53, 0>, nullptr, OptionDecimal<53, 0>, nullptr, Range<0, 100>, &C::OnDenoise},
    {M, "Sharpening", N, RW, OptionGated<30, 0>, nullptr, SharpeningText, nullptr, Range<0, 500>, &C::OnSharpening},
    {M, "Negative", S, RW, nullptr, nullptr, NegativeText, MemberList<&C::onOffValues>, nullptr, &C::OnNegative},
    {M, "GlobalResetMode", S, RW, OptionGated<58, 0>, nullptr, OptionOnOff<58, 0>, MemberList<&C::onOffValues>, nullptr, &C::OnGlobalResetMode},
    {M, "LowPowerConsumption", S, RW, OptionGated<102, 0>, nullptr, OptionOnOff<102, 0>, MemberList<&C::onOffValues>, nullptr, &C::OnLowPowerConsumption},
    {M, "ReadoutMode", S, RW, OptionGated<105, 0>, nullptr, ReadoutModeText, ReadoutModes, nullptr, &C::OnReadoutMode},
    {M, "Lane", S, RW, LaneReadable, nullptr, LaneText, Lanes, nullptr, &C::OnLane},
    {M, "AntiBlooming", N, RW, AntiBloomingReadable, nullptr, OptionDecimal<139, 0>, nullptr, AntiBloomingLimits, &C::OnAntiBlooming},
    {M, "VoltageBias", F, RW, VoltageBiasReadable, nullptr, VoltageBiasText, nullptr, VoltageBiasLimits, &C::OnVoltageBias},
    {M, "FactorySettings", S, RW, nullptr, "----", nullptr, Local<kFactorySettings, 2>, nullptr, &C::OnFactorySettings},
    {M, "Rotate", S, RW, nullptr, nullptr, RotateText, Local<kRotations, 4>, nullptr, &C::OnRotate},
    {M, "ToneMapping", S, RW, ToneMappingReadable, nullptr, ToneMappingText, Local<kToneMappings, 3>, nullptr, &C::OnToneMapping},

    // Group 8: defect correction and HDR.
    {M, "DynamicDefect:Dead", F, RW, DefectReadable, nullptr, DefectDead, nullptr, Range<0, 1>, &C::OnDynamicDefectDead},
    {M, "DynamicDefect:Hot", F, RW, DefectReadable, nullptr, DefectHot, nullptr, Range<0, 1>, &C::OnDynamicDefectHot},
    {M, "HDR:K", N, RW, HdrReadable, nullptr, HdrK, nullptr, Range<1, 25500>, &C::OnHdrK},
    {M, "HDR:B", N, RW, HdrReadable, nullptr, HdrB, nullptr, Range<0, 65535>, &C::OnHdrB},
    {M, "HDR:Threshold", N, RW, HdrThresholdReadable, nullptr, HdrThresholdText, nullptr, Range<0, 4094>, &C::OnHdrThreshold},

    // Group 9: shutter and image corrections.
    {M, "MechanicalShutter", S, RW, OptionGated<118, 0>, nullptr, ShutterText, ShutterStates, nullptr, &C::OnMechanicalShutter},
    {M, "AntiShutterEffect", S, RW, OptionGated<75, 0>, nullptr, OptionOnOff<75, 0>, MemberList<&C::onOffValues>, nullptr, &C::OnAntiShutterEffect},
    {M, "FFCEnable", S, RW, nullptr, "OFF", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnFfcEnable},
    {M, "DFCEnable", S, RW, nullptr, "OFF", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnDfcEnable},
    {M, "FPNCEnable", S, RW, nullptr, "OFF", nullptr, MemberList<&C::onOffValues>, nullptr, &C::OnFpncEnable},
    {M, "FFCStatus", S, RO, nullptr, "NA", nullptr, nullptr, nullptr, &C::OnFfcStatus},
    {M, "DFCStatus", S, RO, nullptr, "NA", nullptr, nullptr, nullptr, &C::OnDfcStatus},
    {M, "FPNCStatus", S, RO, nullptr, "NA", nullptr, nullptr, nullptr, &C::OnFpncStatus},
    {M, "FFCNumber", F, RW, nullptr, "5", nullptr, nullptr, Range<1, 99>, &C::OnFfcNumber},
    {M, "DFCNumber", F, RW, nullptr, "5", nullptr, nullptr, Range<1, 99>, &C::OnDfcNumber},
    {M, "FPNCNumber", F, RW, nullptr, "5", nullptr, nullptr, Range<1, 99>, &C::OnFpncNumber},
    {M, "FFCInit", S, RW, nullptr, "-----", nullptr, Local<kInitChoices, 2>, nullptr, &C::OnFfcInit},
    {M, "DFCInit", S, RW, nullptr, "-----", nullptr, Local<kInitChoices, 2>, nullptr, &C::OnDfcInit},
    {M, "FPNCCInit", S, RW, nullptr, "-----", nullptr, Local<kInitChoices, 2>, nullptr, &C::OnFpncInit},

    // Group 10: I/O lines, only when the model has any.
    {M, "IO:Trigger Source", S, RW, HasIoLines, "Opto-isolated input", nullptr, TriggerSources, nullptr, &C::OnTriggerSource},
    {M, "IO:Line Select", S, RW, HasIoLines, "Isolated input", nullptr, Lines, nullptr, &C::OnLineSelect},
    {M, "IO:GPIO Mode", S, RW, HasIoLines, "Input", nullptr, GpioModes, nullptr, &C::OnGpioMode},
    {M, "IO:Output Inverter", S, RW, HasIoLines, nullptr, IoEntry<7, &C::yesNoValues>, YesNo, nullptr, &C::OnOutputInverter},
    {M, "IO:Input Activation", S, RW, HasIoLines, nullptr, IoEntry<9, &C::inputActivationValues>, InputActivations, nullptr, &C::OnInputActivation},
    {M, "IO:Counter Source", S, RW, HasIoLines, nullptr, IoEntry<19, &C::counterSourceValues>, CounterSources, nullptr, &C::OnCounterSource},
    {M, "IO:PWM Source", S, RW, HasIoLines, nullptr, IoEntry<29, &C::pwmSourceValues>, PwmSources, nullptr, &C::OnPwmSource},
    {M, "IO:Output Mode", S, RW, HasIoLines, nullptr, IoEntry<31, &C::outputModeValues>, OutputModes, nullptr, &C::OnOutputMode},
    {M, "IO:Strobe Delay Mode", S, RW, HasIoLines, nullptr, IoEntry<33, &C::strobeDelayModeValues>, StrobeDelayModes, nullptr, &C::OnStrobeDelayMode},
    {M, "IO:Strobe Delay Time", N, RW, HasIoLines, nullptr, IoNumber<35, 0>, nullptr, Range<0, 5000000>, &C::OnStrobeDelayTime},
    {M, "IO:Strobe Duration", N, RW, HasIoLines, nullptr, IoNumber<37, 0>, nullptr, Range<0, 5000000>, &C::OnStrobeDuration},
    {M, "IO:User Value", N, RW, HasIoLines, nullptr, IoNumber<39, 0>, nullptr, Range<0, 5000000>, &C::OnUserValue},
    {M, "IO:Counter Value", N, RW, HasIoLines, nullptr, IoNumber<21, 1>, nullptr, Range<1, 65535>, &C::OnCounterValue},
    {M, "IO:Debouncer Time", N, RW, HasIoLines, nullptr, IoNumber<11, 0>, nullptr, Range<0, 20000>, &C::OnDebouncerTime},
    {M, "IO:Trigger Delay", N, RW, HasIoLines, nullptr, IoNumber<15, 0>, nullptr, Range<0, 5000000>, &C::OnTriggerDelay},
    {M, "IO:Format", S, RO, HasIoLines, "Opto-coupled", nullptr, nullptr, nullptr, nullptr},
    {M, "IO:Counter Reset", S, RW, HasIoLines, "Reset", nullptr, Local<kCounterReset, 1>, nullptr, &C::OnCounterReset},

    // Group 11: statistics.
    {M, "FrameStat", S, RO, nullptr, nullptr, FrameStatText, nullptr, nullptr, &C::OnFrameStat},
    {M, "SnapStat", S, RO, nullptr, "0", nullptr, nullptr, nullptr, &C::OnSnapStat},

    // Group 13: after the refresh and the first stream start.
    {A, "Bandwidth", N, RW, BandwidthSupported, nullptr, BandwidthText, nullptr, Range<1, 100>, &C::OnBandwidth},
    {A, "FrameRate", F, RW, Cap<FrameRateControl>, nullptr, FrameRateText, nullptr, FrameRateLimits, &C::OnFrameRate},
    {A, "Speed", S, RW, NotCap<FrameRateControl>, nullptr, SpeedText, SpeedLevels, nullptr, &C::OnSpeed},
};

}  // namespace

void PropertyCatalogue::Create(Camera& camera, Phase phase) {
  Context context(camera);
  for (const Row& row : kRows) {
    if (row.phase != phase) continue;
    if (row.gate != nullptr && !row.gate(context)) continue;
    Texts allowed = row.allowed != nullptr ? row.allowed(context) : Texts{};
    std::string value = row.value != nullptr ? row.value(context) : row.literal;
    MM::ActionFunctor* action =
        row.handler != nullptr ? new MM::Action<Camera>(&camera, row.handler) : nullptr;
    camera.CreateProperty(row.name, value, row.kind, row.readOnly, action, false);
    if (row.allowed != nullptr) camera.SetAllowedValues(row.name, allowed);
    double lower = 0, upper = 0;
    if (row.limits != nullptr && row.limits(context, lower, upper)) {
      camera.SetPropertyLimits(row.name, lower, upper);
    }
  }
}
