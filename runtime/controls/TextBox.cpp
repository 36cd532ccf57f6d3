#include "runtime/controls/TextBox.h"

#include <utility>

#include <limits>
#include <string>

#include "platform/controls.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/controls/LayeredAttributes.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kTextBoxFields[] = {
    RT_COMMON_DESIGN_FIELDS(TextBoxDesign),
    {"Text", PropertyKind::String, offsetof(TextBoxDesign, text)},
    {"BackColor", PropertyKind::Long, offsetof(TextBoxDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(TextBoxDesign, foreColor)},
    {"MultiLine", PropertyKind::Boolean, offsetof(TextBoxDesign, multiLine)},
    {"HideSelection", PropertyKind::Boolean, offsetof(TextBoxDesign, hideSelection)},
    {"Locked", PropertyKind::Boolean, offsetof(TextBoxDesign, locked)},
    {"NumbersOnly", PropertyKind::Boolean, offsetof(TextBoxDesign, numbersOnly)},
    {"ScrollBars", PropertyKind::Long, offsetof(TextBoxDesign, scrollBars)},
    {"BorderStyle", PropertyKind::Long, offsetof(TextBoxDesign, borderStyle)},
    {"MaxLength", PropertyKind::Long, offsetof(TextBoxDesign, maxLength)},
    {"Alignment", PropertyKind::Long, offsetof(TextBoxDesign, alignment)},
    {"Appearance", PropertyKind::Long, offsetof(TextBoxDesign, appearance)},
    {"PasswordChar", PropertyKind::String, offsetof(TextBoxDesign, passwordChar)},
    {"CueBanner", PropertyKind::String, offsetof(TextBoxDesign, cueBanner)},
    {"Opacity", PropertyKind::Double, offsetof(TextBoxDesign, opacity)},
    {"TransparencyKey", PropertyKind::Long, offsetof(TextBoxDesign, transparencyKey)},
};

HRESULT Raise(int number) {
  return SetErrorFromStatus(ErrorStatus(number));
}

std::u16string_view ViewOf(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

}  // namespace

const PropertyLayout kTextBoxLayout{"TextBox", CLSID_TextBox, sizeof(TextBoxDesign), kTextBoxFields,
                                    skiffwire::DIID_TextBoxEvents};

TextBox::TextBox()
    : ControlObject(skiffwire::DIID_TextBoxEvents),
      focusable_(std::make_unique<BaseControlFocusable>(dispatch())),
      binder_(std::make_unique<DataFieldBinderBase>()) {}

const ClassDescriptor& TextBox::descriptor() const {
  static const ClassDescriptor cls{u"TextBox", &InitialiseRuntimeClass, nullptr, CLSID_TextBox};
  return cls;
}

const MemberTable& TextBox::Members() {
  using T = TextBox;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::refresh);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::refresh);
    t.field<VT_BOOL>(u"MultiLine", dispid::MultiLine, &T::multiLine_, &T::applyStyle);
    t.field<VT_BOOL>(u"HideSelection", dispid::HideSelection, &T::hideSelection_, &T::applyStyle);
    t.field<VT_I4>(u"ScrollBars", dispid::ScrollBars, &T::scrollBars_, &T::applyStyle);
    t.field<VT_I4>(u"BorderStyle", dispid::BorderStyle, &T::borderStyle_);
    t.field<VT_I4>(u"MaxLength", dispid::MaxLength, &T::maxLength_, &T::applyMaxLength);
    t.textField(u"PasswordChar", dispid::PasswordChar, &T::passwordChar_, &T::applyPasswordChar);
    t.field<VT_I4>(u"Alignment", dispid::Alignment, &T::alignment_);
    t.field<VT_BOOL>(u"NumbersOnly", dispid::NumbersOnly, &T::numbersOnly_);
    t.textField(u"CueBanner", dispid::CueBanner, &T::cueBanner_, &T::applyCueBanner);
    t.field<VT_BOOL>(u"CueBannerWhenFocused", dispid::CueBannerWhenFocused,
                     &T::cueBannerWhenFocused_, &T::applyCueBanner);
    t.field<VT_R8>(u"Opacity", dispid::Opacity, &T::opacity_, &T::applyLayered);
    t.field<VT_COLOUR>(u"TransparencyKey", dispid::TransparencyKey, &T::transparencyKey_,
                       &T::applyLayered);
    t.field<VT_I4>(u"Appearance", dispid::Appearance, &T::appearance_);
    t.property<VT_I4>(u"SelStart", dispid::SelStart, &T::get_SelStart, &T::put_SelStart);
    t.property<VT_I4>(u"SelLength", dispid::SelLength, &T::get_SelLength, &T::put_SelLength);
    t.text(u"SelText", dispid::SelText, &T::get_SelText, &T::put_SelText);
    t.text(u"Text", dispid::Text, &T::get_Text, &T::put_Text);
    t.text(u"_Default", dispid::Default, &T::get_Text, &T::put_Text, /*hidden=*/true);
    t.property<VT_BOOL>(u"Locked", dispid::Locked, &T::getLocked, &T::putLocked);
    t.forward(BaseControlFocusable::Members(), &T::focusable);
    t.forward(DataFieldBinderBase::Members(), &T::binder);
    return t;
  }();
  return table;
}

