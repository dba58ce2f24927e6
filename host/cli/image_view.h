// A borrowed view of one delivered image: rows packed without gaps,
// width * bytesPerPixel bytes each. 1 or 2 bytes per pixel: one grey
// component; 4 or 8: four components of 8 or 16 bits, in the order the
// camera delivers them (B, G, R, A).
#pragma once

#include <cstddef>

namespace qv::host::cli {

struct ImageView {
  const unsigned char* pixels = nullptr;
  unsigned width = 0;
  unsigned height = 0;
  unsigned bytesPerPixel = 0;

  size_t bytes() const { return size_t{width} * height * bytesPerPixel; }
  bool colour() const { return bytesPerPixel == 4 || bytesPerPixel == 8; }
  unsigned componentBytes() const { return colour() ? bytesPerPixel / 4 : bytesPerPixel; }
};

}  // namespace qv::host::cli
