// The costs of drawing: a multi-line edit given a long log and scrolled to
// its end (once, and as a log that grows by a line), painting a whole form
// of controls, and the text primitives underneath.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/display.h"

namespace {

HWND createForm() {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = u"DrawingBenchForm";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"DrawingBenchForm", u"Skiffwire",
                         WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 20, 20, 500, 370,
                         nullptr, nullptr, nullptr, nullptr);
}

HWND child(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, RECT r,
           DWORD exStyle = 0) {
  HWND hwnd =
      CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, r.left,
                      r.top, r.right - r.left, r.bottom - r.top, parent, nullptr, nullptr, nullptr);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return hwnd;
}

HWND logBox(HWND form) {
  return child(form, u"EDIT", u"", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
               {12, 216, 468, 318}, WS_EX_CLIENTEDGE);
}

std::u16string logLine(int i) {
  std::u16string number;
  for (int n = i; number.empty() || n > 0; n /= 10)
    number.insert(number.begin(), static_cast<char16_t>(u'0' + n % 10));
  return u"00:00:12.345  Sent packet " + number +
         u" to 192.168.1.20:5000, waiting for the peer to answer\r\n";
}

std::u16string logOf(int lines) {
  std::u16string text;
  for (int i = 0; i < lines; ++i)
    text += logLine(i);
  return text;
}

void scrollToEnd(HWND box, size_t length) {
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void pumpPaints() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
}

// A whole log set at once into an empty box (word wrap on), then scrolled to
// its end and painted: every line is laid out once.
void BM_EditSetLogAndScrollToEnd(benchmark::State& state) {
  HWND form = createForm();
  HWND box = logBox(form);
  std::u16string text = logOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SetWindowTextW(box, u"");
    SetWindowTextW(box, text.c_str());
    scrollToEnd(box, text.size());
    pumpPaints();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size() * sizeof(char16_t)));
  state.counters["lines"] = static_cast<double>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
  DestroyWindow(form);
}
BENCHMARK(BM_EditSetLogAndScrollToEnd)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The application's way of logging: read the text, append a line, write it
// all back, move the caret to the end. The lines already laid out stay.
void BM_EditAppendLineToLog(benchmark::State& state) {
  HWND form = createForm();
  HWND box = logBox(form);
  int lines = static_cast<int>(state.range(0));
  std::u16string text = logOf(lines);
  SetWindowTextW(box, text.c_str());
  scrollToEnd(box, text.size());
  pumpPaints();
  std::u16string buffer;
  for (auto _ : state) {
    int length = GetWindowTextLengthW(box);
    buffer.resize(static_cast<size_t>(length) + 1);
    GetWindowTextW(box, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(length));
    buffer += logLine(lines++);
    SetWindowTextW(box, buffer.c_str());
    scrollToEnd(box, buffer.size());
    pumpPaints();
  }
  DestroyWindow(form);
}
BENCHMARK(BM_EditAppendLineToLog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A form like the application's: labels, edits, buttons, group boxes, check
// boxes and a log, all repainted with their frames.
void BM_PaintFullForm(benchmark::State& state) {
  HWND form = createForm();
  const char16_t* labels[] = {u"Peer address:", u"Port:", u"Payload:", u"Settings file:"};
  for (int i = 0; i < 4; ++i) {
    child(form, u"STATIC", labels[i], SS_LEFT, {12, 15 + 30 * i, 100, 31 + 30 * i});
    child(form, u"EDIT", u"192.168.1.20", ES_AUTOHSCROLL, {104, 12 + 30 * i, 380, 33 + 30 * i},
          WS_EX_CLIENTEDGE);
  }
  const char16_t* buttons[] = {u"&Connect", u"&Send", u"Disconnect", u"Save"};
  for (int i = 0; i < 4; ++i)
    child(form, u"BUTTON", buttons[i], i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
          {392, 10 + 30 * i, 468, 35 + 30 * i});
  child(form, u"BUTTON", u"Options", BS_GROUPBOX, {12, 130, 200, 206});
  child(form, u"BUTTON", u"Transfer", BS_GROUPBOX, {212, 130, 468, 206});
  for (int i = 0; i < 3; ++i) {
    child(form, u"BUTTON", u"Start marker", BS_AUTOCHECKBOX, {24, 146 + 20 * i, 190, 164 + 20 * i});
    child(form, u"BUTTON", u"Reply", BS_AUTORADIOBUTTON, {224, 146 + 20 * i, 380, 164 + 20 * i});
  }
  HWND box = logBox(form);
  std::u16string text = logOf(200);
  SetWindowTextW(box, text.c_str());
  scrollToEnd(box, text.size());
  pumpPaints();
  for (auto _ : state) {
    RedrawWindow(form, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  DestroyWindow(form);
}
BENCHMARK(BM_PaintFullForm)->Unit(benchmark::kMillisecond);

void BM_DrawTextWordBreak(benchmark::State& state) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(GetDC(nullptr), 300, 200);
  SelectObject(dc, bitmap);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const char16_t* text =
      u"The operator enters the peer's address and port, connects, types a payload and sends it.";
  for (auto _ : state) {
    RECT r{0, 0, 300, 200};
    benchmark::DoNotOptimize(DrawTextW(dc, text, -1, &r, DT_WORDBREAK | DT_LEFT));
  }
  DeleteDC(dc);
  DeleteObject(bitmap);
}
BENCHMARK(BM_DrawTextWordBreak);

}  // namespace
