// The feature handlers as the host reaches them: the built module loaded with
// the host's loader, the simulated SDK next to it, the default simulated
// cameras ("Quorvex M5 Cool": mono, 3 I/O lines; "Quorvex C4 HDR": colour,
// HDR gain mode, 2688 x 1520). Every case runs in its own process (one CTest
// entry per case): the module pins itself and keeps its SDK binding.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "host/module_loader.h"
#include "module/host_core.h"
#include "module/mm_device.h"

namespace {

using Lines = std::vector<std::string>;

class Host : public HostCore {
 public:
  int LogMessage(const MM::Device*, const char*, bool) override { return 0; }
  int OnPropertyChanged(const MM::Device*, const char* name, const char* value) override {
    std::lock_guard<std::mutex> hold(mutex);
    changes.push_back(std::string(name) + "=" + value);
    return 0;
  }
  int OnExposureChanged(const MM::Device*, double) override { return 0; }
  int AcquisitionFinished(const MM::Device*, int) override { return 0; }
  int PrepareForAcquisition(const MM::Device*) override { return 0; }
  int PushImage(const MM::Device*, const unsigned char*, unsigned, unsigned, unsigned,
                const char*, bool) override {
    return 0;
  }
  int ClearImageQueue(const MM::Device*) override { return 0; }
  Lines Changes(const std::string& prefix) {
    std::lock_guard<std::mutex> hold(mutex);
    Lines picked;
    for (const std::string& c : changes) {
      if (c.rfind(prefix, 0) == 0) picked.push_back(c);
    }
    return picked;
  }

 private:
  std::mutex mutex;
  Lines changes;
};

class ModuleControls : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    loader = qv::host::ModuleLoader::Open(
        qv::host::ModulePathIn(qv::host::BuiltAdapterDir()), &error);
    ASSERT_NE(loader, nullptr) << error;
    ASSERT_FALSE(loader->ListDevices().empty());  // binds the simulated SDK
    sim = dlopen((qv::host::BuiltAdapterDir() + "/libQuorvex.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(sim, nullptr);
  }
  void TearDown() override {
    if (camera != nullptr) loader->exports().deleteDevice(camera);
  }
  void Open(const char* model) {
    camera = static_cast<MM::Camera*>(loader->exports().createDevice(model));
    ASSERT_NE(camera, nullptr);
    camera->SetCallback(&host);
    ASSERT_EQ(camera->Initialize(), 0);
    Sim<void (*)()>("QvSimClearCallLog")();
  }
  template <class F>
  F Sim(const char* name) {
    return reinterpret_cast<F>(dlsym(sim, name));
  }
  // The SDK calls since the last clear that begin with one of prefixes.
  Lines Calls(const std::vector<std::string>& prefixes) {
    std::vector<char> buffer(1 << 20);
    Sim<int (*)(const char*, char*, int)>("QvSimCallLog")(nullptr, buffer.data(),
                                                          static_cast<int>(buffer.size()));
    Lines picked;
    std::string all(buffer.data()), line;
    for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
      line = all.substr(start, end - start);
      for (const std::string& p : prefixes) {
        if (line.rfind(p, 0) == 0) {
          picked.push_back(line);
          break;
        }
      }
    }
    return picked;
  }
  int Write(const char* name, const char* value) { return camera->WriteProperty(name, value); }
  std::string Read(const char* name) {
    char buffer[HostStringLimit] = {};
    EXPECT_EQ(camera->ReadProperty(name, buffer), 0) << name;
    return buffer;
  }
  std::string Snap() {
    EXPECT_EQ(camera->CaptureImage(), 0);
    return std::to_string(camera->ImageWidth()) + " x " + std::to_string(camera->ImageHeight()) +
           " x " + std::to_string(camera->ImageBytesPerPixel());
  }

  std::unique_ptr<qv::host::ModuleLoader> loader;
  void* sim = nullptr;
  Host host;
  MM::Camera* camera = nullptr;
};

