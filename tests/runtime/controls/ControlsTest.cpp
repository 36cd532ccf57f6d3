// The intrinsic controls on a loaded form of the real forms engine.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "platform/controls.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/Shape.h"
#include "runtime/controls/TextBox.h"
#include "runtime/controls/Timer.h"
#include "runtime/core/Status.h"

namespace controls_test {
namespace {

using rt::EventClick;

Bstr TextOf(skiffwire::ITextBox& box) {
  Bstr text;
  box.get_Text(text.out());
  return text;
}

class ControlsOnAForm : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form_ = makeForm();
  }
  void load() { ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK); }

  void clickAt(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    display_->click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    settle();
  }

  ComPtr<rt::Form> form_;
};

TEST_F(ControlsOnAForm, ReadingAPropertyFirstRunsTheClassInitialisation) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  EXPECT_FALSE(box->classInitialised());
  Variant value;
  ASSERT_EQ(GetByName(box->dispatch(), u"MaxLength", value), S_OK);
  EXPECT_EQ(value.lVal, 0);
  EXPECT_TRUE(box->classInitialised());
}

TEST_F(ControlsOnAForm, InheritedMembersAreFoundByNameAndReachTheWindow) {
  auto button = place<rt::CommandButton>(*form_, 150, 300, 1500, 450);
  load();
  Variant value;
  ASSERT_EQ(GetByName(button->dispatch(), u"hwnd", value), S_OK);
  EXPECT_EQ(value.lVal, static_cast<LONG>(reinterpret_cast<intptr_t>(button->hwnd())));
  ASSERT_EQ(GetByName(button->dispatch(), u"LEFT", value), S_OK);
  EXPECT_EQ(value.dblVal, 150.0);
  ASSERT_EQ(PutByName(button->dispatch(), u"Left", Variant::R8(300)), S_OK);
  RECT r{};
  GetWindowRect(button->hwnd(), &r);
  POINT topLeft{r.left, r.top};
  ScreenToClient(form_->hwnd(), &topLeft);
  EXPECT_EQ(topLeft.x, 20);
  EXPECT_EQ(topLeft.y, 20);
  ASSERT_EQ(PutByName(button->dispatch(), u"Caption", Variant::Str(u"Send")), S_OK);
  ASSERT_EQ(GetByName(button->dispatch(), u"Caption", value), S_OK);
  EXPECT_EQ(std::u16string_view(value.bstrVal), u"Send");
  ASSERT_EQ(GetByName(button->dispatch(), u"Parent", value), S_OK);
  EXPECT_EQ(value.vt, VT_DISPATCH);
  EXPECT_EQ(value.pdispVal, form_->dispatch());
}

TEST_F(ControlsOnAForm, TheColourAnswerPaintsTheControlsOwnColours) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  ASSERT_EQ(PutByName(box->dispatch(), u"ForeColor", Variant::I4(0x000000FF)), S_OK);
  ASSERT_EQ(PutByName(box->dispatch(), u"BackColor", Variant::I4(0x8000000F)), S_OK);
  HDC dc = GetDC(box->hwnd());
  LRESULT answer = 0;
  SendMessageW(form_->hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(box->hwnd()));
  box->colour(dc, 8, &answer);
  EXPECT_EQ(GetTextColor(dc), 0x000000FFu);
  EXPECT_NE(answer, 0);
  LOGBRUSH brush{};
  ASSERT_NE(GetObjectW(reinterpret_cast<HBRUSH>(answer), sizeof brush, &brush), 0);
  EXPECT_EQ(brush.lbColor, GetSysColor(15));
  ReleaseDC(box->hwnd(), dc);
}

