// A scriptable SdkCamera for focused camera tests: options and I/O values in
// maps, scripted PullFrame answers, the streaming callback and context kept,
// and a count of every call by name. Installed through SetSdkLibraryForTesting
// by CameraFixture (camera_fixture.h).
//
// Thread safety: one mutex guards every field; the camera calls it from the
// host's thread, the status monitor and the sequence thread.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <string>

#include "module/sdk_camera.h"

class FakeSdkCamera final : public SdkCamera {
 public:
  explicit FakeSdkCamera(const SdkModel* model) : model(model) {}

  int32_t QueryInterface(const SdkGuid*, void** object) override {
    Note("QueryInterface");
    *object = nullptr;
    return -1;
  }
  uint32_t AddRef() override { return 1; }
  uint32_t Release() override { return 1; }
  int32_t GetOption(unsigned option, int* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["GetOption"];
    auto found = options.find(option);
    if (found == options.end()) return -1;
    *value = found->second;
    return 0;
  }
  int32_t PutOption(unsigned option, int value) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["PutOption"];
    options[option] = value;
    return 0;
  }
  int32_t IoControl(unsigned, unsigned request, int input, int* output) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["IoControl"];
    if (output != nullptr) *output = io[request];
    else io[request] = input;
    return 0;
  }
  int32_t GetNamedValue(const char*, int*) override { return Note("GetNamedValue", -1); }
  int32_t PullFrame(int, void* buffer, int bitsPerPixel, int, void*) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["PullFrame"];
    lastBitsPerPixel = bitsPerPixel;
    lastBuffer = buffer;
    if (pullAnswers.empty()) return defaultPull;
    int32_t answer = pullAnswers.front();
    pullAnswers.pop_front();
    return answer;
  }
  int32_t StartStreaming(void*, void*, void*, void*, SdkEventCallback onEvent, void*,
                         void* eventContext) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["StartStreaming"];
    callback = onEvent;
    context = eventContext;
    streaming = true;
    return 0;
  }
  int32_t StopStreaming(int) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["StopStreaming"];
    streaming = false;
    return 0;
  }
  int32_t PrepareSnap() override { return Note("PrepareSnap"); }
  int32_t TriggerFrames(unsigned short) override {
    Note("TriggerFrames");
    if (eventOnTrigger) Fire(4);  // the frame is ready before the capture waits
    return 0;
  }
  int32_t GetOutputSize(unsigned* width, unsigned* height) override {
    std::lock_guard<std::mutex> hold(mutex);
    *width = outputWidth;
    *height = outputHeight;
    return 0;
  }
  const SdkModel* GetModelRecord() override { return model; }
  int32_t GetExposureTime(unsigned* microseconds) override {
    std::lock_guard<std::mutex> hold(mutex);
    *microseconds = exposureUs;
    return 0;
  }
  int32_t SetExposureTime(unsigned microseconds) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls["SetExposureTime"];
    exposureUs = microseconds;
    return 0;
  }
  int32_t QueryCapability(const char* name) override {
    std::lock_guard<std::mutex> hold(mutex);
    auto found = capabilities.find(name);
    return found != capabilities.end() ? found->second : 0;
  }
  int32_t Close() override { return Note("Close"); }
  int32_t GetRawFormat(unsigned* fourCC, unsigned* bits) override {
    if (fourCC != nullptr) *fourCC = 0x47425247;  // "GRBG"
    if (bits != nullptr) *bits = rawBits;
    return 0;
  }
  int32_t GetResolutionRatio(unsigned, int* numerator, int* denominator) override {
    *numerator = 2;
    *denominator = 1;
    return 0;
  }

  // Everything else answers success and leaves its out values alone.
  int32_t SetResolutionIndex(unsigned index) override { return Note("SetResolutionIndex"); }
  int32_t GetResolutionIndex(unsigned* index) override { return Note("GetResolutionIndex"); }
  int32_t GetAutoExposure(int* enabled) override { return Note("GetAutoExposure"); }
  int32_t SetAutoExposure(int enabled) override { return Note("SetAutoExposure"); }
  int32_t GetAutoExposureTarget(unsigned short* target) override { return Note("GetAutoExposureTarget"); }
  int32_t SetAutoExposureTarget(unsigned short target) override { return Note("SetAutoExposureTarget"); }
  int32_t WhiteBalanceOnce(void* callback, void* context) override { return Note("WhiteBalanceOnce"); }
  int32_t SetWhiteBalanceGain(const int gains[3]) override { return Note("SetWhiteBalanceGain"); }
  int32_t GetWhiteBalanceGain(int gains[3]) override { return Note("GetWhiteBalanceGain"); }
  int32_t SetHue(int hue) override { return Note("SetHue"); }
  int32_t GetHue(int* hue) override { return Note("GetHue"); }
  int32_t SetSaturation(int saturation) override { return Note("SetSaturation"); }
  int32_t GetSaturation(int* saturation) override { return Note("GetSaturation"); }
  int32_t SetBrightness(int brightness) override { return Note("SetBrightness"); }
  int32_t GetBrightness(int* brightness) override { return Note("GetBrightness"); }
  int32_t GetGain(unsigned short* gain) override { return Note("GetGain"); }
  int32_t SetGain(unsigned short gain) override { return Note("SetGain"); }
  int32_t GetContrast(int* contrast) override { return Note("GetContrast"); }
  int32_t SetContrast(int contrast) override { return Note("SetContrast"); }
  int32_t GetGamma(int* gamma) override { return Note("GetGamma"); }
  int32_t SetGamma(int gamma) override { return Note("SetGamma"); }
  int32_t GetVerticalFlip(int* flip) override { return Note("GetVerticalFlip"); }
  int32_t SetVerticalFlip(int flip) override { return Note("SetVerticalFlip"); }
  int32_t GetHorizontalFlip(int* flip) override { return Note("GetHorizontalFlip"); }
  int32_t SetHorizontalFlip(int flip) override { return Note("SetHorizontalFlip"); }
  int32_t SetSpeed(unsigned short speed) override { return Note("SetSpeed"); }
  int32_t GetSpeed(unsigned short* speed) override { return Note("GetSpeed"); }
  int32_t SetPowerFrequency(int frequency) override { return Note("SetPowerFrequency"); }
  int32_t GetPowerFrequency(int* frequency) override { return Note("GetPowerFrequency"); }
  int32_t SetBinningMode(int mode) override { return Note("SetBinningMode"); }
  int32_t GetBinningMode(int* mode) override { return Note("GetBinningMode"); }
  int32_t GetExposureRange(unsigned* min, unsigned* max, unsigned* def) override { return Note("GetExposureRange"); }
  int32_t GetGainRange(unsigned short* min, unsigned short* max, unsigned short* def) override { return Note("GetGainRange"); }
  int32_t SetAutoExposureLimits(unsigned maxTime, unsigned short maxGain) override { return Note("SetAutoExposureLimits"); }
  int32_t GetRealExposureTime(unsigned* microseconds) override { return Note("GetRealExposureTime"); }
  int32_t GetTemperature(short* tenths) override { return Note("GetTemperature"); }
  int32_t SetSensorRegion(unsigned x, unsigned y, unsigned width, unsigned height) override { return Note("SetSensorRegion"); }
  int32_t GetSensorRegion(unsigned* x, unsigned* y, unsigned* width, unsigned* height) override { return Note("GetSensorRegion"); }
  int32_t GetFanSpeed(unsigned short* speed) override { return Note("GetFanSpeed"); }
  int32_t SetFanSpeed(unsigned short speed) override { return Note("SetFanSpeed"); }
  int32_t GetTecTarget(int* tenths) override { return Note("GetTecTarget"); }
  int32_t SetTecTarget(int tenths) override { return Note("SetTecTarget"); }
  int32_t SetDeviceMode(int mode) override { return Note("SetDeviceMode"); }
  int32_t SetNegative(int negative) override { return Note("SetNegative"); }
  int32_t GetNegative(int* negative) override { return Note("GetNegative"); }
  int32_t GetAutoExposureLimits(unsigned* maxTime, unsigned short* maxGain) override { return Note("GetAutoExposureLimits"); }
  int32_t SetNamedValue(const char* name, int value) override { return Note("SetNamedValue"); }
  int32_t GetNamedValueText(const char* name, char text[128]) override { return Note("GetNamedValueText"); }
  int32_t ListNamedValues(const char* name, int* count, int reserved, const char* names[128]) override { return Note("ListNamedValues"); }
  int32_t GetFrameStatistics(unsigned* frames, unsigned* milliseconds, unsigned* total, void* reserved1, void* reserved2) override { return Note("GetFrameStatistics"); }
  int32_t GetParameter(const char* name, int* value) override { return Note("GetParameter"); }
  int32_t SetParameter(const char* name, int value) override { return Note("SetParameter"); }

  // Delivers an SDK event through the installed callback.
  void Fire(unsigned event) {
    SdkEventCallback cb;
    void* ctx;
    {
      std::lock_guard<std::mutex> hold(mutex);
      cb = callback;
      ctx = context;
    }
    if (cb != nullptr) cb(event, ctx);
  }
  int Calls(const std::string& name) {
    std::lock_guard<std::mutex> hold(mutex);
    return calls[name];
  }
  void* Context() {
    std::lock_guard<std::mutex> hold(mutex);
    return context;
  }
  int Option(unsigned option) {
    std::lock_guard<std::mutex> hold(mutex);
    return options[option];
  }

  const SdkModel* const model;
  std::mutex mutex;
  std::map<unsigned, int> options;
  std::map<unsigned, int> io;
  std::map<std::string, int> capabilities;
  std::map<std::string, int> calls;
  std::deque<int32_t> pullAnswers;
  int32_t defaultPull = 0;
  int lastBitsPerPixel = 0;
  void* lastBuffer = nullptr;
  SdkEventCallback callback = nullptr;
  void* context = nullptr;
  bool streaming = false;
  std::atomic<bool> eventOnTrigger{false};
  unsigned outputWidth = 64, outputHeight = 32;
  unsigned exposureUs = 10000;
  unsigned rawBits = 12;

 private:
  int32_t Note(const char* name, int32_t answer = 0) {
    std::lock_guard<std::mutex> hold(mutex);
    ++calls[name];
    return answer;
  }
};
