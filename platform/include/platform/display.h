// The display driver: what puts windows on a screen and brings input back.
//
// The window manager keeps every window's state itself; a driver only
// presents top-level windows and feeds input. Two drivers exist: `headless`
// (no screen; tests inject input through HeadlessDisplay) and `sdl` (real
// windows on an X display).
//
// Threading and reentrancy contract
// ---------------------------------
// * The display thread is the thread that installed the driver
//   (SetDisplayDriver / SelectDisplayDriver). Only its message loop waits on
//   the driver's descriptors and calls wait() and pumpEvents(). Other UI
//   threads never touch the driver except through the notifications below.
// * pumpEvents() runs on the display thread from inside GetMessageW,
//   PeekMessageW and MsgWaitForMultipleObjects, which may themselves run
//   inside a window procedure (a nested modal loop, a yield). It must not
//   block and must not call window procedures or send messages: it turns
//   native events into input with the Inject* functions, which only queue.
//   It may be entered again by a nested loop after it returns, never while it
//   runs.
// * wait() is called with no window-manager lock held and must return when
//   one of the given descriptors is ready, when the driver's own events are
//   pending, or after timeoutMs (-1: no limit). wake() may be called from any
//   thread to end a wait early.
// * The window notifications (windowShown, ...) are called on the thread of
//   the window, after the change, with no lock held. They may read window
//   state (GetWindowRect, GetWindowTextW, GetWindowLongW) but must not change
//   it, send messages or destroy windows: they can run in the middle of
//   ShowWindow, SetWindowPos or DestroyWindow.
// * Screen queries (screenSize, dpi) may be called from any thread.
// * A nested modal loop may do anything a window procedure may: create, show
//   and destroy windows; the driver sees only the notifications.
#pragma once

#include <poll.h>

#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

class DisplayDriver {
 public:
  virtual ~DisplayDriver() = default;
  virtual const char* name() const = 0;

  // Screen size in pixels and logical pixels per inch (the same in X and Y).
  virtual SIZE screenSize() const = 0;
  virtual int dpi() const = 0;

  // Descriptors the display thread's loop watches for readability together
  // with its own; when one is readable it calls pumpEvents().
  virtual std::vector<int> waitDescriptors() { return {}; }
  // The loop's wait. The default polls the descriptors. A driver whose events
  // are not reachable through descriptors overrides it (and wake()).
  virtual int wait(std::span<pollfd> fds, int timeoutMs);
  virtual void wake() {}
  // Turns pending native events into input (see the contract above).
  virtual void pumpEvents() {}

  // Top-level windows: made visible, hidden, moved or resized (window
  // rectangle in screen coordinates), retitled, destroyed.
  virtual void windowShown(HWND) {}
  virtual void windowHidden(HWND) {}
  virtual void windowMoved(HWND, const RECT&) {}
  virtual void windowRetitled(HWND, std::u16string_view) {}
  virtual void windowDestroyed(HWND) {}
  // A top-level window became the active window of its thread and the
  // foreground window: the desktop should give it the keyboard focus.
  virtual void windowActivated(HWND) {}
  // SetCursor chose a cursor; SetCursorPos moved the pointer.
  virtual void cursorChanged(HCURSOR) {}
  virtual void cursorMoved(POINT) {}
  // Painting of a top-level window's surface ended (EndPaint, ReleaseDC);
  // the area is in surface pixels (the window rectangle's top left is 0,0).
  virtual void surfacePainted(HWND, const RECT&) {}
  // True when typed text arrives as characters from the driver (keyboard
  // layouts, composed characters): TranslateMessage then makes WM_CHAR only
  // for control characters (Enter, Tab, Escape, Backspace, Ctrl+letter).
  virtual bool suppliesText() const { return false; }
  // The desktop's clipboard; false when the driver has none (the process
  // keeps its own).
  virtual bool clipboardText(std::u16string&) { return false; }
  virtual void setClipboardText(std::u16string_view) {}
  // Writes what the screen shows of a top-level window as a PNG file.
  virtual bool snapshot(HWND, const std::string&) { return false; }
};

// The driver in force. Without an installed driver the headless one serves.
DisplayDriver& CurrentDisplay();
// Installs a driver (before windows exist); the calling thread becomes the
// display thread. Null restores the default headless driver.
void SetDisplayDriver(std::unique_ptr<DisplayDriver> driver);
// Installs the driver of that name ("headless"); false for an unknown name.
bool SelectDisplayDriver(const char* name);
// The executable's choice: `sdl` when a display is reachable, `headless`
// when SKIFFWIRE_DISPLAY says so. Answers an empty text on success, else
// what the user must be told (no display is reachable, and why).
std::string SelectDisplayDriverForDesktop();

