// Sensor, thermal and power handlers of the Camera (stubs answering 0 for now).
#include "camera/camera.h"

// Stub until the controls developer fills it in.
int Camera::OnPixelSize(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnBinningSkipMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnPowerFrequency(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnBinningMethod(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnTemperature(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFan(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnTec(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnTecTarget(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnTecPower(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnHeat(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnLowNoise(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnCorrelatedDoubleSampling(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnGlobalResetMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnLowPowerConsumption(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnReadoutMode(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnLane(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAntiBlooming(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnVoltageBias(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnMechanicalShutter(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnAntiShutterEffect(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnFrameStat(MM::PropertyBase*, MM::ActionKind) { return 0; }
// Stub until the controls developer fills it in.
int Camera::OnSnapStat(MM::PropertyBase*, MM::ActionKind) { return 0; }
