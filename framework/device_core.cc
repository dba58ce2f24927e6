#include "framework/device_core.h"

#include <boost/format.hpp>

#include "framework/device_error.h"
#include "framework/value_text.h"

namespace qv {

namespace {

std::map<int, std::string> StandardErrorTexts() {
  std::map<int, std::string> texts;
  for (const auto& entry : DeviceError::kStandardTexts) texts[entry.code] = entry.text;
  return texts;
}

const char* OrEmpty(const char* text) { return text == nullptr ? "" : text; }

// Codes whose text names the property concerned.
bool NamesProperty(int code) {
  return code >= DeviceError::InvalidPropertyName && code <= DeviceError::InvalidPropertyKind;
}

}  // namespace

DeviceCore::DeviceCore() : errorTexts(StandardErrorTexts()) {}

// --- lookups ---

MM::Property* DeviceCore::FindForHost(const char* name) const {
  return name == nullptr ? nullptr : properties.Find(name);
}

MM::Property* DeviceCore::FindOrRecord(const char* name, int& result) {
  MM::Property* property = FindForHost(name);
  if (property == nullptr) {
    if (name != nullptr) RecordPropertyName(name);
    result = DeviceError::InvalidPropertyName;
  } else {
    result = DeviceError::Ok;
  }
  return property;
}

void DeviceCore::RecordPropertyName(std::string_view name) {
  MutexLock lock(stateMutex);
  lastPropertyName.assign(name.data(), name.size());
}

std::string DeviceCore::LastPropertyName() const {
  MutexLock lock(stateMutex);
  return lastPropertyName;
}

// --- property values ---

unsigned DeviceCore::PropertyCount() const { return properties.Count(); }

int DeviceCore::ReadProperty(const char* name, char* value) {
  if (name == nullptr) return DeviceError::InvalidPropertyName;
  RecordPropertyName(name);
  std::string text;
  int result = properties.GetPropertyText(name, text);
  if (result == DeviceError::Ok) CopyToHostBuffer(value, text);
  return result;
}

int DeviceCore::WriteProperty(const char* name, const char* value) {
  int result;
  MM::Property* property = FindOrRecord(name, result);
  if (property == nullptr) return result;
  if (property->IsReadOnly()) return DeviceError::Ok;
  const char* text = OrEmpty(value);
  if (!property->IsAllowedValue(text) || !property->Set(text)) {
    RecordPropertyName(name);
    return DeviceError::InvalidPropertyValue;
  }
  result = property->RunAction(MM::ActionKind::Apply);
  if (result != DeviceError::Ok) RecordPropertyName(name);
  return result;
}

bool DeviceCore::PropertyExists(const char* name) const { return FindForHost(name) != nullptr; }

bool DeviceCore::PropertyNameAt(unsigned index, char* name) const {
  std::string text;
  if (!properties.NameAt(index, text)) return false;
  CopyToHostBuffer(name, text);
  return true;
}

int DeviceCore::IsPropertyReadOnly(const char* name, bool& readOnly) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) readOnly = property->IsReadOnly();
  return result;
}

int DeviceCore::IsPropertyPreInit(const char* name, bool& preInit) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) preInit = property->IsPreInit();
  return result;
}

int DeviceCore::PropertyHasLimits(const char* name, bool& hasLimits) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) hasLimits = property->HasLimits();
  return result;
}

int DeviceCore::PropertyLowerLimit(const char* name, double& lower) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) lower = property->GetLowerLimit();
  return result;
}

int DeviceCore::PropertyUpperLimit(const char* name, double& upper) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) upper = property->GetUpperLimit();
  return result;
}

int DeviceCore::PropertyKindOf(const char* name, int& kind) {
  MM::Property* property = FindForHost(name);
  if (property == nullptr) return DeviceError::InvalidPropertyName;
  kind = static_cast<int>(property->GetType());
  return DeviceError::Ok;
}

unsigned DeviceCore::AllowedValueCount(const char* name) const {
  MM::Property* property = FindForHost(name);
  return property == nullptr ? 0 : static_cast<unsigned>(property->AllowedValueCount());
}

bool DeviceCore::AllowedValueAt(const char* name, unsigned index, char* value) const {
  MM::Property* property = FindForHost(name);
  std::string text;
  if (property == nullptr || !property->AllowedValueAt(index, text)) return false;
  CopyToHostBuffer(value, text);
  return true;
}

// --- sequences ---

int DeviceCore::PropertyCanSequence(const char* name, bool& sequenceable) {
  int result;
  if (MM::Property* property = FindOrRecord(name, result)) sequenceable = property->IsSequenceable();
  return result;
}

int DeviceCore::SequenceGate(MM::Device& self, const char* name, MM::Property*& property) {
  int result;
  property = FindOrRecord(name, result);
  if (property == nullptr) return result;
  bool sequenceable = false;
  result = self.PropertyCanSequence(name, sequenceable);
  if (result != DeviceError::Ok) return result;
  if (!sequenceable) {
    RecordPropertyName(name);
    return DeviceError::PropertyNotSequenceable;
  }
  return DeviceError::Ok;
}

int DeviceCore::DirectSequenceGate(const char* name, MM::Property*& property) {
  int result;
  property = FindOrRecord(name, result);
  if (property == nullptr) return result;
  if (!property->IsSequenceable()) {
    RecordPropertyName(name);
    return DeviceError::PropertyNotSequenceable;
  }
  return DeviceError::Ok;
}

