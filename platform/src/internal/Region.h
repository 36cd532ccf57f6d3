// An area of pixels: y-x banded rectangles that do not overlap, the way the
// platform keeps update and clipping regions. Bands are sorted top to bottom,
// rectangles within a band left to right, and vertically adjacent bands with
// the same spans are merged, so two equal areas have equal rectangle lists.
#pragma once

#include <span>
#include <vector>

#include "platform/types.h"

namespace platform::internal {

class Region {
 public:
  enum class Op { And, Or, Xor, Diff };

  Region() = default;
  explicit Region(const RECT& rect);

  static Region ellipse(const RECT& bounds);
  static Region roundRect(const RECT& bounds, int cornerWidth, int cornerHeight);
  // fillMode ALTERNATE (even-odd) or WINDING (non-zero).
  static Region polygon(std::span<const POINT> points, int fillMode);
  static Region combine(const Region& a, const Region& b, Op op);

  bool empty() const { return rects_.empty(); }
  bool isRectangle() const { return rects_.size() == 1; }
  const std::vector<RECT>& rects() const { return rects_; }
  RECT bounds() const;
  bool contains(POINT point) const;
  bool intersects(const RECT& rect) const;
  void offset(int dx, int dy);

  Region& operator&=(const Region& other) { return *this = combine(*this, other, Op::And); }
  Region& operator|=(const Region& other) { return *this = combine(*this, other, Op::Or); }
  Region& operator-=(const Region& other) { return *this = combine(*this, other, Op::Diff); }
  friend bool operator==(const Region& a, const Region& b);

 private:
  struct Span {
    LONG left;
    LONG right;
  };
  // Builds a region from rows of spans (one vector of spans per pixel row,
  // starting at row top).
  static Region fromRows(LONG top, const std::vector<std::vector<Span>>& rows);
  static std::vector<Span> spansIn(const Region& region, LONG top, LONG bottom);
  static std::vector<Span> combineSpans(const std::vector<Span>& a, const std::vector<Span>& b,
                                        Op op);
  void appendBand(LONG top, LONG bottom, const std::vector<Span>& spans);

  std::vector<RECT> rects_;
};

}  // namespace platform::internal
