// The host calls the device by position. This test plays such a host: it
// reads the device's table of operations as raw slots and calls slot N with
// the signature the host interface pins for N, then checks that the intended
// operation ran. A slot that is off by one cannot pass.
#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "recording_host.h"
#include "test_camera.h"

namespace {

// Calls slot `slot` of device's table as the Itanium ABI does: the object
// first, references as pointers, class results through a hidden pointer
// (which a free function returning the class uses alike).
template <class R, class... A>
R CallSlot(MM::Device* device, int slot, A... args) {
  using Fn = R (*)(MM::Device*, A...);
  void** table = *reinterpret_cast<void***>(device);
  return reinterpret_cast<Fn>(table[slot])(device, args...);
}

struct SeqHandler {
  int Handle(MM::PropertyBase*, MM::ActionKind kind) {
    const int k = static_cast<int>(kind);
    return k >= static_cast<int>(MM::ActionKind::SequenceLoaded) ? 100 + k : 0;
  }
};

class SlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    camera.CreateProperty("RO", "r", MM::PropertyKind::String, true);
    camera.CreateProperty("PI", "p", MM::PropertyKind::String, false, nullptr, true);
    camera.CreateIntegerProperty("Lim", 5);
    camera.SetPropertyLimits("Lim", 2, 9);
    camera.CreateFloatProperty("F", 1.5, false);
    camera.CreateProperty("Seq", "0", MM::PropertyKind::Float, false,
                          new MM::Action<SeqHandler>(&handler, &SeqHandler::Handle));
    camera.FindProperty("Seq")->EnableSequencing(3);
    device = &camera;
  }
  std::string Text(int slot, const char* name) {
    char buffer[HostStringLimit] = "";
    CallSlot<int, const char*, char*>(device, slot, name, buffer);
    return buffer;
  }
  std::string Get(int slot) {
    char buffer[HostStringLimit] = "";
    CallSlot<void, char*>(device, slot, buffer);
    return buffer;
  }
  void WaitForFinished(std::size_t runs) {
    for (int i = 0; i < 10000; ++i) {
      {
        std::lock_guard<std::mutex> lock(host.mutex);
        if (host.finished.size() >= runs) return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    FAIL() << "run did not finish";
  }

  SeqHandler handler;
  RecordingHost host;
  TestCamera camera;
  MM::Device* device = nullptr;
};

TEST(SlotDestructorTest, Slots0And1Destroy) {
  bool destroyed = false;
  alignas(TestCamera) unsigned char storage[sizeof(TestCamera)];
  auto* inPlace = new (storage) TestCamera;
  inPlace->destroyed = &destroyed;
  CallSlot<void>(inPlace, 0);  // destroys, frees nothing
  EXPECT_TRUE(destroyed);

  destroyed = false;
  auto* onHeap = new TestCamera;
  onHeap->destroyed = &destroyed;
  CallSlot<void>(onHeap, 1);  // destroys and frees (AddressSanitizer checks the free)
  EXPECT_TRUE(destroyed);
}

TEST_F(SlotTest, PropertySlots2To21) {
  EXPECT_EQ(CallSlot<unsigned>(device, 2), 9u);
  EXPECT_EQ((CallSlot<int, const char*, const char*>(device, 4, "TransposeMirrorY", "1")), 0);
  EXPECT_EQ(Text(3, "TransposeMirrorY"), "1");
  EXPECT_TRUE((CallSlot<bool, const char*>(device, 5, "Lim")));
  EXPECT_FALSE((CallSlot<bool, const char*>(device, 5, "Nope")));
  char name[HostStringLimit];
  EXPECT_TRUE((CallSlot<bool, unsigned, char*>(device, 6, 0, name)));
  EXPECT_STREQ(name, "F");

  bool flag = false;
  EXPECT_EQ((CallSlot<int, const char*, bool*>(device, 7, "RO", &flag)), 0);
  EXPECT_TRUE(flag);
  EXPECT_EQ((CallSlot<int, const char*, bool*>(device, 8, "PI", &flag)), 0);
  EXPECT_TRUE(flag);
  EXPECT_EQ((CallSlot<int, const char*, bool*>(device, 8, "RO", &flag)), 0);
  EXPECT_FALSE(flag);
  EXPECT_EQ((CallSlot<int, const char*, bool*>(device, 9, "Lim", &flag)), 0);
  EXPECT_TRUE(flag);
  double bound = 0;
  EXPECT_EQ((CallSlot<int, const char*, double*>(device, 10, "Lim", &bound)), 0);
  EXPECT_EQ(bound, 2.0);
  EXPECT_EQ((CallSlot<int, const char*, double*>(device, 11, "Lim", &bound)), 0);
  EXPECT_EQ(bound, 9.0);
  int kind = 0;
  EXPECT_EQ((CallSlot<int, const char*, int*>(device, 12, "F", &kind)), 0);
  EXPECT_EQ(kind, 2);
  EXPECT_EQ((CallSlot<unsigned, const char*>(device, 13, "TransposeXY")), 2u);
  char value[HostStringLimit];
  EXPECT_TRUE((CallSlot<bool, const char*, unsigned, char*>(device, 14, "TransposeXY", 1, value)));
  EXPECT_STREQ(value, "1");

  EXPECT_EQ((CallSlot<int, const char*, bool*>(device, 15, "Seq", &flag)), 0);
  EXPECT_TRUE(flag);
  long capacity = 0;
  EXPECT_EQ((CallSlot<int, const char*, long*>(device, 16, "Seq", &capacity)), 0);
  EXPECT_EQ(capacity, 3);
  EXPECT_EQ((CallSlot<int, const char*>(device, 17, "Seq")), 105);
  EXPECT_EQ((CallSlot<int, const char*>(device, 18, "Seq")), 106);
  EXPECT_EQ((CallSlot<int, const char*, const char*>(device, 20, "Seq", "7")), 0);
  EXPECT_EQ(camera.FindProperty("Seq")->SequenceValues(), std::vector<std::string>{"7"});
  EXPECT_EQ((CallSlot<int, const char*>(device, 19, "Seq")), 0);
  EXPECT_TRUE(camera.FindProperty("Seq")->SequenceValues().empty());
  EXPECT_EQ((CallSlot<int, const char*>(device, 21, "Seq")), 104);
}

TEST_F(SlotTest, DeviceSlots22To43) {
  char text[HostStringLimit];
  EXPECT_FALSE((CallSlot<bool, int, char*>(device, 22, 25, text)));
  EXPECT_STREQ(text, "Error code 25 (19 hex)");
  EXPECT_FALSE(CallSlot<bool>(device, 23));
  CallSlot<void, double>(device, 25, 3.5);
  EXPECT_EQ(CallSlot<double>(device, 24), 3.5);
  EXPECT_FALSE(CallSlot<bool>(device, 26));
  int handle;
  CallSlot<void, void*>(device, 28, &handle);
  EXPECT_EQ(CallSlot<void*>(device, 27), &handle);
  CallSlot<void, const char*>(device, 29, "label");
  CallSlot<void, const char*>(device, 31, "module");
  CallSlot<void, const char*>(device, 33, "description");
  EXPECT_EQ(Get(30), "label");
  EXPECT_EQ(Get(32), "module");
  EXPECT_EQ(Get(34), "description");
  EXPECT_EQ(CallSlot<int>(device, 35), 0);
  EXPECT_EQ(camera.lastCall, 35);
  EXPECT_EQ(CallSlot<int>(device, 36), 0);
  EXPECT_EQ(camera.lastCall, 36);
  EXPECT_EQ(CallSlot<int>(device, 37), 2);
  EXPECT_EQ(Get(38), "TestCamera");
  CallSlot<void, HostCore*>(device, 39, &host);
  EXPECT_EQ(camera.SetPropertyLimits("TransposeXY", 0, 1), 24);
  EXPECT_EQ(host.logs.size(), 1u);  // the callback reached the device
  EXPECT_EQ(CallSlot<int>(device, 40), 0);
  EXPECT_EQ(CallSlot<int>(device, 41), -2);
  CallSlot<void, const char*>(device, 42, "parent");
  EXPECT_EQ(Get(43), "parent");
}

TEST_F(SlotTest, CameraSlotsImplementedByTheCameraClass) {
  // Slot, then a call with the pinned signature; each records its position.
  unsigned u = 0;
  long l = 0;
  bool b = false;
  char text[HostStringLimit];
  const std::vector<std::pair<int, std::function<void()>>> calls = {
      {44, [&] { CallSlot<int>(device, 44); }},
      {45, [&] { CallSlot<const unsigned char*>(device, 45); }},
      {46, [&] { CallSlot<const unsigned char*, unsigned>(device, 46, 0); }},
      {47, [&] { CallSlot<const unsigned*>(device, 47); }},
      {48, [&] { CallSlot<unsigned>(device, 48); }},
      {49, [&] { CallSlot<int, unsigned, char*>(device, 49, 0, text); }},
      {50, [&] { CallSlot<unsigned>(device, 50); }},
      {51, [&] { CallSlot<int, unsigned, char*>(device, 51, 0, text); }},
      {52, [&] { CallSlot<long>(device, 52); }},
      {53, [&] { CallSlot<unsigned>(device, 53); }},
      {54, [&] { CallSlot<unsigned>(device, 54); }},
      {55, [&] { CallSlot<unsigned>(device, 55); }},
      {56, [&] { CallSlot<unsigned>(device, 56); }},
      {57, [&] { CallSlot<double>(device, 57); }},
      {58, [&] { CallSlot<int>(device, 58); }},
      {59, [&] { CallSlot<int, int>(device, 59, 2); }},
      {60, [&] { CallSlot<void, double>(device, 60, 1.0); }},
      {61, [&] { CallSlot<double>(device, 61); }},
      {62, [&] { CallSlot<int, unsigned, unsigned, unsigned, unsigned>(device, 62, 0, 0, 1, 1); }},
      {63, [&] { CallSlot<int, unsigned*, unsigned*, unsigned*, unsigned*>(device, 63, &u, &u, &u, &u); }},
      {64, [&] { CallSlot<int>(device, 64); }},
      {65, [&] { CallSlot<bool>(device, 65); }},
      {66, [&] { CallSlot<bool>(device, 66); }},
      {67, [&] { CallSlot<int, unsigned*>(device, 67, &u); }},
      {68, [&] { CallSlot<int, const unsigned*, const unsigned*, const unsigned*, const unsigned*, unsigned>(
                     device, 68, &u, &u, &u, &u, 1); }},
      {69, [&] { CallSlot<int, unsigned*, unsigned*, unsigned*, unsigned*, unsigned*>(device, 69, &u, &u, &u, &u, &u); }},
      {78, [&] { CallSlot<int, bool*>(device, 78, &b); }},
      {79, [&] { CallSlot<int, long*>(device, 79, &l); }},
      {80, [&] { CallSlot<int>(device, 80); }},
      {81, [&] { CallSlot<int>(device, 81); }},
      {82, [&] { CallSlot<int>(device, 82); }},
      {83, [&] { CallSlot<int, double>(device, 83, 1.0); }},
      {84, [&] { CallSlot<int>(device, 84); }},
  };
  for (const auto& [slot, call] : calls) {
    camera.lastCall = -1;
    call();
    EXPECT_EQ(camera.lastCall, slot);
  }
}

TEST_F(SlotTest, SequenceAndTagSlots70To94) {
  CallSlot<void, HostCore*>(device, 39, &host);
  EXPECT_EQ((CallSlot<int, long, double, bool>(device, 70, 2, 5.0, true)), 0);
  WaitForFinished(1);
  EXPECT_EQ(CallSlot<double>(device, 89), 5.0);
  EXPECT_EQ(CallSlot<long>(device, 90), 2);
  EXPECT_EQ(CallSlot<long>(device, 91), 2);
  EXPECT_TRUE(CallSlot<bool>(device, 93));
  CallSlot<void, bool>(device, 94, false);
  EXPECT_FALSE(CallSlot<bool>(device, 93));

  EXPECT_EQ((CallSlot<int, double>(device, 71, 7.0)), 0);
  EXPECT_TRUE(CallSlot<bool>(device, 74));
  EXPECT_EQ(CallSlot<double>(device, 89), 7.0);
  EXPECT_EQ(CallSlot<int>(device, 72), 0);
  EXPECT_FALSE(CallSlot<bool>(device, 74));
  EXPECT_EQ(CallSlot<int>(device, 73), 0);

  CallSlot<void, const char*, const char*, const char*>(device, 76, "K", "_", "V");
  EXPECT_EQ(Get(75), "1\ns\nK\n_\n1\nV\n");
  EXPECT_EQ(CallSlot<std::vector<std::string>>(device, 85), std::vector<std::string>{"K"});
  EXPECT_EQ((CallSlot<std::string, const char*>(device, 86, "K")), "V");
  CallSlot<void, const char*>(device, 77, "K");
  EXPECT_EQ(Get(75), "0\n");

  const int captures = camera.captures;
  const std::size_t pushes = host.pushedMetadata.size();
  EXPECT_EQ(CallSlot<int>(device, 87), 0);
  EXPECT_EQ(camera.captures, captures + 1);
  EXPECT_EQ(host.pushedMetadata.size(), pushes + 1);
  EXPECT_EQ(CallSlot<int>(device, 88), 0);
  EXPECT_EQ(camera.captures, captures + 1);
  EXPECT_EQ(host.pushedMetadata.size(), pushes + 2);

  const std::size_t finished = host.finished.size();
  CallSlot<void>(device, 92);
  EXPECT_EQ(host.finished.size(), finished + 1);
  EXPECT_EQ(host.logs.back(), "Sequence thread exiting");
}

}  // namespace