DWORD TextBox::ComputeStyle(bool multiLine, int scrollBars, bool hideSelection, bool numbersOnly,
                            int borderStyle, bool threeD, int alignment) {
  DWORD style = 0;
  const bool wraps = multiLine && (scrollBars == 0 || scrollBars == 2);
  if (!wraps) style |= ES_AUTOHSCROLL;
  if (multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!hideSelection) style |= ES_NOHIDESEL;
  if (numbersOnly) style |= ES_NUMBER;
  if (scrollBars == 1) style |= WS_HSCROLL;
  if (scrollBars == 2) style |= WS_VSCROLL;
  if (scrollBars == 3) style |= WS_HSCROLL | WS_VSCROLL;
  if (borderStyle == 1 && !threeD) style |= WS_BORDER;
  if (alignment == 1) style |= ES_RIGHT;
  if (alignment == 2) style |= ES_CENTER;
  return style;
}

// ---- Text and selection

HRESULT TextBox::get_Text(BSTR* text) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->windowText(text);
}

HRESULT TextBox::put_Text(BSTR text) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  Bstr current;
  HRESULT status = rect()->windowText(current.out());
  if (FAILED(status)) return status;
  Bstr wanted(ViewOf(text));
  if (VarBstrCmp(current.get(), wanted.get(), 0, 0x30001) == VARCMP_EQ) return S_OK;
  if (!hwnd()) {
    rect()->setWindowText(wanted.get());
  } else {
    settingText_ = true;
    // Never a null pointer: an empty text is an empty string.
    const std::u16string copy(wanted.view());
    status = rect()->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    settingText_ = false;
    if (FAILED(status)) return status;
    // The edit window invalidated itself; it paints when the loop next
    // finds no message waiting, so a run of Text lets paints once.
  }
  return raise(kTextBoxChange);
}

HRESULT TextBox::selection(DWORD* start, DWORD* end) {
  *start = *end = 0;
  return rect()->sendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(start),
                             reinterpret_cast<LPARAM>(end));
}

HRESULT TextBox::setSelection(LONG start, LONG end) {
  HRESULT status = rect()->sendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
  if (FAILED(status)) return status;
  return rect()->sendMessage(EM_SCROLLCARET, 0, 0);
}

HRESULT TextBox::get_SelStart(LONG* start) {
  if (!start) return E_POINTER;
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  DWORD s = 0, e = 0;
  const HRESULT status = selection(&s, &e);
  *start = static_cast<LONG>(s);
  return status;
}

HRESULT TextBox::put_SelStart(LONG start) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (start < 0) return Raise(err::InvalidPropertyValue);
  return setSelection(start, start);
}

HRESULT TextBox::get_SelLength(LONG* length) {
  if (!length) return E_POINTER;
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  DWORD s = 0, e = 0;
  const HRESULT status = selection(&s, &e);
  *length = static_cast<LONG>(e - s);
  return status;
}

HRESULT TextBox::put_SelLength(LONG length) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (length < 0) return Raise(err::InvalidPropertyValue);
  LONG start = 0;
  const HRESULT status = get_SelStart(&start);
  if (FAILED(status)) return status;
  if (start > std::numeric_limits<LONG>::max() - length) return Raise(err::Overflow);
  return setSelection(start, start + length);
}

HRESULT TextBox::get_SelText(BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  DWORD s = 0, e = 0;
  HRESULT status = selection(&s, &e);
  if (FAILED(status)) return status;
  Bstr whole;
  status = rect()->windowText(whole.out());
  if (FAILED(status)) return status;
  const std::u16string_view view = whole.view();
  const size_t from = std::min<size_t>(s, view.size());
  const size_t to = std::min<size_t>(std::max(s, e), view.size());
  *text = Bstr(view.substr(from, to - from)).release();
  return S_OK;
}

