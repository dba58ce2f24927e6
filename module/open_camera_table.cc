#include "module/open_camera_table.h"

#include <map>
#include <optional>

#include "framework/mutex.h"

namespace {

using CameraMap = std::map<std::string, std::shared_ptr<HWrapper>>;

// The table exists from the end of a successful binding pass until process
// exit; destroying it drops the shared pointers and closes no camera.
struct OpenCameraTable {
  qv::Mutex lock;
  std::optional<CameraMap> cameras GUARDED_BY(lock);
};

OpenCameraTable& Table() {
  static OpenCameraTable table;
  return table;
}

}  // namespace

void CreateOpenCameraTable() {
  OpenCameraTable& table = Table();
  qv::MutexLock hold(table.lock);
  table.cameras.emplace();
}

bool OpenCameraTableExists() {
  OpenCameraTable& table = Table();
  qv::MutexLock hold(table.lock);
  return table.cameras.has_value();
}

std::shared_ptr<HWrapper> FindOpenCamera(const std::string& id) {
  OpenCameraTable& table = Table();
  qv::MutexLock hold(table.lock);
  if (!table.cameras) return nullptr;
  auto found = table.cameras->find(id);
  return found != table.cameras->end() ? found->second : nullptr;
}

void InsertOpenCamera(const std::string& id, std::shared_ptr<HWrapper> wrapper) {
  OpenCameraTable& table = Table();
  qv::MutexLock hold(table.lock);
  if (!table.cameras) table.cameras.emplace();
  (*table.cameras)[id] = std::move(wrapper);
}

bool ReleaseOpenCamera(const std::shared_ptr<HWrapper>& holder) {
  if (!holder) return true;
  OpenCameraTable& table = Table();
  qv::MutexLock hold(table.lock);
  if (!table.cameras) return true;
  for (auto entry = table.cameras->begin(); entry != table.cameras->end(); ++entry) {
    if (entry->second->camera != holder->camera) continue;
    // Owners: the table, the caller, and any further Camera still using it.
    if (entry->second.use_count() > 2) return false;
    table.cameras->erase(entry);
    return true;
  }
  return true;
}
