// Form1 on real windows (the platform's EDIT, BUTTON and STATIC controls) on
// a headless display: the design's texts, what the load handler changes,
// typing and clicking through window messages, closing the window, and a
// transmission to the reference peer as a separate process.
#include "app/window/Form1Window.h"

#include <gtest/gtest.h>

#include <string>

#include "../AppTestSupport.h"
#include "app/udp/UdpSocketClass.h"
#include "app/window/Form1Layout.h"
#include "app/window/Form1Startup.h"
#include "app/window/WindowText.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/testing.h"
#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/FileTable.h"
#include "runtime/forms/arrays/ArrayRouting.h"

namespace skiffwire::testing {
namespace {

// The tool with its executable in a folder of its own, on a headless
// display, every message box answered and recorded.
// The process entry's start-up steps the procedures rely on: the run-time
// error messages and the table of numbered files.
bool RunStartUpSteps() {
  rt::BuildErrorMessageTable();
  rt::FileTable::Create();
  return true;
}

struct WindowApp {
  bool startedUp = RunStartUpSteps();
  TempFolder folder;
  platform::ScopedModuleFileName executable{folder.windowsPath() + u"\\Skiffwire.exe"};
  platform::ScopedHeadlessDisplay display;
  platform::ScopedMessageBoxPolicy boxes;
  ScopedUdpSocketClass socketClass;
  Form1Window form;

  std::u16string text(std::u16string_view name) const { return WindowText(form.windowOf(name)); }

