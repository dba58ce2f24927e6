// The state and logic behind CDeviceBase: the property table seen through the
// host's device operations (positions 2 to 43 of MM::Device), the error
// texts, the identity strings, the host callback and the parent identifier.
// CDeviceBase forwards every operation here; operations that go "through the
// device interface" (SetParentId's HubID write, the sequence operations'
// PropertyCanSequence) take the device as self and call it virtually.
//
// Null texts handed in by a host never crash an operation: a null name is
// not found (2, false or 0, without recording), a null out buffer receives
// nothing, a null text to store counts as empty.
//
// Thread safety: all operations may run concurrently on the host's threads
// and the device's own threads. The strings and lastPropertyName are guarded
// by stateMutex, the callback is atomic, errorTexts is fixed after
// construction. No lock is held while a property action runs.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/mutex.h"
#include "framework/property_table.h"
#include "framework/thread_annotations.h"
#include "module/host_core.h"
#include "module/mm_device.h"

namespace qv {

class DeviceCore {
 public:
  DeviceCore();
  DeviceCore(const DeviceCore&) = delete;
  DeviceCore& operator=(const DeviceCore&) = delete;

  // --- host operations (positions 2 to 43) ---
  unsigned PropertyCount() const;
  int ReadProperty(const char* name, char* value);
  int WriteProperty(const char* name, const char* value);
  bool PropertyExists(const char* name) const;
  bool PropertyNameAt(unsigned index, char* name) const;
  int IsPropertyReadOnly(const char* name, bool& readOnly);
  int IsPropertyPreInit(const char* name, bool& preInit);
  int PropertyHasLimits(const char* name, bool& hasLimits);
  int PropertyLowerLimit(const char* name, double& lower);
  int PropertyUpperLimit(const char* name, double& upper);
  int PropertyKindOf(const char* name, int& kind);
  unsigned AllowedValueCount(const char* name) const;
  bool AllowedValueAt(const char* name, unsigned index, char* value) const;
  int PropertyCanSequence(const char* name, bool& sequenceable);
  int PropertySequenceCapacity(MM::Device& self, const char* name, long& capacity);
  int BeginPropertySequence(MM::Device& self, const char* name);
  int EndPropertySequence(MM::Device& self, const char* name);
  int ResetPropertySequence(const char* name);
  int AppendPropertySequence(const char* name, const char* value);
  int CommitPropertySequence(const char* name);
  bool ErrorText(int code, char* text);
  double DelayMs() const;
  void SetDelayMs(double ms);
  bool UsesDelay() const { return usesDelay; }
  void* LibraryHandle() const;
  void SetLibraryHandle(void* handle);
  void SetLabel(const char* text);
  void GetLabel(char* buffer) const;
  void SetModuleName(const char* text);
  void GetModuleName(char* buffer) const;
  void SetDescription(const char* text);
  void GetDescription(char* buffer) const;
  void SetCallback(HostCore* core) { callback.store(core); }
  void SetParentId(MM::Device& self, const char* id);
  void GetParentId(char* buffer) const;

  // --- operations for device code ---
  MM::PropertyTable& Properties() { return properties; }
  const MM::PropertyTable& Properties() const { return properties; }
  // As PropertyTable::CreateProperty, except that a refused action is
  // destroyed here, so callers never leak one.
  int CreateProperty(std::string_view name, std::string_view value, MM::PropertyKind kind,
                     bool readOnly, MM::ActionFunctor* action, bool preInit);
  // 0, 2 (name recorded) or 24 (refusal logged through caller).
  int SetPropertyLimits(const MM::Device* caller, std::string_view name, double lower,
                        double upper);
  HostCore* Callback() const { return callback.load(); }
  // Sends text to the host log (debug-only false) when a callback is set;
  // the host's answer, or 0 without a callback.
  int Log(const MM::Device* caller, const std::string& text) const;
  void RecordPropertyName(std::string_view name);
  std::string LastPropertyName() const;
  std::string Label() const;

 private:
  MM::Property* FindForHost(const char* name) const;
  // Looks name up; records it and answers 2 when missing.
  MM::Property* FindOrRecord(const char* name, int& result);
  // The sequence operations' gate: 0 when the property can sequence, else
  // 2 or 38 with the name recorded.
  int SequenceGate(MM::Device& self, const char* name, MM::Property*& property);
  int DirectSequenceGate(const char* name, MM::Property*& property);

  // Members in the device's order.
  MM::PropertyTable properties;
  mutable Mutex stateMutex;
  void* libraryHandle GUARDED_BY(stateMutex) = nullptr;
  std::string label GUARDED_BY(stateMutex);
  std::string moduleName GUARDED_BY(stateMutex);
  std::string description GUARDED_BY(stateMutex);
  const std::map<int, std::string> errorTexts;
  double delayMs GUARDED_BY(stateMutex) = 0.0;
  const bool usesDelay = false;
  std::atomic<HostCore*> callback{nullptr};
  std::string lastPropertyName GUARDED_BY(stateMutex);
  std::string parentId GUARDED_BY(stateMutex);
};

}  // namespace qv
