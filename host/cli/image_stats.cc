#include "host/cli/image_stats.h"

#include <cstring>

namespace qv::host::cli {

template <typename T>
void ImageStats::Accumulate(const ImageView& image, unsigned componentsPerPixel, unsigned used) {
  const size_t pixels = size_t{image.width} * image.height;
  unsigned lo = min_, hi = max_;
  uint64_t sum = 0;
  for (size_t p = 0; p < pixels; ++p) {
    const unsigned char* at = image.pixels + p * componentsPerPixel * sizeof(T);
    for (unsigned c = 0; c < used; ++c) {
      T value;
      std::memcpy(&value, at + c * sizeof(T), sizeof(T));  // rows need not be aligned
      lo = value < lo ? value : lo;
      hi = value > hi ? value : hi;
      sum += value;
    }
  }
  min_ = lo;
  max_ = hi;
  sum_ += sum;
  samples_ += pixels * used;
}

bool ImageStats::Add(const ImageView& image) {
  if (image.pixels == nullptr) return false;
  switch (image.bytesPerPixel) {
    case 1: Accumulate<uint8_t>(image, 1, 1); return true;
    case 2: Accumulate<uint16_t>(image, 1, 1); return true;
    case 4: Accumulate<uint8_t>(image, 4, 3); return true;
    case 8: Accumulate<uint16_t>(image, 4, 3); return true;
    default: return false;
  }
}

}  // namespace qv::host::cli