  // What typing does: the characters arrive one by one at the focused box.
  void type(std::u16string_view name, std::u16string_view characters) {
    HWND box = form.windowOf(name);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
    for (char16_t ch : characters)
      SendMessageW(box, WM_CHAR, ch, 1);
  }
  void click(std::u16string_view name) { SendMessageW(form.windowOf(name), BM_CLICK, 0, 0); }
};

TEST(Form1Window, MemberIdsFollowTheDesignOrder) {
  const auto layout = Form1Layout();
  ASSERT_EQ(layout.size() + 1, member::kCount);
  const struct {
    DISPID id;
    std::u16string_view name;
  } cases[] = {
      {member::txtIpAddress, u"txtIpAddress"},
      {member::txtPort, u"txtPort"},
      {member::cmdConnect, u"cmdConnect"},
      {member::shpConnected, u"shpConnected"},
      {member::txtClearString, u"txtClearString"},
      {member::txtTestString, u"txtTestString"},
      {member::sckServer, u"sckServer"},
      {member::sckClient, u"sckClient"},
      {member::txtWaitState, u"txtWaitState"},
      {member::txtPacketLen, u"txtPacketLen"},
      {member::chkSTX, u"chkSTX"},
      {member::chkEOT, u"chkEOT"},
      {member::chkChecksum, u"chkChecksum"},
      {member::txtTimeOut, u"txtTimeOut"},
      {member::txtRetry, u"txtRetry"},
      {member::txtDatagram, u"txtDatagram"},
      {member::lblChecksum, u"lblChecksum"},
      {member::lblDatagramLength, u"lblDatagramLength"},
      {member::lblPacketQty, u"lblPacketQty"},
      {member::txtProcess, u"txtProcess"},
      {member::tmrTimeout, u"tmrTimeout"},
      {member::cmdSaveSettings, u"cmdSaveSettings"},
      {member::cmdString, u"cmdString"},
      {member::cmdClear, u"cmdClear"},
      {member::cmdClearDatagram, u"cmdClearDatagram"},
      {member::cmdSendDataGram, u"cmdSendDataGram"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout[static_cast<size_t>(c.id) - 1].name, c.name) << Utf8(c.name);
  }
  int titles = 0;
  for (const ControlLayout& control : layout) {
    if (std::u16string_view(control.name) == u"lblTitle") ++titles;
  }
  EXPECT_EQ(titles, 16);
}

TEST(Form1Window, ControlsSitInsideTheirContainers) {
  const auto layout = Form1Layout();
  for (const ControlLayout& control : layout) {
    if (control.container < 0) {
      EXPECT_LE(control.left + control.width, kForm1ClientWidth) << Utf8(control.name);
      EXPECT_LE(control.top + control.height, kForm1ClientHeight) << Utf8(control.name);
      continue;
    }
    const ControlLayout& frame = layout[static_cast<size_t>(control.container)];
    EXPECT_EQ(frame.controlClass, ControlClass::Frame) << Utf8(control.name);
    EXPECT_LE(control.left + control.width, frame.width) << Utf8(control.name);
    EXPECT_LE(control.top + control.height, frame.height) << Utf8(control.name);
  }
}

TEST(Form1Window, ShowsTheDesignDefaultsAfterTheSettingsBox) {
  OnFreshThread([] {
    WindowApp app;
    ASSERT_EQ(S_OK, app.form.status());
    app.form.show();
    ASSERT_EQ(app.boxes.boxes().size(), 1u);
    EXPECT_EQ(app.boxes.boxes()[0].caption, u"Setting file error");
    EXPECT_EQ(WindowText(app.form.hwnd()), u"Skiffwire Ver1.0a");
    EXPECT_TRUE(IsWindowVisible(app.form.hwnd()));
    const struct {
      std::u16string_view name, text;
    } cases[] = {
        {u"txtIpAddress", u"127.0.0.1"},
        {u"txtPort", u"8888"},
        {u"txtClearString", u"clear"},
        {u"txtTestString", u"Hello World!"},
        {u"txtWaitState", u"1"},
        {u"txtPacketLen", u"128"},
        {u"txtTimeOut", u"5000"},
        {u"txtRetry", u"3"},
        {u"cmdConnect", u"Connect"},
        {u"lblChecksum", u"00"},
        {u"fmeDataGramOptions", u"Transmit/Receive Options"},
    };
    for (const auto& c : cases)
      EXPECT_EQ(app.text(c.name), c.text) << Utf8(c.name);
    // Disconnected: the send buttons wait for a connection.
    EXPECT_FALSE(IsWindowEnabled(app.form.windowOf(u"cmdSendDataGram")));
    EXPECT_FALSE(IsWindowEnabled(app.form.windowOf(u"cmdString")));
    EXPECT_TRUE(IsWindowEnabled(app.form.windowOf(u"txtIpAddress")));
  });
}

TEST(Form1Window, TypingFollowsTheCountsAndClearingResetsThem) {
  OnFreshThread([] {
    WindowApp app;
    app.form.show();
    app.type(u"txtDatagram", u"Hello");
    EXPECT_EQ(app.text(u"lblDatagramLength"), u"5");
    EXPECT_EQ(app.text(u"lblPacketQty"), u"1");
    EXPECT_NE(app.text(u"lblChecksum"), u"00");
    app.click(u"cmdClearDatagram");
    EXPECT_EQ(app.text(u"txtDatagram"), u"");
    EXPECT_EQ(app.text(u"lblDatagramLength"), u"0");
    EXPECT_EQ(app.text(u"lblPacketQty"), u"0");
    EXPECT_EQ(app.text(u"lblChecksum"), u"00");
  });
}

TEST(Form1Window, TheLogBoxAppendsThroughTheSelection) {
  OnFreshThread([] {
    WindowApp app;
    app.form.show();
    ComPtr<ITextBox> box;
    const ComPtr<IUnknown>& slot = app.form.compiledForm().memberSlots()[member::txtDatagram];
    ASSERT_EQ(slot.As(box), S_OK);
    ASSERT_EQ(box->put_Text(Bstr(u"abc").get()), S_OK);
    ASSERT_EQ(box->put_SelStart(99), S_OK);
    LONG start = 0, length = -1;
    box->get_SelStart(&start);
    box->get_SelLength(&length);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(length, 0);
    ASSERT_EQ(box->put_SelText(Bstr(u"de").get()), S_OK);
    EXPECT_EQ(app.text(u"txtDatagram"), u"abcde");
    // The change handler followed: five characters now.
    EXPECT_EQ(app.text(u"lblDatagramLength"), u"5");
    box->put_SelStart(1);
    box->put_SelLength(2);
    Bstr selected;
    box->get_SelText(selected.out());
    EXPECT_EQ(std::u16string_view(selected.get(), selected.length()), u"bc");
    EXPECT_EQ(box->put_SelLength(-1), static_cast<HRESULT>(0x800A017C));
  });
}

TEST(Form1Window, ShowByNameThroughTheStartupObject) {
  OnFreshThread([] {
    WindowApp app;
    ComPtr<Form1Startup> startup = rt::MakeComObject<Form1Startup>(&app.form);
    for (const char16_t* name : {u"Show", u"show", u"SHOW"}) {
      LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
      DISPID id = DISPID_UNKNOWN;
      EXPECT_EQ(S_OK, startup->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
      EXPECT_EQ(id, Form1Startup::kShow);
    }
    LPOLESTR hide[] = {const_cast<LPOLESTR>(u"Hide")};
    DISPID id = 0;
    EXPECT_EQ(startup->GetIDsOfNames(IID_NULL, hide, 1, 0, &id), DISP_E_UNKNOWNNAME);
    DISPPARAMS none{};
    ASSERT_EQ(S_OK, startup->Invoke(Form1Startup::kShow, IID_NULL, 0, DISPATCH_METHOD, &none,
                                    nullptr, nullptr, nullptr));
    EXPECT_TRUE(IsWindowVisible(app.form.hwnd()));
    startup->forget();
  });
}

TEST(Form1Window, ClosingRunsTheUnloadHandlerAndEndsTheLoop) {
  OnFreshThread([] {
    WindowApp app;
    app.form.show();
    SendMessageW(app.form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(app.form.hwnd()));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
  });
}

// The caption of a label object through its member interface.
std::u16string CaptionOf(IDispatch* label) {
  ComPtr<ILabel> members;
  if (!label || FAILED(label->QueryInterface(IID_ILabel, reinterpret_cast<void**>(&members)))) {
    return u"(no label)";
  }
  Bstr caption;
  members->get_Caption(caption.out());
  return std::u16string(caption.get() ? caption.get() : u"", caption.length());
}

TEST(Form1Window, TheSixteenCaptionLabelsAreOneArray) {
  OnFreshThread([] {
    WindowApp app;
    app.form.show();
    rt::ControlArray& titles = app.form.titles();
    LONG count = 0, upper = 0;
    titles.get_Count(&count);
    titles.get_UBound(&upper);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(upper, 15);
    const struct {
      LONG index;
      std::u16string_view caption;
    } cases[] = {{0, u"IP Address :"},    {1, u"Port :"}, {4, u"Tx Wait State"},   {5, u"mS"},
                 {10, u"Retry Attempts"}, {14, u"Hex"},   {15, u"Est. Packet Qty"}};
    for (const auto& c : cases) {
      ComPtr<IDispatch> label;
      ASSERT_EQ(titles.Item(c.index, &label), S_OK) << c.index;
      EXPECT_EQ(CaptionOf(label.Get()), c.caption) << c.index;
    }
    // By the array's name, in any case, the collection answers the array.
    ComPtr<IDispatch> found;
    ASSERT_EQ(app.form.controlsCollection().item(Variant::Str(u"LBLTITLE"), &found), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(found.Get()), titles.unknown());
    ASSERT_EQ(app.form.controlsCollection().item(Variant::Str(u"txtport"), &found), S_OK);
    EXPECT_EQ(app.form.windowOfControl(found.Get()), app.form.windowOf(u"txtPort"));
    EXPECT_EQ(app.form.controlsCollection().item(Variant::Str(u"txtPorts"), &found),
              static_cast<HRESULT>(0x800A02DB));
    // "Count" by name, as late-bound code asks for it.
    for (const char16_t* name : {u"Count", u"count", u"COUNT"}) {
      LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
      DISPID id = 0;
      EXPECT_EQ(titles.GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
      EXPECT_EQ(id, 1);
    }
  });
}

TEST(Form1Window, ALoadedCaptionLabelIsANewHiddenWindow) {
  OnFreshThread([] {
    WindowApp app;
    app.form.show();
    rt::ControlArray& titles = app.form.titles();
    ASSERT_EQ(rt::LoadArrayElement(titles, 20), S_OK);
    LONG count = 0, upper = 0;
    titles.get_Count(&count);
    titles.get_UBound(&upper);
    EXPECT_EQ(count, 17);
    EXPECT_EQ(upper, 20);
    HWND added = app.form.windowOfControl(titles.elementAt(20));
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(IsWindowVisible(added));
    EXPECT_EQ(WindowText(added), u"IP Address :");
    EXPECT_EQ(GetParent(added), app.form.windowOf(u"fmeConnection"));
    // Designed labels stay; the loaded one goes with its window.
    EXPECT_EQ(rt::UnloadArrayElement(titles, 0), static_cast<HRESULT>(0x800A016A));
    ASSERT_EQ(rt::UnloadArrayElement(titles, 20), S_OK);
    EXPECT_FALSE(IsWindow(added));
  });
}

TEST(Form1Window, ATransmissionAnsweredNakThenAck) {
  OnFreshThread([] {
    const uint16_t port = FreeUdpPort();
    PeerProcess peer({"--bind", "127.0.0.2", "--port", std::to_string(port), "--reply", "ack",
                      "--nak-first", "1"});
    ASSERT_TRUE(peer.listening());
    WindowApp app;
    app.form.show();
    app.type(u"txtIpAddress", u"127.0.0.2");
    app.type(u"txtPort", Utf16(std::to_string(port)));
    app.click(u"cmdConnect");
    ASSERT_EQ(app.text(u"cmdConnect"), u"Disconnect");
    app.type(u"txtDatagram", u"over real windows");
    app.click(u"cmdSendDataGram");
    ASSERT_TRUE(PumpUntil([&] {
      const auto lines = LogLines(app.text(u"txtProcess"));
      return !lines.empty() && lines.back() == u"---- End Transmission ----";
    }));
    const std::vector<std::u16string> lines = LogLines(app.text(u"txtProcess"));
    const auto count = [&](std::u16string_view suffix) {
      int n = 0;
      for (const std::u16string& line : lines) {
        if (line.ends_with(suffix)) ++n;
      }
      return n;
    };
    EXPECT_EQ(count(u"NAK Received"), 1);
    EXPECT_EQ(count(u"ACK Received"), 1);
    EXPECT_EQ(count(u"---- Transmission attempt 2 ----"), 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
      ASSERT_TRUE(peer.waitFor("bytes: \"over real windows\"")) << attempt;
    }
  });
}

}  // namespace
}  // namespace skiffwire::testing
