#include "runtime/forms/FormLifecycle.h"

#include <algorithm>

#include "platform/kernel.h"
#include "runtime/core/Status.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/Diagnostics.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/TimerHost.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/internal/FormErrors.h"
#include "runtime/forms/internal/FormInternals.h"

namespace rt {
namespace {

thread_local FormLoadHooks loadHooks;

void Checkpoint(int number) {
  TraceCheckpoint("EnsureFormIsLoaded", number);
}

void UnlinkOwned(FormState& form) {
  FormState* owner = form.owner;
  if (!owner) return;
  FormState** link = &owner->ownedHead;
  while (*link) {
    if (*link == &form) {
      *link = form.nextOwned;
      break;
    }
    link = &(*link)->nextOwned;
  }
  form.nextOwned = nullptr;
  form.owner = nullptr;
}

void LinkOwned(FormState& form, FormState& owner) {
  UnlinkOwned(form);
  form.owner = &owner;
  form.nextOwned = owner.ownedHead;
  owner.ownedHead = &form;
}

// Refills the window records before a (re)load: the windows are created anew.
HRESULT FillRecords(FormState& form) {
  for (const auto& record : form.records()) {
    if (record->removed) continue;
    EngineControl* object = ObjectOf(*record);
    if (!object) continue;
    WindowRecord& window = record->window;
    window.hwnd = nullptr;
    object->attachRecord(*record);
    HRESULT hr = object->fillWindowRecord(window);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT LayoutChild(ControlRecord& record) {
  ControlRecord& container = *record.container;
  record.outerScale = container.innerScale;
  if (!record.keepsOwnScale) record.innerScale = Scale{};
  record.placement.formDpi = record.form->dpi;
  HWND parent = container.window.hwnd;
  if (!parent) {
    if (auto asContainer = QueryInterfaceOf<EngineContainer>(ObjectOf(container))) {
      parent = asContainer->childParentWindow();
    }
  }
  EngineControl* object = ObjectOf(record);
  if (!object) return S_OK;
  HRESULT hr = object->createWindow(record, parent);
  if (FAILED(hr)) return hr;
  object->afterCreate(record.window.hwnd);
  for (ControlRecord* child : record.children) {
    hr = LayoutChild(*child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void PostLoad(ControlRecord& record) {
  for (ControlRecord* child : record.children) {
    PostLoad(*child);
    if (EngineControl* object = ObjectOf(*child)) object->postLoad();
  }
}

void ConnectEventSinks(ControlRecord& record) {
  for (ControlRecord* child : record.children) {
    if (child->window.asksForEvents) {
      if (auto sink = QueryInterfaceOf<WindowEventSink>(ObjectOf(*child))) {
        AddEventSink(record.window, sink.Get());
      }
    }
    ConnectEventSinks(*child);
  }
}

bool ProbeKeyboardCues() {
  HMODULE theme = LoadLibraryA("uxtheme.dll");
  if (!theme) return false;
  using BoolFn = BOOL (*)();
  auto isAppThemed =
      reinterpret_cast<BoolFn>(reinterpret_cast<void*>(GetProcAddress(theme, "IsAppThemed")));
  auto isThemeActive =
      reinterpret_cast<BoolFn>(reinterpret_cast<void*>(GetProcAddress(theme, "IsThemeActive")));
  const bool themed = isAppThemed && isThemeActive && isAppThemed() && isThemeActive();
  FreeLibrary(theme);
  if (!themed) return false;
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  if (!comctl) return false;
  struct DllVersionInfo {
    DWORD cbSize, major, minor, build, platform;
  } version{20, 0, 0, 0, 0};
  using VersionFn = HRESULT (*)(DllVersionInfo*);
  auto getVersion =
      reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
  const bool modern = getVersion && SUCCEEDED(getVersion(&version)) && version.major > 5;
  FreeLibrary(comctl);
  return modern;
}

void ApplyKeyboardCues(FormState& form) {
  EngineContext& ctx = CurrentEngineContext();
  if (!ctx.keyboardCuesDecided) {
    ctx.keyboardCuesDecided = true;
    ctx.keyboardCuesManaged = ProbeKeyboardCues();
  }
  if (!ctx.keyboardCuesManaged || !form.windowHandle) return;
  FormSettings settings;
  if (form.formObject) form.formObject->formSettings(settings);
  SendMessageW(form.windowHandle, WM_UPDATEUISTATE, settings.keyboardCuesSet ? 1 : 3, 0);
}

// Clears the loading flag on every way out of a load.
class LoadingScope {
 public:
  explicit LoadingScope(FormState& form) : form_(form) { form_.loading = true; }
  ~LoadingScope() { form_.loading = false; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  FormState& form_;
};

}  // namespace

FormState* FindFormState(EngineControl* object) {
  if (!object) return nullptr;
  auto& forms = CurrentEngineContext().formsByObject;
  auto found = forms.find(object);
  return found == forms.end() ? nullptr : found->second;
}

FormState* FormStateOf(EngineControl* object) {
  if (!object) return nullptr;
  if (FormState* existing = FindFormState(object)) return existing;
  FormState* form = FormState::Create(object);
  CurrentEngineContext().formsByObject.emplace(object, form);
  object->attachRecord(form->root());
  return form;
}

void DetachForm(EngineControl* object) {
  auto& forms = CurrentEngineContext().formsByObject;
  auto found = forms.find(object);
  if (found == forms.end()) return;
  FormState* form = found->second;
  forms.erase(found);
  // A form that is still loaded is closed first: its window must not
  // outlive the object it stands for.
  if (form->windowHandle) {
    FormStateRef hold(form);
    DestroyWindow(form->windowHandle);
  }
  form->formObject = nullptr;
  form->release();
}

ControlRecord& BuildControlRecord(FormState& form, ControlRecord* container,
                                  EngineControl* object) {
  ControlRecord& record = form.newControlRecord();
  record.container = container ? container : &form.root();
  record.object = object;
  record.container->children.push_back(&record);
  if (object) {
    object->attachRecord(record);
    object->fillWindowRecord(record.window);
  }
  return record;
}

namespace {

void MarkRemoved(ControlRecord& record) {
  record.removed = true;
  for (ControlRecord* child : record.children)
    MarkRemoved(*child);
}

void ForgetRemoved(FormState& form, ControlRecord& record) {
  if (form.activeControl && form.activeControl->removed) form.activeControl = nullptr;
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.bubbleControl && ctx.bubbleControl->removed) {
    HideBubble();
    ctx.bubbleControl = nullptr;
  }
  std::erase_if(form.timers, [](const TimerEntry& entry) { return entry.record->removed; });
  (void)record;
}

}  // namespace

HRESULT RemoveControl(ControlRecord& record) {
  FormState* form = record.form;
  if (!form || &record == &form->root() || record.removed) return E_INVALIDARG;
  FormStateRef hold(form);
  for (TimerEntry& entry : form->timers) {
    if (entry.record == &record) SetTimerEnabled(record, false);
  }
  MarkRemoved(record);
  if (record.container) std::erase(record.container->children, &record);
  ForgetRemoved(*form, record);
  if (HWND hwnd = record.window.hwnd) DestroyWindow(hwnd);
  record.window.eventSinks.clear();
  ComPtr<EngineControl> object = std::move(record.object);
  if (object) object->terminate();
  return S_OK;
}

void SetFormLoadHooks(FormLoadHooks hooks) {
  loadHooks = std::move(hooks);
}

HRESULT InstallDesignBlob(std::span<const uint8_t> blob) {
  if (!loadHooks.installDesigns) return S_OK;
  return loadHooks.installDesigns(blob);
}

HRESULT DefaultLayoutPass(FormState& form) {
  ControlRecord& root = form.root();
  root.innerScale = Scale{};
  for (ControlRecord* child : root.children) {
    if (child->removed) continue;
    HRESULT hr = LayoutChild(*child);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

int LoadedFormCount() {
  return CurrentEngineContext().loadedCount;
}

HRESULT EnsureFormIsLoaded(EngineControl* object) {
  Checkpoint(-10);
  FormState* form = FindFormState(object);
  if (!form || form->loading) return S_OK;
  Checkpoint(-9);
  if (form->closing) return S_OK;
  Checkpoint(-8);
  if (form->hidden && form->unloading) {
    form->windowHandle = nullptr;
    form->unloading = false;
    form->queryDone = false;
  }
  Checkpoint(-7);
  FormStateRef hold(form);
  EngineContext& ctx = CurrentEngineContext();
  if (form->windowHandle) {
    Checkpoint(-6);
    if (form->pendingRelayout) {
      form->pendingRelayout = false;
      form->layoutDone = true;
      if (loadHooks.layout) return loadHooks.layout(*form);
      return DefaultLayoutPass(*form);
    }
    return S_OK;
  }
  Checkpoint(-5);
  HRESULT hr = StartEngine();
  if (FAILED(hr)) return hr;
  Checkpoint(-4);
  if (loadHooks.buildDesign) {
    hr = loadHooks.buildDesign(*form);
    if (FAILED(hr)) return hr;
  }
  Checkpoint(-3);
  hr = FillRecords(*form);
  if (FAILED(hr)) return hr;
  form->window().style &= ~WS_VISIBLE;
  form->layoutDone = false;
  Checkpoint(-2);
  if (ctx.endInProgress) return StatusTerminate;
  Checkpoint(-1);
  if (ctx.loadSuppressed) return S_OK;
  Checkpoint(-20);
  LoadingScope loading(*form);
  hr = EnsureHiddenWindow();
  if (FAILED(hr)) return hr;
  Checkpoint(-21);
  hr = CreateWindowForRecord(form->window(), form, nullptr);
  if (FAILED(hr)) return hr;
  Checkpoint(-22);
  if (!form->owner && ctx.mainWindow) LinkOwned(*form, *ctx.mainWindow);
  Checkpoint(-23);
  if (!form->layoutDone) {
    form->layoutDone = true;
    hr = loadHooks.layout ? loadHooks.layout(*form) : DefaultLayoutPass(*form);
    if (FAILED(hr)) return hr;
  }
  Checkpoint(-24);
  if (form->activateAfterLoad && form->windowHandle) {
    form->activateAfterLoad = false;
    SendMessageW(form->windowHandle, WM_ACTIVATE, 1, 0);
  }
  Checkpoint(-25);
  ApplyKeyboardCues(*form);
  Checkpoint(0);
  PostLoad(form->root());
  Checkpoint(1);
  // The form's own post-load runs its Load event, which may unload the form.
  if (form->formObject && form->windowHandle) form->formObject->postLoad();
  Checkpoint(2);
  if (!form->windowHandle) return S_OK;
  ConnectEventSinks(form->root());
  Checkpoint(3);
  if (!form->hidden) SetInitialFocus(*form);
  Checkpoint(4);
  StartFormTimers(*form);
  Checkpoint(5);
  Checkpoint(6);
  Checkpoint(7);
  return S_OK;
}

HRESULT Show(EngineControl* object, SHORT modal, EngineControl* ownerObject) {
  FormState* form = FormStateOf(object);
  if (!form) return E_POINTER;
  FormStateRef hold(form);
  ComPtr<EngineControl> objectHold(object);
  EngineContext& ctx = CurrentEngineContext();
  if (form->closing || form->beingDestroyed) {
    return RaiseEngineError(ErrObjectUnloaded, u"Object was unloaded");
  }
  HRESULT hr = EnsureFormIsLoaded(object);
  if (FAILED(hr)) return hr;
  if (!form->windowHandle) {
    // Unloaded during its own load, or closing: nothing to show.
    return S_OK;
  }
  if (form->root().window.flags & wflag::MdiChildForm && ctx.mdiForm && ctx.mdiForm->formObject) {
    hr = Show(ctx.mdiForm->formObject, 0, nullptr);
    if (FAILED(hr)) return hr;
  }
  if (!modal && ctx.modalDepth != 0) {
    return RaiseEngineError(ErrModalFormDisplayed,
                            u"Can't show non-modal form when modal form is displayed");
  }
  if (!form->hidden) {
    if (form->modal || modal) {
      return RaiseEngineError(ErrFormAlreadyDisplayed,
                              u"Form already displayed; can't show modally");
    }
    SetForegroundWindow(form->windowHandle);
    return S_OK;
  }
  FormState* owner = ownerObject ? FormStateOf(ownerObject) : nullptr;
  if (modal) {
    ++ctx.modalDepth;
    if (!owner) owner = ctx.activeForm.get();
    form->modal = true;
  } else {
    form->modal = false;
  }
  FormStateRef ownerHold(owner);
  if (owner && owner != form) {
    if (!owner->windowHandle && owner->formObject) EnsureFormIsLoaded(owner->formObject);
    LinkOwned(*form, *owner);
    if (owner->windowHandle) {
      SetWindowLongPtrW(form->windowHandle, GWLP_HWNDPARENT,
                        reinterpret_cast<LONG_PTR>(owner->windowHandle));
    }
  }
  form->hidden = false;
  form->queryDone = false;
  FormSettings settings;
  if (form->formObject) form->formObject->formSettings(settings);
  const int command = settings.windowState == 1   ? SW_MINIMIZE
                      : settings.windowState == 2 ? SW_MAXIMIZE
                                                  : SW_SHOW;
  HWND hwnd = form->windowHandle;
  if (modal && owner && owner != form && !owner->isMainWindow) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_APPWINDOW);
  }
  if (form->stripMaximizeBox) {
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_MAXIMIZEBOX);
  }
  if (form->addToolWindow) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  }
  ShowWindow(hwnd, command);
  if (form->windowHandle) SetForegroundWindow(form->windowHandle);
  if (form->windowHandle && !form->hidden) SetInitialFocusIfOutside(*form);
  if (!modal) return S_OK;

  for (FormState* other = ctx.loadedHead; other; other = other->next) {
    if (other == form || !other->windowHandle || !IsWindowEnabled(other->windowHandle)) continue;
    EnableWindow(other->windowHandle, FALSE);
    other->addRef();
    form->disabledWindows.push_back(other);
  }
  Pump(form, false);
  if (owner && !owner->isMainWindow && owner->windowHandle) {
    SetForegroundWindow(owner->windowHandle);
  }
  if (form->windowHandle && ctx.hiddenWindow) {
    SetWindowLongPtrW(form->windowHandle, GWLP_HWNDPARENT,
                      reinterpret_cast<LONG_PTR>(ctx.hiddenWindow));
  }
  --ctx.modalDepth;
  form->modal = false;
  return ctx.endInProgress ? StatusTerminate : S_OK;
}

HRESULT Hide(EngineControl* object) {
  FormState* form = FindFormState(object);
  if (!form || !form->windowHandle) return S_OK;
  ShowWindow(form->windowHandle, SW_HIDE);
  return S_OK;
}

HRESULT Unload(EngineControl* object) {
  FormState* form = FindFormState(object);
  if (!form || !form->windowHandle) return S_OK;
  FormStateRef hold(form);
  if (form->closing || form->beingDestroyed) return S_OK;
  if (UnloadQuery(*form, unloadmode::Program)) return S_OK;
  SendMessageW(form->windowHandle, WM_CLOSE, 0, 0);
  return S_OK;
}

FormState* CloseAll() {
  EngineContext& ctx = CurrentEngineContext();
  for (FormState* form = ctx.loadedHead; form; form = form->next) {
    if (form->signature != FormStateSignature) {
      DiagnosticWarning("WARNING: internal list of loaded forms is corrupt", 0xFF0000);
      return form;
    }
    if (form->windowHandle) PostMessageW(form->windowHandle, WM_CLOSE, 0, 0);
  }
  return nullptr;
}

void DeferRelease(FormState* record, IUnknown* object) {
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.hiddenWindow &&
      PostMessageW(ctx.hiddenWindow, WM_DEFERRED_RELEASE, reinterpret_cast<WPARAM>(record),
                   reinterpret_cast<LPARAM>(object))) {
    return;
  }
  if (object) object->Release();
  if (record) record->release();
}

// --- Internals shared with the form procedure -------------------------------

bool UnloadQuery(FormState& form, int mode) {
  if (form.queryDone) return false;
  FormStateRef hold(&form);
  SHORT cancel = 0;
  if (form.formObject) {
    ComPtr<EngineControl> object(form.formObject);
    object->beforeUnload(mode, &cancel);
    if (cancel) return true;
  }
  std::vector<FormStateRef> owned;
  for (FormState* child = form.ownedHead; child; child = child->nextOwned) {
    if (child->windowHandle) owned.emplace_back(child);
  }
  for (auto& child : owned) {
    if (!child->windowHandle || !child->formObject) continue;
    ComPtr<EngineControl> object(child->formObject);
    cancel = 0;
    object->beforeUnload(unloadmode::OwnerUnloading, &cancel);
    if (cancel) return true;
  }
  form.queryDone = true;
  return false;
}

void LinkOwnedForm(FormState& form, FormState& owner) {
  LinkOwned(form, owner);
}
void UnlinkOwnedForm(FormState& form) {
  UnlinkOwned(form);
}

}  // namespace rt
