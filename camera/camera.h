// The module's one device class: a camera of the vendor SDK, shown to the host
// as an MM::Camera with about 110 properties.
//
// Contract. The constructor builds only the properties that exist before
// initialisation; Initialize opens (or shares, through the open camera table)
// the SDK camera, creates the property catalogue, starts the frame stream and
// the status monitor; Shutdown stops the threads and releases the SDK camera
// (closing it when this was its last user). A shut-down camera can be
// initialised again.
//
// The SDK rule for every operation and handler: nothing calls through a null
// `sdk`. Camera operations answer CommunicationFailed (35) or their neutral
// value when `HasSdk()` is false; property handlers answer 0 and touch
// nothing. Handlers start with `if (!HasSdk()) return 0;`.
//
// Threads. The host's threads (initialisation, property access, captures);
// the SDK's event thread (OnSdkEvent); one status monitor per initialised
// camera; one sequence thread per running sequence. `frameLock` serialises
// frame pulls, stream restarts and frame-buffer refits; `frameSignalLock`
// guards the frame-ready flag that `frameReady` signals. Properties carry
// their own locks (framework). `sdk`, `sdkHolder`, `entry` and the value lists
// are written only by Initialize and Shutdown on the host thread while no
// other camera thread runs; handlers only read them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "camera/frame_buffer.h"
#include "camera/pixel_format.h"
#include "framework/camera_base.h"
#include "framework/mutex.h"
#include "module/open_camera_table.h"
#include "module/sdk_camera.h"
#include "module/sdk_records.h"

class Camera final : public CCameraBase<Camera> {
 public:
  // A property handler: Refresh reads the SDK into the property, Apply writes
  // the property's new value to the SDK. Answers a device code.
  using Handler = int (Camera::*)(MM::PropertyBase*, MM::ActionKind);

  explicit Camera(const char* name);
  ~Camera() override;

  // ---- MM::Device ---------------------------------------------------------
  int Initialize() override;
  int Shutdown() override;
  void GetName(char* name) const override;

  // ---- MM::Camera (positions 44 to 84) -----------------------------------
  int CaptureImage() override;
  const unsigned char* ImagePixels() override;
  const unsigned char* ChannelPixels(unsigned channel) override;
  const unsigned* ImagePixelsRgb32() override;
  unsigned ComponentCount() const override;
  int ComponentName(unsigned component, char* name) override;
  unsigned ChannelCount() const override;
  int ChannelName(unsigned channel, char* name) override;
  long ImageBufferSize() const override;
  unsigned ImageWidth() const override;
  unsigned ImageHeight() const override;
  unsigned ImageBytesPerPixel() const override;
  unsigned ImageBitDepth() const override;
  double PixelSizeUm() const override;
  int BinFactor() const override;                  // controls/geometry.cc
  int SetBinFactor(int factor) override;           // controls/geometry.cc
  void SetExposure(double ms) override;
  double GetExposure() const override;
  int SetRegion(unsigned x, unsigned y, unsigned width, unsigned height) override;  // geometry.cc
  int GetRegion(unsigned& x, unsigned& y, unsigned& width, unsigned& height) override;
  int ClearRegion() override;                      // controls/geometry.cc
  bool SupportsMultiRegion() override { return false; }
  bool IsMultiRegionSet() override { return false; }
  int MultiRegionCount(unsigned&) override { return DeviceError::UnsupportedCommand; }
  int SetMultiRegion(const unsigned*, const unsigned*, const unsigned*, const unsigned*,
                     unsigned) override {
    return DeviceError::UnsupportedCommand;
  }
  int GetMultiRegion(unsigned*, unsigned*, unsigned*, unsigned*, unsigned&) override {
    return DeviceError::UnsupportedCommand;
  }
  int StartSequence(long count, double intervalMs, bool stopOnOverflow) override;
  int StartContinuousSequence(double intervalMs) override;
  int StopSequence() override;
  int PrepareSequence() override { return DeviceError::Ok; }
  int ExposureCanSequence(bool& sequenceable) const override {
    sequenceable = false;
    return DeviceError::Ok;
  }
  int ExposureSequenceCapacity(long&) const override { return DeviceError::UnsupportedCommand; }
  int BeginExposureSequence() override { return DeviceError::UnsupportedCommand; }
  int EndExposureSequence() override { return DeviceError::UnsupportedCommand; }
  int ResetExposureSequence() override { return DeviceError::UnsupportedCommand; }
  int AppendExposureSequence(double) override { return DeviceError::UnsupportedCommand; }
  int CommitExposureSequence() override { return DeviceError::UnsupportedCommand; }

