#include "framework/property.h"

#include <cstdint>

#include "framework/action.h"
#include "framework/device_error.h"
#include "framework/value_text.h"

namespace MM {

namespace vt = value_text;

Property::Property(std::string name) : name(std::move(name)) {}

Property::~Property() = default;

bool Property::HasLimits() const {
  qv::MutexLock lock(mutex);
  return hasLimits;
}

double Property::GetLowerLimit() const {
  qv::MutexLock lock(mutex);
  return hasLimits ? lowerLimit : 0.0;
}

double Property::GetUpperLimit() const {
  qv::MutexLock lock(mutex);
  return hasLimits ? upperLimit : 0.0;
}

bool Property::SetLimits(double lower, double upper) {
  qv::MutexLock lock(mutex);
  return SetLimitsLocked(lower, upper);
}

bool Property::SetLimitsLocked(double lower, double upper) {
  hasLimits = allowedValues.empty();
  lowerLimit = lower;
  upperLimit = upper;
  if (lower >= upper) {
    hasLimits = false;
    return false;
  }
  return hasLimits;
}

bool Property::WithinLimitsLocked(double value) const {
  return !hasLimits || (value >= lowerLimit && value <= upperLimit);
}

void Property::EnableSequencing(long maxLength) {
  qv::MutexLock lock(mutex);
  sequenceMaxLength = maxLength;
  sequenceable = maxLength != 0;
}

long Property::SequenceCapacity() const {
  qv::MutexLock lock(mutex);
  return sequenceMaxLength;
}

std::vector<std::string> Property::SequenceValues() const {
  qv::MutexLock lock(mutex);
  return sequence;
}

int Property::ResetSequence() {
  qv::MutexLock lock(mutex);
  sequence.clear();
  return DeviceError::Ok;
}

int Property::AppendToSequence(const char* value) {
  if (value == nullptr) return DeviceError::GenericError;
  qv::MutexLock lock(mutex);
  try {
    sequence.emplace_back(value);
  } catch (const std::bad_alloc&) {
    return DeviceError::GenericError;
  }
  // The capacity counts as an unsigned 32-bit number, as the host sees it.
  const auto capacity = static_cast<std::uint32_t>(sequenceMaxLength);
  return capacity < sequence.size() ? DeviceError::SequenceTooLarge : DeviceError::Ok;
}

int Property::CommitSequence() { return RunAction(ActionKind::SequenceLoaded); }

std::string Property::GetName() const { return name; }

bool Property::SequenceableFlag() const {
  qv::MutexLock lock(mutex);
  return sequenceable;
}

bool Property::IsSequenceable() {
  RunAction(ActionKind::QuerySequencing);
  return SequenceableFlag();
}

void Property::SetAction(ActionFunctor* newAction) {
  std::shared_ptr<ActionFunctor> replacement(newAction);
  qv::MutexLock lock(mutex);
  // The old functor dies here, or with the last thread still running it.
  action.swap(replacement);
}

bool Property::HasAction() const {
  qv::MutexLock lock(mutex);
  return action != nullptr;
}

int Property::RunAction(ActionKind kind) {
  std::shared_ptr<ActionFunctor> current;
  {
    qv::MutexLock lock(mutex);
    current = action;
  }
  return current ? current->Execute(this, kind) : DeviceError::Ok;
}

std::vector<std::string> Property::GetAllowedValues() const {
  qv::MutexLock lock(mutex);
  return {allowedValues.begin(), allowedValues.end()};
}

std::size_t Property::AllowedValueCount() const {
  qv::MutexLock lock(mutex);
  return allowedValues.size();
}

bool Property::AllowedValueAt(std::size_t index, std::string& value) const {
  qv::MutexLock lock(mutex);
  if (index >= allowedValues.size()) return false;
  value = *std::next(allowedValues.begin(), static_cast<std::ptrdiff_t>(index));
  return true;
}

bool Property::IsAllowedValue(const char* text) const {
  qv::MutexLock lock(mutex);
  if (allowedValues.empty()) return true;
  return text != nullptr && allowedValues.count(text) != 0;
}

void Property::ReplaceAllowedValues(const std::vector<std::string>& values) {
  qv::MutexLock lock(mutex);
  allowedValues.clear();
  allowedValues.insert(values.begin(), values.end());
  if (!values.empty()) hasLimits = false;
}

// --- text ---

bool StringProperty::Set(double number) {
  std::string text = vt::FormatTwoDigits(number);
  qv::MutexLock lock(mutex);
  value = std::move(text);
  return true;
}

bool StringProperty::Set(long number) {
  std::string text = vt::FormatLong(number);
  qv::MutexLock lock(mutex);
  value = std::move(text);
  return true;
}

bool StringProperty::Set(const char* text) {
  std::string copy = text == nullptr ? std::string() : std::string(text);
  qv::MutexLock lock(mutex);
  value = std::move(copy);
  return true;
}

bool StringProperty::Get(double& number) const {
  qv::MutexLock lock(mutex);
  number = vt::ParseDouble(value.c_str());
  return true;
}

bool StringProperty::Get(long& number) const {
  qv::MutexLock lock(mutex);
  number = vt::ParseLong(value.c_str());
  return true;
}

bool StringProperty::Get(std::string& text) const {
  qv::MutexLock lock(mutex);
  text = value;
  return true;
}

bool StringProperty::SetLimits(double, double) { return false; }

// --- floating point ---

bool FloatProperty::StoreRounded(double number) {
  const double rounded = vt::RoundToGrid(number, scale);
  qv::MutexLock lock(mutex);
  if (!WithinLimitsLocked(rounded)) return false;
  value = rounded;
  return true;
}

bool FloatProperty::Set(double number) { return StoreRounded(number); }

bool FloatProperty::Set(long number) { return StoreRounded(static_cast<double>(number)); }

bool FloatProperty::Set(const char* text) { return StoreRounded(vt::ParseDouble(text)); }

bool FloatProperty::Get(double& number) const {
  qv::MutexLock lock(mutex);
  number = value;
  return true;
}

bool FloatProperty::Get(long& number) const {
  qv::MutexLock lock(mutex);
  number = vt::TruncateToLong(value);
  return true;
}

bool FloatProperty::Get(std::string& text) const {
  double current;
  {
    qv::MutexLock lock(mutex);
    current = value;
  }
  text = vt::FormatFixed(current, decimalPlaces);
  return true;
}

bool FloatProperty::SetLimits(double lower, double upper) {
  const double snappedLower = vt::SnapLowerBound(lower, scale);
  const double snappedUpper = vt::SnapUpperBound(upper, scale);
  qv::MutexLock lock(mutex);
  return SetLimitsLocked(snappedLower, snappedUpper);
}

// --- integer ---

bool IntegerProperty::Set(long number) {
  qv::MutexLock lock(mutex);
  if (!WithinLimitsLocked(static_cast<double>(number))) return false;
  value = number;
  return true;
}

bool IntegerProperty::Set(double number) { return Set(vt::TruncateToLong(number)); }

bool IntegerProperty::Set(const char* text) { return Set(vt::ParseLong(text)); }

bool IntegerProperty::Get(double& number) const {
  qv::MutexLock lock(mutex);
  number = static_cast<double>(value);
  return true;
}

bool IntegerProperty::Get(long& number) const {
  qv::MutexLock lock(mutex);
  number = value;
  return true;
}

bool IntegerProperty::Get(std::string& text) const {
  long current;
  {
    qv::MutexLock lock(mutex);
    current = value;
  }
  text = vt::FormatLong(current);
  return true;
}

}  // namespace MM
