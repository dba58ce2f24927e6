// Image capture: the frame buffer refit, the trigger mode, the stream
// restart bracket, the SDK's event callback, single and sequence captures,
// and the image queries of the host camera interface.
#include <chrono>

#include "camera/camera.h"
#include "camera/event_owner.h"
#include "camera/pixel_format.h"
#include "framework/value_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// What PullFrame answers when the buffer has no array to pull into.
constexpr int32_t kNoFrameBuffer = -1;

bool IsPending(int32_t result) { return result == SdkPullPending || result == SdkPullPendingAlt; }

// Trigger modes of option 11 and the software source of IoControl type 14.
constexpr int kFreeRunning = 0, kSoftwareTrigger = 1, kExternalTrigger = 2;
constexpr int kSoftwareSource = 5;

}  // namespace

// Time limit of a single capture, in milliseconds: 2 % over the exposure
// plus four seconds, in unsigned 32-bit steps that round down.
uint32_t SnapTimeLimitMs(uint32_t exposureMicroseconds) {
  return (exposureMicroseconds / 1000) * 102 / 100 + 4000;
}

void Camera::UpdateFrameBuffer() {
  if (!HasSdk()) return;
  unsigned width = 0, height = 0;
  sdk->GetOutputSize(&width, &height);
  int format = 0;
  if (sdk->GetOption(26, &format) < 0) format = 0;
  qv::RecursiveMutexLock hold(frameLock);
  const unsigned bytes =
      BytesPerPixelFor(ModelHas(SdkCapability::Monochrome), PixelFormatAt(format).depth);
  if (!frameBuffer.Fit(width, height, bytes)) {
    LogText("Quorvex: no memory for a frame buffer of the new size; captures fail until it fits");
  }
}

void Camera::ApplyTriggerMode(bool streaming) {
  if (!HasSdk()) return;
  if (streaming) {
    const uint32_t source = static_cast<uint32_t>(triggerSourceIndex.load());
    if (Model() != nullptr && Model()->ioLineCount != 0 && source <= 4) {
      sdk->PutOption(11, kExternalTrigger);
      sdk->IoControl(0, 14, static_cast<int>(source), nullptr);
    } else {
      sdk->PutOption(11, kFreeRunning);
    }
    return;
  }
  sdk->PutOption(11, kSoftwareTrigger);
  const SdkModel* record = sdk->GetModelRecord();
  if (record != nullptr && record->ioLineCount != 0) {
    sdk->IoControl(0, 14, kSoftwareSource, nullptr);
  }
}

void Camera::RestartStream(const std::function<void()>& change) {
  if (!HasSdk()) return;
  qv::RecursiveMutexLock hold(frameLock);
  sdk->StopStreaming(0);
  change();
  UpdateFrameBuffer();
  ApplyTriggerMode(false);
  sdk->StartStreaming(nullptr, nullptr, nullptr, nullptr, &Camera::OnSdkEvent, nullptr, this);
  event_owner::StreamingStarted(sdk, this);
}

void Camera::OnSdkEvent(unsigned event, void* context) {
  auto* camera = static_cast<Camera*>(context);
  if (camera == nullptr) return;
  switch (event) {
    case 4: {
      {
        qv::MutexLock hold(camera->frameSignalLock);
        camera->framePending = true;
      }
      camera->frameReady.NotifyAll();
      break;
    }
    case 1:
      camera->OnSdkExposureEvent();
      break;
    case 6:
      camera->OnSdkWhiteBalanceEvent();
      break;
    default:
      break;
  }
}

int32_t Camera::PullFrame() {
  qv::RecursiveMutexLock hold(frameLock);
  if (!frameBuffer.pixels) return kNoFrameBuffer;
  return sdk->PullFrame(0, frameBuffer.pixels.get(),
                        static_cast<int>(8 * frameBuffer.bytesPerPixel), -1, nullptr);
}

int Camera::CaptureImage() {
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  // The sequence thread's own captures stay in sequence mode when a stop
  // arrived before they started: they must not fire a trigger and wait for
  // a frame that may never come.
  return OnSequenceThread() || IsSequenceRunning() ? CaptureInSequence() : CaptureSingle();
}

