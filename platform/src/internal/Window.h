// One window: its class, thread, relations, styles, placement, text and
// extra bytes. Owned by the handle table; everything but the relations
// (guarded by the WindowManager's lock) is touched only on the window's
// thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "internal/Region.h"
#include "internal/WindowClass.h"
#include "platform/user.h"

namespace platform::internal {

class MessageQueue;
class WindowSurface;
class ScrollBars;

// What SetLayeredWindowAttributes gave a layered window.
struct LayeredAttributes {
  COLORREF key;
  BYTE alpha;
  DWORD flags;
};

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
  // The update region is in client coordinates. A window needs painting when
  // its update region is not empty, its frame needs WM_NCPAINT, or an
  // internal paint was asked for.
  void invalidate(const RECT* rect, bool erase = true);
  void invalidate(const Region& region, bool erase);
  void validate(const RECT* rect);
  void validate(const Region& region);
  // Drops every kind of pending paint, the frame's too (hiding, destroying).
  void validateAll();
  void invalidateFrame();
  void requestInternalPaint();
  // Take the pending frame paint or erase (false when none is pending).
  bool takeFramePaint();
  bool takeErase();
  void cancelErase() { erasePending_ = false; }
  bool erasePending() const { return erasePending_; }
  bool framePending() const { return framePending_; }
  bool needsPaint() const { return needsPaint_; }
  // WM_PAINT is due: the update region is not empty or a paint was asked for.
  bool needsClientPaint() const { return !updateRegion_.empty() || internalPaint_; }
  const Region& updateRegion() const { return updateRegion_; }
  RECT updateRect() const { return updateRegion_.bounds(); }

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

  // Drawing state.
  std::shared_ptr<WindowSurface> surface;  // top-level windows: what they are drawn into
  std::shared_ptr<ScrollBars> scrollBars;  // the standard scroll bars, once set
  bool captionActive = false;
  std::optional<LayeredAttributes>
      layered;  // set while WS_EX_LAYERED is on              // the frame is drawn as active

 private:
  HWND handle_ = nullptr;
  std::shared_ptr<WindowClass> class_;
  std::shared_ptr<MessageQueue> queue_;
  DWORD threadId_;
  std::vector<BYTE> extra_;
  void refreshPaintCount();

  bool needsPaint_ = false;
  bool erasePending_ = false;
  bool framePending_ = false;
  bool internalPaint_ = false;
  Region updateRegion_;
};

}  // namespace platform::internal
