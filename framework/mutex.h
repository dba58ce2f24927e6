// Annotated mutexes. libstdc++'s own mutexes carry no capability attributes,
// so the lock annotations are checked against these thin wrappers.
#pragma once

#include <condition_variable>
#include <mutex>

#include "framework/thread_annotations.h"

namespace qv {

class CAPABILITY("mutex") Mutex {
 public:
  void Lock() ACQUIRE() { mu_.lock(); }
  void Unlock() RELEASE() { mu_.unlock(); }
  void AssertHeld() ASSERT_CAPABILITY(this) {}
  std::mutex& native() { return mu_; }

 private:
  std::mutex mu_;
};

class CAPABILITY("mutex") RecursiveMutex {
 public:
  void Lock() ACQUIRE() { mu_.lock(); }
  void Unlock() RELEASE() { mu_.unlock(); }

 private:
  std::recursive_mutex mu_;
};

template <typename M>
class SCOPED_CAPABILITY ScopedLock {
 public:
  explicit ScopedLock(M& mu) ACQUIRE(mu) : mu_(mu) { mu_.Lock(); }
  ~ScopedLock() RELEASE() { mu_.Unlock(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  M& mu_;
};

using MutexLock = ScopedLock<Mutex>;
using RecursiveMutexLock = ScopedLock<RecursiveMutex>;

// A condition variable waited on with a held qv::Mutex. Waiting releases and
// re-acquires the mutex; callers hold it before and after.
class CondVar {
 public:
  template <typename Pred>
  void Wait(Mutex& mu, Pred pred) REQUIRES(mu) {
    std::unique_lock<std::mutex> lock(mu.native(), std::adopt_lock);
    cv_.wait(lock, pred);
    lock.release();
  }
  // Returns false when the deadline passed with pred still false.
  template <typename Clock, typename Duration, typename Pred>
  bool WaitUntil(Mutex& mu, const std::chrono::time_point<Clock, Duration>& deadline, Pred pred)
      REQUIRES(mu) {
    std::unique_lock<std::mutex> lock(mu.native(), std::adopt_lock);
    bool ok = cv_.wait_until(lock, deadline, pred);
    lock.release();
    return ok;
  }
  void NotifyAll() { cv_.notify_all(); }
  void NotifyOne() { cv_.notify_one(); }

 private:
  std::condition_variable cv_;
};

}  // namespace qv
