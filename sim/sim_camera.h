// SimCamera: one opened simulated camera, the SdkCamera that DllOpen returns.
//
// Contract: every operation is logged (Simulator call log), then checked
// against the fault switches, then executed against the camera's own state;
// values are range-checked the way a strict camera would. Geometry cannot
// change while the stream runs (kWrongState), so a frame always fits the
// buffer sized from GetOutputSize. After Close every call answers
// kClosedHandle. The object is never freed (see Simulator).
//
// Thread safety: every operation may be called from any thread. State is
// guarded by mu_; the stream thread calls the event callback with no lock
// held, and StopStreaming/Close join that thread, so no callback runs after
// they return (unless they are called from inside the callback itself, in
// which case the join is left to the next Start/Stop/Close).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "framework/mutex.h"
#include "module/sdk_camera.h"
#include "sim/call_text.h"
#include "sim/config.h"
#include "sim/frame_renderer.h"

namespace qvsim {

class SimCamera;

class SimSerialInfo final : public SdkSerialInfo {
 public:
  explicit SimSerialInfo(SimCamera* owner) : owner_(owner) {}
  int32_t QueryInterface(const SdkGuid* iid, void** object) override;
  uint32_t AddRef() override { return 1; }
  uint32_t Release() override { return 1; }
  int32_t GetSerialNumber(char serial[32]) override;

 private:
  SimCamera* owner_;
};

class SimVersionInfo final : public SdkVersionInfo {
 public:
  explicit SimVersionInfo(SimCamera* owner) : owner_(owner) {}
  int32_t QueryInterface(const SdkGuid* iid, void** object) override;
  uint32_t AddRef() override { return 1; }
  uint32_t Release() override { return 1; }
  int32_t GetFirmwareVersion(char text[16]) override;
  int32_t GetHardwareVersion(char text[16]) override;
  int32_t GetProductionDate(char text[16]) override;
  int32_t GetFpgaVersion(char text[16]) override;

 private:
  SimCamera* owner_;
};

class SimCamera final : public SdkCamera {
 public:
  SimCamera(const CameraConfig& config, const char* openText);

  const std::string& id() const { return id_; }
  bool closed() const { return closed_.load(); }
  const ModelInfo& model() const { return *model_; }

  // ---- control API (no logging, no fault switches) ----
  int32_t PeekOption(unsigned option, int* value) EXCLUDES(mu_);
  int32_t PokeOption(unsigned option, int value) EXCLUDES(mu_);  // bypasses range checks
  int32_t PeekNamedValue(const char* name, int* value) EXCLUDES(mu_);
  int32_t PokeNamedValue(const char* name, int value) EXCLUDES(mu_);
  int32_t PeekIo(unsigned line, unsigned request, int* value) EXCLUDES(mu_);
  int32_t PokeIo(unsigned line, unsigned request, int value) EXCLUDES(mu_);
  int32_t PeekState(const std::string& name, int* value) EXCLUDES(mu_);  // QvSimGetState
  int TriggerMode() EXCLUDES(mu_);
  bool Streaming() EXCLUDES(mu_);
  unsigned FramesProduced() EXCLUDES(mu_);
  unsigned ReadyFrames() EXCLUDES(mu_);
  std::string OpenText() const { return openText_; }
  // Raises an event through the stored callback, on the caller's thread and
  // without the lock; kWrongState when no stream (callback) is installed.
  int32_t FireEvent(unsigned event) EXCLUDES(mu_);
  // Hardware trigger pulses: each makes one frame when option 11 is 2 and a
  // hardware source (0 .. 4) is selected. Returns the pulses accepted.
  int32_t ExternalPulse(unsigned count) EXCLUDES(mu_);
  // Stops the stream thread without logging (process exit).
  void StopAtExit() { StopStreamThread(); }
  // Sets the simulated sensor temperature (tenths) at once.
  void SetTemperature(int tenths) EXCLUDES(mu_);

