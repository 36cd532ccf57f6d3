// The standard scroll bars of one window (WS_HSCROLL, WS_VSCROLL): range,
// page, position and which arrows are disabled, and the geometry of their
// parts, shared by the painter and the mouse handling.
#pragma once

#include <array>

#include "platform/controls.h"

namespace platform::internal {

struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  UINT disabledArrows = ESB_ENABLE_BOTH;

  // The highest position the range and page allow.
  int maxPos() const;
  bool scrollable() const { return max > min && maxPos() > min; }
};

// The parts of a scroll bar laid out in a rectangle (window coordinates).
struct ScrollBarLayout {
  enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };
  RECT bar{};
  RECT lineUp{};
  RECT lineDown{};
  RECT thumb{};  // empty when the bar cannot scroll
  bool vertical = true;

  static ScrollBarLayout of(const RECT& bar, bool vertical, const ScrollBarState& state);
  Part partAt(POINT point) const;
  // The position a thumb dragged by `offset` pixels from its start stands for.
  int positionForDrag(const ScrollBarState& state, int startPos, int offset) const;
};

class ScrollBars {
 public:
  ScrollBarState& bar(int which) { return bars_[which == SB_VERT ? 1 : 0]; }

 private:
  std::array<ScrollBarState, 2> bars_;
};

}  // namespace platform::internal
