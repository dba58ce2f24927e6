#include "host/cli/options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qv::host::cli {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

struct ErrorCase {
  const char* line;
  const char* error;  // a part of the expected message
};

TEST(Options, RejectsWithAMessageNamingTheCause) {
  const ErrorCase cases[] = {
      {"", "no command"},
      {"snap", "snap needs --out"},
      {"frobnicate", "unknown command \"frobnicate\""},
      {"props --colour", "unknown option --colour"},
      {"props --device", "option --device needs a value"},
      {"props --set Binning", "\"Binning\" is not NAME=VALUE"},
      {"props --set =2", "is not NAME=VALUE"},
      {"sequence --count 0", "a count of 1 or more"},
      {"sequence --count 12x", "\"12x\" is not"},
      {"sequence --count 99999999999999999999", "is not"},
      {"sequence --interval -1", "non-negative"},
      {"watch --seconds nan", "non-negative"},
      {"sequence --overflow drop", "stop or clear"},
      {"sequence --buffer-mb -5", "a size in megabytes"},
      {"props snap --out a.tif", "more than one command"},
      {"props --out a.tif", "--out is for snap and sequence"},
      {"props --json=yes", "takes no value"},
      {"snap --out a.tif --region 1,2,3", "X,Y,WIDTH,HEIGHT"},
      {"snap --out a.tif --region 1,2,3,-4", "X,Y,WIDTH,HEIGHT"},
      {"snap --out a.tif --region 1,2,3,4,5", "X,Y,WIDTH,HEIGHT"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.line);
    const ParseResult r = ParseOptions(Split(c.line));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
}

TEST(Options, ReadsEveryOptionInAnyOrder) {
  const ParseResult r = ParseOptions(
      Split("--json sequence --count 25 --out=run.tiff --set Binning=2 --device Cam "
            "--set PixelType=RAW16 --set Name=a=b --interval 12.5 --buffer-frames 8 "
            "--buffer-mb 0 --overflow clear --adapters /opt/a --verbose --region 8,16,640,480"));
  ASSERT_TRUE(r.ok) << r.error;
  const Options& o = r.options;
  EXPECT_EQ(o.command, Command::Sequence);
  EXPECT_TRUE(o.json);
  EXPECT_TRUE(o.verbose);
  EXPECT_EQ(o.count, 25);
  EXPECT_EQ(o.out, "run.tiff");
  EXPECT_EQ(o.device, "Cam");
  EXPECT_EQ(o.adapters, "/opt/a");
  EXPECT_DOUBLE_EQ(o.intervalMs, 12.5);
  EXPECT_EQ(o.bufferFrames, 8u);
  EXPECT_EQ(o.bufferMegabytes, 0u);
  EXPECT_EQ(o.overflow, OverflowPolicy::Clear);
  ASSERT_TRUE(o.hasRegion);
  EXPECT_EQ(std::vector<unsigned>(o.region, o.region + 4), (std::vector<unsigned>{8, 16, 640, 480}));
  const std::vector<std::pair<std::string, std::string>> sets = {
      {"Binning", "2"}, {"PixelType", "RAW16"}, {"Name", "a=b"}};
  EXPECT_EQ(o.sets, sets);  // in command-line order; the value may hold '='
}

TEST(Options, DefaultsAndHelp) {
  const ParseResult snap = ParseOptions(Split("snap --out x.tiff"));
  ASSERT_TRUE(snap.ok);
  EXPECT_EQ(snap.options.overflow, OverflowPolicy::Stop);
  EXPECT_EQ(snap.options.bufferMegabytes, 512u);
  EXPECT_TRUE(snap.options.sets.empty());
  EXPECT_TRUE(ParseOptions(Split("--set A=1")).ok == false);
  EXPECT_EQ(ParseOptions(Split("--help")).options.command, Command::Help);
  EXPECT_EQ(ParseOptions(Split("props --help")).options.command, Command::Help);
  EXPECT_TRUE(ParseOptions(Split("props --set Empty=")).ok);  // an empty value is a value
}

}  // namespace
}  // namespace qv::host::cli
