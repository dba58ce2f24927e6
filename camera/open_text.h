// The text handed to DllOpen: "@" + camera id + ";ini=" + home + "/.mmgr" +
// "/" + model name + ".ini". The home directory is the real user's, from the
// user database (not $HOME); the SDK, not the module, reads and writes the
// settings file it names.
//
// Thread safety: getpwuid's static record is read once per call; callers run
// on the host's thread.
#pragma once

#include <string>

// The real user's home directory. False with *reason when the user has no
// entry in the user database or the entry has no home directory.
bool RealUserHome(std::string* home, std::string* reason);

// Creates home + "/.mmgr" with mode 0755 when it does not exist yet.
void EnsureSettingsDirectory(const std::string& home);

std::string BuildOpenText(const std::string& id, const std::string& home,
                          const std::string& modelName);
