// The SDK camera is called by position: slot N of its table of operations
// must be the operation pinned at N. A fake derived from SdkCamera is called
// through its raw vtable, slot by slot, so the declaration cannot drift.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "module/sdk_camera.h"

namespace {

// Every operation answers its own position.
class PositionCamera final : public SdkCamera {
 public:
  int32_t QueryInterface(const SdkGuid*, void**) override { return 0; }
  uint32_t AddRef() override { return 1; }
  uint32_t Release() override { return 2; }
  int32_t SetResolutionIndex(unsigned index) override {
    lastArgument = static_cast<int>(index);
    return 5;
  }
  int32_t GetResolutionIndex(unsigned*) override { return 6; }
  int32_t GetAutoExposure(int*) override { return 10; }
  int32_t SetAutoExposure(int) override { return 11; }
  int32_t GetAutoExposureTarget(unsigned short*) override { return 12; }
  int32_t SetAutoExposureTarget(unsigned short) override { return 13; }
  int32_t WhiteBalanceOnce(void*, void*) override { return 14; }
  int32_t SetWhiteBalanceGain(const int*) override { return 25; }
  int32_t GetWhiteBalanceGain(int*) override { return 26; }
  int32_t SetHue(int) override { return 27; }
  int32_t GetHue(int*) override { return 28; }
  int32_t SetSaturation(int) override { return 29; }
  int32_t GetSaturation(int*) override { return 30; }
  int32_t SetBrightness(int) override { return 31; }
  int32_t GetBrightness(int*) override { return 32; }
  int32_t GetExposureTime(unsigned* microseconds) override {
    *microseconds = 33333;
    return 33;
  }
  int32_t SetExposureTime(unsigned) override { return 34; }
  int32_t GetGain(unsigned short*) override { return 35; }
  int32_t SetGain(unsigned short) override { return 36; }
  int32_t GetContrast(int*) override { return 39; }
  int32_t SetContrast(int) override { return 40; }
  int32_t GetGamma(int*) override { return 41; }
  int32_t SetGamma(int) override { return 42; }
  int32_t GetVerticalFlip(int*) override { return 45; }
  int32_t SetVerticalFlip(int) override { return 46; }
  int32_t GetHorizontalFlip(int*) override { return 47; }
  int32_t SetHorizontalFlip(int) override { return 48; }
  int32_t SetSpeed(unsigned short) override { return 49; }
  int32_t GetSpeed(unsigned short*) override { return 50; }
  int32_t SetPowerFrequency(int) override { return 52; }
  int32_t GetPowerFrequency(int*) override { return 53; }
  int32_t SetBinningMode(int) override { return 54; }
  int32_t GetBinningMode(int*) override { return 55; }
  int32_t GetExposureRange(unsigned*, unsigned*, unsigned*) override { return 57; }
  int32_t GetGainRange(unsigned short*, unsigned short*, unsigned short*) override { return 58; }
  int32_t SetAutoExposureLimits(unsigned, unsigned short) override { return 73; }
  int32_t GetRealExposureTime(unsigned*) override { return 74; }
  int32_t GetTemperature(short*) override { return 78; }
  int32_t SetSensorRegion(unsigned, unsigned, unsigned, unsigned) override { return 80; }
  int32_t GetSensorRegion(unsigned*, unsigned*, unsigned*, unsigned*) override { return 81; }
  int32_t GetFanSpeed(unsigned short*) override { return 82; }
  int32_t SetFanSpeed(unsigned short) override { return 83; }
  int32_t GetResolutionRatio(unsigned, int*, int*) override { return 86; }
  int32_t GetTecTarget(int*) override { return 87; }
  int32_t SetTecTarget(int) override { return 88; }
  int32_t PutOption(unsigned, int) override { return 93; }
  int32_t GetOption(unsigned, int*) override { return 94; }
  int32_t IoControl(unsigned line, unsigned request, int input, int* output) override {
    *output = static_cast<int>(line * 100 + request * 10) + input;
    return 109;
  }
  int32_t SetDeviceMode(int) override { return 113; }
  int32_t PrepareSnap() override { return 115; }
  int32_t SetNegative(int) override { return 116; }
  int32_t GetNegative(int*) override { return 117; }
  int32_t GetAutoExposureLimits(unsigned*, unsigned short*) override { return 130; }
  int32_t GetOutputSize(unsigned*, unsigned*) override { return 134; }
  int32_t GetRawFormat(unsigned*, unsigned*) override { return 137; }
  int32_t TriggerFrames(unsigned short) override { return 138; }
  int32_t SetNamedValue(const char*, int) override { return 158; }
  int32_t GetNamedValue(const char*, int*) override { return 159; }
  int32_t GetNamedValueText(const char*, char*) override { return 161; }
  int32_t ListNamedValues(const char*, int*, int, const char**) override { return 164; }
  int32_t StartStreaming(void*, void*, void*, void*, SdkEventCallback, void*,
                         void* eventContext) override {
    lastContext = eventContext;
    return 166;
  }
  int32_t StopStreaming(int) override { return 167; }
  int32_t Close() override { return 168; }
  int32_t GetFrameStatistics(unsigned*, unsigned*, unsigned*, void*, void*) override { return 177; }
  const SdkModel* GetModelRecord() override { return &model; }
  int32_t PullFrame(int, void*, int, int, void*) override { return 192; }
  int32_t QueryCapability(const char*) override { return 197; }
  int32_t GetParameter(const char*, int*) override { return 203; }
  int32_t SetParameter(const char* name, int value) override {
    lastName = name;
    lastArgument = value;
    return 204;
  }

