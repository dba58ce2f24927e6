// The module-wide table of open SDK cameras, shared between Camera objects.
//
// Keyed by the camera identifier of the enumeration record, in key order. An
// HWrapper only holds the SdkCamera pointer: destroying it closes nothing;
// cameras are closed explicitly by the last Camera that releases them.
//
// Thread safety: the host calls Initialize and Shutdown of its cameras from
// one thread; the table is guarded by its own mutex all the same.
#pragma once

#include <memory>
#include <string>

#include "module/sdk_camera.h"

struct HWrapper {
  explicit HWrapper(SdkCamera* c) : camera(c) {}
  SdkCamera* const camera;
};

// Created, empty, at the end of every binding pass that got past the
// registration gate.
void CreateOpenCameraTable();
bool OpenCameraTableExists();

// The wrapper filed under `id`, or null.
std::shared_ptr<HWrapper> FindOpenCamera(const std::string& id);

// Files `wrapper` under `id` (replacing an earlier entry of that id).
void InsertOpenCamera(const std::string& id, std::shared_ptr<HWrapper> wrapper);

// Called by a Camera that lets go of `holder`: walks the table in key order to
// the first entry holding the same SdkCamera. When that entry has more than
// two owners (the table, the caller, and another Camera) it stays and the
// result is false. Otherwise the entry is removed and the result is true: the
// caller was the last user and must Close() the camera. An SdkCamera not in
// the table also gives true.
bool ReleaseOpenCamera(const std::shared_ptr<HWrapper>& holder);
