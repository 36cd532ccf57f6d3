#include <gtest/gtest.h>

#include "platform/oleauto.h"
#include "platform/oleauto/ValueObject.h"

namespace {

using testing_support::ValueObject;

TEST(Variant, CopyKeepsBstrLengthWithEmbeddedNulsAndOddBytes) {
  const OLECHAR text[] = {u'a', 0, u'b', 0};
  Variant source = Variant::AdoptBstr(SysAllocStringLen(text, 4));
  Variant copy;
  ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
  ASSERT_EQ(copy.vt, VT_BSTR);
  EXPECT_NE(copy.bstrVal, source.bstrVal);
  EXPECT_EQ(SysStringLen(copy.bstrVal), 4u);
  EXPECT_EQ(std::u16string_view(copy.bstrVal, 4), std::u16string_view(text, 4));

  Variant odd = Variant::AdoptBstr(SysAllocStringByteLen("abc", 3));
  ASSERT_EQ(VariantCopy(&copy, &odd), S_OK);  // frees the previous copy
  EXPECT_EQ(SysStringByteLen(copy.bstrVal), 3u);
}

TEST(Variant, CopyOfNullBstrStaysNull) {
  Variant source = Variant::AdoptBstr(nullptr);
  Variant copy;
  ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
  EXPECT_EQ(copy.vt, VT_BSTR);
  EXPECT_EQ(copy.bstrVal, nullptr);
}

TEST(Variant, ObjectsAreCountedByCopyAndClear) {
  ValueObject object(Variant::I4(1));
  Variant v;
  v.vt = VT_DISPATCH;
  v.pdispVal = &object;
  object.AddRef();
  {
    Variant copy(v);
    EXPECT_EQ(object.refs(), 3u);
  }
  EXPECT_EQ(object.refs(), 2u);
  ASSERT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(object.refs(), 1u);
}

TEST(Variant, ByReferenceValuesAreNeitherFreedNorCounted) {
  ValueObject object(Variant::I4(1));
  IDispatch* target = &object;
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_DISPATCH | VT_BYREF;
  byRef.ppdispVal = &target;
  Variant copy;
  ASSERT_EQ(VariantCopy(&copy, &byRef), S_OK);
  EXPECT_EQ(copy.ppdispVal, &target);
  EXPECT_EQ(object.refs(), 1u);
  ASSERT_EQ(VariantClear(&byRef), S_OK);
  EXPECT_EQ(object.refs(), 1u);

  BSTR text = SysAllocString(u"kept");
  VARIANT bstrRef;
  bstrRef.vt = VT_BSTR | VT_BYREF;
  bstrRef.pbstrVal = &text;
  ASSERT_EQ(VariantClear(&bstrRef), S_OK);
  EXPECT_EQ(std::u16string_view(text), u"kept");
  SysFreeString(text);
}

TEST(Variant, CopyIndFollowsReferences) {
  LONG number = 42;
  VARIANT ref;
  ref.vt = VT_I4 | VT_BYREF;
  ref.plVal = &number;
  Variant out;
  ASSERT_EQ(VariantCopyInd(&out, &ref), S_OK);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.lVal, 42);

  BSTR text = SysAllocString(u"deep");
  VARIANT inner;
  inner.vt = VT_BSTR | VT_BYREF;
  inner.pbstrVal = &text;
  VARIANT outer;
  outer.vt = VT_VARIANT | VT_BYREF;
  outer.pvarVal = &inner;
  ASSERT_EQ(VariantCopyInd(&out, &outer), S_OK);
  ASSERT_EQ(out.vt, VT_BSTR);
  EXPECT_NE(out.bstrVal, text);
  EXPECT_EQ(std::u16string_view(out.bstrVal), u"deep");
  SysFreeString(text);

  // A reference to a reference to a variant is refused.
  VARIANT third;
  third.vt = VT_VARIANT | VT_BYREF;
  third.pvarVal = &outer;
  EXPECT_EQ(VariantCopyInd(&out, &third), E_INVALIDARG);
}

TEST(Variant, CopyIndInPlace) {
  DOUBLE number = 2.5;
  VARIANT v;
  v.vt = VT_R8 | VT_BYREF;
  v.pdblVal = &number;
  ASSERT_EQ(VariantCopyInd(&v, &v), S_OK);
  EXPECT_EQ(v.vt, VT_R8);
  EXPECT_EQ(v.dblVal, 2.5);
}

TEST(Variant, BadTypesAreRefused) {
  for (VARTYPE vt : {VARTYPE{15}, VARTYPE{VT_VOID}, VARTYPE{0x0FFF}, VARTYPE{VT_I4 | 0x1000},
                     VARTYPE{VT_EMPTY | VT_BYREF}, VARTYPE{VT_NULL | VT_ARRAY}}) {
    SCOPED_TRACE(vt);
    VARIANT bad;
    bad.vt = vt;
    bad.llVal = 0;
    Variant out;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(bad.vt, vt);
    EXPECT_EQ(VariantCopy(&out, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantCopyInd(&out, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantChangeType(&out, &bad, 0, VT_I4), DISP_E_BADVARTYPE);
    EXPECT_EQ(out.vt, VT_EMPTY);
  }
  Variant good = Variant::I4(1);
  Variant out;
  EXPECT_EQ(VariantChangeType(&out, &good, 0, 15), DISP_E_BADVARTYPE);
}

}  // namespace
