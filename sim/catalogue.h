// The simulator's built-in camera models and pixel formats.
//
// A ModelInfo is the public SdkModel record plus what only the simulated
// firmware knows (ranges, pixel formats, texts). Records live until process
// exit: the module keeps SdkModel pointers for as long as it runs, so neither
// the built-in nor the configured (overridden) models are ever freed.
//
// Thread safety: the built-in table is immutable after first use; MakeModel
// may be called from any thread (it takes its own lock).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module/sdk_records.h"

namespace qvsim {

// The SDK's pixel-format table: option 26 is an index into it.
struct PixelFormat {
  const char* name;
  unsigned depth;  // raw bits per pixel
};
constexpr unsigned PixelFormatCount = 21;
const PixelFormat& PixelFormatAt(unsigned index);  // index < PixelFormatCount

struct ModelInfo {
  SdkModel record{};
  std::string name;  // owns record.modelName
  // Exposure in microseconds, gain in percent (100 = unity).
  unsigned exposureMinUs = 10, exposureMaxUs = 2000000, exposureDefUs = 10000;
  unsigned short gainMin = 100, gainMax = 1600, gainDef = 100;
  std::vector<unsigned> pixelFormats;     // option 26 values offered, first = default
  std::vector<unsigned> hdrPixelFormats;  // offered in gain mode 3 (HDR models)
  unsigned laneCount = 1;                 // option 126
  int maxCds = 0;                         // QueryCapability("maxCDS"); 0: no option 110
  int maxAntiBlooming = 0;                // option 140; <= 1: no option 139
  unsigned maxHeater = 0;                 // option 54
  unsigned maxFrameRateTenths = 0;        // option 44 at full resolution (frame-rate models)
  unsigned readoutUsPerRow = 10;          // free-running period without frame-rate control
  bool mechanicalShutter = false;         // option 118
  bool hasTemperature() const { return HasCapability(&record, SdkCapability::TemperatureSensor); }
  bool has(unsigned bit) const { return HasCapability(&record, bit); }
  bool mono() const { return has(SdkCapability::Monochrome); }
};

// The built-in models in catalogue order (the first is the cooled monochrome
// camera, the default camera of the project).
const std::vector<const ModelInfo*>& BuiltInModels();

// Built-in model by exact name, or null.
const ModelInfo* FindModel(const std::string& name);

// A permanent copy of `base` (may then be changed by the caller before it is
// handed out; the record's name pointer follows `name`).
ModelInfo* CopyModel(const ModelInfo& base);

}  // namespace qvsim
