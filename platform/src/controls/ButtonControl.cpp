#include "internal/ButtonControl.h"

#include <vector>

#include "internal/ButtonPainter.h"
#include "internal/ControlRegistry.h"
#include "internal/ControlSupport.h"
#include "internal/SystemClasses.h"

namespace platform::internal {

using Buttons = ControlRegistry<ButtonControl>;

LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ButtonControl::procedure(hwnd, message, wParam, lParam);
}

LRESULT ButtonControl::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    Buttons::add(hwnd, std::make_shared<ButtonControl>(hwnd, static_cast<DWORD>(create->style)));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  std::shared_ptr<ButtonControl> button = Buttons::find(hwnd);
  if (!button || message == WM_NCDESTROY) {
    Buttons::remove(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return button->onPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    case WM_ERASEBKGND:
      return 1;  // the painting covers the whole button
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return button->onButtonDown();
    case WM_MOUSEMOVE:
      return button->onMouseMove(lParam);
    case WM_LBUTTONUP:
      return button->onButtonUp(lParam);
    case WM_CAPTURECHANGED:
      return button->onCaptureChanged();
    case WM_KEYDOWN:
      return button->onKeyDown(wParam, lParam);
    case WM_KEYUP:
      return button->onKeyUp(wParam, lParam);
    case WM_SETFOCUS:
      return button->onFocus(true, wParam);
    case WM_KILLFOCUS:
      return button->onFocus(false, wParam);
    case WM_ENABLE:
      button->redraw();
      return 0;
    case WM_SETTEXT:
      return button->onSetText(wParam, lParam);
    case WM_SETFONT:
      return button->onSetFont(wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(button->font_);
    case WM_GETDLGCODE:
      return button->behavior_.dialogCode();
    case WM_NCHITTEST:
      return button->onNcHitTest(wParam, lParam);
    case WM_STYLECHANGED:
      return button->onStyleChanged(wParam, lParam);
    case BM_GETCHECK:
      return static_cast<LRESULT>(button->behavior_.check());
    case BM_SETCHECK:
      return button->onSetCheck(wParam);
    case BM_GETSTATE:
      return button->behavior_.state();
    case BM_SETSTATE:
      return button->onSetState(wParam);
    case BM_SETSTYLE:
      return button->onSetStyle(wParam, lParam);
    case BM_CLICK:
      return button->onClick();
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT ButtonControl::onPaint(HDC given) {
  if (given) {
    ButtonPainter::paint(hwnd_, given, behavior_, font_);
    return 0;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  if (dc) ButtonPainter::paint(hwnd_, dc, behavior_, font_);
  EndPaint(hwnd_, &paint);
  return 0;
}

LRESULT ButtonControl::onButtonDown() {
  if (behavior_.kind() == ButtonBehavior::Kind::GroupBox) return 0;
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  apply(behavior_.press());
  return 0;
}

LRESULT ButtonControl::onMouseMove(LPARAM lParam) {
  if (behavior_.tracking()) apply(behavior_.move(inside(lParam)));
  return 0;
}

LRESULT ButtonControl::onButtonUp(LPARAM lParam) {
  apply(behavior_.release(inside(lParam)));
  return 0;
}

LRESULT ButtonControl::onCaptureChanged() {
  apply(behavior_.captureLost());
  return 0;
}

LRESULT ButtonControl::onKeyDown(WPARAM key, LPARAM lParam) {
  if (key == static_cast<WPARAM>(VK_SPACE)) {
    apply(behavior_.spaceDown());
    return 0;
  }
  return DefWindowProcW(hwnd_, WM_KEYDOWN, key, lParam);
}

LRESULT ButtonControl::onKeyUp(WPARAM key, LPARAM lParam) {
  if (key == static_cast<WPARAM>(VK_SPACE)) {
    apply(behavior_.spaceUp());
    return 0;
  }
  return DefWindowProcW(hwnd_, WM_KEYUP, key, lParam);
}

LRESULT ButtonControl::onFocus(bool focused, WPARAM) {
  apply(behavior_.focusChanged(focused));
  if (behavior_.style() & BS_NOTIFY) {
    ControlSupport::notifyParent(hwnd_, focused ? BN_SETFOCUS : BN_KILLFOCUS);
  }
  return 0;
}

LRESULT ButtonControl::onSetText(WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProcW(hwnd_, WM_SETTEXT, wParam, lParam);
  redraw();
  return result;
}

LRESULT ButtonControl::onSetFont(WPARAM font, LPARAM redrawNow) {
  font_ = reinterpret_cast<HFONT>(font);
  if (LOWORD(redrawNow)) redraw();
  return 0;
}

LRESULT ButtonControl::onSetCheck(WPARAM state) {
  if (behavior_.setCheck(state)) redraw();
  return 0;
}

LRESULT ButtonControl::onSetState(WPARAM pushed) {
  apply(behavior_.setPushed(pushed != 0));
  return 0;
}

// The new type replaces the old one; the other style bits stay.
LRESULT ButtonControl::onSetStyle(WPARAM style, LPARAM redrawNow) {
  DWORD current = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  DWORD next = (current & ~BS_TYPEMASK) | (static_cast<DWORD>(style) & BS_TYPEMASK);
  if (next != current) SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(next));
  behavior_.setStyle(next);
  if (redrawNow) redraw();
  return 0;
}

// Behaves as a press and a release in the middle of the button.
LRESULT ButtonControl::onClick() {
  if (!IsWindowEnabled(hwnd_)) return 0;
  RECT client{};
  GetClientRect(hwnd_, &client);
  LPARAM middle =
      MAKELPARAM(static_cast<WORD>(client.right / 2), static_cast<WORD>(client.bottom / 2));
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  if (IsWindow(hwnd_)) SendMessageW(hwnd_, WM_LBUTTONUP, 0, middle);
  return 0;
}

LRESULT ButtonControl::onStyleChanged(WPARAM which, LPARAM change) {
  if (static_cast<int>(which) == GWL_STYLE) {
    behavior_.setStyle(reinterpret_cast<const STYLESTRUCT*>(change)->styleNew);
    redraw();
  }
  return 0;
}

// A group box lets the pointer through to what lies under it.
LRESULT ButtonControl::onNcHitTest(WPARAM wParam, LPARAM lParam) {
  if (behavior_.kind() == ButtonBehavior::Kind::GroupBox) return HTTRANSPARENT;
  return DefWindowProcW(hwnd_, WM_NCHITTEST, wParam, lParam);
}

void ButtonControl::apply(const ButtonBehavior::Effect& effect) {
  if (effect.capture) SetCapture(hwnd_);
  if (effect.releaseCapture && GetCapture() == hwnd_) ReleaseCapture();
  if (effect.redraw) redraw();
  if (effect.click) clicked();
}

void ButtonControl::clicked() {
  if (behavior_.automatic()) {
    behavior_.setCheck(behavior_.nextCheck());
    if (behavior_.kind() == ButtonBehavior::Kind::RadioButton) uncheckGroupSiblings();
    redraw();
  }
  ControlSupport::notifyParent(hwnd_, BN_CLICKED);
}

// The other radio buttons of the group: the siblings, in the order they
// were made (new windows go to the top of the z-order), between the windows
// that start groups (WS_GROUP).
void ButtonControl::uncheckGroupSiblings() {
  HWND parent = GetParent(hwnd_);
  if (!parent) return;
  std::vector<HWND> siblings;
  for (HWND h = GetWindow(hwnd_, GW_HWNDLAST); h; h = GetWindow(h, GW_HWNDPREV))
    siblings.push_back(h);
  size_t self = 0;
  while (self < siblings.size() && siblings[self] != hwnd_)
    ++self;
  size_t first = self;
  while (first > 0 && !(GetWindowLongW(siblings[first], GWL_STYLE) & WS_GROUP))
    --first;
  for (size_t i = first; i < siblings.size(); ++i) {
    if (i > first && (GetWindowLongW(siblings[i], GWL_STYLE) & WS_GROUP)) break;
    if (siblings[i] == hwnd_) continue;
    if (SendMessageW(siblings[i], WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      SendMessageW(siblings[i], BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void ButtonControl::redraw() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool ButtonControl::inside(LPARAM point) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != 0;
}

}  // namespace platform::internal
