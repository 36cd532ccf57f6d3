// Split and Val on long texts; the number texts written once per datagram.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/oleauto.h"
#include "runtime/core/Val.h"
#include "runtime/library/NumberText.h"
#include "runtime/library/Split.h"

namespace {

// "a,a,a,..." of the given length.
Bstr Separated(size_t length, std::u16string_view piece, std::u16string_view delimiter) {
  std::u16string text;
  text.reserve(length + piece.size() + delimiter.size());
  while (text.size() < length) {
    text += piece;
    text += delimiter;
  }
  text.resize(length);
  return Bstr(text);
}

void SplitBinary(benchmark::State& state, std::u16string_view piece,
                 std::u16string_view delimiter) {
  const Bstr text = Separated(static_cast<size_t>(state.range(0)), piece, delimiter);
  const Variant separator = Variant::Str(delimiter);
  for (auto _ : state) {
    Variant result;
    rt::Split(text.get(), separator, -1, rt::kBinaryCompare, result.out());
    benchmark::DoNotOptimize(result.parray);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SplitOneCharacter(benchmark::State& state) {
  SplitBinary(state, u"a", u",");
}
BENCHMARK(BM_SplitOneCharacter)
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_SplitWords(benchmark::State& state) {
  SplitBinary(state, u"payload", u" ");
}
BENCHMARK(BM_SplitWords)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_SplitLongDelimiterNeverMatching(benchmark::State& state) {
  // The worst case for a naive search: every position almost matches.
  const Bstr text(std::u16string(static_cast<size_t>(state.range(0)), u'a'));
  const Variant separator = Variant::Str(std::u16string(1000, u'a') + u"b");
  for (auto _ : state) {
    Variant result;
    rt::Split(text.get(), separator, -1, rt::kBinaryCompare, result.out());
    benchmark::DoNotOptimize(result.parray);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SplitLongDelimiterNeverMatching)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_SplitTextMode(benchmark::State& state) {
  const Bstr text = Separated(static_cast<size_t>(state.range(0)), u"a", u"X");
  const Variant separator = Variant::Str(u"x");
  for (auto _ : state) {
    Variant result;
    rt::Split(text.get(), separator, -1, rt::kTextCompare, result.out());
    benchmark::DoNotOptimize(result.parray);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SplitTextMode)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ValSpaced(benchmark::State& state) {
  // Digits separated by spaces, all removed before parsing.
  const Bstr text = Separated(static_cast<size_t>(state.range(0)), u"1", u" ");
  for (auto _ : state) {
    double value = 0;
    benchmark::DoNotOptimize(rt::ValOfText(text.get(), &value));
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ValSpaced)->Arg(1'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_ValNumberThenText(benchmark::State& state) {
  std::u16string text = u"  42.5e1";
  text.append(static_cast<size_t>(state.range(0)), u'x');
  const Bstr b(text);
  for (auto _ : state) {
    double value = 0;
    benchmark::DoNotOptimize(rt::ValOfText(b.get(), &value));
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ValNumberThenText)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The elapsed-time prefix of a log line: seconds 0.000 to 99.999.
void BM_FormatTimestamp(benchmark::State& state) {
  int milliseconds = 0;
  for (auto _ : state) {
    const double elapsed = milliseconds / 1000.0;
    milliseconds = milliseconds == 99'999 ? 0 : milliseconds + 1;
    Bstr text;
    rt::Format(Variant::R8(elapsed), Variant::Str(u"#0.##0"), 1, 1, text.out());
    benchmark::DoNotOptimize(text.get());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatTimestamp);

// A packet's number and count, as the log writes them.
void BM_StrInteger(benchmark::State& state) {
  SHORT value = -32768;
  for (auto _ : state) {
    Bstr text;
    rt::Str(Variant::I2(value), text.out());
    benchmark::DoNotOptimize(text.get());
    value = static_cast<SHORT>(value + 7);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StrInteger);

}  // namespace
