// A class's member table: the names the one name lookup searches (a
// SymbolTable) and, per dispatch identifier, what a get, a let or a call of
// the member does. IDispatch::Invoke of every control goes through it.
//
// Entries are built from typed pieces:
//   table.field<VT_I4>(u"MaxLength", id::MaxLength, &TextBox::maxLength_, &TextBox::applyMaxLength)
//   table.property<VT_BSTR>(u"Text", id::Text, &TextBox::getText, &TextBox::letText)
//   table.method(u"Refresh", id::Refresh, &BaseControlRect::Refresh)
//   table.forward(BaseControlRect::Members(), &TextBox::rectBase)
// Every entry first runs the class initialisation of the object it is called
// on. A forwarding entry then takes the contained base object and calls the
// base's entry on it; a missing base fails with run-time error 91.
// Forwarded members never replace a member the class already has (same
// dispatch identifier or same name): a class's own member wins.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <unordered_map>

#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/OleColor.h"
#include "runtime/forms/members/SymbolTable.h"

namespace rt {

// Colours travel as VT_I4 but also accept unsigned values (0x80000005).
inline constexpr VARTYPE VT_COLOUR = VT_UI4;

template <VARTYPE VT>
struct VtTraits;

template <>
struct VtTraits<VT_BOOL> {
  using type = VARIANT_BOOL;
  static Variant Make(type v) { return Variant::Bool(v != 0); }
  static type Take(const VARIANT& v) { return v.boolVal; }
};
template <>
struct VtTraits<VT_I2> {
  using type = SHORT;
  static Variant Make(type v) { return Variant::I2(v); }
  static type Take(const VARIANT& v) { return v.iVal; }
};
template <>
struct VtTraits<VT_I4> {
  using type = LONG;
  static Variant Make(type v) { return Variant::I4(v); }
  static type Take(const VARIANT& v) { return v.lVal; }
};
template <>
struct VtTraits<VT_COLOUR> {
  using type = int32_t;
  static Variant Make(type v) { return Variant::I4(v); }
  static type Take(const VARIANT& v) { return v.lVal; }
};
template <>
struct VtTraits<VT_R8> {
  using type = DOUBLE;
  static Variant Make(type v) { return Variant::R8(v); }
  static type Take(const VARIANT& v) { return v.dblVal; }
};

// Converts an argument to the member's type (a colour also from an unsigned
// or floating value up to 0xFFFFFFFF).
HRESULT ConvertArgument(const VARIANT& in, VARTYPE vt, Variant& out);
constexpr VARTYPE ArgumentType(VARTYPE vt) {
  return vt == VT_COLOUR ? static_cast<VARTYPE>(VT_I4) : vt;
}

struct Member {
  using Get = std::function<HRESULT(DispatchObject&, VARIANT* result)>;
  using Put = std::function<HRESULT(DispatchObject&, const VARIANT& value)>;
  // Arguments first to last (not reversed as in DISPPARAMS).
  using Call = std::function<HRESULT(DispatchObject&, std::span<VARIANT> args, VARIANT* result)>;

  DISPID dispid;
  Get get;
  Put put;
  Call call;
};

class MemberTable {
 public:
  MemberTable() : names_(32) {}

  const SymbolTable& names() const { return names_; }
  const Member* find(DISPID dispid) const;

  // Late-bound call: DISPATCH_PROPERTYGET, DISPATCH_METHOD (a get when the
  // member has no call), DISPATCH_PROPERTYPUT/PUTREF with the value as
  // the named DISPID_PROPERTYPUT argument.
  HRESULT invoke(DispatchObject& self, DISPID dispid, WORD flags, DISPPARAMS* params,
                 VARIANT* result) const;

  MemberTable& add(std::u16string name, Member member, bool hidden = false);

