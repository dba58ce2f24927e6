// The shapes that most feature handlers share, so that each handler is one
// line naming its SDK setting: an option shown as a number, an option or an
// SDK getter/setter pair shown as "OFF"/"ON" (or another two-entry list), an
// option shown as a position in a value list.
//
// Conventions of every shape (the handler conventions of the camera): on
// Refresh the SDK value is read into an out variable pre-set to a fixed
// value and stored into the property; on Apply the property's new value is
// read and written to the SDK, nothing when the read fails or the text is in
// no list; any other action kind does nothing; the answer is always 0. The
// caller has checked HasSdk().
//
// Thread safety: none of their own; they run on the thread of the handler
// (host, status monitor or SDK event thread) and touch only the SDK camera
// and the property, both of which guard themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "framework/value_text.h"

namespace controls {

using Texts = std::vector<std::string>;
using IntGetter = int32_t (SdkCamera::*)(int*);
using IntSetter = int32_t (SdkCamera::*)(int);

inline bool IsRefresh(MM::ActionKind kind) { return kind == MM::ActionKind::Refresh; }
inline bool IsApply(MM::ActionKind kind) { return kind == MM::ActionKind::Apply; }

// The property's text, or false when it cannot be read.
inline bool TextOf(MM::PropertyBase* prop, std::string& text) { return prop->Get(text); }

// Base-10 value of a property text, in the manner of strtol.
inline long ParseDecimal(const std::string& text) {
  return MM::value_text::ParseLong(text.c_str());
}

// The second entry of a two-entry list when value is non-zero, else the first.
inline void StoreFlag(Camera& camera, MM::PropertyBase* prop, int value, const Texts& list) {
  camera.SetValueByIndex(prop, value != 0 ? 1 : 0, list);
}

// An option stored as a signed number, written back unchanged.
inline int OptionNumber(Camera& camera, unsigned option, int preset, MM::PropertyBase* prop,
                        MM::ActionKind kind) {
  if (IsRefresh(kind)) {
    int value = preset;
    camera.sdk->GetOption(option, &value);
    prop->Set(static_cast<long>(value));
  } else if (IsApply(kind)) {
    long value = 0;
    if (prop->Get(value)) camera.sdk->PutOption(option, static_cast<int>(value));
  }
  return 0;
}

// An option shown as list[value != 0]; written as the text's list position.
inline int OptionFlag(Camera& camera, unsigned option, int preset, const Texts& list,
                      MM::PropertyBase* prop, MM::ActionKind kind) {
  if (IsRefresh(kind)) {
    int value = preset;
    camera.sdk->GetOption(option, &value);
    StoreFlag(camera, prop, value, list);
  } else if (IsApply(kind)) {
    int position = camera.IndexOfValue(prop, list);
    if (position >= 0) camera.sdk->PutOption(option, position);
  }
  return 0;
}

// An option holding a list position. A failed or negative read stores
// nothing; a position past the list stores nothing either.
inline int OptionPosition(Camera& camera, unsigned option, const Texts& list,
                          MM::PropertyBase* prop, MM::ActionKind kind) {
  if (IsRefresh(kind)) {
    int value = 0;
    if (camera.sdk->GetOption(option, &value) >= 0 && value >= 0) {
      camera.SetValueByIndex(prop, value, list);
    }
  } else if (IsApply(kind)) {
    int position = camera.IndexOfValue(prop, list);
    if (position >= 0) camera.sdk->PutOption(option, position);
  }
  return 0;
}

// An SDK getter/setter pair of a signed number (read pre-set 0).
inline int SdkNumber(Camera& camera, IntGetter get, IntSetter set, MM::PropertyBase* prop,
                     MM::ActionKind kind) {
  if (IsRefresh(kind)) {
    int value = 0;
    (camera.sdk->*get)(&value);
    prop->Set(static_cast<long>(value));
  } else if (IsApply(kind)) {
    long value = 0;
    if (prop->Get(value)) (camera.sdk->*set)(static_cast<int>(value));
  }
  return 0;
}

// An SDK getter/setter pair shown as "OFF"/"ON" (read pre-set 0).
inline int SdkFlag(Camera& camera, IntGetter get, IntSetter set, MM::PropertyBase* prop,
                   MM::ActionKind kind) {
  if (IsRefresh(kind)) {
    int value = 0;
    (camera.sdk->*get)(&value);
    StoreFlag(camera, prop, value, camera.onOffValues);
  } else if (IsApply(kind)) {
    int position = camera.IndexOfValue(prop, camera.onOffValues);
    if (position >= 0) (camera.sdk->*set)(position);
  }
  return 0;
}

}  // namespace controls
