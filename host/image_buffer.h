// The host's image buffer: a bounded FIFO of copied frames between the
// module's sequence thread (Push) and the host's consumer (Pop).
//
// Contract: Push copies the pixels and the metadata text and keeps no
// reference to them; it answers 0, or HostBufferFull (22) when the frame does
// not fit the limits (frames and/or bytes, 0 meaning "no limit"; only pixel
// bytes count). Clear empties the queue and counts the frames as dropped.
// Pop hands frames out in push order; it waits, with a timeout, for a frame
// or for the end of the acquisition. Storage of popped frames is recycled, so
// a steady stream allocates nothing per frame once the buffer is warm.
// Thread-safety: every operation may be called from any thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/mutex.h"

namespace qv::host {

struct ImageFrame {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bytesPerPixel = 0;
  std::vector<unsigned char> pixels;
  std::string metadata;
  uint64_t index = 0;  // push order since the acquisition began, from 0
};

struct ImageBufferLimits {
  size_t maxFrames = 0;  // 0: no limit
  size_t maxBytes = 0;   // 0: no limit
};

// Counters since the acquisition began (BeginAcquisition) or construction.
struct ImageBufferStats {
  size_t queuedFrames = 0;
  size_t queuedBytes = 0;
  uint64_t accepted = 0;  // frames taken by Push
  uint64_t refused = 0;   // Push answers of 22
  uint64_t dropped = 0;   // frames discarded by Clear
};

enum class PopResult { Frame, Ended, TimedOut };

class ImageBuffer {
 public:
  explicit ImageBuffer(ImageBufferLimits limits);

  int Push(const unsigned char* pixels, unsigned width, unsigned height, unsigned bytesPerPixel,
           const char* metadata) EXCLUDES(mu_);
  void Clear() EXCLUDES(mu_);

  // Moves the oldest frame into *frame (its previous storage is recycled).
  // Ended: the queue is empty and the acquisition has finished.
  PopResult Pop(ImageFrame* frame, std::chrono::milliseconds timeout) EXCLUDES(mu_);

  // A new acquisition: empties the queue, zeroes the counters, clears "ended".
  void BeginAcquisition() EXCLUDES(mu_);
  // The acquisition finished: waiting consumers wake; queued frames stay.
  void EndAcquisition() EXCLUDES(mu_);
  bool AcquisitionEnded() const EXCLUDES(mu_);

  ImageBufferStats Stats() const EXCLUDES(mu_);
  ImageBufferLimits limits() const { return limits_; }

 private:
  bool Fits(size_t bytes) const REQUIRES(mu_);
  ImageFrame TakeSpare() REQUIRES(mu_);
  void Recycle(ImageFrame&& frame) REQUIRES(mu_);
  void DropQueued() REQUIRES(mu_);
  void Enqueue(ImageFrame&& frame) REQUIRES(mu_);
  ImageFrame& Oldest() REQUIRES(mu_) { return ring_[head_]; }
  void DequeueOldest() REQUIRES(mu_);

  const ImageBufferLimits limits_;
  mutable qv::Mutex mu_;
  qv::CondVar changed_;  // a frame arrived, or the acquisition ended
  // The queue is a ring over `ring_` (grown, never shrunk), so a steady
  // stream does not allocate queue nodes; spare frames keep their pixel and
  // metadata storage for the next Push.
  std::vector<ImageFrame> ring_ GUARDED_BY(mu_);
  size_t head_ GUARDED_BY(mu_) = 0;   // index of the oldest queued frame
  size_t count_ GUARDED_BY(mu_) = 0;  // queued frames
  std::vector<ImageFrame> spare_ GUARDED_BY(mu_);
  size_t queuedBytes_ GUARDED_BY(mu_) = 0;
  uint64_t nextIndex_ GUARDED_BY(mu_) = 0;
  uint64_t refused_ GUARDED_BY(mu_) = 0;
  uint64_t dropped_ GUARDED_BY(mu_) = 0;
  bool ended_ GUARDED_BY(mu_) = false;
};

}  // namespace qv::host
