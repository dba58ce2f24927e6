#include "sim/config.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace qvsim {
namespace {

using nlohmann::json;

// Integers may be given as numbers or as texts ("0x82", "-500").
long long ToInteger(const json& v) {
  if (v.is_number_integer() || v.is_number_unsigned()) return v.get<long long>();
  if (v.is_number_float()) return static_cast<long long>(v.get<double>());
  if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
  if (v.is_string()) {
    const std::string s = v.get<std::string>();
    size_t used = 0;
    long long n = std::stoll(s, &used, 0);
    if (used != s.size()) throw std::invalid_argument("not an integer: " + s);
    return n;
  }
  throw std::invalid_argument("not an integer: " + v.dump());
}

template <typename Key>
void ReadIntMap(const json& j, const char* field, std::map<Key, int>* out);

template <>
void ReadIntMap(const json& j, const char* field, std::map<std::string, int>* out) {
  if (!j.contains(field)) return;
  for (auto it = j.at(field).begin(); it != j.at(field).end(); ++it)
    (*out)[it.key()] = static_cast<int>(ToInteger(it.value()));
}

template <>
void ReadIntMap(const json& j, const char* field, std::map<unsigned, int>* out) {
  if (!j.contains(field)) return;
  for (auto it = j.at(field).begin(); it != j.at(field).end(); ++it)
    (*out)[static_cast<unsigned>(std::stoul(it.key(), nullptr, 0))] =
        static_cast<int>(ToInteger(it.value()));
}

// Changes the record of a configured model: {"name", "capabilities",
// "addCapabilities", "removeCapabilities", "maxSpeed", "maxFanSpeed",
// "ioLineCount", "pixelSize", "resolutions": [[w, h], ...]}.
const ModelInfo* OverrideModel(const ModelInfo* base, const json& o) {
  ModelInfo* m = CopyModel(*base);
  if (o.contains("name")) m->name = o.at("name").get<std::string>();
  m->record.modelName = m->name.c_str();
  SdkModel& r = m->record;
  if (o.contains("capabilities")) r.capabilities = static_cast<uint64_t>(ToInteger(o.at("capabilities")));
  if (o.contains("addCapabilities"))
    for (const json& b : o.at("addCapabilities")) r.capabilities |= uint64_t{1} << ToInteger(b);
  if (o.contains("removeCapabilities"))
    for (const json& b : o.at("removeCapabilities")) r.capabilities &= ~(uint64_t{1} << ToInteger(b));
  if (o.contains("maxSpeed")) r.maxSpeed = static_cast<uint32_t>(ToInteger(o.at("maxSpeed")));
  if (o.contains("maxFanSpeed")) r.maxFanSpeed = static_cast<uint32_t>(ToInteger(o.at("maxFanSpeed")));
  if (o.contains("ioLineCount")) r.ioLineCount = static_cast<uint32_t>(ToInteger(o.at("ioLineCount")));
  if (o.contains("pixelSize")) r.pixelSize = o.at("pixelSize").get<float>();
  if (o.contains("resolutions")) {
    const json& list = o.at("resolutions");
    if (list.empty() || list.size() > 16) throw std::invalid_argument("resolutions: 1 to 16 entries");
    r.resolutionCount = 0;
    for (const json& e : list) {
      r.resolutions[r.resolutionCount++] = {static_cast<uint32_t>(ToInteger(e.at(0))),
                                            static_cast<uint32_t>(ToInteger(e.at(1)))};
    }
  }
  return m;
}

CameraConfig ReadCamera(const json& j, size_t index) {
  CameraConfig c;
  const std::string modelName =
      j.value("model", BuiltInModels().front()->name);
  c.model = FindModel(modelName);
  if (c.model == nullptr) throw std::invalid_argument("unknown model: " + modelName);
  if (j.contains("modelOverrides")) c.model = OverrideModel(c.model, j.at("modelOverrides"));
  c.displayName = j.value("displayName", c.model->name);
  c.id = j.value("id", "qvsim-" + std::to_string(index + 1));
  ReadIntMap(j, "options", &c.options);
  ReadIntMap(j, "namedValues", &c.namedValues);
  ReadIntMap(j, "parameters", &c.parameters);
  ReadIntMap(j, "capabilities", &c.capabilities);
  ReadIntMap(j, "faults", &c.faults);
  for (const char* key : {"serial", "firmware", "hardware", "fpga", "productionDate"})
    if (j.contains(key)) c.texts[key] = j.at(key).get<std::string>();
  return c;
}

std::vector<CameraConfig> ReadCameras(const json& list, size_t firstIndex) {
  std::vector<CameraConfig> cameras;
  for (size_t i = 0; i < list.size(); ++i) cameras.push_back(ReadCamera(list.at(i), firstIndex + i));
  return cameras;
}

}  // namespace

Config DefaultConfig() {
  Config config;
  const auto& models = BuiltInModels();
  for (size_t i = 0; i < models.size(); ++i) {
    CameraConfig c;
    c.model = models[i];
    c.displayName = models[i]->name;
    c.id = "qvsim-" + std::to_string(i + 1);
    config.cameras.push_back(c);
  }
  return config;
}

bool ParseConfig(const std::string& text, Config* config, std::string* error) {
  try {
    const json j = json::parse(text);
    if (!j.is_object()) throw std::invalid_argument("configuration must be a JSON object");
    Config c = DefaultConfig();
    if (j.contains("cameras")) c.cameras = ReadCameras(j.at("cameras"), 0);
    if (j.contains("gige")) {
      const json& g = j.at("gige");
      c.gigeResult = static_cast<int>(ToInteger(g.value("result", json(0))));
      if (g.contains("cameras")) c.gigeCameras = ReadCameras(g.at("cameras"), c.cameras.size());
    }
    if (j.contains("count")) {
      c.hasCount = true;
      c.count = ToInteger(j.at("count"));
    }
    c.persistSettings = j.value("persistSettings", false);
    c.callLog = j.value("callLog", true);
    if (j.contains("defAE")) {
      const json& d = j.at("defAE");
      c.defAeResult = static_cast<int>(ToInteger(d.value("result", json(0))));
      c.defAeValue = static_cast<unsigned short>(ToInteger(d.value("value", json(160))));
    }
    *config = std::move(c);
    return true;
  } catch (const std::exception& e) {
    if (error != nullptr) *error = e.what();
    return false;
  }
}

Config ConfigFromEnvironment() {
  const char* value = std::getenv("QUORVEX_SIM_CONFIG");
  if (value == nullptr || *value == '\0') return DefaultConfig();
  std::string text = value;
  if (text[0] != '{') {
    std::ifstream file(text);
    if (!file) {
      std::fprintf(stderr, "Quorvex simulator: cannot read QUORVEX_SIM_CONFIG file %s\n", value);
      return DefaultConfig();
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
  }
  Config config;
  std::string error;
  if (!ParseConfig(text, &config, &error)) {
    std::fprintf(stderr, "Quorvex simulator: ignoring QUORVEX_SIM_CONFIG: %s\n", error.c_str());
    return DefaultConfig();
  }
  return config;
}

}  // namespace qvsim
