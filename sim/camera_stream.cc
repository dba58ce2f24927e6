// The frame stream of a SimCamera: its thread, triggers, frame pulls, and
// the asynchronous work the camera does while it streams (auto exposure,
// white balance, correction builds).
#include <algorithm>
#include <cmath>

#include "sim/camera_enter.h"
#include "sim/sim_camera.h"
#include "sim/status.h"

namespace qvsim {
namespace {

constexpr unsigned kReadyQueue = 4;  // frames held for pulling; older ones are dropped
constexpr auto kTick = std::chrono::milliseconds(50);
constexpr auto kIdle = std::chrono::milliseconds(500);
constexpr unsigned kEventExposure = 1, kEventFrame = 4, kEventWhiteBalance = 6;

template <typename T>
T Clamp(T v, T lo, T hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

bool SimCamera::OnStreamThread() const { return threadId_.load() == std::this_thread::get_id(); }

SimCamera::Clock::duration SimCamera::FramePeriodLocked() {
  const unsigned rows = s_.roiWidth ? s_.roiHeight : model_->record.resolutions[s_.resolutionIndex].height;
  const double readoutUs = rows * RowTimeUsLocked();
  const double exposureUs = RealExposureLocked();
  double periodUs = exposureUs + readoutUs;  // triggered: expose, then read out
  if (s_.options[11] == 0) {
    if (model_->has(SdkCapability::FrameRateControl)) {
      int tenths = 0;
      ReadOptionLocked(45, &tenths);
      periodUs = std::max(exposureUs, 1e7 / std::max(tenths, 1));
    } else {
      periodUs = std::max(exposureUs, readoutUs);  // rolling: exposure overlaps readout
    }
  }
  periodUs = std::max(periodUs, 1000.0);
  return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::micro>(periodUs));
}

void SimCamera::ProduceFrameLocked(std::vector<unsigned>* events) {
  readyFrames_ = std::min(readyFrames_ + 1, kReadyQueue);
  ++frameNumber_;
  ++framesProduced_;
  ++streamFrames_;
  for (Correction& k : s_.corrections) {
    if (k.target == 0) continue;
    if (++k.done >= k.target) {
      k.target = k.done = 0;
      k.initialised = true;
    }
  }
  if (!s_.io.empty()) ++s_.io[0][23];  // the counter counts frame triggers
  events->push_back(kEventFrame);
  wake_.NotifyAll();  // PullFrame callers waiting with waitMs > 0
  if (s_.autoExposure) AutoExposureStepLocked(events);
  if (wbOncePending_) {
    wbOncePending_ = false;
    s_.wbGain = AutoWhiteBalanceGains();
    events->push_back(kEventWhiteBalance);
  }
}

// Moves exposure and gain halfway (in log scale) toward the level that puts
// the mean at the target, within the limits and by the policy of option 16.
void SimCamera::AutoExposureStepLocked(std::vector<unsigned>* events) {
  const bool adds = (s_.options[23] & 0x80) == 0;
  const double signal = SignalScale(s_.exposureUs, s_.gain, BinFactorLocked(), adds) / 65536.0;
  const double measured = 255.0 * std::min(1.0, signal * pattern_.MeanLevel());
  const double target = s_.aeTarget;
  if (std::fabs(measured - target) < 2.0) return;
  double ratio = std::sqrt(std::max(target, 1.0) / std::max(measured, 1.0));
  const double expMin = model_->exposureMinUs;
  const double expMax = std::min<double>(model_->exposureMaxUs, s_.aeMaxTime * 1000.0);
  const double gainMin = model_->gainMin;
  const double gainMax = std::min<double>(model_->gainMax, s_.aeMaxGain);
  double exposure = s_.exposureUs, gain = s_.gain;
  const int policy = s_.options[16];
  auto moveExposure = [&](double r) {
    const double next = Clamp(exposure * r, expMin, std::max(expMin, expMax));
    const double left = r * exposure / next;
    exposure = next;
    return left;
  };
  auto moveGain = [&](double r) {
    const double next = Clamp(gain * r, gainMin, std::max(gainMin, gainMax));
    const double left = r * gain / next;
    gain = next;
    return left;
  };
  if (policy == 0) {
    moveExposure(ratio);
  } else if (policy == 2) {
    moveGain(ratio);
  } else {
    // Preferred quantity takes an increase first and gives back a decrease last.
    const bool exposureFirst = (policy == 1) == (ratio > 1.0);
    if (exposureFirst) moveGain(moveExposure(ratio));
    else moveExposure(moveGain(ratio));
  }
  const unsigned newExposure = static_cast<unsigned>(exposure);
  const unsigned short newGain = static_cast<unsigned short>(gain);
  if (newExposure == s_.exposureUs && newGain == s_.gain) return;
  s_.exposureUs = newExposure;
  s_.gain = newGain;
  events->push_back(kEventExposure);
}

std::array<int, 3> SimCamera::AutoWhiteBalanceGains() const {
  // The simulated scene is lit a little warm; neutral needs less red, more blue.
  return {{-18, 0, 27}};
}

void SimCamera::WhiteBalanceStepLocked(Clock::time_point now, std::vector<unsigned>* events) {
  const int interval = s_.options.count(108) ? s_.options[108] : 0;
  if (interval == 0 || now < nextWbDue_) return;
  nextWbDue_ = now + std::chrono::milliseconds(interval);
  const std::array<int, 3> gains = AutoWhiteBalanceGains();
  if (gains == s_.wbGain) return;
  s_.wbGain = gains;
  events->push_back(kEventWhiteBalance);
}

void SimCamera::StreamLoop() {
  threadId_.store(std::this_thread::get_id());
  std::vector<unsigned> events;
  mu_.Lock();
  while (!stopRequested_) {
    const Clock::time_point now = Clock::now();
    const int mode = s_.options[11];
    const bool armed = mode == 0 || (mode == 1 && pendingTriggers_ > 0) || (mode == 2 && pendingPulses_ > 0);
    if (armed && nextFrameDue_ <= now) {
      ProduceFrameLocked(&events);
      if (mode == 1) --pendingTriggers_;
      if (mode == 2) --pendingPulses_;
      nextFrameDue_ += FramePeriodLocked();
      if (nextFrameDue_ < now) nextFrameDue_ = now + FramePeriodLocked();  // no bursts after a stall
    }
    WhiteBalanceStepLocked(now, &events);
    const size_t byHand = queuedEvents_.size();
    events.insert(events.end(), queuedEvents_.begin(), queuedEvents_.end());
    queuedEvents_.clear();
    if (!events.empty()) {
      const SdkEventCallback callback = callback_;
      void* const context = callbackContext_;
      mu_.Unlock();
      // A stop requested by a callback (or meanwhile) ends the batch at once.
      if (callback != nullptr)
        for (unsigned e : events) {
          if (stopping_.load()) break;
          callback(e, context);
        }
      events.clear();
      mu_.Lock();
      eventsDelivered_ += byHand;
      if (byHand) wake_.NotifyAll();
      continue;
    }
    const auto awb = s_.options.find(108);  // continuous white balance (colour models)
    const bool continuousWb = awb != s_.options.end() && awb->second != 0;
    Clock::time_point wakeAt = now + (s_.autoExposure || continuousWb ? kTick : kIdle);
    const bool armedNow = s_.options[11] == 0 || (s_.options[11] == 1 && pendingTriggers_ > 0) ||
                          (s_.options[11] == 2 && pendingPulses_ > 0);
    if (armedNow) wakeAt = std::min(wakeAt, nextFrameDue_);
    if (continuousWb) wakeAt = std::min(wakeAt, nextWbDue_);
    const uint64_t seen = kicks_;
    wake_.WaitUntil(mu_, wakeAt, [&]() REQUIRES(mu_) { return stopRequested_ || kicks_ != seen; });
  }
  mu_.Unlock();
}

int32_t SimCamera::StartStreaming(void* frameCallback, void* frameContext, void* reserved1,
                                  void* reserved2, SdkEventCallback onEvent, void* reserved3,
                                  void* eventContext) {
  QV_ENTER(Call("StartStreaming"), "StartStreaming", "");
  if (frameCallback != nullptr || frameContext != nullptr || reserved1 != nullptr ||
      reserved2 != nullptr || reserved3 != nullptr)
    return kNotImplemented;  // only the event (pull) mode is simulated
  qv::MutexLock start(streamMu_);
  {
    qv::MutexLock lock(mu_);
    if (streaming_) return kWrongState;
  }
  if (thread_.joinable()) thread_.join();  // left by a stop from inside the callback
  {
    qv::MutexLock lock(mu_);
    streaming_ = true;
    stopRequested_ = false;
    stopping_.store(false);
    callback_ = onEvent;
    callbackContext_ = eventContext;
    readyFrames_ = 0;
    pendingTriggers_ = pendingPulses_ = 0;
    streamFrames_ = 0;
    streamStart_ = Clock::now();
    nextFrameDue_ = streamStart_ + FramePeriodLocked();
    nextWbDue_ = streamStart_;
    pattern_.Fit(SceneWindowLocked(), model_->mono() ? 1 : 4);  // the scene is built once per geometry, here
  }
  thread_ = std::thread([this] { StreamLoop(); });
  return kOk;
}

void SimCamera::StopStreamThread() {
  stopping_.store(true);
  if (OnStreamThread()) {
    // Called from inside the event callback: the thread ends after the
    // callback returns; the next Start/Stop/Close joins it.
    qv::MutexLock lock(mu_);
    stopRequested_ = true;
    streaming_ = false;
    callback_ = nullptr;
    KickLocked();
    return;
  }
  qv::MutexLock stop(streamMu_);
  {
    qv::MutexLock lock(mu_);
    stopRequested_ = true;
    KickLocked();
  }
  if (thread_.joinable()) thread_.join();
  qv::MutexLock lock(mu_);
  streaming_ = false;
  callback_ = nullptr;
  callbackContext_ = nullptr;
  readyFrames_ = 0;
  pendingTriggers_ = pendingPulses_ = 0;
  wbOncePending_ = false;
  queuedEvents_.clear();
  KickLocked();
}

int32_t SimCamera::StopStreaming(int flags) {
  QV_ENTER(Call("StopStreaming", flags), "StopStreaming", "");
  StopStreamThread();
  return kOk;
}

int32_t SimCamera::Close() {
  QV_ENTER(Call("Close"), "Close", "");
  StopStreamThread();
  if (persistSettings_) {
    qv::MutexLock lock(mu_);
    SaveSettingsFile();
  }
  closed_.store(true);
  Simulator::Instance().CameraClosed(this);
  return kOk;
}

int32_t SimCamera::TriggerFrames(unsigned short count) {
  QV_ENTER(Call("TriggerFrames", count), "TriggerFrames", "");
  qv::MutexLock lock(mu_);
  if (!streaming_ || s_.options[11] != 1) return kWrongState;
  if (count == 0) {
    pendingTriggers_ = 0;
    return kOk;
  }
  if (pendingTriggers_ == 0) nextFrameDue_ = Clock::now() + FramePeriodLocked();
  pendingTriggers_ = std::min(pendingTriggers_ + count, 65535u);
  KickLocked();
  return kOk;
}

int32_t SimCamera::PrepareSnap() {
  QV_ENTER(Call("PrepareSnap"), "PrepareSnap", "");
  qv::MutexLock lock(mu_);
  readyFrames_ = 0;  // a snap must not get a frame that was ready before it
  return kOk;
}

int32_t SimCamera::PullFrame(int waitMs, void* buffer, int bitsPerPixel, int rowPitch, void* frameInfo) {
  (void)frameInfo;  // its layout is not part of the simulated interface; never written
  QV_ENTER(Call("PullFrame", waitMs, bitsPerPixel, rowPitch), "PullFrame", "");
  if (buffer == nullptr) return kPointer;
  const bool mono = model_->mono();
  if (mono ? (bitsPerPixel != 8 && bitsPerPixel != 16) : (bitsPerPixel != 32 && bitsPerPixel != 64))
    return kInvalidArgument;
  qv::MutexLock lock(mu_);
  if (!streaming_) return kWrongState;
  if (readyFrames_ == 0 && waitMs > 0) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    wake_.WaitUntil(mu_, deadline, [&]() REQUIRES(mu_) { return readyFrames_ > 0 || !streaming_; });
  }
  if (readyFrames_ == 0) return SdkPullPending;
  RenderRequest req;
  const SceneWindow window = SceneWindowLocked();
  req.width = window.width;
  req.height = window.height;
  req.components = mono ? 1 : 4;
  req.bytesPerComponent = (bitsPerPixel == 16 || bitsPerPixel == 64) ? 2 : 1;
  const long packed = static_cast<long>(req.width) * req.components * req.bytesPerComponent;
  if (rowPitch > 0 && rowPitch < packed) return kInvalidArgument;
  req.rowPitch = rowPitch > 0 ? rowPitch : packed;
  req.depth = PixelFormatAt(PixelFormatLocked()).depth;
  req.scale = SignalScale(s_.exposureUs, s_.gain, BinFactorLocked(), (s_.options[23] & 0x80) == 0);
  req.frameNumber = frameNumber_ - readyFrames_ + 1;
  req.negative = s_.negative != 0;
  for (int c = 0; c < 3; ++c) req.colourGain[c] = s_.wbGain[c];
  pattern_.Fit(window, req.components);
  pattern_.Render(req, buffer);
  --readyFrames_;
  return kOk;
}

int32_t SimCamera::GetFrameStatistics(unsigned* frames, unsigned* milliseconds, unsigned* total,
                                      void* reserved1, void* reserved2) {
  (void)reserved1;
  (void)reserved2;
  QV_ENTER(Call("GetFrameStatistics"), "GetFrameStatistics", "");
  qv::MutexLock lock(mu_);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - streamStart_);
  if (frames) *frames = streaming_ ? streamFrames_ : 0;
  if (milliseconds) *milliseconds = streaming_ ? static_cast<unsigned>(elapsed.count()) : 0;
  if (total) *total = framesProduced_;
  return kOk;
}

