// Enumeration, the model catalogue, configuration parsing, the variants.
#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace simtest {
namespace {

class EnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Sim().handle, nullptr);
    unsetenv("QUORVEX_SIM_CONFIG");  // start from the built-in catalogue
    Sim().reset();
  }
  // Enumerates into an array with two guard records past the 128.
  unsigned Enumerate() {
    std::memset(records, 0xA5, sizeof records);
    return Sim().enumCamera(records);
  }
  bool GuardIntact() const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&records[MaxCameras]);
    for (size_t i = 0; i < 2 * sizeof(SdkDeviceEntry); ++i)
      if (bytes[i] != 0xA5) return false;
    return true;
  }
  SdkDeviceEntry records[MaxCameras + 2];
};

TEST_F(EnumerationTest, EntryPointTextsAndDefaultCatalogue) {
  EXPECT_STREQ(Sim().mmgrName(), "Quorvex");
  EXPECT_STREQ(Sim().company(), "Quorvex Imaging");
  EXPECT_NE(Sim().version(), nullptr);
  Sim().appName("mmgr");
  ASSERT_EQ(Enumerate(), 4u);
  const SdkModel* first = records[0].model;
  EXPECT_TRUE(HasCapability(first, SdkCapability::Monochrome));
  EXPECT_TRUE(HasCapability(first, SdkCapability::Cooler));
  EXPECT_TRUE(HasCapability(first, SdkCapability::Fan));
  EXPECT_TRUE(HasCapability(first, SdkCapability::TemperatureSensor));
  std::set<uint64_t> capabilities;
  std::set<std::string> ids;
  bool gige = false, threeLevel = false, colour = false;
  for (unsigned i = 0; i < 4; ++i) {
    const SdkModel* m = records[i].model;
    ASSERT_NE(m, nullptr);
    capabilities.insert(m->capabilities);
    ids.insert(records[i].id);
    EXPECT_GE(m->resolutionCount, 3u);
    EXPECT_LE(m->resolutionCount, 16u);
    EXPECT_GT(m->pixelSize, 0.0f);
    // Reduced resolutions are smaller than the full one.
    for (unsigned r = 1; r < m->resolutionCount; ++r)
      EXPECT_LT(m->resolutions[r].width, m->resolutions[0].width) << m->modelName;
    gige |= HasCapability(m, SdkCapability::GigE) && m->ioLineCount == 4 &&
            HasCapability(m, SdkCapability::FrameRateControl);
    threeLevel |= HasCapability(m, SdkCapability::ThreeLevelConversionGain) &&
                  HasCapability(m, SdkCapability::HdrConversionGain);
    colour |= HasCapability(m, SdkCapability::Isp) && !HasCapability(m, SdkCapability::Monochrome);
  }
  EXPECT_EQ(capabilities.size(), 4u);
  EXPECT_EQ(ids.size(), 4u);
  EXPECT_TRUE(gige && threeLevel && colour);
}

TEST_F(EnumerationTest, ConfiguredCamerasEmptyListAndBadInput) {
  ASSERT_EQ(Sim().configure(R"({"cameras": [
      {"displayName": "Left", "id": "L", "model": "Quorvex G3 GigE"},
      {"displayName": "Right", "id": "R", "model": "Quorvex C4 HDR",
       "modelOverrides": {"ioLineCount": 0, "addCapabilities": [59], "name": "Custom"}}]})"),
            0);
  ASSERT_EQ(Enumerate(), 2u);
  EXPECT_STREQ(records[0].displayName, "Left");
  EXPECT_STREQ(records[1].id, "R");
  EXPECT_STREQ(records[1].model->modelName, "Custom");
  EXPECT_EQ(records[1].model->ioLineCount, 0u);
  EXPECT_TRUE(HasCapability(records[1].model, 59));

  ASSERT_EQ(Sim().configure(R"({"cameras": []})"), 0);
  EXPECT_EQ(Enumerate(), 0u);

  // A rejected configuration leaves the previous one in force.
  EXPECT_EQ(Sim().configure("{not json"), -1);
  EXPECT_EQ(Sim().configure(R"({"cameras": [{"model": "No Such Model"}]})"), -1);
  EXPECT_EQ(Sim().configure(R"([1, 2])"), -1);
  EXPECT_EQ(Enumerate(), 0u);
}