  // ---- SdkCamera ----
  int32_t QueryInterface(const SdkGuid* iid, void** object) override;
  uint32_t AddRef() override;
  uint32_t Release() override;
  int32_t SetResolutionIndex(unsigned index) override;
  int32_t GetResolutionIndex(unsigned* index) override;
  int32_t GetAutoExposure(int* enabled) override;
  int32_t SetAutoExposure(int enabled) override;
  int32_t GetAutoExposureTarget(unsigned short* target) override;
  int32_t SetAutoExposureTarget(unsigned short target) override;
  int32_t WhiteBalanceOnce(void* callback, void* context) override;
  int32_t SetWhiteBalanceGain(const int gains[3]) override;
  int32_t GetWhiteBalanceGain(int gains[3]) override;
  int32_t SetHue(int hue) override;
  int32_t GetHue(int* hue) override;
  int32_t SetSaturation(int saturation) override;
  int32_t GetSaturation(int* saturation) override;
  int32_t SetBrightness(int brightness) override;
  int32_t GetBrightness(int* brightness) override;
  int32_t GetExposureTime(unsigned* microseconds) override;
  int32_t SetExposureTime(unsigned microseconds) override;
  int32_t GetGain(unsigned short* gain) override;
  int32_t SetGain(unsigned short gain) override;
  int32_t GetContrast(int* contrast) override;
  int32_t SetContrast(int contrast) override;
  int32_t GetGamma(int* gamma) override;
  int32_t SetGamma(int gamma) override;
  int32_t GetVerticalFlip(int* flip) override;
  int32_t SetVerticalFlip(int flip) override;
  int32_t GetHorizontalFlip(int* flip) override;
  int32_t SetHorizontalFlip(int flip) override;
  int32_t SetSpeed(unsigned short speed) override;
  int32_t GetSpeed(unsigned short* speed) override;
  int32_t SetPowerFrequency(int frequency) override;
  int32_t GetPowerFrequency(int* frequency) override;
  int32_t SetBinningMode(int mode) override;
  int32_t GetBinningMode(int* mode) override;
  int32_t GetExposureRange(unsigned* min, unsigned* max, unsigned* def) override;
  int32_t GetGainRange(unsigned short* min, unsigned short* max, unsigned short* def) override;
  int32_t SetAutoExposureLimits(unsigned maxTime, unsigned short maxGain) override;
  int32_t GetRealExposureTime(unsigned* microseconds) override;
  int32_t GetTemperature(short* tenths) override;
  int32_t SetSensorRegion(unsigned x, unsigned y, unsigned width, unsigned height) override;
  int32_t GetSensorRegion(unsigned* x, unsigned* y, unsigned* width, unsigned* height) override;
  int32_t GetFanSpeed(unsigned short* speed) override;
  int32_t SetFanSpeed(unsigned short speed) override;
  int32_t GetResolutionRatio(unsigned index, int* numerator, int* denominator) override;
  int32_t GetTecTarget(int* tenths) override;
  int32_t SetTecTarget(int tenths) override;
  int32_t PutOption(unsigned option, int value) override;
  int32_t GetOption(unsigned option, int* value) override;
  int32_t IoControl(unsigned line, unsigned request, int input, int* output) override;
  int32_t SetDeviceMode(int mode) override;
  int32_t PrepareSnap() override;
  int32_t SetNegative(int negative) override;
  int32_t GetNegative(int* negative) override;
  int32_t GetAutoExposureLimits(unsigned* maxTime, unsigned short* maxGain) override;
  int32_t GetOutputSize(unsigned* width, unsigned* height) override;
  int32_t GetRawFormat(unsigned* fourCC, unsigned* bitsPerPixel) override;
  int32_t TriggerFrames(unsigned short count) override;
  int32_t SetNamedValue(const char* name, int value) override;
  int32_t GetNamedValue(const char* name, int* value) override;
  int32_t GetNamedValueText(const char* name, char text[128]) override;
  int32_t ListNamedValues(const char* name, int* count, int reserved, const char* names[128]) override;
  int32_t StartStreaming(void* frameCallback, void* frameContext, void* reserved1, void* reserved2,
                         SdkEventCallback onEvent, void* reserved3, void* eventContext) override;
  int32_t StopStreaming(int flags) override;
  int32_t Close() override;
  int32_t GetFrameStatistics(unsigned* frames, unsigned* milliseconds, unsigned* total,
                             void* reserved1, void* reserved2) override;
  const SdkModel* GetModelRecord() override;
  int32_t PullFrame(int waitMs, void* buffer, int bitsPerPixel, int rowPitch, void* frameInfo) override;
  int32_t QueryCapability(const char* name) override;
  int32_t GetParameter(const char* name, int* value) override;
  int32_t SetParameter(const char* name, int value) override;

