// A property: one named, typed value that the host reads and writes as text.
//
// MM::PropertyBase is the abstract interface; MM::Property holds what all
// kinds share (flags, limits, allowed values, the value sequence, the bound
// action); MM::StringProperty, MM::FloatProperty and MM::IntegerProperty add
// the value and its conversions. A rejected Set keeps the old value and
// answers false; no setter clamps; setting limits never touches the value.
// A float property keeps exactly 4 decimal places.
//
// Thread safety: every operation may be called from any thread. The value,
// limits, allowed values and sequence are guarded by the property's own
// mutex, held only for the duration of one operation. The action is never
// run under that mutex (handlers call back into the property and its table);
// the property holds it by shared ownership, so a replacement while it runs
// on another thread is safe. The name, kind, readOnly and preInit flags are
// fixed before the property is published in its table.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/mutex.h"
#include "framework/thread_annotations.h"

namespace MM {

class ActionFunctor;

// The kind code a property reports and CreateProperty takes.
enum class PropertyKind : int { String = 1, Float = 2, Integer = 3 };

// The reason an action runs.
enum class ActionKind : int {
  Refresh = 1,          // before a value is read
  Apply = 2,            // after the host stored a new value
  QuerySequencing = 3,  // the host asks whether the property can sequence
  SequenceLoaded = 4,
  SequenceStart = 5,
  SequenceStop = 6,
};

class PropertyBase {
 public:
  virtual ~PropertyBase() = default;
  virtual PropertyKind GetType() const = 0;
  virtual bool Set(double value) = 0;
  virtual bool Set(long value) = 0;
  virtual bool Set(const char* text) = 0;
  virtual bool Get(double& value) const = 0;
  virtual bool Get(long& value) const = 0;
  virtual bool Get(std::string& text) const = 0;
  virtual bool HasLimits() const = 0;
  virtual double GetLowerLimit() const = 0;
  virtual double GetUpperLimit() const = 0;
  virtual bool SetLimits(double lower, double upper) = 0;
  virtual void EnableSequencing(long maxLength) = 0;
  virtual long SequenceCapacity() const = 0;
  virtual std::vector<std::string> SequenceValues() const = 0;
  virtual int ResetSequence() = 0;
  virtual int AppendToSequence(const char* value) = 0;
  virtual int CommitSequence() = 0;
  virtual std::string GetName() const = 0;
};

class Property : public PropertyBase {
 public:
  explicit Property(std::string name);
  ~Property() override;
  Property(const Property&) = delete;
  Property& operator=(const Property&) = delete;

  bool HasLimits() const override;
  double GetLowerLimit() const override;  // 0.0 while there are no limits
  double GetUpperLimit() const override;
  // The common rule: stores both bounds always; answers whether limits are
  // now in force (false with allowed values present or lower >= upper).
  bool SetLimits(double lower, double upper) override;
  void EnableSequencing(long maxLength) override;
  long SequenceCapacity() const override;
  std::vector<std::string> SequenceValues() const override;
  int ResetSequence() override;
  // Appends first, then answers 39 when the sequence outgrew its capacity;
  // 1 for a null text.
  int AppendToSequence(const char* value) override;
  // The action's answer to SequenceLoaded; 0 without an action.
  int CommitSequence() override;
  std::string GetName() const override;

  // Set once at creation, before the property is published.
  void SetReadOnly(bool value) { readOnly = value; }
  void SetPreInit(bool value) { preInit = value; }
  bool IsReadOnly() const { return readOnly; }
  bool IsPreInit() const { return preInit; }

  // The sequenceable flag as last set by EnableSequencing.
  bool SequenceableFlag() const;
  // Runs the action with QuerySequencing (answer ignored), then reports the
  // sequenceable flag, so device code can decide at the moment of asking.
  bool IsSequenceable();

  // Takes ownership of action (null allowed); the previous one is destroyed
  // once no thread runs it any more.
  void SetAction(ActionFunctor* action);
  bool HasAction() const;
  // Runs the action with kind, without holding any lock; 0 without action.
  int RunAction(ActionKind kind);

  // Allowed values, in byte-wise order.
  std::vector<std::string> GetAllowedValues() const;
  std::size_t AllowedValueCount() const;
  bool AllowedValueAt(std::size_t index, std::string& value) const;
  // True when there are no allowed values or text is exactly one of them.
  bool IsAllowedValue(const char* text) const;
  // Replaces the set (duplicates collapse); a non-empty list switches the
  // limits off, an empty list only clears the set.
  void ReplaceAllowedValues(const std::vector<std::string>& values);

 protected:
  // Stores bounds as the common rule does; used by FloatProperty after
  // snapping.
  bool SetLimitsLocked(double lower, double upper) REQUIRES(mutex);
  // The limit test a setter applies to its candidate value.
  bool WithinLimitsLocked(double value) const REQUIRES(mutex);

  mutable qv::Mutex mutex;

 private:
  bool readOnly = false;
  std::shared_ptr<ActionFunctor> action GUARDED_BY(mutex);
  bool preInit = false;
  bool hasLimits GUARDED_BY(mutex) = false;
  bool sequenceable GUARDED_BY(mutex) = false;
  long sequenceMaxLength GUARDED_BY(mutex) = 0;
  std::vector<std::string> sequence GUARDED_BY(mutex);
  double lowerLimit GUARDED_BY(mutex) = 0.0;
  double upperLimit GUARDED_BY(mutex) = 0.0;
  std::set<std::string> allowedValues GUARDED_BY(mutex);
  const std::string name;
};

class StringProperty final : public Property {
 public:
  explicit StringProperty(std::string name) : Property(std::move(name)) {}
  PropertyKind GetType() const override { return PropertyKind::String; }
  bool Set(double value) override;  // stores "%.2g"; always true
  bool Set(long value) override;    // stores "%ld"; always true
  bool Set(const char* text) override;
  bool Get(double& value) const override;  // strtod of the text
  bool Get(long& value) const override;    // strtol of the text
  bool Get(std::string& text) const override;
  bool SetLimits(double lower, double upper) override;  // refuses: false, nothing stored

 private:
  std::string value GUARDED_BY(mutex);
};

class FloatProperty final : public Property {
 public:
  explicit FloatProperty(std::string name) : Property(std::move(name)) {}
  PropertyKind GetType() const override { return PropertyKind::Float; }
  // Rounds to 4 decimals (half away from zero), then checks the limits.
  bool Set(double value) override;
  bool Set(long value) override;
  bool Set(const char* text) override;
  bool Get(double& value) const override;
  bool Get(long& value) const override;  // truncated toward zero
  bool Get(std::string& text) const override;  // "%.4f", cut at 59 characters
  // Snaps the bounds inward onto the 4-decimal grid, then the common rule.
  bool SetLimits(double lower, double upper) override;

 private:
  bool StoreRounded(double value);

  double value GUARDED_BY(mutex) = 0.0;
  const int decimalPlaces = 4;
  const double scale = 10000.0;
};

class IntegerProperty final : public Property {
 public:
  explicit IntegerProperty(std::string name) : Property(std::move(name)) {}
  PropertyKind GetType() const override { return PropertyKind::Integer; }
  bool Set(double value) override;  // truncated toward zero, then as Set(long)
  bool Set(long value) override;
  bool Set(const char* text) override;  // strtol, base 10
  bool Get(double& value) const override;
  bool Get(long& value) const override;
  bool Get(std::string& text) const override;  // "%ld"

 private:
  long value GUARDED_BY(mutex) = 0;
};

}  // namespace MM
