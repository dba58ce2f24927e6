#include "tests/host/e2e_fixture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qv::host::e2e {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

nlohmann::json RunResult::Json() const {
  const nlohmann::json parsed = nlohmann::json::parse(out, nullptr, false);
  EXPECT_FALSE(parsed.is_discarded()) << "stdout is not JSON:\n" << out;
  return parsed;
}

std::vector<TiffPage> ReadTiffPages(const std::string& path) {
  std::vector<TiffPage> pages;
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return pages;
  do {
    TiffPage page;
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0;
    char* description = nullptr;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    if (TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description)) page.description = description;
    page.width = width;
    page.height = height;
    page.samples = samples;
    page.bits = bits;
    pages.push_back(page);
  } while (TIFFReadDirectory(tiff));
  TIFFClose(tiff);
  return pages;
}

void MmgrHostTest::SetUp() {
  if (!Exists(std::string(QUORVEX_ADAPTER_DIR) + "/libQuorvex.so")) {
    GTEST_SKIP() << "the simulated SDK is not built in " << QUORVEX_ADAPTER_DIR;
  }
  char name[] = "/tmp/mmgr_host_e2e_XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  scratch_ = name;
}

void MmgrHostTest::TearDown() {
  if (!scratch_.empty()) std::system(("rm -rf '" + scratch_ + "'").c_str());
}

RunResult MmgrHostTest::Shell(const std::string& command) const {
  const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
  const std::string line = "export HOME='" + scratch_ + "'; unset QUORVEX_SIM_CONFIG; { " +
                           command + "; } >'" + out + "' 2>'" + err + "'";
  const int status = std::system(line.c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

RunResult MmgrHostTest::Run(const std::string& args) const {
  return Shell(std::string(MMGR_HOST_PATH) + " --adapters " + QUORVEX_ADAPTER_DIR + " " + args);
}

RunResult MmgrHostTest::RunAndInterrupt(const std::string& args, int afterMs) const {
  // The exit status of the shell is mmgr-host's, through wait.
  const std::string program =
      std::string(MMGR_HOST_PATH) + " --adapters " + QUORVEX_ADAPTER_DIR + " " + args;
  char delay[32];
  std::snprintf(delay, sizeof delay, "%.3f", afterMs / 1000.0);
  return Shell(program + " & pid=$!; sleep " + delay + "; kill -INT $pid; wait $pid");
}

}  // namespace qv::host::e2e
