#include "internal/ScrollBars.h"

#include <algorithm>

namespace platform::internal {
namespace {

constexpr int kMinimumThumb = 8;

int length(const RECT& r, bool vertical) {
  return vertical ? r.bottom - r.top : r.right - r.left;
}

}  // namespace

int ScrollBarState::maxPos() const {
  int span = page > 0 ? static_cast<int>(page) - 1 : 0;
  return std::max(min, max - span);
}

ScrollBarLayout ScrollBarLayout::of(const RECT& bar, bool vertical, const ScrollBarState& state) {
  ScrollBarLayout layout;
  layout.bar = bar;
  layout.vertical = vertical;
  int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  int total = length(bar, vertical);
  int arrow = std::min(thickness, total / 2);
  if (vertical) {
    layout.lineUp = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
    layout.lineDown = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  } else {
    layout.lineUp = RECT{bar.left, bar.top, bar.left + arrow, bar.bottom};
    layout.lineDown = RECT{bar.right - arrow, bar.top, bar.right, bar.bottom};
  }
  int track = total - 2 * arrow;
  if (!state.scrollable() || state.disabledArrows == ESB_DISABLE_BOTH || track < kMinimumThumb) {
    return layout;
  }
  int range = state.max - state.min + 1;
  int thumb = state.page > 0 ? static_cast<int>(static_cast<long long>(track) * state.page / range)
                             : thickness;
  thumb = std::clamp(thumb, kMinimumThumb, track);
  int travel = track - thumb;
  int span = state.maxPos() - state.min;
  int offset =
      span > 0
          ? static_cast<int>(static_cast<long long>(travel) *
                             (std::clamp(state.pos, state.min, state.maxPos()) - state.min) / span)
          : 0;
  int start = (vertical ? bar.top : bar.left) + arrow + offset;
  layout.thumb = vertical ? RECT{bar.left, start, bar.right, start + thumb}
                          : RECT{start, bar.top, start + thumb, bar.bottom};
  return layout;
}

ScrollBarLayout::Part ScrollBarLayout::partAt(POINT point) const {
  if (!PtInRect(&bar, point)) return Part::None;
  if (PtInRect(&lineUp, point)) return Part::LineUp;
  if (PtInRect(&lineDown, point)) return Part::LineDown;
  if (IsRectEmpty(&thumb)) return Part::None;
  if (PtInRect(&thumb, point)) return Part::Thumb;
  int at = vertical ? point.y : point.x;
  int thumbStart = vertical ? thumb.top : thumb.left;
  return at < thumbStart ? Part::PageUp : Part::PageDown;
}

int ScrollBarLayout::positionForDrag(const ScrollBarState& state, int startPos, int offset) const {
  int track = length(bar, vertical) - length(lineUp, vertical) - length(lineDown, vertical);
  int travel = track - length(thumb, vertical);
  int span = state.maxPos() - state.min;
  if (travel <= 0 || span <= 0) return startPos;
  int moved = static_cast<int>(static_cast<long long>(offset) * span / travel);
  return std::clamp(startPos + moved, state.min, state.maxPos());
}

}  // namespace platform::internal
