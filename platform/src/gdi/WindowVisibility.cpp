#include "internal/WindowVisibility.h"

#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

RECT relativeTo(RECT r, POINT origin) {
  OffsetRect(&r, -origin.x, -origin.y);
  return r;
}

// Removes the visible siblings above hwnd from the area.
void clipSiblings(const Window& w, POINT rootOrigin, Region* area) {
  for (HWND sibling : manager().children(w.parent)) {
    if (sibling == w.handle()) return;  // the rest are below
    auto s = manager().find(sibling);
    if (!s || !s->isVisible()) continue;
    *area -= Region(relativeTo(WindowPlacement::screenWindowRect(*s), rootOrigin));
  }
}

}  // namespace

HWND WindowVisibility::rootOf(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w || hwnd == manager().desktop()) return nullptr;
  while (w && w->parent != manager().desktop()) {
    hwnd = w->parent;
    w = manager().find(hwnd);
  }
  return w ? hwnd : nullptr;
}

std::optional<WindowArea> WindowVisibility::areaOf(HWND hwnd, bool wholeWindow) {
  HWND root = rootOf(hwnd);
  auto w = manager().find(hwnd);
  auto top = manager().find(root);
  if (!w || !top) return std::nullopt;
  RECT rootRect = WindowPlacement::screenWindowRect(*top);
  POINT rootOrigin{rootRect.left, rootRect.top};
  RECT own = relativeTo(
      wholeWindow ? WindowPlacement::screenWindowRect(*w) : WindowPlacement::screenClientRect(*w),
      rootOrigin);
  WindowArea area;
  area.surface = WindowSurface::of(*top);
  area.origin = POINT{own.left, own.top};
  area.size = SIZE{own.right - own.left, own.bottom - own.top};
  area.visible = Region(own);
  if (!wholeWindow && (w->style & WS_CLIPCHILDREN)) {
    for (HWND child : manager().children(hwnd)) {
      auto c = manager().find(child);
      if (c && c->isVisible()) {
        area.visible -= Region(relativeTo(WindowPlacement::screenWindowRect(*c), rootOrigin));
      }
    }
  }
  for (auto current = w; current && current->handle() != root;
       current = manager().find(current->parent)) {
    if (current->style & WS_CLIPSIBLINGS) clipSiblings(*current, rootOrigin, &area.visible);
    auto parent = manager().find(current->parent);
    if (!parent) break;
    area.visible &= Region(relativeTo(WindowPlacement::screenClientRect(*parent), rootOrigin));
  }
  return area;
}

}  // namespace platform::internal
