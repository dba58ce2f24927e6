// The host's callback object, handed to every device with SetCallback and
// called by position. Slots 0 and 1 are the virtual destructor; unused slots
// are placeholders that answer failure and are never called by the module.
// A device calls it only while one is set. The host copies pixels and
// metadata during PushImage and keeps no reference to them.
#pragma once

namespace MM {
class Device;
}

// PushImage's answer when the host's image buffer is full.
constexpr int HostBufferFull = 22;

class HostCore {
 public:
  /*  0, 1 */ virtual ~HostCore() = default;
  /*  2 */ virtual int LogMessage(const MM::Device* caller, const char* text, bool debugOnly) = 0;
  /*  3 */ virtual int reserved3() { return -1; }
  /*  4 */ virtual int reserved4() { return -1; }
  /*  5 */ virtual int reserved5() { return -1; }
  /*  6 */ virtual int reserved6() { return -1; }
  /*  7 */ virtual int reserved7() { return -1; }
  /*  8 */ virtual int reserved8() { return -1; }
  /*  9 */ virtual int reserved9() { return -1; }
  /* 10 */ virtual int reserved10() { return -1; }
  /* 11 */ virtual int reserved11() { return -1; }
  /* 12 */ virtual int reserved12() { return -1; }
  /* 13 */ virtual int reserved13() { return -1; }
  /* 14 */ virtual int reserved14() { return -1; }
  /* 15 */ virtual int OnPropertyChanged(const MM::Device* caller, const char* name, const char* value) = 0;
  /* 16 */ virtual int reserved16() { return -1; }
  /* 17 */ virtual int reserved17() { return -1; }
  /* 18 */ virtual int OnExposureChanged(const MM::Device* caller, double exposureMs) = 0;
  /* 19 */ virtual int reserved19() { return -1; }
  /* 20 */ virtual int reserved20() { return -1; }
  /* 21 */ virtual int reserved21() { return -1; }
  /* 22 */ virtual int reserved22() { return -1; }
  /* 23 */ virtual int AcquisitionFinished(const MM::Device* caller, int status) = 0;
  /* 24 */ virtual int PrepareForAcquisition(const MM::Device* caller) = 0;
  /* 25 */ virtual int reserved25() { return -1; }
  /* 26 */ virtual int reserved26() { return -1; }
  /* 27 */ virtual int reserved27() { return -1; }
  /* 28 */ virtual int PushImage(const MM::Device* caller, const unsigned char* pixels, unsigned width, unsigned height, unsigned bytesPerPixel, const char* serializedMetadata, bool process) = 0;
  /* 29 */ virtual int ClearImageQueue(const MM::Device* caller) = 0;
};
