#include "internal/Painting.h"

#include "internal/Messenger.h"
#include "internal/WindowManager.h"
#include "internal/WindowPlacement.h"
#include "platform/gdi.h"

namespace platform::internal {
namespace {

WindowManager& manager() {
  return WindowManager::instance();
}

bool includesChildren(const Window& w, Painting::Children children) {
  switch (children) {
    case Painting::Children::All:
      return true;
    case Painting::Children::None:
      return false;
    case Painting::Children::Default:
      return !(w.style & WS_CLIPCHILDREN);
  }
  return false;
}

// The part of a parent's client area a child covers, in the child's client
// coordinates; and whether the child's frame is covered.
Region childShare(const Window& child, const Region& parentArea, bool* frameCovered) {
  Region share = Region::combine(parentArea, Region(child.windowRect), Region::Op::And);
  *frameCovered = !Region::combine(share, Region(child.clientRect), Region::Op::Diff).empty();
  share.offset(-child.clientRect.left, -child.clientRect.top);
  return share;
}

}  // namespace

bool Painting::hasFrame(DWORD style, DWORD exStyle) {
  constexpr DWORD kFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
  constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
  return (style & kFrameStyles) || (exStyle & kFrameExStyles);
}

Region Painting::clientArea(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return Region();
  return Region(RECT{0, 0, w->clientRect.right - w->clientRect.left,
                     w->clientRect.bottom - w->clientRect.top});
}

void Painting::invalidate(HWND hwnd, const Region& area, bool erase, Children children) {
  auto w = manager().find(hwnd);
  if (!w || !w->isVisible()) return;
  w->invalidate(area, erase);
  if (!includesChildren(*w, children)) return;
  Children next = children == Children::All ? Children::All : Children::Default;
  for (HWND child : manager().children(hwnd)) {
    auto c = manager().find(child);
    if (!c || !c->isVisible()) continue;
    bool frameCovered = false;
    Region share = childShare(*c, area, &frameCovered);
    if (frameCovered && hasFrame(c->style, c->exStyle)) c->invalidateFrame();
    if (!share.empty()) invalidate(child, share, erase, next);
  }
}

void Painting::validate(HWND hwnd, const Region* area, Children children) {
  auto w = manager().find(hwnd);
  if (!w) return;
  if (area) {
    w->validate(*area);
  } else {
    w->validate(static_cast<const RECT*>(nullptr));
  }
  if (!includesChildren(*w, children)) return;
  Children next = children == Children::All ? Children::All : Children::Default;
  for (HWND child : manager().children(hwnd)) {
    auto c = manager().find(child);
    if (!c) continue;
    if (!area) {
      validate(child, nullptr, next);
      continue;
    }
    bool frameCovered = false;
    Region share = childShare(*c, *area, &frameCovered);
    if (!share.empty()) validate(child, &share, next);
  }
}

void Painting::paintPendingFrame(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w || !w->takeFramePaint()) return;
  if (!hasFrame(w->style, w->exStyle)) return;
  if (!WindowPlacement::isVisibleOnScreen(hwnd)) return;
  Messenger::send(hwnd, WM_NCPAINT, 1, 0);
}

void Painting::eraseNow(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w || !w->erasePending() || !WindowPlacement::isVisibleOnScreen(hwnd)) return;
  paintPendingFrame(hwnd);
  HDC dc = GetDC(hwnd);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(hwnd, update, FALSE);
  SelectClipRgn(dc, update);
  DeleteObject(update);
  w->cancelErase();
  Messenger::send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ReleaseDC(hwnd, dc);
}

void Painting::updateNow(HWND hwnd) {
  auto w = manager().find(hwnd);
  if (!w) return;
  if (w->needsPaint() && WindowPlacement::isVisibleOnScreen(hwnd)) {
    if (w->updateRegion().empty() && w->framePending() && !w->erasePending()) {
      paintPendingFrame(hwnd);
    }
    if (manager().find(hwnd) && w->needsPaint()) Messenger::send(hwnd, WM_PAINT, 0, 0);
  }
  for (HWND child : manager().children(hwnd))
    updateNow(child);
}

}  // namespace platform::internal
