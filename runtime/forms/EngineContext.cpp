#include "runtime/forms/EngineContext.h"

#include <memory>

#include "runtime/forms/EngineControl.h"

namespace rt {
namespace {

thread_local std::unique_ptr<EngineContext> context;

}  // namespace

EngineContext::EngineContext() = default;

EngineContext::~EngineContext() {
  activeForm = FormStateRef();
  if (mainWindow) mainWindow->release();
}

EngineContext& CurrentEngineContext() {
  if (!context) context = std::make_unique<EngineContext>();
  return *context;
}

void ResetEngineContext() {
  if (!context) return;
  EngineContext& ctx = *context;
  // Destroying the windows runs the destruction of every form still loaded.
  // Destroying one form may close others (the forms it owns), so always
  // start again from the head of the list.
  for (int guard = 0; ctx.loadedHead && guard < 100000; ++guard) {
    FormState* head = ctx.loadedHead;
    if (!head->windowHandle || !DestroyWindow(head->windowHandle)) break;
  }
  if (ctx.bubbleWindow) DestroyWindow(ctx.bubbleWindow);
  if (ctx.parkingWindow) DestroyWindow(ctx.parkingWindow);
  if (ctx.hiddenWindow) DestroyWindow(ctx.hiddenWindow);
  // Forms the program still references keep their records; drop ours. The
  // map is emptied first: dropping a record can release the last reference
  // to its form object, whose destructor then looks itself up in the map.
  auto forms = std::move(ctx.formsByObject);
  ctx.formsByObject.clear();
  for (auto& [object, form] : forms)
    form->release();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  context.reset();
}

}  // namespace rt
