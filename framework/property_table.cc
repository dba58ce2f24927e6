#include "framework/property_table.h"

#include "framework/device_error.h"

namespace MM {

namespace {

std::unique_ptr<Property> MakeProperty(PropertyKind kind, std::string name) {
  switch (kind) {
    case PropertyKind::String:
      return std::make_unique<StringProperty>(std::move(name));
    case PropertyKind::Float:
      return std::make_unique<FloatProperty>(std::move(name));
    case PropertyKind::Integer:
      return std::make_unique<IntegerProperty>(std::move(name));
  }
  return nullptr;
}

}  // namespace

Property* PropertyTable::Find(std::string_view name) const {
  qv::MutexLock lock(mutex);
  auto it = properties.find(name);
  return it == properties.end() ? nullptr : it->second.get();
}

int PropertyTable::CreateProperty(std::string_view name, std::string_view value, PropertyKind kind,
                                  bool readOnly, ActionFunctor* action, bool preInit) {
  // The whole creation runs under the map's lock, so two creations of one
  // name cannot both pass the duplicate test, and a reader never sees a
  // property before its flags and action are set. No action runs here.
  qv::MutexLock lock(mutex);
  if (properties.find(name) != properties.end()) return DeviceError::DuplicatePropertyName;
  std::unique_ptr<Property> property = MakeProperty(kind, std::string(name));
  if (!property) return DeviceError::InvalidPropertyKind;
  property->Set(std::string(value).c_str());
  property->SetReadOnly(readOnly);
  property->SetPreInit(preInit);
  property->SetAction(action);
  properties.emplace(std::string(name), std::move(property));
  return DeviceError::Ok;
}

int PropertyTable::SetAllowedValues(std::string_view name, const std::vector<std::string>& values) {
  Property* property = Find(name);
  if (property == nullptr) return DeviceError::InvalidPropertyName;
  property->ReplaceAllowedValues(values);
  return DeviceError::Ok;
}

int PropertyTable::GetPropertyText(std::string_view name, std::string& out) const {
  Property* property = Find(name);
  if (property == nullptr) return DeviceError::InvalidPropertyName;
  int result = property->RunAction(ActionKind::Refresh);
  if (result != DeviceError::Ok) return result;
  property->Get(out);
  return DeviceError::Ok;
}

int PropertyTable::RefreshProperty(std::string_view name) const {
  Property* property = Find(name);
  if (property == nullptr) return DeviceError::InvalidPropertyName;
  return property->RunAction(ActionKind::Refresh);
}

int PropertyTable::RefreshAllProperties() const {
  for (Property* property : Snapshot()) {
    int result = property->RunAction(ActionKind::Refresh);
    if (result != DeviceError::Ok) return result;
  }
  return DeviceError::Ok;
}

unsigned PropertyTable::Count() const {
  qv::MutexLock lock(mutex);
  return static_cast<unsigned>(properties.size());
}

bool PropertyTable::NameAt(unsigned index, std::string& name) const {
  qv::MutexLock lock(mutex);
  if (index >= properties.size()) return false;
  name = std::next(properties.begin(), index)->first;
  return true;
}

std::vector<Property*> PropertyTable::Snapshot() const {
  qv::MutexLock lock(mutex);
  std::vector<Property*> all;
  all.reserve(properties.size());
  for (const auto& entry : properties) all.push_back(entry.second.get());
  return all;
}

}  // namespace MM
