// The built module loaded from a scratch directory, finding and binding the
// fake SDK library placed next to it under the names each case needs.
#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "tests/module/module_fixture.h"

namespace {

enum class Layout {
  None,                 // no SDK library at all
  File,                 // the library copied under sdkName
  DirectoryOnly,        // only a directory called sdkName
  DirectoryAndSymlink,  // a directory "LIBQUORVEX.SO" and a symbolic link sdkName
};

struct DiscoveryCase {
  const char* label;
  const char* moduleName;
  const char* sdkBuild;  // which fake SDK variant
  Layout layout;
  const char* sdkName;
  const char* cameras;            // first enumeration
  const char* gigeResult;         // DllGigeEnable's answer
  const char* camerasAfterGige;   // enumeration after DllGigeEnable
  std::vector<std::string> expectedNames;
  bool expectLoaded;
};

std::vector<std::string> NumberedCameras(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back("Camera " + std::to_string(i));
  return names;
}

const DiscoveryCase discoveryCases[] = {
    {"name matched ignoring case", "libmmgr_dal_Quorvex.so", FAKE_SDK, Layout::File,
     "LIBQUORVEX.SO", "Cam A", "0", "", {"Cam A"}, true},
    {"version suffix of the module dropped", "libmmgr_dal_Quorvex.so.1", FAKE_SDK, Layout::File,
     "libQuorvex.so", "Cam A", "0", "", {"Cam A"}, true},
    {"directory skipped, symbolic link loaded", "libmmgr_dal_Quorvex.so", FAKE_SDK,
     Layout::DirectoryAndSymlink, "libQuorvex.so", "Cam A", "0", "", {"Cam A"}, true},
    {"only a directory of that name", "libmmgr_dal_Quorvex.so", FAKE_SDK, Layout::DirectoryOnly,
     "libQuorvex.so", "Cam A", "0", "", {}, false},
    {"module name without the adapter prefix", "quorvex_module.so", FAKE_SDK, Layout::File,
     "libQuorvex.so", "Cam A", "0", "", {}, false},
    {"duplicate display names", "libmmgr_dal_Quorvex.so", FAKE_SDK, Layout::File,
     "libQuorvex.so", "Cam A,Cam B,Cam A", "0", "", {"Cam A", "Cam B"}, true},
    {"more cameras than records", "libmmgr_dal_Quorvex.so", FAKE_SDK, Layout::File,
     "libQuorvex.so", "count:200", "0", "", NumberedCameras(128), true},
    {"no camera and no DllGigeEnable", "libmmgr_dal_Quorvex.so", FAKE_SDK_NO_GIGE, Layout::File,
     "libQuorvex.so", "", "0", "", {"QuorvexFake"}, true},
    {"no camera and DllGigeEnable failing", "libmmgr_dal_Quorvex.so", FAKE_SDK, Layout::File,
     "libQuorvex.so", "", "5", "Late Cam", {"QuorvexFake"}, true},
    {"no DllEnumCamera", "libmmgr_dal_Quorvex.so", FAKE_SDK_NO_ENUM, Layout::File,
     "libQuorvex.so", "Cam A", "5", "", {"QuorvexFake"}, true},
    {"no DllMmgrName", "libmmgr_dal_Quorvex.so", FAKE_SDK_NO_MMGR_NAME, Layout::File,
     "libQuorvex.so", "Cam A", "0", "", {}, true},
};

// Puts the module and the SDK library into `dir` as the case describes.
void Populate(const ScratchDir& dir, const DiscoveryCase& c) {
  fs::copy_file(MODULE_FILE, dir / c.moduleName);
  switch (c.layout) {
    case Layout::None:
      break;
    case Layout::File:
      fs::copy_file(c.sdkBuild, dir / c.sdkName);
      break;
    case Layout::DirectoryOnly:
      fs::create_directory(dir / c.sdkName);
      break;
    case Layout::DirectoryAndSymlink:
      fs::create_directory(dir / "LIBQUORVEX.SO");
      fs::create_directory(dir / "store");
      fs::copy_file(c.sdkBuild, dir / "store/sdk-build.so");
      fs::create_symlink("store/sdk-build.so", dir / c.sdkName);
      break;
  }
}

void SetCameraEnvironment(const DiscoveryCase& c) {
  setenv("FAKE_SDK_CAMERAS", c.cameras, 1);
  setenv("FAKE_SDK_GIGE_RESULT", c.gigeResult, 1);
  setenv("FAKE_SDK_CAMERAS_AFTER_GIGE", c.camerasAfterGige, 1);
}

TEST(ModuleDiscovery, FindsBindsAndRegistersAsEachLayoutDemands) {
  for (const DiscoveryCase& c : discoveryCases) {
    SCOPED_TRACE(c.label);
    int status = RunInChild([&] {
      ScratchDir dir;
      Populate(dir, c);
      SetCameraEnvironment(c);
      auto module = LoadModule(dir / c.moduleName);
      if (!module) return;
      auto devices = module->ListDevices();
      EXPECT_EQ(NamesOf(devices), c.expectedNames);
      for (const auto& device : devices) {
        EXPECT_EQ(device.type, 2);
        EXPECT_EQ(device.description, "Fake Vendor Ltd");
      }
      EXPECT_EQ(IsLoaded(dir / c.sdkName), c.expectLoaded);
    });
    EXPECT_EQ(status, 0);
  }
}

TEST(ModuleDiscovery, HandsTheHostNameToTheSdkBeforeEnumerating) {
  EXPECT_EQ(RunInChild([] {
              ScratchDir dir;
              fs::copy_file(MODULE_FILE, dir / "libmmgr_dal_Quorvex.so");
              fs::copy_file(FAKE_SDK, dir / "libQuorvex.so");
              setenv("FAKE_SDK_CAMERAS", "Cam A", 1);
              auto module = LoadModule(dir / "libmmgr_dal_Quorvex.so");
              if (!module) return;
              module->ListDevices();
              const FakeSdkCallCounts* calls = FakeSdkCallsAt(dir / "libQuorvex.so");
              ASSERT_NE(calls, nullptr);
              EXPECT_EQ(calls->appName, 1);
              EXPECT_STREQ(calls->applicationName, "mmgr");
              EXPECT_EQ(calls->enumCamera, 1);
              EXPECT_EQ(calls->gigeEnable, 0);
            }),
            0);
}

TEST(ModuleDiscovery, SearchesAgainAfterTheLibraryWasMissing) {
  EXPECT_EQ(RunInChild([] {
              ScratchDir dir;
              fs::copy_file(MODULE_FILE, dir / "libmmgr_dal_Quorvex.so");
              setenv("FAKE_SDK_CAMERAS", "Cam A", 1);
              auto module = LoadModule(dir / "libmmgr_dal_Quorvex.so");
              if (!module) return;
              EXPECT_TRUE(module->ListDevices().empty());
              fs::copy_file(FAKE_SDK, dir / "libquorvex.so");
              EXPECT_EQ(NamesOf(module->ListDevices()), std::vector<std::string>{"Cam A"});
            }),
            0);
}

TEST(ModuleDiscovery, UnnamedLibraryStaysLoadedAndIsNotBoundAgain) {
  EXPECT_EQ(RunInChild([] {
              ScratchDir dir;
              fs::copy_file(MODULE_FILE, dir / "libmmgr_dal_Quorvex.so");
              fs::copy_file(FAKE_SDK_NO_MMGR_NAME, dir / "libQuorvex.so");
              setenv("FAKE_SDK_CAMERAS", "Cam A", 1);
              auto module = LoadModule(dir / "libmmgr_dal_Quorvex.so");
              if (!module) return;
              EXPECT_TRUE(module->ListDevices().empty());
              EXPECT_TRUE(module->ListDevices().empty());
              const FakeSdkCallCounts* calls = FakeSdkCallsAt(dir / "libQuorvex.so");
              ASSERT_NE(calls, nullptr);
              EXPECT_EQ(calls->appName, 1);
              EXPECT_EQ(calls->enumCamera, 0);
            }),
            0);
}

TEST(ModuleDiscovery, EnablesGigeAndWaitsBeforeEnumeratingAgain) {
  EXPECT_EQ(RunInChild([] {
              ScratchDir dir;
              fs::copy_file(MODULE_FILE, dir / "libmmgr_dal_Quorvex.so");
              fs::copy_file(FAKE_SDK, dir / "libQuorvex.so");
              setenv("FAKE_SDK_CAMERAS", "", 1);
              setenv("FAKE_SDK_CAMERAS_AFTER_GIGE", "Gige Cam", 1);
              auto module = LoadModule(dir / "libmmgr_dal_Quorvex.so");
              if (!module) return;
              // A signal in the middle of the wait must not cut it short.
              struct sigaction ignore {};
              ignore.sa_handler = [](int) {};
              sigaction(SIGALRM, &ignore, nullptr);
              alarm(1);
              auto start = std::chrono::steady_clock::now();
              EXPECT_EQ(NamesOf(module->ListDevices()), std::vector<std::string>{"Gige Cam"});
              EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
              const FakeSdkCallCounts* calls = FakeSdkCallsAt(dir / "libQuorvex.so");
              ASSERT_NE(calls, nullptr);
              EXPECT_EQ(calls->gigeEnable, 1);
              EXPECT_TRUE(calls->gigeArgumentsNull);
              EXPECT_EQ(calls->enumCamera, 2);
            }),
            0);
}

}  // namespace
