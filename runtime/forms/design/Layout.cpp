#include "runtime/forms/design/Layout.h"

#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormState.h"

namespace rt {
namespace {

constexpr Scale kTwips{15.0, 15.0, 0.0, 0.0};

// The window that parents a container's children: its own window, or the
// one its container interface names while it has none yet.
HWND ParentWindowOf(ControlRecord& container) {
  if (container.window.hwnd) return container.window.hwnd;
  const auto asContainer = QueryInterfaceOf<EngineContainer>(ObjectOf(container));
  return asContainer ? asContainer->childParentWindow() : nullptr;
}

}  // namespace

HRESULT LayoutControl(ControlRecord& record) {
  if (record.removed || !record.container) return S_OK;
  ControlRecord& container = *record.container;
  record.outerScale = container.innerScale;
  if (!record.keepsOwnScale) record.innerScale = kTwips;
  if (record.form) record.placement.formDpi = record.form->dpi;
  EngineControl* control = ObjectOf(record);
  if (!control) return S_OK;
  HRESULT hr = control->createWindow(record, ParentWindowOf(container));
  if (FAILED(hr)) return hr;
  control->afterCreate(record.window.hwnd);
  for (ControlRecord* child : record.children) {
    hr = LayoutControl(*child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT RunLayoutPass(FormState& form) {
  ControlRecord& root = form.root();
  root.innerScale = kTwips;
  for (ControlRecord* child : root.children) {
    const HRESULT hr = LayoutControl(*child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace rt
