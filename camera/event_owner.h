// Who receives the SDK events of an SDK camera that several Camera objects
// share. Each StartStreaming installs the starting Camera as event context,
// so the context is always one of the camera's users; when that user leaves
// while others remain, it hands the events over to one of them, and no
// callback can reach a Camera that was shut down or destroyed.
//
// Thread safety: all functions take the registry's own lock; they run on the
// host's thread (Initialize, Shutdown, stream restarts).
#pragma once

class Camera;
class SdkCamera;

namespace event_owner {

// camera now uses sdk (opened it or shares it).
void Join(SdkCamera* sdk, Camera* camera);
// camera has installed itself as the event context of sdk.
void StreamingStarted(SdkCamera* sdk, Camera* camera);
// camera lets go of sdk. When it held the events and another user remains,
// returns that user, now the owner: the caller restarts the stream with it.
// Otherwise null.
Camera* Leave(SdkCamera* sdk, Camera* camera);

}  // namespace event_owner
