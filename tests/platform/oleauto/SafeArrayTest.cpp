#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/oleauto.h"
#include "platform/oleauto/ValueObject.h"

namespace {

using testing_support::ValueObject;

struct ArrayDestroyer {
  void operator()(SAFEARRAY* array) const { EXPECT_EQ(SafeArrayDestroy(array), S_OK); }
};
using Array = std::unique_ptr<SAFEARRAY, ArrayDestroyer>;

std::u16string TextAt(SAFEARRAY* array, LONG index) {
  BSTR text = nullptr;
  EXPECT_EQ(SafeArrayGetElement(array, &index, &text), S_OK);
  return std::u16string(Bstr::Adopt(text).view());
}

TEST(SafeArray, FeaturesAndElementTypes) {
  struct Case {
    VARTYPE vt;
    USHORT features;
    UINT size;
  };
  const Case cases[] = {
      {VT_I4, FADF_HAVEVARTYPE, 4},
      {VT_UI1, FADF_HAVEVARTYPE, 1},
      {VT_BOOL, FADF_HAVEVARTYPE, 2},
      {VT_R8, FADF_HAVEVARTYPE, 8},
      {VT_CY, FADF_HAVEVARTYPE, 8},
      {VT_BSTR, FADF_BSTR | FADF_HAVEVARTYPE, sizeof(BSTR)},
      {VT_VARIANT, FADF_VARIANT | FADF_HAVEVARTYPE, sizeof(VARIANT)},
      {VT_UNKNOWN, FADF_UNKNOWN | FADF_HAVEIID, sizeof(void*)},
      {VT_DISPATCH, FADF_DISPATCH | FADF_HAVEIID, sizeof(void*)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vt);
    Array array(SafeArrayCreateVector(c.vt, 0, 3));
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->fFeatures, c.features);
    EXPECT_EQ(SafeArrayGetElemsize(array.get()), c.size);
    VARTYPE vt = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(array.get(), &vt), S_OK);
    EXPECT_EQ(vt, c.vt);
  }
  for (VARTYPE bad : {VARTYPE{VT_EMPTY}, VARTYPE{VT_NULL}, VARTYPE{15}, VARTYPE{VT_RECORD},
                      VARTYPE{VT_I4 | VT_BYREF}}) {
    EXPECT_EQ(SafeArrayCreateVector(bad, 0, 1), nullptr);
  }
}

TEST(SafeArray, BoundsAreKeptInReverseOrder) {
  SAFEARRAYBOUND bounds[] = {{3, 1}, {5, -2}};  // (1 To 3, -2 To 2)
  Array array(SafeArrayCreate(VT_I2, 2, bounds));
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(SafeArrayGetDim(array.get()), 2u);
  EXPECT_EQ(array->rgsabound[0].cElements, 5u);  // the last dimension first
  EXPECT_EQ(array->rgsabound[1].cElements, 3u);
  LONG bound = 0;
  ASSERT_EQ(SafeArrayGetLBound(array.get(), 1, &bound), S_OK);
  EXPECT_EQ(bound, 1);
  ASSERT_EQ(SafeArrayGetUBound(array.get(), 1, &bound), S_OK);
  EXPECT_EQ(bound, 3);
  ASSERT_EQ(SafeArrayGetLBound(array.get(), 2, &bound), S_OK);
  EXPECT_EQ(bound, -2);
  ASSERT_EQ(SafeArrayGetUBound(array.get(), 2, &bound), S_OK);
  EXPECT_EQ(bound, 2);
  EXPECT_EQ(SafeArrayGetUBound(array.get(), 0, &bound), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(array.get(), 3, &bound), DISP_E_BADINDEX);

  // The first index varies fastest.
  LONG first[] = {2, -2};
  LONG second[] = {1, -1};
  void* a = nullptr;
  void* b = nullptr;
  void* data = nullptr;
  ASSERT_EQ(SafeArrayPtrOfIndex(array.get(), first, &a), S_OK);
  ASSERT_EQ(SafeArrayPtrOfIndex(array.get(), second, &b), S_OK);
  ASSERT_EQ(SafeArrayAccessData(array.get(), &data), S_OK);
  EXPECT_EQ(static_cast<char*>(a) - static_cast<char*>(data), 1 * 2);
  EXPECT_EQ(static_cast<char*>(b) - static_cast<char*>(data), 3 * 2);
  EXPECT_EQ(SafeArrayUnaccessData(array.get()), S_OK);
}

