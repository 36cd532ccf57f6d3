// A program for the desktop tests: a window with a push button, an edit field
// and a check box (the system BUTTON and EDIT classes) on the `sdl` driver. It prints where its
// controls are
// ("ready" line), then what arrives (BN_CLICKED, the edit's text, the check's
// state); once everything expected has arrived it writes a snapshot of what
// the screen shows. Then it opens a second window without activating it,
// prints "desktop phase", and reports what the desktop does to its windows
// (moved, size, activated), ending once the main window is activated again
// after the other one. A generous timer ends it with a failure when the input
// never comes.
//
//   desktop_probe <snapshot.png> <expected text>
//   desktop_probe <snapshot.png> --box
// With --box it shows a message box over its window instead, prints where
// the box's centre is ("box shown"), writes its snapshot, and prints the
// answer. Positions are in client coordinates of the window they are in.
#include <cstdio>
#include <string>

#include "platform/controls.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr int kButtonId = 101;
constexpr int kEditId = 102;
constexpr int kCheckId = 103;
constexpr UINT_PTR kSafetyTimer = 1;
constexpr UINT kSafetyMs = 60000;
constexpr UINT_PTR kBoxSnapshotTimer = 2;

struct Probe {
  std::string snapshotPath;
  std::u16string expectedText;
  HWND main = nullptr;
  bool clicked = false;
  bool checked = false;
  std::u16string text;
  HWND tip = nullptr;
  HWND other = nullptr;
  bool desktopPhase = false;
  bool otherActivated = false;
  int result = 1;
} probe;

int scaled(int pixels) {
  return pixels * platform::CurrentDisplay().dpi() / 96;
}

std::string utf8(const std::u16string& text) {
  std::string out;
  for (char16_t ch : text)
    out += ch < 0x80 ? static_cast<char>(ch) : '?';
  return out;
}

LRESULT tipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT rect;
  GetClientRect(hwnd, &rect);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, u"A bubble that takes no focus", -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EndPaint(hwnd, &paint);
  return 0;
}

// The bubble: a topmost tool popup shown without activation, over the window.
void showTip() {
  RECT check;
  GetWindowRect(GetDlgItem(probe.main, kCheckId), &check);
  probe.tip =
      CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ProbeTip", nullptr, WS_POPUP | WS_BORDER,
                      check.left + scaled(40), check.bottom + scaled(4), scaled(200), scaled(22),
                      probe.main, nullptr, nullptr, nullptr);
  ShowWindow(probe.tip, SW_SHOWNOACTIVATE);
  UpdateWindow(probe.tip);
  // The focus stays on the control the user last clicked, inside the window.
  const bool kept = GetForegroundWindow() == probe.main && IsChild(probe.main, GetFocus());
  std::printf("tip shown, %s keeps the focus\n", kept ? "the window" : "nobody");
}

void finishWhenComplete() {
  if (!probe.clicked || !probe.checked) return;
  if (probe.text != probe.expectedText) return;
  showTip();
  UpdateWindow(probe.main);
  bool saved = platform::CurrentDisplay().snapshot(probe.main, probe.snapshotPath);
  std::string tipPath = probe.snapshotPath.substr(0, probe.snapshotPath.size() - 4) + "_tip.png";
  saved = saved && platform::CurrentDisplay().snapshot(probe.tip, tipPath);
  std::printf("snapshot %s\n", saved ? "written" : "failed");
  if (!saved || GetForegroundWindow() != probe.main) {
    PostQuitMessage(1);
    return;
  }
  // A second window, shown without activation: the desktop's focus stays.
  probe.other =
      CreateWindowExW(0, u"ProbeOther", u"Probe other", WS_OVERLAPPEDWINDOW, scaled(420),
                      scaled(60), scaled(200), scaled(120), nullptr, nullptr, nullptr, nullptr);
  ShowWindow(probe.other, SW_SHOWNOACTIVATE);
  UpdateWindow(probe.other);
  probe.desktopPhase = true;
  std::printf("desktop phase\n");
  std::fflush(stdout);
}

// What the desktop did, from the desktop phase on.
void reportDesktop(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!probe.desktopPhase) return;
  const char* name = hwnd == probe.main ? "main" : "other";
  switch (message) {
    case WM_MOVE:
      if (hwnd == probe.main)
        std::printf("moved %d %d\n", static_cast<SHORT>(LOWORD(lParam)),
                    static_cast<SHORT>(HIWORD(lParam)));
      break;
    case WM_SIZE:
      if (hwnd == probe.main) std::printf("size %d %d\n", LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_ACTIVATE:
      std::printf("%s %s\n", LOWORD(wParam) == WA_INACTIVE ? "deactivated" : "activated", name);
      if (LOWORD(wParam) == WA_INACTIVE) break;
      if (hwnd == probe.other) probe.otherActivated = true;
      if (hwnd == probe.main && probe.otherActivated) {
        probe.result = 0;
        PostQuitMessage(0);
      }
      break;
    default:
      return;
  }
  std::fflush(stdout);
}

