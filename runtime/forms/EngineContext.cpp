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
  for (FormState* form = ctx.loadedHead; form;) {
    FormState* next = form->next;
    if (form->windowHandle) DestroyWindow(form->windowHandle);
    form = next;
  }
  if (ctx.bubbleWindow) DestroyWindow(ctx.bubbleWindow);
  if (ctx.parkingWindow) DestroyWindow(ctx.parkingWindow);
  if (ctx.hiddenWindow) DestroyWindow(ctx.hiddenWindow);
  // Forms the program still references keep their records; drop ours.
  for (auto& [object, form] : ctx.formsByObject)
    form->release();
  ctx.formsByObject.clear();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  context.reset();
}

}  // namespace rt