TEST(SafeArray, EmptyDimensionFromZeroEndsAtMinusOne) {
  Array array(SafeArrayCreateVector(VT_BSTR, 0, 0));
  ASSERT_NE(array, nullptr);
  LONG bound = 0;
  ASSERT_EQ(SafeArrayGetUBound(array.get(), 1, &bound), S_OK);
  EXPECT_EQ(bound, -1);
  LONG index = 0;
  BSTR text = nullptr;
  EXPECT_EQ(SafeArrayGetElement(array.get(), &index, &text), DISP_E_BADINDEX);
}

TEST(SafeArray, BstrElementsAreCopiedInAndOut) {
  Array array(SafeArrayCreateVector(VT_BSTR, 1, 3));
  ASSERT_NE(array, nullptr);
  Bstr original(u"one");
  LONG index = 1;
  ASSERT_EQ(SafeArrayPutElement(array.get(), &index, original.get()), S_OK);
  index = 2;
  const OLECHAR withNul[] = {u'a', 0, u'b'};
  Bstr embedded(std::u16string_view(withNul, 3));
  ASSERT_EQ(SafeArrayPutElement(array.get(), &index, embedded.get()), S_OK);
  ASSERT_EQ(SafeArrayPutElement(array.get(), &index, embedded.get()), S_OK);  // replaces
  index = 3;
  ASSERT_EQ(SafeArrayPutElement(array.get(), &index, nullptr), S_OK);

  BSTR* slots = nullptr;
  ASSERT_EQ(SafeArrayAccessData(array.get(), reinterpret_cast<void**>(&slots)), S_OK);
  EXPECT_NE(slots[0], original.get());
  EXPECT_EQ(slots[2], nullptr);
  SafeArrayUnaccessData(array.get());

  EXPECT_EQ(TextAt(array.get(), 1), u"one");
  EXPECT_EQ(TextAt(array.get(), 2), std::u16string_view(withNul, 3));
  EXPECT_EQ(TextAt(array.get(), 3), u"");
  index = 4;
  EXPECT_EQ(SafeArrayPutElement(array.get(), &index, original.get()), DISP_E_BADINDEX);
  index = 0;
  EXPECT_EQ(SafeArrayPutElement(array.get(), &index, original.get()), DISP_E_BADINDEX);

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(array.get(), &copy), S_OK);
  Array owned(copy);
  EXPECT_EQ(TextAt(copy, 2), std::u16string_view(withNul, 3));
  LONG bound = 0;
  ASSERT_EQ(SafeArrayGetLBound(copy, 1, &bound), S_OK);
  EXPECT_EQ(bound, 1);
}

TEST(SafeArray, VariantElementsAndObjects) {
  ValueObject object(Variant::I4(7));
  {
    Array variants(SafeArrayCreateVector(VT_VARIANT, 0, 2));
    Variant text = Variant::Str(u"text");
    LONG index = 0;
    ASSERT_EQ(SafeArrayPutElement(variants.get(), &index, &text), S_OK);
    Variant held;
    held.vt = VT_DISPATCH;
    held.pdispVal = &object;
    object.AddRef();
    index = 1;
    ASSERT_EQ(SafeArrayPutElement(variants.get(), &index, &held), S_OK);
    EXPECT_EQ(object.refs(), 3u);

    Variant out;
    index = 0;
    VariantClear(&out);
    ASSERT_EQ(SafeArrayGetElement(variants.get(), &index, &out), S_OK);
    EXPECT_EQ(std::u16string_view(out.bstrVal), u"text");

    Array objects(SafeArrayCreateVector(VT_DISPATCH, 0, 1));
    index = 0;
    ASSERT_EQ(SafeArrayPutElement(objects.get(), &index, static_cast<IDispatch*>(&object)), S_OK);
    EXPECT_EQ(object.refs(), 4u);
    IDispatch* fetched = nullptr;
    ASSERT_EQ(SafeArrayGetElement(objects.get(), &index, &fetched), S_OK);
    EXPECT_EQ(fetched, &object);
    EXPECT_EQ(object.refs(), 5u);
    fetched->Release();

    Variant arrayHolder;
    arrayHolder.vt = VT_ARRAY | VT_VARIANT;
    arrayHolder.parray = nullptr;
    ASSERT_EQ(SafeArrayCopy(variants.get(), &arrayHolder.parray), S_OK);
    EXPECT_EQ(object.refs(), 5u);
    Variant copyOfHolder(arrayHolder);  // copies the array and its elements again
    EXPECT_EQ(object.refs(), 6u);
  }
  EXPECT_EQ(object.refs(), 1u);  // every element released on destruction
}

