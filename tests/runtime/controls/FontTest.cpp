// The Font object of the controls: a view on the control's font description
// whose writes rebuild the window font at once.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/TextBox.h"
#include "runtime/core/Status.h"

namespace controls_test {
namespace {

ComPtr<IDispatch> FontOf(IDispatch* control) {
  Variant font;
  EXPECT_EQ(GetByName(control, u"Font", font), S_OK);
  EXPECT_EQ(font.vt, VT_DISPATCH);
  return ComPtr<IDispatch>(font.vt == VT_DISPATCH ? font.pdispVal : nullptr);
}

LOGFONTW WindowFont(HWND hwnd) {
  LOGFONTW description{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (font) GetObjectW(font, sizeof description, &description);
  return description;
}

class Fonts : public ControlsTest {
 protected:
  ComPtr<rt::Form> form_ = makeForm();
};

TEST_F(Fonts, AChangeThroughTheFontObjectRebuildsTheWindowFont) {
  auto box = place<rt::TextBox>(*form_, 120, 120, 2400, 375);
  auto button = place<rt::CommandButton>(*form_, 120, 600, 1500, 450);
  auto check = place<rt::CheckBox>(*form_, 120, 1200, 1500, 300);
  auto frame = place<rt::Frame>(*form_, 3000, 120, 2000, 1500);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  const struct {
    IDispatch* control;
    HWND hwnd;
  } cases[] = {{box->dispatch(), box->hwnd()},
               {button->dispatch(), button->hwnd()},
               {check->dispatch(), check->hwnd()},
               {frame->dispatch(), frame->hwnd()}};
  for (const auto& c : cases) {
    ComPtr<IDispatch> font = FontOf(c.control);
    ASSERT_TRUE(font);
    // One object per control.
    EXPECT_EQ(FontOf(c.control).Get(), font.Get());
    ASSERT_EQ(PutByName(font.Get(), u"Size", Variant::R8(12)), S_OK);
    ASSERT_EQ(PutByName(font.Get(), u"Bold", Variant::Bool(true)), S_OK);
    ASSERT_EQ(PutByName(font.Get(), u"Name", Variant::Str(u"DejaVu Serif")), S_OK);
    ASSERT_EQ(PutByName(font.Get(), u"Underline", Variant::Bool(true)), S_OK);
    ASSERT_EQ(PutByName(c.control, u"FontStrikethru", Variant::Bool(true)), S_OK);
    const LOGFONTW made = WindowFont(c.hwnd);
    EXPECT_EQ(made.lfUnderline, 1);
    EXPECT_EQ(made.lfStrikeOut, 1);
    EXPECT_EQ(made.lfHeight, -16);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string_view(made.lfFaceName), u"DejaVu Serif");
    // The same description as the control's Font* members.
    Variant size;
    ASSERT_EQ(GetByName(c.control, u"FontSize", size), S_OK);
    EXPECT_EQ(size.dblVal, 12.0);
    ASSERT_EQ(PutByName(c.control, u"FontItalic", Variant::Bool(true)), S_OK);
    Variant italic;
    ASSERT_EQ(GetByName(font.Get(), u"Italic", italic), S_OK);
    EXPECT_EQ(italic.boolVal, VARIANT_TRUE);
    EXPECT_EQ(PutByName(font.Get(), u"Size", Variant::R8(0)), rt::ErrorStatus(380));
  }
}

TEST_F(Fonts, SetFontTakesTheOtherFontsDescription) {
  auto label = place<rt::Label>(*form_, 120, 120, 1200, 255);
  auto box = place<rt::TextBox>(*form_, 120, 600, 2400, 375);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  ComPtr<IDispatch> labelFont = FontOf(label->dispatch());
  ASSERT_EQ(PutByName(labelFont.Get(), u"Size", Variant::R8(15)), S_OK);
  ASSERT_EQ(PutByName(labelFont.Get(), u"Italic", Variant::Bool(true)), S_OK);
  ComPtr<IDispatch> boxFont = FontOf(box->dispatch());

  Variant value;
  value.vt = VT_DISPATCH;
  value.pdispVal = labelFont.Get();
  labelFont->AddRef();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  ASSERT_EQ(box->dispatch()->Invoke(IdOf(box->dispatch(), u"Font"), IID_NULL, 0,
                                    DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr, nullptr),
            S_OK);
  const LOGFONTW made = WindowFont(box->hwnd());
  EXPECT_EQ(made.lfHeight, -20);
  EXPECT_EQ(made.lfItalic, 1);
  // The text box keeps its own Font object, now with the label's values.
  EXPECT_EQ(FontOf(box->dispatch()).Get(), boxFont.Get());
  Variant size;
  ASSERT_EQ(GetByName(boxFont.Get(), u"Size", size), S_OK);
  EXPECT_EQ(size.dblVal, 15.0);

  Variant nothing;
  nothing.vt = VT_DISPATCH;
  nothing.pdispVal = nullptr;
  DISPPARAMS none{&nothing, &named, 1, 1};
  EXPECT_EQ(box->dispatch()->Invoke(IdOf(box->dispatch(), u"Font"), IID_NULL, 0,
                                    DISPATCH_PROPERTYPUTREF, &none, nullptr, nullptr, nullptr),
            rt::ErrorStatus(91));
}

TEST_F(Fonts, ABolderFontReFitsAnAutoSizedLabel) {
  auto label = place<rt::Label>(*form_, 120, 120, 600, 255);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  ASSERT_EQ(PutByName(label->dispatch(), u"Caption", Variant::Str(u"Connection state")), S_OK);
  ASSERT_EQ(PutByName(label->dispatch(), u"AutoSize", Variant::Bool(true)), S_OK);
  Variant before, after;
  ASSERT_EQ(GetByName(label->dispatch(), u"Width", before), S_OK);
  ASSERT_EQ(PutByName(FontOf(label->dispatch()).Get(), u"Size", Variant::R8(16)), S_OK);
  ASSERT_EQ(GetByName(label->dispatch(), u"Width", after), S_OK);
  EXPECT_GT(after.dblVal, before.dblVal * 1.5);
}

TEST(FontObject, OutlivesItsControlWithTheLastDescription) {
  ComPtr<IDispatch> font;
  {
    rt::BaseFont description;
    description.size_ = 10;
    ASSERT_EQ(description.getFont(&font), S_OK);
  }
  Variant size;
  ASSERT_EQ(GetByName(font.Get(), u"Size", size), S_OK);
  EXPECT_EQ(size.dblVal, 10.0);
  ASSERT_EQ(PutByName(font.Get(), u"Size", Variant::R8(14)), S_OK);
  ASSERT_EQ(GetByName(font.Get(), u"Size", size), S_OK);
  EXPECT_EQ(size.dblVal, 14.0);
}

}  // namespace
}  // namespace controls_test
