// CreateDevice's constructor hook: the camera subsystem defines it.
#pragma once

#include "module/mm_device.h"

// A new Camera device for `name` (never null for a non-null name).
MM::Device* NewCameraDevice(const char* name);
