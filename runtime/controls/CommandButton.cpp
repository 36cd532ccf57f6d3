#include "runtime/controls/CommandButton.h"

#include <string>

#include "platform/controls.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

constexpr PropertyField kCommandButtonFields[] = {
    RT_COMMON_DESIGN_FIELDS(CommandButtonDesign),
    {"Caption", PropertyKind::String, offsetof(CommandButtonDesign, caption)},
    {"BackColor", PropertyKind::Long, offsetof(CommandButtonDesign, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(CommandButtonDesign, foreColor)},
    {"Cancel", PropertyKind::Boolean, offsetof(CommandButtonDesign, cancel)},
    {"Default", PropertyKind::Boolean, offsetof(CommandButtonDesign, isDefault)},
    {"Style", PropertyKind::Long, offsetof(CommandButtonDesign, style)},
};

}  // namespace

const PropertyLayout kCommandButtonLayout{"CommandButton", CLSID_CommandButton,
                                          sizeof(CommandButtonDesign), kCommandButtonFields,
                                          skiffwire::DIID_CommandButtonEvents};

CommandButton::CommandButton()
    : ControlObject(skiffwire::DIID_CommandButtonEvents),
      focusable_(std::make_unique<BaseControlFocusable>(dispatch())),
      button_(std::make_unique<ButtonBase>()) {}

const ClassDescriptor& CommandButton::descriptor() const {
  static const ClassDescriptor cls{u"CommandButton", &InitialiseRuntimeClass, nullptr,
                                   CLSID_CommandButton};
  return cls;
}

const MemberTable& CommandButton::Members() {
  using T = CommandButton;
  static const MemberTable table = [] {
    MemberTable t;
    t.field<VT_BOOL>(u"Cancel", dispid::Cancel, &T::cancel_);
    t.field<VT_BOOL>(u"Default", dispid::DefaultButton, &T::default_, &T::applyDefault);
    t.property<VT_BOOL>(u"Value", dispid::Value, &T::getValue, &T::putValue);
    t.field<VT_COLOUR>(u"BackColor", dispid::BackColor, &T::backColor_, &T::refresh);
    t.field<VT_COLOUR>(u"ForeColor", dispid::ForeColor, &T::foreColor_, &T::refresh);
    t.text(u"Caption", dispid::Caption, &T::get_Caption, &T::put_Caption);
    t.forward(BaseControlFocusable::Members(), &T::focusable);
    t.forward(ButtonBase::Members(), &T::button);
    return t;
  }();
  return table;
}

HRESULT CommandButton::get_Caption(BSTR* caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->windowText(caption);
}

// WM_SETTEXT every time: the caption is not compared, and no event follows.
HRESULT CommandButton::put_Caption(BSTR caption) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  if (!hwnd()) return rect()->setWindowText(caption);
  const std::u16string text(caption ? caption : u"", SysStringLen(caption));
  return rect()->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HRESULT CommandButton::put_Enabled(VARIANT_BOOL enabled) {
  const HRESULT ready = enter();
  if (FAILED(ready)) return ready;
  return rect()->putEnabled(enabled);
}

HRESULT CommandButton::getValue(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = value_;
  return S_OK;
}

// True clicks the button, also when it is disabled; the value reads back
// False once the click has been delivered.
HRESULT CommandButton::putValue(VARIANT_BOOL value) {
  value_ = value ? VARIANT_TRUE : VARIANT_FALSE;
  if (!value_) return S_OK;
  const HRESULT status = raise(EventClick);
  value_ = VARIANT_FALSE;
  return status;
}

HRESULT CommandButton::applyDefault() {
  if (button_->style_ == 1) return S_OK;  // owner drawn: no push-button style bits
  return rect()->changeStyle(GWL_STYLE, BS_DEFPUSHBUTTON, default_ ? BS_DEFPUSHBUTTON : 0);
}

