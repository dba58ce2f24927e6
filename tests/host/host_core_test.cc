// The host core records notifications in arrival order, from any thread,
// and routes images and the acquisition calls to its buffer.
#include "host/host_core_impl.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace qv::host {
namespace {

using std::chrono::milliseconds;

TEST(HostCore, RecordsCallsInArrivalOrder) {
  HostCoreImpl core;
  const MM::Device* dev = reinterpret_cast<const MM::Device*>(&core);  // only compared
  core.LogMessage(dev, "opened", false);
  core.OnPropertyChanged(dev, "Binning", "2");
  core.OnExposureChanged(dev, 12.5);
  core.PrepareForAcquisition(dev);
  core.ClearImageQueue(dev);
  core.AcquisitionFinished(dev, 0);
  const std::vector<HostEvent> events = core.events().Since(0);
  ASSERT_EQ(events.size(), 6u);
  const EventKind kinds[] = {EventKind::Log, EventKind::PropertyChanged, EventKind::ExposureChanged,
                             EventKind::PrepareForAcquisition, EventKind::ClearImageQueue,
                             EventKind::AcquisitionFinished};
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].index, i);
    EXPECT_EQ(events[i].kind, kinds[i]);
    EXPECT_EQ(events[i].device, dev);
  }
  EXPECT_EQ(events[0].value, "opened");
  EXPECT_EQ(events[1].name, "Binning");
  EXPECT_EQ(events[1].value, "2");
  EXPECT_DOUBLE_EQ(events[2].number, 12.5);
  EXPECT_TRUE(core.images().AcquisitionEnded());
}

TEST(HostCore, KeepsEachThreadsOrderUnderConcurrentCalls) {
  HostCoreImpl core;
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&core, t] {
      for (int i = 0; i < kEach; ++i) {
        core.OnPropertyChanged(nullptr, std::to_string(t).c_str(), std::to_string(i).c_str());
      }
    });
  }
  // A reader following the log while it grows.
  uint64_t next = 0;
  size_t seen = 0;
  while (seen < size_t{kThreads} * kEach) {
    for (const HostEvent& e : core.events().WaitSince(next, milliseconds(1000))) {
      EXPECT_EQ(e.index, next);
      next = e.index + 1;
      ++seen;
    }
  }
  for (std::thread& t : threads) t.join();
  std::vector<int> last(kThreads, -1);
  for (const HostEvent& e : core.events().Since(0)) {
    const int t = std::stoi(e.name), i = std::stoi(e.value);
    EXPECT_EQ(i, last[t] + 1) << "thread " << t;
    last[t] = i;
  }
}

TEST(HostCore, RefusedPreparationLeavesTheBufferAlone) {
  HostCoreImpl core({1, 0});
  const unsigned char pixel = 9;
  ASSERT_EQ(core.PushImage(nullptr, &pixel, 1, 1, 1, "", true), 0);
  EXPECT_EQ(core.PushImage(nullptr, &pixel, 1, 1, 1, "", true), HostBufferFull);
  core.SetPrepareAnswer(30);
  EXPECT_EQ(core.PrepareForAcquisition(nullptr), 30);
  EXPECT_EQ(core.images().Stats().queuedFrames, 1u);
  core.SetPrepareAnswer(0);
  EXPECT_EQ(core.PrepareForAcquisition(nullptr), 0);
  EXPECT_EQ(core.images().Stats().queuedFrames, 0u);
}

TEST(EventLog, ForgetsTheOldestBeyondCapacityButKeepsIndices) {
  EventLog log(3);
  for (int i = 0; i < 5; ++i) log.Append(HostEvent{});
  const std::vector<HostEvent> kept = log.Since(0);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept.front().index, 2u);
  EXPECT_EQ(log.NextIndex(), 5u);
  EXPECT_TRUE(log.WaitSince(5, milliseconds(10)).empty());
}

}  // namespace
}  // namespace qv::host
