// Options, named values and I/O lines of a SimCamera.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/camera_enter.h"
#include "sim/sim_camera.h"
#include "sim/status.h"

namespace qvsim {
namespace {

bool InRange(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

constexpr unsigned kLaneSubQueryCount = 0xFF000000u;
constexpr unsigned kLaneSubQueryValue = 0xFE000000u;
constexpr int kLaneWidths[] = {1, 2, 4, 8};

const char* const kGainModeNames[] = {"Sensitive", "High Fullwell Capacity", "Balance",
                                      "High Dynamic Range (HDR)"};

// Supported directions per I/O line: bit 0 input, bit 1 output.
int LineDirections(unsigned line) {
  if (line == 0) return 1;  // opto-isolated input
  if (line == 1) return 2;  // opto-isolated output
  return 3;                 // GPIO
}

struct IoRule {
  unsigned read;
  long long lo, hi;
};
constexpr IoRule kIoRules[] = {
    {3, 0, 1},  {7, 0, 1},        {9, 0, 3},        {11, 0, 20000},   {13, 0, 5},
    {15, 0, 5000000}, {19, 0, 2}, {21, 1, 65535},   {29, 0, 2},       {31, 0, 5},
    {33, 0, 1}, {35, 0, 5000000}, {37, 0, 5000000}, {39, 0, 5000000},
};

const IoRule* IoRuleFor(unsigned readCode) {
  for (const IoRule& r : kIoRules)
    if (r.read == readCode) return &r;
  return nullptr;
}

}  // namespace

int SimCamera::CorrectionIndex(const std::string& name, const char* suffix) const {
  const char* prefixes[] = {"FFC", "DFC", "FPNC"};
  for (int i = 0; i < 3; ++i)
    if (name == std::string(prefixes[i]) + suffix) return i;
  return -1;
}

// ---- options ----

// Holding a temperature costs power in proportion to the distance below
// ambient; pulling down toward the target costs extra while far from it.
int SimCamera::TecPowerLocked() {
  const double hold = 1000.0 * std::max(0.0, std::min(1.0, (250.0 - s_.tecTarget) / 750.0));
  const double pull = 300.0 * std::min(1.0, std::fabs(temperature_ - s_.tecTarget) / 100.0);
  return static_cast<int>(std::min(1000.0, hold + pull));
}

// Read-only options the camera computes; a value set through the
// configuration or QvSimSetOption replaces the computed one.
static bool Computed(unsigned option) {
  switch (option) {
    case 32: case 33: case 44: case 54: case 57: case 109: case 128: case 140: return true;
    default: return false;
  }
}

int32_t SimCamera::ReadOptionLocked(unsigned option, int* value) {
  using namespace SdkCapability;
  const ModelInfo& m = *model_;
  if (Computed(option)) {
    auto preset = s_.options.find(option);
    if (preset != s_.options.end()) {
      *value = preset->second;
      return kOk;
    }
  }
  switch (option) {
    case 32:  // TEC power now, in the unit of option 33
      if (!m.has(Cooler)) break;
      UpdateThermalLocked();
      *value = s_.options[8] ? TecPowerLocked() : 0;
      return kOk;
    case 33:  // TEC power maximum
      if (!m.has(Cooler)) break;
      *value = 1000;
      return kOk;
    case 44:
      if (!m.has(FrameRateControl)) break;
      *value = MaxFrameRateTenthsLocked();
      return kOk;
    case 45:
      if (!m.has(FrameRateControl)) break;
      *value = std::min(s_.options[45], MaxFrameRateTenthsLocked());
      return kOk;
    case 54:
      if (!m.has(Heater)) break;
      *value = static_cast<int>(m.maxHeater);
      return kOk;
    case 57:  // power consumption, mW
      if (!m.has(Usb3) && !m.has(Usb32)) break;
      *value = 2400 + (m.has(Cooler) && s_.options[8] ? 5000 : 0);
      return kOk;
    case 109:  // TEC target range: low half minimum, high half maximum (tenths)
      if (!m.has(Cooler)) break;
      *value = static_cast<int>((400u << 16) | static_cast<uint16_t>(-500));
      return kOk;
    case 126: {
      if (m.laneCount <= 1) break;
      const unsigned query = static_cast<unsigned>(*value);
      if (query == kLaneSubQueryCount) {
        *value = static_cast<int>(m.laneCount);
      } else if ((query & 0xFF000000u) == kLaneSubQueryValue) {
        const unsigned lane = query & 0x00FFFFFFu;
        if (lane >= m.laneCount || lane >= 4) return kInvalidArgument;
        *value = kLaneWidths[lane];
      } else {
        *value = s_.options[126];
      }
      return kOk;
    }
    case 128:  // voltage bias range: low half minimum, high half maximum
      if (!m.has(SdkCapability::GigE)) break;
      *value = static_cast<int>(3000u << 16);
      return kOk;
    case 140:
      if (m.maxAntiBlooming <= 1) break;
      *value = m.maxAntiBlooming;
      return kOk;
    default: {
      auto it = s_.options.find(option);
      if (it == s_.options.end()) break;
      *value = it->second;
      return kOk;
    }
  }
  return kNotImplemented;
}

int32_t SimCamera::WriteOptionLocked(unsigned option, int value) {
  using namespace SdkCapability;
  const ModelInfo& m = *model_;
  switch (option) {
    case 32: case 33: case 44: case 54: case 57: case 109: case 128: case 140:
      return kAccessDenied;  // Computed(option)
    case 31: {  // factory settings
      if (value != 0) return kInvalidArgument;
      if (streaming_) return kWrongState;
      Settings fresh = DefaultSettings();
      s_ = fresh;
      wbOncePending_ = false;
      return kOk;
    }
    default:
      break;
  }
  auto it = s_.options.find(option);
  if (it == s_.options.end()) return kNotImplemented;
  int& slot = it->second;
  bool ok = true;
  switch (option) {
    case 8:
      ok = InRange(value, 0, 1);
      if (ok) {
        UpdateThermalLocked();
        if (value == 1 && s_.fan == 0) s_.fan = 1;  // the cooler needs its fan
      }
      break;
    case 10: ok = InRange(value, 0, 2); break;
    case 25: {  // LCG, HCG, and a third level (MCG or HDR) where the sensor has one
      const bool thirdLevel = m.has(ThreeLevelConversionGain) || m.has(HdrConversionGain);
      ok = InRange(value, 0, thirdLevel ? 2 : 1);
      break;
    }
    case 11:
      ok = InRange(value, 0, 2);
      if (ok && value != slot) {
        pendingTriggers_ = 0;
        pendingPulses_ = 0;
        nextFrameDue_ = Clock::now();
        KickLocked();
      }
      break;
    case 12: ok = m.mono() ? InRange(value, 3, 4) : InRange(value, 1, 2); break;
    case 16: ok = InRange(value, 0, 3); break;
    case 23: {
      const int factor = value & 0xF;
      ok = InRange(factor, 1, 8) && (value & ~0x8F) == 0;
      if (ok && streaming_ && factor != (slot & 0xF)) return kWrongState;
      break;
    }
    case 24:
      ok = value == 0 || value == 90 || value == 180 || value == 270;
      if (ok && streaming_ && (value % 180) != (slot % 180)) return kWrongState;
      break;
    case 26: {
      const auto& list = PixelFormatListLocked();
      ok = value >= 0 && std::find(list.begin(), list.end(), static_cast<unsigned>(value)) != list.end();
      break;
    }
    case 30: ok = InRange(value & 0xFFFF, 0, 500) && (value & ~0x2FFFF) == 0; break;
    case 42: case 56: case 58: case 75: case 102: case 105: case 118: ok = InRange(value, 0, 1); break;
    case 45: ok = InRange(value, 1, MaxFrameRateTenthsLocked()); break;
    case 46: ok = InRange(value, 1, 100); break;
    case 53: ok = InRange(value, 0, 100); break;
    case 55: ok = InRange(value, 0, m.maxHeater); break;
    case 74: ok = InRange(value, 0, 99); break;
    case 86: ok = InRange(value & 0xFFFF, 0, 100) && InRange((static_cast<unsigned>(value) >> 16), 0, 100); break;
    case 87: ok = InRange(static_cast<unsigned>(value) >> 16, 1, 25500); break;
    case 88: ok = InRange(value, 0, 4094); break;
    case 108:
      ok = value == 0 || InRange(value, 100, 600000);
      if (ok && value != 0 && slot == 0) {
        nextWbDue_ = Clock::now();
        KickLocked();
      }
      break;
    case 110: ok = InRange(value, 0, m.maxCds); break;
    case 126: ok = InRange(value, 0, static_cast<long long>(m.laneCount) - 1); break;
    case 127: ok = InRange(value, 0, 3000); break;
    case 139: ok = InRange(value, 0, m.maxAntiBlooming); break;
    default: break;
  }
  if (!ok) return kInvalidArgument;
  slot = value;
  return kOk;
}

int32_t SimCamera::PutOption(unsigned option, int value) {
  QV_ENTER(Call("PutOption", option, value), "PutOption", std::to_string(option));
  qv::MutexLock lock(mu_);
  return WriteOptionLocked(option, value);
}

int32_t SimCamera::GetOption(unsigned option, int* value) {
  QV_ENTER(Call("GetOption", option), "GetOption", std::to_string(option));
  if (value == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  return ReadOptionLocked(option, value);
}

int32_t SimCamera::PeekOption(unsigned option, int* value) {
  qv::MutexLock lock(mu_);
  return ReadOptionLocked(option, value);
}

int32_t SimCamera::PokeOption(unsigned option, int value) {
  qv::MutexLock lock(mu_);
  s_.options[option] = value;
  return kOk;
}

// ---- named values ----

int32_t SimCamera::ReadNamedLocked(const std::string& name, int* value) {
  if (name == "PixelFormat") {
    *value = static_cast<int>(PixelFormatLocked());
    return kOk;
  }
  int c = CorrectionIndex(name, "Enable");
  if (c >= 0) {
    *value = s_.corrections[c].enabled ? 1 : 0;
    return kOk;
  }
  c = CorrectionIndex(name, "Status");
  if (c >= 0) {
    const Correction& k = s_.corrections[c];
    const int state = k.enabled ? 1 : (k.initialised ? 2 : 0);
    *value = state | (k.target ? static_cast<int>((k.done << 8) | (k.target << 16)) : 0);
    return kOk;
  }
  auto it = s_.named.find(name);
  if (it == s_.named.end()) return kNotImplemented;
  *value = it->second;
  return kOk;
}

int32_t SimCamera::WriteNamedLocked(const std::string& name, int value) {
  if (name == "PixelFormat") return WriteOptionLocked(26, value);
  int c = CorrectionIndex(name, "Enable");
  if (c >= 0) {
    if (!InRange(value, 0, 1)) return kInvalidArgument;
    s_.corrections[c].enabled = value != 0;
    return kOk;
  }
  c = CorrectionIndex(name, "Init");
  if (c >= 0) {
    if (!InRange(value, 1, 255)) return kInvalidArgument;
    Correction& k = s_.corrections[c];
    k.target = static_cast<unsigned>(value);
    k.done = 0;
    k.initialised = false;
    return kOk;
  }
  if (CorrectionIndex(name, "Status") >= 0) return kAccessDenied;
  if (name == "GainMode" && s_.named.count("GainMode")) {
    const int highest = model_->has(SdkCapability::HdrConversionGain) ? 3 : 2;
    if (!InRange(value, 0, highest)) return kInvalidArgument;
    s_.named["GainMode"] = value;
    // Keep the pixel format when the new mode offers it, else take the first.
    const auto& list = PixelFormatListLocked();
    if (std::find(list.begin(), list.end(), PixelFormatLocked()) == list.end())
      s_.options[26] = static_cast<int>(list.front());
    return kOk;
  }
  auto it = s_.named.find(name);
  if (it == s_.named.end()) return kNotImplemented;
  it->second = value;
  return kOk;
}

int32_t SimCamera::SetNamedValue(const char* name, int value) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("SetNamedValue", n, value), "SetNamedValue", n);
  qv::MutexLock lock(mu_);
  return WriteNamedLocked(n, value);
}

int32_t SimCamera::GetNamedValue(const char* name, int* value) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("GetNamedValue", n), "GetNamedValue", n);
  if (value == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  return ReadNamedLocked(n, value);
}

