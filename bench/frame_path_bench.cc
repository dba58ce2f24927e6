// Measures the frame path of a running sequence: the SDK pulls each frame into
// the camera's frame buffer and the camera pushes it into the host's image
// buffer, all on the module's sequence thread. The CPU time that thread spends
// per frame is compared with a plain memcpy of the same number of bytes,
// timed in the same run, and the allocations it makes per frame are counted.
// A copy-free path costs about two memcpys: the SDK's write of the frame and
// the host's copy of it.
//
//   frame_path_bench [--adapters DIR] [--frames N] [--check]
//
// --check runs one short case and fails when the steady sequence allocates on
// the delivering thread.
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/allocation_counter.h"
#include "host/device_session.h"
#include "host/host_core_impl.h"
#include "host/module_loader.h"

namespace {

using qv::host::DeviceSession;
using qv::host::HostCoreImpl;
using qv::host::ImageFrame;
using qv::host::ModuleLoader;
using qv::host::PopResult;

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// A host core that stamps every push with the pushing thread's CPU clock and
// the allocation count, into storage reserved before the sequence starts.
class MeasuringCore : public HostCoreImpl {
 public:
  static constexpr size_t kMaxFrames = 4096;

  int PushImage(const MM::Device* caller, const unsigned char* pixels, unsigned width,
                unsigned height, unsigned bytesPerPixel, const char* metadata,
                bool process) override {
    if (!counting_) {
      qv::bench::CountAllocationsOnThisThread();
      counting_ = true;
    }
    size_t n = pushes_.load(std::memory_order_relaxed);
    if (n < kMaxFrames) {
      cpu_[n] = ThreadCpuSeconds();
      allocations_[n] = qv::bench::CountedAllocations();
      pushes_.store(n + 1, std::memory_order_release);
    }
    return HostCoreImpl::PushImage(caller, pixels, width, height, bytesPerPixel, metadata,
                                   process);
  }

  size_t pushes() const { return pushes_.load(std::memory_order_acquire); }
  double cpu(size_t i) const { return cpu_[i]; }
  uint64_t allocations(size_t i) const { return allocations_[i]; }