int Camera::CaptureSingle() {
  {
    // A frame event from before this trigger belongs to no one.
    qv::MutexLock hold(frameSignalLock);
    framePending = false;
  }
  sdk->PrepareSnap();
  sdk->TriggerFrames(1);
  unsigned exposure = 0;
  sdk->GetExposureTime(&exposure);
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(SnapTimeLimitMs(exposure));
  for (;;) {
    {
      qv::MutexLock hold(frameSignalLock);
      frameReady.WaitUntil(frameSignalLock, deadline,
                           [this]() NO_THREAD_SAFETY_ANALYSIS { return framePending; });
      framePending = false;
    }
    const int32_t result = PullFrame();
    if (result >= 0) {
      ++snapCount;
      return DeviceError::Ok;
    }
    if (!IsPending(result) || Clock::now() >= deadline) return DeviceError::GenericError;
  }
}

int Camera::CaptureInSequence() {
  for (;;) {
    const int32_t result = PullFrame();
    if (result >= 0) {
      ++snapCount;
      return DeviceError::Ok;
    }
    if (!IsPending(result) || SequenceStopRequested()) return DeviceError::GenericError;
    {
      // StopSequence takes this lock after setting the stop, so the stop is
      // either seen here or its notification reaches the wait.
      qv::MutexLock hold(frameSignalLock);
      frameReady.Wait(frameSignalLock, [this]() NO_THREAD_SAFETY_ANALYSIS {
        return framePending || SequenceStopRequested();
      });
      framePending = false;
    }
    // Stopped while waiting: the step delivers the previous image once more.
    if (SequenceStopRequested()) return DeviceError::Ok;
  }
}

const unsigned char* Camera::ImagePixels() { return frameBuffer.pixels.get(); }

const unsigned char* Camera::ChannelPixels(unsigned) {
  return ChannelCount() == 1 ? ImagePixels() : nullptr;
}

const unsigned* Camera::ImagePixelsRgb32() { return nullptr; }

unsigned Camera::ComponentCount() const {
  if (Model() == nullptr) return 1;
  return ModelHas(SdkCapability::Monochrome) ? 1 : 4;
}

int Camera::ComponentName(unsigned component, char* name) {
  if (component != 0) return DeviceError::ChannelNotDefined;
  CopyToHostBuffer(name, "Grayscale");
  return DeviceError::Ok;
}

unsigned Camera::ChannelCount() const { return 1; }

int Camera::ChannelName(unsigned, char* name) {
  CopyToHostBuffer(name, "");
  return DeviceError::Ok;
}

long Camera::ImageBufferSize() const { return static_cast<long>(frameBuffer.Size()); }
unsigned Camera::ImageWidth() const { return frameBuffer.width; }
unsigned Camera::ImageHeight() const { return frameBuffer.height; }
unsigned Camera::ImageBytesPerPixel() const { return frameBuffer.bytesPerPixel; }

unsigned Camera::ImageBitDepth() const {
  unsigned bits = 8;
  if (HasSdk()) sdk->GetRawFormat(nullptr, &bits);
  return bits;
}

double Camera::PixelSizeUm() const {
  if (!HasSdk() || Model() == nullptr) return 0.0;
  int numerator = 1, denominator = 1;
  sdk->GetResolutionRatio(resolutionIndex, &numerator, &denominator);
  if (denominator == 0) denominator = 1;
  const float size = numerator * Model()->pixelSize / denominator;
  return size;
}

double Camera::GetExposure() const {
  unsigned microseconds = 0;
  if (HasSdk()) sdk->GetExposureTime(&microseconds);
  return microseconds / 1000.0;
}

void Camera::SetExposure(double ms) {
  if (!HasSdk()) return;
  using MM::value_text::TruncateToLong;
  const double current = GetExposure();
  if (static_cast<int32_t>(TruncateToLong(current * 1000)) ==
      static_cast<int32_t>(TruncateToLong(ms * 1000))) {
    return;
  }
  sdk->SetExposureTime(static_cast<unsigned>(TruncateToLong(ms * 1000)));
  const double value = GetExposure();
  if (HostCore* host = GetCoreCallback()) host->OnExposureChanged(this, value);
  RefreshAndNotify("Exposure");
  RefreshAndNotify("RealExposure");
}

// Held under frameLock, so a stream restart cannot replace the array while
// the host copies it.
int Camera::DeliverImage() {
  qv::RecursiveMutexLock hold(frameLock);
  return CCameraBase<Camera>::DeliverImage();
}
