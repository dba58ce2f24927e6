// A Camera linked directly against the camera library, initialised on a
// RecordingSdkCamera installed as the bound SDK (SetSdkLibraryForTesting),
// with a host core that records property notifications and exposure
// announcements. Each test gets a fresh camera id, so the module-wide open
// camera table never hands one test's SDK camera to another.
//
// Drive the camera as the host does: Write(name, text), Read(name), Snap().
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "module/sdk_library.h"
#include "tests/controls/recording_sdk_camera.h"

class NotingHost : public HostCore {
 public:
  int LogMessage(const MM::Device*, const char* text, bool) override {
    std::lock_guard<std::mutex> hold(mutex);
    logs.emplace_back(text);
    return 0;
  }
  int OnPropertyChanged(const MM::Device*, const char* name, const char* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    changes.push_back(std::string(name) + "=" + value);
    return 0;
  }
  int OnExposureChanged(const MM::Device*, double) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++exposureAnnouncements;
    return 0;
  }
  int AcquisitionFinished(const MM::Device*, int) override { return 0; }
  int PrepareForAcquisition(const MM::Device*) override { return 0; }
  int PushImage(const MM::Device*, const unsigned char*, unsigned, unsigned, unsigned,
                const char*, bool) override {
    return 0;
  }
  int ClearImageQueue(const MM::Device*) override { return 0; }

  // Notifications of properties whose name starts with prefix, in order.
  std::vector<std::string> Changes(const std::string& prefix = "") {
    std::lock_guard<std::mutex> hold(mutex);
    std::vector<std::string> picked;
    for (const std::string& c : changes) {
      if (c.rfind(prefix, 0) == 0) picked.push_back(c);
    }
    return picked;
  }
  int ExposureAnnouncements() {
    std::lock_guard<std::mutex> hold(mutex);
    return exposureAnnouncements;
  }
  void Clear() {
    std::lock_guard<std::mutex> hold(mutex);
    changes.clear();
    logs.clear();
    exposureAnnouncements = 0;
  }

 private:
  std::mutex mutex;
  std::vector<std::string> logs, changes;
  int exposureAnnouncements = 0;
};

inline uint64_t Bit(unsigned bit) { return uint64_t{1} << bit; }

// The one SDK camera of the test, reached from the entry points.
struct TestSdk {
  SdkModel model{};
  std::string id;
  std::unique_ptr<RecordingSdkCamera> camera;
  std::function<void(RecordingSdkCamera::State&)> prepare;
  static TestSdk*& Current() {
    static TestSdk* current = nullptr;
    return current;
  }
  static unsigned Enumerate(SdkDeviceEntry entries[MaxCameras]) {
    std::memset(&entries[0], 0, sizeof entries[0]);
    std::strncpy(entries[0].displayName, "Cam", 63);
    std::strncpy(entries[0].id, Current()->id.c_str(), 63);
    entries[0].model = &Current()->model;
    return 1;
  }
  static SdkCamera* Open(const char*) {
    TestSdk& sdk = *Current();
    sdk.camera = std::make_unique<RecordingSdkCamera>(&sdk.model);
    sdk.camera->With([&](RecordingSdkCamera::State& s) {
      if (sdk.prepare) sdk.prepare(s);
      return 0;
    });
    sdk.camera->SaveFactoryState();
    return sdk.camera.get();
  }
  static void* Lookup(const char* name) {
    return std::strcmp(name, "DllOpen") == 0 ? reinterpret_cast<void*>(&TestSdk::Open) : nullptr;
  }
};

// A colour CMOS model with two resolutions, I/O lines and the common
// optional features; tests change bits and SDK values before Start().
inline SdkModel DefaultModel() {
  SdkModel model{};
  model.modelName = "Test C1";
  model.capabilities = Bit(SdkCapability::Cmos) | Bit(SdkCapability::ConversionGain) |
                       Bit(SdkCapability::TemperatureSensor) | Bit(SdkCapability::Fan) |
                       Bit(SdkCapability::Cooler) | Bit(SdkCapability::Heater) |
                       Bit(SdkCapability::LowNoise) | Bit(SdkCapability::FrameRateControl);
  model.maxSpeed = 3;
  model.maxFanSpeed = 3;
  model.ioLineCount = 4;
  model.pixelSize = 2.4f;
  model.resolutionCount = 2;
  model.resolutions[0] = {1920, 1080};
  model.resolutions[1] = {960, 540};
  return model;
}

