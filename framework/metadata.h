// Image metadata: named text tags filed under their key (device label + "-" +
// name, or the name alone for the device label "_"), ordered byte-wise.
// ImageMetadata owns its tags. Serialize() gives the text handed to the host
// with every image:
//   <count> LF, then per tag in key order: "s" LF name LF label LF 0|1 LF value LF
// A missing key in GetSingleTag raises MetadataKeyError ("Undefined metadata
// key"), the only exception that crosses the device interface.
//
// Thread safety: an ImageMetadata guards its map with its own mutex, so the
// camera's long-lived store may be used from several host threads. Tags
// themselves are values without a lock.
#pragma once

#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/mutex.h"
#include "framework/thread_annotations.h"

class MetadataSingleTag;
class MetadataArrayTag;

class MetadataTag {
 public:
  MetadataTag(std::string name, std::string deviceLabel, bool readOnly);
  virtual ~MetadataTag() = default;
  virtual const MetadataSingleTag* AsSingleTag() const { return nullptr; }
  virtual const MetadataArrayTag* AsArrayTag() const { return nullptr; }
  virtual MetadataTag* Clone() const = 0;
  virtual std::string Serialize() const = 0;
  virtual bool Restore(const char* text) = 0;
  virtual bool Restore(std::istream& in) = 0;

  const std::string& GetName() const { return name; }
  const std::string& GetDevice() const { return deviceLabel; }
  bool IsReadOnly() const { return readOnly; }
  // The key the store files the tag under.
  std::string GetQualifiedName() const;

 protected:
  std::string name;
  std::string deviceLabel;  // "_" means no device
  bool readOnly;
};

class MetadataSingleTag final : public MetadataTag {
 public:
  MetadataSingleTag() : MetadataTag("", "_", false) {}
  MetadataSingleTag(std::string name, std::string deviceLabel, bool readOnly)
      : MetadataTag(std::move(name), std::move(deviceLabel), readOnly) {}

  const MetadataSingleTag* AsSingleTag() const override { return this; }
  MetadataTag* Clone() const override;
  // Four lines, each ended by LF: name, device label, "1"/"0", value.
  std::string Serialize() const override;
  // Reads the four lines back; the third as a base-10 integer, non-zero
  // meaning read-only. A null text reads as empty.
  bool Restore(const char* text) override;
  bool Restore(std::istream& in) override;

  const std::string& GetValue() const { return value; }
  void SetValue(std::string text) { value = std::move(text); }

 private:
  std::string value;
};

class MetadataError {
 public:
  explicit MetadataError(std::string message) : message(std::move(message)) {}
  virtual ~MetadataError() = default;
  virtual std::string GetMessage() const { return message; }

 private:
  std::string message;
};

class MetadataKeyError : public MetadataError {
 public:
  MetadataKeyError() : MetadataError("Undefined metadata key") {}
};

class ImageMetadata {
 public:
  ImageMetadata() = default;
  ImageMetadata(const ImageMetadata&) = delete;
  ImageMetadata& operator=(const ImageMetadata&) = delete;

  // Files a read-only single tag; a tag under the same key is replaced. A
  // null text counts as empty.
  void PutTag(const char* name, const char* deviceLabel, const char* value);
  void RemoveTag(const char* key);  // silent when absent
  // A copy of the tag; throws MetadataKeyError when absent.
  MetadataSingleTag GetSingleTag(const char* key) const;
  void Clear();
  std::string Serialize() const;
  std::vector<std::string> GetKeys() const;
  std::size_t TagCount() const;

 private:
  mutable qv::Mutex mutex;
  std::map<std::string, std::unique_ptr<MetadataTag>> tags GUARDED_BY(mutex);
};