// The selection is replaced in place (EM_REPLACESEL) instead of rewriting the
// whole text: the same text and caret, one Change, and no cost in the length
// of the rest of the text. Text appended at the end of a multi-line box is
// held while nothing else reaches the window (see heldAppends_).
HRESULT TextBox::put_SelText(BSTR text) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  const std::u16string_view inserted = ViewOf(text);
  if (holdAppend(inserted)) {
    binder_->markChanged();
    return raise(kTextBoxChange);
  }
  DWORD s = 0, e = 0;
  HRESULT status = selection(&s, &e);
  if (FAILED(status)) return status;
  const LPCWSTR terminated = text ? text : u"";  // a BSTR ends with a null
  if (s == e && inserted.empty()) return setSelection(static_cast<LONG>(s), static_cast<LONG>(s));
  settingText_ = true;
  status = rect()->sendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(terminated));
  settingText_ = false;
  if (FAILED(status)) return status;
  const LONG caret = static_cast<LONG>(s + inserted.size());
  // The edit window leaves the caret after what it inserted, in view; it is
  // set only when the window took less than it was given.
  DWORD after = 0, afterEnd = 0;
  status = selection(&after, &afterEnd);
  if (FAILED(status)) return status;
  if (after != afterEnd || static_cast<LONG>(after) != caret) {
    status = setSelection(caret, caret);
    if (FAILED(status)) return status;
  }
  if (multiLine_) status = startHoldingAppends(after);
  if (FAILED(status)) return status;
  binder_->markChanged();
  return raise(kTextBoxChange);
}

// The caret is at `caret`: when that is the end of the text, the next
// appends may be held. Whatever else reaches the window ends that.
HRESULT TextBox::startHoldingAppends(DWORD caret) {
  LRESULT length = 0, limit = 0;
  HRESULT status = rect()->sendMessage(WM_GETTEXTLENGTH, 0, 0, &length);
  if (SUCCEEDED(status)) status = rect()->sendMessage(EM_GETLIMITTEXT, 0, 0, &limit);
  if (FAILED(status)) return status;
  if (static_cast<LRESULT>(caret) != length) return S_OK;
  heldAppends_.caretAtEnd = true;
  heldAppends_.length = static_cast<size_t>(length);
  heldAppends_.limit = static_cast<size_t>(limit);
  return S_OK;
}

bool TextBox::holdAppend(std::u16string_view text) {
  HeldAppends& held = heldAppends_;
  if (!held.caretAtEnd || !hwnd() || text.empty()) return false;
  if (text.find(u'\0') != std::u16string_view::npos) return false;  // the window stops there
  if (held.length + text.size() > held.limit) return false;         // the window would cut it
  // A window rebuilt since the last wake lost it with its queue entries.
  if (held.wakePostedTo != hwnd()) {
    if (!PostMessageW(hwnd(), WM_NULL, 0, 0)) return false;  // nothing would wake the window
    held.wakePostedTo = hwnd();
  }
  held.text.append(text);
  held.length += text.size();
  return true;
}

void TextBox::releaseHeldAppends() {
  heldAppends_.caretAtEnd = false;
  if (heldAppends_.text.empty()) return;
  const std::u16string text = std::exchange(heldAppends_.text, {});
  const bool setting = std::exchange(settingText_, true);
  rect()->sendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  settingText_ = setting;
}

bool TextBox::onMessage(UINT msg, WPARAM, LPARAM, LRESULT*) {
  if (msg == WM_NULL) heldAppends_.wakePostedTo = nullptr;
  releaseHeldAppends();
  return false;
}

HRESULT TextBox::put_Enabled(VARIANT_BOOL enabled) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->putEnabled(enabled);
}

