// Configuration of the simulator: which cameras exist, what the GigE
// discovery finds, per-camera initial state and fault switches.
//
// Read from QUORVEX_SIM_CONFIG (JSON text starting with '{', or the path of a
// JSON file) when first needed, or replaced through QvSimConfigure. A parsed
// Config is a plain value; the Simulator guards the current one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sim/catalogue.h"

namespace qvsim {

struct CameraConfig {
  std::string displayName;
  std::string id;
  const ModelInfo* model = nullptr;
  std::map<unsigned, int> options;            // initial option values
  std::map<std::string, int> namedValues;     // initial named values
  std::map<std::string, int> parameters;      // initial parameters
  std::map<std::string, int> capabilities;    // QueryCapability answers replacing the model's
  std::map<std::string, std::string> texts;   // "serial", "firmware", "hardware", "fpga", "productionDate"
  std::map<std::string, int> faults;          // fault key -> status (see README)
  bool persistSettings = false;               // copied from Config at open
};

struct Config {
  std::vector<CameraConfig> cameras;
  int gigeResult = -1;                 // DllGigeEnable's answer
  std::vector<CameraConfig> gigeCameras;  // enumerated after a successful DllGigeEnable
  bool hasCount = false;
  long long count = 0;                 // DllEnumCamera's answer when hasCount
  int defAeResult = 0;                 // DllGetDefAE
  unsigned short defAeValue = 160;
  bool persistSettings = false;        // read/write the open text's ini file
  bool callLog = true;                 // false: nothing is logged
};

// The configuration used when nothing is configured: one camera per built-in
// model, the cooled monochrome camera first.
Config DefaultConfig();

// Parses JSON text. Returns false (and leaves *config alone) on malformed
// input or an unknown model name; *error says why.
bool ParseConfig(const std::string& json, Config* config, std::string* error);

// Reads QUORVEX_SIM_CONFIG: unset or empty gives DefaultConfig(); a value
// starting with '{' is JSON text, anything else a file path. A broken
// configuration is reported on stderr and gives DefaultConfig().
Config ConfigFromEnvironment();

}  // namespace qvsim
