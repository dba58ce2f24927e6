#include "host/cli/tiff_writer.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <boost/format.hpp>

namespace qv::host::cli {
namespace {

constexpr double kBigTiffThreshold = 3.5 * 1024 * 1024 * 1024;

// libtiff's own messages go into our one-line errors instead of stderr.
thread_local std::string lastTiffMessage;

void KeepMessage(const char*, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  lastTiffMessage = text;
}

void IgnoreWarning(const char*, const char*, va_list) {}

void InstallHandlers() {
  static const bool installed = [] {
    TIFFSetErrorHandler(KeepMessage);
    TIFFSetWarningHandler(IgnoreWarning);
    return true;
  }();
  (void)installed;
  lastTiffMessage.clear();
}

// ": <libtiff's message>", without the file name it repeats.
std::string Cause(const std::string& path) {
  std::string text = lastTiffMessage;
  if (text.rfind(path + ": ", 0) == 0) text.erase(0, path.size() + 2);
  return text.empty() ? "" : ": " + text;
}

template <typename T>
void SwapRedBlue(const unsigned char* from, unsigned char* to, size_t pixels) {
  for (size_t p = 0; p < pixels; ++p) {
    T bgra[4];
    std::memcpy(bgra, from + p * sizeof bgra, sizeof bgra);
    const T rgba[4] = {bgra[2], bgra[1], bgra[0], bgra[3]};
    std::memcpy(to + p * sizeof rgba, rgba, sizeof rgba);
  }
}

}  // namespace

std::unique_ptr<TiffWriter> TiffWriter::Create(const std::string& path, double expectedBytes,
                                               std::string* error) {
  InstallHandlers();
  TIFF* tiff = TIFFOpen(path.c_str(), expectedBytes > kBigTiffThreshold ? "w8" : "w");
  if (tiff == nullptr) {
    *error = (boost::format("cannot create the TIFF file %s%s") % path % Cause(path)).str();
    return nullptr;
  }
  return std::unique_ptr<TiffWriter>(new TiffWriter(tiff, path));
}

TiffWriter::~TiffWriter() {
  if (tiff_ != nullptr) TIFFClose(tiff_);
}

void TiffWriter::SetTags(const ImageView& image, const std::string& description) {
  TIFFSetField(tiff_, TIFFTAG_IMAGEWIDTH, image.width);
  TIFFSetField(tiff_, TIFFTAG_IMAGELENGTH, image.height);
  TIFFSetField(tiff_, TIFFTAG_BITSPERSAMPLE, image.componentBytes() * 8);
  TIFFSetField(tiff_, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
  TIFFSetField(tiff_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff_, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tiff_, TIFFTAG_ROWSPERSTRIP, image.height);
  TIFFSetField(tiff_, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
  TIFFSetField(tiff_, TIFFTAG_SOFTWARE, "mmgr-host");
  if (image.colour()) {
    const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tiff_, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tiff_, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff_, TIFFTAG_EXTRASAMPLES, 1, extra);
  } else {
    TIFFSetField(tiff_, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff_, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  }
  if (!description.empty()) TIFFSetField(tiff_, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
}

const unsigned char* TiffWriter::ToFileOrder(const ImageView& image) {
  if (!image.colour()) return image.pixels;
  scratch_.resize(image.bytes());  // grows once, then reused
  const size_t pixels = size_t{image.width} * image.height;
  if (image.bytesPerPixel == 4) {
    SwapRedBlue<uint8_t>(image.pixels, scratch_.data(), pixels);
  } else {
    SwapRedBlue<uint16_t>(image.pixels, scratch_.data(), pixels);
  }
  return scratch_.data();
}

bool TiffWriter::WritePage(const ImageView& image, const std::string& description,
                           std::string* error) {
  const unsigned bpp = image.bytesPerPixel;
  if (image.pixels == nullptr || image.width == 0 || image.height == 0 ||
      (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8)) {
    *error = (boost::format("cannot write a %ux%u image of %u bytes per pixel to %s") %
              image.width % image.height % bpp % path_)
                 .str();
    return false;
  }
  lastTiffMessage.clear();
  SetTags(image, description);
  // Uncompressed, native byte order: libtiff writes the strip as it is.
  void* strip = const_cast<unsigned char*>(ToFileOrder(image));
  if (TIFFWriteEncodedStrip(tiff_, 0, strip, static_cast<tmsize_t>(image.bytes())) < 0 ||
      !TIFFWriteDirectory(tiff_)) {
    *error = (boost::format("writing page %u of %s failed%s") % (pages_ + 1) % path_ % Cause(path_)).str();
    return false;
  }
  ++pages_;
  return true;
}

bool TiffWriter::Close(std::string* error) {
  if (tiff_ == nullptr) return true;
  const bool flushed = TIFFFlush(tiff_) == 1;
  TIFFClose(tiff_);
  tiff_ = nullptr;
  if (!flushed) *error = (boost::format("finishing %s failed%s") % path_ % Cause(path_)).str();
  return flushed;
}

}  // namespace qv::host::cli