HRESULT CommandButton::refresh() {
  return rect()->Refresh();
}

HRESULT CommandButton::fillWindowRecord(WindowRecord& window) {
  window.className = u"BrammelCommandButton";
  // A caption written before the window exists is already in the record.
  if (window.text.empty()) window.text = designCaption_.view();
  window.style = WS_CHILD | WS_TABSTOP | (button_->style_ == 1 ? BS_OWNERDRAW : BS_MULTILINE);
  if (default_ && button_->style_ != 1) window.style |= BS_DEFPUSHBUTTON;
  if (rect()->windowlessVisible()) window.style |= WS_VISIBLE;
  if (!rect()->windowlessEnabled()) window.style |= WS_DISABLED;
  window.exStyle = 0;
  UseSharedMouseEvents(window);
  AddEventSink(window, this);
  return S_OK;
}

HRESULT CommandButton::readDesign(PropertyReader& reader) {
  CommandButtonDesign design;
  const HRESULT status = reader.readInto(&design, kCommandButtonLayout);
  if (FAILED(status)) return status;
  ApplyCommonDesign(design.common, record(), rect());
  tabIndex_ = design.common.tabIndex;
  designCaption_ = design.caption;
  backColor_ = design.backColor;
  foreColor_ = design.foreColor;
  cancel_ = design.cancel;
  default_ = design.isDefault;
  button_->style_ = static_cast<SHORT>(design.style);
  return S_OK;
}

void CommandButton::afterCreate(HWND) {
  if (!hwnd()) return;
  focusable_->font()->applyFont();
  applyDefault();
}

// Owner drawing arrives as the WM_DRAWITEM the form hands back. The form's
// focus handling marks the default button with BM_SETSTYLE; a graphical
// button keeps its owner-drawn type and draws the mark itself.
bool CommandButton::onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (button_->style_ != 1) return false;
  if (msg == BM_SETSTYLE) {
    const bool asDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (asDefault != shownAsDefault_ && hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    shownAsDefault_ = asDefault;
    if (lParam && hwnd()) UpdateWindow(hwnd());
    *result = 0;
    return true;
  }
  if (msg != WM_REFLECT || !wParam) return false;
  auto* request = reinterpret_cast<ReflectionRequest*>(wParam);
  if (request->message != WM_DRAWITEM || !request->lParam) return false;
  drawGraphical(*reinterpret_cast<const DRAWITEMSTRUCT*>(request->lParam));
  request->result = TRUE;
  request->handled = 1;
  return true;
}

void CommandButton::drawGraphical(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const int saved = SaveDC(dc);
  HRGN clip = CreateRectRgnIndirect(&area);
  SelectClipRgn(dc, clip);
  DeleteObject(clip);

  COLORREF face = GetSysColor(COLOR_BTNFACE);
  TranslateColor(static_cast<OLE_COLOR>(backColor_), &face);
  HBRUSH brush = CreateSolidBrush(face);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  // The default button carries a dark outline around its edge.
  if (default_ || shownAsDefault_) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    InflateRect(&area, -1, -1);
  }
  DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  COLORREF text = GetSysColor(COLOR_BTNTEXT);
  TranslateColor(static_cast<OLE_COLOR>(foreColor_), &text);
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : text);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  RECT caption = area;
  if (pressed) OffsetRect(&caption, 1, 1);
  const LRESULT length = SendMessageW(item.hwndItem, WM_GETTEXTLENGTH, 0, 0);
  std::u16string label(static_cast<size_t>(length) + 1, u'\0');
  label.resize(static_cast<size_t>(SendMessageW(item.hwndItem, WM_GETTEXT, label.size(),
                                                reinterpret_cast<LPARAM>(label.data()))));
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &caption,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (oldFont) SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = area;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
  RestoreDC(dc, saved);
}

bool CommandButton::tabIndex(int32_t* index) {
  *index = tabIndex_;
  return true;
}

}  // namespace rt
