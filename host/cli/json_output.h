// One JSON document on stdout. Device texts need not be valid UTF-8, so bad
// bytes are replaced instead of throwing.
#pragma once

#include <cstdio>

#include <nlohmann/json.hpp>

namespace qv::host::cli {

inline void PrintJson(const nlohmann::json& document, int indent = 2) {
  const std::string text =
      document.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace qv::host::cli
