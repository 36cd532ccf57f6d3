// The real TextBox of a headless form: a log that grows by lines appended
// through SelStart/SelText as the application appends them, and one typed
// character in a 1 MB text, from the key through the Change event to the
// repainted box.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "runtime/com/EventSink.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/TextBox.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"

namespace {

// A caret position beyond any text: the box puts the caret at the end.
constexpr LONG kPastTheEnd = 0x7FFFFFFF;
constexpr size_t kPayloadCharacters = 1 << 20;

void Settle() {
  for (int i = 0; i < 4; ++i)
    rt::Yield();
}

// A shown form holding one multi-line TextBox with a vertical scroll bar, the
// size of the application's log, and a sink counting its Change events.
class LogForm {
 public:
  LogForm() {
    rt::StartEngine();
    form_ = rt::MakeComObject<rt::Form>();
    form_->settings_.clientWidth = 480;
    form_->settings_.clientHeight = 320;
    rt::FormState& state = *rt::FormStateOf(form_.Get());
    box_ = rt::MakeComObject<rt::TextBox>();
    rt::ControlRecord& record = rt::BuildControlRecord(state, nullptr, box_.Get());
    record.placement = {96, 180, 330, 6180, 3030};
    box_->multiLine_ = VARIANT_TRUE;
    box_->scrollBars_ = 2;
    changes_ = rt::MakeComObject<rt::EventSink>(skiffwire::DIID_TextBoxEvents,
                                                [this](DISPID id, const DISPPARAMS&) {
                                                  if (id == rt::kTextBoxChange) ++changes;
                                                  return S_OK;
                                                });
    changes_->connect(box_->dispatch());
    rt::Show(form_.Get(), 0, nullptr);
    Settle();
  }
  ~LogForm() {
    changes_->disconnect();
    rt::ResetEngineContext();
  }
  LogForm(const LogForm&) = delete;
  LogForm& operator=(const LogForm&) = delete;

  rt::TextBox& box() { return *box_; }
  size_t changes = 0;

 private:
  ComPtr<rt::Form> form_;
  ComPtr<rt::TextBox> box_;
  ComPtr<rt::EventSink> changes_;
};

std::u16string LogLine(size_t n) {
  std::string line = "12:34:56 Sending packet " + std::to_string(n) + " of 30000: x\r\n";
  return std::u16string(line.begin(), line.end());
}

// N lines appended to an empty log in one handler, as the application's
// appendLog does (the caret put past the end, then each line as SelText),
// the caret settled at the start and the log scrolled to its end, then the
// loop paints. Reports microseconds per line: constant in N when an append
// costs the line and not the log. (The counter is CPU time per line.)
void BM_TextBoxLogAppend(benchmark::State& state) {
  const auto lines = static_cast<size_t>(state.range(0));
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedHeadlessDisplay display({1024, 768}, 96);
  LogForm form;
  std::vector<Bstr> texts;
  for (size_t i = 0; i < lines; ++i)
    texts.emplace_back(LogLine(i));
  Bstr empty(u"");
  size_t changes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    form.box().put_Text(empty.get());
    Settle();
    const size_t before = form.changes;
    state.ResumeTiming();
    form.box().put_SelStart(kPastTheEnd);
    for (const Bstr& text : texts)
      form.box().put_SelText(text.get());
    form.box().put_SelStart(0);
    form.box().put_SelStart(kPastTheEnd);
    Settle();
    changes += form.changes - before;
  }
  const auto appended = static_cast<double>(lines * state.iterations());
  state.counters["us_per_line"] =
      benchmark::Counter(appended, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                         benchmark::Counter::kIs1000);
  state.counters["changes_per_line"] = static_cast<double>(changes) / appended;
}
BENCHMARK(BM_TextBoxLogAppend)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// N lines into an empty log, one handler per line: `handleLine` logs line
// i, then the loop paints. Reports microseconds per line.
template <typename HandleLine>
void LogLinePerHandler(benchmark::State& state, HandleLine handleLine) {
  const auto lines = static_cast<size_t>(state.range(0));
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedHeadlessDisplay display({1024, 768}, 96);
  LogForm form;
  Bstr empty(u"");
  for (auto _ : state) {
    state.PauseTiming();
    form.box().put_Text(empty.get());
    Settle();
    state.ResumeTiming();
    for (size_t i = 0; i < lines; ++i) {
      handleLine(form.box(), Bstr(LogLine(i)));
      rt::Yield();
    }
  }
  state.counters["us_per_line"] = benchmark::Counter(
      static_cast<double>(lines * state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

// The same lines, the loop painting after every line (a handler per line).
void BM_TextBoxLogAppendPaintedPerLine(benchmark::State& state) {
  LogLinePerHandler(state, [](rt::TextBox& box, const Bstr& line) {
    box.put_SelStart(kPastTheEnd);
    box.put_SelText(line.get());
  });
}
BENCHMARK(BM_TextBoxLogAppendPaintedPerLine)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A line per handler as a reply's handler logs it: the caret past the end,
// the line, the caret settled at the start, the log scrolled to its end,
// then the loop paints.
void BM_TextBoxLogReplyPerLine(benchmark::State& state) {
  LogLinePerHandler(state, [](rt::TextBox& box, const Bstr& line) {
    box.put_SelStart(kPastTheEnd);
    box.put_SelText(line.get());
    box.put_SelStart(0);
    box.put_SelStart(kPastTheEnd);
  });
}
BENCHMARK(BM_TextBoxLogReplyPerLine)->Arg(1000)->Unit(benchmark::kMillisecond);

// One character typed into the middle of a 1 MB text (WM_CHAR to the edit
// window), its Change event raised, and the box repainted by the loop. The
// text is lines of 64 characters, or with range 1 a single paragraph of
// words that the box wraps.
void BM_TextBoxTypedCharacter1MB(benchmark::State& state) {
  const bool oneParagraph = state.range(0) != 0;
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedHeadlessDisplay display({1024, 768}, 96);
  LogForm form;
  std::u16string payload;
  payload.reserve(kPayloadCharacters);
  while (payload.size() + 64 <= kPayloadCharacters)
    payload += oneParagraph ? u"words of a long payload that wraps over many lines, in 64 chars "
                            : std::u16string(62, u'x') + u"\r\n";
  form.box().put_Text(Bstr(payload).get());
  const HWND edit = form.box().hwnd();
  SetFocus(edit);
  form.box().put_SelStart(static_cast<LONG>(payload.size() / 2));
  Settle();
  const size_t before = form.changes;
  bool typing = true;
  for (auto _ : state) {
    // Typing and erasing in turn keeps the text's length.
    SendMessageW(edit, WM_CHAR, typing ? u'y' : u'\b', 0);
    typing = !typing;
    rt::Yield();
  }
  state.counters["changes_per_key"] =
      static_cast<double>(form.changes - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TextBoxTypedCharacter1MB)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
