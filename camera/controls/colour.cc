// Colour and image processing handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"

// Stub until the controls developer fills it in.
int Camera::OnAutoWhiteBalance(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAutoWhiteBalanceInterval(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnWhiteBalanceRGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnWhiteBalanceGGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnWhiteBalanceBGain(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnHue(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnSaturation(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnBrightness(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnContrast(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnGamma(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFlipHorizontal(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFlipVertical(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnNegative(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDenoise(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnSharpening(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnToneMapping(MM::PropertyBase*, MM::ActionKind) { return 0; }

// Stub until the controls developer fills it in.
int Camera::CurrentWhiteBalanceMode() { return 0; }
// Stub until the controls developer fills it in.
void Camera::OnSdkWhiteBalanceEvent() {}