// The colour answer looks ForeColor up by name, so each class's own
// property is what ends up in the painted text.
TEST_F(ControlsOnAForm, EachControlsOwnForeColorIsPainted) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  auto check = place<rt::CheckBox>(*form_, 120, 900, 2400, 375);
  load();
  Bstr text(u"MMMMMMMM");
  ASSERT_EQ(box->put_Text(text.get()), S_OK);
  ASSERT_EQ(PutByName(check->dispatch(), u"Caption", Variant::Str(u"MMMMMMMM")), S_OK);
  const COLORREF red = 0x000000FF;
  auto painted = [&](HWND hwnd, COLORREF colour) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    settle();
    RECT client{};
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    int found = 0;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x)
        found += GetPixel(dc, x, y) == colour ? 1 : 0;
    }
    ReleaseDC(hwnd, dc);
    return found;
  };
  for (IDispatch* control : {box->dispatch(), check->dispatch()}) {
    HWND hwnd = control == box->dispatch() ? box->hwnd() : check->hwnd();
    EXPECT_EQ(painted(hwnd, red), 0);
    ASSERT_EQ(PutByName(control, u"ForeColor", Variant::I4(static_cast<LONG>(red))), S_OK);
    EXPECT_GT(painted(hwnd, red), 0);
  }
}

TEST_F(ControlsOnAForm, ADisabledButtonIgnoresClicksButValueTrueStillClicks) {
  auto button = place<rt::CommandButton>(*form_, 150, 300, 1500, 450);
  load();
  listen(button->dispatch(), skiffwire::DIID_CommandButtonEvents);
  clickAt(button->hwnd());
  EXPECT_EQ(eventsOf(button->dispatch(), EventClick).size(), 1u);

  ASSERT_EQ(button->put_Enabled(VARIANT_FALSE), S_OK);
  raised_.clear();
  clickAt(button->hwnd());
  EXPECT_TRUE(eventsOf(button->dispatch()).empty());

  ASSERT_EQ(PutByName(button->dispatch(), u"Value", Variant::Bool(true)), S_OK);
  EXPECT_EQ(eventsOf(button->dispatch()), std::vector<DISPID>{EventClick});
}

TEST_F(ControlsOnAForm, AGraphicalButtonPaintsItselfAndStillClicks) {
  // The style is a design property: it is set before the engine's record.
  auto button = rt::MakeComObject<rt::CommandButton>();
  ASSERT_EQ(PutByName(button->dispatch(), u"Style", Variant::I2(1)), S_OK);
  ASSERT_EQ(PutByName(button->dispatch(), u"BackColor", Variant::I4(0x0000FF00)), S_OK);
  ASSERT_EQ(PutByName(button->dispatch(), u"ForeColor", Variant::I4(0x000000FF)), S_OK);
  rt::ControlRecord& record =
      rt::BuildControlRecord(*rt::FormStateOf(form_.Get()), nullptr, button.Get());
  record.placement = {96, 150, 300, 1500, 450};
  ASSERT_EQ(PutByName(button->dispatch(), u"Caption", Variant::Str(u"MMMM")), S_OK);
  load();
  listen(button->dispatch(), skiffwire::DIID_CommandButtonEvents);
  EXPECT_EQ(GetWindowLongW(button->hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  RedrawWindow(button->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  settle();
  RECT client{};
  GetClientRect(button->hwnd(), &client);
  HDC dc = GetDC(button->hwnd());
  int face = 0, caption = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const COLORREF pixel = GetPixel(dc, x, y);
      face += pixel == 0x0000FF00 ? 1 : 0;
      caption += pixel == 0x000000FF ? 1 : 0;
    }
  }
  // The edge stays the system's; the corner is not the face.
  EXPECT_NE(GetPixel(dc, 0, 0), 0x0000FF00u);
  ReleaseDC(button->hwnd(), dc);
  EXPECT_GT(face, client.right * client.bottom / 2);
  EXPECT_GT(caption, 0);
  clickAt(button->hwnd());
  EXPECT_EQ(eventsOf(button->dispatch(), EventClick).size(), 1u);
}

TEST_F(ControlsOnAForm, DisablingAControlInsideItsOwnEventStopsFurtherEvents) {
  auto button = place<rt::CommandButton>(*form_, 150, 300, 1500, 450);
  load();
  listen(button->dispatch(), skiffwire::DIID_CommandButtonEvents);
  onEvent_ = [&](IUnknown*, DISPID id) {
    if (id == EventClick) button->put_Enabled(VARIANT_FALSE);
  };
  clickAt(button->hwnd());
  clickAt(button->hwnd());
  EXPECT_EQ(eventsOf(button->dispatch(), EventClick).size(), 1u);
  EXPECT_FALSE(IsWindowEnabled(button->hwnd()));
}

TEST_F(ControlsOnAForm, TextLetRaisesChangeOnlyForADifferentText) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  listen(box->dispatch(), skiffwire::DIID_TextBoxEvents);
  Bstr hello(u"hello");
  ASSERT_EQ(box->put_Text(hello.get()), S_OK);
  ASSERT_EQ(box->put_Text(hello.get()), S_OK);
  EXPECT_EQ(eventsOf(box->dispatch()), std::vector<DISPID>{rt::kTextBoxChange});
  EXPECT_EQ(TextOf(*box), u"hello");
  // A null text is the empty text: one change, then none.
  ASSERT_EQ(box->put_Text(nullptr), S_OK);
  ASSERT_EQ(box->put_Text(nullptr), S_OK);
  EXPECT_EQ(eventsOf(box->dispatch()).size(), 2u);
  EXPECT_EQ(TextOf(*box), u"");
}

