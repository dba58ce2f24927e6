// Status words the simulated SDK answers (negative = failure).
#pragma once

#include <cstdint>

namespace qvsim {
constexpr int32_t kOk = 0;
constexpr int32_t kFalse = 1;  // success, nothing changed
constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);        // generic failure
constexpr int32_t kNotImplemented = static_cast<int32_t>(0x80004001u);
constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057u);
constexpr int32_t kPointer = static_cast<int32_t>(0x80004003u);      // null out pointer
constexpr int32_t kClosedHandle = static_cast<int32_t>(0x80070006u);  // call after Close
constexpr int32_t kWrongState = static_cast<int32_t>(0x8007139fu);    // e.g. trigger in the wrong mode
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);
constexpr int32_t kAccessDenied = static_cast<int32_t>(0x80070005u);  // read-only setting
}  // namespace qvsim
