#include "internal/SdlDisplay.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include <sys/eventfd.h>
#include <unistd.h>

#include "internal/DisplayState.h"
#include "internal/SdlKeyMap.h"
#include "internal/WindowVisibility.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace platform::internal {
namespace {

std::string utf8Of(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// SDL hands over valid UTF-8.
std::u16string utf16Of(const char* text) {
  std::u16string out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    char32_t c = *p;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    c &= extra ? (0x3F >> extra) : 0x7F;
    ++p;
    for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p)
      c = (c << 6) | (*p & 0x3F);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

RECT intersection(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool isEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

std::optional<SDL_SystemCursor> systemCursorOf(HCURSOR cursor) {
  auto id = static_cast<WORD>(reinterpret_cast<uintptr_t>(cursor) >> 4);
  switch (id) {
    case 32512:
      return SDL_SYSTEM_CURSOR_ARROW;
    case 32513:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514:
      return SDL_SYSTEM_CURSOR_WAIT;
    case 32515:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case 32640:
    case 32646:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648:
      return SDL_SYSTEM_CURSOR_NO;
    case 32649:
      return SDL_SYSTEM_CURSOR_HAND;
    case 32650:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    default:
      return std::nullopt;
  }
}

std::optional<MouseButton> buttonOf(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MouseButton::Left;
    case SDL_BUTTON_RIGHT:
      return MouseButton::Right;
    case SDL_BUTTON_MIDDLE:
      return MouseButton::Middle;
    case SDL_BUTTON_X1:
      return MouseButton::X1;
    case SDL_BUTTON_X2:
      return MouseButton::X2;
    default:
      return std::nullopt;
  }
}

// Where the desktop shows a native window, and its size.
std::pair<POINT, SIZE> geometryOf(SDL_Window* window) {
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &width, &height);
  return {POINT{x, y}, SIZE{width, height}};
}

// The resolution the user asked for (SKIFFWIRE_DPI), else the display's.
int resolutionOf(int display) {
  if (const char* forced = std::getenv("SKIFFWIRE_DPI")) {
    int value = std::atoi(forced);
    if (value >= 48 && value <= 480) return value;
  }
  float horizontal = 0;
  if (SDL_GetDisplayDPI(display, nullptr, &horizontal, nullptr) != 0 || horizontal < 48) return 96;
  return static_cast<int>(std::lround(horizontal));
}

}  // namespace

std::unique_ptr<SdlDisplay> SdlDisplay::open(std::string& error) {
  // The loop waits on the X connection's descriptor (see the header).
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  // SIGINT and SIGTERM end the program as usual.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "0");
  // The X server's own framebuffer: a window's surface through a renderer
  // would make SDL destroy and recreate the native window on first use,
  // which maps it anew and, without a window manager, gives it the focus.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  SDL_Window* anchor = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!anchor || !SDL_GetWindowWMInfo(anchor, &info) || info.subsystem != SDL_SYSWM_X11) {
    error = SDL_GetError();
    if (anchor) SDL_DestroyWindow(anchor);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  Display* x = info.info.x11.display;
  auto display = std::unique_ptr<SdlDisplay>(new SdlDisplay(anchor, x, ConnectionNumber(x)));
  SDL_StartTextInput();
  return display;
}

SdlDisplay::SdlDisplay(SDL_Window* anchor, _XDisplay* xDisplay, int connection)
    : anchor_(anchor),
      xDisplay_(xDisplay),
      connection_(connection),
      wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  readScreen();
}

SdlDisplay::~SdlDisplay() {
  for (auto& [hwnd, native] : windows_)
    SDL_DestroyWindow(native.window);
  for (auto& [id, cursor] : cursors_)
    SDL_FreeCursor(cursor);
  SDL_DestroyWindow(anchor_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlDisplay::readScreen() {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) == 0) {
    screenWidth_ = bounds.w;
    screenHeight_ = bounds.h;
  }
  dpi_ = resolutionOf(0);
}

