// The summary line / JSON fields of delivered images: geometry, bit depth
// and the pixel statistics.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "host/cli/image_stats.h"
#include "host/cli/image_view.h"

namespace qv::host::cli {

struct ImageSummary {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bytesPerPixel = 0;
  unsigned bitDepth = 0;
  ImageStats stats;
};

// "1280 x 960, 2 bytes per pixel, 12-bit; min 3, max 4095, mean 2047.51"
std::string SummaryText(const ImageSummary& summary);
// width, height, bytesPerPixel, bitDepth, min, max, mean
void AddSummaryJson(const ImageSummary& summary, nlohmann::json* out);

}  // namespace qv::host::cli
