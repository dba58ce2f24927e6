// CreateDevice's constructor hook.
#include "camera/camera.h"
#include "module/device_factory.h"

MM::Device* NewCameraDevice(const char* name) { return new Camera(name); }