  // A property read and written through functions of the class.
  template <VARTYPE VT, typename T>
  MemberTable& property(std::u16string name, DISPID dispid,
                        HRESULT (T::*get)(typename VtTraits<VT>::type*),
                        HRESULT (T::*put)(typename VtTraits<VT>::type) = nullptr);
  // A string property (getters hand out a new BSTR; setters borrow one).
  template <typename T>
  MemberTable& text(std::u16string name, DISPID dispid, HRESULT (T::*get)(BSTR*),
                    HRESULT (T::*put)(BSTR) = nullptr, bool hidden = false);
  // A field-backed property: let stores, then runs apply (if any).
  template <VARTYPE VT, typename T>
  MemberTable& field(std::u16string name, DISPID dispid, typename VtTraits<VT>::type T::*storage,
                     HRESULT (T::*apply)() = nullptr);
  template <typename T>
  MemberTable& textField(std::u16string name, DISPID dispid, Bstr T::*storage,
                         HRESULT (T::*apply)() = nullptr);
  // A method without arguments.
  template <typename T>
  MemberTable& method(std::u16string name, DISPID dispid, HRESULT (T::*call)());
  // An object-valued read-only property.
  template <typename T>
  MemberTable& object(std::u16string name, DISPID dispid, HRESULT (T::*get)(IDispatch**));

  // The let/set of an object-valued property added with object() before
  // (the value is passed as an IDispatch, null for Nothing).
  template <typename T>
  MemberTable& objectPut(DISPID dispid, HRESULT (T::*put)(IDispatch*));

  // Every member of `base` (its own and those it forwards), reached through
  // the contained base object that baseOf gives (null: error 91).
  template <typename T, typename Base>
  MemberTable& forward(const MemberTable& base, Base* (T::*baseOf)());

 private:
  struct Named {
    std::u16string name;
    bool hidden;
  };

