// Placeholder until the camera subsystem provides the real Camera: a device
// that answers every call trivially, so the module links and its exports can
// be exercised. Replaced by the camera developer's camera_factory.cc.
#include <algorithm>
#include <cstring>
#include <string>

#include "module/device_factory.h"

namespace {

void CopyOut(const std::string& text, char* buffer) {
  if (buffer == nullptr) return;
  size_t length = std::min<size_t>(text.size(), HostStringLimit - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

constexpr int NotSupported = 1;

class PlaceholderCamera final : public MM::Camera {
 public:
  explicit PlaceholderCamera(const char* name) : name_(name) {}

  unsigned PropertyCount() const override { return 0; }
  int ReadProperty(const char*, char*) override { return NotSupported; }
  int WriteProperty(const char*, const char*) override { return NotSupported; }
  bool PropertyExists(const char*) const override { return false; }
  bool PropertyNameAt(unsigned, char*) const override { return false; }
  int IsPropertyReadOnly(const char*, bool&) override { return NotSupported; }
  int IsPropertyPreInit(const char*, bool&) override { return NotSupported; }
  int PropertyHasLimits(const char*, bool&) override { return NotSupported; }
  int PropertyLowerLimit(const char*, double&) override { return NotSupported; }
  int PropertyUpperLimit(const char*, double&) override { return NotSupported; }
  int PropertyKindOf(const char*, int&) override { return NotSupported; }
  unsigned AllowedValueCount(const char*) const override { return 0; }
  bool AllowedValueAt(const char*, unsigned, char*) const override { return false; }
  int PropertyCanSequence(const char*, bool&) override { return NotSupported; }
  int PropertySequenceCapacity(const char*, long&) override { return NotSupported; }
  int BeginPropertySequence(const char*) override { return NotSupported; }
  int EndPropertySequence(const char*) override { return NotSupported; }
  int ResetPropertySequence(const char*) override { return NotSupported; }
  int AppendPropertySequence(const char*, const char*) override { return NotSupported; }
  int CommitPropertySequence(const char*) override { return NotSupported; }
  bool ErrorText(int, char*) override { return false; }
  bool IsBusy() override { return false; }
  double DelayMs() const override { return 0; }
  void SetDelayMs(double) override {}
  bool UsesDelay() override { return false; }
  void* LibraryHandle() override { return libraryHandle_; }
  void SetLibraryHandle(void* handle) override { libraryHandle_ = handle; }
  void SetLabel(const char* label) override { label_ = label != nullptr ? label : ""; }
  void GetLabel(char* label) const override { CopyOut(label_, label); }
  void SetModuleName(const char* name) override { moduleName_ = name != nullptr ? name : ""; }
  void GetModuleName(char* name) const override { CopyOut(moduleName_, name); }
  void SetDescription(const char*) override {}
  void GetDescription(char* description) const override { CopyOut("", description); }
  int Initialize() override { return NotSupported; }
  int Shutdown() override { return 0; }
  int DeviceType() const override { return CameraDeviceType; }
  void GetName(char* name) const override { CopyOut(name_, name); }
  void SetCallback(HostCore*) override {}
  int HostHook() override { return 0; }
  int HostStatusQuery() override { return 0; }
  void SetParentId(const char*) override {}
  void GetParentId(char* id) const override { CopyOut("", id); }

  int CaptureImage() override { return NotSupported; }
  const unsigned char* ImagePixels() override { return nullptr; }
  const unsigned char* ChannelPixels(unsigned) override { return nullptr; }
  const unsigned* ImagePixelsRgb32() override { return nullptr; }
  unsigned ComponentCount() const override { return 1; }
  int ComponentName(unsigned, char*) override { return NotSupported; }
  unsigned ChannelCount() const override { return 1; }
  int ChannelName(unsigned, char*) override { return NotSupported; }
  long ImageBufferSize() const override { return 0; }
  unsigned ImageWidth() const override { return 0; }
  unsigned ImageHeight() const override { return 0; }
  unsigned ImageBytesPerPixel() const override { return 0; }
  unsigned ImageBitDepth() const override { return 0; }
  double PixelSizeUm() const override { return 0; }
  int BinFactor() const override { return 1; }
  int SetBinFactor(int) override { return NotSupported; }
  void SetExposure(double) override {}
  double GetExposure() const override { return 0; }
  int SetRegion(unsigned, unsigned, unsigned, unsigned) override { return NotSupported; }
  int GetRegion(unsigned&, unsigned&, unsigned&, unsigned&) override { return NotSupported; }
  int ClearRegion() override { return NotSupported; }
  bool SupportsMultiRegion() override { return false; }
  bool IsMultiRegionSet() override { return false; }
  int MultiRegionCount(unsigned&) override { return NotSupported; }
  int SetMultiRegion(const unsigned*, const unsigned*, const unsigned*, const unsigned*,
                     unsigned) override {
    return NotSupported;
  }
  int GetMultiRegion(unsigned*, unsigned*, unsigned*, unsigned*, unsigned&) override {
    return NotSupported;
  }
  int StartSequence(long, double, bool) override { return NotSupported; }
  int StartContinuousSequence(double) override { return NotSupported; }
  int StopSequence() override { return 0; }
  int PrepareSequence() override { return NotSupported; }
  bool IsSequenceRunning() override { return false; }
  void GetCameraTags(char* serialized) override { CopyOut("", serialized); }
  void AddCameraTag(const char*, const char*, const char*) override {}
  void RemoveCameraTag(const char*) override {}
  int ExposureCanSequence(bool&) const override { return NotSupported; }
  int ExposureSequenceCapacity(long&) const override { return NotSupported; }
  int BeginExposureSequence() override { return NotSupported; }
  int EndExposureSequence() override { return NotSupported; }
  int ResetExposureSequence() override { return NotSupported; }
  int AppendExposureSequence(double) override { return NotSupported; }
  int CommitExposureSequence() override { return NotSupported; }

 private:
  std::string name_;
  std::string label_;
  std::string moduleName_;
  void* libraryHandle_ = nullptr;
};

}  // namespace

MM::Device* NewCameraDevice(const char* name) { return new PlaceholderCamera(name); }
