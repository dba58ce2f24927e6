// Records exchanged with the vendor SDK library. The SDK owns or fills them;
// the module only reads them. Layouts are fixed by the SDK's binary interface
// and checked below, so a library built by somebody else lines up with ours.
#pragma once

#include <cstddef>
#include <cstdint>

struct SdkResolution {
  uint32_t width;
  uint32_t height;
};

// Read-only description of a camera model.
struct SdkModel {
  const char* modelName;
  uint64_t capabilities;      // capability bits, see SdkCapability
  uint32_t maxSpeed;          // highest speed level ("Speed")
  uint32_t resolutionCount;   // at most 16; no entry past it is read
  uint32_t reserved0;
  uint32_t maxFanSpeed;       // highest fan level ("Fan")
  uint32_t ioLineCount;       // 0: the model has no I/O properties
  float pixelSize;            // micrometres
  uint32_t reserved1;
  SdkResolution resolutions[16];
};

// One enumerated camera.
struct SdkDeviceEntry {
  char displayName[64];
  char id[64];
  const SdkModel* model;
};

struct SdkGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

using SdkEventCallback = void (*)(unsigned event, void* context);

// The enumeration array always holds this many records.
constexpr unsigned MaxCameras = 128;

// Capability bits of SdkModel::capabilities (bit numbers).
namespace SdkCapability {
constexpr unsigned Cmos = 0;
constexpr unsigned ProgressiveCcd = 1;
constexpr unsigned InterlacedCcd = 2;
constexpr unsigned Monochrome = 4;
constexpr unsigned Usb3 = 6;
constexpr unsigned Usb3OnUsb2 = 8;
constexpr unsigned TemperatureSensor = 10;
constexpr unsigned Fan = 16;
constexpr unsigned Cooler = 17;
constexpr unsigned Isp = 18;
constexpr unsigned FrameMemory = 25;
constexpr unsigned ConversionGain = 26;
constexpr unsigned HdrConversionGain = 35;
constexpr unsigned GlobalShutter = 36;
constexpr unsigned FrameRateControl = 38;
constexpr unsigned Heater = 39;
constexpr unsigned LowNoise = 40;
constexpr unsigned GigE = 45;
constexpr unsigned TenGigE = 46;
constexpr unsigned FiveGigE = 47;
constexpr unsigned FortyGigE = 48;
constexpr unsigned CameraLink = 51;
constexpr unsigned CoaXPress = 52;
constexpr unsigned ThreeLevelConversionGain = 56;
constexpr unsigned Usb32 = 58;
constexpr unsigned Usb32OnUsb30 = 59;
constexpr unsigned TwoPointFiveGigE = 61;
}  // namespace SdkCapability

inline bool HasCapability(const SdkModel* model, unsigned bit) {
  return model != nullptr && ((model->capabilities >> bit) & 1u) != 0;
}

// Interface identifiers of the two secondary interfaces.
constexpr SdkGuid SdkSerialInfoId = {0xe12d4b13, 0x333f, 0x4eae,
                                     {0xbc, 0x89, 0x04, 0x46, 0xd1, 0xfc, 0x63, 0x4d}};
constexpr SdkGuid SdkVersionInfoId = {0xfc69b0c7, 0x6140, 0x4fe7,
                                      {0xb3, 0x85, 0x47, 0x3e, 0x5e, 0xa8, 0x78, 0x87}};

inline bool SameGuid(const SdkGuid& a, const SdkGuid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.data4[i] != b.data4[i]) return false;
  return true;
}

static_assert(sizeof(SdkResolution) == 8, "SdkResolution layout");
static_assert(offsetof(SdkModel, modelName) == 0, "SdkModel layout");
static_assert(offsetof(SdkModel, capabilities) == 8, "SdkModel layout");
static_assert(offsetof(SdkModel, maxSpeed) == 16, "SdkModel layout");
static_assert(offsetof(SdkModel, resolutionCount) == 20, "SdkModel layout");
static_assert(offsetof(SdkModel, reserved0) == 24, "SdkModel layout");
static_assert(offsetof(SdkModel, maxFanSpeed) == 28, "SdkModel layout");
static_assert(offsetof(SdkModel, ioLineCount) == 32, "SdkModel layout");
static_assert(offsetof(SdkModel, pixelSize) == 36, "SdkModel layout");
static_assert(offsetof(SdkModel, reserved1) == 40, "SdkModel layout");
static_assert(offsetof(SdkModel, resolutions) == 44, "SdkModel layout");
static_assert(sizeof(SdkDeviceEntry) == 136, "SdkDeviceEntry layout");
static_assert(offsetof(SdkDeviceEntry, displayName) == 0, "SdkDeviceEntry layout");
static_assert(offsetof(SdkDeviceEntry, id) == 64, "SdkDeviceEntry layout");
static_assert(offsetof(SdkDeviceEntry, model) == 128, "SdkDeviceEntry layout");
static_assert(sizeof(SdkGuid) == 16, "SdkGuid layout");
static_assert(offsetof(SdkGuid, data4) == 8, "SdkGuid layout");
