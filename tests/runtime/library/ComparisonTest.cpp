#include "runtime/library/Comparison.h"

#include <gtest/gtest.h>

#include "LibraryTestSupport.h"
#include "platform/oleauto/ValueObject.h"

namespace rt {
namespace {

using testing::ObjectVariant;
using testing::RefTo;
using testing_support::ValueObject;

constexpr DWORD kEqual = AcceptedOutcomes(VARCMP_EQ, VARCMP_EQ);
constexpr DWORD kGreater = AcceptedOutcomes(VARCMP_GT, VARCMP_GT);
constexpr DWORD kLess = AcceptedOutcomes(VARCMP_LT, VARCMP_LT);
constexpr DWORD kLessOrEqual = AcceptedOutcomes(VARCMP_LT, VARCMP_EQ);

// A typed operand, as the language marks a literal or a typed variable.
Variant Typed(Variant v) {
  v.vt |= VT_RESERVED;
  return v;
}

// The result of Compare as -1 (False), 1 (True) or 0 (Null).
int Outcome(const VARIANT& left, const VARIANT& right, DWORD accepted, LCID lcid = 0x0409) {
  Variant result;
  EXPECT_EQ(Compare(left, right, lcid, accepted, result.out()), S_OK);
  if (result.vt == VT_NULL) return 0;
  EXPECT_EQ(result.vt, VT_BOOL);
  return result.boolVal == VARIANT_TRUE ? 1 : -1;
}

TEST(Compare, AcceptsTheOutcomesPackedInItsFourthArgument) {
  EXPECT_EQ(AcceptedOutcomes(VARCMP_LT, VARCMP_EQ), 0x00010000u);
  struct Case {
    Variant left;
    Variant right;
    DWORD accepted;
    int outcome;
  } cases[] = {
      // The address check of the connection set-up: a part against the typed
      // literals 255 and 0, read as a number.
      {Variant::Str(u"255"), Typed(Variant::I4(255)), kGreater, -1},
      {Variant::Str(u"255"), Typed(Variant::I4(255)), kEqual, 1},
      {Variant::Str(u"256"), Typed(Variant::I4(255)), kGreater, 1},
      {Variant::Str(u"0"), Typed(Variant::I4(0)), kLess, -1},
      {Variant::Str(u"10"), Typed(Variant::I4(9)), kGreater, 1},  // numerically, not as texts
      {Variant::Str(u"x"), Typed(Variant::I4(255)), kGreater, 1},
      // An untyped number: the text is greater, whatever it holds.
      {Variant::I4(5), Variant::Str(u"5"), kEqual, -1},
      {Variant::I4(5), Variant::Str(u"5"), kLess, 1},
      {Variant::Str(u"255"), Variant::I4(255), kEqual, -1},
      {Variant::Str(u"1"), Variant::I4(255), kGreater, 1},
      // A typed text meets an untyped number: the number becomes text.
      {Typed(Variant::Str(u"10")), Variant::I4(9), kLess, 1},
      {Variant::Str(u""), Variant::Str(u""), kEqual, 1},
      // Texts ignore case, kana type and width.
      {Variant::Str(u"ACK"), Variant::Str(u"ack"), kEqual, 1},
      {Variant::Str(u"ACK"), Variant::Str(u"\uFF41ck"), kEqual, 1},
      {Variant::Str(u"ACK\r\n"), Variant::Str(u"ACK"), kEqual, -1},
      {Variant::I4(1), Variant::R8(1.5), kLessOrEqual, 1},
      {Variant::I4(2), Variant::R8(1.5), kLessOrEqual, -1},
      {Variant::R8(1.5), Variant::R8(1.5), kLessOrEqual, 1},
      {Variant::Null(), Variant::I4(1), kEqual, 0},
      {Variant::I4(1), Variant::Null(), kGreater, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Outcome(c.left, c.right, c.accepted), c.outcome)
        << c.left.vt << " " << c.right.vt << " " << std::hex << c.accepted;
  }
}

TEST(Compare, ReplacesObjectsUntilTheyAreValues) {
  ValueObject inner(Variant::I4(5));
  ValueObject outer(ObjectVariant(&inner));
  Variant outerValue = ObjectVariant(&outer);
  VARIANT reference = RefTo(outerValue);
  EXPECT_EQ(Outcome(reference, Variant::I4(5), kEqual), 1);
  EXPECT_EQ(inner.invokes(), 1);
  EXPECT_EQ(outer.invokes(), 1);

  LONG five = 5;
  Variant byReference;
  byReference.vt = VT_I4 | VT_BYREF;
  byReference.plVal = &five;
  EXPECT_EQ(Outcome(Variant::I4(5), byReference, kEqual), 1);
}

TEST(Compare, NullObjectsAndFailuresAreReported) {
  ValueObject failing(Variant::I4(1));
  failing.FailWith(DISP_E_MEMBERNOTFOUND);
  ValueObject givesNothing(ObjectVariant(nullptr));
  struct Case {
    Variant left;
    HRESULT status;
  } cases[] = {
      {ObjectVariant(nullptr), E_FAIL},
      {ObjectVariant(&givesNothing), E_FAIL},
      {ObjectVariant(&failing), DISP_E_MEMBERNOTFOUND},
  };
  for (const Case& c : cases) {
    Variant result;
    EXPECT_EQ(Compare(c.left, Variant::I4(1), 0x0409, kEqual, result.out()), c.status);
    EXPECT_EQ(result.vt, VT_EMPTY);
  }
}

}  // namespace
}  // namespace rt
