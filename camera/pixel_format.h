// The SDK's pixel formats, by the index option 26 reports: each has the name
// the "PixelType" property shows and a bit depth, which decides the bytes
// per pixel of the frame buffer. The HDR formats count as 16-bit formats.
//
// Indexes outside 0 to 20 (or a failed read) fall back to the first entry,
// "RAW8" at 8 bits, so no look-up leaves the table.
#pragma once

#include <string_view>

struct PixelFormat {
  const char* name;
  unsigned depth;  // bits
};

inline constexpr int PixelFormatCount = 21;

// The format at index, or "RAW8"/8 for an index outside the table.
const PixelFormat& PixelFormatAt(int index);

// The first index whose name equals name exactly, or -1.
int FindPixelFormat(std::string_view name);

// Bytes per pixel of the delivered image: 1 (mono) or 4 (colour), doubled
// for a depth above 8 bits.
unsigned BytesPerPixelFor(bool monochrome, unsigned depth);
