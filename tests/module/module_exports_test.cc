// The contracts of the nine exports, on the built module with a fake SDK that
// offers two cameras.
#include <cstring>

#include "module/mm_device.h"
#include "tests/module/module_fixture.h"

namespace {

constexpr char LongName[] = "Quorvex Camera 0042";  // 19 characters
constexpr char Vendor[] = "Fake Vendor Ltd";

// Loads the module next to the fake SDK and runs `body` with its exports.
int WithModule(const std::function<void(const qv::host::ModuleExports&)>& body) {
  return RunInChild([&] {
    ScratchDir dir;
    fs::copy_file(MODULE_FILE, dir / "libmmgr_dal_Quorvex.so");
    fs::copy_file(FAKE_SDK, dir / "libQuorvex.so");
    setenv("FAKE_SDK_CAMERAS", (std::string(LongName) + ",Cam B").c_str(), 1);
    auto module = LoadModule(dir / "libmmgr_dal_Quorvex.so");
    if (module) body(module->exports());
  });
}

TEST(ModuleExports, ListNothingBeforeInitialisationAndVersionsInEveryState) {
  EXPECT_EQ(WithModule([](const qv::host::ModuleExports& m) {
              char buffer[HostStringLimit] = "untouched";
              EXPECT_EQ(m.getModuleVersion(), 10);
              EXPECT_EQ(m.getDeviceInterfaceVersion(), 73);
              EXPECT_EQ(m.getNumberOfDevices(), 0u);
              EXPECT_FALSE(m.getDeviceName(0, buffer, sizeof buffer));
              EXPECT_STREQ(buffer, "untouched");
              m.initializeModuleData();
              EXPECT_EQ(m.getNumberOfDevices(), 2u);
              m.initializeModuleData();
              EXPECT_EQ(m.getNumberOfDevices(), 2u);
              EXPECT_EQ(m.getModuleVersion(), 10);
              EXPECT_EQ(m.getDeviceInterfaceVersion(), 73);
            }),
            0);
}

TEST(ModuleExports, DeviceNameNeedsRoomForItsTerminator) {
  EXPECT_EQ(WithModule([](const qv::host::ModuleExports& m) {
              m.initializeModuleData();
              const unsigned length = std::strlen(LongName);
              char buffer[HostStringLimit] = "untouched";
              EXPECT_FALSE(m.getDeviceName(0, buffer, length));
              EXPECT_FALSE(m.getDeviceName(0, buffer, 0));
              EXPECT_STREQ(buffer, "untouched");
              EXPECT_TRUE(m.getDeviceName(0, buffer, length + 1));
              EXPECT_STREQ(buffer, LongName);
              EXPECT_TRUE(m.getDeviceName(1, buffer, sizeof buffer));
              EXPECT_STREQ(buffer, "Cam B");
              EXPECT_FALSE(m.getDeviceName(2, buffer, sizeof buffer));
              EXPECT_FALSE(m.getDeviceName(0, nullptr, sizeof buffer));
            }),
            0);
}

TEST(ModuleExports, TypeAndDescriptionByName) {
  EXPECT_EQ(WithModule([](const qv::host::ModuleExports& m) {
              m.initializeModuleData();
              int type = -1;
              EXPECT_TRUE(m.getDeviceType("Cam B", &type));
              EXPECT_EQ(type, 2);
              EXPECT_FALSE(m.getDeviceType("cam b", &type));  // names are case-sensitive
              EXPECT_EQ(type, 0);

              char buffer[HostStringLimit];
              EXPECT_TRUE(m.getDeviceDescription("Cam B", buffer, sizeof buffer));
              EXPECT_STREQ(buffer, Vendor);
              EXPECT_TRUE(m.getDeviceDescription("Cam B", buffer, 5));
              EXPECT_STREQ(buffer, "Fake");
              EXPECT_TRUE(m.getDeviceDescription("Cam B", buffer, std::strlen(Vendor)));
              EXPECT_EQ(std::string(buffer), std::string(Vendor, std::strlen(Vendor) - 1));
              EXPECT_FALSE(m.getDeviceDescription("Cam C", buffer, sizeof buffer));
            }),
            0);
}

// Null pointers and a zero-length buffer are refused and nothing is written.
TEST(ModuleExports, NullArgumentsAreRefusedWithoutWriting) {
  EXPECT_EQ(WithModule([](const qv::host::ModuleExports& m) {
              m.initializeModuleData();
              int type = -1;
              EXPECT_FALSE(m.getDeviceType(nullptr, &type));
              EXPECT_EQ(type, -1);
              EXPECT_FALSE(m.getDeviceType("Cam B", nullptr));
              char buffer[8] = "keep";
              EXPECT_FALSE(m.getDeviceDescription(nullptr, buffer, sizeof buffer));
              EXPECT_FALSE(m.getDeviceDescription("Cam B", nullptr, sizeof buffer));
              EXPECT_FALSE(m.getDeviceDescription("Cam B", buffer, 0));
              EXPECT_STREQ(buffer, "keep");
            }),
            0);
}

TEST(ModuleExports, CreatesACameraForAnyNameAndDeletesIt) {
  EXPECT_EQ(WithModule([](const qv::host::ModuleExports& m) {
              m.initializeModuleData();
              EXPECT_EQ(m.createDevice(nullptr), nullptr);
              m.deleteDevice(nullptr);
              for (const char* name : {"Cam B", "not registered"}) {
                MM::Device* device = m.createDevice(name);
                ASSERT_NE(device, nullptr) << name;
                EXPECT_EQ(device->DeviceType(), 2);
                m.deleteDevice(device);
              }
            }),
            0);
}

}  // namespace
