// CCameraBase<T>: the camera base of a camera class T. It implements the
// camera operations that need only the base (IsBusy, PrepareSequence,
// IsSequenceRunning, the camera tag store, positions 73 to 77) and adds the
// host-visible camera-base operations at positions 85 to 94, in this order
// and no other virtual function. T implements CaptureImage, StartSequence,
// StartContinuousSequence, StopSequence and the rest of positions 44 to 84.
//
// The constructor creates the four transpose properties ("TransposeXY",
// "TransposeMirrorX", "TransposeMirrorY", "TransposeCorrection": Integer,
// "0", allowed "0" and "1", no action) and the stopped sequence thread.
// The destructor stops and joins a running sequence; by then T's part is
// gone, so T must stop its sequence (StopSequence) in Shutdown or its own
// destructor: a step still running would reach T's destroyed operations.
//
// A sequence run: T's StartSequence calls StartSequenceRun(count, interval,
// stopOnOverflow), which stores the overflow flag before the thread starts
// (so the first image already sees it) and then sequenceThread->StartRun;
// the thread repeats RunSequenceStep()
// (CaptureImage, then DeliverImage) and ends with OnSequenceEnd(). T's
// StopSequence calls sequenceThread->RequestStop(), wakes its capture, then
// sequenceThread->Join().
//
// Thread safety: stopOnOverflow is atomic; metadata guards itself; the
// delivery text is guarded by deliveryMutex, held during DeliverImage (so
// the host must not call DeliverImage from within its own PushImage).
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "framework/device_base.h"
#include "framework/device_error.h"
#include "framework/image_tag_text.h"
#include "framework/metadata.h"
#include "framework/mutex.h"
#include "framework/sequence_thread.h"
#include "module/host_core.h"
#include "module/mm_device.h"

template <class T>
class CCameraBase : public CDeviceBase<MM::Camera, T> {
 public:
  ~CCameraBase() override {
    sequenceThread->RequestStop();
    sequenceThread->Join();
    sequenceThread.reset();
    metadata.Clear();
  }

  /* 23 */ bool IsBusy() override { return busy; }
  /* 73 */ int PrepareSequence() override { return DeviceError::Ok; }
  /* 74 */ bool IsSequenceRunning() override { return !sequenceThread->IsStopped(); }
  // At most 1023 characters of the serialised store and a NUL.
  /* 75 */ void GetCameraTags(char* serialized) override {
    CopyToHostBuffer(serialized, metadata.Serialize());
  }
  /* 76 */ void AddCameraTag(const char* key, const char* deviceLabel, const char* value) override {
    metadata.PutTag(key, deviceLabel, value);
  }
  /* 77 */ void RemoveCameraTag(const char* key) override { metadata.RemoveTag(key); }

  /* 85 */ virtual std::vector<std::string> CameraTagKeys() { return metadata.GetKeys(); }
  // Throws MetadataKeyError for a missing key.
  /* 86 */ virtual std::string CameraTagValue(const char* key) {
    return metadata.GetSingleTag(key).GetValue();
  }
  // CaptureImage(), then DeliverImage(); the first non-zero code, else 0.
  /* 87 */ virtual int RunSequenceStep() {
    int result = this->CaptureImage();
    return result != DeviceError::Ok ? result : DeliverImage();
  }
  // Pushes the current image with its metadata text. With stopOnOverflow
  // false, an answer 22 empties the host's queue and pushes once more; that
  // second answer is returned. 13 without a host core.
  /* 88 */ virtual int DeliverImage() {
    HostCore* host = this->GetCoreCallback();
    if (host == nullptr) return DeviceError::NoCallback;
    char label[HostStringLimit] = {};
    this->GetLabel(label);
    qv::MutexLock lock(deliveryMutex);
    const std::string& text = deliveryText.ForLabel(label);
    int result = PushCurrentImage(*host, text);
    if (!stopOnOverflow.load() && result == HostBufferFull) {
      host->ClearImageQueue(this);
      result = PushCurrentImage(*host, text);
    }
    return result;
  }
  /* 89 */ virtual double SequenceIntervalMs() { return sequenceThread->IntervalMs(); }
  /* 90 */ virtual long SequenceImageCounter() { return sequenceThread->ImageCounter(); }
  /* 91 */ virtual long SequenceLength() { return sequenceThread->Length(); }
  // Logs "Sequence thread exiting" and reports AcquisitionFinished(this, 0).
  /* 92 */ virtual void OnSequenceEnd() {
    try {
      if (HostCore* host = this->GetCoreCallback()) {
        host->LogMessage(this, "Sequence thread exiting", false);
        host->AcquisitionFinished(this, 0);
      }
    } catch (...) {
      this->LogText("Exception in the OnThreadExiting function.");
    }
  }
  /* 93 */ virtual bool StopOnOverflow() { return stopOnOverflow.load(); }
  /* 94 */ virtual void SetStopOnOverflow(bool stop) { stopOnOverflow.store(stop); }

 protected:
  // 30 while a run is active; else stores stopOnOverflow, then starts the
  // run (StartRun's answer).
  int StartSequenceRun(long count, double intervalMs, bool stopOnOverflowFlag) {
    if (!sequenceThread->IsStopped()) return DeviceError::CameraBusy;
    SetStopOnOverflow(stopOnOverflowFlag);
    return sequenceThread->StartRun(count, intervalMs);
  }

  CCameraBase() {
    const std::vector<std::string> zeroOne{"0", "1"};
    for (const char* name :
         {"TransposeXY", "TransposeMirrorX", "TransposeMirrorY", "TransposeCorrection"}) {
      this->CreateProperty(name, "0", MM::PropertyKind::Integer, false, nullptr, false);
      this->SetAllowedValues(name, zeroOne);
    }
    sequenceThread = std::make_unique<BaseSequenceThread>(&sequenceOwner);
  }

  const bool busy = false;  // nothing sets it: the camera never reports busy
  std::atomic<bool> stopOnOverflow{false};
  ImageMetadata metadata;
  std::unique_ptr<BaseSequenceThread> sequenceThread;

 private:
  // Routes the sequence thread to this camera's own operations.
  class Owner final : public SequenceOwner {
   public:
    explicit Owner(CCameraBase* camera) : camera(camera) {}
    int RunSequenceStep() override { return camera->RunSequenceStep(); }
    void OnSequenceEnd() override { camera->OnSequenceEnd(); }
    void LogSequenceText(const char* text) override { camera->LogText(text); }

   private:
    CCameraBase* const camera;
  };

  int PushCurrentImage(HostCore& host, const std::string& text) {
    return host.PushImage(this, this->ImagePixels(), this->ImageWidth(), this->ImageHeight(),
                          this->ImageBytesPerPixel(), text.c_str(), true);
  }

  Owner sequenceOwner{this};
  qv::Mutex deliveryMutex;
  qv::ImageTagText deliveryText GUARDED_BY(deliveryMutex);
};
