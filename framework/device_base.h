// CDeviceBase<U, T>: the general part of the host's device interface
// (positions 0 to 43 of MM::Device) for a device class T deriving, through
// this base, from the host interface U. It adds no virtual function, so T's
// own operations keep the host's positions. All logic lives in
// qv::DeviceCore; this template only forwards.
//
// T still implements Initialize, Shutdown and GetName (and, for cameras, the
// camera operations).
//
// Device code creates and looks up properties through the protected helpers.
// Ownership of actions: CreateProperty, CreateFloatProperty and
// CreateIntegerProperty take the functor; when the creation is refused
// (4 duplicate name, 5 bad kind) they destroy it, so a device whose
// creations fail quietly (re-initialised, for instance) leaks nothing.
//
// Thread safety: as qv::DeviceCore; every operation may run on any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/action.h"
#include "framework/device_core.h"
#include "framework/device_error.h"
#include "framework/property.h"
#include "framework/property_table.h"
#include "framework/value_text.h"
#include "module/host_core.h"
#include "module/mm_device.h"

template <class U, class T>
class CDeviceBase : public U {
 public:
  /*  0, 1 */ ~CDeviceBase() override = default;
  /*  2 */ unsigned PropertyCount() const override { return core.PropertyCount(); }
  /*  3 */ int ReadProperty(const char* name, char* value) override {
    return core.ReadProperty(name, value);
  }
  /*  4 */ int WriteProperty(const char* name, const char* value) override {
    return core.WriteProperty(name, value);
  }
  /*  5 */ bool PropertyExists(const char* name) const override { return core.PropertyExists(name); }
  /*  6 */ bool PropertyNameAt(unsigned index, char* name) const override {
    return core.PropertyNameAt(index, name);
  }
  /*  7 */ int IsPropertyReadOnly(const char* name, bool& readOnly) override {
    return core.IsPropertyReadOnly(name, readOnly);
  }
  /*  8 */ int IsPropertyPreInit(const char* name, bool& preInit) override {
    return core.IsPropertyPreInit(name, preInit);
  }
  /*  9 */ int PropertyHasLimits(const char* name, bool& hasLimits) override {
    return core.PropertyHasLimits(name, hasLimits);
  }
  /* 10 */ int PropertyLowerLimit(const char* name, double& lower) override {
    return core.PropertyLowerLimit(name, lower);
  }
  /* 11 */ int PropertyUpperLimit(const char* name, double& upper) override {
    return core.PropertyUpperLimit(name, upper);
  }
  /* 12 */ int PropertyKindOf(const char* name, int& kind) override {
    return core.PropertyKindOf(name, kind);
  }
  /* 13 */ unsigned AllowedValueCount(const char* name) const override {
    return core.AllowedValueCount(name);
  }
  /* 14 */ bool AllowedValueAt(const char* name, unsigned index, char* value) const override {
    return core.AllowedValueAt(name, index, value);
  }
  /* 15 */ int PropertyCanSequence(const char* name, bool& sequenceable) override {
    return core.PropertyCanSequence(name, sequenceable);
  }
  /* 16 */ int PropertySequenceCapacity(const char* name, long& capacity) override {
    return core.PropertySequenceCapacity(*this, name, capacity);
  }
  /* 17 */ int BeginPropertySequence(const char* name) override {
    return core.BeginPropertySequence(*this, name);
  }
  /* 18 */ int EndPropertySequence(const char* name) override {
    return core.EndPropertySequence(*this, name);
  }
  /* 19 */ int ResetPropertySequence(const char* name) override {
    return core.ResetPropertySequence(name);
  }
  /* 20 */ int AppendPropertySequence(const char* name, const char* value) override {
    return core.AppendPropertySequence(name, value);
  }
  /* 21 */ int CommitPropertySequence(const char* name) override {
    return core.CommitPropertySequence(name);
  }
  /* 22 */ bool ErrorText(int code, char* text) override { return core.ErrorText(code, text); }
  /* 23 */ bool IsBusy() override { return false; }
  /* 24 */ double DelayMs() const override { return core.DelayMs(); }
  /* 25 */ void SetDelayMs(double ms) override { core.SetDelayMs(ms); }
  /* 26 */ bool UsesDelay() override { return core.UsesDelay(); }
  /* 27 */ void* LibraryHandle() override { return core.LibraryHandle(); }
  /* 28 */ void SetLibraryHandle(void* handle) override { core.SetLibraryHandle(handle); }
  /* 29 */ void SetLabel(const char* label) override { core.SetLabel(label); }
  /* 30 */ void GetLabel(char* label) const override { core.GetLabel(label); }
  /* 31 */ void SetModuleName(const char* name) override { core.SetModuleName(name); }
  /* 32 */ void GetModuleName(char* name) const override { core.GetModuleName(name); }
  /* 33 */ void SetDescription(const char* text) override { core.SetDescription(text); }
  /* 34 */ void GetDescription(char* text) const override { core.GetDescription(text); }
  /* 35, 36 Initialize, Shutdown: the device class */
  /* 37 */ int DeviceType() const override { return CameraDeviceType; }
  /* 38 GetName: the device class */
  /* 39 */ void SetCallback(HostCore* host) override { core.SetCallback(host); }
  /* 40 */ int HostHook() override { return 0; }
  /* 41 */ int HostStatusQuery() override { return -2; }
  /* 42 */ void SetParentId(const char* id) override { core.SetParentId(*this, id); }
  /* 43 */ void GetParentId(char* id) const override { core.GetParentId(id); }