HRESULT TextBox::getLocked(VARIANT_BOOL* locked) {
  if (!locked) return E_POINTER;
  if (!hwnd()) {
    *locked = lockedAtCreation_;
    return S_OK;
  }
  *locked = (rect()->style(GWL_STYLE) & ES_READONLY) ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT TextBox::putLocked(VARIANT_BOOL locked) {
  lockedAtCreation_ = locked ? VARIANT_TRUE : VARIANT_FALSE;
  if (!hwnd()) return S_OK;
  return rect()->sendMessage(EM_SETREADONLY, locked ? 1 : 0, 0);
}

// ---- Applies

HRESULT TextBox::refresh() {
  return rect()->Refresh();
}

HRESULT TextBox::applyMaxLength() {
  if (!hwnd()) return S_OK;
  return rect()->sendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

HRESULT TextBox::applyPasswordChar() {
  if (!hwnd()) return S_OK;
  const WPARAM mask = passwordChar_.empty() ? 0 : passwordChar_.view()[0];
  return rect()->sendMessage(EM_SETPASSWORDCHAR, mask, 0);
}

HRESULT TextBox::applyCueBanner() {
  if (!hwnd()) return S_OK;
  const std::u16string hint(cueBanner_.view());
  return rect()->sendMessage(EM_SETCUEBANNER, cueBannerWhenFocused_ ? 1 : 0,
                             reinterpret_cast<LPARAM>(hint.c_str()));
}

HRESULT TextBox::applyLayered() {
  return ApplyLayeredAttributes(hwnd(), opacity_, transparencyKey_);
}

// A change of MultiLine, HideSelection or ScrollBars rebuilds the window in
// the new style, keeping the text and the read-only state.
HRESULT TextBox::applyStyle() {
  if (!hwnd()) return S_OK;
  VARIANT_BOOL locked = VARIANT_FALSE;
  getLocked(&locked);
  Bstr text;
  HRESULT status = rect()->windowText(text.out());
  if (FAILED(status)) return status;
  status = rebuildWindow();
  if (FAILED(status)) return status;
  putLocked(locked);
  return put_Text(text.get());
}

HRESULT TextBox::rebuildWindow() {
  ControlRecord* own = record();
  HWND old = hwnd();
  if (!own || !old) return S_OK;
  HWND parent = GetParent(old);
  const bool visible = IsWindowVisible(old);
  const bool enabled = IsWindowEnabled(old);
  HRESULT status = fillWindowRecord(own->window);
  if (FAILED(status)) return status;
  if (!visible) own->window.style &= ~WS_VISIBLE;
  if (!enabled) own->window.style |= WS_DISABLED;
  DestroyWindow(old);
  own->window.hwnd = nullptr;
  status = CreateWindowForRecord(own->window, nullptr, parent);
  if (FAILED(status)) return status;
  afterCreate(own->window.hwnd);
  return S_OK;
}

// ---- Engine hooks

HRESULT TextBox::fillWindowRecord(WindowRecord& window) {
  settingText_ = false;
  if (opacity_ > 100) opacity_ = 100;
  if (opacity_ < 0) opacity_ = 0;
  const bool threeD = appearance_ == 1;
  window.className = u"BrammelTextBox";
  // A text written before the window exists is already in the record.
  if (window.text.empty()) window.text = designText_.view();
  window.style = WS_CHILD | WS_TABSTOP |
                 ComputeStyle(multiLine_ != 0, scrollBars_, hideSelection_ != 0, numbersOnly_ != 0,
                              borderStyle_, threeD, alignment_);
  if (rect()->windowlessVisible()) window.style |= WS_VISIBLE;
  if (!rect()->windowlessEnabled()) window.style |= WS_DISABLED;
  window.exStyle = (borderStyle_ == 1 && threeD) ? WS_EX_CLIENTEDGE : 0;
  if (multiLine_)
    window.flags |= wflag::SwallowTabAndEnter;
  else
    window.flags &= ~wflag::SwallowTabAndEnter;
  UseSharedMouseEvents(window);
  AddEventSink(window, this);
  return S_OK;
}

HRESULT TextBox::readDesign(PropertyReader& reader) {
  TextBoxDesign design;
  const HRESULT status = reader.readInto(&design, kTextBoxLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  tabIndex_ = design.common.tabIndex;
  designText_ = design.text;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  multiLine_ = design.multiLine;
  hideSelection_ = design.hideSelection;
  lockedAtCreation_ = design.locked;
  numbersOnly_ = design.numbersOnly;
  scrollBars_ = design.scrollBars;
  borderStyle_ = design.borderStyle;
  maxLength_ = design.maxLength;
  alignment_ = design.alignment;
  appearance_ = design.appearance;
  passwordChar_ = design.passwordChar;
  cueBanner_ = design.cueBanner;
  opacity_ = design.opacity;
  transparencyKey_ = design.transparencyKey;
  return S_OK;
}

void TextBox::afterCreate(HWND) {
  if (!hwnd()) return;
  focusable_->font()->applyFont();
  applyMaxLength();
  applyPasswordChar();
  putLocked(lockedAtCreation_);
  applyCueBanner();
  applyLayered();
}

bool TextBox::tabIndex(int32_t* index) {
  *index = tabIndex_;
  return true;
}

bool TextBox::command(WORD notifyCode) {
  if (notifyCode != EN_CHANGE || settingText_) return false;
  binder_->markChanged();
  raise(kTextBoxChange);
  return true;
}

}  // namespace rt
