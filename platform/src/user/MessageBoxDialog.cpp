#include "internal/MessageBoxDialog.h"

#include <memory>
#include <string>

#include "internal/MessageBoxIcon.h"
#include "internal/MessageBoxLayout.h"
#include "platform/display.h"
#include "platform/gdi.h"

namespace platform::internal {
namespace {

constexpr int kHelpId = 9;  // IDHELP

struct BoxState {
  const MSGBOXPARAMSW* params;
  MessageBoxLayout layout;
  std::u16string text;
  HFONT font = nullptr;
  size_t focused = 0;
  int pressed = -1;  // the button held down with the mouse
  int answer = 0;
};

BoxState* stateOf(HWND hwnd) {
  return reinterpret_cast<BoxState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HFONT messageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

SIZE measureText(HFONT font, const std::u16string& text, int dpi) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT box{0, 0, MessageBoxLayout::wrapWidth(dpi), 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kTextFormat | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

void callHelp(HWND hwnd, BoxState& state) {
  const MSGBOXPARAMSW& params = *state.params;
  POINT cursor{};
  GetCursorPos(&cursor);
  HELPINFO info{sizeof(HELPINFO), 1 /* HELPINFO_WINDOW */, 0, hwnd, params.dwContextHelpId, cursor};
  if (params.lpfnMsgBoxCallback) {
    params.lpfnMsgBoxCallback(&info);
    return;
  }
  if (params.hwndOwner) SendMessageW(params.hwndOwner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void choose(HWND hwnd, BoxState& state, int id) {
  if (id == kHelpId) {
    callHelp(hwnd, state);
    return;
  }
  state.answer = id;
}

void paintButton(HDC dc, const BoxState& state, size_t index) {
  const MessageBoxButton& button = state.layout.buttons()[index];
  RECT rect = button.rect;
  bool pressed = state.pressed == static_cast<int>(index);
  DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  RECT label = button.rect;
  if (pressed) OffsetRect(&label, 1, 1);
  DrawTextW(dc, button.label.c_str(), static_cast<int>(button.label.size()), &label,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (index != state.focused) return;
  // The focused button is also the default one: a dark outline and the
  // dotted focus rectangle inside.
  HBRUSH outline = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RECT frame = button.rect;
  FrameRect(dc, &frame, outline);
  RECT focus = button.rect;
  InflateRect(&focus, -state.layout.scaled(4), -state.layout.scaled(4));
  DrawFocusRect(dc, &focus);
}

void paint(HWND hwnd, BoxState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HGDIOBJ oldFont = SelectObject(dc, state.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  MessageBoxIcon::draw(dc, state.params->dwStyle, state.layout.iconRect());
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT text = state.layout.textRect();
  DrawTextW(dc, state.text.c_str(), static_cast<int>(state.text.size()), &text, kTextFormat);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (size_t i = 0; i < state.layout.buttons().size(); ++i)
    paintButton(dc, state, i);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

void invalidateButtons(HWND hwnd, const BoxState& state) {
  RECT row = state.layout.buttonRowRect();
  InvalidateRect(hwnd, &row, TRUE);
}

int buttonAt(const BoxState& state, POINT point) {
  const auto& buttons = state.layout.buttons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (PtInRect(&buttons[i].rect, point)) return static_cast<int>(i);
  }
  return -1;
}

void moveFocus(HWND hwnd, BoxState& state, int step) {
  auto count = static_cast<int>(state.layout.buttons().size());
  state.focused = static_cast<size_t>((static_cast<int>(state.focused) + step + count) % count);
  invalidateButtons(hwnd, state);
}

void cancel(HWND hwnd, BoxState& state) {
  if (int id = MessageBoxLayout::cancelAnswerOf(state.params->dwStyle)) choose(hwnd, state, id);
}

bool onKey(HWND hwnd, BoxState& state, WPARAM key) {
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
      choose(hwnd, state, state.layout.buttons()[state.focused].id);
      return true;
    case VK_ESCAPE:
      cancel(hwnd, state);
      return true;
    case VK_TAB:
      moveFocus(hwnd, state, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
      return true;
    case VK_LEFT:
    case VK_UP:
      moveFocus(hwnd, state, -1);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      moveFocus(hwnd, state, 1);
      return true;
    case VK_F1:
      if (state.params->dwStyle & MB_HELP) callHelp(hwnd, state);
      return true;
    default:
      return false;
  }
}

// A letter presses the button whose mnemonic it is.
void onChar(HWND hwnd, BoxState& state, char16_t ch) {
  char16_t upper = (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - 32) : ch;
  for (const MessageBoxButton& button : state.layout.buttons()) {
    size_t amp = button.label.find(u'&');
    if (amp == std::u16string::npos || amp + 1 >= button.label.size()) continue;
    char16_t mnemonic = button.label[amp + 1];
    if (mnemonic >= u'a' && mnemonic <= u'z') mnemonic = static_cast<char16_t>(mnemonic - 32);
    if (mnemonic == upper) {
      choose(hwnd, state, button.id);
      return;
    }
  }
}

void onButtonUp(HWND hwnd, BoxState& state, POINT point) {
  int held = state.pressed;
  state.pressed = -1;
  ReleaseCapture();
  invalidateButtons(hwnd, state);
  if (held >= 0 && buttonAt(state, point) == held)
    choose(hwnd, state, state.layout.buttons()[static_cast<size_t>(held)].id);
}

LRESULT boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  BoxState* state = stateOf(hwnd);
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT:
      paint(hwnd, *state);
      return 0;
    case WM_KEYDOWN:
      if (onKey(hwnd, *state, wParam)) return 0;
      break;
    case WM_CHAR:
      onChar(hwnd, *state, static_cast<char16_t>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      state->pressed = buttonAt(*state, point);
      if (state->pressed < 0) return 0;
      state->focused = static_cast<size_t>(state->pressed);
      SetCapture(hwnd);
      invalidateButtons(hwnd, *state);
      return 0;
    case WM_LBUTTONUP:
      onButtonUp(hwnd, *state, point);
      return 0;
    case WM_CLOSE:
      cancel(hwnd, *state);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerBoxClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(nullptr, MessageBoxDialog::kClassName, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = boxProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = MessageBoxDialog::kClassName;
  RegisterClassExW(&wc);
}

// The window rectangle of a box: centred on its owner, else on the screen,
// and kept on the screen.
RECT placeBox(HWND owner, SIZE client, DWORD style, DWORD exStyle) {
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SIZE screen = CurrentDisplay().screenSize();
  RECT around{0, 0, screen.cx, screen.cy};
  if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &around);
  int x = (around.left + around.right - width) / 2;
  int y = (around.top + around.bottom - height) / 2;
  x = std::max(0, std::min<int>(x, screen.cx - width));
  y = std::max(0, std::min<int>(y, screen.cy - height));
  return RECT{x, y, x + width, y + height};
}

}  // namespace

int MessageBoxDialog::run(const MSGBOXPARAMSW& params) {
  registerBoxClass();
  int dpi = CurrentDisplay().dpi();
  HFONT font = messageFont();
  std::u16string text = params.lpszText ? params.lpszText : u"";
  auto state = std::make_unique<BoxState>(
      BoxState{&params, MessageBoxLayout(params.dwStyle, measureText(font, text, dpi), dpi), text,
               font, MessageBoxLayout::defaultIndexOf(params.dwStyle)});

  HWND owner = params.hwndOwner ? GetAncestor(params.hwndOwner, GA_ROOT) : nullptr;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
  DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  if (params.dwStyle & (MB_TOPMOST | MB_SYSTEMMODAL)) exStyle |= WS_EX_TOPMOST;
  RECT at = placeBox(owner, state->layout.clientSize(), style, exStyle);
  const char16_t* caption = params.lpszCaption ? params.lpszCaption : u"Error";
  HWND box =
      CreateWindowExW(exStyle, kClassName, caption, style, at.left, at.top, at.right - at.left,
                      at.bottom - at.top, owner, nullptr, nullptr, nullptr);
  if (!box) {
    DeleteObject(font);
    return 0;
  }
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  SetForegroundWindow(box);
  SetFocus(box);

  MSG msg{};
  bool quit = false;
  while (!state->answer && IsWindow(box)) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(box)) {
    SetWindowLongPtrW(box, GWLP_USERDATA, 0);
    DestroyWindow(box);
  }
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  DeleteObject(font);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return quit ? 0 : state->answer;
}

}  // namespace platform::internal
