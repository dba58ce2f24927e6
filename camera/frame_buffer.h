// The camera's one image store: the SDK writes each frame straight into
// `pixels`, rows packed without gaps, and the host reads it from there.
//
// Contract: the array holds at least width x height x bytesPerPixel bytes and
// only ever grows. A failed allocation leaves the buffer empty (geometry 0,
// no array), never a released array in use.
//
// Thread safety: the camera changes it only under frameLock; the host's size
// queries read the geometry without a lock, so the fields are atomics (a
// query during a stream restart sees either geometry, never a torn value).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

struct FrameBuffer {
  std::unique_ptr<uint8_t[]> pixels;  // released with the camera
  std::atomic<uint32_t> width{0};
  std::atomic<uint32_t> height{0};
  std::atomic<uint32_t> bytesPerPixel{0};

  // Bytes the current geometry covers (unsigned 32-bit product).
  uint32_t Size() const { return width * height * bytesPerPixel; }

  // Makes the buffer fit the geometry, reusing the array when the previous
  // geometry covered at least as many bytes. False when a larger array
  // could not be allocated: the buffer is then empty.
  bool Fit(uint32_t newWidth, uint32_t newHeight, uint32_t newBytesPerPixel);
};
