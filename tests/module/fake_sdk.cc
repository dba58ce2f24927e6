// A small stand-in for the vendor SDK library, for the binding tests. Every
// variant is built from this file; compile definitions drop entry points.
//   FAKE_SDK_CAMERAS            display names of the first enumeration,
//                               comma-separated, or "count:N" for N cameras
//   FAKE_SDK_CAMERAS_AFTER_GIGE the same, for enumerations after DllGigeEnable
//   FAKE_SDK_GIGE_RESULT        what DllGigeEnable returns (default 0)
// The count may exceed 128 (a misbehaving SDK); at most 128 records are written.
// FakeSdkCalls reports how often the module called in, for the tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "module/sdk_records.h"
#include "tests/module/fake_sdk_calls.h"

namespace {

FakeSdkCallCounts calls;
[[maybe_unused]] bool gigeEnabled = false;
[[maybe_unused]] const SdkModel fakeModel = {"FakeModel", 0, 1, 0, 0, 0, 0, 2.4f, 0, {}};

[[maybe_unused]] std::vector<std::string> CameraNames(const char* variable) {
  std::vector<std::string> names;
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') return names;
  std::string text = value;
  if (text.rfind("count:", 0) == 0) {
    int count = std::atoi(text.c_str() + 6);
    for (int i = 0; i < count; ++i) names.push_back("Camera " + std::to_string(i));
    return names;
  }
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    names.push_back(text.substr(start, comma - start));
  names.push_back(text.substr(start));
  return names;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const FakeSdkCallCounts* FakeSdkCalls() { return &calls; }

#ifndef FAKE_SDK_NO_MMGR_NAME
__attribute__((visibility("default"))) const char* DllMmgrName() { return "QuorvexFake"; }
#endif

__attribute__((visibility("default"))) const char* DllCompany() { return "Fake Vendor Ltd"; }

__attribute__((visibility("default"))) const char* DllVersion() { return "9.8.7"; }

__attribute__((visibility("default"))) int DllAppName(const char* applicationName) {
  ++calls.appName;
  std::snprintf(calls.applicationName, sizeof calls.applicationName, "%s",
                applicationName != nullptr ? applicationName : "(null)");
  return 0;
}

#ifndef FAKE_SDK_NO_ENUM
__attribute__((visibility("default"))) unsigned DllEnumCamera(SdkDeviceEntry entries[MaxCameras]) {
  ++calls.enumCamera;
  std::vector<std::string> names =
      CameraNames(gigeEnabled ? "FAKE_SDK_CAMERAS_AFTER_GIGE" : "FAKE_SDK_CAMERAS");
  for (size_t i = 0; i < names.size() && i < MaxCameras; ++i) {
    std::snprintf(entries[i].displayName, sizeof entries[i].displayName, "%s", names[i].c_str());
    std::snprintf(entries[i].id, sizeof entries[i].id, "fake-%zu", i);
    entries[i].model = &fakeModel;
  }
  return static_cast<unsigned>(names.size());
}
#endif

#ifndef FAKE_SDK_NO_GIGE
__attribute__((visibility("default"))) int DllGigeEnable(void* callback, void* context) {
  ++calls.gigeEnable;
  calls.gigeArgumentsNull = callback == nullptr && context == nullptr;
  const char* result = std::getenv("FAKE_SDK_GIGE_RESULT");
  int code = result != nullptr ? std::atoi(result) : 0;
  gigeEnabled = code == 0;
  return code;
}
#endif

}  // extern "C"
