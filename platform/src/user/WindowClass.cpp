#include "internal/WindowClass.h"

#include <cstring>

namespace platform::internal {

WindowClass::WindowClass(const WNDCLASSEXW& info, std::u16string name, ATOM atom, bool system)
    : name_(std::move(name)),
      atom_(atom),
      system_(system),
      style_(info.style),
      procedure_(info.lpfnWndProc),
      windowExtra_(info.cbWndExtra),
      instance_(info.hInstance),
      icon_(info.hIcon),
      smallIcon_(info.cbSize >= sizeof(WNDCLASSEXW) ? info.hIconSm : nullptr),
      cursor_(info.hCursor),
      background_(info.hbrBackground),
      menuName_(info.lpszMenuName),
      extra_(static_cast<size_t>(info.cbClsExtra), 0) {
  if (menuName_ && !IS_INTRESOURCE(menuName_)) {
    menuText_ = menuName_;
    menuName_ = menuText_.c_str();
  }
}

void WindowClass::describe(WNDCLASSEXW* info) const {
  info->style = style_;
  info->lpfnWndProc = procedure_;
  info->cbClsExtra = static_cast<int>(extra_.size());
  info->cbWndExtra = windowExtra_;
  info->hInstance = instance_;
  info->hIcon = icon_;
  info->hCursor = cursor_;
  info->hbrBackground = background_;
  info->lpszMenuName = menuName_;
  info->hIconSm = smallIcon_;
}

bool WindowClass::read(int index, size_t size, ULONG_PTR* value) const {
  if (index >= 0) {
    if (static_cast<size_t>(index) + size > extra_.size()) return false;
    if (size == sizeof(LONG)) {
      LONG v;
      std::memcpy(&v, extra_.data() + index, sizeof v);
      *value = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(v));
    } else {
      std::memcpy(value, extra_.data() + index, sizeof *value);
    }
    return true;
  }
  switch (index) {
    case GCL_STYLE:
      *value = style_;
      return true;
    case GCLP_WNDPROC:
      *value = reinterpret_cast<ULONG_PTR>(procedure_);
      return true;
    case GCLP_HCURSOR:
      *value = reinterpret_cast<ULONG_PTR>(cursor_);
      return true;
    case GCLP_HBRBACKGROUND:
      *value = reinterpret_cast<ULONG_PTR>(background_);
      return true;
    case GCLP_HICON:
      *value = reinterpret_cast<ULONG_PTR>(icon_);
      return true;
    case GCLP_HICONSM:
      *value = reinterpret_cast<ULONG_PTR>(smallIcon_);
      return true;
    case GCLP_HMODULE:
      *value = reinterpret_cast<ULONG_PTR>(instance_);
      return true;
    case GCL_CBWNDEXTRA:
      *value = static_cast<ULONG_PTR>(windowExtra_);
      return true;
    case GCL_CBCLSEXTRA:
      *value = extra_.size();
      return true;
    case GCW_ATOM:
      *value = atom_;
      return true;
    case GCLP_MENUNAME:
      *value = reinterpret_cast<ULONG_PTR>(menuName_);
      return true;
  }
  return false;
}

bool WindowClass::write(int index, size_t size, LONG_PTR value, ULONG_PTR* previous) {
  if (!read(index, size, previous)) return false;
  if (index >= 0) {
    if (size == sizeof(LONG)) {
      auto v = static_cast<LONG>(value);
      std::memcpy(extra_.data() + index, &v, sizeof v);
    } else {
      std::memcpy(extra_.data() + index, &value, sizeof value);
    }
    return true;
  }
  switch (index) {
    case GCL_STYLE:
      style_ = static_cast<UINT>(value);
      return true;
    case GCLP_WNDPROC:
      if (!value) return false;
      procedure_ = reinterpret_cast<WNDPROC>(value);
      return true;
    case GCLP_HCURSOR:
      cursor_ = reinterpret_cast<HCURSOR>(value);
      return true;
    case GCLP_HBRBACKGROUND:
      background_ = reinterpret_cast<HBRUSH>(value);
      return true;
    case GCLP_HICON:
      icon_ = reinterpret_cast<HICON>(value);
      return true;
    case GCLP_HICONSM:
      smallIcon_ = reinterpret_cast<HICON>(value);
      return true;
    case GCLP_HMODULE:
      instance_ = reinterpret_cast<HINSTANCE>(value);
      return true;
    case GCL_CBWNDEXTRA:
      windowExtra_ = static_cast<int>(value);
      return true;
  }
  return false;  // the atom, the class extra size and the menu name stay
}

}  // namespace platform::internal
