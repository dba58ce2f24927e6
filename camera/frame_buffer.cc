#include "camera/frame_buffer.h"

#include <new>

bool FrameBuffer::Fit(uint32_t newWidth, uint32_t newHeight, uint32_t newBytesPerPixel) {
  const uint32_t needed = newWidth * newHeight * newBytesPerPixel;
  if (!pixels || Size() < needed) {
    // Release first, as the old geometry promised no more than it covered.
    pixels.reset();
    width = height = bytesPerPixel = 0;
    pixels.reset(new (std::nothrow) uint8_t[needed == 0 ? 1 : needed]);
    if (!pixels) return false;
  }
  width = newWidth;
  height = newHeight;
  bytesPerPixel = newBytesPerPixel;
  return true;
}
