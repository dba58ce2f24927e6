#include <cstdio>

#include <boost/format.hpp>
#include <nlohmann/json.hpp>

#include "host/cli/camera_context.h"
#include "host/cli/commands.h"
#include "host/cli/json_output.h"

namespace qv::host::cli {

int RunDevices(const Options& options, CliError* error) {
  const auto module = LoadModule(options, error);
  if (module == nullptr) return error->code;
  const std::vector<OfferedDevice> devices = module->ListDevices();
  const ModuleExports& e = module->exports();
  if (options.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const OfferedDevice& d : devices) {
      list.push_back({{"name", d.name}, {"type", d.type}, {"description", d.description}});
    }
    const nlohmann::json out = {{"module", module->path()},
                                {"moduleVersion", e.getModuleVersion()},
                                {"interfaceVersion", e.getDeviceInterfaceVersion()},
                                {"devices", list}};
    PrintJson(out);
    return kExitOk;
  }
  size_t width = 4;
  for (const OfferedDevice& d : devices) width = std::max(width, d.name.size());
  const std::string row = "%-" + std::to_string(width) + "s  %-4s  %s\n";
  std::printf("%s", (boost::format(row) % "NAME" % "TYPE" % "DESCRIPTION").str().c_str());
  for (const OfferedDevice& d : devices) {
    std::printf("%s", (boost::format(row) % d.name % d.type % d.description).str().c_str());
  }
  if (devices.empty()) std::printf("(the module offers no device)\n");
  return kExitOk;
}

}  // namespace qv::host::cli
