// Writes delivered images as pages of one TIFF file with libtiff.
//
// What is written: 1 or 2 bytes per pixel as 8- or 16-bit grey
// (min-is-black); 4 or 8 bytes per pixel as RGBA with 8- or 16-bit
// components and an extra-samples tag (unassociated alpha). The camera
// delivers colour components as B, G, R, A; each row is reordered to
// R, G, B, A on the way into the file, nothing else is changed. Every page
// carries its metadata text in the ImageDescription tag and is marked as a
// page of a multi-page file. Uncompressed, one strip per page; BigTIFF when
// the expected size passes 3.5 GiB.
//
// Thread-safety: none; one writer per thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/cli/image_view.h"

typedef struct tiff TIFF;

namespace qv::host::cli {

class TiffWriter {
 public:
  // expectedBytes: the pixel bytes the file will hold, to choose BigTIFF.
  static std::unique_ptr<TiffWriter> Create(const std::string& path, double expectedBytes,
                                            std::string* error);
  ~TiffWriter();  // closes the file (Close() reports failures)
  TiffWriter(const TiffWriter&) = delete;
  TiffWriter& operator=(const TiffWriter&) = delete;

  bool WritePage(const ImageView& image, const std::string& description, std::string* error);
  bool Close(std::string* error);
  unsigned pages() const { return pages_; }
  const std::string& path() const { return path_; }

 private:
  TiffWriter(TIFF* tiff, std::string path) : tiff_(tiff), path_(std::move(path)) {}
  void SetTags(const ImageView& image, const std::string& description);
  const unsigned char* ToFileOrder(const ImageView& image);

  TIFF* tiff_;
  std::string path_;
  unsigned pages_ = 0;
  std::vector<unsigned char> scratch_;  // reordered colour image, reused page to page
};

}  // namespace qv::host::cli
