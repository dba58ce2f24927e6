// All properties of one device, keyed by name and ordered byte-wise (a prefix
// sorts first). The order is the host's enumeration order and the order in
// which RefreshAllProperties visits them. The table owns its properties;
// entries are never removed, so a Property* found here stays valid for the
// table's life.
//
// Thread safety: the map is guarded by the table's mutex, held only for a
// lookup or an insertion, never while an action runs (handlers call back into
// the table: refresh other properties, write nested). Properties may be
// created while other threads look names up.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/action.h"
#include "framework/mutex.h"
#include "framework/property.h"
#include "framework/thread_annotations.h"

namespace MM {

class PropertyTable {
 public:
  PropertyTable() = default;
  PropertyTable(const PropertyTable&) = delete;
  PropertyTable& operator=(const PropertyTable&) = delete;

  // The property, or null.
  Property* Find(std::string_view name) const;

  // 0, 4 (the name exists) or 5 (kind is not 1, 2 or 3). Only on 0 does the
  // table take over action (null allowed); on a refusal the caller still owns
  // it. The initial value goes through the kind's text setter; the action is
  // not run.
  int CreateProperty(std::string_view name, std::string_view value, PropertyKind kind,
                     bool readOnly, ActionFunctor* action, bool preInit);

  // 0, or 2 without such a property.
  int SetAllowedValues(std::string_view name, const std::vector<std::string>& values);
  // Runs Refresh first; 0, 2, or the handler's non-zero code (out untouched).
  int GetPropertyText(std::string_view name, std::string& out) const;
  // 0, 2, or the Refresh handler's code.
  int RefreshProperty(std::string_view name) const;
  // Refreshes in name order; the first non-zero code ends the walk.
  int RefreshAllProperties() const;

  unsigned Count() const;
  // The index-th name in table order; false when index >= Count().
  bool NameAt(unsigned index, std::string& name) const;

 private:
  std::vector<Property*> Snapshot() const;

  mutable qv::Mutex mutex;
  std::map<std::string, std::unique_ptr<Property>, std::less<>> properties GUARDED_BY(mutex);
};

}  // namespace MM
