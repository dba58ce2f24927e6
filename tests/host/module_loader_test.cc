#include "host/module_loader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qv::host {
namespace {

TEST(ModuleLoader, NamesTheCauseWhenItCannotBind) {
  const std::string notLibrary = ::testing::TempDir() + "/not_a_module.so";
  std::ofstream(notLibrary) << "plain text\n";
  struct Case {
    std::string path;
    std::string error;
  } cases[] = {
      {"/nonexistent/libmmgr_dal_Quorvex.so", "module not found: /nonexistent/libmmgr_dal_Quorvex.so"},
      {notLibrary, "cannot load module " + notLibrary + ": "},
      {PARTIAL_MODULE_PATH, std::string("module ") + PARTIAL_MODULE_PATH +
                                " lacks the export GetNumberOfDevices"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(ModuleLoader::Open(c.path, &error), nullptr);
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
}

TEST(ModuleLoader, BindsTheQuorvexModule) {
  const std::string path = ModulePathIn(BuiltAdapterDir());
  std::string error;
  const auto module = ModuleLoader::Open(path, &error);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_EQ(module->exports().getModuleVersion(), 10);
  EXPECT_EQ(module->exports().getDeviceInterfaceVersion(), 73);
  EXPECT_EQ(module->path(), path);
  for (const OfferedDevice& device : module->ListDevices()) EXPECT_FALSE(device.name.empty());
}

}  // namespace
}  // namespace qv::host
