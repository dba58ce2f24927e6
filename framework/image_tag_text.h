// The metadata text that travels with every sequence image: the serialised
// store holding the one tag Camera = <label>, device label "_". The text is
// rebuilt only when the label changes, so a delivery allocates nothing.
//
// Thread safety: none; the camera base guards its instance.
#pragma once

#include <string>

namespace qv {

class ImageTagText {
 public:
  // The serialised per-image store for a camera labelled label (null counts
  // as empty). The reference stays valid until the next call.
  const std::string& ForLabel(const char* label);

 private:
  bool built = false;
  std::string label;
  std::string text;
};

}  // namespace qv
