// The log grows through the text box's selection. Each transmission here is
// also played, line by line, through the append as first written (read Text,
// concatenate, write Text; scroll by setting SelStart to the length) on a box
// of its own: the log's text, the Change events and the selection must come
// out the same after every step.
#include <gtest/gtest.h>

#include <cstdio>

#include "Form1TestSupport.h"
#include "platform/clock.h"
#include "support/simulated/SimulatedTextBox.h"

namespace skiffwire::testing {
namespace {

constexpr uint64_t kStart = 2000000;

// Counts a text box's Change events.
class ChangeCounter {
 public:
  explicit ChangeCounter(IUnknown* box)
      : sink_(rt::MakeComObject<rt::EventSink>(DIID_TextBoxEvents,
                                               [this](DISPID event, const DISPPARAMS&) {
                                                 if (event == kChangeEvent) ++changes_;
                                                 return S_OK;
                                               })) {
    EXPECT_EQ(sink_->connect(box), S_OK);
  }
  ~ChangeCounter() { sink_->disconnect(); }
  int changes() const { return changes_; }

 private:
  int changes_ = 0;
  ComPtr<rt::EventSink> sink_;
};

// The log append and scroll as first written (read Text, concatenate,
// write Text; SelStart set to the length), on an in-memory box of its own.
class WholeTextLog {
 public:
  WholeTextLog() : box_(rt::MakeComObject<SimulatedTextBox>()), changes_(box_->unknown()) {}

  void start(std::u16string_view line) {
    box_->put_Text(Bstr(std::u16string(line) + u"\r\n").get());
  }
  void append(std::u16string_view line) {
    Bstr log;
    box_->get_Text(log.out());
    box_->put_Text(Bstr(std::u16string(log.view()) + std::u16string(line) + u"\r\n").get());
  }
  void append(const std::vector<std::u16string>& lines) {
    for (const std::u16string& line : lines)
      append(line);
  }
  void scroll() {
    Bstr log;
    box_->get_Text(log.out());
    box_->put_SelStart(static_cast<LONG>(log.length()));
  }
  void select(LONG start, LONG length) {
    box_->put_SelStart(start);
    box_->put_SelLength(length);
  }

  const SimulatedTextBox& box() const { return *box_; }
  int changes() const { return changes_.changes(); }

 private:
  ComPtr<SimulatedTextBox> box_;
  ChangeCounter changes_;
};

// The log lines one attempt of ABCDEFGHIJ in packets of 4 appends with all
// three options, its timestamps from `ms` on (1 ms of wait state after each
// datagram, 10 ms more after the markers and the checksum).
std::vector<std::u16string> AttemptLines(int attempt, int ms) {
  auto at = [&](int offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d - ", (ms + offset) / 1000, (ms + offset) % 1000);
    return Utf16(text);
  };
  return {u"---- Timeout timer disabled ----",
          u"---- Transmission attempt " + Utf16(std::to_string(attempt)) + u" ----",
          at(0) + u"STX Sent",
          at(11) + u"Sending packet  1 of  3",
          at(12) + u"Sending packet  2 of  3",
          at(13) + u"Sending packet  3 of  3",
          at(14) + u"CRC Sent",
          at(25) + u"EOT Sent",
          u"---- Timeout timer enabled ----"};
}

// A connected application whose peer is a plain socket at 127.0.0.2, the
// log's Change events counted, and the whole-text log beside it.
struct LogBench {
  platform::ScopedVirtualClock clock{kStart};
  uint16_t port = FreeUdpPort();
  TestSocket peer{"127.0.0.2", port, true};
  TestSocket replier{"127.0.0.3", 0, false};
  TestApp app;
  ChangeCounter changes{app.ui.txtProcess->object()};
  WholeTextLog reference;

  LogBench() {
    app.connect(u"127.0.0.2", port);
    app.ui.txtPacketLen->type(u"4");
    app.ui.txtDatagram->type(u"ABCDEFGHIJ");
  }

  void reply(const char* text) {
    const auto before = app.ui.server().eventsRaised();
    ASSERT_TRUE(replier.sendTo("127.0.0.1", port, text));
    ASSERT_TRUE(PumpUntil([&] { return app.ui.server().eventsRaised() > before; }));
  }

