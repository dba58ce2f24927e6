#include "host/host_core_impl.h"

namespace qv::host {

HostCoreImpl::HostCoreImpl(ImageBufferLimits limits) : images_(limits) {}

void HostCoreImpl::Record(EventKind kind, const MM::Device* caller, const char* name,
                          const char* value, double number, int status, bool flag) {
  HostEvent event;
  event.kind = kind;
  event.device = caller;
  event.name = name != nullptr ? name : "";
  event.value = value != nullptr ? value : "";
  event.number = number;
  event.status = status;
  event.flag = flag;
  events_.Append(std::move(event));
}

int HostCoreImpl::LogMessage(const MM::Device* caller, const char* text, bool debugOnly) {
  Record(EventKind::Log, caller, nullptr, text, 0.0, 0, debugOnly);
  return 0;
}

int HostCoreImpl::OnPropertyChanged(const MM::Device* caller, const char* name,
                                    const char* value) {
  Record(EventKind::PropertyChanged, caller, name, value);
  return 0;
}

int HostCoreImpl::OnExposureChanged(const MM::Device* caller, double exposureMs) {
  Record(EventKind::ExposureChanged, caller, nullptr, nullptr, exposureMs);
  return 0;
}

int HostCoreImpl::AcquisitionFinished(const MM::Device* caller, int status) {
  Record(EventKind::AcquisitionFinished, caller, nullptr, nullptr, 0.0, status);
  images_.EndAcquisition();
  return 0;
}

int HostCoreImpl::PrepareForAcquisition(const MM::Device* caller) {
  const int answer = prepareAnswer_;
  Record(EventKind::PrepareForAcquisition, caller, nullptr, nullptr, 0.0, answer);
  if (answer == 0) images_.BeginAcquisition();
  return answer;
}

int HostCoreImpl::PushImage(const MM::Device*, const unsigned char* pixels, unsigned width,
                            unsigned height, unsigned bytesPerPixel,
                            const char* serializedMetadata, bool) {
  return images_.Push(pixels, width, height, bytesPerPixel, serializedMetadata);
}

int HostCoreImpl::ClearImageQueue(const MM::Device* caller) {
  Record(EventKind::ClearImageQueue, caller, nullptr, nullptr);
  images_.Clear();
  return 0;
}

}  // namespace qv::host
