#include <chrono>
#include <cstdio>

#include <boost/format.hpp>
#include <nlohmann/json.hpp>

#include "host/cli/camera_context.h"
#include "host/cli/commands.h"
#include "host/cli/image_summary.h"
#include "host/cli/interrupt.h"
#include "host/cli/json_output.h"
#include "host/cli/progress.h"
#include "host/cli/tiff_writer.h"

namespace qv::host::cli {
namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(100);

// The consumer side of one sequence: frames leave the image buffer as they
// come and go straight into the TIFF file, so memory stays at the buffer's
// limit however long the sequence is.
class SequenceRecorder {
 public:
  SequenceRecorder(CameraContext& context, const Options& options, TiffWriter* writer)
      : context_(context), writer_(writer),
        progress_(options.count, StderrIsTerminal()) {}

  // Runs until the sequence has ended and the buffer is drained.
  bool Record(std::string* error) {
    MM::Camera& camera = context_.camera();
    const auto start = std::chrono::steady_clock::now();
    bool stopRequested = false;
    for (;;) {
      if (InterruptGuard::Requested() && !stopRequested) {
        camera.StopSequence();  // joins the sequence thread; what it pushed stays queued
        stopRequested = interrupted_ = true;
      }
      const PopResult result = context_.core().images().Pop(&frame_, kPollPeriod);
      if (result == PopResult::Frame) {
        if (!Consume(error)) {
          camera.StopSequence();
          return false;
        }
      } else if (result == PopResult::Ended) {
        break;
      } else if (!camera.IsSequenceRunning()) {
        // Ended without AcquisitionFinished: take what is still queued.
        while (context_.core().images().Pop(&frame_, std::chrono::milliseconds(0)) ==
               PopResult::Frame) {
          if (!Consume(error)) return false;
        }
        break;
      }
    }
    seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    progress_.Finish(frames_, bytes_);
    return true;
  }

  uint64_t frames() const { return frames_; }
  double bytes() const { return bytes_; }
  double seconds() const { return seconds_; }
  bool interrupted() const { return interrupted_; }
  const ImageSummary& summary() const { return summary_; }

 private:
  bool Consume(std::string* error) {
    const ImageView image{frame_.pixels.data(), frame_.width, frame_.height, frame_.bytesPerPixel};
    if (frames_ == 0) {
      summary_.width = image.width;
      summary_.height = image.height;
      summary_.bytesPerPixel = image.bytesPerPixel;
      summary_.bitDepth = context_.camera().ImageBitDepth();
    }
    summary_.stats.Add(image);
    if (writer_ != nullptr && !writer_->WritePage(image, frame_.metadata, error)) return false;
    ++frames_;
    bytes_ += static_cast<double>(image.bytes());
    progress_.Update(frames_, bytes_);
    return true;
  }

  CameraContext& context_;
  TiffWriter* writer_;
  ProgressBar progress_;
  ImageFrame frame_;  // reused: its storage goes back to the buffer on each Pop
  ImageSummary summary_;
  uint64_t frames_ = 0;
  double bytes_ = 0.0;
  double seconds_ = 0.0;
  bool interrupted_ = false;
};

// Why a sequence delivered fewer frames than asked for, or "" when it did not.
std::string ShortfallReason(const SequenceRecorder& recorder, const ImageBufferStats& stats,
                            const Options& options) {
  if (recorder.interrupted() || recorder.frames() + stats.dropped >= uint64_t(options.count)) {
    return "";
  }
  if (stats.refused > 0) {
    return (boost::format("the image buffer was full after %u frames and the sequence ended "
                          "(raise --buffer-mb / --buffer-frames, or use --overflow clear)") %
            recorder.frames())
        .str();
  }
  return (boost::format("the sequence ended after %u of %d frames") % recorder.frames() %
          options.count)
      .str();
}

void PrintSummary(const CameraContext& context, const Options& options,
                  const SequenceRecorder& recorder, const ImageBufferStats& stats) {
  const double seconds = recorder.seconds();
  const double fps = seconds > 0 ? recorder.frames() / seconds : 0.0;
  const double mbps = seconds > 0 ? recorder.bytes() / 1e6 / seconds : 0.0;
  if (options.json) {
    nlohmann::json out = {{"device", context.deviceName()},
                          {"file", options.out.empty() ? nlohmann::json() : nlohmann::json(options.out)},
                          {"requested", options.count},
                          {"frames", recorder.frames()},
                          {"dropped", stats.dropped},
                          {"refused", stats.refused},
                          {"interrupted", recorder.interrupted()},
                          {"seconds", seconds},
                          {"fps", fps},
                          {"mbPerSecond", mbps}};
    AddSummaryJson(recorder.summary(), &out);
    PrintJson(out);
    return;
  }
  std::printf("%s",
              (boost::format("sequence: %u of %d frames in %.2f s (%.1f fps, %.1f MB/s)%s\n") %
               recorder.frames() % options.count % seconds % fps % mbps %
               (recorder.interrupted() ? ", interrupted" : ""))
                  .str()
                  .c_str());
  if (stats.dropped > 0) {
    std::printf("dropped: %u frames (image buffer full)\n", static_cast<unsigned>(stats.dropped));
  }
  if (recorder.frames() > 0) std::printf("frames: %s\n", SummaryText(recorder.summary()).c_str());
  if (!options.out.empty()) std::printf("written: %s\n", options.out.c_str());
}

}  // namespace

// A TIFF file without pages is no valid file: when nothing was recorded,
// none is left behind.
void RemoveIfEmpty(std::unique_ptr<TiffWriter>* writer) {
  if (*writer == nullptr || (*writer)->pages() != 0) return;
  const std::string path = (*writer)->path();
  writer->reset();
  std::remove(path.c_str());
}

int RunSequence(const Options& options, CliError* error) {
  const auto context = CameraContext::Open(options, error);
  if (context == nullptr) return error->code;
  MM::Camera& camera = context->camera();

  std::string why;
  std::unique_ptr<TiffWriter> writer;
  if (!options.out.empty()) {
    const double expected = static_cast<double>(options.count) * camera.ImageBufferSize();
    writer = TiffWriter::Create(options.out, expected, &why);
    if (writer == nullptr) {
      *error = {kExitFailure, why};
      return error->code;
    }
  }

  InterruptGuard interrupt;
  const bool stopOnOverflow = options.overflow == OverflowPolicy::Stop;
  const int code = camera.StartSequence(options.count, options.intervalMs, stopOnOverflow);
  if (code != 0) {
    RemoveIfEmpty(&writer);
    *error = {kExitFailure, (boost::format("the sequence did not start: %s (code %d)") %
                             context->session().ErrorText(code) % code)
                                .str()};
    return error->code;
  }
  SequenceRecorder recorder(*context, options, writer.get());
  const bool recorded = recorder.Record(&why);
  camera.StopSequence();  // back to software trigger, also after a run that ended by itself
  RemoveIfEmpty(&writer);
  if (writer != nullptr && recorded && !writer->Close(&why)) {
    *error = {kExitFailure, why};
    return error->code;
  }
  if (!recorded) {
    *error = {kExitFailure, why};
    return error->code;
  }
  const ImageBufferStats stats = context->core().images().Stats();
  PrintSummary(*context, options, recorder, stats);
  const std::string shortfall = ShortfallReason(recorder, stats, options);
  if (!shortfall.empty()) {
    *error = {kExitFailure, shortfall};
    return error->code;
  }
  return kExitOk;
}

}  // namespace qv::host::cli