TEST_F(ControlsOnAForm, TheSelectionMembers) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  Bstr text(u"abcdef");
  ASSERT_EQ(box->put_Text(text.get()), S_OK);
  listen(box->dispatch(), skiffwire::DIID_TextBoxEvents);
  LONG start = -1, length = -1;

  // Beyond the end: the caret goes to the end.
  ASSERT_EQ(box->put_SelStart(100), S_OK);
  box->get_SelStart(&start);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(box->put_SelStart(-1), rt::ErrorStatus(380));

  ASSERT_EQ(box->put_SelStart(1), S_OK);
  ASSERT_EQ(box->put_SelLength(3), S_OK);
  box->get_SelLength(&length);
  EXPECT_EQ(length, 3);
  Bstr selected;
  ASSERT_EQ(box->get_SelText(selected.out()), S_OK);
  EXPECT_EQ(selected.view(), u"bcd");

  // An empty SelText deletes the selection; the caret stays at its start.
  Bstr empty(u"");
  ASSERT_EQ(box->put_SelText(empty.get()), S_OK);
  EXPECT_EQ(TextOf(*box), u"aef");
  box->get_SelStart(&start);
  box->get_SelLength(&length);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(eventsOf(box->dispatch()), std::vector<DISPID>{rt::kTextBoxChange});

  Bstr inserted(u"XY");
  ASSERT_EQ(box->put_SelText(inserted.get()), S_OK);
  EXPECT_EQ(TextOf(*box), u"aXYef");
  box->get_SelStart(&start);
  EXPECT_EQ(start, 3);
  // Length 0 collapses the selection at SelStart.
  ASSERT_EQ(box->put_SelLength(0), S_OK);
  box->get_SelLength(&length);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(eventsOf(box->dispatch()).size(), 2u);
}

TEST_F(ControlsOnAForm, PasswordCharUsesOnlyTheFirstCharacter) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  const struct {
    std::u16string mask;
    LRESULT shown;
  } cases[] = {{u"*#x", u'*'}, {u"", 0}, {u"\u2022", 0x2022}};
  for (const auto& c : cases) {
    ASSERT_EQ(PutByName(box->dispatch(), u"PasswordChar", Variant::Str(c.mask)), S_OK);
    EXPECT_EQ(SendMessageW(box->hwnd(), EM_GETPASSWORDCHAR, 0, 0), c.shown);
  }
}

