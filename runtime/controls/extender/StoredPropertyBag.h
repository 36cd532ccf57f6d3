// The named values a form design stores for a hosted control, offered to the
// control as a read-only property bag (IPersistPropertyBag::Load). Names
// match in any case; a reader that asks for a type gets the value changed to
// it, and a value that cannot be changed is reported to the error log.
#pragma once

#include <string>
#include <vector>

#include "platform/ole.h"
#include "runtime/com/ComObject.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

class StoredPropertyBag final : public ComObject<StoredPropertyBag, IPropertyBag> {
 public:
  explicit StoredPropertyBag(const std::vector<NamedValue>& entries);

  // E_INVALIDARG for a name that was not stored.
  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  // The stored values are only read while the control loads.
  HRESULT Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

 private:
  ~StoredPropertyBag() override = default;
  friend class ComObject<StoredPropertyBag, IPropertyBag>;

  struct Entry {
    std::u16string name;
    Variant value;
  };
  std::vector<Entry> entries_;
};

}  // namespace rt
