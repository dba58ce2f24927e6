// Corrections and HDR handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"

// Stub until the controls developer fills it in.
int Camera::OnFfcEnable(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDfcEnable(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFpncEnable(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFfcStatus(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDfcStatus(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFpncStatus(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFfcNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDfcNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFpncNumber(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFfcInit(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDfcInit(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFpncInit(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDynamicDefectDead(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDynamicDefectHot(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnHdrK(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnHdrB(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnHdrThreshold(MM::PropertyBase*, MM::ActionKind) { return 0; }

// Stub until the controls developer fills it in.
int Camera::NamedSwitch(const char*, MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::StatusText(const char*, MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::StartCorrectionInit(const char*, MM::PropertyBase*, MM::ActionKind) { return 0; }
