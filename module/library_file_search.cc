// FindLibraryFile: the case-insensitive search for the SDK library file.
#include <dirent.h>
#include <strings.h>

#include "module/sdk_library.h"

namespace {

// Regular files and symbolic links carry the bit of value 8 in d_type;
// directories and entries of unreported type (DT_UNKNOWN) do not.
bool MayBeLibraryFile(const dirent& entry) { return (entry.d_type & 8) != 0; }

bool FitsPathBuffer(const std::string& directory, const char* name) {
  return directory.size() + 1 + std::char_traits<char>::length(name) < PathBufferSize;
}

}  // namespace

bool FindLibraryFile(const std::string& directory, const std::string& wanted, std::string* path) {
  DIR* listing = opendir(directory.c_str());
  if (listing == nullptr) return false;
  bool found = false;
  while (const dirent* entry = readdir(listing)) {
    if (!MayBeLibraryFile(*entry) || strcasecmp(entry->d_name, wanted.c_str()) != 0) continue;
    // A path that does not fit is never used cut short: the search fails.
    found = FitsPathBuffer(directory, entry->d_name);
    if (found) *path = directory + "/" + entry->d_name;
    break;
  }
  closedir(listing);
  return found;
}