  void expectSame(const char* step) const {
    const TextBoxDriver& log = *app.ui.txtProcess;
    EXPECT_EQ(Utf8(log.text()), Utf8(reference.box().text())) << step;
    EXPECT_EQ(changes.changes(), reference.changes()) << step;
    EXPECT_EQ(log.selStart(), reference.box().selStart()) << step;
    EXPECT_EQ(log.selLength(), reference.box().selLength()) << step;
  }
};

TEST(LogAppend, AnAcknowledgedTransmissionLogsAsWritingTheWholeTextDoes) {
  OnFreshThread([] {
    LogBench bench;
    WholeTextLog& reference = bench.reference;
    bench.app.ui.cmdSendDataGram->click();
    reference.start(u"---- Start transmission ----");
    reference.append(AttemptLines(1, 0));
    reference.scroll();
    bench.expectSame("sent");

    bench.reply("ACK");
    reference.append(u"0.036 - ACK Received");
    reference.append(u"---- Timeout timer disabled ----");
    reference.append(u"---- End Transmission ----");
    reference.scroll();
    bench.expectSame("acknowledged");
    EXPECT_EQ(bench.app.ui.txtProcess->selStart(),
              static_cast<LONG>(bench.app.ui.txtProcess->text().size()));
  });
}

TEST(LogAppend, NakRetriesUpToTheLimitLogAsWritingTheWholeTextDoes) {
  OnFreshThread([] {
    LogBench bench;
    WholeTextLog& reference = bench.reference;
    bench.app.ui.cmdSendDataGram->click();
    reference.start(u"---- Start transmission ----");
    reference.append(AttemptLines(1, 0));
    reference.scroll();
    for (int attempt = 2; attempt <= 4; ++attempt) {
      bench.reply("NAK");
      const int ms = 36 * (attempt - 1);
      char received[48];
      std::snprintf(received, sizeof received, "0.%03d - NAK Received", ms);
      reference.append(Utf16(received));
      if (attempt <= 3) {
        reference.append(AttemptLines(attempt, ms));
        reference.scroll();  // the end of the attempt
      } else {
        reference.append(u"---- Timeout timer disabled ----");
        reference.append(u"---- Transmission attempt 4 ----");
        reference.append(u"---- Maximum retry limit reached ----");
      }
      reference.scroll();  // the end of the reply's handler
      bench.expectSame(("after NAK " + std::to_string(attempt - 1)).c_str());
    }
  });
}

TEST(LogAppend, ATimeOutLogsAsWritingTheWholeTextDoesAndDropsTheSelection) {
  OnFreshThread([] {
    LogBench bench;
    WholeTextLog& reference = bench.reference;
    bench.app.ui.cmdSendDataGram->click();
    reference.start(u"---- Start transmission ----");
    reference.append(AttemptLines(1, 0));
    reference.scroll();

    // The user selects part of the log while waiting; the time-out's line
    // writes the text anew, which drops the selection and is not scrolled.
    bench.app.ui.txtProcess->put_SelStart(5);
    bench.app.ui.txtProcess->put_SelLength(7);
    reference.select(5, 7);
    bench.clock.advance(5000);
    ASSERT_TRUE(PumpUntil([&] { return bench.app.ui.tmrTimeout->ticks() == 1; }));
    reference.append(u"---- Tx/Rx timeout error ----");
    bench.expectSame("timed out");
    EXPECT_EQ(bench.app.ui.txtProcess->selStart(), 0);

    // A reply while timed out is not read; the log is only scrolled.
    bench.reply("ACK");
    reference.scroll();
    bench.expectSame("late reply");
  });
}

TEST(LogAppend, AnUnknownReplyLogsAsWritingTheWholeTextDoes) {
  OnFreshThread([] {
    LogBench bench;
    WholeTextLog& reference = bench.reference;
    bench.app.ui.cmdSendDataGram->click();
    reference.start(u"---- Start transmission ----");
    reference.append(AttemptLines(1, 0));
    reference.scroll();
    bench.reply("");
    reference.append(u"0.036 -  Received");
    reference.scroll();
    bench.expectSame("empty reply");

    // A second start replaces the whole log.
    bench.app.ui.cmdSendDataGram->click();
    reference.start(u"---- Start transmission ----");
    reference.append(AttemptLines(1, 0));
    reference.scroll();
    bench.expectSame("second start");
  });
}

// What the messages pumped for an unknown reply see: the caret where
// writing the whole log would have left it (at the start), not where the
// appended line left it.
struct CaretWatch {
  static CaretWatch*& current() {
    static thread_local CaretWatch* watch = nullptr;
    return watch;
  }
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && current()) {
      current()->seen.push_back(current()->box->selStart());
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  const TextBoxDriver* box = nullptr;
  std::vector<LONG> seen;
};

TEST(LogAppend, MessagesPumpedForAnUnknownReplySeeTheCaretAtTheStart) {
  OnFreshThread([] {
    LogBench bench;
    bench.app.ui.cmdSendDataGram->click();
    ASSERT_GT(bench.app.ui.txtProcess->selStart(), 0);  // scrolled to the end

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CaretWatch::Procedure;
    wc.lpszClassName = u"LogAppendCaretWatch";
    RegisterClassExW(&wc);
    HWND watcher = CreateWindowExW(0, u"LogAppendCaretWatch", u"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                   nullptr, nullptr);
    CaretWatch watch;
    watch.box = bench.app.ui.txtProcess.get();
    CaretWatch::current() = &watch;
    // The received line's Change queues a message; DoEvents delivers it.
    ComPtr<rt::EventSink> poster =
        rt::MakeComObject<rt::EventSink>(DIID_TextBoxEvents, [&](DISPID event, const DISPPARAMS&) {
          if (event == kChangeEvent && watch.box->text().ends_with(u" Received\r\n"))
            PostMessageW(watcher, WM_APP, 0, 0);
          return S_OK;
        });
    ASSERT_EQ(poster->connect(bench.app.ui.txtProcess->object()), S_OK);
    bench.reply("junk");
    EXPECT_EQ(bench.app.ui.yields(), 1);
    EXPECT_EQ(watch.seen, std::vector<LONG>{0});
    // The handler then scrolls the log to its end.
    EXPECT_EQ(bench.app.ui.txtProcess->selStart(),
              static_cast<LONG>(bench.app.ui.txtProcess->text().size()));
    poster->disconnect();
    CaretWatch::current() = nullptr;
    DestroyWindow(watcher);
  });
}

}  // namespace
}  // namespace skiffwire::testing