  SymbolTable names_;
  std::unordered_map<DISPID, Member> members_;
  std::vector<Named> order_;  // what forward() copies, in the order added
  std::unordered_map<DISPID, size_t> orderOf_;
};

// The status of a forwarding entry whose contained object is missing.
HRESULT MissingBaseObject();

// ---- Implementation of the templates

namespace member_detail {

template <typename T>
T& As(DispatchObject& self) {
  return static_cast<T&>(self);
}

inline void Store(VARIANT* result, Variant value) {
  if (!result) return;
  *result = value;
  VariantInit(&value);
}

}  // namespace member_detail

template <VARTYPE VT, typename T>
MemberTable& MemberTable::property(std::u16string name, DISPID dispid,
                                   HRESULT (T::*get)(typename VtTraits<VT>::type*),
                                   HRESULT (T::*put)(typename VtTraits<VT>::type)) {
  using V = typename VtTraits<VT>::type;
  Member m{dispid, nullptr, nullptr, nullptr};
  if (get) {
    m.get = [get](DispatchObject& self, VARIANT* result) {
      V value{};
      const HRESULT status = (member_detail::As<T>(self).*get)(&value);
      if (FAILED(status)) return status;
      member_detail::Store(result, VtTraits<VT>::Make(value));
      return S_OK;
    };
  }
  if (put) {
    m.put = [put](DispatchObject& self, const VARIANT& in) {
      Variant value;
      const HRESULT converted = ConvertArgument(in, ArgumentType(VT), value);
      if (FAILED(converted)) return converted;
      return (member_detail::As<T>(self).*put)(VtTraits<VT>::Take(value));
    };
  }
  return add(std::move(name), std::move(m));
}

template <typename T>
MemberTable& MemberTable::text(std::u16string name, DISPID dispid, HRESULT (T::*get)(BSTR*),
                               HRESULT (T::*put)(BSTR), bool hidden) {
  Member m{dispid, nullptr, nullptr, nullptr};
  if (get) {
    m.get = [get](DispatchObject& self, VARIANT* result) {
      BSTR value = nullptr;
      const HRESULT status = (member_detail::As<T>(self).*get)(&value);
      if (FAILED(status)) return status;
      member_detail::Store(result, Variant::AdoptBstr(value));
      return S_OK;
    };
  }
  if (put) {
    m.put = [put](DispatchObject& self, const VARIANT& in) {
      Variant value;
      const HRESULT converted = ConvertArgument(in, VT_BSTR, value);
      if (FAILED(converted)) return converted;
      return (member_detail::As<T>(self).*put)(value.bstrVal);
    };
  }
  return add(std::move(name), std::move(m), hidden);
}

template <VARTYPE VT, typename T>
MemberTable& MemberTable::field(std::u16string name, DISPID dispid,
                                typename VtTraits<VT>::type T::*storage, HRESULT (T::*apply)()) {
  Member m{dispid, nullptr, nullptr, nullptr};
  m.get = [storage](DispatchObject& self, VARIANT* result) {
    member_detail::Store(result, VtTraits<VT>::Make(member_detail::As<T>(self).*storage));
    return S_OK;
  };
  m.put = [storage, apply](DispatchObject& self, const VARIANT& in) {
    Variant value;
    const HRESULT converted = ConvertArgument(in, ArgumentType(VT), value);
    if (FAILED(converted)) return converted;
    T& object = member_detail::As<T>(self);
    object.*storage = VtTraits<VT>::Take(value);
    return apply ? (object.*apply)() : S_OK;
  };
  return add(std::move(name), std::move(m));
}

template <typename T>
MemberTable& MemberTable::textField(std::u16string name, DISPID dispid, Bstr T::*storage,
                                    HRESULT (T::*apply)()) {
  Member m{dispid, nullptr, nullptr, nullptr};
  m.get = [storage](DispatchObject& self, VARIANT* result) {
    member_detail::Store(result, Variant::Str((member_detail::As<T>(self).*storage).view()));
    return S_OK;
  };
  m.put = [storage, apply](DispatchObject& self, const VARIANT& in) {
    Variant value;
    const HRESULT converted = ConvertArgument(in, VT_BSTR, value);
    if (FAILED(converted)) return converted;
    T& object = member_detail::As<T>(self);
    object.*storage = Bstr::Adopt(std::exchange(value.bstrVal, nullptr));
    value.vt = VT_EMPTY;
    return apply ? (object.*apply)() : S_OK;
  };
  return add(std::move(name), std::move(m));
}

template <typename T>
MemberTable& MemberTable::method(std::u16string name, DISPID dispid, HRESULT (T::*call)()) {
  Member m{dispid, nullptr, nullptr, nullptr};
  m.call = [call](DispatchObject& self, std::span<VARIANT>, VARIANT*) {
    return (member_detail::As<T>(self).*call)();
  };
  return add(std::move(name), std::move(m));
}

template <typename T>
MemberTable& MemberTable::object(std::u16string name, DISPID dispid,
                                 HRESULT (T::*get)(IDispatch**)) {
  Member m{dispid, nullptr, nullptr, nullptr};
  m.get = [get](DispatchObject& self, VARIANT* result) {
    IDispatch* value = nullptr;
    const HRESULT status = (member_detail::As<T>(self).*get)(&value);
    if (FAILED(status)) return status;
    Variant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = value;
    member_detail::Store(result, std::move(v));
    return S_OK;
  };
  return add(std::move(name), std::move(m));
}

template <typename T>
MemberTable& MemberTable::objectPut(DISPID dispid, HRESULT (T::*put)(IDispatch*)) {
  auto found = members_.find(dispid);
  if (found == members_.end()) return *this;
  found->second.put = [put](DispatchObject& self, const VARIANT& in) {
    const HRESULT ready = self.ensureClassInitialised();
    if (FAILED(ready)) return ready;
    Variant value;
    const HRESULT converted = ConvertArgument(in, VT_DISPATCH, value);
    if (FAILED(converted)) return converted;
    return (member_detail::As<T>(self).*put)(value.pdispVal);
  };
  return *this;
}

template <typename T, typename Base>
MemberTable& MemberTable::forward(const MemberTable& base, Base* (T::*baseOf)()) {
  auto reach = [baseOf](DispatchObject& self) -> DispatchObject* {
    return (member_detail::As<T>(self).*baseOf)();
  };
  for (const Named& named : base.order_) {
    const DISPID dispid = base.names_.idOf(named.name);
    const Member* inner = named.hidden ? nullptr : base.find(dispid);
    if (!inner || members_.contains(dispid) || names_.find(named.name)) continue;
    Member m{dispid, nullptr, nullptr, nullptr};
    if (inner->get) {
      m.get = [reach, get = inner->get](DispatchObject& self, VARIANT* result) {
        DispatchObject* target = reach(self);
        return target ? get(*target, result) : MissingBaseObject();
      };
    }
    if (inner->put) {
      m.put = [reach, put = inner->put](DispatchObject& self, const VARIANT& value) {
        DispatchObject* target = reach(self);
        return target ? put(*target, value) : MissingBaseObject();
      };
    }
    if (inner->call) {
      m.call = [reach, call = inner->call](DispatchObject& self, std::span<VARIANT> args,
                                           VARIANT* result) {
        DispatchObject* target = reach(self);
        return target ? call(*target, args, result) : MissingBaseObject();
      };
    }
    add(named.name, std::move(m));
  }
  return *this;
}

}  // namespace rt
