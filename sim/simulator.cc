#include "sim/simulator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "sim/sim_camera.h"
#include "sim/status.h"

namespace qvsim {
namespace {

void CopyText(char* dst, size_t size, const std::string& src) {
  std::strncpy(dst, src.c_str(), size - 1);
  dst[size - 1] = '\0';
}

// "@<id>;ini=<path>" -> id; a text without the at sign is taken as the id.
std::string IdOfOpenText(const char* text) {
  std::string s = text;
  if (!s.empty() && s[0] == '@') s.erase(0, 1);
  return s.substr(0, s.find(';'));
}

}  // namespace

Simulator& Simulator::Instance() {
  static Simulator* instance = new Simulator();  // never destroyed: SDK threads may outlive exit
  return *instance;
}

namespace {
bool HasConfiguredFaults(const Config& config) {
  for (const auto* list : {&config.cameras, &config.gigeCameras})
    for (const CameraConfig& c : *list)
      if (!c.faults.empty()) return true;
  return false;
}
}  // namespace

void Simulator::EnsureConfigured() {
  if (configured_) return;
  config_ = ConfigFromEnvironment();
  configFaults_ = HasConfiguredFaults(config_);
  configured_ = true;
}

Config Simulator::CurrentConfig() {
  qv::MutexLock lock(mu_);
  EnsureConfigured();
  return config_;
}

bool Simulator::Configure(const std::string& json, std::string* error) {
  Config parsed;
  if (!ParseConfig(json, &parsed, error)) return false;
  qv::MutexLock lock(mu_);
  config_ = std::move(parsed);
  configFaults_ = HasConfiguredFaults(config_);
  configured_ = true;
  counters_.gigeEnabled = false;
  return true;
}

void Simulator::Reset() {
  qv::MutexLock lock(mu_);
  configured_ = false;
  logNext_ = logCount_ = 0;
  faults_.clear();
  Counters fresh;
  counters_ = fresh;
}

std::vector<CameraConfig> Simulator::EnumerableCameras() {
  EnsureConfigured();
  std::vector<CameraConfig> list = config_.cameras;
  if (counters_.gigeEnabled)
    list.insert(list.end(), config_.gigeCameras.begin(), config_.gigeCameras.end());
  // A count beyond the configured cameras is filled with synthesized ones so
  // that every record the array can hold is a real, openable camera.
  if (config_.hasCount) {
    const auto& models = BuiltInModels();
    for (size_t i = list.size(); i < MaxCameras && static_cast<long long>(i) < config_.count; ++i) {
      CameraConfig c;
      c.model = models[i % models.size()];
      c.id = "qvsim-x" + std::to_string(i + 1);
      c.displayName = c.model->name + " #" + std::to_string(i + 1);
      list.push_back(c);
    }
  }
  return list;
}

unsigned Simulator::Enumerate(SdkDeviceEntry* entries) {
  qv::MutexLock lock(mu_);
  ++counters_.enumerations;
  const std::vector<CameraConfig> list = EnumerableCameras();
  const size_t written = std::min<size_t>(list.size(), MaxCameras);
  for (size_t i = 0; i < written && entries != nullptr; ++i) {
    CopyText(entries[i].displayName, sizeof entries[i].displayName, list[i].displayName);
    CopyText(entries[i].id, sizeof entries[i].id, list[i].id);
    entries[i].model = &list[i].model->record;
  }
  if (config_.hasCount) return static_cast<unsigned>(config_.count);
  return static_cast<unsigned>(written);
}

int Simulator::GigeEnable() {
  qv::MutexLock lock(mu_);
  EnsureConfigured();
  if (config_.gigeResult == 0) counters_.gigeEnabled = true;
  return config_.gigeResult;
}

int Simulator::DefaultAutoExposure(int, unsigned short* value) {
  qv::MutexLock lock(mu_);
  EnsureConfigured();
  if (config_.defAeResult >= 0 && value != nullptr) *value = config_.defAeValue;
  return config_.defAeResult;
}

void Simulator::SetAppName(const char* name) {
  qv::MutexLock lock(mu_);
  counters_.appName = name ? name : "";
}

SdkCamera* Simulator::Open(const char* openText) {
  CameraConfig chosen;
  {
    qv::MutexLock lock(mu_);
    counters_.lastOpenText = openText ? openText : "";
    const std::string id = openText ? IdOfOpenText(openText) : "";
    bool found = false;
    for (const CameraConfig& c : EnumerableCameras())
      if (c.id == id) {
        chosen = c;
        found = true;
        break;
      }
    // One open object per camera id: a second open of a camera that is still
    // open fails, as a camera in exclusive use would.
    for (SimCamera* camera : cameras_)
      if (camera->id() == id && !camera->closed()) found = false;
    if (!found) {
      ++counters_.failedOpens;
      return nullptr;
    }
    chosen.persistSettings = config_.persistSettings;
    ++counters_.opens;
  }
  auto* camera = new SimCamera(chosen, openText);
  static const int registered = std::atexit([] { Simulator::Instance().StopAllStreams(); });
  (void)registered;
  qv::MutexLock lock(mu_);
  cameras_.push_back(camera);
  return camera;
}

// Registered at the first open, so it runs before the static data of every
// library loaded earlier (the module) is destroyed: a host that exits with a
// camera still streaming gets no event callback into destroyed objects.
void Simulator::StopAllStreams() {
  std::vector<SimCamera*> cameras;
  {
    qv::MutexLock lock(mu_);
    cameras = cameras_;
  }
  for (SimCamera* camera : cameras) camera->StopAtExit();
}

void Simulator::CameraClosed(SimCamera*) {
  qv::MutexLock lock(mu_);
  ++counters_.closes;
}

SimCamera* Simulator::FindCamera(const char* id) {
  qv::MutexLock lock(mu_);
  const bool any = id == nullptr || *id == '\0';
  SimCamera* fallback = nullptr;
  for (auto it = cameras_.rbegin(); it != cameras_.rend(); ++it) {
    if (!any && (*it)->id() != id) continue;
    if (!(*it)->closed()) return *it;
    if (fallback == nullptr) fallback = *it;
  }
  return fallback;
}

void Simulator::Log(const std::string& cameraId, const CallText& line) {
  qv::MutexLock lock(mu_);
  EnsureConfigured();
  if (!config_.callLog) return;
  if (!logFileChecked_) {
    logFileChecked_ = true;
    const char* path = std::getenv("QUORVEX_SIM_LOG");
    if (path != nullptr && *path != '\0') logFile_ = std::fopen(path, "a");
  }
  if (logFile_ != nullptr) {
    std::fprintf(logFile_, "%s %s\n", cameraId.empty() ? "-" : cameraId.c_str(), line.text);
    std::fflush(logFile_);
  }
  if (!log_) log_.reset(new LogSlot[kLogSlots]);
  LogSlot& slot = log_[logNext_];
  CopyText(slot.camera, sizeof slot.camera, cameraId);
  slot.line = line;
  logNext_ = (logNext_ + 1) % kLogSlots;
  logCount_ = std::min(logCount_ + 1, kLogSlots);
}

template <typename Visit>
void Simulator::ForEachLogLine(const char* cameraId, Visit visit) {
  const bool any = cameraId == nullptr || *cameraId == '\0';
  const size_t first = (logNext_ + kLogSlots - logCount_) % kLogSlots;
  for (size_t i = 0; i < logCount_; ++i) {
    const LogSlot& slot = log_[(first + i) % kLogSlots];
    if (any || std::strcmp(slot.camera, cameraId) == 0) visit(slot.line);
  }
}

std::string Simulator::LogText(const char* cameraId) {
  qv::MutexLock lock(mu_);
  std::string text;
  ForEachLogLine(cameraId, [&](const CallText& line) {
    text.append(line.text, line.length);
    text += '\n';
  });
  return text;
}

int Simulator::CountCalls(const char* cameraId, const char* prefix) {
  qv::MutexLock lock(mu_);
  const size_t n = prefix ? std::strlen(prefix) : 0;
  int count = 0;
  ForEachLogLine(cameraId, [&](const CallText& line) {
    if (std::strncmp(line.text, prefix ? prefix : "", n) == 0) ++count;
  });
  return count;
}

void Simulator::ClearLog() {
  qv::MutexLock lock(mu_);
  logNext_ = logCount_ = 0;
}

void Simulator::SetFault(const std::string& cameraId, const std::string& key, int32_t status,
                         int times) {
  qv::MutexLock lock(mu_);
  if (times == 0) {
    faults_.erase({cameraId, key});
    return;
  }
  faults_[{cameraId, key}] = {status, times};
}

void Simulator::ClearFaults() {
  qv::MutexLock lock(mu_);
  faults_.clear();
}

bool Simulator::Fault(const std::string& cameraId, const char* op, const std::string& selector,
                      int32_t* status) {
  qv::MutexLock lock(mu_);
  EnsureConfigured();
  if (faults_.empty() && !configFaults_) return false;  // the common case, allocation-free
  std::string keys[2] = {std::string(op) + ":" + selector, op};
  const size_t keyCount = selector.empty() ? 1 : 2;
  const std::string* ordered = selector.empty() ? &keys[1] : &keys[0];
  for (size_t k = 0; k < keyCount; ++k) {
    const std::string& key = ordered[k];
    for (const std::string& who : {cameraId, std::string()}) {
      auto it = faults_.find({who, key});
      if (it == faults_.end()) continue;
      *status = it->second.status;
      if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
      return true;
    }
    for (const std::vector<CameraConfig>* list : {&config_.cameras, &config_.gigeCameras}) {
      for (const CameraConfig& c : *list) {
        if (c.id != cameraId) continue;
        auto it = c.faults.find(key);
        if (it == c.faults.end()) continue;
        *status = it->second;
        return true;
      }
    }
  }
  return false;
}

Simulator::Counters Simulator::GetCounters() {
  qv::MutexLock lock(mu_);
  return counters_;
}

void Simulator::CountCallAfterClose() {
  qv::MutexLock lock(mu_);
  ++counters_.callsAfterClose;
}

}  // namespace qvsim