 protected:
  CDeviceBase() = default;

  // --- property creation; see the ownership note above ---
  int CreateProperty(std::string_view name, std::string_view value, MM::PropertyKind kind,
                     bool readOnly, MM::ActionFunctor* action = nullptr, bool preInit = false) {
    return core.CreateProperty(name, value, kind, readOnly, action, preInit);
  }
  // The value is printed by a default-state output stream (6 significant
  // digits), then rounded to 4 decimals; not pre-init.
  int CreateFloatProperty(std::string_view name, double value, bool readOnly,
                          MM::ActionFunctor* action = nullptr) {
    return core.CreateProperty(name, MM::value_text::FormatDefaultStream(value),
                               MM::PropertyKind::Float, readOnly, action, false);
  }
  // Writable, not pre-init.
  int CreateIntegerProperty(std::string_view name, long value, MM::ActionFunctor* action = nullptr) {
    return core.CreateProperty(name, MM::value_text::FormatLong(value), MM::PropertyKind::Integer,
                               false, action, false);
  }

  // --- property helpers (table operations) ---
  int SetAllowedValues(std::string_view name, const std::vector<std::string>& values) {
    return core.Properties().SetAllowedValues(name, values);
  }
  int RefreshProperty(std::string_view name) { return core.Properties().RefreshProperty(name); }
  int RefreshAllProperties() { return core.Properties().RefreshAllProperties(); }
  int GetPropertyText(std::string_view name, std::string& value) {
    return core.Properties().GetPropertyText(name, value);
  }
  // 0; 2 (name recorded); 24 with the refusal logged to the host.
  int SetPropertyLimits(std::string_view name, double lower, double upper) {
    return core.SetPropertyLimits(this, name, lower, upper);
  }
  // The property itself, or null; valid for the device's life.
  MM::Property* FindProperty(std::string_view name) const { return core.Properties().Find(name); }
  MM::PropertyTable& Properties() { return core.Properties(); }

  // --- small helpers ---
  void RecordPropertyName(std::string_view name) { core.RecordPropertyName(name); }
  std::string LastPropertyName() const { return core.LastPropertyName(); }
  std::string Label() const { return core.Label(); }
  // The host core, or null while none is set.
  HostCore* GetCoreCallback() const { return core.Callback(); }
  // Logs text to the host (debug-only false) while a host core is set.
  int LogText(const std::string& text) const { return core.Log(this, text); }

 private:
  qv::DeviceCore core;
};
