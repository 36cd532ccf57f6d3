// Tab order, option groups, initial focus and the default-button look.
#include <climits>
#include <vector>

#include "platform/controls.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/internal/FormInternals.h"
#include "runtime/forms/internal/Navigation.h"

namespace rt {
namespace {

constexpr int32_t NoTabIndex = INT32_MAX;
constexpr int32_t BeforeEveryIndex = static_cast<int32_t>(0x80000001);

int32_t TabIndexOf(ControlRecord& record) {
  EngineControl* object = ObjectOf(record);
  int32_t index = NoTabIndex;
  if (!object || !object->tabIndex(&index)) return NoTabIndex;
  return index;
}

bool IsCandidate(ControlRecord& record) {
  if (record.removed || !record.window.allowsFocus) return false;
  EngineControl* object = ObjectOf(record);
  if (!object) return false;
  if (record.container) {
    if (auto container = QueryInterfaceOf<EngineContainer>(ObjectOf(*record.container))) {
      if (!container->childCanTakeFocus(record)) return false;
    }
  }
  if (HWND hwnd = record.window.hwnd) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (!(style & WS_TABSTOP) || !(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
  } else {
    if (!record.window.className.empty()) return false;  // a window not created yet
    if (!object->tabStop() || !object->visible() || !object->enabled()) return false;
  }
  return TabIndexOf(record) != NoTabIndex;
}

void CollectCandidates(ControlRecord& container, bool descend, std::vector<ControlRecord*>& out) {
  for (ControlRecord* child : container.children) {
    if (child->removed) continue;
    if (IsCandidate(*child)) out.push_back(child);
    if (descend && !child->children.empty()) CollectCandidates(*child, true, out);
  }
}

// Forward: the smallest index above the position, else the smallest overall.
// Backward: the same over negated indexes. Ties go to the first met.
ControlRecord* Choose(const std::vector<ControlRecord*>& candidates, int32_t position,
                      bool backward, bool wrap) {
  ControlRecord* next = nullptr;
  ControlRecord* first = nullptr;
  int64_t nextKey = INT64_MAX, firstKey = INT64_MAX;
  const int64_t pos = backward ? -static_cast<int64_t>(position) : position;
  for (ControlRecord* candidate : candidates) {
    const int64_t key =
        backward ? -static_cast<int64_t>(TabIndexOf(*candidate)) : TabIndexOf(*candidate);
    if (key < firstKey) {
      firstKey = key;
      first = candidate;
    }
    if (key > pos && key < nextKey) {
      nextKey = key;
      next = candidate;
    }
  }
  if (next) return next;
  return wrap ? first : nullptr;
}

int32_t PositionOf(ControlRecord* from) {
  if (!from || !from->window.allowsFocus) return BeforeEveryIndex;
  return TabIndexOf(*from);
}

LONG ValueOf(ControlRecord& record) {
  LONG value = 0;
  if (EngineControl* object = ObjectOf(record)) object->getDefaultValue(&value);
  return value;
}

// The option-group rule: landing on an option whose value is 0 moves to the
// set option of its container, or sets the landed-on one.
ControlRecord* ApplyOptionGroup(ControlRecord& target) {
  if (!target.window.optionStyle || ValueOf(target) != 0 || !target.container) return &target;
  std::vector<ControlRecord*> siblings;
  CollectCandidates(*target.container, false, siblings);
  for (ControlRecord* sibling : siblings) {
    if (sibling->window.optionStyle && ValueOf(*sibling) != 0) return sibling;
  }
  if (EngineControl* object = ObjectOf(target)) object->setDefaultValue(-1);
  return &target;
}

LRESULT DialogCode(HWND hwnd) {
  return hwnd ? SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) : 0;
}

}  // namespace

ControlRecord* NextTabCandidate(FormState& form, ControlRecord* from, bool backward) {
  std::vector<ControlRecord*> candidates;
  CollectCandidates(form.root(), true, candidates);
  // Inside a windowless form the focus may leave it: no wrap-around.
  return Choose(candidates, PositionOf(from), backward, !form.windowless);
}

ControlRecord* NextGroupCandidate(ControlRecord& current, bool backward) {
  std::vector<ControlRecord*> candidates;
  CollectCandidates(*current.container, false, candidates);
  return Choose(candidates, PositionOf(&current), backward, true);
}

bool FocusControl(FormState& form, ControlRecord& requested) {
  FormStateRef hold(&form);
  ControlRecord* target = ApplyOptionGroup(requested);
  ComPtr<EngineControl> object(ObjectOf(*target));
  if (!object) return false;
  if (!object->validate()) return false;
  SetActiveControl(form, target);
  if (HWND hwnd = target->window.hwnd) SetFocus(hwnd);
  return true;
}

void SetInitialFocus(FormState& form) {
  if (ControlRecord* first = NextTabCandidate(form, nullptr, false)) FocusControl(form, *first);
}

void SetInitialFocusIfOutside(FormState& form) {
  HWND focus = GetFocus();
  if (focus && focus != form.windowHandle && IsChild(form.windowHandle, focus)) return;
  ControlRecord* previous = form.activeControl;
  if (previous && !previous->removed && previous->window.hwnd && IsCandidate(*previous)) {
    SetFocus(previous->window.hwnd);
    return;
  }
  SetInitialFocus(form);
}

void SetActiveControl(FormState& form, ControlRecord* control) {
  for (const auto& record : form.records()) {
    HWND hwnd = record->window.hwnd;
    if (!hwnd || record.get() == &form.root() || record->removed) continue;
    if (DialogCode(hwnd) & DLGC_DEFPUSHBUTTON) SendMessageW(hwnd, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  form.activeControl = control;
  HWND focused = control ? control->window.hwnd : nullptr;
  const LRESULT code = DialogCode(focused);
  if ((code & DLGC_BUTTON) && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(focused, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return;
  }
  for (const auto& record : form.records()) {
    if (record->removed || record.get() == &form.root()) continue;
    EngineControl* object = ObjectOf(*record);
    if (!object || !object->isDefaultButton()) continue;
    if (record->window.hwnd) SendMessageW(record->window.hwnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return;
  }
}

ControlRecord* WindowlessChildAt(ControlRecord& container, POINT point) {
  for (ControlRecord* child : container.children) {
    if (child->removed || !child->window.className.empty()) continue;
    EngineControl* object = ObjectOf(*child);
    RECT rect{};
    if (!object || !object->visible() || !object->windowlessRect(&rect)) continue;
    if (PtInRect(&rect, point)) return child;
  }
  return nullptr;
}

}  // namespace rt
