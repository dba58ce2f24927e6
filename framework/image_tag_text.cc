#include "framework/image_tag_text.h"

#include "framework/metadata.h"

namespace qv {

const std::string& ImageTagText::ForLabel(const char* newLabel) {
  const char* current = newLabel == nullptr ? "" : newLabel;
  if (!built || label != current) {
    ImageMetadata store;
    store.PutTag("Camera", "_", current);
    label = current;
    text = store.Serialize();
    built = true;
  }
  return text;
}

}  // namespace qv
