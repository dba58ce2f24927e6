#include "camera/event_owner.h"

#include <algorithm>
#include <map>
#include <vector>

#include "framework/mutex.h"

namespace {

struct Users {
  std::vector<Camera*> cameras;  // in the order they joined
  Camera* owner = nullptr;       // the current event context
};

struct Registry {
  qv::Mutex lock;
  std::map<SdkCamera*, Users> bySdk GUARDED_BY(lock);
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

namespace event_owner {

void Join(SdkCamera* sdk, Camera* camera) {
  Registry& registry = TheRegistry();
  qv::MutexLock hold(registry.lock);
  std::vector<Camera*>& cameras = registry.bySdk[sdk].cameras;
  if (std::find(cameras.begin(), cameras.end(), camera) == cameras.end()) {
    cameras.push_back(camera);
  }
}

void StreamingStarted(SdkCamera* sdk, Camera* camera) {
  Registry& registry = TheRegistry();
  qv::MutexLock hold(registry.lock);
  registry.bySdk[sdk].owner = camera;
}

Camera* Leave(SdkCamera* sdk, Camera* camera) {
  Registry& registry = TheRegistry();
  qv::MutexLock hold(registry.lock);
  auto found = registry.bySdk.find(sdk);
  if (found == registry.bySdk.end()) return nullptr;
  Users& users = found->second;
  users.cameras.erase(std::remove(users.cameras.begin(), users.cameras.end(), camera),
                      users.cameras.end());
  if (users.cameras.empty()) {
    registry.bySdk.erase(found);
    return nullptr;
  }
  if (users.owner != camera) return nullptr;
  users.owner = users.cameras.front();
  return users.owner;
}

}  // namespace event_owner
