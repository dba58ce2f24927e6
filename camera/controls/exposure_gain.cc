// Exposure and gain handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"

// Stub until the controls developer fills it in.
int Camera::OnAutoExposure(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposureTarget(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposurePolicy(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposureMaxTime(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposureMaxGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposurePeakMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoExposurePercent(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnExposure(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnRealExposure(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnConversionGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnBandwidth(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFrameRate(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnSpeed(MM::PropertyBase*, MM::ActionKind) { return 0; }

// Stub until the controls developer fills it in.
void Camera::RefreshExposureLimits() {}
// Stub until the controls developer fills it in.
int Camera::IndexOfValue(MM::PropertyBase*, const std::vector<std::string>&) { return -1; }
// Stub until the controls developer fills it in.
void Camera::SetValueByIndex(MM::PropertyBase*, int, const std::vector<std::string>&) {}
// Stub until the controls developer fills it in.
void Camera::OnSdkExposureEvent() {}