  // ---- Camera base (position 88) -----------------------------------------
  // The base's step, marking the calling thread as this camera's sequence
  // thread, so its captures wait in sequence mode even after a stop.
  int RunSequenceStep() override;
  // The base's delivery, holding frameLock while the host copies the pixels.
  int DeliverImage() override;

  // ---- The SDK's event callback (context: the Camera streaming) ----------
  static void OnSdkEvent(unsigned event, void* context);

  // ---- Shared helpers (status_monitor.cc, capture.cc) --------------------
  bool HasSdk() const { return sdk != nullptr; }
  const SdkModel* Model() const { return entry.model; }
  bool ModelHas(unsigned bit) const { return HasCapability(entry.model, bit); }
  // Refreshes the named property and reports its value to the host.
  void RefreshAndNotify(const char* name);
  // "%.1f; %u" of frames per second and total, or "%u" of the total while
  // the SDK reports no elapsed time ("FrameStat").
  std::string FrameStatisticsText();
  // Entry index of the model's resolution table; false (out untouched) when
  // there is no model or the index is past the table.
  bool ResolutionAt(unsigned index, SdkResolution* out) const;
  // Refits the frame buffer to the SDK's output size and pixel format.
  void UpdateFrameBuffer();
  // Trigger mode for a running sequence (true) or idle and snaps (false).
  void ApplyTriggerMode(bool streaming);
  // Stops the stream, runs change, refits, re-arms software trigger, starts.
  // The one bracket for every geometry or format change (under frameLock).
  void RestartStream(const std::function<void()>& change);

  // ---- Helpers of the feature handlers (camera/controls) -----------------
  void ApplyOutputFormat();                       // geometry.cc
  std::string CurrentPixelTypeName();             // geometry.cc
  void LoadPixelTypeList();                       // geometry.cc
  void RefreshExposureLimits();                   // exposure_gain.cc
  int IndexOfValue(MM::PropertyBase* prop, const std::vector<std::string>& list);  // exposure_gain.cc
  void SetValueByIndex(MM::PropertyBase* prop, int index, const std::vector<std::string>& list);
  int CurrentWhiteBalanceMode();                  // colour.cc
  int SelectedLineIndex();                        // io_trigger.cc
  int TriggerSourceIndex();                       // io_trigger.cc
  void OnSdkExposureEvent();                      // event 1, exposure_gain.cc
  void OnSdkWhiteBalanceEvent();                  // event 6, colour.cc
  int NamedSwitch(const char* name, MM::PropertyBase* prop, MM::ActionKind kind);      // correction_hdr.cc
  int StatusText(const char* name, MM::PropertyBase* prop, MM::ActionKind kind);       // correction_hdr.cc
  int StartCorrectionInit(const char* prefix, MM::PropertyBase* prop, MM::ActionKind kind);

