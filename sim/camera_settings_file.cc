// The per-model settings file of a SimCamera: what a real camera's SDK keeps
// between sessions. Read when the camera is opened and written when it is
// closed, only when the configuration sets "persistSettings" (tests stay
// hermetic otherwise). A missing or broken file is ignored.
#include <fstream>

#include <nlohmann/json.hpp>

#include "sim/sim_camera.h"

namespace qvsim {
namespace {

// Options that describe the session rather than the camera's set-up.
bool Persisted(unsigned option) { return option != 11 && option != 31; }

}  // namespace

std::string SimCamera::SettingsFilePath() const {
  const std::string key = ";ini=";
  const size_t at = openText_.find(key);
  return at == std::string::npos ? std::string() : openText_.substr(at + key.size());
}

void SimCamera::SaveSettingsFile() {
  const std::string path = SettingsFilePath();
  if (path.empty()) return;
  nlohmann::json j;
  j["model"] = model_->name;
  j["resolutionIndex"] = s_.resolutionIndex;
  j["exposureUs"] = s_.exposureUs;
  j["gain"] = s_.gain;
  j["autoExposure"] = s_.autoExposure;
  j["aeTarget"] = s_.aeTarget;
  j["wbGain"] = s_.wbGain;
  j["hue"] = s_.hue;
  j["saturation"] = s_.saturation;
  j["brightness"] = s_.brightness;
  j["contrast"] = s_.contrast;
  j["gamma"] = s_.gamma;
  j["speed"] = s_.speed;
  j["fan"] = s_.fan;
  j["tecTarget"] = s_.tecTarget;
  for (const auto& [option, value] : s_.options)
    if (Persisted(option)) j["options"][std::to_string(option)] = value;
  j["named"] = s_.named;
  j["parameters"] = s_.parameters;
  std::ofstream(path) << j.dump(2) << '\n';
}

void SimCamera::LoadSettingsFile() {
  const std::string path = SettingsFilePath();
  std::ifstream in(path);
  if (path.empty() || !in) return;
  try {
    const nlohmann::json j = nlohmann::json::parse(in);
    if (j.value("model", std::string()) != model_->name) return;
    Settings s = s_;
    s.resolutionIndex = std::min(j.value("resolutionIndex", 0u), model_->record.resolutionCount - 1);
    s.exposureUs = j.value("exposureUs", s.exposureUs);
    s.gain = j.value("gain", s.gain);
    s.autoExposure = j.value("autoExposure", s.autoExposure);
    s.aeTarget = j.value("aeTarget", s.aeTarget);
    s.wbGain = j.value("wbGain", s.wbGain);
    s.hue = j.value("hue", s.hue);
    s.saturation = j.value("saturation", s.saturation);
    s.brightness = j.value("brightness", s.brightness);
    s.contrast = j.value("contrast", s.contrast);
    s.gamma = j.value("gamma", s.gamma);
    s.speed = j.value("speed", s.speed);
    s.fan = j.value("fan", s.fan);
    s.tecTarget = j.value("tecTarget", s.tecTarget);
    if (j.contains("options"))
      for (auto it = j["options"].begin(); it != j["options"].end(); ++it) {
        const unsigned option = static_cast<unsigned>(std::stoul(it.key()));
        if (Persisted(option) && s.options.count(option)) s.options[option] = it.value().get<int>();
      }
    for (const char* field : {"named", "parameters"}) {
      if (!j.contains(field)) continue;
      auto& target = std::string(field) == "named" ? s.named : s.parameters;
      for (auto it = j[field].begin(); it != j[field].end(); ++it)
        if (target.count(it.key())) target[it.key()] = it.value().get<int>();
    }
    s_ = s;
  } catch (const std::exception&) {
    // A broken file is a camera without saved settings.
  }
}

}  // namespace qvsim
