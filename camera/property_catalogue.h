// The camera's property catalogue as data: one row per property (name, kind,
// access, creation gate, initial value, allowed values or limits, handler),
// created in row order. Which rows exist for a camera follows from the
// model's capability bits and from the SDK reads marked as gates.
//
// Creation failures are ignored (a re-initialised camera keeps its existing
// properties and handlers); a refused limit is logged by the device base.
//
// Thread safety: runs on the host's thread inside Camera::Initialize, before
// any other thread of the camera looks at the properties it creates.
#pragma once

class Camera;

class PropertyCatalogue {
 public:
  enum class Phase {
    Identification,  // right after the SDK camera is opened
    Main,            // "PowerConsumption(mw)" through "SnapStat"
    AfterStream,     // after the refresh and the first stream start
  };

  // Creates the rows of phase for camera, whose `sdk` is set.
  static void Create(Camera& camera, Phase phase);
};
