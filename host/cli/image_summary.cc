#include "host/cli/image_summary.h"

#include <boost/format.hpp>

namespace qv::host::cli {

std::string SummaryText(const ImageSummary& s) {
  return (boost::format("%u x %u, %u bytes per pixel, %u-bit; min %u, max %u, mean %.2f") %
          s.width % s.height % s.bytesPerPixel % s.bitDepth % s.stats.minimum() %
          s.stats.maximum() % s.stats.mean())
      .str();
}

void AddSummaryJson(const ImageSummary& s, nlohmann::json* out) {
  (*out)["width"] = s.width;
  (*out)["height"] = s.height;
  (*out)["bytesPerPixel"] = s.bytesPerPixel;
  (*out)["bitDepth"] = s.bitDepth;
  (*out)["min"] = s.stats.minimum();
  (*out)["max"] = s.stats.maximum();
  (*out)["mean"] = s.stats.mean();
}

}  // namespace qv::host::cli
