// A variant argument as every library operation sees it: references followed
// to their target and an object replaced by its default value.
#pragma once

#include <string_view>

#include "platform/oleauto.h"
#include "runtime/core/Status.h"

namespace rt::internal {

class NormalizedArgument {
 public:
  NormalizedArgument() = default;
  NormalizedArgument(const NormalizedArgument&) = delete;
  NormalizedArgument& operator=(const NormalizedArgument&) = delete;

  // Follows references (a variant that refers to a variant until it does
  // not) and replaces an object by its default value, fetched once. A null
  // object fails with run-time error 91. The argument must outlive this.
  HRESULT normalize(const VARIANT& argument) {
    // A value held directly needs nothing done.
    if (!(argument.vt & VT_BYREF) && argument.vt != VT_DISPATCH) {
      value_ = &argument;
      return S_OK;
    }
    return resolve(argument, 1, ErrorStatus(err::ObjectNotSet));
  }

  // As normalize, but the default value of an object is fetched again while
  // it is an object, and a null object fails with E_FAIL: the comparison's
  // rules.
  HRESULT normalizeForComparison(const VARIANT& argument);

  // The value, never by reference once normalised.
  const VARIANT& value() const { return *value_; }
  VARTYPE type() const { return value_->vt; }
  bool isNull() const { return type() == VT_NULL; }

  // The value as text: a text as it stands, anything else converted with
  // VARIANT_ALPHABOOL under the user's locale. The view lives as long as
  // this object.
  HRESULT text(std::u16string_view* out);

  // VariantChangeTypeEx of the value under the user's locale.
  HRESULT changeType(VARTYPE vt, USHORT flags, Variant* out) const;

 private:
  HRESULT resolve(const VARIANT& argument, int objectSteps, HRESULT nullObjectStatus);
  HRESULT replaceObject(IDispatch* object);

  Variant owned_;
  const VARIANT* value_ = &owned_;
  Bstr converted_;
};

}  // namespace rt::internal
