// The camera as the host drives it: the built module loaded with the host's
// loader, the simulated SDK next to it. Every case runs in its own process
// (one CTest entry per case), because the module pins itself and keeps its
// SDK binding for the life of the process.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "host/module_loader.h"
#include "module/host_core.h"
#include "module/mm_device.h"

namespace {

class Host : public HostCore {
 public:
  int LogMessage(const MM::Device*, const char*, bool) override { return 0; }
  int OnPropertyChanged(const MM::Device*, const char*, const char*) override { return 0; }
  int OnExposureChanged(const MM::Device*, double) override { return 0; }
  int AcquisitionFinished(const MM::Device*, int) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++finished;
    return 0;
  }
  int PrepareForAcquisition(const MM::Device*) override { return 0; }
  int PushImage(const MM::Device*, const unsigned char*, unsigned, unsigned, unsigned,
                const char*, bool) override {
    std::lock_guard<std::mutex> hold(mutex);
    ++pushed;
    return 0;
  }
  int ClearImageQueue(const MM::Device*) override { return 0; }
  int Pushed() {
    std::lock_guard<std::mutex> hold(mutex);
    return pushed;
  }
  std::mutex mutex;
  int pushed = 0, finished = 0;
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    loader = qv::host::ModuleLoader::Open(
        qv::host::ModulePathIn(qv::host::BuiltAdapterDir()), &error);
    ASSERT_NE(loader, nullptr) << error;
    devices = loader->ListDevices();
    ASSERT_FALSE(devices.empty());
    sim = dlopen((qv::host::BuiltAdapterDir() + "/libQuorvex.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(sim, nullptr) << "the module should have loaded the simulated SDK";
  }
  MM::Camera* Create(const std::string& name) {
    auto* camera = static_cast<MM::Camera*>(loader->exports().createDevice(name.c_str()));
    camera->SetCallback(&host);
    return camera;
  }
  template <class F>
  F Sim(const char* name) {
    return reinterpret_cast<F>(dlsym(sim, name));
  }

  std::unique_ptr<qv::host::ModuleLoader> loader;
  std::vector<qv::host::OfferedDevice> devices;
  void* sim = nullptr;
  Host host;
};

TEST_F(ModuleTest, TwoDevicesShareOneOpenCameraAndTheOpenTextNamesTheSettingsFile) {
  MM::Camera* first = Create(devices[0].name);
  MM::Camera* second = Create(devices[0].name);
  ASSERT_EQ(first->Initialize(), 0);
  ASSERT_EQ(second->Initialize(), 0);
  EXPECT_EQ(Sim<int (*)()>("QvSimOpenCount")(), 1);

  char model[HostStringLimit] = {};
  ASSERT_EQ(first->ReadProperty("Model", model), 0);
  char text[1024] = {};
  Sim<int (*)(const char*, char*, int)>("QvSimOpenText")(nullptr, text, sizeof text);
  const std::string home = getpwuid(getuid())->pw_dir;
  const std::string openText = text;
  EXPECT_EQ(openText.substr(0, 1), "@");
  const std::string tail = ";ini=" + home + "/.mmgr/" + model + ".ini";
  ASSERT_GE(openText.size(), tail.size());
  EXPECT_EQ(openText.substr(openText.size() - tail.size()), tail) << openText;

  ASSERT_EQ(first->Shutdown(), 0);
  EXPECT_EQ(Sim<int (*)()>("QvSimCloseCount")(), 0);
  EXPECT_EQ(second->CaptureImage(), 0);
  loader->exports().deleteDevice(second);  // destroyed without Shutdown
  EXPECT_EQ(Sim<int (*)()>("QvSimCloseCount")(), 1);
  loader->exports().deleteDevice(first);
}

TEST_F(ModuleTest, SnapAndSequenceDeliverImages) {
  MM::Camera* camera = Create(devices[0].name);
  ASSERT_EQ(camera->Initialize(), 0);
  ASSERT_EQ(camera->CaptureImage(), 0);
  EXPECT_GT(camera->ImageWidth(), 0u);
  EXPECT_NE(camera->ImagePixels(), nullptr);
  ASSERT_EQ(camera->StartSequence(3, 0.0, true), 0);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (camera->IsSequenceRunning() && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(camera->StopSequence(), 0);
  EXPECT_EQ(host.Pushed(), 3);
  loader->exports().deleteDevice(camera);
}

}  // namespace
