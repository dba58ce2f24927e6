// I/O and trigger handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"

// Stub until the controls developer fills it in.
int Camera::OnTriggerSource(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnLineSelect(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnGpioMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnOutputInverter(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnInputActivation(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnCounterSource(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnPwmSource(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnOutputMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnStrobeDelayMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnStrobeDelayTime(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnStrobeDuration(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnUserValue(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnCounterValue(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnDebouncerTime(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnTriggerDelay(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnCounterReset(MM::PropertyBase*, MM::ActionKind) { return 0; }

// Stub until the controls developer fills it in.
int Camera::SelectedLineIndex() { return -1; }
// Stub until the controls developer fills it in.
int Camera::TriggerSourceIndex() { return -1; }
