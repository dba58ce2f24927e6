// What the fake SDK library records about the module's calls into it.
#pragma once

struct FakeSdkCallCounts {
  int appName = 0;
  int enumCamera = 0;
  int gigeEnable = 0;
  bool gigeArgumentsNull = false;
  char applicationName[32] = {};
};

extern "C" {
using FakeSdkCallsFn = const FakeSdkCallCounts* (*)();
}
