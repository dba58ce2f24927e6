// Runs one module scenario in a child process: the module pins itself and
// keeps module-wide state, so every case gets a fresh process and a fresh
// directory holding the module and an SDK library under the names it needs.
#pragma once

#include <dlfcn.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/module_loader.h"
#include "tests/module/fake_sdk_calls.h"
#include "tests/module/scratch_dir.h"

// Forks; the child runs `body` and exits with 0 when no expectation failed.
// Returns the child's exit status (or -1 when it died otherwise).
inline int RunInChild(const std::function<void()>& body) {
  pid_t child = fork();
  if (child == 0) {
    body();
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::unique_ptr<qv::host::ModuleLoader> LoadModule(const std::string& path) {
  std::string error;
  auto loader = qv::host::ModuleLoader::Open(path, &error);
  EXPECT_NE(loader, nullptr) << error;
  return loader;
}

// Paths of every object the dynamic linker has loaded into this process.
inline std::vector<std::string> LoadedObjects() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* out) {
        static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
        return 0;
      },
      &names);
  return names;
}

inline bool IsLoaded(const std::string& path) {
  for (const std::string& name : LoadedObjects())
    if (name == path) return true;
  return false;
}

// The call counts of the fake SDK loaded from `path` (null when not loaded).
inline const FakeSdkCallCounts* FakeSdkCallsAt(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return nullptr;
  auto calls = reinterpret_cast<FakeSdkCallsFn>(dlsym(handle, "FakeSdkCalls"));
  return calls != nullptr ? calls() : nullptr;
}

inline std::vector<std::string> NamesOf(const std::vector<qv::host::OfferedDevice>& devices) {
  std::vector<std::string> names;
  for (const auto& device : devices) names.push_back(device.name);
  return names;
}