TEST_F(ModuleControls, GeometryChangesShapeTheSnappedFrame) {
  Open("Quorvex C4 HDR");
  EXPECT_EQ(Snap(), "2688 x 1520 x 4");
  EXPECT_EQ(Write("Binning", "2"), 0);
  EXPECT_EQ(Snap(), "1344 x 760 x 4");
  EXPECT_EQ(Write("Rotate", "90"), 0);
  EXPECT_EQ(Snap(), "760 x 1344 x 4");
  EXPECT_EQ(Write("PixelType", "RAW12"), 0);
  EXPECT_EQ(Snap(), "760 x 1344 x 8");
  EXPECT_EQ(Write("Rotate", "0"), 0);
  EXPECT_EQ(Write("Resolution", "1344 x 760"), 0);
  EXPECT_EQ(Snap(), "672 x 380 x 8");
  EXPECT_EQ(Write("FactorySettings", "Load"), 0);
  EXPECT_EQ(Snap(), "2688 x 1520 x 4");
  EXPECT_EQ(Read("PixelType"), "RAW8");
  EXPECT_EQ(Read("Binning"), "1");
}

// A flipped region reaching past the sensor reaches the SDK pulled back onto
// the sensor, not as a wrapped-around offset.
TEST_F(ModuleControls, FlippedRegionPastTheSensorStaysOnIt) {
  Open("Quorvex C4 HDR");
  ASSERT_EQ(Write("FlipVertical", "ON"), 0);
  ASSERT_EQ(Write("FlipHorizontal", "ON"), 0);
  Sim<void (*)()>("QvSimClearCallLog")();
  EXPECT_EQ(camera->SetRegion(2600, 1500, 200, 100), 0);
  EXPECT_EQ(Calls({"SetSensorRegion("}), Lines{"SetSensorRegion(0,0,200,100)"});
  EXPECT_EQ(Snap(), "200 x 100 x 4");
  EXPECT_EQ(camera->SetRegion(100, 100, 200, 100), 0);
  EXPECT_EQ(Calls({"SetSensorRegion("}).back(), "SetSensorRegion(2388,1320,200,100)");
  EXPECT_EQ(camera->ClearRegion(), 0);
  EXPECT_EQ(Snap(), "2688 x 1520 x 4");
}

TEST_F(ModuleControls, HdrGainModeOffersItsPixelTypes) {
  Open("Quorvex C4 HDR");
  ASSERT_EQ(Write("PixelType", "RAW12"), 0);
  EXPECT_EQ(Write("GainMode", "High Dynamic Range (HDR)"), 0);
  std::vector<std::string> allowed;
  for (unsigned i = 0; i < camera->AllowedValueCount("PixelType"); ++i) {
    char value[HostStringLimit] = {};
    camera->AllowedValueAt("PixelType", i, value);
    allowed.emplace_back(value);
  }
  EXPECT_EQ(allowed, (Lines{"HDR12HL", "RAW16", "RAW8"}));
  const std::string type = Read("PixelType");
  EXPECT_NE(type, "RAW12");
  EXPECT_EQ(Write("PixelType", "HDR12HL"), 0);
  EXPECT_EQ(Snap(), "2688 x 1520 x 8");
  EXPECT_EQ(Write("GainMode", "Sensitive"), 0);
  EXPECT_EQ(camera->AllowedValueCount("PixelType"), 2u);
}

TEST_F(ModuleControls, WhiteBalanceOnceAndTheGainEvent) {
  Open("Quorvex C4 HDR");
  EXPECT_EQ(Write("AutoWhiteBalance", "Once"), 0);
  EXPECT_EQ(Calls({"PutOption(108", "WhiteBalanceOnce", "SetParameter("}),
            (Lines{"PutOption(108,0)", "WhiteBalanceOnce()", "SetParameter(AwbOff,1)"}));
  EXPECT_EQ(Read("AutoWhiteBalance"), "Off");
  ASSERT_EQ(Sim<int (*)(const char*, unsigned)>("QvSimFireEvent")(nullptr, 6), 0);
  EXPECT_EQ(host.Changes("WhiteBalance").size(), 3u);
}

TEST_F(ModuleControls, SelectedLineAddressesTheIoWrites) {
  Open("Quorvex M5 Cool");
  ASSERT_EQ(Write("IO:Line Select", "GPIO0"), 0);
  EXPECT_EQ(Write("IO:Input Activation", "Falling edge"), 0);
  int value = -1;
  Sim<int (*)(const char*, unsigned, unsigned, int*)>("QvSimGetIo")(nullptr, 2, 9, &value);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(Read("IO:Input Activation"), "Falling edge");
  ASSERT_EQ(Write("IO:Line Select", "Isolated input"), 0);
  EXPECT_EQ(Read("IO:GPIO Mode"), "Input");  // line 0 is input only
}

}  // namespace
