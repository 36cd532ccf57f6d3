#include "runtime/controls/MemberTable.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

int gInitialisations = 0;
HRESULT CountInitialisation() {
  ++gInitialisations;
  return S_OK;
}

// A base class with a field, a computed property and a method.
class Inner final : public DispatchObject {
 public:
  static const MemberTable& Members() {
    static const MemberTable table = [] {
      MemberTable t;
      t.field<VT_I4>(u"Count", 1, &Inner::count_, &Inner::applyCount);
      t.property<VT_BOOL>(u"Even", 2, &Inner::getEven);
      t.method(u"Bump", 3, &Inner::Bump);
      t.textField(u"Label", 4, &Inner::label_);
      return t;
    }();
    return table;
  }
  const ClassDescriptor& descriptor() const override {
    static const ClassDescriptor cls{u"Inner", &InitialiseRuntimeClass};
    return cls;
  }
  const MemberTable& members() const override { return Members(); }

  LONG count_ = 7;
  Bstr label_;
  int applied = 0;

 private:
  HRESULT applyCount() {
    ++applied;
    return S_OK;
  }
  HRESULT getEven(VARIANT_BOOL* even) {
    *even = count_ % 2 == 0 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT Bump() {
    ++count_;
    return S_OK;
  }
};

// A class assembled from Inner; its own Count hides the inner one.
class Outer final : public DispatchObject {
 public:
  explicit Outer(const ClassDescriptor& cls, bool withInner = true) : cls_(cls) {
    if (withInner) inner_ = std::make_unique<Inner>();
  }
  static const MemberTable& Members() {
    static const MemberTable table = [] {
      MemberTable t;
      t.field<VT_R8>(u"Count", 10, &Outer::own_);
      t.forward(Inner::Members(), &Outer::inner);
      return t;
    }();
    return table;
  }
  const ClassDescriptor& descriptor() const override { return cls_; }
  const MemberTable& members() const override { return Members(); }
  Inner* inner() { return inner_.get(); }

  double own_ = 1.5;

 private:
  const ClassDescriptor& cls_;
  std::unique_ptr<Inner> inner_;
};

const ClassDescriptor kCounting{u"Outer", &CountInitialisation};
const ClassDescriptor kWithoutRoutine{u"Broken", nullptr};

HRESULT Get(DispatchObject& object, std::u16string name, Variant& out) {
  const DISPID id = object.members().names().idOf(name);
  return object.members().invoke(object, id, DISPATCH_PROPERTYGET, nullptr, out.out());
}

HRESULT Put(DispatchObject& object, std::u16string name, Variant value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  const DISPID id = object.members().names().idOf(name);
  return object.members().invoke(object, id, DISPATCH_PROPERTYPUT, &params, nullptr);
}

HRESULT Call(DispatchObject& object, std::u16string name) {
  DISPPARAMS none{};
  const DISPID id = object.members().names().idOf(name);
  return object.members().invoke(object, id, DISPATCH_METHOD, &none, nullptr);
}

TEST(MemberTableTest, TheFirstMemberCallRunsTheClassInitialisationOnce) {
  gInitialisations = 0;
  Outer outer(kCounting);
  EXPECT_FALSE(outer.classInitialised());
  Variant value;
  ASSERT_EQ(Get(outer, u"count", value), S_OK);
  EXPECT_EQ(value.dblVal, 1.5);
  EXPECT_TRUE(outer.classInitialised());
  EXPECT_EQ(gInitialisations, 1);
  ASSERT_EQ(Get(outer, u"Even", value), S_OK);
  EXPECT_EQ(gInitialisations, 1);
  // The forwarded call initialised the inner object for its own class.
  EXPECT_TRUE(outer.inner()->classInitialised());
}

TEST(MemberTableTest, AClassWithoutAnInitialisationRoutineFailsEveryCall) {
  Outer outer(kWithoutRoutine);
  Variant value;
  EXPECT_EQ(Get(outer, u"Count", value), E_FAIL);
  EXPECT_EQ(Put(outer, u"Label", Variant::Str(u"x")), E_FAIL);
  EXPECT_EQ(Call(outer, u"Bump"), E_FAIL);
  EXPECT_EQ(outer.inner()->count_, 7);
}

TEST(MemberTableTest, ForwardedMembersReachTheContainedObject) {
  Outer outer(kCounting);
  Variant value;
  ASSERT_EQ(Call(outer, u"Bump"), S_OK);
  ASSERT_EQ(Get(outer, u"EVEN", value), S_OK);
  EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  ASSERT_EQ(Put(outer, u"Label", Variant::Str(u"tag")), S_OK);
  EXPECT_EQ(outer.inner()->label_.view(), u"tag");
  ASSERT_EQ(Get(outer, u"Label", value), S_OK);
  EXPECT_EQ(std::u16string_view(value.bstrVal), u"tag");
  // The outer class's own Count wins over the inner one.
  ASSERT_EQ(Put(outer, u"Count", Variant::Str(u"4")), S_OK);
  EXPECT_EQ(outer.own_, 4.0);
  EXPECT_EQ(outer.inner()->count_, 8);
}

TEST(MemberTableTest, AFieldLetStoresThenApplies) {
  Inner inner;
  ASSERT_EQ(Put(inner, u"Count", Variant::R8(41.6)), S_OK);
  EXPECT_EQ(inner.count_, 42);
  EXPECT_EQ(inner.applied, 1);
  EXPECT_EQ(Put(inner, u"Count", Variant::Str(u"many")), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(inner.count_, 42);
  EXPECT_EQ(inner.applied, 1);
  // Read-only and unknown members.
  EXPECT_EQ(Put(inner, u"Even", Variant::Bool(true)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(inner.members().invoke(inner, 99, DISPATCH_PROPERTYGET, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST(MemberTableTest, AMissingBaseObjectFailsWithError91) {
  Outer outer(kCounting, /*withInner=*/false);
  Variant value;
  EXPECT_EQ(Get(outer, u"Even", value), ErrorStatus(91));
  EXPECT_EQ(Put(outer, u"Label", Variant::Str(u"x")), ErrorStatus(91));
  EXPECT_EQ(Call(outer, u"Bump"), ErrorStatus(91));
  // The class's own members still work.
  EXPECT_EQ(Get(outer, u"Count", value), S_OK);
}

}  // namespace
}  // namespace rt