TEST_F(ControlsOnAForm, StyleRulesOfTheTextBox) {
  using rt::TextBox;
  const struct {
    bool multiLine;
    int scrollBars;
    bool autoHScroll;
  } cases[] = {
      {false, 0, true}, {true, 0, false}, {true, 2, false}, {true, 1, true}, {true, 3, true}};
  for (const auto& c : cases) {
    const DWORD style = TextBox::ComputeStyle(c.multiLine, c.scrollBars, true, false, 1, true, 0);
    EXPECT_EQ((style & ES_AUTOHSCROLL) != 0, c.autoHScroll) << c.multiLine << c.scrollBars;
    EXPECT_EQ((style & 0x1044) == 0x1044, c.multiLine);
  }
  EXPECT_EQ(TextBox::ComputeStyle(false, 3, false, true, 1, false, 2) &
                ~static_cast<DWORD>(ES_AUTOHSCROLL),
            DWORD{0x100 | 0x2000 | 0x300000 | 0x800000 | 1});
  EXPECT_EQ(TextBox::ComputeStyle(false, 0, true, false, 1, false, 1) & ES_RIGHT, ES_RIGHT);
}

TEST_F(ControlsOnAForm, MultiLineAtRunTimeKeepsTheTextAndLocked) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 1200);
  load();
  Bstr text(u"first line");
  ASSERT_EQ(box->put_Text(text.get()), S_OK);
  ASSERT_EQ(PutByName(box->dispatch(), u"Locked", Variant::Bool(true)), S_OK);
  ASSERT_EQ(PutByName(box->dispatch(), u"MultiLine", Variant::Bool(true)), S_OK);
  EXPECT_NE(GetWindowLongW(box->hwnd(), GWL_STYLE) & ES_MULTILINE, 0);
  EXPECT_EQ(TextOf(*box), u"first line");
  Variant locked;
  ASSERT_EQ(GetByName(box->dispatch(), u"Locked", locked), S_OK);
  EXPECT_EQ(locked.boolVal, VARIANT_TRUE);
  EXPECT_EQ(GetParent(box->hwnd()), form_->hwnd());
  EXPECT_TRUE(IsWindowVisible(box->hwnd()));
}

TEST_F(ControlsOnAForm, AnUnchangedLabelCaptionRaisesNothing) {
  auto label = place<rt::Label>(*form_, 120, 120, 1200, 255);
  load();
  listen(label->dispatch(), skiffwire::DIID_LabelEvents);
  Bstr caption(u"Port:");
  ASSERT_EQ(label->put_Caption(caption.get()), S_OK);
  settle();
  ASSERT_EQ(label->put_Caption(caption.get()), S_OK);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(form_->hwnd(), &update, FALSE));
  EXPECT_EQ(eventsOf(label->dispatch()), std::vector<DISPID>{rt::kLabelChange});
}

TEST_F(ControlsOnAForm, AnAutoSizedLabelTakesTheSizeOfItsCaption) {
  auto label = place<rt::Label>(*form_, 120, 120, 3000, 1000);
  load();
  auto size = [&] {
    Variant width, height;
    GetByName(label->dispatch(), u"Width", width);
    GetByName(label->dispatch(), u"Height", height);
    return std::pair{width.dblVal, height.dblVal};
  };
  auto caption = [&](const char16_t* text) {
    ASSERT_EQ(PutByName(label->dispatch(), u"Caption", Variant::Str(text)), S_OK);
  };
  caption(u"Port:");
  EXPECT_EQ(size(), (std::pair{3000.0, 1000.0}));  // not auto-sized: kept

  ASSERT_EQ(PutByName(label->dispatch(), u"AutoSize", Variant::Bool(true)), S_OK);
  const auto [shortWidth, lineHeight] = size();
  EXPECT_GT(shortWidth, 0);
  EXPECT_LT(shortWidth, 1500);
  EXPECT_GT(lineHeight, 0);
  EXPECT_LT(lineHeight, 500);
  const std::u16string text = u"Delay between datagrams and the packets of each one";
  caption(text.c_str());
  const auto [longWidth, longHeight] = size();
  EXPECT_GT(longWidth, 3000);  // one line, wider than the label was
  EXPECT_EQ(longHeight, lineHeight);

  // WordWrap keeps the width and grows downwards.
  ASSERT_EQ(PutByName(label->dispatch(), u"Width", Variant::R8(1500)), S_OK);
  ASSERT_EQ(PutByName(label->dispatch(), u"WordWrap", Variant::Bool(true)), S_OK);
  const auto [wrappedWidth, wrappedHeight] = size();
  EXPECT_EQ(wrappedWidth, 1500);
  EXPECT_GE(wrappedHeight, 3 * lineHeight);
  // The painted rectangle follows.
  RECT painted{};
  ASSERT_TRUE(label->windowlessRect(&painted));
  EXPECT_EQ(painted.right - painted.left, 100);
}

