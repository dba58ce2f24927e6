// I/O and trigger handlers of the Camera: the trigger source, the line
// selection and every per-line or line-0 setting, all through IoControl
// (line, request code, input value, out value). The selected line exists
// only as the stored text of "IO:Line Select"; each handler looks it up
// again, so a host that changes the selection between a read and a write
// redirects the write to the new line.
#include <cstring>
#include <string>

#include "camera/camera.h"
#include "camera/controls/handler_kit.h"

using controls::IsApply;
using controls::IsRefresh;

namespace {

using controls::Texts;

// Which line a setting addresses.
enum class Line {
  Selected,        // the line "IO:Line Select" names; nothing while none is
  ZeroIfSelected,  // line 0, but nothing while no line is selected
  Zero,            // line 0, the selection not looked at
};

// One IoControl setting: its read and write request codes, its line, and
// for list settings the Camera value list whose positions it exchanges.
struct IoSetting {
  unsigned read;
  unsigned write;
  Line line;
  const Texts Camera::*list;  // null: a number
};

constexpr IoSetting kOutputInverter{7, 8, Line::Selected, &Camera::yesNoValues};
constexpr IoSetting kInputActivation{9, 10, Line::Selected, &Camera::inputActivationValues};
constexpr IoSetting kDebouncerTime{11, 12, Line::Selected, nullptr};
constexpr IoSetting kTriggerDelay{15, 16, Line::Selected, nullptr};
constexpr IoSetting kCounterSource{19, 20, Line::Selected, &Camera::counterSourceValues};
constexpr IoSetting kCounterValue{21, 22, Line::Zero, nullptr};
constexpr IoSetting kPwmSource{29, 30, Line::Selected, &Camera::pwmSourceValues};
constexpr IoSetting kOutputMode{31, 32, Line::Selected, &Camera::outputModeValues};
constexpr IoSetting kStrobeDelayMode{33, 34, Line::ZeroIfSelected, &Camera::strobeDelayModeValues};
constexpr IoSetting kStrobeDelayTime{35, 36, Line::ZeroIfSelected, nullptr};
constexpr IoSetting kStrobeDuration{37, 38, Line::ZeroIfSelected, nullptr};
constexpr IoSetting kUserValue{39, 40, Line::Zero, nullptr};

constexpr unsigned kReadTriggerSource = 13, kWriteTriggerSource = 14;
constexpr unsigned kReadDirections = 1, kReadDirection = 3, kWriteDirection = 4;
constexpr unsigned kResetCounter = 24;
constexpr int kDirectionInput = 1, kDirectionOutput = 2;  // bits of request 1
constexpr int kLastTriggerSource = 5;

// The properties that show per-line values, re-read when the line changes.
constexpr const char* kLineProperties[] = {
    "IO:GPIO Mode",         "IO:Format",           "IO:Input Activation", "IO:Debouncer Time",
    "IO:Trigger Delay",     "IO:Output Inverter",  "IO:Output Mode",      "IO:Strobe Delay Mode",
    "IO:Strobe Delay Time", "IO:Strobe Duration",  "IO:User Value",
};

// The line a setting addresses now, or -1 when it does nothing.
int LineOf(Camera& camera, Line line) {
  if (line == Line::Zero) return 0;
  const int selected = camera.SelectedLineIndex();
  if (selected < 0) return -1;
  return line == Line::Selected ? selected : 0;
}

// Reads a setting; false (value untouched) when the request fails.
bool IoRead(Camera& camera, int line, unsigned request, int& value) {
  value = 0;
  return camera.sdk->IoControl(static_cast<unsigned>(line), request, 0, &value) >= 0;
}

void IoWrite(Camera& camera, int line, unsigned request, int value) {
  camera.sdk->IoControl(static_cast<unsigned>(line), request, value, nullptr);
}

// A list setting shows the entry at the SDK's position; a number shows the
// number. Failed reads store nothing; texts in no list write nothing.
int IoHandler(Camera& camera, const IoSetting& setting, MM::PropertyBase* prop,
              MM::ActionKind kind) {
  if (!camera.HasSdk() || (!IsRefresh(kind) && !IsApply(kind))) return 0;
  const int line = LineOf(camera, setting.line);
  if (line < 0) return 0;
  if (IsRefresh(kind)) {
    int value = 0;
    if (!IoRead(camera, line, setting.read, value)) return 0;
    if (setting.list == nullptr) {
      prop->Set(static_cast<long>(value));
    } else if (value >= 0) {
      camera.SetValueByIndex(prop, value, camera.*setting.list);
    }
    return 0;
  }
  if (setting.list == nullptr) {
    long value = 0;
    prop->Get(value);
    IoWrite(camera, line, setting.write, static_cast<int>(value));
    return 0;
  }
  const int position = camera.IndexOfValue(prop, camera.*setting.list);
  if (position >= 0) IoWrite(camera, line, setting.write, position);
  return 0;
}

// Position of a property's text in list, or -1.
int PositionIn(const std::string& text, const Texts& list) {
  // The text as the host would see it: at most a host text's length.
  char buffer[HostStringLimit];
  CopyToHostBuffer(buffer, text);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == buffer) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int Camera::SelectedLineIndex() {
  std::string text;
  if (GetPropertyText("IO:Line Select", text) != DeviceError::Ok) return -1;
  return PositionIn(text, lineValues);
}

int Camera::TriggerSourceIndex() {
  std::string text;
  if (GetPropertyText("IO:Trigger Source", text) != DeviceError::Ok) return -1;
  return PositionIn(text, triggerSourceValues);
}

// The trigger source is always set on line 0. Selecting it changes only the
// source, not the trigger mode.
int Camera::OnTriggerSource(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) {
    int source = 0;
    if (IoRead(*this, 0, kReadTriggerSource, source) && source >= 0) {
      SetValueByIndex(prop, source, triggerSourceValues);
    }
  } else if (IsApply(kind)) {
    const int source = IndexOfValue(prop, triggerSourceValues);
    if (source < 0 || source > kLastTriggerSource) return 0;
    triggerSourceIndex = source;
    IoWrite(*this, 0, kWriteTriggerSource, source);
  }
  return 0;
}

