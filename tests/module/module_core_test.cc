// The module's core linked directly: registry, library search, open camera
// table, enumeration guard. The registry is process-wide, so every test here
// uses names of its own.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "module/device_registry.h"
#include "module/open_camera_table.h"
#include "module/sdk_library.h"
#include "tests/module/scratch_dir.h"

namespace {

TEST(DeviceRegistry, FirstRegistrationWinsAndNullsAreHandled) {
  RegisterDevice("reg first", 2, "first description");
  RegisterDevice("reg first", 7, "second description");
  RegisterDevice(nullptr, 2, "no name");
  RegisterDevice("reg undescribed", 2, nullptr);

  const DeviceEntry* first = FindRegisteredDevice("reg first");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->type, 2);
  EXPECT_EQ(first->description, "first description");
  ASSERT_NE(FindRegisteredDevice("reg undescribed"), nullptr);
  EXPECT_EQ(FindRegisteredDevice("reg undescribed")->description, "(Null description)");
  EXPECT_EQ(FindRegisteredDevice("REG FIRST"), nullptr);
  EXPECT_EQ(FindRegisteredDevice(nullptr), nullptr);
  size_t named = 0;
  for (const DeviceEntry& entry : RegisteredDevices()) named += entry.name == "reg first";
  EXPECT_EQ(named, 1u);
}

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(FindLibraryFile, MatchesRegularFilesAndLinksIgnoringCase) {
  struct Case {
    const char* label;
    std::function<void(const ScratchDir&)> populate;
    const char* wanted;
    const char* expectedEntry;  // null: not found
  };
  const Case cases[] = {
      {"exact name", [](const ScratchDir& d) { Touch(d / "libQuorvex.so"); }, "libQuorvex.so",
       "libQuorvex.so"},
      {"other case", [](const ScratchDir& d) { Touch(d / "LIBQUORVEX.SO"); }, "libQuorvex.so",
       "LIBQUORVEX.SO"},
      {"directory skipped",
       [](const ScratchDir& d) { fs::create_directory(d / "libQuorvex.so"); }, "libQuorvex.so",
       nullptr},
      {"symbolic link, even dangling",
       [](const ScratchDir& d) { fs::create_symlink("missing", d / "libquorvex.so"); },
       "libQuorvex.so", "libquorvex.so"},
      {"no prefix match", [](const ScratchDir& d) { Touch(d / "libQuorvex.so.1"); },
       "libQuorvex.so", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir;
    c.populate(dir);
    std::string path = "unchanged";
    bool found = FindLibraryFile(dir.path(), c.wanted, &path);
    EXPECT_EQ(found, c.expectedEntry != nullptr);
    EXPECT_EQ(path, c.expectedEntry != nullptr ? dir / c.expectedEntry : "unchanged");
  }
  std::string path;
  EXPECT_FALSE(FindLibraryFile("/nonexistent/quorvex", "libQuorvex.so", &path));
}

// A directory whose path leaves no room for "/libQuorvex.so" in the path
// buffers: the search fails instead of using a cut path.
TEST(FindLibraryFile, FailsWhenTheFullPathWouldNotFit) {
  ScratchDir dir;
  const size_t target = PathBufferSize - 6;  // the directory itself still fits
  std::string deep = dir.path();
  while (target - deep.size() > 201) deep += "/" + std::string(200, 'd');
  deep += "/" + std::string(target - deep.size() - 1, 'e');
  ASSERT_TRUE(fs::create_directories(deep));
  ASSERT_EQ(deep.size(), target);
  // The file's own full path is too long for path calls: create it from inside.
  const std::string home = fs::current_path();
  ASSERT_EQ(chdir(deep.c_str()), 0);
  Touch("libQuorvex.so");
  std::string path = "unchanged";
  EXPECT_FALSE(FindLibraryFile(deep, "libQuorvex.so", &path));
  EXPECT_EQ(path, "unchanged");
  EXPECT_TRUE(FindLibraryFile(".", "libQuorvex.so", &path));  // the file is there
  unlink("libQuorvex.so");
  ASSERT_EQ(chdir(home.c_str()), 0);
}

// This test program's own file name lacks "/libmmgr_dal_": nothing loads.
TEST(BindSdkLibrary, OutsideAnAdapterModuleBindsNothing) {
  size_t before = RegisteredDevices().size();
  BindSdkLibrary();
  EXPECT_EQ(BoundSdkLibrary().handle, nullptr);
  EXPECT_EQ(RegisteredDevices().size(), before);
}

unsigned EnumerateTooMany(SdkDeviceEntry entries[MaxCameras]) {
  for (unsigned i = 0; i < MaxCameras; ++i) std::snprintf(entries[i].id, 64, "id-%u", i);
  return 500;
}

TEST(EnumerateSdkCameras, CapsTheCountAndSurvivesAMissingEntryPoint) {
  SdkLibrary library;
  library.enumCamera = &EnumerateTooMany;
  SetSdkLibraryForTesting(library, [](const char*) -> void* { return nullptr; });
  SdkDeviceEntry entries[MaxCameras] = {};
  EXPECT_EQ(EnumerateSdkCameras(entries), MaxCameras);

  SetSdkLibraryForTesting(SdkLibrary{}, nullptr);
  EXPECT_EQ(EnumerateSdkCameras(entries), 0u);
  EXPECT_EQ(SdkSymbol("DllOpen"), nullptr);
}

class OpenCameraTableTest : public ::testing::Test {
 protected:
  // Distinct, never dereferenced camera addresses.
  SdkCamera* Camera(int n) { return reinterpret_cast<SdkCamera*>(&cameras[n]); }
  long cameras[3] = {};
};

TEST_F(OpenCameraTableTest, LastUserIsToldToClose) {
  CreateOpenCameraTable();
  ASSERT_TRUE(OpenCameraTableExists());
  auto first = std::make_shared<HWrapper>(Camera(0));
  InsertOpenCamera("cam-0", first);
  auto second = FindOpenCamera("cam-0");
  ASSERT_EQ(second, first);
  EXPECT_EQ(FindOpenCamera("cam-1"), nullptr);

  EXPECT_FALSE(ReleaseOpenCamera(first));  // `second` still uses it
  first.reset();
  EXPECT_TRUE(ReleaseOpenCamera(second));
  EXPECT_EQ(FindOpenCamera("cam-0"), nullptr);
  // A camera the table does not hold: the caller is its only user.
  EXPECT_TRUE(ReleaseOpenCamera(std::make_shared<HWrapper>(Camera(1))));
}

TEST_F(OpenCameraTableTest, ReleaseFindsTheEntryByCamera) {
  CreateOpenCameraTable();
  InsertOpenCamera("b", std::make_shared<HWrapper>(Camera(1)));
  InsertOpenCamera("a", std::make_shared<HWrapper>(Camera(2)));
  auto holder = FindOpenCamera("b");
  EXPECT_TRUE(ReleaseOpenCamera(holder));
  EXPECT_EQ(FindOpenCamera("b"), nullptr);
  EXPECT_NE(FindOpenCamera("a"), nullptr);
  CreateOpenCameraTable();
  EXPECT_EQ(FindOpenCamera("a"), nullptr);
}

}  // namespace
