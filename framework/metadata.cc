#include "framework/metadata.h"

#include <cstdlib>
#include <sstream>

namespace {

const char* OrEmpty(const char* text) { return text == nullptr ? "" : text; }

}  // namespace

MetadataTag::MetadataTag(std::string name, std::string deviceLabel, bool readOnly)
    : name(std::move(name)), deviceLabel(std::move(deviceLabel)), readOnly(readOnly) {}

std::string MetadataTag::GetQualifiedName() const {
  return deviceLabel == "_" ? name : deviceLabel + "-" + name;
}

MetadataTag* MetadataSingleTag::Clone() const { return new MetadataSingleTag(*this); }

std::string MetadataSingleTag::Serialize() const {
  std::string out;
  out.reserve(name.size() + deviceLabel.size() + value.size() + 6);
  out += name;
  out += '\n';
  out += deviceLabel;
  out += '\n';
  out += readOnly ? "1\n" : "0\n";
  out += value;
  out += '\n';
  return out;
}

bool MetadataSingleTag::Restore(const char* text) {
  std::istringstream in(OrEmpty(text));
  return Restore(in);
}

bool MetadataSingleTag::Restore(std::istream& in) {
  std::string flag;
  std::getline(in, name);
  std::getline(in, deviceLabel);
  std::getline(in, flag);
  readOnly = std::strtol(flag.c_str(), nullptr, 10) != 0;
  std::getline(in, value);
  return true;
}

void ImageMetadata::PutTag(const char* name, const char* deviceLabel, const char* value) {
  auto tag = std::make_unique<MetadataSingleTag>(OrEmpty(name), OrEmpty(deviceLabel), true);
  tag->SetValue(OrEmpty(value));
  std::string key = tag->GetQualifiedName();
  qv::MutexLock lock(mutex);
  tags[std::move(key)] = std::move(tag);
}

void ImageMetadata::RemoveTag(const char* key) {
  qv::MutexLock lock(mutex);
  tags.erase(OrEmpty(key));
}

MetadataSingleTag ImageMetadata::GetSingleTag(const char* key) const {
  qv::MutexLock lock(mutex);
  auto it = tags.find(OrEmpty(key));
  if (it == tags.end()) throw MetadataKeyError();
  const MetadataSingleTag* single = it->second->AsSingleTag();
  if (single == nullptr) throw MetadataKeyError();
  return *single;
}

void ImageMetadata::Clear() {
  qv::MutexLock lock(mutex);
  tags.clear();
}

std::string ImageMetadata::Serialize() const {
  qv::MutexLock lock(mutex);
  std::string out = std::to_string(tags.size());
  out += '\n';
  for (const auto& entry : tags) {
    out += entry.second->AsArrayTag() == nullptr ? "s\n" : "a\n";
    out += entry.second->Serialize();
  }
  return out;
}

std::vector<std::string> ImageMetadata::GetKeys() const {
  qv::MutexLock lock(mutex);
  std::vector<std::string> keys;
  keys.reserve(tags.size());
  for (const auto& entry : tags) keys.push_back(entry.first);
  return keys;
}

std::size_t ImageMetadata::TagCount() const {
  qv::MutexLock lock(mutex);
  return tags.size();
}
