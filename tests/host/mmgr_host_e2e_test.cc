// mmgr-host through the real module and the simulated SDK.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/host/e2e_fixture.h"

namespace qv::host::e2e {
namespace {

const char* kColour = "'Quorvex C8 ISP'";

TEST_F(MmgrHostTest, DevicesListsTheSimulatedCameras) {
  const RunResult r = Run("devices --json");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = r.Json();
  EXPECT_EQ(j["moduleVersion"], 10);
  EXPECT_EQ(j["interfaceVersion"], 73);
  ASSERT_FALSE(j["devices"].empty());
  for (const auto& device : j["devices"]) {
    EXPECT_EQ(device["type"], 2);
    EXPECT_FALSE(device["name"].get<std::string>().empty());
  }
  const RunResult text = Run("devices");
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find("Quorvex C8 ISP"), std::string::npos);
}

TEST_F(MmgrHostTest, PropsShowsEveryPropertyAfterTheSetsWereApplied) {
  const RunResult r = Run("props --json --set Binning=2 --set TransposeXY=1");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = r.Json();
  std::map<std::string, nlohmann::json> byName;
  for (const auto& p : j["properties"]) byName[p["name"]] = p;
  EXPECT_GT(byName.size(), 50u);
  ASSERT_TRUE(byName.count("Binning"));
  EXPECT_EQ(byName["Binning"]["value"], "2");
  EXPECT_EQ(byName["TransposeXY"]["value"], "1");
  EXPECT_EQ(byName["TransposeXY"]["kind"], "Integer");
  EXPECT_EQ(byName["TransposeXY"]["allowed"], nlohmann::json({"0", "1"}));
  EXPECT_EQ(byName["Exposure"]["kind"], "Float");
  EXPECT_TRUE(byName["Exposure"]["limits"].is_object());
  EXPECT_EQ(byName["Model"]["readOnly"], true);
}

struct SnapCase {
  const char* what;
  std::string args;
  unsigned bytesPerPixel, samples, bits;
  unsigned width = 0, height = 0;  // 0: the camera's full size, not checked
};

TEST_F(MmgrHostTest, SnapWritesOneTiffPageMatchingTheSummary) {
  const SnapCase cases[] = {
      {"monochrome 8-bit", "", 1, 1, 8},
      {"colour", std::string("--device ") + kColour, 4, 4, 8},
      {"16-bit pixel type", "--set PixelType=RAW16", 2, 1, 16},
      {"region", "--region 100,200,640,480", 1, 1, 8, 640, 480},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = Path("snap.tiff");
    const RunResult r = Run("snap --json --out " + file + " " + c.args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = r.Json();
    EXPECT_EQ(j["bytesPerPixel"], c.bytesPerPixel);
    if (c.width != 0) {
      EXPECT_EQ(j["width"], c.width);
      EXPECT_EQ(j["height"], c.height);
    }
    EXPECT_LE(j["min"].get<unsigned>(), j["max"].get<unsigned>());
    const std::vector<TiffPage> pages = ReadTiffPages(file);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].width, j["width"].get<unsigned>());
    EXPECT_EQ(pages[0].height, j["height"].get<unsigned>());
    EXPECT_EQ(pages[0].samples, c.samples);
    EXPECT_EQ(pages[0].bits, c.bits);
    EXPECT_NE(pages[0].description.find("\"Camera\""), std::string::npos);
  }
}

TEST_F(MmgrHostTest, BinningHalvesTheSnappedImage) {
  const RunResult full = Run("snap --json --out " + Path("a.tiff"));
  const RunResult binned = Run("snap --json --out " + Path("b.tiff") + " --set Binning=2");
  ASSERT_EQ(full.exitCode, 0) << full.err;
  ASSERT_EQ(binned.exitCode, 0) << binned.err;
  EXPECT_EQ(binned.Json()["width"].get<unsigned>(), full.Json()["width"].get<unsigned>() / 2);
  EXPECT_EQ(ReadTiffPages(Path("b.tiff")).at(0).width, binned.Json()["width"].get<unsigned>());
}

TEST_F(MmgrHostTest, SequenceWritesOnePagePerFrameWithItsMetadata) {
  const std::string file = Path("run.tiff");
  const RunResult r = Run("sequence --json --count 7 --out " + file + " --device " + kColour);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = r.Json();
  EXPECT_EQ(j["frames"], 7);
  EXPECT_EQ(j["requested"], 7);
  EXPECT_EQ(j["interrupted"], false);
  EXPECT_EQ(j["dropped"], 0);
  const std::vector<TiffPage> pages = ReadTiffPages(file);
  ASSERT_EQ(pages.size(), 7u);
  for (const TiffPage& page : pages) {
    EXPECT_EQ(page.width, j["width"].get<unsigned>());
    EXPECT_EQ(page.samples, 4u);
    EXPECT_NE(page.description.find("Quorvex C8 ISP"), std::string::npos) << page.description;
  }
}

TEST_F(MmgrHostTest, SequenceWithoutOutOnlyCounts) {
  const RunResult r = Run("sequence --json --count 3");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.Json()["frames"], 3);
  EXPECT_TRUE(r.Json()["file"].is_null());
}

TEST_F(MmgrHostTest, CtrlCStopsTheSequenceAndKeepsWhatWasRecorded) {
  const std::string file = Path("long.tiff");
  const RunResult r = RunAndInterrupt("sequence --json --count 1000000 --out " + file, 1500);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const nlohmann::json j = r.Json();
  EXPECT_EQ(j["interrupted"], true);
  const unsigned frames = j["frames"].get<unsigned>();
  EXPECT_GT(frames, 0u);
  EXPECT_LT(frames, 1000000u);
  EXPECT_EQ(ReadTiffPages(file).size(), frames);
}

TEST_F(MmgrHostTest, WatchPrintsNotificationsAsJsonLines) {
  const RunResult r = Run("watch --json --seconds 1.5");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::istringstream lines(r.out);
  int notifications = 0;
  nlohmann::json last;
  for (std::string line; std::getline(lines, line);) {
    last = nlohmann::json::parse(line);
    if (last.contains("name")) ++notifications;
  }
  EXPECT_GT(notifications, 0);  // the status monitor reports every second
  EXPECT_EQ(last["notifications"], notifications);
}

struct FailureCase {
  const char* what;
  std::string args;
  int exitCode;
  const char* message;
};

TEST_F(MmgrHostTest, FailuresGiveOneLineAndTheirExitCode) {
  const FailureCase cases[] = {
      {"unknown property", "props --set NoSuchThing=1", 5, "unknown property \"NoSuchThing\""},
      {"refused value", "props --set Binning=9", 5,
       "cannot set \"Binning\" to \"9\": Invalid property value: Binning (code 3)"},
      {"read-only", "props --set Model=X", 5, "property \"Model\" is read-only"},
      {"unknown device", "props --device Nope", 4, "unknown device \"Nope\""},
      {"module not found", "devices --adapters /nonexistent", 3,
       "module not found: /nonexistent/libmmgr_dal_Quorvex.so"},
      {"usage", "snap", 2, "snap needs --out"},
      {"unwritable file", "snap --out /nonexistent/x.tiff", 1, "/nonexistent/x.tiff"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("mmgr-host: ", 0), 0u) << r.err;
  }
  const RunResult json = Run("--json props --set NoSuchThing=1");
  EXPECT_EQ(json.Json()["exitCode"], 5);
}

}  // namespace
}  // namespace qv::host::e2e