TEST_F(ControlsOnAForm, ACheckBoxRefusesNegativeValues) {
  auto box = place<rt::CheckBox>(*form_, 120, 120, 1800, 255);
  load();
  listen(box->dispatch(), skiffwire::DIID_CheckBoxEvents);
  ASSERT_EQ(box->put_Value(1), S_OK);
  ASSERT_EQ(box->put_Value(1), S_OK);
  EXPECT_EQ(box->put_Value(-1), rt::ErrorStatus(380));
  SHORT value = 0;
  box->get_Value(&value);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(SendMessageW(box->hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(eventsOf(box->dispatch()), std::vector<DISPID>{EventClick});
  // A user's click unchecks it and raises Click.
  clickAt(box->hwnd());
  box->get_Value(&value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(eventsOf(box->dispatch(), EventClick).size(), 2u);
}

TEST_F(ControlsOnAForm, ATimerTicksOnlyWhileEnabledWithAnInterval) {
  auto timer = place<rt::Timer>(*form_, 0, 0, 0, 0);
  auto idle = place<rt::Timer>(*form_, 0, 0, 0, 0);
  load();
  listen(timer->dispatch(), skiffwire::DIID_TimerEvents);
  listen(idle->dispatch(), skiffwire::DIID_TimerEvents);
  ASSERT_EQ(idle->put_Interval(0), S_OK);
  ASSERT_EQ(idle->put_Enabled(VARIANT_TRUE), S_OK);
  ASSERT_EQ(timer->put_Interval(100), S_OK);
  ASSERT_EQ(timer->put_Enabled(VARIANT_TRUE), S_OK);
  advance(99);
  EXPECT_TRUE(eventsOf(timer->dispatch()).empty());
  advance(1);
  EXPECT_EQ(eventsOf(timer->dispatch()), std::vector<DISPID>{rt::kTimerEvent});
  // Disabling inside the handler stops further events.
  onEvent_ = [&](IUnknown*, DISPID) { timer->put_Enabled(VARIANT_FALSE); };
  advance(100);
  advance(500);
  EXPECT_EQ(eventsOf(timer->dispatch()).size(), 2u);
  EXPECT_TRUE(eventsOf(idle->dispatch()).empty());
  EXPECT_EQ(timer->put_Interval(-1), rt::ErrorStatus(380));
}

TEST_F(ControlsOnAForm, ShapeWritesRepaintAtOnce) {
  auto shape = place<rt::Shape>(*form_, 150, 150, 600, 600);
  load();
  settle();
  RECT update{};
  ASSERT_FALSE(GetUpdateRect(form_->hwnd(), &update, FALSE));
  const int before = shape->repaints();
  ASSERT_EQ(shape->put_FillColor(0x0000FF00), S_OK);
  EXPECT_EQ(shape->repaints(), before + 1);
  ASSERT_TRUE(GetUpdateRect(form_->hwnd(), &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 10);
  for (const char16_t* name : {u"BorderStyle", u"FillStyle", u"DrawMode", u"Shape"}) {
    ASSERT_EQ(PutByName(shape->dispatch(), name, Variant::I4(0)), S_OK);
  }
  EXPECT_EQ(shape->repaints(), before + 5);
}

TEST_F(ControlsOnAForm, BorderStyleZeroDrawsNoOutline) {
  auto shape = place<rt::Shape>(*form_, 150, 150, 600, 600);
  load();
  settle();
  // The left edge of the rectangle, halfway down.
  auto edge = [&] {
    HDC dc = GetDC(form_->hwnd());
    const COLORREF pixel = GetPixel(dc, 10, 30);
    ReleaseDC(form_->hwnd(), dc);
    return pixel;
  };
  EXPECT_EQ(edge(), GetSysColor(8));
  ASSERT_EQ(PutByName(shape->dispatch(), u"BorderStyle", Variant::I4(0)), S_OK);
  settle();
  EXPECT_EQ(edge(), GetSysColor(15));
}

TEST_F(ControlsOnAForm, ShapeFillStylesAndFigures) {
  // A 40 x 40 pixel shape at (10, 10) of the form, without an outline.
  auto shape = place<rt::Shape>(*form_, 150, 150, 600, 600);
  load();
  ASSERT_EQ(PutByName(shape->dispatch(), u"BorderStyle", Variant::I4(0)), S_OK);
  const COLORREF face = GetSysColor(15);
  const COLORREF green = 0x0000FF00;
  const COLORREF red = 0x000000FF;
  const COLORREF blue = 0x00FF0000;
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const struct {
    const char* what;
    LONG figure;
    LONG fillStyle;
    std::vector<Probe> probes;
  } cases[] = {
      // The default transparent fill keeps a new FillColor invisible.
      {"transparent", 0, 1, {{30, 30, face}}},
      {"solid", 0, 0, {{30, 30, green}, {11, 11, green}}},
      {"oval", 2, 0, {{30, 30, green}, {11, 11, face}}},
      {"triangle", 6, 0, {{30, 46, green}, {12, 12, face}, {47, 12, face}}},
      {"diamond", 7, 0, {{30, 30, green}, {12, 12, face}, {47, 47, face}}},
      {"horizontal gradient", 0, 8, {{10, 30, red}, {49, 30, blue}}},
      {"vertical gradient", 0, 9, {{30, 10, red}, {30, 49, blue}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const bool gradient = c.fillStyle >= 8;
    ASSERT_EQ(PutByName(shape->dispatch(), u"FillColor", Variant::I4(gradient ? red : green)),
              S_OK);
    ASSERT_EQ(PutByName(shape->dispatch(), u"FillColor2", Variant::I4(blue)), S_OK);
    ASSERT_EQ(PutByName(shape->dispatch(), u"Shape", Variant::I4(c.figure)), S_OK);
    ASSERT_EQ(PutByName(shape->dispatch(), u"FillStyle", Variant::I4(c.fillStyle)), S_OK);
    settle();
    EXPECT_EQ(shape->paintStatus(), S_OK);
    HDC dc = GetDC(form_->hwnd());
    for (const Probe& p : c.probes) {
      const COLORREF seen = GetPixel(dc, p.x, p.y);
      if (!gradient) {
        EXPECT_EQ(seen, p.expected) << p.x << "," << p.y;
        continue;
      }
      // A gradient's end columns come close to their colour.
      for (auto channel : {&GetRValue, &GetGValue, &GetBValue}) {
        EXPECT_NEAR(channel(seen), channel(p.expected), 12) << p.x << "," << p.y;
      }
    }
    ReleaseDC(form_->hwnd(), dc);
  }
}

TEST_F(ControlsOnAForm, EditOptionsReachTheEditWindow) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  const LRESULT systemMaximum = SendMessageW(box->hwnd(), EM_GETLIMITTEXT, 0, 0);
  for (auto [written, limit] : {std::pair<LONG, LRESULT>{5, 5}, {0, systemMaximum}}) {
    ASSERT_EQ(PutByName(box->dispatch(), u"MaxLength", Variant::I4(written)), S_OK);
    EXPECT_EQ(SendMessageW(box->hwnd(), EM_GETLIMITTEXT, 0, 0), limit);
  }
  for (bool locked : {true, false}) {
    ASSERT_EQ(PutByName(box->dispatch(), u"Locked", Variant::Bool(locked)), S_OK);
    EXPECT_EQ((GetWindowLongW(box->hwnd(), GWL_STYLE) & ES_READONLY) != 0, locked);
  }
}

TEST_F(ControlsOnAForm, TypingRaisesOneChangePerEdit) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  load();
  listen(box->dispatch(), skiffwire::DIID_TextBoxEvents);
  SetFocus(box->hwnd());
  display_->typeText(u"ab");
  settle();
  EXPECT_EQ(eventsOf(box->dispatch(), rt::kTextBoxChange).size(), 2u);
  EXPECT_EQ(TextOf(*box), u"ab");
  EXPECT_EQ(box->binder()->dataChanged_, VARIANT_TRUE);
}

TEST_F(ControlsOnAForm, DefaultSetsTheDefaultButtonStyleAndCaptionRaisesNothing) {
  auto button = place<rt::CommandButton>(*form_, 150, 300, 1500, 450);
  load();
  listen(button->dispatch(), skiffwire::DIID_CommandButtonEvents);
  ASSERT_EQ(PutByName(button->dispatch(), u"Default", Variant::Bool(true)), S_OK);
  EXPECT_EQ(GetWindowLongW(button->hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(button->isDefaultButton());
  ASSERT_EQ(PutByName(button->dispatch(), u"Default", Variant::Bool(false)), S_OK);
  EXPECT_EQ(GetWindowLongW(button->hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  Bstr caption(u"Go");
  ASSERT_EQ(button->put_Caption(caption.get()), S_OK);
  ASSERT_EQ(button->put_Caption(caption.get()), S_OK);
  EXPECT_TRUE(eventsOf(button->dispatch()).empty());
  // Pressed by the form as its default button.
  button->pressDefault();
  EXPECT_EQ(eventsOf(button->dispatch()), std::vector<DISPID>{EventClick});
}

TEST_F(ControlsOnAForm, ATimerWaitsForItsFormAndRestartsItsPeriod) {
  auto timer = place<rt::Timer>(*form_, 0, 0, 0, 0);
  listen(timer->dispatch(), skiffwire::DIID_TimerEvents);
  // Set before the form is loaded: the values wait for the load.
  ASSERT_EQ(timer->put_Interval(100), S_OK);
  ASSERT_EQ(timer->put_Enabled(VARIANT_TRUE), S_OK);
  advance(300);
  EXPECT_TRUE(eventsOf(timer->dispatch()).empty());
  load();
  advance(100);
  EXPECT_EQ(eventsOf(timer->dispatch()).size(), 1u);
  // A new interval while running restarts the period.
  advance(60);
  ASSERT_EQ(timer->put_Interval(100), S_OK);
  advance(60);
  EXPECT_EQ(eventsOf(timer->dispatch()).size(), 1u);
  advance(40);
  EXPECT_EQ(eventsOf(timer->dispatch()).size(), 2u);
  Variant enabled;
  ASSERT_EQ(GetByName(timer->dispatch(), u"Enabled", enabled), S_OK);
  EXPECT_EQ(enabled.boolVal, VARIANT_TRUE);
}

TEST_F(ControlsOnAForm, AFrameContainsItsControls) {
  auto frame = place<rt::Frame>(*form_, 150, 150, 3000, 2000);
  ASSERT_EQ(PutByName(frame->dispatch(), u"ClipControls", Variant::Bool(false)), S_OK);
  auto inner = place<rt::CommandButton>(*form_, 150, 300, 1200, 375, frame.Get());
  load();
  EXPECT_EQ(GetParent(inner->hwnd()), frame->hwnd());
  EXPECT_EQ(GetWindowLongW(frame->hwnd(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
  EXPECT_EQ(GetWindowLongW(frame->hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  Variant container;
  ASSERT_EQ(GetByName(inner->dispatch(), u"Container", container), S_OK);
  EXPECT_EQ(container.pdispVal, frame->dispatch());
}

}  // namespace
}  // namespace controls_test