// The per-line properties re-read the new line; the host sees the new
// values on its next read, no notification is sent.
int Camera::OnLineSelect(MM::PropertyBase*, MM::ActionKind kind) {
  if (!HasSdk() || !IsApply(kind)) return 0;
  if (SelectedLineIndex() < 0) return 0;
  for (const char* name : kLineProperties) RefreshProperty(name);
  return 0;
}

// Request 1 tells which directions a line supports; only a line that
// supports both can be switched, and only it has a direction to read.
int Camera::OnGpioMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk() || (!IsRefresh(kind) && !IsApply(kind))) return 0;
  const int line = SelectedLineIndex();
  if (line < 0) return 0;
  const int both = kDirectionInput | kDirectionOutput;
  int directions = 0;
  if (IsRefresh(kind)) {
    IoRead(*this, line, kReadDirections, directions);  // used whatever its status
    if ((directions & both) == both) {
      int direction = 0;
      IoRead(*this, line, kReadDirection, direction);
      if (direction >= 0) SetValueByIndex(prop, direction, gpioModeValues);
    } else {
      prop->Set((directions & kDirectionInput) != 0 ? "Input" : "Output");
    }
    return 0;
  }
  const int position = IndexOfValue(prop, gpioModeValues);
  if (position < 0) return 0;
  if (!IoRead(*this, line, kReadDirections, directions) || (directions & both) != both) return 0;
  IoWrite(*this, line, kWriteDirection, position == 1 ? 1 : 0);
  return 0;
}

int Camera::OnOutputInverter(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kOutputInverter, prop, kind);
}
int Camera::OnInputActivation(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kInputActivation, prop, kind);
}
int Camera::OnCounterSource(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kCounterSource, prop, kind);
}
int Camera::OnPwmSource(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kPwmSource, prop, kind);
}
int Camera::OnOutputMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kOutputMode, prop, kind);
}
int Camera::OnStrobeDelayMode(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kStrobeDelayMode, prop, kind);
}
int Camera::OnStrobeDelayTime(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kStrobeDelayTime, prop, kind);
}
int Camera::OnStrobeDuration(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kStrobeDuration, prop, kind);
}
int Camera::OnUserValue(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kUserValue, prop, kind);
}
int Camera::OnCounterValue(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kCounterValue, prop, kind);
}
int Camera::OnDebouncerTime(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kDebouncerTime, prop, kind);
}
int Camera::OnTriggerDelay(MM::PropertyBase* prop, MM::ActionKind kind) {
  return IoHandler(*this, kTriggerDelay, prop, kind);
}

// A push button: always reads "Reset"; any write resets the counter.
int Camera::OnCounterReset(MM::PropertyBase* prop, MM::ActionKind kind) {
  if (!HasSdk()) return 0;
  if (IsRefresh(kind)) prop->Set("Reset");
  if (IsApply(kind)) IoWrite(*this, 0, kResetCounter, 0);
  return 0;
}
