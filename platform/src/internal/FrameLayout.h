// Where the parts of a window's non-client area lie, in window coordinates
// (the window rectangle's top left is 0,0): the outer frame, the caption
// with its icon and buttons, the client edge and the scroll bars.
#pragma once

#include "platform/user.h"

namespace platform::internal {

class Window;

struct FrameLayout {
  enum class Border { None, Thin, Dialog, Sizing };

  SIZE size{};
  Border border = Border::None;
  int borderWidth = 0;
  bool hasCaption = false;
  RECT caption{};      // the caption bar, without its separator line below
  RECT icon{};         // empty without a system menu
  RECT closeButton{};  // empty without a system menu
  RECT maxButton{};    // empty without minimize and maximize boxes
  RECT minButton{};
  RECT edge{};        // the client edge and what is inside it
  int edgeWidth = 0;  // 2 for WS_EX_CLIENTEDGE, 1 for WS_EX_STATICEDGE
  RECT client{};
  RECT verticalBar{};    // empty without WS_VSCROLL
  RECT horizontalBar{};  // empty without WS_HSCROLL
  RECT sizeBox{};        // the corner between two scroll bars

  static FrameLayout of(const Window& window);
  // From the styles and the window and client rectangles (any one origin).
  static FrameLayout of(DWORD style, DWORD exStyle, const RECT& window, const RECT& client);
  // The hit-test code of a point in window coordinates, or HTNOWHERE when
  // the point is in no part of the caption (the caller decides the rest).
  LRESULT captionPartAt(POINT point) const;
};

}  // namespace platform::internal