int32_t SimCamera::GetNamedValueText(const char* name, char text[128]) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("GetNamedValueText", n), "GetNamedValueText", n);
  if (text == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  const char* value = nullptr;
  if (n == "PixelFormat") {
    value = PixelFormatAt(PixelFormatLocked()).name;
  } else if (n == "GainMode" && s_.named.count("GainMode")) {
    value = kGainModeNames[s_.named["GainMode"] & 3];
  } else {
    return kNotImplemented;
  }
  std::memset(text, 0, 128);
  std::strncpy(text, value, 127);
  return kOk;
}

int32_t SimCamera::ListNamedValues(const char* name, int* count, int reserved, const char* names[128]) {
  const std::string n = name ? name : "";
  QV_ENTER(Call("ListNamedValues", n, reserved), "ListNamedValues", n);
  if (count == nullptr || names == nullptr) return kPointer;
  qv::MutexLock lock(mu_);
  std::vector<const char*> list;
  if (n == "PixelFormat") {
    for (unsigned f : PixelFormatListLocked()) list.push_back(PixelFormatAt(f).name);
  } else if (n == "GainMode" && s_.named.count("GainMode")) {
    const int modes = model_->has(SdkCapability::HdrConversionGain) ? 4 : 3;
    for (int i = 0; i < modes; ++i) list.push_back(kGainModeNames[i]);
  } else {
    return kNotImplemented;
  }
  const size_t filled = std::min<size_t>(list.size(), 128);
  for (size_t i = 0; i < filled; ++i) names[i] = list[i];
  if (filled < 128) names[filled] = nullptr;
  *count = static_cast<int>(filled);
  return kOk;
}

