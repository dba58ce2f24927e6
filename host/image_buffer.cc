#include "host/image_buffer.h"

#include "module/host_core.h"

namespace qv::host {

namespace {
// Spare storage kept for reuse; more than this would only hold memory that a
// burst once needed.
constexpr size_t kMaxSpare = 8;
}  // namespace

ImageBuffer::ImageBuffer(ImageBufferLimits limits) : limits_(limits) {}

bool ImageBuffer::Fits(size_t bytes) const {
  if (limits_.maxFrames != 0 && count_ >= limits_.maxFrames) return false;
  if (limits_.maxBytes != 0 && queuedBytes_ + bytes > limits_.maxBytes) return false;
  return true;
}

ImageFrame ImageBuffer::TakeSpare() {
  if (spare_.empty()) return {};
  ImageFrame frame = std::move(spare_.back());
  spare_.pop_back();
  return frame;
}

void ImageBuffer::Recycle(ImageFrame&& frame) {
  if (frame.pixels.capacity() == 0 || spare_.size() >= kMaxSpare) return;
  if (spare_.capacity() < kMaxSpare) spare_.reserve(kMaxSpare);
  spare_.push_back(std::move(frame));
}

void ImageBuffer::Enqueue(ImageFrame&& frame) {
  if (count_ == ring_.size()) {
    // Full ring: unroll it into a larger one, oldest first.
    std::vector<ImageFrame> larger(ring_.empty() ? 8 : 2 * ring_.size());
    for (size_t i = 0; i < count_; ++i) larger[i] = std::move(ring_[(head_ + i) % ring_.size()]);
    ring_ = std::move(larger);
    head_ = 0;
  }
  ring_[(head_ + count_) % ring_.size()] = std::move(frame);
  ++count_;
}

void ImageBuffer::DequeueOldest() {
  head_ = (head_ + 1) % ring_.size();
  --count_;
}

int ImageBuffer::Push(const unsigned char* pixels, unsigned width, unsigned height,
                      unsigned bytesPerPixel, const char* metadata) {
  const size_t bytes = size_t{width} * height * bytesPerPixel;
  qv::MutexLock lock(mu_);
  if (!Fits(bytes)) {
    ++refused_;
    return HostBufferFull;
  }
  ImageFrame frame = TakeSpare();
  frame.width = width;
  frame.height = height;
  frame.bytesPerPixel = bytesPerPixel;
  if (pixels != nullptr) {
    frame.pixels.assign(pixels, pixels + bytes);
  } else {
    frame.pixels.assign(bytes, 0);
  }
  frame.metadata.assign(metadata != nullptr ? metadata : "");
  frame.index = nextIndex_++;
  queuedBytes_ += bytes;
  Enqueue(std::move(frame));
  changed_.NotifyAll();
  return 0;
}

void ImageBuffer::DropQueued() {
  dropped_ += count_;
  while (count_ > 0) {
    Recycle(std::move(Oldest()));
    DequeueOldest();
  }
  queuedBytes_ = 0;
}

void ImageBuffer::Clear() {
  qv::MutexLock lock(mu_);
  DropQueued();
}

PopResult ImageBuffer::Pop(ImageFrame* frame, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  qv::MutexLock lock(mu_);
  const bool ready = changed_.WaitUntil(mu_, deadline, [this]() REQUIRES(mu_) {
    return count_ > 0 || ended_;
  });
  if (!ready) return PopResult::TimedOut;
  if (count_ == 0) return PopResult::Ended;
  Recycle(std::move(*frame));
  *frame = std::move(Oldest());
  DequeueOldest();
  queuedBytes_ -= frame->pixels.size();
  return PopResult::Frame;
}

void ImageBuffer::BeginAcquisition() {
  qv::MutexLock lock(mu_);
  DropQueued();
  nextIndex_ = 0;
  refused_ = 0;
  dropped_ = 0;
  ended_ = false;
}

void ImageBuffer::EndAcquisition() {
  qv::MutexLock lock(mu_);
  ended_ = true;
  changed_.NotifyAll();
}

bool ImageBuffer::AcquisitionEnded() const {
  qv::MutexLock lock(mu_);
  return ended_;
}

ImageBufferStats ImageBuffer::Stats() const {
  qv::MutexLock lock(mu_);
  ImageBufferStats stats;
  stats.queuedFrames = count_;
  stats.queuedBytes = queuedBytes_;
  stats.accepted = nextIndex_;
  stats.refused = refused_;
  stats.dropped = dropped_;
  return stats;
}

}  // namespace qv::host
