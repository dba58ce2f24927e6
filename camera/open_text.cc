#include "camera/open_text.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

bool RealUserHome(std::string* home, std::string* reason) {
  const struct passwd* user = getpwuid(getuid());
  if (user == nullptr) {
    *reason = "no user database entry for uid " + std::to_string(getuid());
    return false;
  }
  if (user->pw_dir == nullptr || user->pw_dir[0] == '\0') {
    *reason = "the user database gives no home directory for uid " + std::to_string(getuid());
    return false;
  }
  *home = user->pw_dir;
  return true;
}

void EnsureSettingsDirectory(const std::string& home) {
  const std::string directory = home + "/.mmgr";
  if (access(directory.c_str(), F_OK) != 0) mkdir(directory.c_str(), 0755);
}

std::string BuildOpenText(const std::string& id, const std::string& home,
                          const std::string& modelName) {
  return "@" + id + ";ini=" + home + "/.mmgr" + "/" + modelName + ".ini";
}
