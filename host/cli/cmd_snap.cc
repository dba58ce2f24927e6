#include <cstdio>

#include <boost/format.hpp>
#include <nlohmann/json.hpp>

#include "host/cli/camera_context.h"
#include "host/cli/commands.h"
#include "host/cli/image_summary.h"
#include "host/cli/json_output.h"
#include "host/cli/tiff_writer.h"

namespace qv::host::cli {
namespace {

// A single snap comes with no metadata text from the module; the host
// describes it itself, in the same spirit (JSON, one object).
std::string SnapDescription(const CameraContext& context, const ImageSummary& summary) {
  const nlohmann::json description = {{"Camera", context.deviceName()},
                                      {"Exposure-ms", context.camera().GetExposure()},
                                      {"Binning", context.camera().BinFactor()},
                                      {"BitDepth", summary.bitDepth},
                                      {"Width", summary.width},
                                      {"Height", summary.height}};
  return description.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

int RunSnap(const Options& options, CliError* error) {
  const auto context = CameraContext::Open(options, error);
  if (context == nullptr) return error->code;
  MM::Camera& camera = context->camera();
  const int code = camera.CaptureImage();
  if (code != 0) {
    *error = {kExitFailure, (boost::format("the capture failed: %s (code %d)") %
                             context->session().ErrorText(code) % code)
                                .str()};
    return error->code;
  }
  const ImageView image{camera.ImagePixels(), camera.ImageWidth(), camera.ImageHeight(),
                        camera.ImageBytesPerPixel()};
  ImageSummary summary;
  summary.width = image.width;
  summary.height = image.height;
  summary.bytesPerPixel = image.bytesPerPixel;
  summary.bitDepth = camera.ImageBitDepth();
  summary.stats.Add(image);

  std::string why;
  const std::string description = SnapDescription(*context, summary);
  auto writer = TiffWriter::Create(options.out, static_cast<double>(image.bytes()), &why);
  if (writer == nullptr || !writer->WritePage(image, description, &why) || !writer->Close(&why)) {
    *error = {kExitFailure, why};
    return error->code;
  }

  if (options.json) {
    nlohmann::json out = {{"device", context->deviceName()}, {"file", options.out},
                          {"metadata", description}};
    AddSummaryJson(summary, &out);
    PrintJson(out);
  } else {
    std::printf("snap: %s\nwritten: %s\n", SummaryText(summary).c_str(), options.out.c_str());
  }
  return kExitOk;
}

}  // namespace qv::host::cli
