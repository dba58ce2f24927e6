#include "host/cli/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include <boost/format.hpp>

namespace qv::host::cli {
namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawPeriod = std::chrono::milliseconds(100);
}  // namespace

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

ProgressBar::ProgressBar(long total, bool enabled)
    : total_(total), enabled_(enabled), start_(std::chrono::steady_clock::now()),
      lastDraw_(start_ - kRedrawPeriod) {}

void ProgressBar::Update(uint64_t frames, double bytes) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < kRedrawPeriod) return;
  lastDraw_ = now;
  Draw(frames, bytes, std::chrono::duration<double>(now - start_).count());
}

void ProgressBar::Draw(uint64_t frames, double bytes, double seconds) {
  const double share = total_ > 0 ? std::min(1.0, static_cast<double>(frames) / total_) : 0.0;
  const int filled = static_cast<int>(share * kBarWidth);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
  const double fps = seconds > 0 ? frames / seconds : 0.0;
  const double mbps = seconds > 0 ? bytes / 1e6 / seconds : 0.0;
  std::fprintf(stderr, "%s",
               (boost::format("\r[%s] %u/%d frames  %.1f fps  %.1f MB/s ") % bar % frames %
                total_ % fps % mbps)
                   .str()
                   .c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Finish(uint64_t frames, double bytes) {
  if (!enabled_) return;
  Draw(frames, bytes, std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count());
  if (drawn_) std::fprintf(stderr, "\n");
  drawn_ = false;
}

}  // namespace qv::host::cli
