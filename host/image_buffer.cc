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
  if (limits_.maxFrames != 0 && queue_.size() >= limits_.maxFrames) return false;
  if (limits_.maxBytes != 0 && queuedBytes_ + bytes > limits_.maxBytes) return false;
  return true;
}

std::vector<unsigned char> ImageBuffer::TakeSpare() {
  if (spare_.empty()) return {};
  std::vector<unsigned char> storage = std::move(spare_.back());
  spare_.pop_back();
  return storage;
}

void ImageBuffer::Recycle(std::vector<unsigned char>&& storage) {
  if (storage.capacity() != 0 && spare_.size() < kMaxSpare) spare_.push_back(std::move(storage));
}

int ImageBuffer::Push(const unsigned char* pixels, unsigned width, unsigned height,
                      unsigned bytesPerPixel, const char* metadata) {
  const size_t bytes = size_t{width} * height * bytesPerPixel;
  qv::MutexLock lock(mu_);
  if (!Fits(bytes)) {
    ++refused_;
    return HostBufferFull;
  }
  ImageFrame frame;
  frame.width = width;
  frame.height = height;
  frame.bytesPerPixel = bytesPerPixel;
  frame.pixels = TakeSpare();
  if (pixels != nullptr) {
    frame.pixels.assign(pixels, pixels + bytes);
  } else {
    frame.pixels.assign(bytes, 0);
  }
  frame.metadata = metadata != nullptr ? metadata : "";
  frame.index = nextIndex_++;
  queuedBytes_ += bytes;
  queue_.push_back(std::move(frame));
  changed_.NotifyAll();
  return 0;
}

void ImageBuffer::DropQueued() {
  dropped_ += queue_.size();
  for (ImageFrame& frame : queue_) Recycle(std::move(frame.pixels));
  queue_.clear();
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
    return !queue_.empty() || ended_;
  });
  if (!ready) return PopResult::TimedOut;
  if (queue_.empty()) return PopResult::Ended;
  Recycle(std::move(frame->pixels));
  *frame = std::move(queue_.front());
  queue_.pop_front();
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
  stats.queuedFrames = queue_.size();
  stats.queuedBytes = queuedBytes_;
  stats.accepted = nextIndex_;
  stats.refused = refused_;
  stats.dropped = dropped_;
  return stats;
}

}  // namespace qv::host
