// One window: its class, thread, relations, styles, placement, text and
// extra bytes. Owned by the handle table; everything but the relations
// (guarded by the WindowManager's lock) is touched only on the window's
// thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "internal/WindowClass.h"
#include "platform/user.h"

namespace platform::internal {

class MessageQueue;

class Window {
 public:
  enum class Stage { Creating, Alive, Destroying, Gone };

  Window(std::shared_ptr<WindowClass> cls, std::shared_ptr<MessageQueue> queue, DWORD threadId);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND handle() const { return handle_; }
  void setHandle(HWND hwnd) { handle_ = hwnd; }
  WindowClass& windowClass() { return *class_; }
  // Null for the desktop window, which belongs to no thread.
  const std::shared_ptr<MessageQueue>& queue() const { return queue_; }
  DWORD threadId() const { return threadId_; }
  bool onCurrentThread() const;

  bool isChild() const { return (style & WS_CHILD) != 0; }
  bool isVisible() const { return (style & WS_VISIBLE) != 0; }
  bool isDisabled() const { return (style & WS_DISABLED) != 0; }
  bool isAlive() const { return stage == Stage::Creating || stage == Stage::Alive; }

  // GWL_* / GWLP_* fields that need no messages, or extra-byte offsets.
  bool readExtra(int offset, size_t size, LONG_PTR* value) const;
  bool writeExtra(int offset, size_t size, LONG_PTR value, LONG_PTR* previous);

  // Paint state, counted in the queue so that it finds WM_PAINT work cheaply.
  void invalidate(const RECT* rect);
  void validate(const RECT* rect);
  bool needsPaint() const { return needsPaint_; }
  const RECT& updateRect() const { return updateRect_; }

  // Relations (WindowManager lock).
  HWND parent = nullptr;  // the desktop for a top-level window
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, topmost first

  // Owner-thread state.
  Stage stage = Stage::Creating;
  DWORD style = 0;
  DWORD exStyle = 0;
  WNDPROC procedure = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::u16string text;
  RECT windowRect{};         // parent client coordinates (screen for top-level)
  RECT clientRect{};         // parent client coordinates
  RECT normalRect{};         // where a minimized or maximized window restores to
  bool sendSizeMove = true;  // WM_SIZE/WM_MOVE not sent yet

 private:
  HWND handle_ = nullptr;
  std::shared_ptr<WindowClass> class_;
  std::shared_ptr<MessageQueue> queue_;
  DWORD threadId_;
  std::vector<BYTE> extra_;
  bool needsPaint_ = false;
  RECT updateRect_{};
};

}  // namespace platform::internal
