#include "runtime/controls/Form.h"

#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "runtime/controls/LayeredAttributes.h"
#include "runtime/core/Status.h"

namespace controls_test {
namespace {

using FormTest = ControlsTest;

std::u16string ClassOf(HWND hwnd) {
  char16_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

TEST_F(FormTest, LoadIsRaisedOnceBeforeTheFirstShow) {
  auto form = makeForm();
  bool visibleAtLoad = true;
  onEvent_ = [&](IUnknown*, DISPID id) {
    if (id == rt::form_event::Load) visibleAtLoad = IsWindowVisible(form->hwnd());
  };
  listen(form->dispatch(), skiffwire::DIID_FormEvents);
  ASSERT_EQ(CallByName(form->dispatch(), u"Show"), S_OK);
  ASSERT_EQ(CallByName(form->dispatch(), u"Show"), S_OK);
  settle();
  EXPECT_FALSE(visibleAtLoad);
  EXPECT_TRUE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(ClassOf(form->hwnd()), u"BrammelForm");
  const auto events = eventsOf(form->dispatch());
  EXPECT_EQ(std::count(events.begin(), events.end(), rt::form_event::Load), 1);
}

TEST_F(FormTest, TheFormsOwnGeometryIsItsWindowInTwips) {
  auto form = makeForm();
  listen(form->dispatch(), skiffwire::DIID_FormEvents);
  // Reading a position loads the form (once) without showing it.
  Variant value;
  ASSERT_EQ(GetByName(form->dispatch(), u"Left", value), S_OK);
  EXPECT_EQ(value.dblVal, 50 * 15.0);
  EXPECT_EQ(eventsOf(form->dispatch(), rt::form_event::Load).size(), 1u);
  EXPECT_FALSE(IsWindowVisible(form->hwnd()));
  RECT outer{};
  GetWindowRect(form->hwnd(), &outer);
  ASSERT_EQ(GetByName(form->dispatch(), u"Width", value), S_OK);
  EXPECT_EQ(value.dblVal, (outer.right - outer.left) * 15.0);
  EXPECT_GE(value.dblVal, 400 * 15.0);

  const struct {
    const char16_t* name;
    double twips;
    LONG RECT::*edge;
    LONG pixels;
  } moves[] = {{u"Left", 1500, &RECT::left, 100},
               {u"Top", 3000, &RECT::top, 200},
               {u"Width", 9000, &RECT::right, 100 + 600},
               {u"Height", 4500, &RECT::bottom, 200 + 300}};
  for (const auto& m : moves) {
    ASSERT_EQ(PutByName(form->dispatch(), m.name, Variant::R8(m.twips)), S_OK);
    GetWindowRect(form->hwnd(), &outer);
    EXPECT_EQ(outer.*m.edge, m.pixels) << m.twips;
    ASSERT_EQ(GetByName(form->dispatch(), m.name, value), S_OK);
    EXPECT_EQ(value.dblVal, m.twips);
  }
  EXPECT_EQ(PutByName(form->dispatch(), u"Width", Variant::R8(-15)), rt::ErrorStatus(380));
  EXPECT_EQ(eventsOf(form->dispatch(), rt::form_event::Load).size(), 1u);
}

TEST_F(FormTest, AutoRedrawAndClipControlsChooseClassAndStyle) {
  const struct {
    bool autoRedraw, clip;
    std::u16string cls;
    bool clipChildren;
  } cases[] = {{false, true, u"BrammelForm", true},
               {true, true, u"BrammelFormDC", true},
               {false, false, u"BrammelForm", false}};
  for (const auto& c : cases) {
    auto form = makeForm();
    ASSERT_EQ(PutByName(form->dispatch(), u"AutoRedraw", Variant::Bool(c.autoRedraw)), S_OK);
    ASSERT_EQ(PutByName(form->dispatch(), u"ClipControls", Variant::Bool(c.clip)), S_OK);
    ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
    EXPECT_EQ(ClassOf(form->hwnd()), c.cls);
    EXPECT_EQ((GetWindowLongW(form->hwnd(), GWL_STYLE) & WS_CLIPCHILDREN) != 0, c.clipChildren);
  }
}

TEST_F(FormTest, OpacityBelowHundredMakesTheWindowLayered) {
  auto form = makeForm();
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.Get()), S_OK);
  HWND hwnd = form->hwnd();
  auto layered = [&] { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  EXPECT_FALSE(layered());

  ASSERT_EQ(PutByName(form->dispatch(), u"Opacity", Variant::R8(50)), S_OK);
  ASSERT_TRUE(layered());
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, LWA_ALPHA);

  ASSERT_EQ(PutByName(form->dispatch(), u"Opacity", Variant::R8(100)), S_OK);
  EXPECT_FALSE(layered());
  // Below 0 counts as not in use.
  ASSERT_EQ(PutByName(form->dispatch(), u"Opacity", Variant::R8(-5)), S_OK);
  EXPECT_FALSE(layered());

  // A system colour as the key uses its current value.
  ASSERT_EQ(PutByName(form->dispatch(), u"TransparencyKey", Variant::I4(0x8000000F)), S_OK);
  COLORREF key = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, &key, nullptr, &flags));
  EXPECT_EQ(key, GetSysColor(15));
  EXPECT_EQ(flags, LWA_COLORKEY);
  EXPECT_EQ(PutByName(form->dispatch(), u"TransparencyKey", Variant::I4(0x80000020)), E_INVALIDARG);
}

TEST_F(FormTest, AnOpacityFromTheDesignAppliesWhenTheFormLoads) {
  auto form = makeForm();
  form->opacity_ = 25;
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  BYTE alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->hwnd(), nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, rt::AlphaOfOpacity(25));
  EXPECT_EQ(alpha, 64);
}

TEST_F(FormTest, ACancelledUnloadKeepsTheForm) {
  auto form = makeForm();
  ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
  SHORT answer = 1;
  auto sink = rt::MakeComObject<rt::EventSink>(skiffwire::DIID_FormEvents,
                                               [&](DISPID id, const DISPPARAMS& params) {
                                                 raised_.push_back({nullptr, id});
                                                 if (id == rt::form_event::Unloading) {
                                                   *params.rgvarg[0].piVal = answer;
                                                 }
                                                 return S_OK;
                                               });
  ASSERT_EQ(sink->connect(form->dispatch()), S_OK);
  sinks_.push_back(sink);
  SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
  settle();
  EXPECT_TRUE(IsWindow(form->hwnd()));
  auto events = eventsOf(nullptr);
  std::erase_if(events, [](DISPID id) { return id == rt::form_event::Activate; });
  EXPECT_EQ(events, (std::vector<DISPID>{rt::form_event::BeforeUnload, rt::form_event::Unloading}));
  answer = 0;
  SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
  settle();
  EXPECT_EQ(form->hwnd(), nullptr);
}

}  // namespace
}  // namespace controls_test
