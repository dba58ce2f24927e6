// The host's device interface, called by position: MM::Device holds the
// device-level operations (0 to 43), MM::Camera adds the camera operations
// (44 to 84). Positions count from 0; the virtual destructor takes two.
//
// Every char* out buffer is a host buffer of HostStringLimit bytes; a device
// writes at most HostStringLimit - 1 characters and a NUL into it.
#pragma once

#include <string>
#include <vector>

class HostCore;

constexpr unsigned HostStringLimit = 1024;

// Host device-type code of a camera.
constexpr int CameraDeviceType = 2;

namespace MM {

class Device {
 public:
  /*  0, 1 */ virtual ~Device() = default;
  /*  2 */ virtual unsigned PropertyCount() const = 0;
  /*  3 */ virtual int ReadProperty(const char* name, char* value) = 0;
  /*  4 */ virtual int WriteProperty(const char* name, const char* value) = 0;
  /*  5 */ virtual bool PropertyExists(const char* name) const = 0;
  /*  6 */ virtual bool PropertyNameAt(unsigned index, char* name) const = 0;
  /*  7 */ virtual int IsPropertyReadOnly(const char* name, bool& readOnly) = 0;
  /*  8 */ virtual int IsPropertyPreInit(const char* name, bool& preInit) = 0;
  /*  9 */ virtual int PropertyHasLimits(const char* name, bool& hasLimits) = 0;
  /* 10 */ virtual int PropertyLowerLimit(const char* name, double& lower) = 0;
  /* 11 */ virtual int PropertyUpperLimit(const char* name, double& upper) = 0;
  /* 12 */ virtual int PropertyKindOf(const char* name, int& kind) = 0;
  /* 13 */ virtual unsigned AllowedValueCount(const char* name) const = 0;
  /* 14 */ virtual bool AllowedValueAt(const char* name, unsigned index, char* value) const = 0;
  /* 15 */ virtual int PropertyCanSequence(const char* name, bool& sequenceable) = 0;
  /* 16 */ virtual int PropertySequenceCapacity(const char* name, long& capacity) = 0;
  /* 17 */ virtual int BeginPropertySequence(const char* name) = 0;
  /* 18 */ virtual int EndPropertySequence(const char* name) = 0;
  /* 19 */ virtual int ResetPropertySequence(const char* name) = 0;
  /* 20 */ virtual int AppendPropertySequence(const char* name, const char* value) = 0;
  /* 21 */ virtual int CommitPropertySequence(const char* name) = 0;
  /* 22 */ virtual bool ErrorText(int code, char* text) = 0;
  /* 23 */ virtual bool IsBusy() = 0;
  /* 24 */ virtual double DelayMs() const = 0;
  /* 25 */ virtual void SetDelayMs(double ms) = 0;
  /* 26 */ virtual bool UsesDelay() = 0;
  /* 27 */ virtual void* LibraryHandle() = 0;
  /* 28 */ virtual void SetLibraryHandle(void* handle) = 0;
  /* 29 */ virtual void SetLabel(const char* label) = 0;
  /* 30 */ virtual void GetLabel(char* label) const = 0;
  /* 31 */ virtual void SetModuleName(const char* name) = 0;
  /* 32 */ virtual void GetModuleName(char* name) const = 0;
  /* 33 */ virtual void SetDescription(const char* description) = 0;
  /* 34 */ virtual void GetDescription(char* description) const = 0;
  /* 35 */ virtual int Initialize() = 0;
  /* 36 */ virtual int Shutdown() = 0;
  /* 37 */ virtual int DeviceType() const = 0;
  /* 38 */ virtual void GetName(char* name) const = 0;
  /* 39 */ virtual void SetCallback(HostCore* core) = 0;
  /* 40 */ virtual int HostHook() = 0;
  /* 41 */ virtual int HostStatusQuery() = 0;
  /* 42 */ virtual void SetParentId(const char* id) = 0;
  /* 43 */ virtual void GetParentId(char* id) const = 0;
};

class Camera : public Device {
 public:
  /* 44 */ virtual int CaptureImage() = 0;
  /* 45 */ virtual const unsigned char* ImagePixels() = 0;
  /* 46 */ virtual const unsigned char* ChannelPixels(unsigned channel) = 0;
  /* 47 */ virtual const unsigned* ImagePixelsRgb32() = 0;
  /* 48 */ virtual unsigned ComponentCount() const = 0;
  /* 49 */ virtual int ComponentName(unsigned component, char* name) = 0;
  /* 50 */ virtual unsigned ChannelCount() const = 0;
  /* 51 */ virtual int ChannelName(unsigned channel, char* name) = 0;
  /* 52 */ virtual long ImageBufferSize() const = 0;
  /* 53 */ virtual unsigned ImageWidth() const = 0;
  /* 54 */ virtual unsigned ImageHeight() const = 0;
  /* 55 */ virtual unsigned ImageBytesPerPixel() const = 0;
  /* 56 */ virtual unsigned ImageBitDepth() const = 0;
  /* 57 */ virtual double PixelSizeUm() const = 0;
  /* 58 */ virtual int BinFactor() const = 0;
  /* 59 */ virtual int SetBinFactor(int factor) = 0;
  /* 60 */ virtual void SetExposure(double ms) = 0;
  /* 61 */ virtual double GetExposure() const = 0;
  /* 62 */ virtual int SetRegion(unsigned x, unsigned y, unsigned width, unsigned height) = 0;
  /* 63 */ virtual int GetRegion(unsigned& x, unsigned& y, unsigned& width, unsigned& height) = 0;
  /* 64 */ virtual int ClearRegion() = 0;
  /* 65 */ virtual bool SupportsMultiRegion() = 0;
  /* 66 */ virtual bool IsMultiRegionSet() = 0;
  /* 67 */ virtual int MultiRegionCount(unsigned& count) = 0;
  /* 68 */ virtual int SetMultiRegion(const unsigned* x, const unsigned* y, const unsigned* width,
                                      const unsigned* height, unsigned count) = 0;
  /* 69 */ virtual int GetMultiRegion(unsigned* x, unsigned* y, unsigned* width, unsigned* height,
                                      unsigned& count) = 0;
  /* 70 */ virtual int StartSequence(long count, double intervalMs, bool stopOnOverflow) = 0;
  /* 71 */ virtual int StartContinuousSequence(double intervalMs) = 0;
  /* 72 */ virtual int StopSequence() = 0;
  /* 73 */ virtual int PrepareSequence() = 0;
  /* 74 */ virtual bool IsSequenceRunning() = 0;
  /* 75 */ virtual void GetCameraTags(char* serialized) = 0;
  /* 76 */ virtual void AddCameraTag(const char* key, const char* deviceLabel, const char* value) = 0;
  /* 77 */ virtual void RemoveCameraTag(const char* key) = 0;
  /* 78 */ virtual int ExposureCanSequence(bool& sequenceable) const = 0;
  /* 79 */ virtual int ExposureSequenceCapacity(long& capacity) const = 0;
  /* 80 */ virtual int BeginExposureSequence() = 0;
  /* 81 */ virtual int EndExposureSequence() = 0;
  /* 82 */ virtual int ResetExposureSequence() = 0;
  /* 83 */ virtual int AppendExposureSequence(double ms) = 0;
  /* 84 */ virtual int CommitExposureSequence() = 0;
};

}  // namespace MM
