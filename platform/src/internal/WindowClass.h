// One registered window class.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/user.h"

namespace platform::internal {

class WindowClass {
 public:
  WindowClass(const WNDCLASSEXW& info, std::u16string name, ATOM atom, bool system);

  const std::u16string& name() const { return name_; }
  ATOM atom() const { return atom_; }
  bool isSystem() const { return system_; }
  bool isGlobal() const { return system_ || (style_ & CS_GLOBALCLASS) != 0; }
  HINSTANCE instance() const { return instance_; }
  UINT style() const { return style_; }
  WNDPROC procedure() const { return procedure_; }
  int windowExtraBytes() const { return windowExtra_; }
  HCURSOR cursor() const { return cursor_; }
  HBRUSH background() const { return background_; }

  // Fills info as GetClassInfoExW answers it; lpszClassName is left to the caller.
  void describe(WNDCLASSEXW* info) const;

  // GCL_* / GCLP_* indexes or byte offsets into the class extra bytes.
  // False for an index out of range.
  bool read(int index, size_t size, ULONG_PTR* value) const;
  bool write(int index, size_t size, LONG_PTR value, ULONG_PTR* previous);

  std::atomic<int>& windowCount() { return windowCount_; }

 private:
  std::u16string name_;
  ATOM atom_;
  bool system_;
  UINT style_;
  WNDPROC procedure_;
  int windowExtra_;
  HINSTANCE instance_;
  HICON icon_;
  HICON smallIcon_;
  HCURSOR cursor_;
  HBRUSH background_;
  LPCWSTR menuName_;  // an ordinal, or menuText_
  std::u16string menuText_;
  std::vector<BYTE> extra_;
  std::atomic<int> windowCount_{0};
};

}  // namespace platform::internal