// The SDK values that make the gated properties exist.
inline void DefaultSdkValues(RecordingSdkCamera::State& s) {
  s.options = {{8, 0},   {10, 0},  {16, 1},   {23, 1},   {24, 0},  {25, 0},  {26, 0},
               {30, 0},  {32, 30}, {33, 120}, {44, 300}, {45, 250}, {46, 100}, {53, 0},
               {54, 3},  {55, 0},  {56, 0},   {58, 0},   {74, 0},  {75, 0},  {86, (90 << 16) | 90},
               {87, 0},  {88, 0},  {102, 0},  {105, 0},  {108, 0}, {110, 0}, {118, 0},
               {127, 0}, {128, 100 << 16},    {139, 0},  {140, 10}};
  s.named = {{"GainMode", 0}, {"FFCStatus", 0}, {"DFCStatus", 0}, {"FPNCStatus", 0},
             {"FFCEnable", 0}, {"DFCEnable", 0}, {"FPNCEnable", 0}};
  s.parameters = {{"AwbInterval", 1000}, {"AwbOff", 0}};
  s.capabilities = {{"issupportgain", 1}, {"supportbandwidth", 1}, {"maxCDS", 3}};
  for (unsigned line = 0; line < 4; ++line) s.io[{line, 1}] = 3;  // both directions
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    sdk.id = "controls-" + std::to_string(++serial);
    sdk.model = DefaultModel();
    sdk.prepare = DefaultSdkValues;
    TestSdk::Current() = &sdk;
    SdkLibrary library;
    library.handle = this;
    library.enumCamera = &TestSdk::Enumerate;
    library.adapterName = "Quorvex";
    library.vendorName = "Quorvex Imaging";
    library.sdkVersion = "1.0";
    SetSdkLibraryForTesting(library, &TestSdk::Lookup);
  }
  void TearDown() override {
    if (camera) {
      camera->Shutdown();
      camera.reset();
    }
    TestSdk::Current() = nullptr;
  }

  // Initialises the camera; extra runs after the default SDK values.
  void Start(std::function<void(RecordingSdkCamera::State&)> extra = nullptr) {
    if (extra) {
      sdk.prepare = [extra](RecordingSdkCamera::State& s) {
        DefaultSdkValues(s);
        extra(s);
      };
    }
    camera = std::make_unique<Camera>("Cam");
    camera->SetCallback(&host);
    ASSERT_EQ(camera->Initialize(), 0);
    Sdk().ClearLog();
    host.Clear();
  }
  RecordingSdkCamera& Sdk() { return *sdk.camera; }
  template <class F>
  auto State(F f) {
    return Sdk().With(f);
  }
  int Option(unsigned option) {
    return State([option](RecordingSdkCamera::State& s) { return s.options[option]; });
  }
  void SetOption(unsigned option, int value) {
    State([=](RecordingSdkCamera::State& s) { return s.options[option] = value; });
  }

  int Write(const char* name, const std::string& value) {
    return camera->WriteProperty(name, value.c_str());
  }
  std::string Read(const char* name) {
    char buffer[HostStringLimit] = {};
    EXPECT_EQ(camera->ReadProperty(name, buffer), 0) << name;
    return buffer;
  }
  bool Exists(const char* name) { return camera->PropertyExists(name); }

  // Takes one image and reports its shape as "width x height x bytes".
  std::string Snap() {
    EXPECT_EQ(camera->CaptureImage(), 0);
    return std::to_string(camera->ImageWidth()) + " x " + std::to_string(camera->ImageHeight()) +
           " x " + std::to_string(camera->ImageBytesPerPixel());
  }
  // Runs a continuous sequence (frames never come, so it stays waiting)
  // around body.
  void WhileSequenceRuns(const std::function<void()>& body) {
    ASSERT_EQ(camera->StartContinuousSequence(0.0), 0);
    ASSERT_TRUE(camera->IsSequenceRunning());
    body();
    camera->StopSequence();
  }

  TestSdk sdk;
  NotingHost host;
  std::unique_ptr<Camera> camera;
};

using Lines = std::vector<std::string>;