int32_t SimCamera::PeekNamedValue(const char* name, int* value) {
  qv::MutexLock lock(mu_);
  return ReadNamedLocked(name ? name : "", value);
}

int32_t SimCamera::PokeNamedValue(const char* name, int value) {
  qv::MutexLock lock(mu_);
  return WriteNamedLocked(name ? name : "", value);
}

// ---- I/O lines ----

int32_t SimCamera::IoLocked(unsigned line, unsigned request, int input, int* output) {
  if (line >= s_.io.size()) return kInvalidArgument;
  auto& io = s_.io[line];
  if (request == 1) {  // supported directions
    if (output == nullptr) return kPointer;
    *output = LineDirections(line);
    return kOk;
  }
  if (request == 23) {  // counter now
    if (output == nullptr) return kPointer;
    *output = io[23];
    return kOk;
  }
  if (request == 24) {  // counter reset
    io[23] = 0;
    return kOk;
  }
  const bool write = (request % 2) == 0;
  const IoRule* rule = IoRuleFor(write ? request - 1 : request);
  if (rule == nullptr) return kNotImplemented;
  if (!write) {
    if (output == nullptr) return kPointer;
    *output = io[rule->read];
    return kOk;
  }
  if (!InRange(input, rule->lo, rule->hi)) return kInvalidArgument;
  if (rule->read == 3 && LineDirections(line) != 3) return kWrongState;  // fixed direction
  io[rule->read] = input;
  return kOk;
}

int32_t SimCamera::IoControl(unsigned line, unsigned request, int input, int* output) {
  QV_ENTER(Call("IoControl", line, request, input), "IoControl", std::to_string(request));
  qv::MutexLock lock(mu_);
  return IoLocked(line, request, input, output);
}

int32_t SimCamera::PeekIo(unsigned line, unsigned request, int* value) {
  qv::MutexLock lock(mu_);
  if (line >= s_.io.size()) return kInvalidArgument;
  if (request == 1) {
    *value = LineDirections(line);
    return kOk;
  }
  auto it = s_.io[line].find(request % 2 == 0 ? request - 1 : request);
  if (it == s_.io[line].end()) return kNotImplemented;
  *value = it->second;
  return kOk;
}

int32_t SimCamera::PokeIo(unsigned line, unsigned request, int value) {
  qv::MutexLock lock(mu_);
  if (line >= s_.io.size()) return kInvalidArgument;
  s_.io[line][request % 2 == 0 ? request - 1 : request] = value;
  return kOk;
}

}  // namespace qvsim