  SdkModel model{};
  int lastArgument = 0;
  void* lastContext = nullptr;
  std::string lastName;
};

void* Slot(SdkCamera* camera, int position) {
  return (*reinterpret_cast<void***>(camera))[position];
}

template <typename... Args>
int32_t CallSlot(SdkCamera* camera, int position, Args... args) {
  using Fn = int32_t (*)(SdkCamera*, Args...);
  return reinterpret_cast<Fn>(Slot(camera, position))(camera, args...);
}

TEST(SdkCameraLayout, SlotsReachTheOperationsPinnedAtThem) {
  PositionCamera camera;
  void* object = nullptr;
  EXPECT_EQ(CallSlot(&camera, 0, &SdkSerialInfoId, &object), 0);
  EXPECT_EQ(CallSlot(&camera, 5, 7u), 5);
  EXPECT_EQ(camera.lastArgument, 7);
  unsigned microseconds = 0;
  EXPECT_EQ(CallSlot(&camera, 33, &microseconds), 33);
  EXPECT_EQ(microseconds, 33333u);
  EXPECT_EQ(CallSlot(&camera, 93, 3u, 1), 93);
  int value = 0;
  EXPECT_EQ(CallSlot(&camera, 94, 3u, &value), 94);
  EXPECT_EQ(CallSlot(&camera, 109, 2u, 4u, 1, &value), 109);
  EXPECT_EQ(value, 241);
  int context = 0;
  const int32_t started = CallSlot<void*, void*, void*, void*, SdkEventCallback, void*, void*>(
      &camera, 166, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &context);
  EXPECT_EQ(started, 166);
  EXPECT_EQ(camera.lastContext, &context);
  const int32_t pulled = CallSlot<int, void*, int, int, void*>(&camera, 192, 100, nullptr, 8, 0, nullptr);
  EXPECT_EQ(pulled, 192);
  EXPECT_EQ(CallSlot(&camera, 204, "Gain", 12), 204);
  EXPECT_EQ(camera.lastName, "Gain");
  EXPECT_EQ(camera.lastArgument, 12);
}

TEST(SdkCameraLayout, ModelRecordAndPlaceholderSlots) {
  PositionCamera camera;
  using ModelFn = const SdkModel* (*)(SdkCamera*);
  EXPECT_EQ(reinterpret_cast<ModelFn>(Slot(&camera, 179))(&camera), &camera.model);
  // Slots the module never calls answer failure.
  for (int position : {3, 4, 7, 100, 165, 202}) EXPECT_EQ(CallSlot(&camera, position), -1);
}

}  // namespace
