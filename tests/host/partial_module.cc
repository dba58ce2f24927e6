// A module file that offers only one of the nine exports, for the loader's
// "missing export" error.
extern "C" __attribute__((visibility("default"))) void InitializeModuleData() {}
