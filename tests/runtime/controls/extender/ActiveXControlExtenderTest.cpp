// The control extender without a real control: the ambient scale-units
// names, the extender members by name, and creation of a class nobody
// registered (its status, an empty extender, error 91 on the control's
// members).
#include "runtime/controls/extender/ActiveXControlExtender.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace rt {
namespace {

TEST(ActiveXControlExtender, ScaleUnitsNames) {
  const struct {
    int mode;
    std::u16string_view name;
  } cases[] = {{0, u"User"},      {1, u"Twip"}, {2, u"Point"},      {3, u"Pixel"},
               {4, u"Character"}, {5, u"Inch"}, {6, u"Millimeter"}, {7, u"Centimeter"},
               {-1, u"Pixel"},    {9, u"Twip"}, {-2, u"Twip"},      {100, u"Twip"}};
  for (const auto& c : cases)
    EXPECT_EQ(std::u16string_view(ScaleUnitsName(c.mode)), c.name) << c.mode;
}

TEST(ActiveXControlExtender, TheControlAsksForTheAmbientScaleUnits) {
  ComPtr<ActiveXControlExtender> extender = MakeComObject<ActiveXControlExtender>();
  for (auto [mode, name] : {std::pair{3, u"Pixel"}, std::pair{9, u"Twip"}}) {
    extender->site().setScaleMode(mode);
    DISPPARAMS none{};
    Variant result;
    ASSERT_EQ(extender->site().Invoke(DISPID_AMBIENT_SCALEUNITS, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                      &none, result.out(), nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(result.bstrVal), name);
  }
}

TEST(ActiveXControlExtender, ExtenderMembersByName) {
  ComPtr<ActiveXControlExtender> extender = MakeComObject<ActiveXControlExtender>();
  LPOLESTR names[] = {const_cast<LPOLESTR>(u"LEFT")};
  DISPID id = 0;
  ASSERT_EQ(extender->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = 1200;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&value, &named, 1, 1};
  ASSERT_EQ(
      extender->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
      S_OK);
  EXPECT_EQ(extender->site().base().left, 1200.0);
  DISPPARAMS none{};
  Variant result;
  ASSERT_EQ(extender->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.out(), nullptr,
                             nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_R8);
  EXPECT_EQ(result.dblVal, 1200.0);
}

TEST(ActiveXControlExtender, AClassNobodyRegisteredLeavesItEmpty) {
  std::thread([] {
    ComPtr<ActiveXControlExtender> extender = MakeComObject<ActiveXControlExtender>();
    EXPECT_EQ(extender->createFromDesign(u"{0E2B0000-1111-2222-3333-444455556666}", IID_IDispatch,
                                         IID_NULL),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(extender->control(), nullptr);
    EXPECT_NE(extender->createFromDesign(u"not a class", IID_IDispatch, IID_NULL), S_OK);
    // The control's own members need a control.
    ComPtr<IDispatch> control;
    EXPECT_EQ(extender->hosted(control), static_cast<HRESULT>(0x800A005B));
    DISPPARAMS none{};
    EXPECT_EQ(extender->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              static_cast<HRESULT>(0x800A005B));
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"SendData")};
    DISPID id = 0;
    EXPECT_EQ(extender->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    // Its event interface is there all the same, for the form to connect to.
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(extender->FindConnectionPoint(DIID_ActiveXControlExtenderEvents, &point), S_OK);
  }).join();
}

}  // namespace
}  // namespace rt