SIZE SdlDisplay::screenSize() const {
  return SIZE{screenWidth_.load(), screenHeight_.load()};
}

int SdlDisplay::dpi() const {
  return dpi_.load();
}

// ---------------------------------------------------------------------------
// Waiting and events
// ---------------------------------------------------------------------------
std::vector<int> SdlDisplay::waitDescriptors() {
  return {connection_, wakeFd_.get()};
}

void SdlDisplay::wake() {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t written = ::write(wakeFd_.get(), &one, sizeof one);
}

void SdlDisplay::drainWake() {
  uint64_t count = 0;
  [[maybe_unused]] ssize_t got = ::read(wakeFd_.get(), &count, sizeof count);
}

int SdlDisplay::wait(std::span<pollfd> fds, int timeoutMs) {
  drainWake();
  runQueuedWork();
  present();
  SDL_PumpEvents();
  if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    for (pollfd& p : fds)
      p.revents = p.fd == connection_ ? POLLIN : 0;
    return 1;
  }
  return ::poll(fds.data(), fds.size(), timeoutMs);
}

void SdlDisplay::pumpEvents() {
  drainWake();
  runQueuedWork();
  SDL_Event event;
  while (SDL_PollEvent(&event))
    handle(event);
  reportDesktopChanges();
  present();
}

void SdlDisplay::onDisplayThread(std::function<void()> work) {
  if (GetCurrentThreadId() == DisplayThreadId()) {
    work();
    return;
  }
  {
    std::lock_guard lock(queueMutex_);
    queued_.push_back(std::move(work));
  }
  wake();
}

void SdlDisplay::runQueuedWork() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(queueMutex_);
    work.swap(queued_);
  }
  for (auto& item : work)
    item();
}

HWND SdlDisplay::windowOf(Uint32 windowId) const {
  for (const auto& [hwnd, native] : windows_) {
    if (SDL_GetWindowID(native.window) == windowId) return hwnd;
  }
  return nullptr;
}

POINT SdlDisplay::screenPoint(Uint32 windowId, int x, int y) const {
  auto found = windows_.find(windowOf(windowId));
  if (found == windows_.end()) return POINT{x, y};
  return POINT{found->second.screenOrigin.x + x, found->second.screenOrigin.y + y};
}

void SdlDisplay::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      handleWindowEvent(event.window);
      return;
    case SDL_MOUSEMOTION:
      InjectMouseMove(screenPoint(event.motion.windowID, event.motion.x, event.motion.y));
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.type == SDL_MOUSEBUTTONDOWN) focus_.userPressed();
      if (auto button = buttonOf(event.button.button)) {
        InjectMouseMove(screenPoint(event.button.windowID, event.button.x, event.button.y));
        InjectMouseButton(*button, event.type == SDL_MOUSEBUTTONDOWN);
      }
      return;
    case SDL_MOUSEWHEEL:
      if (event.wheel.y) InjectMouseWheel(event.wheel.y * WHEEL_DELTA, false);
      if (event.wheel.x) InjectMouseWheel(event.wheel.x * WHEEL_DELTA, true);
      return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handleKey(event.key);
      return;
    case SDL_TEXTINPUT:
      handleText(event.text.text);
      return;
    case SDL_DISPLAYEVENT: {
      int oldDpi = dpi_;
      SIZE oldSize = screenSize();
      readScreen();
      if (oldDpi == dpi_ && oldSize.cx == screenWidth_ && oldSize.cy == screenHeight_) return;
      // Only queues: the windows learn it from their loops.
      for (const auto& [hwnd, native] : windows_)
        PostMessageW(hwnd, WM_DISPLAYCHANGE, 32,
                     MAKELPARAM(static_cast<WORD>(screenWidth_), static_cast<WORD>(screenHeight_)));
      return;
    }
    default:
      return;
  }
}