  // Texts of the secondary interfaces ("serial", "firmware", ...).
  int32_t ReadText(const char* op, const char* key, char* out, size_t size);

 private:
  using Clock = std::chrono::steady_clock;

  struct Correction {  // one of FFC, DFC, FPNC
    bool enabled = false;
    bool initialised = false;
    unsigned target = 0;  // frames requested by the running build, 0: none
    unsigned done = 0;
  };

  // Every setting a factory reset restores.
  struct Settings {
    unsigned resolutionIndex = 0;
    unsigned roiX = 0, roiY = 0, roiWidth = 0, roiHeight = 0;  // width 0: no region
    unsigned exposureUs = 10000;
    unsigned short gain = 100;
    int autoExposure = 0;
    unsigned short aeTarget = 120;
    unsigned aeMaxTime = 350;
    unsigned short aeMaxGain = 500;
    std::array<int, 3> wbGain{{0, 0, 0}};
    int hue = 0, saturation = 128, brightness = 0, contrast = 0, gamma = 100;
    int vflip = 0, hflip = 0, negative = 0;
    unsigned short speed = 0;
    int powerFrequency = 0, binningMode = 0;
    unsigned short fan = 0;
    int tecTarget = -100;
    int deviceMode = 0;
    std::map<unsigned, int> options;
    std::map<std::string, int> named;
    std::map<std::string, int> parameters;
    std::array<Correction, 3> corrections;
    std::vector<std::map<unsigned, int>> io;  // per line: read code -> value
  };

  // Logs the call and applies closed-state and fault switches; true means
  // "return *status now".
  bool Enter(const CallText& line, const char* op, const std::string& selector, int32_t* status);

  Settings DefaultSettings() const;
  // The per-model settings file named by the open text (";ini=<path>"), when
  // the configuration asks for it (camera_settings_file.cc).
  std::string SettingsFilePath() const;
  void LoadSettingsFile() REQUIRES(mu_);
  void SaveSettingsFile() REQUIRES(mu_);
  void ApplyConfiguredState(const CameraConfig& config) REQUIRES(mu_);

  // Geometry (camera_geometry.cc).
  void OutputSizeLocked(unsigned* width, unsigned* height) REQUIRES(mu_);
  // The part of the binned, rotated full frame that the output shows.
  SceneWindow SceneWindowLocked() REQUIRES(mu_);
  unsigned BinFactorLocked() REQUIRES(mu_);
  const std::vector<unsigned>& PixelFormatListLocked() REQUIRES(mu_);
  unsigned PixelFormatLocked() REQUIRES(mu_);
  double RowTimeUsLocked() REQUIRES(mu_);
  unsigned RealExposureLocked() REQUIRES(mu_);
  int MaxFrameRateTenthsLocked() REQUIRES(mu_);

  // Options and named values (camera_options.cc).
  bool OptionExists(unsigned option) const;
  int32_t ReadOptionLocked(unsigned option, int* value) REQUIRES(mu_);
  int32_t WriteOptionLocked(unsigned option, int value) REQUIRES(mu_);
  int32_t ReadNamedLocked(const std::string& name, int* value) REQUIRES(mu_);
  int32_t WriteNamedLocked(const std::string& name, int value) REQUIRES(mu_);
  int CorrectionIndex(const std::string& name, const char* suffix) const;
  int32_t CapabilityValue(const std::string& name) EXCLUDES(mu_);
  int32_t IoLocked(unsigned line, unsigned request, int input, int* output) REQUIRES(mu_);

