#include "camera/pixel_format.h"

namespace {

constexpr PixelFormat kFormats[PixelFormatCount] = {
    {"RAW8", 8},     {"RAW10", 10},     {"RAW12", 12},     {"RAW14", 14},   {"RAW16", 16},
    {"YUV411", 8},   {"VUYY", 8},       {"YUV444", 8},     {"RGB888", 8},   {"GMCY8", 8},
    {"GMCY12", 12},  {"UYVY", 8},       {"RAW12PACK", 12}, {"RAW11", 11},   {"HDR8HL", 16},
    {"HDR10HL", 16}, {"HDR11HL", 16},   {"HDR12HL", 16},   {"HDR14HL", 16}, {"RAW10PACK", 10},
    {"RAW14PACK", 14},
};

}  // namespace

const PixelFormat& PixelFormatAt(int index) {
  if (index < 0 || index >= PixelFormatCount) return kFormats[0];
  return kFormats[index];
}

int FindPixelFormat(std::string_view name) {
  for (int i = 0; i < PixelFormatCount; ++i) {
    if (name == kFormats[i].name) return i;
  }
  return -1;
}

unsigned BytesPerPixelFor(bool monochrome, unsigned depth) {
  unsigned bytes = monochrome ? 1 : 4;
  return depth > 8 ? bytes * 2 : bytes;
}
