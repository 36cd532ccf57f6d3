#include "internal/ButtonPainter.h"

#include <algorithm>
#include <string>

#include "internal/ControlSupport.h"
#include "internal/DisplayScale.h"

namespace platform::internal {
namespace {

// The box of a check box or radio button and the gap to its label, at 96
// dots per inch; they grow with the display's resolution.
constexpr int kCheckSizeAt96 = 13;
constexpr int kCheckGapAt96 = 4;

constexpr int kGroupIndent = 8;

RECT clientOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

UINT horizontalAlignment(DWORD style, UINT fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT:
      return DT_LEFT;
    case BS_RIGHT:
      return DT_RIGHT;
    case BS_CENTER:
      return DT_CENTER;
  }
  return fallback;
}

// Places a label in the rectangle by the button's alignment styles; one
// line centred vertically unless the button is multi-line.
void placeLabel(HDC dc, const std::u16string& text, DWORD style, UINT horizontal, RECT* rect,
                UINT* format) {
  *format = horizontal | DT_NOCLIP;
  if (!(style & BS_MULTILINE)) {
    DWORD vertical = style & BS_VCENTER;
    *format |= DT_SINGLELINE;
    *format |= vertical == BS_TOP ? DT_TOP : vertical == BS_BOTTOM ? DT_BOTTOM : DT_VCENTER;
    return;
  }
  *format |= DT_WORDBREAK;
  RECT measure = *rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, *format | DT_CALCRECT);
  int height = measure.bottom - measure.top;
  DWORD vertical = style & BS_VCENTER;
  if (vertical == BS_TOP) return;
  int free = ControlSupport::heightOf(*rect) - height;
  rect->top += vertical == BS_BOTTOM ? free : free / 2;
}

}  // namespace

void ButtonPainter::paint(HWND hwnd, HDC dc, const ButtonBehavior& behavior, HFONT font) {
  int saved = SaveDC(dc);
  SelectObject(dc, ControlSupport::fontOr(font));
  switch (behavior.kind()) {
    case ButtonBehavior::Kind::PushButton:
      pushButton(hwnd, dc, behavior, behavior.pushed());
      break;
    case ButtonBehavior::Kind::CheckBox:
    case ButtonBehavior::Kind::RadioButton:
      if (behavior.style() & BS_PUSHLIKE) {
        pushButton(hwnd, dc, behavior, behavior.pushed() || behavior.check() != BST_UNCHECKED);
      } else {
        checkButton(hwnd, dc, behavior);
      }
      break;
    case ButtonBehavior::Kind::GroupBox:
      groupBox(hwnd, dc, behavior);
      break;
    case ButtonBehavior::Kind::OwnerDraw:
      ownerDraw(hwnd, dc, behavior);
      break;
  }
  RestoreDC(dc, saved);
}

void ButtonPainter::pushButton(HWND hwnd, HDC dc, const ButtonBehavior& behavior, bool pushed) {
  RECT r = clientOf(hwnd);
  // Push buttons ask their parent, as the platform's do, and keep their face.
  HBRUSH background = ControlSupport::askColors(hwnd, dc, WM_CTLCOLORBTN);
  FillRect(dc, &r, background);
  DWORD style = behavior.style();
  if (behavior.isDefault()) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pushed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  } else if (style & BS_FLAT) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST);
  }
  std::u16string text = ControlSupport::textOf(hwnd);
  RECT label = r;
  InflateRect(&label, -2, -2);
  if (pushed) OffsetRect(&label, 1, 1);
  UINT format = 0;
  placeLabel(dc, text, style, horizontalAlignment(style, DT_CENTER), &label, &format);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  ControlSupport::drawLabel(dc, text, label, format, IsWindowEnabled(hwnd) != 0);
  if (behavior.focused()) {
    RECT focus = clientOf(hwnd);
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void ButtonPainter::checkButton(HWND hwnd, HDC dc, const ButtonBehavior& behavior) {
  RECT client = clientOf(hwnd);
  HBRUSH background = ControlSupport::askColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, background);
  DWORD style = behavior.style();
  bool boxRight = (style & BS_LEFTTEXT) != 0;
  RECT box = client;
  RECT label = client;
  const int checkSize = PixelsForDisplay(kCheckSizeAt96);
  const int checkGap = PixelsForDisplay(kCheckGapAt96);
  if (boxRight) {
    box.left = client.right - checkSize;
    label.right = box.left - checkGap;
  } else {
    box.right = client.left + checkSize;
    label.left = box.right + checkGap;
  }
  DWORD vertical = style & BS_VCENTER;
  if (vertical == BS_TOP) box.bottom = box.top + checkSize;
  if (vertical == BS_BOTTOM) box.top = box.bottom - checkSize;
  bool enabled = IsWindowEnabled(hwnd) != 0;
  UINT state =
      behavior.kind() == ButtonBehavior::Kind::RadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (behavior.check() != BST_UNCHECKED) state |= DFCS_CHECKED;
  if (behavior.check() == BST_INDETERMINATE) state |= DFCS_BUTTON3STATE;
  if (behavior.pushed()) state |= DFCS_PUSHED;
  if (!enabled) state |= DFCS_INACTIVE;
  if (style & BS_FLAT) state |= DFCS_FLAT;
  DrawFrameControl(dc, &box, DFC_BUTTON, state);

  std::u16string text = ControlSupport::textOf(hwnd);
  UINT format = 0;
  placeLabel(dc, text, style, horizontalAlignment(style, DT_LEFT), &label, &format);
  ControlSupport::drawLabel(dc, text, label, format, enabled);
  if (!behavior.focused() || text.empty()) return;
  RECT bounds = label;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
  int height = bounds.bottom - bounds.top;
  if (format & DT_VCENTER) OffsetRect(&bounds, 0, (ControlSupport::heightOf(label) - height) / 2);
  if (format & DT_BOTTOM) OffsetRect(&bounds, 0, ControlSupport::heightOf(label) - height);
  InflateRect(&bounds, 1, 1);
  IntersectRect(&bounds, &bounds, &client);
  DrawFocusRect(dc, &bounds);
}

void ButtonPainter::groupBox(HWND hwnd, HDC dc, const ButtonBehavior& behavior) {
  RECT client = clientOf(hwnd);
  HBRUSH background = ControlSupport::askColors(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, background);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  if (behavior.style() & BS_FLAT) {
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  } else {
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  }
  std::u16string text = ControlSupport::textOf(hwnd);
  if (text.empty()) return;
  RECT label{client.left + kGroupIndent, client.top, client.right - kGroupIndent,
             client.top + tm.tmHeight};
  RECT bounds = label;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, DT_SINGLELINE | DT_CALCRECT);
  bounds.right = std::min(bounds.right, label.right);
  RECT gap{bounds.left - 2, bounds.top, bounds.right + 2, bounds.bottom};
  FillRect(dc, &gap, background);
  ControlSupport::drawLabel(dc, text, bounds, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS,
                            IsWindowEnabled(hwnd) != 0);
}

void ButtonPainter::ownerDraw(HWND hwnd, HDC dc, const ButtonBehavior& behavior) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  item.itemAction = ODA_DRAWENTIRE;
  if (behavior.pushed()) item.itemState |= ODS_SELECTED;
  if (behavior.focused()) item.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
  item.hwndItem = hwnd;
  item.hDC = dc;
  item.rcItem = clientOf(hwnd);
  // The parent gets the control's colours first, as the platform asks them.
  ControlSupport::askColors(hwnd, dc, WM_CTLCOLORBTN);
  SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace platform::internal
