// What a control array asks of its form's engine: the array object keeps
// the element table, the bounds and the count and checks every rule; the
// host does the work on the form (loading it, building a new element's
// records and window from its template, connecting its events, removing an
// unloaded one).
#pragma once

#include "platform/com.h"

namespace rt {

class ControlArray;

class ControlArrayHost {
 public:
  // Makes sure the array's form is loaded (every operation asks first).
  virtual HRESULT ensureFormLoaded() = 0;
  // Creates the element at `index` like `templateElement` (its class, its
  // properties, its place, hidden, marked as created at run time) and, when
  // `events` is not null, connects its events to the form. Fails without a
  // trace when it cannot.
  virtual HRESULT createElement(IUnknown* templateElement, REFCLSID elementClass, const IID* events,
                                LONG index, IUnknown** element) = 0;
  // Whether the form instance still keeps this array's table (its member
  // slot holds the array); unloading from an array that lost it fails.
  virtual bool keepsTable(const ControlArray& array) {
    (void)array;
    return true;
  }
  // Whether the element was created at run time (only such are unloaded).
  virtual bool createdAtRunTime(IUnknown* element) = 0;
  // Takes an unloaded element off the form: its window, the form's
  // references to it as the active or previous control, its container's
  // event-sink and child lists, the form's controls array.
  virtual void removeElement(IUnknown* element) = 0;
  // For elements of the class that asks for it: tell the form's event
  // sinks that an element came or went.
  virtual void elementAdded(IUnknown* element) = 0;
  virtual void elementRemoved(IUnknown* element) = 0;

 protected:
  ~ControlArrayHost() = default;
};

}  // namespace rt
