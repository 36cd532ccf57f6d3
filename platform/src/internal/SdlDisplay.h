// The `sdl` display driver: one SDL2 window per visible top-level window.
//
// Waiting. The message loop waits with one poll() on the queue's eventfd,
// its sockets and the driver's descriptors, with the next timer as the
// timeout. This driver forces SDL's X11 video backend and hands the loop the
// X connection's descriptor (found through SDL_GetWindowWMInfo on a hidden
// anchor window), so native events, posted messages, timers and sockets all
// end one and the same wait, and nothing is polled on a period. The other
// design, SDL_WaitEventTimeout woken by SDL_PushEvent from the other sources,
// needs a helper thread to watch the sockets and turns every posted message
// into a second event; with the descriptor there is nothing to forward.
// Xlib may already hold events read from the socket before the loop blocks,
// so wait() first pumps SDL and answers at once when its queue is not empty.
//
// Decorations. A window with a caption becomes a decorated native window
// showing its client area: the desktop's window manager draws the frame, and
// its close, minimise and maximise buttons arrive as WM_SYSCOMMAND. A window
// without a caption (popups, tooltips) becomes a borderless native window
// showing its whole window rectangle as the platform drew it.
//
// Presenting. Painting ends (EndPaint, ReleaseDC) report the surface area
// drawn; the driver gathers it per window and copies only that area into the
// native window's framebuffer before the loop next blocks.
//
// The desktop's own changes. Moves and resizes made by the window manager,
// and the keyboard focus it gives or takes, are gathered over one batch of
// native events and injected as desktop changes (InjectWindowPlacement,
// InjectActivation). Placements the desktop reported are remembered until
// the platform applies them, so they are not sent back (PendingPlacements);
// focus reports are reconciled with the platform's own activations, which
// the driver passes to the desktop (DesktopFocus).
//
// Threads. Every SDL call happens on the display thread: notifications from
// other threads are queued, and the driver's own eventfd ends the wait so
// that the display thread runs them at once.
#pragma once

#include <SDL.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "internal/DesktopFocus.h"
#include "internal/PendingPlacements.h"
#include "internal/UniqueFd.h"
#include "platform/display.h"

struct _XDisplay;  // Xlib's Display

namespace platform::internal {

class SdlDisplay final : public DisplayDriver {
 public:
  // Connects to the display; null with the reason in `error` when no
  // display is reachable.
  static std::unique_ptr<SdlDisplay> open(std::string& error);
  ~SdlDisplay() override;

  const char* name() const override { return "sdl"; }
  SIZE screenSize() const override;
  int dpi() const override;
  bool suppliesText() const override { return true; }

  std::vector<int> waitDescriptors() override;
  int wait(std::span<pollfd> fds, int timeoutMs) override;
  void pumpEvents() override;
  // Ends a wait from any thread (work queued for the display thread).
  void wake() override;

  void windowShown(HWND hwnd) override;
  void windowHidden(HWND hwnd) override;
  void windowMoved(HWND hwnd, const RECT& rect) override;
  void windowRetitled(HWND hwnd, std::u16string_view title) override;
  void windowDestroyed(HWND hwnd) override;
  void windowActivated(HWND hwnd) override;
  void surfacePainted(HWND topLevel, const RECT& surfaceArea) override;
  void cursorChanged(HCURSOR cursor) override;
  bool clipboardText(std::u16string& text) override;
  void setClipboardText(std::u16string_view text) override;
  bool snapshot(HWND topLevel, const std::string& pngPath) override;

 private:
  struct NativeWindow {
    SDL_Window* window = nullptr;
    bool decorated = false;
    POINT surfaceOrigin{};  // the native window's top left in surface pixels
    POINT screenOrigin{};   // and on the screen
    SIZE size{};
    bool minimized = false;
    bool neverActive = false;       // a bubble: the desktop's focus on it is no choice
    bool desktopMovedIt = false;    // in the batch of events being handled
    PendingPlacements fromDesktop;  // reported, not applied by the platform yet
    std::vector<RECT> damage;       // surface pixels
  };

  SdlDisplay(SDL_Window* anchor, _XDisplay* xDisplay, int connection);

  void onDisplayThread(std::function<void()> work);
  void runQueuedWork();
  void present();
  void presentWindow(HWND hwnd, NativeWindow& native);
  void place(HWND hwnd, NativeWindow& native);
  void create(HWND hwnd);
  void damageAll(NativeWindow& native);
  HWND windowOf(Uint32 windowId) const;
  void handle(const SDL_Event& event);
  void handleWindowEvent(const SDL_WindowEvent& event);
  void handleKey(const SDL_KeyboardEvent& event);
  void handleText(const char* utf8);
  POINT screenPoint(Uint32 windowId, int x, int y) const;
  // After a batch of native events: what the desktop changed.
  void reportDesktopChanges();
  void reportPlacement(HWND hwnd, NativeWindow& native);
  void reportFocus();
  // Asks the desktop to give hwnd the keyboard focus the platform gave it.
  void requestFocus(HWND hwnd, NativeWindow& native);
  // Moves and sizes the native window where the platform has it, unless the
  // desktop shows that already.
  void follow(HWND hwnd, NativeWindow& native);
  // True when a window manager runs (it says so on the root window). Without
  // one nobody moves the X input focus but the program itself.
  bool windowManagerRunning() const;
  void readScreen();
  void drainWake();
  void reportFirstFrame();

  // Shows a window that must not take the keyboard (a bubble): the window
  // manager is asked not to activate it, and a captionless tool window is an
  // unmanaged tooltip window. The platform's focus never moves with it: input
  // goes to the platform's own foreground window. Without a window manager
  // (a bare X server) SDL hands every window it maps the X input focus, which
  // is handed back at once.
  void showWithoutFocus(SDL_Window* window);
  void nameNativeClass(HWND hwnd, SDL_Window* window);

  SDL_Window* anchor_;
  _XDisplay* xDisplay_;
  int connection_;
  UniqueFd wakeFd_;  // an eventfd: work from other threads waits
  bool firstFrameShown_ = false;
  std::atomic<int> dpi_{96};
  std::atomic<LONG> screenWidth_{1024};
  std::atomic<LONG> screenHeight_{768};
  std::map<HWND, NativeWindow> windows_;
  DesktopFocus focus_;
  bool focusReported_ = false;  // in the batch of events being handled
  std::map<SDL_SystemCursor, SDL_Cursor*> cursors_;
  std::mutex queueMutex_;
  std::vector<std::function<void()>> queued_;
};

}  // namespace platform::internal