int DeviceCore::PropertySequenceCapacity(MM::Device& self, const char* name, long& capacity) {
  MM::Property* property;
  int result = SequenceGate(self, name, property);
  if (result == DeviceError::Ok) capacity = property->SequenceCapacity();
  return result;
}

int DeviceCore::BeginPropertySequence(MM::Device& self, const char* name) {
  MM::Property* property;
  int result = SequenceGate(self, name, property);
  return result != DeviceError::Ok ? result : property->RunAction(MM::ActionKind::SequenceStart);
}

int DeviceCore::EndPropertySequence(MM::Device& self, const char* name) {
  MM::Property* property;
  int result = SequenceGate(self, name, property);
  return result != DeviceError::Ok ? result : property->RunAction(MM::ActionKind::SequenceStop);
}

int DeviceCore::ResetPropertySequence(const char* name) {
  MM::Property* property;
  int result = DirectSequenceGate(name, property);
  return result != DeviceError::Ok ? result : property->ResetSequence();
}

int DeviceCore::AppendPropertySequence(const char* name, const char* value) {
  MM::Property* property;
  int result = DirectSequenceGate(name, property);
  return result != DeviceError::Ok ? result : property->AppendToSequence(value);
}

int DeviceCore::CommitPropertySequence(const char* name) {
  MM::Property* property;
  int result = DirectSequenceGate(name, property);
  return result != DeviceError::Ok ? result : property->CommitSequence();
}

// --- error texts ---

bool DeviceCore::ErrorText(int code, char* text) {
  if (text == nullptr) return false;
  auto known = errorTexts.find(code);
  if (known == errorTexts.end()) {
    CopyToHostBuffer(text, (boost::format("Error code %d (%x hex)") % code %
                            static_cast<unsigned>(code)).str());
    return false;
  }
  std::string message = known->second;
  {
    MutexLock lock(stateMutex);
    if (NamesProperty(code)) message += ": " + lastPropertyName;
    lastPropertyName.clear();
  }
  CopyToHostBuffer(text, message);
  return true;
}

// --- plain state ---

double DeviceCore::DelayMs() const {
  MutexLock lock(stateMutex);
  return delayMs;
}

void DeviceCore::SetDelayMs(double ms) {
  MutexLock lock(stateMutex);
  delayMs = ms;
}

void* DeviceCore::LibraryHandle() const {
  MutexLock lock(stateMutex);
  return libraryHandle;
}

void DeviceCore::SetLibraryHandle(void* handle) {
  MutexLock lock(stateMutex);
  libraryHandle = handle;
}

void DeviceCore::SetLabel(const char* text) {
  MutexLock lock(stateMutex);
  label = OrEmpty(text);
}

void DeviceCore::GetLabel(char* buffer) const {
  MutexLock lock(stateMutex);
  CopyToHostBuffer(buffer, label);  // no copy: the delivery path reads it per frame
}

std::string DeviceCore::Label() const {
  MutexLock lock(stateMutex);
  return label;
}

void DeviceCore::SetModuleName(const char* text) {
  MutexLock lock(stateMutex);
  moduleName = OrEmpty(text);
}

void DeviceCore::GetModuleName(char* buffer) const {
  MutexLock lock(stateMutex);
  CopyToHostBuffer(buffer, moduleName);
}

void DeviceCore::SetDescription(const char* text) {
  MutexLock lock(stateMutex);
  description = OrEmpty(text);
}

void DeviceCore::GetDescription(char* buffer) const {
  MutexLock lock(stateMutex);
  CopyToHostBuffer(buffer, description);
}

void DeviceCore::SetParentId(MM::Device& self, const char* id) {
  std::string text = OrEmpty(id);
  if (text.size() > HostStringLimit - 1) text.resize(HostStringLimit - 1);
  {
    MutexLock lock(stateMutex);
    parentId = text;
  }
  if (self.PropertyExists("HubID")) self.WriteProperty("HubID", text.c_str());
}

void DeviceCore::GetParentId(char* buffer) const {
  MutexLock lock(stateMutex);
  CopyToHostBuffer(buffer, parentId);
}

// --- device code ---

int DeviceCore::CreateProperty(std::string_view name, std::string_view value,
                               MM::PropertyKind kind, bool readOnly, MM::ActionFunctor* action,
                               bool preInit) {
  int result = properties.CreateProperty(name, value, kind, readOnly, action, preInit);
  if (result != DeviceError::Ok) delete action;
  return result;
}

int DeviceCore::SetPropertyLimits(const MM::Device* caller, std::string_view name, double lower,
                                  double upper) {
  MM::Property* property = properties.Find(name);
  if (property == nullptr) {
    RecordPropertyName(name);
    return DeviceError::InvalidPropertyName;
  }
  if (property->SetLimits(lower, upper)) return DeviceError::Ok;
  namespace vt = MM::value_text;
  Log(caller, "Device adapter requests invalid values ( " + vt::FormatDefaultStream(lower) + ", " +
                  vt::FormatDefaultStream(upper) + ") for property: " + std::string(name));
  return DeviceError::InvalidPropertyLimits;
}

int DeviceCore::Log(const MM::Device* caller, const std::string& text) const {
  HostCore* host = callback.load();
  return host == nullptr ? 0 : host->LogMessage(caller, text.c_str(), false);
}

}  // namespace qv
