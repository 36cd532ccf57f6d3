// The TextBox: an edit window ("BrammelTextBox") whose text, selection and
// edit options are properties of the control. Change (event 1) follows
// every change of the text: once per Text or SelText let that changes it,
// and once per EN_CHANGE the user's editing makes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/members/ITextBox.h"
#include "runtime/controls/BaseControlFocusable.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/DataFieldBinderBase.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4EE0-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_TextBox{
    0x33AD4EE0, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

inline constexpr DISPID kTextBoxChange = 1;

struct TextBoxDesign {
  CommonDesign common;
  Bstr text;
  int32_t backColor = static_cast<int32_t>(colour::WindowBackground);
  int32_t foreColor = static_cast<int32_t>(colour::WindowText);
  VARIANT_BOOL multiLine = VARIANT_FALSE;
  VARIANT_BOOL hideSelection = VARIANT_TRUE;
  VARIANT_BOOL locked = VARIANT_FALSE;
  VARIANT_BOOL numbersOnly = VARIANT_FALSE;
  int32_t scrollBars = 0;
  int32_t borderStyle = 1;
  int32_t maxLength = 0;
  int32_t alignment = 0;
  int32_t appearance = 1;
  Bstr passwordChar;
  Bstr cueBanner;
  double opacity = 100.0;
  int32_t transparencyKey = -1;
};
extern const PropertyLayout kTextBoxLayout;

class TextBox final : public ControlObject<TextBox, skiffwire::ITextBox> {
 public:
  TextBox();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return focusable_ ? focusable_->rect() : nullptr; }
  BaseControlFocusable* focusable() { return focusable_.get(); }
  DataFieldBinderBase* binder() { return binder_.get(); }

  // The window style of the edit options (also used when one changes).
  static DWORD ComputeStyle(bool multiLine, int scrollBars, bool hideSelection, bool numbersOnly,
                            int borderStyle, bool threeD, int alignment);

  // --- ITextBox
  HRESULT get_Text(BSTR* text) override;
  HRESULT put_Text(BSTR text) override;
  HRESULT put_SelStart(LONG start) override;
  HRESULT put_Enabled(VARIANT_BOOL enabled) override;
  HRESULT get_SelStart(LONG* start) override;
  HRESULT get_SelLength(LONG* length) override;
  HRESULT put_SelLength(LONG length) override;
  HRESULT get_SelText(BSTR* text) override;
  HRESULT put_SelText(BSTR text) override;

  HRESULT getLocked(VARIANT_BOOL* locked);
  HRESULT putLocked(VARIANT_BOOL locked);

  // --- Applies
  HRESULT applyStyle();
  HRESULT applyMaxLength();
  HRESULT applyPasswordChar();
  HRESULT applyCueBanner();
  HRESULT applyLayered();
  HRESULT refresh();

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  bool tabIndex(int32_t* index) override;

  // --- WindowEventSink
  bool command(WORD notifyCode) override;
  // Hands held appends to the window before it handles anything.
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  // Own fields, in declaration order.
  int32_t backColor_ = static_cast<int32_t>(colour::WindowBackground);
  int32_t foreColor_ = static_cast<int32_t>(colour::WindowText);
  VARIANT_BOOL multiLine_ = VARIANT_FALSE;
  VARIANT_BOOL hideSelection_ = VARIANT_TRUE;
  LONG scrollBars_ = 0;
  LONG borderStyle_ = 1;
  LONG maxLength_ = 0;
  Bstr passwordChar_;
  LONG alignment_ = 0;
  VARIANT_BOOL unnamedFlag1_ = VARIANT_TRUE;
  VARIANT_BOOL numbersOnly_ = VARIANT_FALSE;
  VARIANT_BOOL unnamedFlag2_ = VARIANT_TRUE;
  Bstr cueBanner_;
  VARIANT_BOOL cueBannerWhenFocused_ = VARIANT_FALSE;
  double opacity_ = 100.0;
  int32_t transparencyKey_ = colour::None;
  LONG unnamedValue_ = 50;
  LONG appearance_ = 1;  // 1: 3-D

 private:
  friend class ComObject<TextBox, skiffwire::ITextBox, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~TextBox() override = default;

  HRESULT selection(DWORD* start, DWORD* end);
  HRESULT setSelection(LONG start, LONG end);
  HRESULT rebuildWindow();

  std::unique_ptr<BaseControlFocusable> focusable_;
  std::unique_ptr<DataFieldBinderBase> binder_;
  Bstr designText_;
  VARIANT_BOOL lockedAtCreation_ = VARIANT_FALSE;
  int32_t tabIndex_ = 0;
  // Inside Text or SelText let: the edit window's own EN_CHANGE is not a
  // second Change.
  bool settingText_ = false;

  // Text a multi-line box's SelText appended at the end of the window's text
  // while nothing else reached the window: the window gets it in one
  // EM_REPLACESEL before it handles its next message (any message, the
  // WM_NULL posted with the first held append included). Until then nothing
  // can see the difference: every look at the text, the selection or the
  // screen is a message to the window. Change is raised once per SelText as
  // before; a log that grows by thousands of lines in one handler is laid
  // out and scrolled once.
  struct HeldAppends {
    std::u16string text;
    bool caretAtEnd = false;      // the window's caret is at the end of its text
    size_t length = 0;            // the window's text length, held text included
    size_t limit = 0;             // the window's limit (EM_GETLIMITTEXT)
    HWND wakePostedTo = nullptr;  // the window a WM_NULL waits for
  };
  bool holdAppend(std::u16string_view text);
  HRESULT startHoldingAppends(DWORD caret);
  void releaseHeldAppends();
  HeldAppends heldAppends_;
};

}  // namespace rt
