// The process-wide part of the window manager: the handle table, the window
// tree, the foreground window and the input state shared by all threads.
//
// Its lock is a leaf: nothing is called out while it is held.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "internal/Window.h"
#include "internal/WindowHandleTable.h"

namespace platform::internal {

class WindowManager {
 public:
  static WindowManager& instance();

  HWND desktop() const { return desktop_; }
  std::shared_ptr<Window> find(HWND hwnd) const;
  // Adds a window under parent (at the top of its siblings); null when full.
  HWND add(std::shared_ptr<Window> window, HWND parent);
  // Unlinks the window from the tree and invalidates its handle.
  void remove(Window& window);

  // Relations.
  std::vector<HWND> children(HWND parent) const;
  std::vector<HWND> topLevelWindows() const { return children(desktop_); }
  HWND parentOf(HWND hwnd) const;
  // The parent a child window passes messages up to; null for a top-level
  // window and for a child of the desktop window.
  HWND parentWindowOf(const Window& w) const {
    return w.isChild() && w.parent != desktop_ ? w.parent : nullptr;
  }
  HWND ownerOf(HWND hwnd) const;
  void setOwner(HWND hwnd, HWND owner);
  void setParent(HWND hwnd, HWND parent);
  // Moves hwnd among its siblings: after `after`, or to HWND_TOP/HWND_BOTTOM.
  // Topmost windows stay above the others.
  void reorder(HWND hwnd, HWND after);
  bool isDescendant(HWND ancestor, HWND hwnd) const;

  // Foreground window and its thread.
  HWND foreground() const;
  DWORD foregroundThread() const;
  void setForeground(HWND hwnd, DWORD threadId);

  // Mouse capture as the input router sees it (the window and its thread).
  HWND capture() const;
  void setCapture(HWND hwnd);

  POINT cursorPos() const;
  void setCursorPos(POINT point);
  HCURSOR cursor() const;
  HCURSOR setCursor(HCURSOR cursor);

  // Key state as input arrives: bit 0x80 down, bit 0x01 toggled.
  BYTE asyncKey(int virtualKey) const;
  void setAsyncKey(int virtualKey, bool down);

 private:
  WindowManager();
  std::shared_ptr<Window> findLocked(HWND hwnd) const;
  void insertLocked(Window& parent, HWND child, HWND after);
  void unlinkLocked(HWND hwnd);

  mutable std::mutex mutex_;
  WindowHandleTable handles_;
  HWND desktop_ = nullptr;
  HWND foreground_ = nullptr;
  DWORD foregroundThread_ = 0;
  HWND capture_ = nullptr;
  POINT cursorPos_{};
  HCURSOR cursor_ = nullptr;
  std::array<BYTE, 256> asyncKeys_{};
};

}  // namespace platform::internal