TEST_F(EnumerationTest, EnvironmentHoldsJsonTextOrAFilePath) {
  const char* json = R"({"cameras": [{"displayName": "FromEnv", "id": "e-1"}]})";
  char path[] = "/tmp/qvsim-config-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, json, std::strlen(json)), static_cast<ssize_t>(std::strlen(json)));
  close(fd);
  const struct {
    std::string value;
    unsigned cameras;
  } cases[] = {{json, 1}, {path, 1}, {"{broken", 4}, {"/no/such/file.json", 4}, {"", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    setenv("QUORVEX_SIM_CONFIG", c.value.c_str(), 1);
    Sim().reset();  // the environment is read again when next needed
    EXPECT_EQ(Enumerate(), c.cameras);
    if (c.cameras == 1) {
      EXPECT_STREQ(records[0].displayName, "FromEnv");
    }
  }
  unsetenv("QUORVEX_SIM_CONFIG");
  unlink(path);
  Sim().reset();
}

TEST_F(EnumerationTest, CountBeyond128WritesAtMost128Records) {
  ASSERT_EQ(Sim().configure(R"({"count": 300})"), 0);
  EXPECT_EQ(Enumerate(), 300u);
  EXPECT_TRUE(GuardIntact());
  // Every written record is a distinct, openable camera.
  std::set<std::string> ids;
  for (unsigned i = 0; i < MaxCameras; ++i) {
    ASSERT_NE(records[i].model, nullptr) << i;
    ids.insert(records[i].id);
  }
  EXPECT_EQ(ids.size(), MaxCameras);
  SdkCamera* last = Sim().open(OpenTextFor(records[MaxCameras - 1].id).c_str());
  ASSERT_NE(last, nullptr);
  last->Close();
}

TEST_F(EnumerationTest, GigeDiscoveryAddsCamerasAfterSuccess) {
  ASSERT_EQ(Sim().configure(R"({"cameras": [], "gige": {"result": 0,
      "cameras": [{"displayName": "Net", "id": "net-1", "model": "Quorvex G3 GigE"}]}})"),
            0);
  EXPECT_EQ(Enumerate(), 0u);
  EXPECT_EQ(Sim().gigeEnable(nullptr, nullptr), 0);
  ASSERT_EQ(Enumerate(), 1u);
  EXPECT_STREQ(records[0].id, "net-1");

  ASSERT_EQ(Sim().configure(R"({"cameras": [], "gige": {"result": -5, "cameras": [{}]}})"), 0);
  EXPECT_EQ(Sim().gigeEnable(nullptr, nullptr), -5);
  EXPECT_EQ(Enumerate(), 0u);
}

TEST_F(EnumerationTest, OpenParsesIdAndRefusesUnknownOrAlreadyOpenCameras) {
  EXPECT_EQ(Sim().open("@no-such;ini=/x.ini"), nullptr);
  SdkCamera* a = Sim().open("@qvsim-1;ini=/home/u/.mmgr/Quorvex M5 Cool.ini");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Sim().open("@qvsim-1;ini=/other.ini"), nullptr);  // one open object per camera
  char text[128];
  Sim().openText("qvsim-1", text, sizeof text);
  EXPECT_STREQ(text, "@qvsim-1;ini=/home/u/.mmgr/Quorvex M5 Cool.ini");
  EXPECT_EQ(Sim().openCount(), 1);
  a->Close();
  EXPECT_EQ(Sim().closeCount(), 1);
  // A closed camera answers failure and counts the late call; it can be opened again.
  unsigned index = 7;
  EXPECT_LT(a->GetResolutionIndex(&index), 0);
  EXPECT_EQ(Sim().callsAfterClose(), 1);
  SdkCamera* again = Sim().open("@qvsim-1;ini=/x.ini");
  ASSERT_NE(again, nullptr);
  again->Close();
}

TEST_F(EnumerationTest, DefaultAutoExposureGainIsConfigurable) {
  unsigned short g = 500;
  EXPECT_GE(Sim().getDefAE(0, &g), 0);
  EXPECT_EQ(g, 160);
  ASSERT_EQ(Sim().configure(R"({"defAE": {"result": 0, "value": 80}})"), 0);
  EXPECT_GE(Sim().getDefAE(0, &g), 0);
  EXPECT_EQ(g, 80);
  ASSERT_EQ(Sim().configure(R"({"defAE": {"result": -1}})"), 0);
  g = 500;
  EXPECT_LT(Sim().getDefAE(0, &g), 0);
  EXPECT_EQ(g, 500);
}

TEST(SimVariants, EachVariantLacksExactlyItsEntryPoint) {
  const std::vector<std::string> all = {"DllMmgrName", "DllCompany", "DllVersion",
                                        "DllAppName",  "DllEnumCamera", "DllGigeEnable",
                                        "DllGetDefAE", "DlllogV",   "DllOpen"};
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"libQuorvex_no_mmgrname.so", "DllMmgrName"},
      {"libQuorvex_no_gige.so", "DllGigeEnable"},
      {"libQuorvex_no_open.so", "DllOpen"},
      {"libQuorvex_no_defae.so", "DllGetDefAE"}};
  for (const auto& [file, missing] : variants) {
    const std::string path = std::string(QUORVEX_SIM_VARIANT_DIR) + "/" + file;
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(h, nullptr) << dlerror();
    for (const std::string& name : all)
      EXPECT_EQ(dlsym(h, name.c_str()) == nullptr, name == missing) << file << " " << name;
    dlclose(h);
  }
}

}  // namespace
}  // namespace simtest
