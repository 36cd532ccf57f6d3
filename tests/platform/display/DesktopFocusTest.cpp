// The reconciliation of the desktop's focus reports with the platform's own
// activations, step by step on a given clock.
#include "internal/DesktopFocus.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using platform::internal::DesktopFocus;
using Change = DesktopFocus::Change;

HWND const kMain = reinterpret_cast<HWND>(0x10);
HWND const kOther = reinterpret_cast<HWND>(0x20);
HWND const kBox = reinterpret_cast<HWND>(0x30);

struct Step {
  enum Kind { Activated, ActivatedAgreed, Pressed, Forget, Observed } kind;
  HWND hwnd;
  uint32_t now;
  std::optional<Change> expected;  // Observed only
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
};

TEST(DesktopFocus, ReportsAreReconciledWithThePlatformsActivations) {
  const Scenario scenarios[] = {
      {"the user focuses another window, then another program",
       {{Step::Observed, kMain, 0, Change{kMain, true}},
        {Step::Observed, kMain, 5, std::nullopt},
        {Step::Observed, kOther, 10, Change{kOther, true}},
        {Step::Observed, nullptr, 20, Change{kOther, false}},
        {Step::Observed, nullptr, 30, std::nullopt}}},
      {"a stale report while the desktop has not followed the platform",
       {{Step::Observed, kMain, 0, Change{kMain, true}},
        {Step::Activated, kBox, 100, {}},
        {Step::Observed, kMain, 150, std::nullopt},
        {Step::Observed, kBox, 200, std::nullopt},
        {Step::Observed, kMain, 300, Change{kMain, true}}}},
      {"a refused request stops holding reports back after a while",
       {{Step::Activated, kBox, 100, {}},
        {Step::Observed, kMain, 100 + DesktopFocus::kRaiseWaitMs - 1, std::nullopt},
        {Step::Observed, kMain, 100 + DesktopFocus::kRaiseWaitMs, Change{kMain, true}}}},
      {"or as soon as the user presses a button",
       {{Step::Activated, kBox, 100, {}},
        {Step::Pressed, nullptr, 120, {}},
        {Step::Observed, kOther, 130, Change{kOther, true}}}},
      {"an activation the desktop agrees with needs no confirmation",
       {{Step::ActivatedAgreed, kMain, 0, {}},
        {Step::Observed, kMain, 1, std::nullopt},
        {Step::Observed, kOther, 2, Change{kOther, true}}}},
      {"a destroyed window is forgotten",
       {{Step::Observed, kOther, 0, Change{kOther, true}},
        {Step::Forget, kOther, 1, {}},
        {Step::Observed, nullptr, 2, std::nullopt},
        {Step::Activated, kBox, 3, {}},
        {Step::Forget, kBox, 4, {}},
        {Step::Observed, kMain, 5, Change{kMain, true}}}},
  };
  for (const Scenario& scenario : scenarios) {
    DesktopFocus focus;
    int index = 0;
    for (const Step& step : scenario.steps) {
      switch (step.kind) {
        case Step::Activated:
          focus.platformActivated(step.hwnd, false, step.now);
          break;
        case Step::ActivatedAgreed:
          focus.platformActivated(step.hwnd, true, step.now);
          break;
        case Step::Pressed:
          focus.userPressed();
          break;
        case Step::Forget:
          focus.forget(step.hwnd);
          break;
        case Step::Observed:
          EXPECT_EQ(focus.observed(step.hwnd, step.now), step.expected)
              << scenario.name << ", step " << index;
          break;
      }
      ++index;
    }
  }
}

}  // namespace