TEST(SafeArray, LockedArraysStay) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 4);
  ASSERT_EQ(SafeArrayLock(array), S_OK);
  EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
  SAFEARRAYBOUND bigger{8, 0};
  EXPECT_EQ(SafeArrayRedim(array, &bigger), DISP_E_ARRAYISLOCKED);
  Variant holder;
  holder.vt = VT_ARRAY | VT_I4;
  holder.parray = array;
  EXPECT_EQ(VariantClear(&holder), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(holder.vt, VT_ARRAY | VT_I4);
  ASSERT_EQ(SafeArrayUnlock(array), S_OK);
  EXPECT_EQ(SafeArrayUnlock(array), E_UNEXPECTED);
  EXPECT_EQ(VariantClear(&holder), S_OK);
}

TEST(SafeArray, RedimOfTheLastDimension) {
  SAFEARRAYBOUND bounds[] = {{2, 0}, {2, 0}};
  Array array(SafeArrayCreate(VT_BSTR, 2, bounds));
  for (LONG i = 0; i < 2; ++i) {
    for (LONG j = 0; j < 2; ++j) {
      LONG indices[] = {i, j};
      std::u16string text = {static_cast<char16_t>(u'a' + i), static_cast<char16_t>(u'0' + j)};
      Bstr value(text);
      ASSERT_EQ(SafeArrayPutElement(array.get(), indices, value.get()), S_OK);
    }
  }
  SAFEARRAYBOUND longer{3, 0};
  ASSERT_EQ(SafeArrayRedim(array.get(), &longer), S_OK);
  LONG kept[] = {1, 1};
  BSTR text = nullptr;
  ASSERT_EQ(SafeArrayGetElement(array.get(), kept, &text), S_OK);
  EXPECT_EQ(Bstr::Adopt(text), u"b1");
  LONG fresh[] = {1, 2};
  ASSERT_EQ(SafeArrayGetElement(array.get(), fresh, &text), S_OK);
  EXPECT_EQ(text, nullptr);

  SAFEARRAYBOUND shorter{1, 5};  // drops the slices j = 1 and 2 (freed), moves the bound
  ASSERT_EQ(SafeArrayRedim(array.get(), &shorter), S_OK);
  LONG moved[] = {1, 5};
  ASSERT_EQ(SafeArrayGetElement(array.get(), moved, &text), S_OK);
  EXPECT_EQ(Bstr::Adopt(text), u"b0");
  EXPECT_EQ(SafeArrayGetElement(array.get(), kept, &text), DISP_E_BADINDEX);
}

TEST(SafeArray, BadArgumentsAreRefused) {
  LONG index = 0;
  LONG bound = 0;
  VARTYPE vt;
  void* p = nullptr;
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, nullptr), nullptr);
  EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
  EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
  EXPECT_EQ(SafeArrayGetVartype(nullptr, &vt), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &bound), E_INVALIDARG);
  EXPECT_EQ(SafeArrayLock(nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayAccessData(nullptr, &p), E_INVALIDARG);
  EXPECT_EQ(SafeArrayPtrOfIndex(nullptr, &index, &p), E_INVALIDARG);
  SAFEARRAY* copy = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(SafeArrayCopy(nullptr, &copy), S_OK);
  EXPECT_EQ(copy, nullptr);
  Array array(SafeArrayCreateVector(VT_I4, 0, 1));
  EXPECT_EQ(SafeArrayPutElement(array.get(), &index, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetElement(array.get(), &index, nullptr), E_INVALIDARG);
  // Sizes that cannot be allocated fail cleanly.
  SAFEARRAYBOUND huge[] = {{0x10000, 0}, {0x10000, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_VARIANT, 2, huge), nullptr);
}

}  // namespace
