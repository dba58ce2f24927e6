#include "host/cli/camera_context.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <boost/format.hpp>

namespace qv::host::cli {
namespace {

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string ExecutableDir() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  path[length] = '\0';
  std::string text(path);
  return text.substr(0, text.rfind('/'));
}

std::string OfferedNames(const std::vector<OfferedDevice>& offered) {
  std::string names;
  for (const OfferedDevice& device : offered) {
    names += (names.empty() ? "" : ", ") + ("\"" + device.name + "\"");
  }
  return names.empty() ? "none" : names;
}

}  // namespace

std::string ResolveAdapterDir(const Options& options) {
  if (!options.adapters.empty()) return options.adapters;
  const std::string besideExe = ExecutableDir() + "/../adapters";
  if (FileExists(ModulePathIn(besideExe))) {
    char resolved[PATH_MAX];
    return realpath(besideExe.c_str(), resolved) != nullptr ? resolved : besideExe;
  }
  return BuiltAdapterDir();
}

std::unique_ptr<ModuleLoader> LoadModule(const Options& options, CliError* error) {
  std::string why;
  auto module = ModuleLoader::Open(ModulePathIn(ResolveAdapterDir(options)), &why);
  if (module == nullptr) *error = {kExitModule, why};
  return module;
}

std::string ChooseDevice(const std::vector<OfferedDevice>& offered, const std::string& wanted,
                         CliError* error) {
  for (const OfferedDevice& device : offered) {
    if (wanted.empty() ? device.type == CameraDeviceType : device.name == wanted) {
      return device.name;
    }
  }
  if (wanted.empty()) {
    *error = {kExitNoCamera, "no camera: the module offers no camera device"};
  } else {
    *error = {kExitNoCamera, (boost::format("unknown device \"%s\" (offered: %s)") % wanted %
                              OfferedNames(offered))
                                 .str()};
  }
  return "";
}

LogEcho::LogEcho(EventLog& log) : log_(log), thread_([this] { Follow(); }) {}

LogEcho::~LogEcho() {
  stop_ = true;
  thread_.join();
}

void LogEcho::Follow() {
  uint64_t next = 0;
  for (;;) {
    const bool last = stop_;  // one more pass after the stop request drains the log
    for (const HostEvent& event : log_.WaitSince(next, std::chrono::milliseconds(100))) {
      next = event.index + 1;
      if (event.kind == EventKind::Log) std::fprintf(stderr, "[log] %s\n", event.value.c_str());
    }
    if (last) return;
  }
}

std::unique_ptr<CameraContext> CameraContext::Open(const Options& options, CliError* error) {
  std::unique_ptr<CameraContext> context(new CameraContext());
  context->module_ = LoadModule(options, error);
  if (context->module_ == nullptr) return nullptr;
  const std::vector<OfferedDevice> offered = context->module_->ListDevices();
  const std::string name = ChooseDevice(offered, options.device, error);
  if (name.empty()) return nullptr;

  ImageBufferLimits limits;
  limits.maxFrames = options.bufferFrames;
  limits.maxBytes = options.bufferMegabytes * size_t{1024} * 1024;
  context->core_ = std::make_unique<HostCoreImpl>(limits);
  if (options.verbose) context->echo_ = std::make_unique<LogEcho>(context->core_->events());

  SessionOptions sessionOptions;
  for (const OfferedDevice& device : offered) {
    if (device.name == name) sessionOptions.description = device.description;
  }
  std::string why;
  context->session_ =
      DeviceSession::Open(*context->module_, name, context->core_.get(), sessionOptions, &why);
  if (context->session_ == nullptr) {
    *error = {kExitFailure, why};
    return nullptr;
  }
  context->camera_ = context->session_->camera();
  if (context->camera_ == nullptr) {
    *error = {kExitNoCamera, (boost::format("device \"%s\" is not a camera") % name).str()};
    return nullptr;
  }
  context->eventsAfterInit_ = context->core_->events().NextIndex();
  context->initializedAt_ = std::chrono::steady_clock::now();
  if (!context->ApplySets(options, error)) return nullptr;
  return context;
}

bool CameraContext::ApplySets(const Options& options, CliError* error) {
  MM::Device& device = *session_->device();
  for (const auto& [name, value] : options.sets) {
    if (!device.PropertyExists(name.c_str())) {
      *error = {kExitProperty, (boost::format("unknown property \"%s\"") % name).str()};
      return false;
    }
    bool readOnly = false;
    device.IsPropertyReadOnly(name.c_str(), readOnly);
    if (readOnly) {
      // The device would answer 0 and ignore the value; say so instead.
      *error = {kExitProperty, (boost::format("property \"%s\" is read-only") % name).str()};
      return false;
    }
    const int code = device.WriteProperty(name.c_str(), value.c_str());
    if (code != 0) {
      *error = {kExitProperty, (boost::format("cannot set \"%s\" to \"%s\": %s (code %d)") % name %
                                value % session_->ErrorText(code) % code)
                                   .str()};
      return false;
    }
  }
  if (options.hasRegion) {
    const unsigned* r = options.region;
    const int code = camera_->SetRegion(r[0], r[1], r[2], r[3]);
    if (code != 0) {
      *error = {kExitProperty, (boost::format("cannot set the region %u,%u,%u,%u: %s (code %d)") %
                                r[0] % r[1] % r[2] % r[3] % session_->ErrorText(code) % code)
                                   .str()};
      return false;
    }
  }
  return true;
}

}  // namespace qv::host::cli
