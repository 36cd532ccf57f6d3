// The process's window classes: the system classes, registered at start, and
// the classes the program registers.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "internal/WindowClass.h"

namespace platform::internal {

class ClassRegistry {
 public:
  static ClassRegistry& instance();

  // The atom of the new class, or 0 with the last error set.
  ATOM add(const WNDCLASSEXW& info);
  bool remove(LPCWSTR name, HINSTANCE instance);
  // The class CreateWindowExW uses: one of the instance (any local class when
  // instance is null), else a global class, else a system class.
  std::shared_ptr<WindowClass> findForCreation(LPCWSTR name, HINSTANCE instance) const;
  // The class GetClassInfoExW answers: a null instance finds system classes
  // and classes registered without an instance.
  std::shared_ptr<WindowClass> findForInfo(LPCWSTR name, HINSTANCE instance) const;

 private:
  ClassRegistry();
  void addSystemClass(const char16_t* name, WNDPROC procedure, UINT style, LPCWSTR cursor,
                      int background);
  bool matches(const WindowClass& cls, LPCWSTR name) const;

  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<WindowClass>> classes_;
  ATOM nextAtom_ = 0xC000;
};

}  // namespace platform::internal