 private:
  static thread_local bool counting_;
  std::atomic<size_t> pushes_{0};
  std::array<double, kMaxFrames> cpu_{};
  std::array<uint64_t, kMaxFrames> allocations_{};
};
thread_local bool MeasuringCore::counting_ = false;

struct Case {
  const char* device;
  std::vector<std::pair<const char*, const char*>> settings;
};

struct Result {
  unsigned width = 0, height = 0, bytesPerPixel = 0;
  size_t frames = 0;
  double pathCpuPerFrame = 0;   // seconds of the sequence thread per frame
  double memcpyPerFrame = 0;    // seconds per memcpy of one frame
  double allocationsPerFrame = 0;
  double fps = 0;
};

// Median CPU seconds of one memcpy of `bytes`, over `rounds` copies.
double MemcpySeconds(size_t bytes, int rounds) {
  std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
  std::memcpy(to.data(), from.data(), bytes);  // warm both buffers
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    from[i % bytes] = static_cast<unsigned char>(i);
    double t0 = ThreadCpuSeconds();
    std::memcpy(to.data(), from.data(), bytes);
    times.push_back(ThreadCpuSeconds() - t0);
  }
  volatile unsigned char sink = to[bytes / 2];
  (void)sink;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool RunCase(const ModuleLoader& module, const Case& c, size_t frames, Result* out,
             std::string* error) {
  MeasuringCore core;
  qv::host::SessionOptions options;
  auto session = DeviceSession::Open(module, c.device, &core, options, error);
  if (!session) return false;
  MM::Camera* camera = session->camera();
  if (!camera) {
    *error = std::string(c.device) + " is not a camera";
    return false;
  }
  for (const auto& [name, value] : c.settings) {
    int code = camera->WriteProperty(name, value);
    if (code != 0) {
      *error = std::string("setting ") + name + "=" + value + ": " + session->ErrorText(code);
      return false;
    }
  }
  frames = std::min(frames, MeasuringCore::kMaxFrames);
  auto start = std::chrono::steady_clock::now();
  int code = camera->StartSequence(static_cast<long>(frames), 0.0, false);
  if (code != 0) {
    *error = "StartSequence: " + session->ErrorText(code);
    return false;
  }
  ImageFrame frame;
  for (;;) {
    PopResult r = core.images().Pop(&frame, std::chrono::seconds(10));
    if (r == PopResult::Ended) break;
    if (r == PopResult::TimedOut) {
      camera->StopSequence();
      *error = "no frame for 10 s";
      return false;
    }
    out->width = frame.width;
    out->height = frame.height;
    out->bytesPerPixel = frame.bytesPerPixel;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  camera->StopSequence();

  size_t n = core.pushes();
  if (n < 8) {
    *error = "too few frames delivered";
    return false;
  }
  // Skip the first quarter: buffers warm up, the host buffer's storage pool fills.
  size_t first = n / 4, last = n - 1;
  out->frames = n;
  out->pathCpuPerFrame = (core.cpu(last) - core.cpu(first)) / double(last - first);
  out->allocationsPerFrame =
      double(core.allocations(last) - core.allocations(first)) / double(last - first);
  out->fps = n / seconds;
  size_t bytes = size_t(out->width) * out->height * out->bytesPerPixel;
  out->memcpyPerFrame = MemcpySeconds(bytes, 31);
  return true;
}

void Print(const Case& c, const Result& r) {
  std::printf("%-16s %5ux%-5u %u B/px %6.1f MB  %5zu frames  path/memcpy %5.2f  "
              "allocations/frame %.2f  (%.1f fps, paced by the camera)\n",
              c.device, r.width, r.height, r.bytesPerPixel,
              double(r.width) * r.height * r.bytesPerPixel / 1e6, r.frames,
              r.pathCpuPerFrame / r.memcpyPerFrame, r.allocationsPerFrame, r.fps);
}

}  // namespace

int main(int argc, char** argv) {
  std::string adapters = QUORVEX_BENCH_ADAPTER_DIR;
  size_t frames = 120;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--adapters" && i + 1 < argc) adapters = argv[++i];
    else if (a == "--frames" && i + 1 < argc) frames = std::stoul(argv[++i]);
    else if (a == "--check") check = true;
    else {
      std::fprintf(stderr, "usage: frame_path_bench [--adapters DIR] [--frames N] [--check]\n");
      return 2;
    }
  }
  std::string error;
  auto module = ModuleLoader::Open(adapters + "/libmmgr_dal_Quorvex.so", &error);
  if (!module) {
    std::fprintf(stderr, "frame_path_bench: %s\n", error.c_str());
    return 3;
  }
  module->ListDevices();

  std::vector<Case> cases = {
      {"Quorvex M5 Cool", {{"PixelType", "RAW8"}, {"Exposure", "1"}}},
      {"Quorvex M5 Cool", {{"PixelType", "RAW16"}, {"Exposure", "1"}}},
      {"Quorvex G3 GigE", {{"PixelType", "RAW8"}, {"Exposure", "1"}, {"Resolution", "512 x 384"}}},
      {"Quorvex C8 ISP", {{"PixelType", "RAW8"}, {"Exposure", "1"}, {"Resolution", "1920 x 1080"}}},
  };
  if (check) {
    cases.resize(1);
    frames = 40;
  }
  int failures = 0;
  for (const Case& c : cases) {
    Result r;
    if (!RunCase(*module, c, frames, &r, &error)) {
      std::fprintf(stderr, "frame_path_bench: %s: %s\n", c.device, error.c_str());
      return 1;
    }
    Print(c, r);
    if (check && r.allocationsPerFrame > 0) {
      std::fprintf(stderr, "frame_path_bench: %.2f allocations per frame on the delivering thread\n",
                   r.allocationsPerFrame);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
