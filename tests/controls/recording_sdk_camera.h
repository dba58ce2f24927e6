// An SdkCamera that behaves like a small camera and records every call as a
// text line ("PutOption(23,130)"), for the feature-handler tests.
//
// What it keeps: options, named values, parameters, per-line I/O values
// (a write request w updates what read request w - 1 returns), exposure,
// gain, auto exposure, white-balance gains, colour settings, flips, the
// resolution index and the sensor region. Its frames follow the geometry:
// the region (or the resolution entry), divided by the bin factor of option
// 23, turned by option 24; PullFrame writes exactly that many pixels at the
// requested bits per pixel, so a frame buffer that is too small shows up
// under AddressSanitizer. TriggerFrames makes frames ready and raises event
// 4 on the caller's thread; without a ready frame PullFrame is pending.
// Writing option 31 with 0 restores the state saved by SaveFactoryState.
// Entering or leaving gain mode 3 (HDR) switches the offered pixel formats.
// A missing option, named value or parameter answers -1 (the camera then
// keeps its pre-set).
//
// Thread safety: one mutex guards all state; the callback is called with it
// released (the camera calls back in).
#pragma once

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "camera/pixel_format.h"
#include "module/sdk_camera.h"

class RecordingSdkCamera final : public SdkCamera {
 public:
  explicit RecordingSdkCamera(const SdkModel* model) : model(model) {}

  // ---- what a test sets up or inspects (all under the lock) ----
  struct State {
    std::map<unsigned, int> options;
    std::map<std::string, int> named;
    std::map<std::string, int> parameters;
    std::map<std::pair<unsigned, unsigned>, int> io;  // (line, read request) -> value
    std::set<unsigned> failingIoReads;                // read requests that answer -1
    std::map<std::string, int> capabilities;          // QueryCapability answers
    unsigned exposureUs = 10000, exposureMin = 100, exposureMax = 1000000;
    unsigned short gain = 100, gainMin = 100, gainMax = 1000;
    int autoExposure = 1;
    unsigned short aeTarget = 120;
    unsigned aeMaxTime = 350;
    unsigned short aeMaxGain = 500;
    std::array<int, 3> whiteBalance{0, 0, 0};
    int hue = 0, saturation = 128, brightness = 0, contrast = 0, gamma = 100;
    int vflip = 0, hflip = 0, negative = 0;
    unsigned short speed = 0, fanSpeed = 0;
    int powerFrequency = 0, binningMode = 0, tecTarget = 100;
    short temperature = 0;
    int32_t temperatureStatus = 0;
    unsigned resolutionIndex = 0;
    std::array<unsigned, 4> region{0, 0, 0, 0};
    std::vector<std::string> pixelFormats{"RAW8", "RAW12"};
    std::vector<std::string> hdrPixelFormats{"RAW8", "HDR12HL"};
    int listCount = -1;  // >= 0: the count ListNamedValues reports instead
    unsigned frameStats[3] = {0, 0, 0};
  };

  template <class F>
  auto With(F f) {
    std::lock_guard<std::mutex> hold(mutex);
    return f(state);
  }
  void SaveFactoryState() {
    std::lock_guard<std::mutex> hold(mutex);
    factory = state;
  }
  std::vector<std::string> Log() {
    std::lock_guard<std::mutex> hold(mutex);
    return log;
  }
  void ClearLog() {
    std::lock_guard<std::mutex> hold(mutex);
    log.clear();
  }
  // The calls that change something: no reads, no queries, no frame traffic.
  std::vector<std::string> Writes() {
    std::vector<std::string> writes;
    for (const std::string& line : Log()) {
      if (line.rfind("Get", 0) == 0 || line.rfind("Query", 0) == 0 ||
          line.rfind("List", 0) == 0 || line.rfind("PullFrame", 0) == 0) {
        continue;
      }
      writes.push_back(line);
    }
    return writes;
  }
  int Count(const std::string& prefix) {
    int n = 0;
    for (const std::string& line : Log()) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }
  // Raises an SDK event through the installed callback, as the SDK would.
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
  // Width, height of the frames the camera now delivers.
  std::pair<unsigned, unsigned> OutputSize() {
    std::lock_guard<std::mutex> hold(mutex);
    return OutputSizeLocked();
  }