  // Thermal model, advanced lazily on every read.
  void UpdateThermalLocked() REQUIRES(mu_);
  int TecPowerLocked() REQUIRES(mu_);  // option 32, of 1000

  // Stream (camera_stream.cc).
  void StreamLoop() EXCLUDES(mu_);
  void StopStreamThread() EXCLUDES(mu_);
  Clock::duration FramePeriodLocked() REQUIRES(mu_);
  void ProduceFrameLocked(std::vector<unsigned>* events) REQUIRES(mu_);
  void AutoExposureStepLocked(std::vector<unsigned>* events) REQUIRES(mu_);
  void WhiteBalanceStepLocked(Clock::time_point now, std::vector<unsigned>* events) REQUIRES(mu_);
  std::array<int, 3> AutoWhiteBalanceGains() const;
  bool OnStreamThread() const;
  void KickLocked() REQUIRES(mu_) {
    ++kicks_;
    wake_.NotifyAll();
  }

  const std::string id_;
  const ModelInfo* const model_;
  const std::string openText_;
  const std::map<std::string, int> capabilityOverrides_;
  const std::map<std::string, std::string> texts_;
  const bool persistSettings_;
  std::atomic<bool> closed_{false};
  std::atomic<uint32_t> refs_{1};
  SimSerialInfo serialInfo_{this};
  SimVersionInfo versionInfo_{this};

  qv::Mutex streamMu_ ACQUIRED_BEFORE(mu_);  // serialises stream start, stop and close
  qv::Mutex mu_;
  qv::CondVar wake_;  // stream thread and PullFrame waiters
  Settings s_ GUARDED_BY(mu_);
  // Thermal state.
  double temperature_ GUARDED_BY(mu_) = 250.0;  // tenths of a degree
  Clock::time_point thermalTime_ GUARDED_BY(mu_);
  // Stream state.
  bool streaming_ GUARDED_BY(mu_) = false;
  bool stopRequested_ GUARDED_BY(mu_) = false;
  SdkEventCallback callback_ GUARDED_BY(mu_) = nullptr;
  void* callbackContext_ GUARDED_BY(mu_) = nullptr;
  std::thread thread_ GUARDED_BY(streamMu_);
  std::atomic<std::thread::id> threadId_{};
  std::atomic<bool> stopping_{false};  // set first by every stop; read between callbacks
  unsigned pendingTriggers_ GUARDED_BY(mu_) = 0;
  unsigned pendingPulses_ GUARDED_BY(mu_) = 0;
  Clock::time_point nextFrameDue_ GUARDED_BY(mu_);
  unsigned readyFrames_ GUARDED_BY(mu_) = 0;
  uint32_t frameNumber_ GUARDED_BY(mu_) = 0;   // number of the newest ready frame
  unsigned framesProduced_ GUARDED_BY(mu_) = 0;  // since open
  unsigned streamFrames_ GUARDED_BY(mu_) = 0;    // since the stream started
  Clock::time_point streamStart_ GUARDED_BY(mu_);
  bool wbOncePending_ GUARDED_BY(mu_) = false;
  Clock::time_point nextWbDue_ GUARDED_BY(mu_);
  FramePattern pattern_ GUARDED_BY(mu_);
  uint64_t kicks_ GUARDED_BY(mu_) = 0;  // bumped whenever the stream thread must re-plan
  std::vector<unsigned> queuedEvents_ GUARDED_BY(mu_);  // fired by hand, delivered by the stream thread
  uint64_t eventsQueued_ GUARDED_BY(mu_) = 0;
  uint64_t eventsDelivered_ GUARDED_BY(mu_) = 0;
};

}  // namespace qvsim