void SdlDisplay::handleWindowEvent(const SDL_WindowEvent& event) {
  HWND hwnd = windowOf(event.windowID);
  auto found = windows_.find(hwnd);
  if (found == windows_.end()) return;
  NativeWindow& native = found->second;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case SDL_WINDOWEVENT_MINIMIZED:
      if (!native.minimized) PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      native.minimized = true;
      return;
    case SDL_WINDOWEVENT_MAXIMIZED:
      if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_MAXIMIZE))
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      return;
    case SDL_WINDOWEVENT_RESTORED:
      if (native.minimized) PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
      native.minimized = false;
      damageAll(native);
      return;
    case SDL_WINDOWEVENT_MOVED:
      native.desktopMovedIt = true;
      return;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      native.desktopMovedIt = true;
      damageAll(native);
      return;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
      damageAll(native);
      return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      focusReported_ = true;
      return;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: {
      SDL_Event display{};
      display.type = SDL_DISPLAYEVENT;
      handle(display);
      return;
    }
    default:
      return;
  }
}

// ---------------------------------------------------------------------------
// What the desktop changed
// ---------------------------------------------------------------------------
void SdlDisplay::reportDesktopChanges() {
  for (auto& [hwnd, native] : windows_) {
    if (!native.desktopMovedIt) continue;
    native.desktopMovedIt = false;
    reportPlacement(hwnd, native);
  }
  if (!focusReported_) return;
  focusReported_ = false;
  reportFocus();
}

void SdlDisplay::reportPlacement(HWND hwnd, NativeWindow& native) {
  if (native.minimized) return;
  auto [at, size] = geometryOf(native.window);
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  // A decorated native window shows the client area; the platform's frame
  // around it keeps its size.
  SIZE frame{0, 0};
  if (native.decorated) {
    frame =
        SIZE{window.right - window.left - client.right, window.bottom - window.top - client.bottom};
  }
  RECT placed{at.x - native.surfaceOrigin.x, at.y - native.surfaceOrigin.y, 0, 0};
  placed.right = placed.left + size.cx + frame.cx;
  placed.bottom = placed.top + size.cy + frame.cy;
  // Pointer positions from now on are where the desktop shows the window.
  native.screenOrigin = at;
  if (EqualRect(&placed, &window)) return;
  native.fromDesktop.reported(placed);
  InjectWindowPlacement(hwnd, placed);
}

void SdlDisplay::reportFocus() {
  HWND focused = nullptr;
  if (SDL_Window* window = SDL_GetKeyboardFocus()) {
    for (const auto& [hwnd, native] : windows_) {
      if (native.window != window) continue;
      if (native.neverActive) return;  // handed back already (showWithoutFocus)
      focused = hwnd;
    }
  }
  if (auto change = focus_.observed(focused, SDL_GetTicks())) {
    InjectActivation(change->hwnd, change->active);
  }
}

void SdlDisplay::requestFocus(HWND hwnd, NativeWindow& native) {
  if (native.neverActive) return;
  bool agrees = SDL_GetKeyboardFocus() == native.window;
  focus_.platformActivated(hwnd, agrees, SDL_GetTicks());
  if (agrees) return;
  SDL_RaiseWindow(native.window);
  if (!windowManagerRunning()) SDL_SetWindowInputFocus(native.window);
}

