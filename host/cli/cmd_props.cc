#include <algorithm>
#include <cstdio>

#include <boost/format.hpp>
#include <nlohmann/json.hpp>

#include "host/cli/camera_context.h"
#include "host/cli/commands.h"
#include "host/cli/json_output.h"

namespace qv::host::cli {
namespace {

struct PropertyRow {
  std::string name;
  std::string kind;
  bool readOnly = false;
  bool preInit = false;
  bool readable = true;
  std::string value;  // the value, or the read error's text
  bool hasLimits = false;
  double lower = 0.0;
  double upper = 0.0;
  std::vector<std::string> allowed;
};

const char* KindName(int kind) {
  switch (kind) {
    case 1: return "String";
    case 2: return "Float";
    case 3: return "Integer";
    default: return "?";
  }
}

PropertyRow ReadRow(DeviceSession& session, const char* name) {
  MM::Device& device = *session.device();
  PropertyRow row;
  row.name = name;
  int kind = 0;
  device.PropertyKindOf(name, kind);
  row.kind = KindName(kind);
  device.IsPropertyReadOnly(name, row.readOnly);
  device.IsPropertyPreInit(name, row.preInit);
  char value[HostStringLimit] = {};
  const int code = device.ReadProperty(name, value);
  value[HostStringLimit - 1] = '\0';
  row.readable = code == 0;
  row.value = code == 0 ? value : (boost::format("<%s>") % session.ErrorText(code)).str();
  device.PropertyHasLimits(name, row.hasLimits);
  if (row.hasLimits) {
    device.PropertyLowerLimit(name, row.lower);
    device.PropertyUpperLimit(name, row.upper);
  }
  const unsigned count = device.AllowedValueCount(name);
  for (unsigned i = 0; i < count; ++i) {
    char allowed[HostStringLimit] = {};
    if (device.AllowedValueAt(name, i, allowed)) {
      allowed[HostStringLimit - 1] = '\0';
      row.allowed.push_back(allowed);
    }
  }
  return row;
}

std::vector<PropertyRow> ReadAll(DeviceSession& session) {
  MM::Device& device = *session.device();
  std::vector<PropertyRow> rows;
  const unsigned count = device.PropertyCount();
  for (unsigned i = 0; i < count; ++i) {
    char name[HostStringLimit] = {};
    if (!device.PropertyNameAt(i, name)) continue;
    name[HostStringLimit - 1] = '\0';
    rows.push_back(ReadRow(session, name));
  }
  return rows;
}

std::string Range(const PropertyRow& row) {
  if (!row.allowed.empty()) {
    std::string joined;
    for (const std::string& v : row.allowed) joined += (joined.empty() ? "" : " | ") + v;
    return joined;
  }
  if (row.hasLimits) return (boost::format("[%.10g, %.10g]") % row.lower % row.upper).str();
  return "";
}

nlohmann::json ToJson(const PropertyRow& row) {
  nlohmann::json item = {{"name", row.name},     {"kind", row.kind},
                         {"readOnly", row.readOnly}, {"preInit", row.preInit},
                         {"value", nullptr},     {"limits", nullptr},
                         {"allowed", row.allowed}};
  if (row.readable) {
    item["value"] = row.value;
  } else {
    item["error"] = row.value;
  }
  if (row.hasLimits) item["limits"] = {{"lower", row.lower}, {"upper", row.upper}};
  return item;
}

void PrintTable(const std::vector<PropertyRow>& rows) {
  size_t nameWidth = 4, valueWidth = 5;
  for (const PropertyRow& row : rows) {
    nameWidth = std::max(nameWidth, row.name.size());
    valueWidth = std::max(valueWidth, std::min<size_t>(row.value.size(), 40));
  }
  const std::string format =
      "%-" + std::to_string(nameWidth) + "s  %-7s  %-2s  %-" + std::to_string(valueWidth) + "s  %s\n";
  std::printf("%s", (boost::format(format) % "NAME" % "KIND" % "RO" % "VALUE" % "LIMITS / ALLOWED")
                        .str()
                        .c_str());
  for (const PropertyRow& row : rows) {
    std::printf("%s", (boost::format(format) % row.name % row.kind % (row.readOnly ? "ro" : "rw") %
                       row.value % Range(row))
                          .str()
                          .c_str());
  }
}

}  // namespace

int RunProps(const Options& options, CliError* error) {
  const auto context = CameraContext::Open(options, error);
  if (context == nullptr) return error->code;
  const std::vector<PropertyRow> rows = ReadAll(context->session());
  if (options.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const PropertyRow& row : rows) list.push_back(ToJson(row));
    const nlohmann::json out = {{"device", context->deviceName()}, {"properties", list}};
    PrintJson(out);
  } else {
    PrintTable(rows);
  }
  return kExitOk;
}

}  // namespace qv::host::cli
