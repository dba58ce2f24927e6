// The SDK camera object returned by DllOpen, called by position.
//
// Every slot of the SDK's table of operations is declared in order, the ones
// the module never uses as reservedN placeholders (they answer failure and are
// never called). There is no virtual destructor: the object is released with
// Close(). Results are signed status words, negative meaning failure; callers
// pre-set every out value and look at the status only where they say so.
#pragma once

#include <cstdint>

#include "module/sdk_records.h"

// Pending answers of PullFrame: no frame is ready yet.
constexpr int32_t SdkPullPending = static_cast<int32_t>(0x8000000au);
constexpr int32_t SdkPullPendingAlt = static_cast<int32_t>(0x8000ffffu);

class SdkCamera {
 public:
  /*   0 */ virtual int32_t QueryInterface(const SdkGuid* iid, void** object) = 0;
  /*   1 */ virtual uint32_t AddRef() = 0;
  /*   2 */ virtual uint32_t Release() = 0;
  /*   3 */ virtual int32_t reserved3() { return -1; }
  /*   4 */ virtual int32_t reserved4() { return -1; }
  /*   5 */ virtual int32_t SetResolutionIndex(unsigned index) = 0;
  /*   6 */ virtual int32_t GetResolutionIndex(unsigned* index) = 0;
  /*   7 */ virtual int32_t reserved7() { return -1; }
  /*   8 */ virtual int32_t reserved8() { return -1; }
  /*   9 */ virtual int32_t reserved9() { return -1; }
  /*  10 */ virtual int32_t GetAutoExposure(int* enabled) = 0;
  /*  11 */ virtual int32_t SetAutoExposure(int enabled) = 0;
  /*  12 */ virtual int32_t GetAutoExposureTarget(unsigned short* target) = 0;
  /*  13 */ virtual int32_t SetAutoExposureTarget(unsigned short target) = 0;
  /*  14 */ virtual int32_t WhiteBalanceOnce(void* callback, void* context) = 0;
  /*  15 */ virtual int32_t reserved15() { return -1; }
  /*  16 */ virtual int32_t reserved16() { return -1; }
  /*  17 */ virtual int32_t reserved17() { return -1; }
  /*  18 */ virtual int32_t reserved18() { return -1; }
  /*  19 */ virtual int32_t reserved19() { return -1; }
  /*  20 */ virtual int32_t reserved20() { return -1; }
  /*  21 */ virtual int32_t reserved21() { return -1; }
  /*  22 */ virtual int32_t reserved22() { return -1; }
  /*  23 */ virtual int32_t reserved23() { return -1; }
  /*  24 */ virtual int32_t reserved24() { return -1; }
  /*  25 */ virtual int32_t SetWhiteBalanceGain(const int gains[3]) = 0;
  /*  26 */ virtual int32_t GetWhiteBalanceGain(int gains[3]) = 0;
  /*  27 */ virtual int32_t SetHue(int hue) = 0;
  /*  28 */ virtual int32_t GetHue(int* hue) = 0;
  /*  29 */ virtual int32_t SetSaturation(int saturation) = 0;
  /*  30 */ virtual int32_t GetSaturation(int* saturation) = 0;
  /*  31 */ virtual int32_t SetBrightness(int brightness) = 0;
  /*  32 */ virtual int32_t GetBrightness(int* brightness) = 0;
  /*  33 */ virtual int32_t GetExposureTime(unsigned* microseconds) = 0;
  /*  34 */ virtual int32_t SetExposureTime(unsigned microseconds) = 0;
  /*  35 */ virtual int32_t GetGain(unsigned short* gain) = 0;
  /*  36 */ virtual int32_t SetGain(unsigned short gain) = 0;
  /*  37 */ virtual int32_t reserved37() { return -1; }
  /*  38 */ virtual int32_t reserved38() { return -1; }
  /*  39 */ virtual int32_t GetContrast(int* contrast) = 0;
  /*  40 */ virtual int32_t SetContrast(int contrast) = 0;
  /*  41 */ virtual int32_t GetGamma(int* gamma) = 0;
  /*  42 */ virtual int32_t SetGamma(int gamma) = 0;
  /*  43 */ virtual int32_t reserved43() { return -1; }
  /*  44 */ virtual int32_t reserved44() { return -1; }
  /*  45 */ virtual int32_t GetVerticalFlip(int* flip) = 0;
  /*  46 */ virtual int32_t SetVerticalFlip(int flip) = 0;
  /*  47 */ virtual int32_t GetHorizontalFlip(int* flip) = 0;
  /*  48 */ virtual int32_t SetHorizontalFlip(int flip) = 0;
  /*  49 */ virtual int32_t SetSpeed(unsigned short speed) = 0;
  /*  50 */ virtual int32_t GetSpeed(unsigned short* speed) = 0;
  /*  51 */ virtual int32_t reserved51() { return -1; }
  /*  52 */ virtual int32_t SetPowerFrequency(int frequency) = 0;
  /*  53 */ virtual int32_t GetPowerFrequency(int* frequency) = 0;
  /*  54 */ virtual int32_t SetBinningMode(int mode) = 0;
  /*  55 */ virtual int32_t GetBinningMode(int* mode) = 0;
  /*  56 */ virtual int32_t reserved56() { return -1; }
  /*  57 */ virtual int32_t GetExposureRange(unsigned* min, unsigned* max, unsigned* def) = 0;
  /*  58 */ virtual int32_t GetGainRange(unsigned short* min, unsigned short* max, unsigned short* def) = 0;
  /*  59 */ virtual int32_t reserved59() { return -1; }
  /*  60 */ virtual int32_t reserved60() { return -1; }
  /*  61 */ virtual int32_t reserved61() { return -1; }
  /*  62 */ virtual int32_t reserved62() { return -1; }
  /*  63 */ virtual int32_t reserved63() { return -1; }
  /*  64 */ virtual int32_t reserved64() { return -1; }
  /*  65 */ virtual int32_t reserved65() { return -1; }
  /*  66 */ virtual int32_t reserved66() { return -1; }
  /*  67 */ virtual int32_t reserved67() { return -1; }
  /*  68 */ virtual int32_t reserved68() { return -1; }
  /*  69 */ virtual int32_t reserved69() { return -1; }
  /*  70 */ virtual int32_t reserved70() { return -1; }
  /*  71 */ virtual int32_t reserved71() { return -1; }
  /*  72 */ virtual int32_t reserved72() { return -1; }
  /*  73 */ virtual int32_t SetAutoExposureLimits(unsigned maxTime, unsigned short maxGain) = 0;
  /*  74 */ virtual int32_t GetRealExposureTime(unsigned* microseconds) = 0;
  /*  75 */ virtual int32_t reserved75() { return -1; }
  /*  76 */ virtual int32_t reserved76() { return -1; }
  /*  77 */ virtual int32_t reserved77() { return -1; }
  /*  78 */ virtual int32_t GetTemperature(short* tenths) = 0;
  /*  79 */ virtual int32_t reserved79() { return -1; }
  /*  80 */ virtual int32_t SetSensorRegion(unsigned x, unsigned y, unsigned width, unsigned height) = 0;
  /*  81 */ virtual int32_t GetSensorRegion(unsigned* x, unsigned* y, unsigned* width, unsigned* height) = 0;
  /*  82 */ virtual int32_t GetFanSpeed(unsigned short* speed) = 0;
  /*  83 */ virtual int32_t SetFanSpeed(unsigned short speed) = 0;
  /*  84 */ virtual int32_t reserved84() { return -1; }
  /*  85 */ virtual int32_t reserved85() { return -1; }
  /*  86 */ virtual int32_t GetResolutionRatio(unsigned index, int* numerator, int* denominator) = 0;
  /*  87 */ virtual int32_t GetTecTarget(int* tenths) = 0;
  /*  88 */ virtual int32_t SetTecTarget(int tenths) = 0;
  /*  89 */ virtual int32_t reserved89() { return -1; }
  /*  90 */ virtual int32_t reserved90() { return -1; }
  /*  91 */ virtual int32_t reserved91() { return -1; }
  /*  92 */ virtual int32_t reserved92() { return -1; }
  /*  93 */ virtual int32_t PutOption(unsigned option, int value) = 0;
  /*  94 */ virtual int32_t GetOption(unsigned option, int* value) = 0;
  /*  95 */ virtual int32_t reserved95() { return -1; }
  /*  96 */ virtual int32_t reserved96() { return -1; }
  /*  97 */ virtual int32_t reserved97() { return -1; }
  /*  98 */ virtual int32_t reserved98() { return -1; }
  /*  99 */ virtual int32_t reserved99() { return -1; }
  /* 100 */ virtual int32_t reserved100() { return -1; }
  /* 101 */ virtual int32_t reserved101() { return -1; }
  /* 102 */ virtual int32_t reserved102() { return -1; }
  /* 103 */ virtual int32_t reserved103() { return -1; }
  /* 104 */ virtual int32_t reserved104() { return -1; }
  /* 105 */ virtual int32_t reserved105() { return -1; }
  /* 106 */ virtual int32_t reserved106() { return -1; }
  /* 107 */ virtual int32_t reserved107() { return -1; }
  /* 108 */ virtual int32_t reserved108() { return -1; }
  /* 109 */ virtual int32_t IoControl(unsigned line, unsigned request, int input, int* output) = 0;
  /* 110 */ virtual int32_t reserved110() { return -1; }
  /* 111 */ virtual int32_t reserved111() { return -1; }
  /* 112 */ virtual int32_t reserved112() { return -1; }
  /* 113 */ virtual int32_t SetDeviceMode(int mode) = 0;
  /* 114 */ virtual int32_t reserved114() { return -1; }
  /* 115 */ virtual int32_t PrepareSnap() = 0;
  /* 116 */ virtual int32_t SetNegative(int negative) = 0;
  /* 117 */ virtual int32_t GetNegative(int* negative) = 0;
  /* 118 */ virtual int32_t reserved118() { return -1; }
  /* 119 */ virtual int32_t reserved119() { return -1; }
  /* 120 */ virtual int32_t reserved120() { return -1; }
  /* 121 */ virtual int32_t reserved121() { return -1; }
  /* 122 */ virtual int32_t reserved122() { return -1; }
  /* 123 */ virtual int32_t reserved123() { return -1; }
  /* 124 */ virtual int32_t reserved124() { return -1; }
  /* 125 */ virtual int32_t reserved125() { return -1; }
  /* 126 */ virtual int32_t reserved126() { return -1; }
  /* 127 */ virtual int32_t reserved127() { return -1; }
  /* 128 */ virtual int32_t reserved128() { return -1; }
  /* 129 */ virtual int32_t reserved129() { return -1; }
  /* 130 */ virtual int32_t GetAutoExposureLimits(unsigned* maxTime, unsigned short* maxGain) = 0;
  /* 131 */ virtual int32_t reserved131() { return -1; }
  /* 132 */ virtual int32_t reserved132() { return -1; }
  /* 133 */ virtual int32_t reserved133() { return -1; }
  /* 134 */ virtual int32_t GetOutputSize(unsigned* width, unsigned* height) = 0;
  /* 135 */ virtual int32_t reserved135() { return -1; }
  /* 136 */ virtual int32_t reserved136() { return -1; }
  /* 137 */ virtual int32_t GetRawFormat(unsigned* fourCC, unsigned* bitsPerPixel) = 0;
  /* 138 */ virtual int32_t TriggerFrames(unsigned short count) = 0;
  /* 139 */ virtual int32_t reserved139() { return -1; }
  /* 140 */ virtual int32_t reserved140() { return -1; }
  /* 141 */ virtual int32_t reserved141() { return -1; }
  /* 142 */ virtual int32_t reserved142() { return -1; }
  /* 143 */ virtual int32_t reserved143() { return -1; }
  /* 144 */ virtual int32_t reserved144() { return -1; }
  /* 145 */ virtual int32_t reserved145() { return -1; }
  /* 146 */ virtual int32_t reserved146() { return -1; }
  /* 147 */ virtual int32_t reserved147() { return -1; }
  /* 148 */ virtual int32_t reserved148() { return -1; }
  /* 149 */ virtual int32_t reserved149() { return -1; }
  /* 150 */ virtual int32_t reserved150() { return -1; }
  /* 151 */ virtual int32_t reserved151() { return -1; }
  /* 152 */ virtual int32_t reserved152() { return -1; }
  /* 153 */ virtual int32_t reserved153() { return -1; }
  /* 154 */ virtual int32_t reserved154() { return -1; }
  /* 155 */ virtual int32_t reserved155() { return -1; }
  /* 156 */ virtual int32_t reserved156() { return -1; }
  /* 157 */ virtual int32_t reserved157() { return -1; }
  /* 158 */ virtual int32_t SetNamedValue(const char* name, int value) = 0;
  /* 159 */ virtual int32_t GetNamedValue(const char* name, int* value) = 0;
  /* 160 */ virtual int32_t reserved160() { return -1; }
  /* 161 */ virtual int32_t GetNamedValueText(const char* name, char text[128]) = 0;
  /* 162 */ virtual int32_t reserved162() { return -1; }
  /* 163 */ virtual int32_t reserved163() { return -1; }
  /* 164 */ virtual int32_t ListNamedValues(const char* name, int* count, int reserved, const char* names[128]) = 0;
  /* 165 */ virtual int32_t reserved165() { return -1; }
  /* 166 */ virtual int32_t StartStreaming(void* frameCallback, void* frameContext, void* reserved1, void* reserved2, SdkEventCallback onEvent, void* reserved3, void* eventContext) = 0;
  /* 167 */ virtual int32_t StopStreaming(int flags) = 0;
  /* 168 */ virtual int32_t Close() = 0;
  /* 169 */ virtual int32_t reserved169() { return -1; }
  /* 170 */ virtual int32_t reserved170() { return -1; }
  /* 171 */ virtual int32_t reserved171() { return -1; }
  /* 172 */ virtual int32_t reserved172() { return -1; }
  /* 173 */ virtual int32_t reserved173() { return -1; }
  /* 174 */ virtual int32_t reserved174() { return -1; }
  /* 175 */ virtual int32_t reserved175() { return -1; }
  /* 176 */ virtual int32_t reserved176() { return -1; }
  /* 177 */ virtual int32_t GetFrameStatistics(unsigned* frames, unsigned* milliseconds, unsigned* total, void* reserved1, void* reserved2) = 0;
  /* 178 */ virtual int32_t reserved178() { return -1; }
  /* 179 */ virtual const SdkModel* GetModelRecord() = 0;
  /* 180 */ virtual int32_t reserved180() { return -1; }
  /* 181 */ virtual int32_t reserved181() { return -1; }
  /* 182 */ virtual int32_t reserved182() { return -1; }
  /* 183 */ virtual int32_t reserved183() { return -1; }
  /* 184 */ virtual int32_t reserved184() { return -1; }
  /* 185 */ virtual int32_t reserved185() { return -1; }
  /* 186 */ virtual int32_t reserved186() { return -1; }
  /* 187 */ virtual int32_t reserved187() { return -1; }
  /* 188 */ virtual int32_t reserved188() { return -1; }
  /* 189 */ virtual int32_t reserved189() { return -1; }
  /* 190 */ virtual int32_t reserved190() { return -1; }
  /* 191 */ virtual int32_t reserved191() { return -1; }
  /* 192 */ virtual int32_t PullFrame(int waitMs, void* buffer, int bitsPerPixel, int rowPitch, void* frameInfo) = 0;
  /* 193 */ virtual int32_t reserved193() { return -1; }
  /* 194 */ virtual int32_t reserved194() { return -1; }
  /* 195 */ virtual int32_t reserved195() { return -1; }
  /* 196 */ virtual int32_t reserved196() { return -1; }
  /* 197 */ virtual int32_t QueryCapability(const char* name) = 0;
  /* 198 */ virtual int32_t reserved198() { return -1; }
  /* 199 */ virtual int32_t reserved199() { return -1; }
  /* 200 */ virtual int32_t reserved200() { return -1; }
  /* 201 */ virtual int32_t reserved201() { return -1; }
  /* 202 */ virtual int32_t reserved202() { return -1; }
  /* 203 */ virtual int32_t GetParameter(const char* name, int* value) = 0;
  /* 204 */ virtual int32_t SetParameter(const char* name, int value) = 0;

