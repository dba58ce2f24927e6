// The link from a property to device code. A property owns its functor; the
// framework runs it with an ActionKind and passes the int code on.
// MM::Action<T> calls a member function of a T object; each property with a
// handler gets its own newly allocated MM::Action<T>.
//
// Thread safety: Execute may run on several threads at once; the handler
// itself decides what it guards. No framework lock is held while it runs.
#pragma once

#include "framework/property.h"

namespace MM {

class ActionFunctor {
 public:
  virtual ~ActionFunctor() = default;
  virtual int Execute(PropertyBase* property, ActionKind kind) = 0;
};

template <class T>
class Action final : public ActionFunctor {
 public:
  using Handler = int (T::*)(PropertyBase*, ActionKind);

  Action(T* object, Handler handler) : object(object), handler(handler) {}

  int Execute(PropertyBase* property, ActionKind kind) override {
    return (object->*handler)(property, kind);
  }

 private:
  T* const object;
  const Handler handler;
};

}  // namespace MM
