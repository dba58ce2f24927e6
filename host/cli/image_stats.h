// Minimum, maximum and mean of an image's pixel values, accumulated over one
// or more images. Grey images: the one component. Colour images: the three
// colour components; the fourth (alpha) is filler and is left out.
#pragma once

#include <cstdint>

#include "host/cli/image_view.h"

namespace qv::host::cli {

class ImageStats {
 public:
  // False (and nothing counted) for a layout other than 1, 2, 4, 8 bytes.
  bool Add(const ImageView& image);

  uint64_t samples() const { return samples_; }
  unsigned minimum() const { return samples_ == 0 ? 0 : min_; }
  unsigned maximum() const { return max_; }
  double mean() const { return samples_ == 0 ? 0.0 : static_cast<double>(sum_) / samples_; }

 private:
  template <typename T>
  void Accumulate(const ImageView& image, unsigned componentsPerPixel, unsigned used);

  unsigned min_ = ~0u;
  unsigned max_ = 0;
  uint64_t sum_ = 0;
  uint64_t samples_ = 0;
};

}  // namespace qv::host::cli
