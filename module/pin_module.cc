// PinModule: the module is never unloaded, so its static data (registry,
// binding, open camera table) lives until process exit.
#include <dlfcn.h>

#include "module/sdk_library.h"

void PinModule() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&PinModule), &info) == 0 || info.dli_fname == nullptr)
    return;
  // The extra reference is never dropped; RTLD_NODELETE keeps the file mapped
  // even after the host releases its own handle.
  static_cast<void>(dlopen(info.dli_fname, RTLD_NOW | RTLD_NODELETE));
}
