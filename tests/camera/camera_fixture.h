// A Camera linked directly against the camera library, on a FakeSdkCamera
// installed as the bound SDK (SetSdkLibraryForTesting), with a recording
// host core. Each test gets a fresh camera id, so the module-wide open camera
// table never hands one test's SDK camera to another.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "module/sdk_library.h"
#include "tests/camera/fake_sdk_camera.h"

class CameraHost : public HostCore {
 public:
  int LogMessage(const MM::Device*, const char* text, bool) override {
    std::lock_guard<std::mutex> hold(mutex);
    logs.emplace_back(text);
    return 0;
  }
  int OnPropertyChanged(const MM::Device*, const char* name, const char*) override {
    std::lock_guard<std::mutex> hold(mutex);
    changed.emplace_back(name);
    return 0;
  }
  int OnExposureChanged(const MM::Device*, double) override { return 0; }
  int AcquisitionFinished(const MM::Device*, int status) override {
    std::lock_guard<std::mutex> hold(mutex);
    finished.push_back(status);
    return 0;
  }
  int PrepareForAcquisition(const MM::Device*) override { return 0; }
  int PushImage(const MM::Device*, const unsigned char*, unsigned, unsigned, unsigned,
                const char* metadata, bool) override {
    std::lock_guard<std::mutex> hold(mutex);
    pushed.emplace_back(metadata);
    if (pushAnswers.empty()) return 0;
    int answer = pushAnswers.front();
    pushAnswers.erase(pushAnswers.begin());
    return answer;
  }
  int ClearImageQueue(const MM::Device*) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++clears;
    return 0;
  }
  template <class T>
  T Copy(const T& field) {
    std::lock_guard<std::mutex> hold(mutex);
    return field;
  }

  std::mutex mutex;
  std::vector<std::string> logs, changed, pushed;
  std::vector<int> finished, pushAnswers;
  int clears = 0;
};

// The SDK the fixture pretends to be: one enumerated camera of `model`.
struct FakeSdk {
  SdkModel model{};
  std::string displayName = "Cam A";
  std::string id;
  unsigned count = 1;
  bool exportsOpen = true;
  std::vector<std::unique_ptr<FakeSdkCamera>> opened;
  std::vector<std::string> openTexts;
  std::function<void(FakeSdkCamera&)> prepare;  // runs on each newly opened camera

  static FakeSdk*& Current() {
    static FakeSdk* current = nullptr;
    return current;
  }
  static unsigned Enumerate(SdkDeviceEntry entries[MaxCameras]) {
    FakeSdk& sdk = *Current();
    if (sdk.count == 0) return 0;
    std::memset(&entries[0], 0, sizeof entries[0]);
    std::strncpy(entries[0].displayName, sdk.displayName.c_str(), 63);
    std::strncpy(entries[0].id, sdk.id.c_str(), 63);
    entries[0].model = &sdk.model;
    return 1;
  }
  static SdkCamera* Open(const char* text) {
    FakeSdk& sdk = *Current();
    sdk.openTexts.emplace_back(text);
    sdk.opened.push_back(std::make_unique<FakeSdkCamera>(&sdk.model));
    if (sdk.prepare) sdk.prepare(*sdk.opened.back());
    return sdk.opened.back().get();
  }
  static void* Lookup(const char* name) {
    if (std::strcmp(name, "DllOpen") == 0 && Current()->exportsOpen) {
      return reinterpret_cast<void*>(&FakeSdk::Open);
    }
    return nullptr;
  }
};

inline SdkModel MakeModel(uint64_t capabilities, uint32_t ioLines = 0) {
  SdkModel model{};
  model.modelName = "Fake M1";
  model.capabilities = capabilities;
  model.maxSpeed = 2;
  model.maxFanSpeed = 3;
  model.ioLineCount = ioLines;
  model.pixelSize = 2.5f;
  model.resolutionCount = 2;
  model.resolutions[0] = {64, 32};
  model.resolutions[1] = {32, 16};
  return model;
}

inline uint64_t Bit(unsigned bit) { return uint64_t{1} << bit; }

class CameraFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    sdk.id = "fake-" + std::to_string(++serial);
    sdk.model = MakeModel(Bit(SdkCapability::Monochrome) | Bit(SdkCapability::Cmos));
    FakeSdk::Current() = &sdk;
    SdkLibrary library;
    library.handle = this;
    library.enumCamera = &FakeSdk::Enumerate;
    library.adapterName = "Quorvex";
    library.vendorName = "Quorvex Imaging";
    library.sdkVersion = "1.0";
    SetSdkLibraryForTesting(library, &FakeSdk::Lookup);
  }
  void TearDown() override {
    cameras.clear();  // destroyed before the fake SDK cameras they use
    FakeSdk::Current() = nullptr;
  }

  Camera& NewCamera(const char* name = "Cam A") {
    cameras.push_back(std::make_unique<Camera>(name));
    cameras.back()->SetCallback(&host);
    return *cameras.back();
  }
  FakeSdkCamera& Sdk(size_t index = 0) { return *sdk.opened.at(index); }

  FakeSdk sdk;
  CameraHost host;
  std::vector<std::unique_ptr<Camera>> cameras;
};