int32_t SimCamera::WhiteBalanceOnce(void* callback, void* context) {
  (void)callback;  // a completion callback is not simulated; event 6 reports the new gains
  (void)context;
  QV_ENTER(Call("WhiteBalanceOnce"), "WhiteBalanceOnce", "");
  if (model_->mono()) return kNotImplemented;
  qv::MutexLock lock(mu_);
  if (streaming_) {
    wbOncePending_ = true;  // measured on the next frame
  } else {
    s_.wbGain = AutoWhiteBalanceGains();
  }
  return kOk;
}

// ---- control API ----

int32_t SimCamera::FireEvent(unsigned event) {
  if (OnStreamThread()) {
    SdkEventCallback callback;
    void* context;
    {
      qv::MutexLock lock(mu_);
      callback = callback_;
      context = callbackContext_;
    }
    if (callback == nullptr) return kWrongState;
    callback(event, context);
    return kOk;
  }
  qv::MutexLock lock(mu_);
  if (!streaming_ || callback_ == nullptr) return kWrongState;
  queuedEvents_.push_back(event);
  const uint64_t mine = ++eventsQueued_;
  KickLocked();
  wake_.WaitUntil(mu_, Clock::now() + std::chrono::seconds(5),
                  [&]() REQUIRES(mu_) { return eventsDelivered_ >= mine || !streaming_; });
  return eventsDelivered_ >= mine ? kOk : kWrongState;
}

int32_t SimCamera::ExternalPulse(unsigned count) {
  qv::MutexLock lock(mu_);
  if (!streaming_ || s_.options[11] != 2 || count == 0) return 0;
  if (!s_.io.empty() && s_.io[0][13] > 4) return 0;  // software source selected: pulses ignored
  if (pendingPulses_ == 0) nextFrameDue_ = Clock::now() + FramePeriodLocked();
  pendingPulses_ += count;
  KickLocked();
  return static_cast<int32_t>(count);
}

int SimCamera::TriggerMode() {
  qv::MutexLock lock(mu_);
  return s_.options[11];
}

bool SimCamera::Streaming() {
  qv::MutexLock lock(mu_);
  return streaming_;
}

unsigned SimCamera::FramesProduced() {
  qv::MutexLock lock(mu_);
  return framesProduced_;
}

unsigned SimCamera::ReadyFrames() {
  qv::MutexLock lock(mu_);
  return readyFrames_;
}

}  // namespace qvsim