bool SdlDisplay::windowManagerRunning() const {
  Atom check = XInternAtom(xDisplay_, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  int status = XGetWindowProperty(xDisplay_, DefaultRootWindow(xDisplay_), check, 0, 1, False,
                                  XA_WINDOW, &type, &format, &count, &after, &data);
  if (data) XFree(data);
  return status == Success && type == XA_WINDOW && count == 1;
}

void SdlDisplay::handleKey(const SDL_KeyboardEvent& event) {
  int virtualKey = SdlKeyMap::virtualKeyOf(event.keysym);
  if (!virtualKey) return;
  InjectKey(virtualKey, event.type == SDL_KEYDOWN);
}

void SdlDisplay::handleText(const char* utf8) {
  for (char16_t ch : utf16Of(utf8))
    InjectChar(ch);
}

// ---------------------------------------------------------------------------
// Windows
// ---------------------------------------------------------------------------
void SdlDisplay::place(HWND hwnd, NativeWindow& native) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  native.decorated = (style & WS_CAPTION) == WS_CAPTION;
  if (native.decorated) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    native.screenOrigin = origin;
    native.size = SIZE{client.right, client.bottom};
    native.surfaceOrigin = POINT{origin.x - window.left, origin.y - window.top};
  } else {
    native.screenOrigin = POINT{window.left, window.top};
    native.size = SIZE{window.right - window.left, window.bottom - window.top};
    native.surfaceOrigin = POINT{0, 0};
  }
  native.size.cx = std::max<LONG>(native.size.cx, 1);
  native.size.cy = std::max<LONG>(native.size.cy, 1);
}

void SdlDisplay::create(HWND hwnd) {
  NativeWindow native;
  place(hwnd, native);
  auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!native.decorated) flags |= SDL_WINDOW_BORDERLESS;
  // A sizing border lets the window manager resize it; without one the
  // window keeps the size the program gives it.
  auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  if (native.decorated && (style & WS_THICKFRAME)) flags |= SDL_WINDOW_RESIZABLE;
  if (exStyle & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_SKIP_TASKBAR;
  // A captionless tool window (a tooltip) is never managed nor focused.
  if (!native.decorated && (exStyle & WS_EX_TOOLWINDOW)) flags |= SDL_WINDOW_TOOLTIP;
  native.neverActive = (flags & SDL_WINDOW_TOOLTIP) || (exStyle & WS_EX_NOACTIVATE);
  if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  char16_t title[256] = {};
  GetWindowTextW(hwnd, reinterpret_cast<LPWSTR>(title), 256);
  native.window = SDL_CreateWindow(utf8Of(title).c_str(), native.screenOrigin.x,
                                   native.screenOrigin.y, native.size.cx, native.size.cy, flags);
  if (!native.window) return;
  nameNativeClass(hwnd, native.window);
  // An owned window stays above its owner: the window manager learns whose
  // it is (a box over the form that waits for it).
  auto owner = windows_.find(GetWindow(hwnd, GW_OWNER));
  if (owner != windows_.end() && native.decorated) {
    SDL_SetWindowModalFor(native.window, owner->second.window);
  }
  windows_[hwnd] = std::move(native);
}

// The native window carries the window's class name as its X11 class, so
// desktop tools find a program's windows by the class it registered.
void SdlDisplay::nameNativeClass(HWND hwnd, SDL_Window* window) {
  char16_t name[256] = {};
  if (GetClassNameW(hwnd, reinterpret_cast<LPWSTR>(name), 256) <= 0) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  std::string className = utf8Of(name);
  XClassHint current{};
  const bool had = XGetClassHint(xDisplay_, info.info.x11.window, &current) != 0;
  std::string instanceName = had && current.res_name ? current.res_name : className;
  if (had) {
    if (current.res_name) XFree(current.res_name);
    if (current.res_class) XFree(current.res_class);
  }
  XClassHint hint{instanceName.data(), className.data()};
  XSetClassHint(xDisplay_, info.info.x11.window, &hint);
}

void SdlDisplay::damageAll(NativeWindow& native) {
  native.damage.assign(
      1, RECT{native.surfaceOrigin.x, native.surfaceOrigin.y,
              native.surfaceOrigin.x + native.size.cx, native.surfaceOrigin.y + native.size.cy});
}

