// Several threads read, write, refresh, list and create properties of one
// device at once, with handlers that call back into the table, while a
// sequence runs and the host changes the label. Run under ThreadSanitizer
// (a SANITIZE=thread build) this must stay free of races and deadlocks.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "recording_host.h"
#include "test_camera.h"

namespace {

// Handlers in the way real ones work: a refresh of A reads B (a nested
// refresh), an apply of A writes B through the device interface, B's
// refresh walks nothing but stores a value.
struct Handlers {
  TestCamera* camera;
  std::atomic<long> refreshes{0};

  int OnA(MM::PropertyBase* property, MM::ActionKind kind) {
    if (kind == MM::ActionKind::Refresh) {
      std::string b;
      camera->GetPropertyText("B", b);
      property->Set(b.c_str());
      ++refreshes;
    } else if (kind == MM::ActionKind::Apply) {
      std::string value;
      property->Get(value);
      camera->WriteProperty("B", value.c_str());
      camera->RefreshProperty("C");
    }
    return 0;
  }
  int OnB(MM::PropertyBase* property, MM::ActionKind kind) {
    if (kind == MM::ActionKind::Refresh) {
      long value = 0;
      property->Get(value);
      property->Set(value % 9);
    }
    return 0;
  }
  int OnC(MM::PropertyBase* property, MM::ActionKind kind) {
    if (kind == MM::ActionKind::Refresh) {
      property->SetLimits(0, 100);
      camera->SetAllowedValues("Mode", {"x", "y"});
    }
    return 0;
  }
};

TEST(ConcurrencyTest, PropertiesStayConsistentUnderConcurrentUse) {
  RecordingHost host;
  TestCamera camera;
  camera.SetCallback(&host);
  camera.SetLabel("Cam1");
  Handlers handlers{&camera};
  using Act = MM::Action<Handlers>;
  ASSERT_EQ(camera.CreateProperty("A", "0", MM::PropertyKind::Integer, false,
                                  new Act(&handlers, &Handlers::OnA)), 0);
  ASSERT_EQ(camera.CreateProperty("B", "0", MM::PropertyKind::Integer, false,
                                  new Act(&handlers, &Handlers::OnB)), 0);
  ASSERT_EQ(camera.CreateFloatProperty("C", 1.0, false, new Act(&handlers, &Handlers::OnC)), 0);
  ASSERT_EQ(camera.CreateProperty("Mode", "x", MM::PropertyKind::String, false), 0);
  ASSERT_EQ(camera.StartContinuousSequence(0.0), 0);

  constexpr int kRounds = 1500;
  std::vector<std::thread> threads;
  threads.emplace_back([&] {  // the host reading
    char text[HostStringLimit];
    for (int i = 0; i < kRounds; ++i) {
      camera.ReadProperty("A", text);
      camera.ReadProperty("C", text);
      camera.ReadProperty(("New" + std::to_string(i % 50)).c_str(), text);
      camera.ErrorText(2, text);
    }
  });
  threads.emplace_back([&] {  // the host writing
    for (int i = 0; i < kRounds; ++i) {
      camera.WriteProperty("A", std::to_string(i % 7).c_str());
      camera.WriteProperty("C", "2.5");
      camera.WriteProperty("Mode", i % 2 ? "x" : "z");
      camera.SetLabel(i % 2 ? "Cam1" : "Cam2");
    }
  });
  threads.emplace_back([&] {  // the status monitor refreshing everything
    for (int i = 0; i < kRounds / 5; ++i) camera.RefreshAllProperties();
  });
  threads.emplace_back([&] {  // creations while the others look names up
    for (int i = 0; i < 200; ++i) {
      const std::string name = "New" + std::to_string(i);
      camera.CreateIntegerProperty(name, i, new Act(&handlers, &Handlers::OnB));
      camera.SetPropertyLimits(name, 0, 1000);
      camera.AddCameraTag(name.c_str(), "_", "v");
    }
  });
  threads.emplace_back([&] {  // listing, as a host enumerating properties
    char text[HostStringLimit];
    for (int i = 0; i < kRounds; ++i) {
      const unsigned count = camera.PropertyCount();
      camera.PropertyNameAt(static_cast<unsigned>(i) % (count + 1), text);
      camera.AllowedValueAt("Mode", 1, text);
      double limit;
      camera.PropertyUpperLimit("C", limit);
      camera.GetCameraTags(text);
    }
  });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(camera.StopSequence(), 0);

  EXPECT_EQ(camera.PropertyCount(), 4u + 4u + 200u);
  EXPECT_GT(handlers.refreshes.load(), 0);
  char text[HostStringLimit];
  ASSERT_EQ(camera.ReadProperty("C", text), 0);
  EXPECT_STREQ(text, "2.5000");
  EXPECT_FALSE(camera.IsSequenceRunning());
}

}  // namespace
