// The smallest camera on the framework: the camera operations 44 to 84 do
// nothing but record their position in lastCall (and a scripted answer for
// CaptureImage), StartSequence/StopSequence drive the base's sequence thread
// the way a real camera does. Tests reach the framework through it.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "framework/action.h"
#include "framework/camera_base.h"

class TestCamera : public CCameraBase<TestCamera> {
 public:
  ~TestCamera() override {
    StopSequence();
    if (destroyed != nullptr) *destroyed = true;
  }

  /* 35 */ int Initialize() override { return lastCall = 35, 0; }
  /* 36 */ int Shutdown() override { return lastCall = 36, 0; }
  /* 38 */ void GetName(char* name) const override { CopyToHostBuffer(name, "TestCamera"); }

  /* 44 */ int CaptureImage() override {
    lastCall = 44;
    ++captures;
    if (captureHook) captureHook();
    return captureAnswer.load();
  }
  /* 45 */ const unsigned char* ImagePixels() override { return lastCall = 45, pixels; }
  /* 46 */ const unsigned char* ChannelPixels(unsigned) override { return lastCall = 46, pixels; }
  /* 47 */ const unsigned* ImagePixelsRgb32() override { return lastCall = 47, nullptr; }
  /* 48 */ unsigned ComponentCount() const override { return lastCall = 48, 1; }
  /* 49 */ int ComponentName(unsigned, char*) override { return lastCall = 49, 0; }
  /* 50 */ unsigned ChannelCount() const override { return lastCall = 50, 1; }
  /* 51 */ int ChannelName(unsigned, char*) override { return lastCall = 51, 0; }
  /* 52 */ long ImageBufferSize() const override { return lastCall = 52, 4; }
  /* 53 */ unsigned ImageWidth() const override { return lastCall = 53, 2; }
  /* 54 */ unsigned ImageHeight() const override { return lastCall = 54, 1; }
  /* 55 */ unsigned ImageBytesPerPixel() const override { return lastCall = 55, 2; }
  /* 56 */ unsigned ImageBitDepth() const override { return lastCall = 56, 16; }
  /* 57 */ double PixelSizeUm() const override { return lastCall = 57, 1.0; }
  /* 58 */ int BinFactor() const override { return lastCall = 58, 1; }
  /* 59 */ int SetBinFactor(int) override { return lastCall = 59, 0; }
  /* 60 */ void SetExposure(double) override { lastCall = 60; }
  /* 61 */ double GetExposure() const override { return lastCall = 61, 0.0; }
  /* 62 */ int SetRegion(unsigned, unsigned, unsigned, unsigned) override { return lastCall = 62, 0; }
  /* 63 */ int GetRegion(unsigned&, unsigned&, unsigned&, unsigned&) override {
    return lastCall = 63, 0;
  }
  /* 64 */ int ClearRegion() override { return lastCall = 64, 0; }
  /* 65 */ bool SupportsMultiRegion() override { return lastCall = 65, false; }
  /* 66 */ bool IsMultiRegionSet() override { return lastCall = 66, false; }
  /* 67 */ int MultiRegionCount(unsigned&) override { return lastCall = 67, 0; }
  /* 68 */ int SetMultiRegion(const unsigned*, const unsigned*, const unsigned*, const unsigned*,
                              unsigned) override {
    return lastCall = 68, 0;
  }
  /* 69 */ int GetMultiRegion(unsigned*, unsigned*, unsigned*, unsigned*, unsigned&) override {
    return lastCall = 69, 0;
  }
  /* 70 */ int StartSequence(long count, double intervalMs, bool stopOnOverflow) override {
    lastCall = 70;
    return StartSequenceRun(count, intervalMs, stopOnOverflow);
  }
  /* 71 */ int StartContinuousSequence(double intervalMs) override {
    lastCall = 71;
    return StartSequence(9223372036854775807L, intervalMs, false);
  }
  /* 72 */ int StopSequence() override {
    lastCall = 72;
    if (!sequenceThread->IsStopped()) {
      sequenceThread->RequestStop();
      sequenceThread->Join();
    }
    return 0;
  }
  /* 78 */ int ExposureCanSequence(bool&) const override { return lastCall = 78, 0; }
  /* 79 */ int ExposureSequenceCapacity(long&) const override { return lastCall = 79, 0; }
  /* 80 */ int BeginExposureSequence() override { return lastCall = 80, 0; }
  /* 81 */ int EndExposureSequence() override { return lastCall = 81, 0; }
  /* 82 */ int ResetExposureSequence() override { return lastCall = 82, 0; }
  /* 83 */ int AppendExposureSequence(double) override { return lastCall = 83, 0; }
  /* 84 */ int CommitExposureSequence() override { return lastCall = 84, 0; }

  // The device-code helpers, opened up for tests.
  using CDeviceBase::CreateFloatProperty;
  using CDeviceBase::CreateIntegerProperty;
  using CDeviceBase::CreateProperty;
  using CDeviceBase::FindProperty;
  using CDeviceBase::GetPropertyText;
  using CDeviceBase::LastPropertyName;
  using CDeviceBase::RefreshAllProperties;
  using CDeviceBase::RefreshProperty;
  using CDeviceBase::SetAllowedValues;
  using CDeviceBase::SetPropertyLimits;

  MM::Action<TestCamera>* Bind(int (TestCamera::*handler)(MM::PropertyBase*, MM::ActionKind)) {
    return new MM::Action<TestCamera>(this, handler);
  }

  mutable std::atomic<int> lastCall{-1};
  std::atomic<int> captures{0};
  std::atomic<int> captureAnswer{0};
  std::function<void()> captureHook;
  bool* destroyed = nullptr;
  unsigned char pixels[4] = {1, 2, 3, 4};
};
