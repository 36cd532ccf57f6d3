// A check of what the `sdl` driver shows of an edit control after bursts of
// appends, scrolls and edits: the control paints them later, once, moving
// the lines that stay in view on the window's surface, and the screen must
// then show what it shows once the whole window is painted again. Exits 0
// when every burst matches, 1 when one does not, 77 when no display is
// reachable.
//
//   edit_burst_probe <folder for the snapshots>
#include <cairo.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

LRESULT mainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::u16string lines(int from, int count) {
  std::u16string text;
  for (int i = from; i < from + count; ++i) {
    const std::string line = "line " + std::to_string(i) + " of the log, with words to wrap\r\n";
    text += std::u16string(line.begin(), line.end());
  }
  return text;
}

void append(HWND edit, int from, int count) {
  for (int i = from; i < from + count; ++i) {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    const std::u16string line = lines(i, 1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  }
}

// The pixels of a snapshot the driver wrote; empty when it could not be read.
std::vector<unsigned char> pixelsOf(const std::string& path) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  std::vector<unsigned char> pixels;
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int size = cairo_image_surface_get_stride(image) * cairo_image_surface_get_height(image);
    pixels.assign(data, data + size);
  }
  cairo_surface_destroy(image);
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  std::string error = platform::SelectDisplayDriverForDesktop();
  if (!error.empty() || std::string(platform::CurrentDisplay().name()) != "sdl") {
    std::fprintf(stderr, "no sdl display: %s\n", error.c_str());
    return 77;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = mainProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(u"BurstMain");
  RegisterClassExW(&wc);
  HWND main = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(u"BurstMain"),
                              reinterpret_cast<LPCWSTR>(u"Edit bursts"), WS_OVERLAPPEDWINDOW, 40,
                              40, 360, 260, nullptr, nullptr, nullptr, nullptr);
  const std::u16string start = lines(0, 60);
  HWND edit = CreateWindowExW(
      WS_EX_CLIENTEDGE, reinterpret_cast<LPCWSTR>(u"EDIT"), start.c_str(),
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 10, 10,
      300, 180, main, nullptr, nullptr, nullptr);
  SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  ShowWindow(main, SW_SHOW);
  append(edit, 60, 1);
  pump();

  auto scroll = [edit](int by) { SendMessageW(edit, EM_LINESCROLL, 0, by); };
  const std::vector<std::pair<const char*, std::function<void()>>> bursts = {
      {"one_line", [&] { append(edit, 100, 1); }},
      {"three_lines", [&] { append(edit, 200, 3); }},
      {"a_page_of_lines", [&] { append(edit, 300, 25); }},
      {"scrolls",
       [&] {
         scroll(-3);
         scroll(1);
         scroll(-1);
       }},
      {"to_the_start_and_back",
       [&] {
         append(edit, 500, 1);
         SendMessageW(edit, EM_SETSEL, 0, 0);
         SendMessageW(edit, EM_SCROLLCARET, 0, 0);
         append(edit, 501, 1);
       }},
      {"scroll_and_edit",
       [&] {
         scroll(2);
         SendMessageW(edit, EM_SETSEL, 40, 44);
         SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"EDITED"));
         append(edit, 400, 2);
       }},
  };
  int result = 0;
  for (const auto& [name, run] : bursts) {
    run();
    pump();
    const std::string shown = folder + "/edit_burst_" + name + ".png";
    const std::string whole = folder + "/edit_burst_" + name + "_whole.png";
    bool saved = platform::CurrentDisplay().snapshot(main, shown);
    RedrawWindow(main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump();
    saved = saved && platform::CurrentDisplay().snapshot(main, whole);
    const std::vector<unsigned char> a = pixelsOf(shown);
    const bool same = saved && !a.empty() && a == pixelsOf(whole);
    std::printf("%s %s\n", name, same ? "matches" : "DIFFERS");
    if (!same) result = 1;
  }
  DestroyWindow(main);
  return result;
}
