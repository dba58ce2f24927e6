// Sequence acquisition: start, stop and the stop-aware wake-up of a capture
// that waits for a frame. The run itself is the framework's sequence thread.
#include "camera/camera.h"

namespace {

constexpr long kContinuousCount = 9223372036854775807L;

// The camera whose sequence step runs on this thread.
thread_local const Camera* steppingCamera = nullptr;

}  // namespace

int Camera::RunSequenceStep() {
  steppingCamera = this;
  const int result = CCameraBase<Camera>::RunSequenceStep();
  steppingCamera = nullptr;
  return result;
}

bool Camera::OnSequenceThread() const { return steppingCamera == this; }

bool Camera::SequenceStopRequested() { return sequenceThread->IsStopped(); }

void Camera::WakeCapture() {
  {
    qv::MutexLock hold(frameSignalLock);
  }
  frameReady.NotifyAll();
}

int Camera::StartSequence(long count, double intervalMs, bool stopOnOverflow) {
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  if (!HasSdk()) return DeviceError::CommunicationFailed;
  HostCore* host = GetCoreCallback();
  if (host == nullptr) return DeviceError::NoCallback;
  if (Model() != nullptr && Model()->ioLineCount != 0) triggerSourceIndex = TriggerSourceIndex();
  ApplyTriggerMode(true);
  if (IsSequenceRunning()) return DeviceError::CameraBusy;
  int result = host->PrepareForAcquisition(this);
  if (result != DeviceError::Ok) return result;
  // The overflow flag is stored before the thread starts, so the first
  // image already sees it.
  return StartSequenceRun(count, intervalMs, stopOnOverflow);
}

int Camera::StartContinuousSequence(double intervalMs) {
  return StartSequence(kContinuousCount, intervalMs, false);
}

int Camera::StopSequence() {
  WakeCapture();
  if (!sequenceThread->IsStopped()) {
    sequenceThread->RequestStop();
    // A capture that went back to waiting before the stop was set is woken
    // here, also when no frame will ever come (external trigger, no pulse).
    WakeCapture();
  }
  // Also reclaims a run that ended by itself, whose thread may still be in
  // OnSequenceEnd: no sequence thread outlives this call.
  sequenceThread->Join();
  WakeCapture();
  if (HasSdk() && static_cast<uint32_t>(triggerSourceIndex.load()) > 4) ApplyTriggerMode(false);
  return DeviceError::Ok;
}
