// Runs the built mmgr-host against the built module and simulated SDK from a
// scratch directory (HOME points there too; the camera itself takes its
// settings directory from the user database), and reads the TIFF files it
// writes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qv::host::e2e {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  nlohmann::json Json() const;  // stdout parsed; a failed parse fails the test
};

struct TiffPage {
  unsigned width = 0, height = 0, samples = 0, bits = 0;
  std::string description;
};

// Every page of a TIFF file; empty when libtiff cannot open it.
std::vector<TiffPage> ReadTiffPages(const std::string& path);

class MmgrHostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `args` is a shell word list, e.g. "snap --out 'a b.tiff'"; --adapters is added.
  RunResult Run(const std::string& args) const;
  // Runs it in the background, sends SIGINT after `afterMs`, waits.
  RunResult RunAndInterrupt(const std::string& args, int afterMs) const;
  std::string Path(const std::string& name) const { return scratch_ + "/" + name; }

  std::string scratch_;

 private:
  RunResult Shell(const std::string& command) const;
};

}  // namespace qv::host::e2e