  // ---- Property handlers -------------------------------------------------
  // Geometry and format (controls/geometry.cc)
  int OnResolution(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnGainMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnPixelType(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnBinning(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFactorySettings(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnRotate(MM::PropertyBase* prop, MM::ActionKind kind);
  // Exposure and gain (controls/exposure_gain.cc)
  int OnAutoExposure(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposureTarget(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposurePolicy(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposureMaxTime(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposureMaxGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposurePeakMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoExposurePercent(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnExposure(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnRealExposure(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnConversionGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnBandwidth(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFrameRate(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnSpeed(MM::PropertyBase* prop, MM::ActionKind kind);
  // Colour and image processing (controls/colour.cc)
  int OnAutoWhiteBalance(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAutoWhiteBalanceInterval(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnWhiteBalanceRGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnWhiteBalanceGGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnWhiteBalanceBGain(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnHue(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnSaturation(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnBrightness(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnContrast(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnGamma(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFlipHorizontal(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFlipVertical(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnNegative(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDenoise(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnSharpening(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnToneMapping(MM::PropertyBase* prop, MM::ActionKind kind);
  // Sensor, thermal and power (controls/sensor_thermal.cc)
  int OnPixelSize(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnBinningSkipMode(MM::PropertyBase* prop, MM::ActionKind kind);  // "Mode"
  int OnPowerFrequency(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnBinningMethod(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnTemperature(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFan(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnTec(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnTecTarget(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnTecPower(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnHeat(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnLowNoise(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnCorrelatedDoubleSampling(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnGlobalResetMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnLowPowerConsumption(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnReadoutMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnLane(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAntiBlooming(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnVoltageBias(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnMechanicalShutter(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnAntiShutterEffect(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFrameStat(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnSnapStat(MM::PropertyBase* prop, MM::ActionKind kind);
  // I/O and trigger (controls/io_trigger.cc)
  int OnTriggerSource(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnLineSelect(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnGpioMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnOutputInverter(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnInputActivation(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnCounterSource(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnPwmSource(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnOutputMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnStrobeDelayMode(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnStrobeDelayTime(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnStrobeDuration(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnUserValue(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnCounterValue(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDebouncerTime(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnTriggerDelay(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnCounterReset(MM::PropertyBase* prop, MM::ActionKind kind);
  // Corrections and HDR (controls/correction_hdr.cc)
  int OnFfcEnable(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDfcEnable(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFpncEnable(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFfcStatus(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDfcStatus(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFpncStatus(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFfcNumber(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDfcNumber(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFpncNumber(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFfcInit(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDfcInit(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnFpncInit(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDynamicDefectDead(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnDynamicDefectHot(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnHdrK(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnHdrB(MM::PropertyBase* prop, MM::ActionKind kind);
  int OnHdrThreshold(MM::PropertyBase* prop, MM::ActionKind kind);

  // ---- Data model, in declaration order ----------------------------------
  // Written by Initialize and Shutdown on the host thread only, while no
  // other thread of this camera runs; read by the handlers.
  std::string deviceName;
  SdkCamera* sdk = nullptr;              // null before Initialize and after Shutdown
  std::shared_ptr<HWrapper> sdkHolder;   // the open camera table holds a second reference
  SdkDeviceEntry entry{};                // this camera's enumeration record; entry.model is the model
  bool binningAverage = false;           // binning averages instead of adding
  unsigned resolutionIndex = 0;          // index into the model's resolution table
  std::atomic<uint32_t> snapCount{0};    // frames pulled successfully ("SnapStat")
  std::atomic<int32_t> triggerSourceIndex{-1};  // position in triggerSourceValues; -1 unknown
  // The one image the host reads. Geometry and array change only under
  // frameLock; the host's queries read it without a lock.
  FrameBuffer frameBuffer;
  qv::RecursiveMutex frameLock;          // pulls, stream restarts, frame-buffer refits
  qv::Mutex frameSignalLock;             // guards framePending, waits on frameReady
  qv::CondVar frameReady;                // notified by event 4 and by StopSequence
  // A frame became ready since the last capture consumed the signal: a snap
  // clears it before it triggers, so an event that beats the wait is kept.
  bool framePending GUARDED_BY(frameSignalLock) = false;
  std::shared_ptr<std::thread> statusThread;  // the status monitor; empty while none runs
  std::atomic<bool> statusStop{false};        // stop request of the status monitor

  std::vector<std::string> onOffValues;
  std::vector<std::string> shutterValues;
  std::vector<std::string> gainModeValues;
  std::vector<std::string> whiteBalanceModeValues;
  std::vector<std::string> exposurePolicyValues;
  std::vector<std::string> readoutModeValues;
  std::vector<std::string> laneValues;
  std::vector<std::string> triggerSourceValues;
  std::vector<std::string> lineValues;
  std::vector<std::string> gpioModeValues;
  std::vector<std::string> yesNoValues;
  std::vector<std::string> inputActivationValues;
  std::vector<std::string> counterSourceValues;
  std::vector<std::string> pwmSourceValues;
  std::vector<std::string> outputModeValues;
  std::vector<std::string> strobeDelayModeValues;
  std::vector<std::string> pixelTypeValues;

 private:
  friend class PropertyCatalogue;  // creates the properties through the device base

  // Lifecycle pieces (camera_lifecycle.cc).
  int OpenSdkCamera();
  void CreateIdentificationProperties();
  void ReleaseSdkCamera();
  void StartStatusMonitor();
  void StopStatusMonitor();
  void StatusMonitorLoop();
  // Capture pieces (capture.cc).
  int32_t PullFrame();
  int CaptureSingle();
  int CaptureInSequence();
  void StartStreamingHere();
  // Sequence pieces (sequence.cc).
  bool SequenceStopRequested();
  // True on this camera's sequence thread, inside RunSequenceStep.
  bool OnSequenceThread() const;
  // Notifies frameReady after passing through frameSignalLock, so a waiter
  // that just found no reason to wake cannot miss it.
  void WakeCapture();
};

// Time limit of a single capture, in milliseconds, for an exposure in
// microseconds: (exposure / 1000) x 102 / 100 + 4000, each step rounding down.
uint32_t SnapTimeLimitMs(uint32_t exposureMicroseconds);