LRESULT otherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  reportDesktop(hwnd, message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Runs inside the box's own loop: the box is the foreground window.
void snapshotBox() {
  KillTimer(probe.main, kBoxSnapshotTimer);
  HWND box = GetForegroundWindow();
  bool saved = platform::CurrentDisplay().snapshot(box, probe.snapshotPath);
  RECT client;
  GetClientRect(box, &client);
  std::printf("box shown %d %d snapshot %s\n", static_cast<int>(client.right / 2),
              static_cast<int>(client.bottom / 2), saved ? "written" : "failed");
  std::fflush(stdout);
}

int runBox() {
  SetTimer(probe.main, kBoxSnapshotTimer, 200, nullptr);
  int answer = MessageBoxW(probe.main,
                           u"The peer did not answer within 2 seconds.\n\nSend the sequence again?",
                           u"Skiffwire", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1);
  std::printf("answer %d owner %s\n", answer, IsWindowEnabled(probe.main) ? "enabled" : "disabled");
  std::fflush(stdout);
  return answer == IDYES && IsWindowEnabled(probe.main) ? 0 : 1;
}

LRESULT mainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kButtonId:
          if (HIWORD(wParam) != BN_CLICKED) return 0;
          probe.clicked = true;
          std::printf("clicked\n");
          break;
        case kEditId: {
          if (HIWORD(wParam) != EN_CHANGE) return 0;
          HWND edit = reinterpret_cast<HWND>(lParam);
          std::u16string text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
          text.resize(static_cast<size_t>(
              GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
          probe.text = text;
          std::printf("text %s\n", utf8(probe.text).c_str());
          break;
        }
        case kCheckId:
          if (HIWORD(wParam) != BN_CLICKED) return 0;
          probe.checked =
              SendMessageW(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED;
          std::printf("check %d\n", probe.checked ? 1 : 0);
          break;
      }
      std::fflush(stdout);
      finishWhenComplete();
      return 0;
    case WM_TIMER:
      if (wParam == kBoxSnapshotTimer) {
        snapshotBox();
        return 0;
      }
      std::printf("timeout\n");
      PostQuitMessage(1);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(1);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
      reportDesktop(hwnd, message, wParam, lParam);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void registerClass(const char16_t* name, WNDPROC proc, int background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(name);
  RegisterClassExW(&wc);
}

// One of the system controls the runtime builds its own upon.
HWND makeControl(HWND parent, const char16_t* className, const char16_t* text, DWORD style,
                 DWORD exStyle, int id, int x, int y, int width, int height) {
  return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                         scaled(x), scaled(y), scaled(width), scaled(height), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// A control's centre in its window's client coordinates: the desktop's
// window manager may place the window anywhere.
void printCentre(const char* name, HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(GetParent(hwnd), &centre);
  std::printf(" %s %d %d", name, static_cast<int>(centre.x), static_cast<int>(centre.y));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  probe.snapshotPath = argv[1];
  for (const char* p = argv[2]; *p; ++p)
    probe.expectedText += static_cast<char16_t>(*p);
  std::string error = platform::SelectDisplayDriverForDesktop();
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  registerClass(u"ProbeMain", mainProc, COLOR_BTNFACE);
  registerClass(u"ProbeTip", tipProc, COLOR_INFOBK);
  registerClass(u"ProbeOther", otherProc, COLOR_WINDOW);
  probe.main =
      CreateWindowExW(0, reinterpret_cast<LPCWSTR>(u"ProbeMain"),
                      reinterpret_cast<LPCWSTR>(u"Desktop probe"), WS_OVERLAPPEDWINDOW, scaled(60),
                      scaled(60), scaled(320), scaled(200), nullptr, nullptr, nullptr, nullptr);
  HWND button =
      makeControl(probe.main, u"BUTTON", u"Press", BS_PUSHBUTTON, 0, kButtonId, 16, 16, 100, 28);
  HWND edit = makeControl(probe.main, u"EDIT", u"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEditId, 16,
                          60, 200, 26);
  HWND check = makeControl(probe.main, u"BUTTON", u"Checked", BS_AUTOCHECKBOX, 0, kCheckId, 16, 104,
                           160, 20);
  ShowWindow(probe.main, SW_SHOW);
  UpdateWindow(probe.main);
  SetTimer(probe.main, kSafetyTimer, kSafetyMs, nullptr);
  if (probe.expectedText == u"--box") return runBox();
  std::printf("ready dpi %d", platform::CurrentDisplay().dpi());
  printCentre("button", button);
  printCentre("edit", edit);
  printCentre("check", check);
  std::printf("\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return probe.result;
}
