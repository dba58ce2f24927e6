#include "framework/device_error.h"

#include <algorithm>
#include <cstring>

void CopyToHostBuffer(char* buffer, const std::string& text) {
  if (buffer == nullptr) return;
  const std::size_t length = std::min<std::size_t>(text.size(), HostStringLimit - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}
