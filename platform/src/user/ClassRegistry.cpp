#include "internal/ClassRegistry.h"

#include <algorithm>

#include "internal/SystemClasses.h"
#include "platform/kernel.h"

namespace platform::internal {
namespace {

char16_t foldCase(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

bool sameName(std::u16string_view a, LPCWSTR b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || foldCase(a[i]) != foldCase(b[i])) return false;
  }
  return b[i] == 0;
}

// Extra window bytes every system control class keeps for its procedure.
constexpr int kSystemWindowExtra = 2 * sizeof(LONG_PTR);

}  // namespace

ClassRegistry& ClassRegistry::instance() {
  static ClassRegistry registry;
  return registry;
}

ClassRegistry::ClassRegistry() {
  constexpr UINT kRedraw = CS_HREDRAW | CS_VREDRAW;
  addSystemClass(u"BUTTON", ButtonWindowProc, CS_DBLCLKS | CS_PARENTDC | kRedraw, IDC_ARROW, 0);
  addSystemClass(u"EDIT", EditWindowProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM, 0);
  addSystemClass(u"STATIC", StaticWindowProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, 0);
  addSystemClass(u"SCROLLBAR", DefWindowProcW, CS_DBLCLKS | CS_PARENTDC | kRedraw, IDC_ARROW, 0);
  addSystemClass(u"LISTBOX", DefWindowProcW, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, 0);
  addSystemClass(u"COMBOBOX", DefWindowProcW, CS_DBLCLKS | CS_PARENTDC | kRedraw, IDC_ARROW, 0);
  addSystemClass(u"MDIClient", DefWindowProcW, 0, IDC_ARROW, COLOR_APPWORKSPACE + 1);
}

void ClassRegistry::addSystemClass(const char16_t* name, WNDPROC procedure, UINT style,
                                   LPCWSTR cursor, int background) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  info.style = style | CS_GLOBALCLASS;
  info.lpfnWndProc = procedure;
  info.cbWndExtra = kSystemWindowExtra;
  info.hCursor = LoadCursorW(nullptr, cursor);
  info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(background));
  classes_.push_back(std::make_shared<WindowClass>(info, name, nextAtom_++, true));
}

bool ClassRegistry::matches(const WindowClass& cls, LPCWSTR name) const {
  if (IS_INTRESOURCE(name))
    return cls.atom() == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return sameName(cls.name(), name);
}

ATOM ClassRegistry::add(const WNDCLASSEXW& info) {
  if (info.cbSize != sizeof(WNDCLASSEXW) || !info.lpszClassName || !info.lpfnWndProc ||
      info.cbClsExtra < 0 || info.cbWndExtra < 0 || info.cbClsExtra > 40000 ||
      info.cbWndExtra > 40000 || IS_INTRESOURCE(info.lpszClassName) || !info.lpszClassName[0]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(mutex_);
  bool global = (info.style & CS_GLOBALCLASS) != 0;
  for (const auto& cls : classes_) {
    if (cls->isSystem() || !matches(*cls, info.lpszClassName)) continue;
    if (cls->instance() == info.hInstance || (global && cls->isGlobal())) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  if (nextAtom_ == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  ATOM atom = nextAtom_++;
  classes_.push_back(std::make_shared<WindowClass>(info, info.lpszClassName, atom, false));
  return atom;
}

bool ClassRegistry::remove(LPCWSTR name, HINSTANCE instance) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto& cls) {
    return !cls->isSystem() && matches(*cls, name) &&
           (cls->instance() == instance || cls->isGlobal() || !instance);
  });
  if (it == classes_.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if ((*it)->windowCount() > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return false;
  }
  classes_.erase(it);
  return true;
}

std::shared_ptr<WindowClass> ClassRegistry::findForCreation(LPCWSTR name,
                                                            HINSTANCE instance) const {
  if (!name) return nullptr;
  std::lock_guard lock(mutex_);
  std::shared_ptr<WindowClass> global, system;
  for (const auto& cls : classes_) {
    if (!matches(*cls, name)) continue;
    if (cls->isSystem()) {
      system = cls;
    } else if (!cls->isGlobal() && (!instance || cls->instance() == instance)) {
      return cls;
    } else if (cls->isGlobal()) {
      global = cls;
    }
  }
  return global ? global : system;
}

std::shared_ptr<WindowClass> ClassRegistry::findForInfo(LPCWSTR name, HINSTANCE instance) const {
  if (!name) return nullptr;
  std::lock_guard lock(mutex_);
  std::shared_ptr<WindowClass> global, system;
  for (const auto& cls : classes_) {
    if (!matches(*cls, name)) continue;
    if (cls->isSystem()) {
      system = cls;
    } else if (cls->instance() == instance) {
      return cls;
    } else if (cls->isGlobal() && instance) {
      global = cls;
    }
  }
  return global ? global : system;
}

}  // namespace platform::internal
