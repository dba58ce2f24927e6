#include "framework/sequence_thread.h"

#include <utility>

#include "framework/device_error.h"

BaseSequenceThread::BaseSequenceThread(SequenceOwner* camera) : camera(camera) {}

BaseSequenceThread::~BaseSequenceThread() {
  RequestStop();
  Join();
}

int BaseSequenceThread::StartThread() {
  qv::MutexLock lock(threadMutex);
  // A finished run not yet reclaimed; joined by StartRun once stopLock is free.
  if (thread.joinable()) retired.push_back(std::move(thread));
  thread = std::thread([this] { Run(); });
  return 0;
}

int BaseSequenceThread::StartRun(long count, double interval) {
  if (!IsStopped()) return DeviceError::CameraBusy;
  Join();  // the previous run ended by itself: reclaim its thread
  {
    qv::RecursiveMutexLock lock(stopLock);
    if (!stopped) return DeviceError::CameraBusy;
    length = count;
    stopped = false;
    imageCounter = 0;
    intervalMs = interval;
    StartThread();
  }
  ReclaimRetiredThreads();
  return DeviceError::Ok;
}

bool BaseSequenceThread::IsStopped() const {
  qv::RecursiveMutexLock lock(stopLock);
  return stopped;
}

void BaseSequenceThread::RequestStop() {
  qv::RecursiveMutexLock lock(stopLock);
  stopped = true;
}

void BaseSequenceThread::Join() {
  std::thread current;
  {
    qv::MutexLock lock(threadMutex);
    current = std::move(thread);
  }
  JoinOrDetach(current);
  ReclaimRetiredThreads();
}

void BaseSequenceThread::ReclaimRetiredThreads() {
  std::vector<std::thread> finished;
  {
    qv::MutexLock lock(threadMutex);
    finished.swap(retired);
  }
  for (std::thread& each : finished) JoinOrDetach(each);
}

void BaseSequenceThread::JoinOrDetach(std::thread& handle) {
  if (!handle.joinable()) return;
  if (handle.get_id() == std::this_thread::get_id()) {
    handle.detach();  // a run cannot wait for itself
  } else {
    handle.join();
  }
}

int BaseSequenceThread::Run() {
  try {
    RunLoop();
    if (IsStopped()) camera->LogSequenceText("SeqAcquisition interrupted by the user\n");
  } catch (...) {
    try {
      camera->LogSequenceText("Exception in the thread function.");
    } catch (...) {
    }
  }
  RequestStop();
  try {
    camera->OnSequenceEnd();
  } catch (...) {
    // Nothing may escape the thread's entry.
  }
  return 0;
}

void BaseSequenceThread::RunLoop() {
  for (;;) {
    if (camera->RunSequenceStep() != DeviceError::Ok) return;
    if (IsStopped()) return;
    const long n = imageCounter.load();
    imageCounter = n + 1;
    // n >= length - 1, written so that no length can overflow.
    if (n + 1 >= length.load()) return;
  }
}