void SdlDisplay::windowShown(HWND hwnd) {
  onDisplayThread([this, hwnd] {
    if (!windows_.count(hwnd)) create(hwnd);
    auto found = windows_.find(hwnd);
    if (found == windows_.end()) return;
    NativeWindow& native = found->second;
    if (GetForegroundWindow() == hwnd) {
      SDL_ShowWindow(native.window);
      requestFocus(hwnd, native);
    } else {
      showWithoutFocus(native.window);
    }
    damageAll(native);
  });
}

void SdlDisplay::showWithoutFocus(SDL_Window* window) {
  SDL_Window* focused = SDL_GetKeyboardFocus();
  bool managed = windowManagerRunning();
  // A user time of 0 asks the window manager not to focus the window it maps.
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (managed && SDL_GetWindowWMInfo(window, &info)) {
    long never = 0;
    Atom userTime = XInternAtom(xDisplay_, "_NET_WM_USER_TIME", False);
    XChangeProperty(xDisplay_, info.info.x11.window, userTime, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&never), 1);
  }
  SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
  SDL_ShowWindow(window);
  SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "0");
  if (focused && focused != window && !managed) SDL_SetWindowInputFocus(focused);
}

void SdlDisplay::windowHidden(HWND hwnd) {
  onDisplayThread([this, hwnd] {
    auto found = windows_.find(hwnd);
    if (found != windows_.end()) SDL_HideWindow(found->second.window);
  });
}

void SdlDisplay::windowMoved(HWND hwnd, const RECT&) {
  onDisplayThread([this, hwnd] {
    auto found = windows_.find(hwnd);
    if (found == windows_.end()) return;
    NativeWindow& native = found->second;
    place(hwnd, native);
    auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if ((style & WS_MINIMIZE) && !native.minimized) {
      native.minimized = true;
      SDL_MinimizeWindow(native.window);
      return;
    }
    if (!(style & WS_MINIMIZE) && native.minimized) {
      native.minimized = false;
      SDL_RestoreWindow(native.window);
    }
    follow(hwnd, native);
    damageAll(native);
  });
}

void SdlDisplay::follow(HWND hwnd, NativeWindow& native) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  if (native.fromDesktop.consume(window)) return;
  auto [at, size] = geometryOf(native.window);
  if (at.x != native.screenOrigin.x || at.y != native.screenOrigin.y) {
    SDL_SetWindowPosition(native.window, native.screenOrigin.x, native.screenOrigin.y);
  }
  if (size.cx != native.size.cx || size.cy != native.size.cy) {
    SDL_SetWindowSize(native.window, native.size.cx, native.size.cy);
  }
}

void SdlDisplay::windowActivated(HWND hwnd) {
  onDisplayThread([this, hwnd] {
    auto found = windows_.find(hwnd);
    if (found != windows_.end()) requestFocus(hwnd, found->second);
  });
}

void SdlDisplay::windowRetitled(HWND hwnd, std::u16string_view title) {
  onDisplayThread([this, hwnd, title = utf8Of(title)] {
    auto found = windows_.find(hwnd);
    if (found != windows_.end()) SDL_SetWindowTitle(found->second.window, title.c_str());
  });
}

void SdlDisplay::windowDestroyed(HWND hwnd) {
  onDisplayThread([this, hwnd] {
    auto found = windows_.find(hwnd);
    if (found == windows_.end()) return;
    SDL_DestroyWindow(found->second.window);
    windows_.erase(found);
    focus_.forget(hwnd);
  });
}

void SdlDisplay::surfacePainted(HWND topLevel, const RECT& surfaceArea) {
  onDisplayThread([this, topLevel, surfaceArea] {
    auto found = windows_.find(topLevel);
    if (found != windows_.end()) found->second.damage.push_back(surfaceArea);
  });
}

// ---------------------------------------------------------------------------
// Presenting
// ---------------------------------------------------------------------------
void SdlDisplay::present() {
  for (auto& [hwnd, native] : windows_) {
    if (!native.damage.empty()) presentWindow(hwnd, native);
  }
}

