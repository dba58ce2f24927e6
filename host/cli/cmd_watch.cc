#include <algorithm>
#include <chrono>
#include <cstdio>

#include <boost/format.hpp>
#include <nlohmann/json.hpp>

#include "host/cli/camera_context.h"
#include "host/cli/commands.h"
#include "host/cli/interrupt.h"
#include "host/cli/json_output.h"

namespace qv::host::cli {
namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(200);

bool IsNotification(const HostEvent& event) {
  return event.kind == EventKind::PropertyChanged || event.kind == EventKind::ExposureChanged;
}

// One line per notification: "  1.234 s  Name = value", or a JSON object.
void PrintNotification(const HostEvent& event, double seconds, bool json) {
  const bool exposure = event.kind == EventKind::ExposureChanged;
  if (json) {
    nlohmann::json line = {{"time", seconds}, {"kind", EventKindName(event.kind)}};
    if (exposure) {
      line["exposureMs"] = event.number;
    } else {
      line["name"] = event.name;
      line["value"] = event.value;
    }
    PrintJson(line, -1);
    return;
  }
  const std::string text = exposure ? (boost::format("exposure = %g ms") % event.number).str()
                                    : event.name + " = " + event.value;
  std::printf("%8.3f s  %s\n", seconds, text.c_str());
  std::fflush(stdout);
}

}  // namespace

int RunWatch(const Options& options, CliError* error) {
  const auto context = CameraContext::Open(options, error);
  if (context == nullptr) return error->code;
  InterruptGuard interrupt;
  EventLog& log = context->core().events();
  const auto start = context->initializedAt();  // times count from the end of Initialize
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                               std::chrono::duration<double>(options.seconds));
  uint64_t next = context->eventsAfterInit();  // the --set writes' notifications count too
  uint64_t printed = 0;
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    const auto wait = std::min<std::chrono::steady_clock::duration>(end - now, kPollPeriod);
    for (const HostEvent& event :
         log.WaitSince(next, std::chrono::duration_cast<std::chrono::milliseconds>(wait))) {
      next = event.index + 1;
      if (!IsNotification(event)) continue;
      PrintNotification(event, std::chrono::duration<double>(event.when - start).count(),
                        options.json);
      ++printed;
    }
    if (InterruptGuard::Requested() || std::chrono::steady_clock::now() >= end) break;
  }
  if (options.json) {
    PrintJson({{"device", context->deviceName()},
               {"seconds", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()},
               {"notifications", printed}},
              -1);
  } else {
    std::printf("watch: %u notifications\n", static_cast<unsigned>(printed));
  }
  return kExitOk;
}

}  // namespace qv::host::cli
