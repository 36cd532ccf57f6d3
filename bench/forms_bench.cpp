// The forms engine's costs: one yield-to-events call with an empty queue and
// with one posted message, and a handle-to-record lookup.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/display.h"
#include "runtime/com/ComObject.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/HwndMap.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"

namespace {

class BenchForm final : public rt::ComObject<BenchForm, rt::EngineControl> {
 public:
  void attachRecord(rt::ControlRecord&) override {}
  HRESULT fillWindowRecord(rt::WindowRecord& w) override {
    w.className = u"BrammelForm";
    w.text = u"Bench";
    return S_OK;
  }
  HRESULT raiseEvent(DISPID, std::span<Variant>) override { return S_OK; }
  void formSettings(rt::FormSettings& s) override {
    s.clientWidth = 200;
    s.clientHeight = 100;
  }

 private:
  friend class rt::ComObject<BenchForm, rt::EngineControl>;
  ~BenchForm() override = default;
};

// A loaded, shown form, so the yield function sees a real engine.
class LoadedForm {
 public:
  LoadedForm() : form_(ComPtr<BenchForm>::Adopt(new BenchForm)) {
    rt::FormStateOf(form_.Get());
    rt::Show(form_.Get(), 0, nullptr);
    while (rt::Yield() && HasMessage()) {
    }
  }
  ~LoadedForm() { rt::ResetEngineContext(); }
  HWND hwnd() const { return rt::FindFormState(form_.Get())->windowHandle; }

 private:
  static bool HasMessage() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  }
  ComPtr<BenchForm> form_;
};

void BM_YieldEmptyQueue(benchmark::State& state) {
  platform::ScopedHeadlessDisplay display;
  LoadedForm form;
  for (auto _ : state)
    benchmark::DoNotOptimize(rt::Yield());
}
BENCHMARK(BM_YieldEmptyQueue);

void BM_YieldOnePostedMessage(benchmark::State& state) {
  platform::ScopedHeadlessDisplay display;
  LoadedForm form;
  HWND hwnd = form.hwnd();
  for (auto _ : state) {
    PostMessageW(hwnd, WM_APP, 0, 0);
    benchmark::DoNotOptimize(rt::Yield());
  }
}
BENCHMARK(BM_YieldOnePostedMessage);

void BM_HwndMapFind(benchmark::State& state) {
  rt::HwndMap map;
  std::vector<rt::WindowRecord> records(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < records.size(); ++i) {
    map.insert(reinterpret_cast<HWND>((i + 1) * 0x10), &records[i]);
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.find(reinterpret_cast<HWND>((i % records.size() + 1) * 0x10)));
    ++i;
  }
}
BENCHMARK(BM_HwndMapFind)->Arg(64)->Arg(4096);

}  // namespace