void SdlDisplay::presentWindow(HWND hwnd, NativeWindow& native) {
  std::vector<RECT> damage;
  damage.swap(native.damage);
  auto area = WindowVisibility::areaOf(hwnd, true);
  SDL_Surface* target = SDL_GetWindowSurface(native.window);
  if (!area || !area->surface || !target) return;
  cairo_surface_t* image = area->surface->surface();
  cairo_surface_flush(image);
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(image), cairo_image_surface_get_width(image),
      cairo_image_surface_get_height(image), 32, cairo_image_surface_get_stride(image),
      SDL_PIXELFORMAT_ARGB8888);
  if (!source) return;
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  RECT shown{native.surfaceOrigin.x, native.surfaceOrigin.y,
             native.surfaceOrigin.x + std::min<LONG>(native.size.cx, target->w),
             native.surfaceOrigin.y + std::min<LONG>(native.size.cy, target->h)};
  std::vector<SDL_Rect> updated;
  for (const RECT& rect : damage) {
    RECT part = intersection(rect, shown);
    if (isEmpty(part)) continue;
    SDL_Rect from{part.left, part.top, part.right - part.left, part.bottom - part.top};
    SDL_Rect to{part.left - native.surfaceOrigin.x, part.top - native.surfaceOrigin.y, from.w,
                from.h};
    SDL_BlitSurface(source, &from, target, &to);
    updated.push_back(to);
  }
  SDL_FreeSurface(source);
  if (updated.empty()) return;
  SDL_UpdateWindowSurfaceRects(native.window, updated.data(), static_cast<int>(updated.size()));
  if (!firstFrameShown_) reportFirstFrame();
  firstFrameShown_ = true;
}

// SKIFFWIRE_FRAME_TIMING: how long after the process started its first frame
// reached the screen.
void SdlDisplay::reportFirstFrame() {
  if (!std::getenv("SKIFFWIRE_FRAME_TIMING")) return;
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  double elapsed =
      static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started;
  std::fprintf(stderr, "first frame %.0f ms after process start\n", elapsed * 1000);
}

bool SdlDisplay::snapshot(HWND topLevel, const std::string& pngPath) {
  if (GetCurrentThreadId() != DisplayThreadId()) return false;
  auto found = windows_.find(topLevel);
  if (found == windows_.end()) return false;
  present();
  SDL_Surface* shown = SDL_GetWindowSurface(found->second.window);
  if (!shown) return false;
  SDL_Surface* copy = SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_ARGB8888, 0);
  if (!copy) return false;
  cairo_surface_t* image = cairo_image_surface_create_for_data(
      static_cast<unsigned char*>(copy->pixels), CAIRO_FORMAT_RGB24, copy->w, copy->h, copy->pitch);
  bool written = cairo_surface_write_to_png(image, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(image);
  SDL_FreeSurface(copy);
  return written;
}

// ---------------------------------------------------------------------------
// Cursor and clipboard
// ---------------------------------------------------------------------------
void SdlDisplay::cursorChanged(HCURSOR cursor) {
  onDisplayThread([this, cursor] {
    if (!cursor) {
      SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    std::optional<SDL_SystemCursor> id = systemCursorOf(cursor);
    if (!id) return;
    SDL_Cursor*& native = cursors_[*id];
    if (!native) native = SDL_CreateSystemCursor(*id);
    if (native) SDL_SetCursor(native);
  });
}

bool SdlDisplay::clipboardText(std::u16string& text) {
  if (GetCurrentThreadId() != DisplayThreadId()) return false;
  if (!SDL_HasClipboardText()) {
    text.clear();
    return true;
  }
  char* utf8 = SDL_GetClipboardText();
  text = utf16Of(utf8 ? utf8 : "");
  SDL_free(utf8);
  return true;
}

void SdlDisplay::setClipboardText(std::u16string_view text) {
  onDisplayThread([text = utf8Of(text)] { SDL_SetClipboardText(text.c_str()); });
}

}  // namespace platform::internal
