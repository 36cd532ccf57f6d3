// The extender hosting a control that records what its container does: the
// creation steps in order, the host window of a visible control, the
// stored properties, the ambient properties through the site, a control
// without any of the optional interfaces, and the unload order.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../ControlsTestSupport.h"
#include "RecordingControl.h"
#include "runtime/controls/extender/ActiveXControlExtender.h"

namespace extender_test {
namespace {

using Calls = std::vector<std::string>;
using rt::HostedControlState;

std::u16string ClassOf(HWND hwnd) {
  char16_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

class HostingTest : public controls_test::ControlsTest {
 protected:
  // The extender on a form, its control created with `stored`, the form
  // loaded (the layout creates and activates the host window).
  ComPtr<rt::ActiveXControlExtender> host(const HostedControlState* stored = nullptr) {
    form_ = makeForm();
    if (formBackColor_) {
      EXPECT_EQ(controls_test::PutByName(form_->dispatch(), u"BackColor",
                                         Variant::I4(static_cast<LONG>(*formBackColor_))),
                S_OK);
    }
    if (formScaleMode_) {
      EXPECT_EQ(
          controls_test::PutByName(form_->dispatch(), u"ScaleMode", Variant::I2(*formScaleMode_)),
          S_OK);
    }
    auto extender = place<rt::ActiveXControlExtender>(*form_, 120, 240, 1800, 900);
    EXPECT_EQ(extender->createFromDesign(kRecordingControlClassId, stored), S_OK);
    EXPECT_EQ(rt::EnsureFormIsLoaded(form_.Get()), S_OK);
    return extender;
  }
  HWND hostWindowOf(rt::ActiveXControlExtender& extender) {
    for (const auto& record : rt::FormStateOf(form_.Get())->records()) {
      if (record->object.Get() == static_cast<rt::EngineControl*>(&extender)) {
        return record->window.hwnd;
      }
    }
    return nullptr;
  }

  std::optional<OLE_COLOR> formBackColor_;
  std::optional<SHORT> formScaleMode_;
  Probe probe_;
  ScopedRecordingClass registered_{probe_};
  ComPtr<rt::Form> form_;
};

TEST_F(HostingTest, AVisibleControlIsSitedConnectedLoadedAndActivatedInItsHostWindow) {
  HostedControlState stored;
  stored.hasState = true;
  stored.state = {0x41, 0x42, 0x43};
  auto extender = host(&stored);
  EXPECT_EQ(probe_.calls, (Calls{"SetClientSite", "GetMiscStatus", "PropertyNotify.Advise",
                                 "Advise", "SetAdvise", "Load(stream)", "DoVerb(-5)"}));
  EXPECT_EQ(probe_.streamBytes, (std::vector<uint8_t>{0x41, 0x42, 0x43}));
  const HWND window = hostWindowOf(*extender);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassOf(window), u"BrammelGenericControl");
  EXPECT_EQ(GetParent(window), form_->hwnd());
  EXPECT_EQ(probe_.activatedIn, window);
  // The form frames the control.
  EXPECT_EQ(probe_.frameWindow, form_->hwnd());
  EXPECT_TRUE(extender->inPlaceActive());
  EXPECT_TRUE(extender->site().inPlaceActive());
  EXPECT_EQ(extender->site().hostWindow(), window);
  // The site hears the control's notices.
  ASSERT_TRUE(probe_.notifySink && probe_.adviseSink);
  probe_.notifySink->OnChanged(1);
  probe_.adviseSink->OnViewChange(DVASPECT_CONTENT, -1);
  EXPECT_EQ(extender->site().propertyChanges(), 1);
  EXPECT_EQ(extender->site().viewChanges(), 1);
}

TEST_F(HostingTest, UnloadDeactivatesDisconnectsClearsTheSiteAndReleases) {
  auto extender = host();
  probe_.calls.clear();
  extender->unload();
  EXPECT_EQ(probe_.calls, (Calls{"InPlaceDeactivate", "PropertyNotify.Unadvise", "Unadvise",
                                 "SetAdvise(null)", "SetClientSite(null)", "released"}));
  EXPECT_EQ(probe_.alive, 0);
  EXPECT_FALSE(probe_.site);
  EXPECT_FALSE(extender->site().inPlaceActive());
  EXPECT_EQ(extender->control(), nullptr);
  // A second unload (the form's release after an explicit one) does nothing.
  probe_.calls.clear();
  extender->unload();
  EXPECT_TRUE(probe_.calls.empty());
}

TEST_F(HostingTest, TheFormsReleaseUnloadsTheControl) {
  host();
  rt::ResetEngineContext();
  forms_.clear();
  form_.Reset();
  EXPECT_EQ(probe_.alive, 0);
  ASSERT_FALSE(probe_.calls.empty());
  EXPECT_EQ(probe_.calls.back(), "released");
  EXPECT_FALSE(probe_.site);
}

TEST_F(HostingTest, AControlInvisibleAtRunTimeGetsNoWindow) {
  probe_.miscStatus = OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST;
  auto extender = host();
  EXPECT_EQ(probe_.calls, (Calls{"SetClientSite", "GetMiscStatus", "PropertyNotify.Advise",
                                 "Advise", "SetAdvise", "InitNew"}));
  EXPECT_EQ(hostWindowOf(*extender), nullptr);
  EXPECT_FALSE(extender->inPlaceActive());
  EXPECT_EQ(extender->miscStatus(), OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST);
}

TEST_F(HostingTest, AControlWithoutAnyOptionalInterfaceIsHostedWithoutThem) {
  probe_.offers = 0;
  form_ = makeForm();
  auto extender = place<rt::ActiveXControlExtender>(*form_, 0, 0, 480, 480);
  ASSERT_EQ(extender->createFromDesign(kRecordingControlClassId, IID_IUnknown, IID_NULL), S_OK);
  ASSERT_EQ(rt::EnsureFormIsLoaded(form_.Get()), S_OK);
  EXPECT_NE(extender->control(), nullptr);
  EXPECT_TRUE(probe_.calls.empty());
  EXPECT_EQ(hostWindowOf(*extender), nullptr);
  // Its members by name are not there, but nothing fails on the way out.
  ComPtr<IDispatch> dispatch;
  EXPECT_EQ(extender->hosted(dispatch), E_NOINTERFACE);
  extender->unload();
  EXPECT_EQ(probe_.calls, (Calls{"released"}));
}

TEST_F(HostingTest, StoredPropertiesReachTheControlThroughWhatItOffers) {
  HostedControlState stateOnly;
  stateOnly.hasState = true;
  stateOnly.state = {1, 2};
  HostedControlState valuesOnly;
  valuesOnly.entries.push_back({"Caption", 0, Variant::Str(u"Hello")});
  HostedControlState both = stateOnly;
  both.entries = valuesOnly.entries;
  const struct {
    const char* what;
    unsigned offers;
    const HostedControlState* stored;
    std::string loads;  // the persistence calls, in order
  } cases[] = {
      {"nothing stored", offer::All, nullptr, "InitNew"},
      {"state bytes", offer::All, &stateOnly, "Load(stream)"},
      {"named values", offer::All, &valuesOnly, "Load(bag)"},
      {"both", offer::All, &both, "Load(stream) Load(bag)"},
      {"state bytes, bag only", offer::PropertyBag, &stateOnly, "InitNew"},
      {"named values, stream only", offer::StreamInit, &valuesOnly, "InitNew"},
      {"no persistence", offer::OleObject, &both, ""},
  };
  for (const auto& c : cases) {
    probe_.calls.clear();
    probe_.offers = c.offers;
    probe_.miscStatus = OLEMISC_INVISIBLEATRUNTIME;
    auto extender = rt::MakeComObject<rt::ActiveXControlExtender>();
    ASSERT_EQ(
        extender->createFromDesign(kRecordingControlClassId, IID_IUnknown, IID_NULL, c.stored),
        S_OK)
        << c.what;
    std::string loads;
    for (const std::string& call : probe_.calls) {
      if (call.starts_with("Load") || call == "InitNew") loads += (loads.empty() ? "" : " ") + call;
    }
    EXPECT_EQ(loads, c.loads) << c.what;
    extender->unload();
    EXPECT_EQ(probe_.alive, 0) << c.what;
  }
}

TEST_F(HostingTest, TheBagAnswersStoredNamesInAnyCaseAndInTheTypeAskedFor) {
  probe_.offers = offer::PropertyBag;
  probe_.bagReads = {
      {u"caption", VT_EMPTY}, {u"PORT", VT_I4}, {u"Missing", VT_EMPTY}, {u"Caption", VT_I4}};
  HostedControlState stored;
  stored.entries.push_back({"Caption", 0, Variant::Str(u"Hello")});
  stored.entries.push_back({"Port", 0, Variant::Str(u"1001")});
  auto extender = rt::MakeComObject<rt::ActiveXControlExtender>();
  ASSERT_EQ(extender->createFromDesign(kRecordingControlClassId, IID_IUnknown, IID_NULL, &stored),
            S_OK);
  ASSERT_EQ(probe_.bagValues.size(), 4u);
  ASSERT_EQ(probe_.bagValues[0].vt, VT_BSTR);
  EXPECT_EQ(std::u16string_view(probe_.bagValues[0].bstrVal), u"Hello");
  ASSERT_EQ(probe_.bagValues[1].vt, VT_I4);
  EXPECT_EQ(probe_.bagValues[1].lVal, 1001);
  EXPECT_EQ(probe_.bagValues[2].vt, VT_EMPTY);  // not stored
  EXPECT_EQ(probe_.bagValues[3].vt, VT_EMPTY);  // "Hello" is no number
  extender->unload();
}

TEST_F(HostingTest, AControlThatCannotLoadItsPropertiesFailsTheCreation) {
  probe_.loadResult = E_FAIL;
  HostedControlState stored;
  stored.hasState = true;
  stored.state = {9};
  auto extender = rt::MakeComObject<rt::ActiveXControlExtender>();
  EXPECT_EQ(extender->createFromDesign(kRecordingControlClassId, IID_IUnknown, IID_NULL, &stored),
            E_FAIL);
  EXPECT_EQ(extender->control(), nullptr);
  EXPECT_EQ(probe_.alive, 0);
  // Whatever was connected was let go again, the site last.
  EXPECT_EQ(probe_.calls,
            (Calls{"SetClientSite", "GetMiscStatus", "PropertyNotify.Advise", "Advise", "SetAdvise",
                   "Load(stream)", "PropertyNotify.Unadvise", "Unadvise", "SetAdvise(null)",
                   "SetClientSite(null)", "released"}));
}

Variant Ambient(IOleClientSite* site, DISPID id) {
  Variant value;
  auto dispatch = QueryInterfaceOf<IDispatch>(site);
  DISPPARAMS none{};
  if (!dispatch || FAILED(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                           value.out(), nullptr, nullptr))) {
    return Variant();
  }
  return value;
}

TEST_F(HostingTest, TheScaleUnitsAreThoseOfTheForm) {
  const struct {
    std::optional<SHORT> mode;
    std::u16string_view units;
  } cases[] = {{std::nullopt, u"Twip"}, {3, u"Pixel"}, {6, u"Millimeter"}, {9, u"Twip"}};
  for (const auto& c : cases) {
    formScaleMode_ = c.mode;
    auto extender = host();
    const Variant units = Ambient(probe_.site.Get(), DISPID_AMBIENT_SCALEUNITS);
    ASSERT_EQ(units.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(units.bstrVal), c.units) << c.mode.value_or(-1);
    extender->unload();
  }
}

TEST_F(HostingTest, TheSiteAnswersTheAmbientPropertiesAndTheExtendedControl) {
  formBackColor_ = 0x00336699;
  auto extender = host();
  extender->site().base().name = u"sckServer";
  extender->site().setScaleMode(3);
  IOleClientSite* site = probe_.site.Get();
  ASSERT_NE(site, nullptr);
  const Variant userMode = Ambient(site, DISPID_AMBIENT_USERMODE);
  EXPECT_EQ(userMode.vt, VT_BOOL);
  EXPECT_EQ(userMode.boolVal, VARIANT_TRUE);
  const Variant units = Ambient(site, DISPID_AMBIENT_SCALEUNITS);
  ASSERT_EQ(units.vt, VT_BSTR);
  EXPECT_EQ(std::u16string_view(units.bstrVal), u"Pixel");
  const Variant name = Ambient(site, DISPID_AMBIENT_DISPLAYNAME);
  ASSERT_EQ(name.vt, VT_BSTR);
  EXPECT_EQ(std::u16string_view(name.bstrVal), u"sckServer");
  const Variant back = Ambient(site, DISPID_AMBIENT_BACKCOLOR);
  EXPECT_EQ(back.vt, VT_I4);
  EXPECT_EQ(static_cast<OLE_COLOR>(back.lVal), 0x00336699u);  // the form's
  const Variant fore = Ambient(site, DISPID_AMBIENT_FORECOLOR);
  EXPECT_EQ(static_cast<OLE_COLOR>(fore.lVal), rt::ActiveXControlExtenderX::kDefaultForeColor);
  EXPECT_EQ(Ambient(site, DISPID_AMBIENT_UIDEAD).boolVal, VARIANT_FALSE);
  // The site interfaces a control may ask for.
  for (const IID* iid :
       {&IID_IOleInPlaceSite, &IID_IOleInPlaceSiteEx, &IID_IOleInPlaceSiteWindowless,
        &IID_IOleControlSite, &IID_IOleContainer, &IID_IAdviseSink, &IID_IPropertyNotifySink,
        &IID_IOleWindow, &IID_IDispatch}) {
    ComPtr<IUnknown> answer;
    EXPECT_EQ(site->QueryInterface(*iid, reinterpret_cast<void**>(&answer)), S_OK);
  }
  ComPtr<IOleContainer> container;
  EXPECT_EQ(site->GetContainer(&container), S_OK);
  auto controlSite = QueryInterfaceOf<IOleControlSite>(site);
  ComPtr<IDispatch> extended;
  ASSERT_EQ(controlSite->GetExtendedControl(&extended), S_OK);
  EXPECT_EQ(extended.Get(), static_cast<IDispatch*>(extender.Get()));
}

TEST_F(HostingTest, TheHostWindowGoingDeactivatesTheControl) {
  auto extender = host();
  const HWND window = hostWindowOf(*extender);
  ASSERT_NE(window, nullptr);
  probe_.calls.clear();
  DestroyWindow(form_->hwnd());
  settle();
  EXPECT_EQ(probe_.calls, (Calls{"InPlaceDeactivate"}));
  EXPECT_FALSE(extender->inPlaceActive());
  EXPECT_EQ(extender->site().hostWindow(), nullptr);
  // The control stays hosted until the form is released.
  EXPECT_NE(extender->control(), nullptr);
}

HRESULT Put(IDispatch* object, const char16_t* name, Variant value) {
  std::u16string text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id); FAILED(hr)) return hr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&value, &named, 1, 1};
  return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr);
}

TEST_F(HostingTest, ExtenderMembersMoveAndShowTheHostWindow) {
  auto extender = host();
  const HWND window = hostWindowOf(*extender);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window) || !IsWindowVisible(form_->hwnd()));
  // Twips at 96 dots per inch: 15 to the pixel.
  ASSERT_EQ(Put(extender.Get(), u"Left", Variant::I4(300)), S_OK);
  ASSERT_EQ(Put(extender.Get(), u"Width", Variant::I4(1500)), S_OK);
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT origin{0, 0};
  ClientToScreen(form_->hwnd(), &origin);
  EXPECT_EQ(rect.left - origin.x, 20);
  EXPECT_EQ(rect.right - rect.left, 100);
  ASSERT_EQ(Put(extender.Get(), u"Visible", Variant::Bool(false)), S_OK);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE, 0);
  ASSERT_EQ(Put(extender.Get(), u"Visible", Variant::Bool(true)), S_OK);
  EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE, 0);
}

}  // namespace
}  // namespace extender_test
