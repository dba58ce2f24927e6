#include "sim/catalogue.h"

#include <deque>
#include "framework/mutex.h"

namespace qvsim {
namespace {

constexpr PixelFormat kPixelFormats[PixelFormatCount] = {
    {"RAW8", 8},      {"RAW10", 10},    {"RAW12", 12},     {"RAW14", 14},    {"RAW16", 16},
    {"YUV411", 8},    {"VUYY", 8},      {"YUV444", 8},     {"RGB888", 8},    {"GMCY8", 8},
    {"GMCY12", 12},   {"UYVY", 8},      {"RAW12PACK", 12}, {"RAW11", 11},    {"HDR8HL", 16},
    {"HDR10HL", 16},  {"HDR11HL", 16},  {"HDR12HL", 16},   {"HDR14HL", 16},  {"RAW10PACK", 10},
    {"RAW14PACK", 14},
};

uint64_t Bits(std::initializer_list<unsigned> bits) {
  uint64_t v = 0;
  for (unsigned b : bits) v |= uint64_t{1} << b;
  return v;
}

void SetResolutions(ModelInfo* m, std::initializer_list<SdkResolution> list) {
  unsigned i = 0;
  for (const SdkResolution& r : list) m->record.resolutions[i++] = r;
  m->record.resolutionCount = i;
}

void Name(ModelInfo* m, const char* name) {
  m->name = name;
  m->record.modelName = m->name.c_str();
}

using namespace SdkCapability;

ModelInfo CooledMono() {
  ModelInfo m;
  Name(&m, "Quorvex M5 Cool");
  m.record.capabilities = Bits({Cmos, Monochrome, Usb3, TemperatureSensor, Fan, Cooler, Heater,
                                LowNoise, GlobalShutter, FrameMemory});
  m.record.maxSpeed = 2;
  m.record.maxFanSpeed = 3;
  m.record.ioLineCount = 3;
  m.record.pixelSize = 3.45f;
  SetResolutions(&m, {{2448, 2048}, {1224, 1024}, {612, 512}});
  m.exposureMinUs = 20;
  m.exposureMaxUs = 3600000000u;
  m.gainMax = 4000;
  m.pixelFormats = {0, 2, 4};
  m.maxCds = 3;
  m.maxHeater = 2;
  m.laneCount = 4;
  m.maxAntiBlooming = 0;
  m.mechanicalShutter = true;
  m.readoutUsPerRow = 8;
  return m;
}

ModelInfo ColourIsp() {
  ModelInfo m;
  Name(&m, "Quorvex C8 ISP");
  m.record.capabilities = Bits({Cmos, Usb3, Isp, FrameMemory});
  m.record.maxSpeed = 3;
  m.record.maxFanSpeed = 0;
  m.record.ioLineCount = 0;
  m.record.pixelSize = 2.0f;
  SetResolutions(&m, {{3840, 2160}, {1920, 1080}, {960, 540}});
  m.pixelFormats = {0, 2};
  m.readoutUsPerRow = 6;
  return m;
}

ModelInfo GigE() {
  ModelInfo m;
  Name(&m, "Quorvex G3 GigE");
  m.record.capabilities =
      Bits({Cmos, Monochrome, SdkCapability::GigE, FrameRateControl, GlobalShutter, FrameMemory});
  m.record.maxSpeed = 0;
  m.record.maxFanSpeed = 0;
  m.record.ioLineCount = 4;
  m.record.pixelSize = 3.45f;
  SetResolutions(&m, {{2048, 1536}, {1024, 768}, {512, 384}});
  m.pixelFormats = {0, 2};
  m.maxFrameRateTenths = 550;
  m.maxAntiBlooming = 3;
  return m;
}

ModelInfo ColourHdr() {
  ModelInfo m;
  Name(&m, "Quorvex C4 HDR");
  m.record.capabilities = Bits({Cmos, Usb32, ConversionGain, ThreeLevelConversionGain,
                                HdrConversionGain, TemperatureSensor, Fan, FrameMemory, LowNoise});
  m.record.maxSpeed = 1;
  m.record.maxFanSpeed = 2;
  m.record.ioLineCount = 2;
  m.record.pixelSize = 2.9f;
  SetResolutions(&m, {{2688, 1520}, {1344, 760}, {896, 506}, {672, 380}});
  m.gainMax = 10000;
  m.pixelFormats = {0, 2};
  m.hdrPixelFormats = {0, 4, 17};
  m.laneCount = 2;
  m.readoutUsPerRow = 12;
  return m;
}

std::deque<ModelInfo>& Storage() {
  static auto* storage = new std::deque<ModelInfo>();  // never freed: records outlive users
  return *storage;
}

}  // namespace

const PixelFormat& PixelFormatAt(unsigned index) { return kPixelFormats[index]; }

const std::vector<const ModelInfo*>& BuiltInModels() {
  static const std::vector<const ModelInfo*>* models = [] {
    auto* list = new std::vector<const ModelInfo*>();
    for (const ModelInfo& m : {CooledMono(), ColourIsp(), GigE(), ColourHdr()})
      list->push_back(CopyModel(m));
    return list;
  }();
  return *models;
}

const ModelInfo* FindModel(const std::string& name) {
  for (const ModelInfo* m : BuiltInModels())
    if (m->name == name) return m;
  return nullptr;
}

ModelInfo* CopyModel(const ModelInfo& base) {
  static qv::Mutex mu;
  qv::MutexLock lock(mu);
  Storage().push_back(base);
  ModelInfo* m = &Storage().back();
  m->record.modelName = m->name.c_str();
  return m;
}

}  // namespace qvsim