  // ---- SdkCamera ----
  int32_t QueryInterface(const SdkGuid*, void** object) override {
    { std::lock_guard<std::mutex> hold(mutex); log.push_back("QueryInterface()"); }
    *object = nullptr;
    return -1;
  }
  uint32_t AddRef() override { return 1; }
  uint32_t Release() override { return 1; }
  int32_t SetResolutionIndex(unsigned index) override {
    return Put("SetResolutionIndex", index, [&] { state.resolutionIndex = index; });
  }
  int32_t GetResolutionIndex(unsigned* index) override {
    return Read("GetResolutionIndex()", [&] { *index = state.resolutionIndex; });
  }
  int32_t GetAutoExposure(int* v) override { return Read("GetAutoExposure()", [&] { *v = state.autoExposure; }); }
  int32_t SetAutoExposure(int v) override { return Put("SetAutoExposure", v, [&] { state.autoExposure = v; }); }
  int32_t GetAutoExposureTarget(unsigned short* v) override {
    return Read("GetAutoExposureTarget()", [&] { *v = state.aeTarget; });
  }
  int32_t SetAutoExposureTarget(unsigned short v) override {
    return Put("SetAutoExposureTarget", v, [&] { state.aeTarget = v; });
  }
  int32_t WhiteBalanceOnce(void* cb, void* ctx) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(std::string("WhiteBalanceOnce(") + (cb ? "cb" : "null") + "," +
                  (ctx ? "ctx" : "null") + ")");
    return 0;
  }
  int32_t SetWhiteBalanceGain(const int g[3]) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("SetWhiteBalanceGain", g[0], g[1], g[2]));
    state.whiteBalance = {g[0], g[1], g[2]};
    return 0;
  }
  int32_t GetWhiteBalanceGain(int g[3]) override {
    return Read("GetWhiteBalanceGain()", [&] {
      for (int i = 0; i < 3; ++i) g[i] = state.whiteBalance[static_cast<size_t>(i)];
    });
  }
  int32_t SetHue(int v) override { return Put("SetHue", v, [&] { state.hue = v; }); }
  int32_t GetHue(int* v) override { return Read("GetHue()", [&] { *v = state.hue; }); }
  int32_t SetSaturation(int v) override { return Put("SetSaturation", v, [&] { state.saturation = v; }); }
  int32_t GetSaturation(int* v) override { return Read("GetSaturation()", [&] { *v = state.saturation; }); }
  int32_t SetBrightness(int v) override { return Put("SetBrightness", v, [&] { state.brightness = v; }); }
  int32_t GetBrightness(int* v) override { return Read("GetBrightness()", [&] { *v = state.brightness; }); }
  int32_t GetExposureTime(unsigned* v) override { return Read("GetExposureTime()", [&] { *v = state.exposureUs; }); }
  int32_t SetExposureTime(unsigned v) override { return Put("SetExposureTime", v, [&] { state.exposureUs = v; }); }
  int32_t GetGain(unsigned short* v) override { return Read("GetGain()", [&] { *v = state.gain; }); }
  int32_t SetGain(unsigned short v) override { return Put("SetGain", v, [&] { state.gain = v; }); }
  int32_t GetContrast(int* v) override { return Read("GetContrast()", [&] { *v = state.contrast; }); }
  int32_t SetContrast(int v) override { return Put("SetContrast", v, [&] { state.contrast = v; }); }
  int32_t GetGamma(int* v) override { return Read("GetGamma()", [&] { *v = state.gamma; }); }
  int32_t SetGamma(int v) override { return Put("SetGamma", v, [&] { state.gamma = v; }); }
  int32_t GetVerticalFlip(int* v) override { return Read("GetVerticalFlip()", [&] { *v = state.vflip; }); }
  int32_t SetVerticalFlip(int v) override { return Put("SetVerticalFlip", v, [&] { state.vflip = v; }); }
  int32_t GetHorizontalFlip(int* v) override { return Read("GetHorizontalFlip()", [&] { *v = state.hflip; }); }
  int32_t SetHorizontalFlip(int v) override { return Put("SetHorizontalFlip", v, [&] { state.hflip = v; }); }
  int32_t SetSpeed(unsigned short v) override { return Put("SetSpeed", v, [&] { state.speed = v; }); }
  int32_t GetSpeed(unsigned short* v) override { return Read("GetSpeed()", [&] { *v = state.speed; }); }
  int32_t SetPowerFrequency(int v) override { return Put("SetPowerFrequency", v, [&] { state.powerFrequency = v; }); }
  int32_t GetPowerFrequency(int* v) override { return Read("GetPowerFrequency()", [&] { *v = state.powerFrequency; }); }
  int32_t SetBinningMode(int v) override { return Put("SetBinningMode", v, [&] { state.binningMode = v; }); }
  int32_t GetBinningMode(int* v) override { return Read("GetBinningMode()", [&] { *v = state.binningMode; }); }
  int32_t GetExposureRange(unsigned* lo, unsigned* hi, unsigned* def) override {
    return Read("GetExposureRange()", [&] {
      *lo = state.exposureMin;
      *hi = state.exposureMax;
      *def = state.exposureMin;
    });
  }
  int32_t GetGainRange(unsigned short* lo, unsigned short* hi, unsigned short* def) override {
    return Read("GetGainRange()", [&] {
      *lo = state.gainMin;
      *hi = state.gainMax;
      *def = state.gainMin;
    });
  }
  int32_t SetAutoExposureLimits(unsigned time, unsigned short gain) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("SetAutoExposureLimits", time, gain));
    state.aeMaxTime = time;
    state.aeMaxGain = gain;
    return 0;
  }
  int32_t GetRealExposureTime(unsigned* v) override {
    return Read("GetRealExposureTime()", [&] { *v = state.exposureUs; });
  }
  int32_t GetTemperature(short* tenths) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back("GetTemperature()");
    if (state.temperatureStatus >= 0) *tenths = state.temperature;
    return state.temperatureStatus;
  }
  int32_t SetSensorRegion(unsigned x, unsigned y, unsigned w, unsigned h) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("SetSensorRegion", x, y, w, h));
    state.region = {x, y, w, h};
    return 0;
  }
  int32_t GetSensorRegion(unsigned* x, unsigned* y, unsigned* w, unsigned* h) override {
    return Read("GetSensorRegion()", [&] {
      *x = state.region[0];
      *y = state.region[1];
      *w = state.region[2];
      *h = state.region[3];
    });
  }
  int32_t GetFanSpeed(unsigned short* v) override { return Read("GetFanSpeed()", [&] { *v = state.fanSpeed; }); }
  int32_t SetFanSpeed(unsigned short v) override { return Put("SetFanSpeed", v, [&] { state.fanSpeed = v; }); }
  int32_t GetResolutionRatio(unsigned, int* n, int* d) override {
    return Read("GetResolutionRatio()", [&] {
      *n = 1;
      *d = 1;
    });
  }
  int32_t GetTecTarget(int* v) override { return Read("GetTecTarget()", [&] { *v = state.tecTarget; }); }
  int32_t SetTecTarget(int v) override { return Put("SetTecTarget", v, [&] { state.tecTarget = v; }); }
  int32_t PutOption(unsigned option, int value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("PutOption", option, value));
    if (option == 31 && value == 0) {
      state = factory;
    } else {
      state.options[option] = value;
    }
    if (option == 26 || option == 31) announcedFormat.clear();
    return 0;
  }
  int32_t GetOption(unsigned option, int* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("GetOption", option));
    auto found = state.options.find(option);
    if (found == state.options.end()) return -1;
    *value = found->second;
    return 0;
  }
  int32_t IoControl(unsigned line, unsigned request, int input, int* output) override {
    std::lock_guard<std::mutex> hold(mutex);
    if (output == nullptr) {
      log.push_back(Text("IoControl", line, request, input));
      state.io[{line, request - 1}] = input;
      return 0;
    }
    log.push_back(Text("GetIo", line, request));  // a read: filtered out of Writes()
    if (state.failingIoReads.count(request) != 0) return -1;
    *output = state.io[{line, request}];
    return 0;
  }
  int32_t SetDeviceMode(int mode) override { return Put("SetDeviceMode", mode, [] {}); }
  int32_t PrepareSnap() override { return Put("PrepareSnap", "", [] {}); }
  int32_t SetNegative(int v) override { return Put("SetNegative", v, [&] { state.negative = v; }); }
  int32_t GetNegative(int* v) override { return Read("GetNegative()", [&] { *v = state.negative; }); }
  int32_t GetAutoExposureLimits(unsigned* time, unsigned short* gain) override {
    return Read("GetAutoExposureLimits()", [&] {
      if (time != nullptr) *time = state.aeMaxTime;
      if (gain != nullptr) *gain = state.aeMaxGain;
    });
  }
  int32_t GetOutputSize(unsigned* w, unsigned* h) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back("GetOutputSize()");
    std::tie(*w, *h) = OutputSizeLocked();
    return 0;
  }
  int32_t GetRawFormat(unsigned* fourCC, unsigned* bits) override {
    return Read("GetRawFormat()", [&] {
      if (fourCC != nullptr) *fourCC = 0x59595959;  // "YYYY"
      if (bits != nullptr) *bits = PixelFormatAt(Option(26)).depth;
    });
  }
  int32_t TriggerFrames(unsigned short count) override {
    {
      std::lock_guard<std::mutex> hold(mutex);
      log.push_back(Text("TriggerFrames", count));
      readyFrames += count;
    }
    Fire(4);
    return 0;
  }
  int32_t SetNamedValue(const char* name, int value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("SetNamedValue", name, value));
    state.named[name] = value;
    if (std::strcmp(name, "GainMode") == 0) FollowGainMode();
    return 0;
  }
  int32_t GetNamedValue(const char* name, int* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("GetNamedValue", name));
    auto found = state.named.find(name);
    if (found == state.named.end()) return -1;
    *value = found->second;
    return 0;
  }
  int32_t GetNamedValueText(const char* name, char text[128]) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("GetNamedValueText", name));
    if (std::strcmp(name, "PixelFormat") != 0) return -1;
    const std::string current =
        announcedFormat.empty() ? PixelFormatAt(Option(26)).name : announcedFormat;
    std::strncpy(text, current.c_str(), 127);
    return 0;
  }
  int32_t ListNamedValues(const char* name, int* count, int, const char* names[128]) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("ListNamedValues", name));
    if (std::strcmp(name, "PixelFormat") != 0) return -1;
    listed = InHdr() ? state.hdrPixelFormats : state.pixelFormats;
    size_t filled = listed.size() < 128 ? listed.size() : 128;
    for (size_t i = 0; i < filled; ++i) names[i] = listed[i].c_str();
    *count = state.listCount >= 0 ? state.listCount : static_cast<int>(filled);
    return 0;
  }
  int32_t StartStreaming(void*, void*, void*, void*, SdkEventCallback onEvent, void*,
                         void* eventContext) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back("StartStreaming()");
    callback = onEvent;
    context = eventContext;
    return 0;
  }
  int32_t StopStreaming(int flags) override { return Put("StopStreaming", flags, [] {}); }
  int32_t Close() override { return Put("Close", "", [] {}); }
  int32_t GetFrameStatistics(unsigned* frames, unsigned* ms, unsigned* total, void*,
                             void*) override {
    return Read("GetFrameStatistics()", [&] {
      *frames = state.frameStats[0];
      *ms = state.frameStats[1];
      *total = state.frameStats[2];
    });
  }
  const SdkModel* GetModelRecord() override { return model; }
  int32_t PullFrame(int, void* buffer, int bitsPerPixel, int, void*) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("PullFrame", bitsPerPixel));
    if (readyFrames == 0) return SdkPullPending;
    --readyFrames;
    const auto size = OutputSizeLocked();
    std::memset(buffer, 0x5a, size_t{size.first} * size.second * (bitsPerPixel / 8));
    return 0;
  }
  int32_t QueryCapability(const char* name) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("QueryCapability", name));
    auto found = state.capabilities.find(name);
    return found == state.capabilities.end() ? 0 : found->second;
  }
  int32_t GetParameter(const char* name, int* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("GetParameter", name));
    auto found = state.parameters.find(name);
    if (found == state.parameters.end()) return -1;
    *value = found->second;
    return 0;
  }
  int32_t SetParameter(const char* name, int value) override {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(Text("SetParameter", name, value));
    state.parameters[name] = value;
    return 0;
  }

 private:
  static void Append(std::ostringstream&) {}
  template <class T, class... Rest>
  static void Append(std::ostringstream& out, const T& first, const Rest&... rest) {
    out << first;
    if (sizeof...(rest) > 0) out << ",";
    Append(out, rest...);
  }
  template <class... Args>
  static std::string Text(const char* op, const Args&... args) {
    std::ostringstream out;
    out << op << "(";
    Append(out, args...);
    out << ")";
    return out.str();
  }
  template <class F>
  int32_t Read(const char* line, F f) {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(line);
    f();
    return 0;
  }
  template <class V, class F>
  int32_t Put(const char* op, const V& value, F f) {
    std::lock_guard<std::mutex> hold(mutex);
    log.push_back(std::string(op) + "(" + ToText(value) + ")");
    f();
    return 0;
  }
  template <class V>
  static std::string ToText(const V& value) {
    std::ostringstream out;
    out << value;
    return out.str();
  }
  int Option(unsigned option) const {
    auto found = state.options.find(option);
    return found == state.options.end() ? 0 : found->second;
  }
  bool InHdr() const {
    auto found = state.named.find("GainMode");
    return found != state.named.end() && found->second == 3;
  }
  // Entering or leaving HDR: when the current format is not offered in the
  // new mode, the SDK names the last offered one as its current format
  // (GetNamedValueText) until option 26 is written.
  void FollowGainMode() {
    const std::vector<std::string>& offered = InHdr() ? state.hdrPixelFormats : state.pixelFormats;
    const std::string current = PixelFormatAt(Option(26)).name;
    for (const std::string& name : offered) {
      if (name == current) return;
    }
    if (!offered.empty()) announcedFormat = offered.back();
  }
  std::pair<unsigned, unsigned> OutputSizeLocked() const {
    unsigned w = 0, h = 0;
    if (state.region[2] != 0 && state.region[3] != 0) {
      w = state.region[2];
      h = state.region[3];
    } else if (model != nullptr && state.resolutionIndex < model->resolutionCount) {
      w = model->resolutions[state.resolutionIndex].width;
      h = model->resolutions[state.resolutionIndex].height;
    }
    unsigned bin = static_cast<unsigned>(Option(23)) & 0xF;
    if (bin == 0) bin = 1;
    w /= bin;
    h /= bin;
    const int rotation = Option(24);
    if (rotation == 90 || rotation == 270) std::swap(w, h);
    return {w, h};
  }

  const SdkModel* const model;
  std::mutex mutex;
  State state;
  State factory;
  std::vector<std::string> log;
  std::vector<std::string> listed;  // the texts ListNamedValues handed out
  std::string announcedFormat;      // see FollowGainMode
  unsigned readyFrames = 0;
  SdkEventCallback callback = nullptr;
  void* context = nullptr;
};
