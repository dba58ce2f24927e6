// Geometry and format handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"
#include "camera/pixel_format.h"

// Stub until the controls developer fills it in.
int Camera::OnResolution(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnGainMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnPixelType(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnBinning(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFactorySettings(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnRotate(MM::PropertyBase*, MM::ActionKind) { return 0; }

// Stub until the controls developer fills it in.
int Camera::BinFactor() const { return 1; }
// Stub until the controls developer fills it in.
int Camera::SetBinFactor(int) { return 0; }
// Stub until the controls developer fills it in.
int Camera::SetRegion(unsigned, unsigned, unsigned, unsigned) { return 0; }
// Stub until the controls developer fills it in.
int Camera::GetRegion(unsigned&, unsigned&, unsigned&, unsigned&) { return 0; }
// Stub until the controls developer fills it in.
int Camera::ClearRegion() { return 0; }
// Stub until the controls developer fills it in.
void Camera::ApplyOutputFormat() {}
// Stub until the controls developer fills it in.
std::string Camera::CurrentPixelTypeName() { return PixelFormatAt(0).name; }
// Stub until the controls developer fills it in.
void Camera::LoadPixelTypeList() {}
