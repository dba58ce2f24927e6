// Correction and HDR handlers of the Camera: flat-field, dark-field and
// fixed-pattern-noise correction (enable, status, frame count, init), the
// dynamic defect thresholds and the HDR combination parameters.
//
// The three correction families share three bodies, each given the family's
// SDK name or prefix ("FFC", "DFC", "FPNC"). Option 86 packs the hot (low
// half) and dead (high half) thresholds x 100; option 87 packs B (low half)
// and K (high half). A write of one half keeps the other as the SDK holds it.
#include <cstdint>
#include <string>

#include <boost/format.hpp>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"
#include "framework/value_text.h"

using controls::IsApply;
using controls::IsRefresh;
using MM::value_text::TruncateToLong;

namespace {

// Halves of a packed option word.
enum class Half { Low, High };

uint32_t HalfOf(int word, Half half) {
  const uint32_t bits = static_cast<uint32_t>(word);
  return half == Half::Low ? (bits & 0xFFFFu) : (bits >> 16);
}

int WithHalf(int word, Half half, long value) {
  const uint32_t bits = static_cast<uint32_t>(word);
  const uint32_t part = static_cast<uint32_t>(value) & 0xFFFFu;
  return static_cast<int>(half == Half::Low ? ((bits & 0xFFFF0000u) | part)
                                            : ((bits & 0x0000FFFFu) | (part << 16)));
}

// Option 86's pre-set: 0.90 in both halves.
constexpr int kDefectPreset = (90 << 16) | 90;
constexpr double kDefectDefault = 0.9;

// The status word's state text; the system's own spelling "Eanble" stays.
const char* CorrectionStateText(int state) {
  return state == 1 ? "Eanble" : state == 2 ? "Inited" : "NA";
}

int DefectThreshold(Camera& camera, Half half, MM::PropertyBase* prop, MM::ActionKind kind) {
  int word = kDefectPreset;
  if (IsRefresh(kind)) {
    camera.sdk->GetOption(86, &word);
    prop->Set(HalfOf(word, half) / 100.0);
  } else if (IsApply(kind)) {
    double threshold = kDefectDefault;
    if (!prop->Get(threshold)) return 0;
    camera.sdk->GetOption(86, &word);
    camera.sdk->PutOption(86, WithHalf(word, half, TruncateToLong(threshold * 100.0)));
  }
  return 0;
}

int HdrHalf(Camera& camera, Half half, MM::PropertyBase* prop, MM::ActionKind kind) {
  int word = 0;
  if (IsRefresh(kind)) {
    camera.sdk->GetOption(87, &word);
    prop->Set(static_cast<long>(HalfOf(word, half)));
  } else if (IsApply(kind)) {
    long value = 0;
    if (!prop->Get(value)) return 0;
    camera.sdk->GetOption(87, &word);
    camera.sdk->PutOption(87, WithHalf(word, half, value));
  }
  return 0;
}

}  // namespace

// ---- shared bodies of the three families -------------------------------------------

int Camera::NamedSwitch(const char* name, MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    sdk->GetNamedValue(name, &value);
    controls::StoreFlag(*this, prop, value, onOffValues);
  } else if (IsApply(kind)) {
    const int position = IndexOfValue(prop, onOffValues);
    if (position >= 0) sdk->SetNamedValue(name, position);
  }
  return 0;
}

// Bits 0-7 the state; bits 8-15 and 16-23 two progress counts, shown only
// while the second is non-zero. An unreadable status leaves the text as is.
int Camera::StatusText(const char* name, MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk() || !IsRefresh(kind)) return 0;
  int status = 0;
  if (sdk->GetNamedValue(name, &status) < 0) return 0;
  const uint32_t bits = static_cast<uint32_t>(status);
  const char* state = CorrectionStateText(static_cast<int>(bits & 0xFFu));
  const unsigned first = (bits >> 8) & 0xFFu;
  const unsigned second = (bits >> 16) & 0xFFu;
  if (second == 0) {
    prop->Set(state);
  } else {
    prop->Set((boost::format("%s; %u/%u") % state % first % second).str().c_str());
  }
  return 0;
}

// A push button: any write starts building the correction from the frame
// count of the family's "Number" property; reads show "-----" again.
int Camera::StartCorrectionInit(const char* prefix, MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    prop->Set("-----");
  } else if (IsApply(kind)) {
    std::string count;
    if (GetPropertyText(std::string(prefix) + "Number", count) != DeviceError::Ok) return 0;
    sdk->SetNamedValue((std::string(prefix) + "Init").c_str(),
                       static_cast<int>(controls::ParseDecimal(count)));
  }
  return 0;
}

// ---- corrections ------------------------------------------------------------------------

int Camera::OnFfcEnable(MM::PropertyBase* prop, MM::ActionKind kind) {
  return NamedSwitch("FFCEnable", prop, kind);
}
int Camera::OnDfcEnable(MM::PropertyBase* prop, MM::ActionKind kind) {
  return NamedSwitch("DFCEnable", prop, kind);
}
int Camera::OnFpncEnable(MM::PropertyBase* prop, MM::ActionKind kind) {
  return NamedSwitch("FPNCEnable", prop, kind);
}
int Camera::OnFfcStatus(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StatusText("FFCStatus", prop, kind);
}
int Camera::OnDfcStatus(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StatusText("DFCStatus", prop, kind);
}
int Camera::OnFpncStatus(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StatusText("FPNCStatus", prop, kind);
}

// The frame counts live in the properties only.
int Camera::OnFfcNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }
int Camera::OnDfcNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }
int Camera::OnFpncNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }

int Camera::OnFfcInit(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StartCorrectionInit("FFC", prop, kind);
}
int Camera::OnDfcInit(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StartCorrectionInit("DFC", prop, kind);
}
// The property is "FPNCCInit"; the SDK name it writes is "FPNCInit".
int Camera::OnFpncInit(MM::PropertyBase* prop, MM::ActionKind kind) {
  return StartCorrectionInit("FPNC", prop, kind);
}

// ---- defect thresholds and HDR ----------------------------------------------------------

int Camera::OnDynamicDefectHot(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? DefectThreshold(*this, Half::Low, prop, kind) : 0;
}
int Camera::OnDynamicDefectDead(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? DefectThreshold(*this, Half::High, prop, kind) : 0;
}
int Camera::OnHdrB(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? HdrHalf(*this, Half::Low, prop, kind) : 0;
}
int Camera::OnHdrK(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? HdrHalf(*this, Half::High, prop, kind) : 0;
}
int Camera::OnHdrThreshold(MM::PropertyBase* prop, MM::ActionKind kind) {
  return HasSdk() ? controls::OptionNumber(*this, 88, 0, prop, kind) : 0;
}
