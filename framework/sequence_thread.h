// The sequence thread object of a camera: one per camera, created stopped;
// each run executes Run() on a new operating-system thread.
//
// Run() repeats the owner's RunSequenceStep() until a step fails, a stop is
// requested or `length` images were counted (a length of 1 or less gives one
// image), then logs "SeqAcquisition interrupted by the user\n" if stopped,
// sets `stopped` and calls the owner's OnSequenceEnd(). `intervalMs` is
// reported, not used for pacing.
//
// The owner is reached through SequenceOwner, a small interface that the
// camera base implements with a private adapter member, so the camera's
// host-visible vtable gains no slot and the steps still go through the
// camera's own (overridable) operations.
//
// Thread safety: `stopped` and the start of a run are guarded by the
// recursive stopLock; the run's counters are atomics written at start under
// stopLock and afterwards only by the run; the thread handle is guarded by
// threadMutex. Joining never happens under stopLock, and a join from the
// sequence thread itself detaches instead.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "framework/mutex.h"
#include "framework/thread_annotations.h"

// What the sequence thread needs from its camera.
class SequenceOwner {
 public:
  virtual int RunSequenceStep() = 0;
  virtual void OnSequenceEnd() = 0;
  // Logs text to the host while a host core is set.
  virtual void LogSequenceText(const char* text) = 0;

 protected:
  ~SequenceOwner() = default;
};

class MMDeviceThreadBase {
 public:
  virtual ~MMDeviceThreadBase() = default;
  virtual int Run() = 0;
  virtual int StartThread() = 0;
};

class BaseSequenceThread : public MMDeviceThreadBase {
 public:
  explicit BaseSequenceThread(SequenceOwner* camera);
  // Requests a stop and joins a run still going.
  ~BaseSequenceThread() override;
  BaseSequenceThread(const BaseSequenceThread&) = delete;
  BaseSequenceThread& operator=(const BaseSequenceThread&) = delete;

  int Run() override;
  // Creates the thread that runs Run(); called with stopLock held by
  // StartRun, so the run's first look at `stopped` waits for the start to
  // complete. Returns 0.
  int StartThread() override;

  // Under stopLock: length, stopped = false, imageCounter = 0, intervalMs,
  // StartThread(). Answers 30 (nothing changes) while a run is active, else 0.
  // A finished run's thread is reclaimed first.
  int StartRun(long count, double interval);
  bool IsStopped() const;
  // Sets stopped under stopLock; does not wait.
  void RequestStop();
  // Waits for the current run's thread to end (never under stopLock); from
  // the sequence thread itself the handle is detached instead.
  void Join();

  double IntervalMs() const { return intervalMs.load(); }
  long ImageCounter() const { return imageCounter.load(); }
  long Length() const { return length.load(); }

 private:
  void RunLoop();
  void ReclaimRetiredThreads() EXCLUDES(threadMutex);
  static void JoinOrDetach(std::thread& thread);

  qv::Mutex threadMutex;
  std::thread thread GUARDED_BY(threadMutex);
  // Handles of finished runs replaced before they were joined.
  std::vector<std::thread> retired GUARDED_BY(threadMutex);
  std::atomic<double> intervalMs{100.0};
  std::atomic<long> length{1};
  std::atomic<long> imageCounter{0};
  bool stopped GUARDED_BY(stopLock) = true;
  SequenceOwner* const camera;
  mutable qv::RecursiveMutex stopLock;
};