 protected:
  SdkCamera() = default;
  SdkCamera(const SdkCamera&) = delete;
  SdkCamera& operator=(const SdkCamera&) = delete;
};

// Secondary interfaces reached through QueryInterface; never released.
class SdkSerialInfo {
 public:
  /*   0 */ virtual int32_t QueryInterface(const SdkGuid* iid, void** object) = 0;
  /*   1 */ virtual uint32_t AddRef() = 0;
  /*   2 */ virtual uint32_t Release() = 0;
  /*   3 */ virtual int32_t GetSerialNumber(char serial[32]) = 0;

 protected:
  SdkSerialInfo() = default;
};

class SdkVersionInfo {
 public:
  /*   0 */ virtual int32_t QueryInterface(const SdkGuid* iid, void** object) = 0;
  /*   1 */ virtual uint32_t AddRef() = 0;
  /*   2 */ virtual uint32_t Release() = 0;
  /*   3 */ virtual int32_t GetFirmwareVersion(char text[16]) = 0;
  /*   4 */ virtual int32_t GetHardwareVersion(char text[16]) = 0;
  /*   5 */ virtual int32_t GetProductionDate(char text[16]) = 0;
  /*   6 */ virtual int32_t GetFpgaVersion(char text[16]) = 0;

 protected:
  SdkVersionInfo() = default;
};
