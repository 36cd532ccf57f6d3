// A window with one of each system control, drawn headless and written as
// a PNG: the classic look is checked by eye there, and by a few pixels here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ControlTestSupport.h"

namespace controls_test {
namespace {

std::string demoPath() {
  const char* path = std::getenv("SKIFFWIRE_DEMO_PNG");
  if (path && *path) return path;
  return std::string(SKIFFWIRE_BUILD_DIR) + "/demo.png";
}

class DemoWindow : public ControlTest {
 protected:
  HWND add(const char16_t* cls, const char16_t* text, DWORD style, RECT r, HWND parent,
           DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(++nextId_)), nullptr,
                                nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return hwnd;
  }

  int nextId_ = 100;
};

TEST_F(DemoWindow, EveryControlDrawnHeadless) {
  RECT client{0, 0, 480, 330};
  AdjustWindowRectEx(&client, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
  HWND form = CreateWindowExW(0, kParentClass, u"Skiffwire - Controls",
                              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 40, 40,
                              client.right - client.left, client.bottom - client.top, nullptr,
                              nullptr, nullptr, nullptr);
  add(u"STATIC", u"Peer &address:", SS_LEFT, {12, 15, 100, 31}, form);
  HWND address = add(u"EDIT", u"192.168.1.20", ES_AUTOHSCROLL | WS_TABSTOP, {104, 12, 260, 33},
                     form, WS_EX_CLIENTEDGE);
  add(u"STATIC", u"Port:", SS_RIGHT, {270, 15, 320, 31}, form);
  add(u"EDIT", u"5000", ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP, {324, 12, 380, 33}, form,
      WS_EX_CLIENTEDGE);
  add(u"STATIC", u"Payload:", SS_LEFT, {12, 45, 100, 61}, form);
  HWND payload =
      add(u"EDIT", u"", ES_AUTOHSCROLL | WS_TABSTOP, {104, 42, 380, 63}, form, WS_EX_CLIENTEDGE);
  SendMessageW(payload, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(u"Type a datagram"));
  add(u"STATIC", u"Settings file:", SS_LEFT, {12, 75, 100, 91}, form);
  add(u"EDIT", u"Z:\\home\\skiffwire\\Settings.txt", ES_AUTOHSCROLL | WS_DISABLED,
      {104, 72, 380, 93}, form, WS_EX_CLIENTEDGE);

  add(u"BUTTON", u"&Connect", BS_DEFPUSHBUTTON | WS_TABSTOP, {392, 10, 468, 35}, form);
  add(u"BUTTON", u"&Send", BS_PUSHBUTTON | WS_TABSTOP, {392, 40, 468, 65}, form);
  add(u"BUTTON", u"Disconnect", BS_PUSHBUTTON | WS_DISABLED, {392, 70, 468, 95}, form);

  HWND options = add(u"BUTTON", u"Options", BS_GROUPBOX, {12, 104, 200, 206}, form);
  HWND start = add(u"BUTTON", u"Start marker \"02\"", BS_AUTOCHECKBOX | WS_TABSTOP,
                   {24, 124, 190, 144}, form);
  HWND crc =
      add(u"BUTTON", u"CRC-8 datagram", BS_AUTOCHECKBOX | WS_TABSTOP, {24, 148, 190, 168}, form);
  HWND end =
      add(u"BUTTON", u"End marker \"04\"", BS_AUTO3STATE | WS_TABSTOP, {24, 172, 190, 192}, form);
  SendMessageW(crc, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(end, BM_SETCHECK, BST_INDETERMINATE, 0);
  (void)start;
  (void)options;

  add(u"BUTTON", u"Transfer", BS_GROUPBOX, {212, 104, 468, 206}, form);
  add(u"BUTTON", u"Reply expected", BS_AUTORADIOBUTTON | WS_GROUP, {224, 124, 380, 144}, form);
  HWND none = add(u"BUTTON", u"No reply", BS_AUTORADIOBUTTON, {224, 148, 380, 168}, form);
  SendMessageW(none, BM_SETCHECK, BST_CHECKED, 0);
  add(u"BUTTON", u"Retry on NAK", BS_AUTOCHECKBOX | WS_DISABLED, {224, 172, 380, 192}, form);

  HWND log = add(u"EDIT", u"", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
                 {12, 216, 468, 318}, form, WS_EX_CLIENTEDGE);
  std::u16string text;
  for (int i = 0; i < 12; ++i) {
    text += u"00:00:0" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
            u".125  Sent packet " + std::u16string(1, static_cast<char16_t>(u'1' + i % 9)) +
            u" of 12 to 192.168.1.20:5000, waiting for the peer to answer ACK or NAK\r\n";
  }
  text += u"00:00:09.900  ACK";
  SetWindowTextW(log, text.c_str());
  auto length = static_cast<WPARAM>(text.size());
  SendMessageW(log, EM_SETSEL, length, static_cast<LPARAM>(length));
  SendMessageW(log, EM_SCROLLCARET, 0, 0);

  ShowWindow(form, SW_SHOW);
  SetFocus(address);
  SendMessageW(address, EM_SETSEL, 0, 7);
  pump();

  std::string path = demoPath();
  ASSERT_TRUE(platform::headless::SnapshotPng(form, path)) << path;
  std::printf("demo window written to %s\n", path.c_str());

  // Button-face form, white edit field, blue caption.
  RECT window;
  GetWindowRect(form, &window);
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  int dx = origin.x - window.left, dy = origin.y - window.top;
  EXPECT_EQ(pixelAt(form, dx + 300, dy + 100), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixelAt(form, dx + 370, dy + 52), GetSysColor(COLOR_WINDOW));
  COLORREF caption = pixelAt(form, 30, 10);
  EXPECT_GT(GetBValue(caption), GetRValue(caption));
}

}  // namespace
}  // namespace controls_test
