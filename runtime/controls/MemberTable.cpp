#include "runtime/controls/MemberTable.h"

#include <utility>
#include <vector>

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace rt {

HRESULT MissingBaseObject() {
  return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
}

HRESULT ConvertArgument(const VARIANT& in, VARTYPE vt, Variant& out) {
  const VARIANT* source = &in;
  if (in.vt == (VT_BYREF | VT_VARIANT) && in.pvarVal) source = in.pvarVal;
  HRESULT status = VariantChangeType(&out, source, 0, vt);
  if (SUCCEEDED(status) || vt != VT_I4 || status != DISP_E_OVERFLOW) return status;
  // A colour written as an unsigned number (0x80000005 read as a Double).
  Variant asUnsigned;
  status = VariantChangeType(&asUnsigned, source, 0, VT_UI4);
  if (FAILED(status)) return status;
  out = Variant::I4(static_cast<LONG>(asUnsigned.ulVal));
  return S_OK;
}

const Member* MemberTable::find(DISPID dispid) const {
  const auto found = members_.find(dispid);
  return found == members_.end() ? nullptr : &found->second;
}

MemberTable& MemberTable::add(std::u16string name, Member member, bool hidden) {
  // Every entry of a class runs the class initialisation of its object first.
  if (member.get) {
    member.get = [inner = std::move(member.get)](DispatchObject& self, VARIANT* result) {
      const HRESULT ready = self.ensureClassInitialised();
      return FAILED(ready) ? ready : inner(self, result);
    };
  }
  if (member.put) {
    member.put = [inner = std::move(member.put)](DispatchObject& self, const VARIANT& value) {
      const HRESULT ready = self.ensureClassInitialised();
      return FAILED(ready) ? ready : inner(self, value);
    };
  }
  if (member.call) {
    member.call = [inner = std::move(member.call)](DispatchObject& self, std::span<VARIANT> args,
                                                   VARIANT* result) {
      const HRESULT ready = self.ensureClassInitialised();
      return FAILED(ready) ? ready : inner(self, args, result);
    };
  }
  names_.add({name, member.dispid, hidden});
  orderOf_[member.dispid] = order_.size();
  order_.push_back({std::move(name), hidden});
  members_.insert_or_assign(member.dispid, std::move(member));
  return *this;
}

HRESULT MemberTable::invoke(DispatchObject& self, DISPID dispid, WORD flags, DISPPARAMS* params,
                            VARIANT* result) const {
  const Member* member = find(dispid);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  const UINT count = params ? params->cArgs : 0;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!member->put) return DISP_E_MEMBERNOTFOUND;
    if (count < 1) return DISP_E_BADPARAMCOUNT;
    // The value is the last argument, stored first in DISPPARAMS.
    return member->put(self, params->rgvarg[0]);
  }
  if ((flags & DISPATCH_METHOD) && member->call) {
    std::vector<VARIANT> args(count);
    for (UINT i = 0; i < count; ++i)
      args[i] = params->rgvarg[count - 1 - i];
    return member->call(self, args, result);
  }
  if (member->get && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) {
    if (result) VariantInit(result);
    return member->get(self, result);
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace rt