// ---------------------------------------------------------------------------
// Input from a driver (any thread; they only queue). Mouse input goes to the
// capture window or else the window under the cursor, keys to the focus
// window of the foreground window's thread. The messages are made when the
// thread retrieves the input: WM_NCHITTEST decides client or non-client
// messages, WM_SETCURSOR is sent, a press with CS_DBLCLKS within the
// double-click time becomes a double click, and when a press is removed from
// the queue the parents of a child window get WM_PARENTNOTIFY and an inactive
// top-level window gets WM_MOUSEACTIVATE (and is activated unless it says
// otherwise). A pointer move to where the pointer already is makes nothing.
// ---------------------------------------------------------------------------
enum class MouseButton { Left, Right, Middle, X1, X2 };

void InjectMouseMove(POINT screenPoint);
void InjectMouseButton(MouseButton button, bool down);
// delta in WHEEL_DELTA units (120 per notch), positive away from the user.
void InjectMouseWheel(int delta, bool horizontal);
void InjectKey(int virtualKey, bool down);
// Text input that arrives as characters (WM_CHAR), not keys.
void InjectChar(char16_t ch);

// Changes the desktop made to a top-level window behind the platform's back
// (its window manager moved or resized it, or gave or took the keyboard
// focus). They wait in the input of the window's thread and are applied when
// that thread next takes input, as the platform's own frame would: a move or
// resize through SetWindowPos (WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE; none
// while the window is minimised); an activation as a click would do it,
// passed on to the enabled popup of a disabled window (the box it waits
// for); a deactivation only while the window is still the active one.
// windowRect is the new window rectangle in screen coordinates.
void InjectWindowPlacement(HWND hwnd, const RECT& windowRect);
void InjectActivation(HWND hwnd, bool active);

// ---------------------------------------------------------------------------
// The headless driver: a screen of a given size and resolution that shows
// nothing, records what it is told, and drives input for tests.
// ---------------------------------------------------------------------------
struct DisplayEvent {
  enum class Kind { Shown, Hidden, Moved, Retitled, Destroyed, Activated };
  Kind kind;
  HWND hwnd;
  RECT rect;
  std::u16string title;
};

class HeadlessDisplay final : public DisplayDriver {
 public:
  HeadlessDisplay(SIZE screen = {1024, 768}, int dpi = 96) : screen_(screen), dpi_(dpi) {}

  const char* name() const override { return "headless"; }
  SIZE screenSize() const override;
  int dpi() const override;

  void windowShown(HWND hwnd) override;
  void windowHidden(HWND hwnd) override;
  void windowMoved(HWND hwnd, const RECT& rect) override;
  void windowRetitled(HWND hwnd, std::u16string_view title) override;
  void windowDestroyed(HWND hwnd) override;
  void windowActivated(HWND hwnd) override;

  // Changes the screen and sends WM_DISPLAYCHANGE (bits per pixel, size) to
  // the top-level windows, from the calling thread.
  void changeDisplay(SIZE screen, int dpi);

  // What the window manager told the driver, oldest first.
  std::vector<DisplayEvent> events() const;
  void clearEvents();

  // Input helpers over the Inject* functions.
  void moveMouse(int x, int y) { InjectMouseMove({x, y}); }
  void click(int x, int y, MouseButton button = MouseButton::Left);
  void pressKey(int virtualKey);  // down and up
  void typeText(std::u16string_view text);

 private:
  void record(DisplayEvent event);

  mutable std::mutex mutex_;
  SIZE screen_;
  int dpi_;
  std::vector<DisplayEvent> events_;
};

namespace headless {

// Paints what waits to be painted in the window's top-level window, then
// writes that window's image (its frame included) as a PNG file. False for
// an unknown window or a file that cannot be written.
bool SnapshotPng(HWND hwnd, const std::string& path);

}  // namespace headless

// Installs a fresh headless display for the lifetime of the object (tests).
class ScopedHeadlessDisplay {
 public:
  explicit ScopedHeadlessDisplay(SIZE screen = {1024, 768}, int dpi = 96);
  ~ScopedHeadlessDisplay() { SetDisplayDriver(nullptr); }
  ScopedHeadlessDisplay(const ScopedHeadlessDisplay&) = delete;
  ScopedHeadlessDisplay& operator=(const ScopedHeadlessDisplay&) = delete;

  HeadlessDisplay& display() { return *display_; }
  HeadlessDisplay* operator->() { return display_; }

 private:
  HeadlessDisplay* display_;
};

}  // namespace platform
