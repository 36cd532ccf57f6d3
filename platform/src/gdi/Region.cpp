#include "internal/Region.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi.h"
#include "platform/user.h"

namespace platform::internal {
namespace {

bool sameSpans(const RECT* band, size_t count, const std::vector<RECT>& previous, size_t start) {
  if (previous.size() - start != count) return false;
  for (size_t i = 0; i < count; ++i) {
    if (band[i].left != previous[start + i].left || band[i].right != previous[start + i].right) {
      return false;
    }
  }
  return true;
}

bool inside(bool inA, bool inB, Region::Op op) {
  switch (op) {
    case Region::Op::And:
      return inA && inB;
    case Region::Op::Or:
      return inA || inB;
    case Region::Op::Xor:
      return inA != inB;
    case Region::Op::Diff:
      return inA && !inB;
  }
  return false;
}

}  // namespace

Region::Region(const RECT& rect) {
  if (rect.right > rect.left && rect.bottom > rect.top) rects_.push_back(rect);
}

RECT Region::bounds() const {
  if (rects_.empty()) return RECT{};
  RECT box = rects_.front();
  for (const RECT& r : rects_) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  box.bottom = rects_.back().bottom;
  return box;
}

bool Region::contains(POINT p) const {
  for (const RECT& r : rects_) {
    if (p.y < r.top) return false;
    if (p.y < r.bottom && p.x >= r.left && p.x < r.right) return true;
  }
  return false;
}

bool Region::intersects(const RECT& rect) const {
  for (const RECT& r : rects_) {
    if (r.top >= rect.bottom) return false;
    if (r.bottom > rect.top && r.left < rect.right && r.right > rect.left) return true;
  }
  return false;
}

void Region::offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

bool operator==(const Region& a, const Region& b) {
  if (a.rects_.size() != b.rects_.size()) return false;
  for (size_t i = 0; i < a.rects_.size(); ++i) {
    if (!EqualRect(&a.rects_[i], &b.rects_[i])) return false;
  }
  return true;
}

void Region::appendBand(LONG top, LONG bottom, const std::vector<Span>& spans) {
  if (spans.empty() || bottom <= top) return;
  // Merge with the band above when it ends here and has the same spans.
  if (!rects_.empty() && rects_.back().bottom == top) {
    LONG previousTop = rects_.back().top;
    size_t start = rects_.size();
    while (start > 0 && rects_[start - 1].top == previousTop)
      --start;
    std::vector<RECT> band;
    for (const Span& s : spans)
      band.push_back(RECT{s.left, top, s.right, bottom});
    if (sameSpans(band.data(), band.size(), rects_, start)) {
      for (size_t i = start; i < rects_.size(); ++i)
        rects_[i].bottom = bottom;
      return;
    }
  }
  for (const Span& s : spans)
    rects_.push_back(RECT{s.left, top, s.right, bottom});
}

std::vector<Region::Span> Region::spansIn(const Region& region, LONG top, LONG bottom) {
  std::vector<Span> spans;
  for (const RECT& r : region.rects_) {
    if (r.top >= bottom) break;
    if (r.top <= top && r.bottom >= bottom) spans.push_back({r.left, r.right});
  }
  return spans;
}

std::vector<Region::Span> Region::combineSpans(const std::vector<Span>& a,
                                               const std::vector<Span>& b, Op op) {
  std::vector<LONG> edges;
  for (const Span& s : a) {
    edges.push_back(s.left);
    edges.push_back(s.right);
  }
  for (const Span& s : b) {
    edges.push_back(s.left);
    edges.push_back(s.right);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  auto covers = [](const std::vector<Span>& spans, LONG x) {
    return std::any_of(spans.begin(), spans.end(),
                       [x](const Span& s) { return s.left <= x && x < s.right; });
  };
  std::vector<Span> out;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    if (!inside(covers(a, edges[i]), covers(b, edges[i]), op)) continue;
    if (!out.empty() && out.back().right == edges[i]) {
      out.back().right = edges[i + 1];
    } else {
      out.push_back({edges[i], edges[i + 1]});
    }
  }
  return out;
}

Region Region::combine(const Region& a, const Region& b, Op op) {
  // Quick answers for the common cases of clipping and invalidation.
  if (op == Op::And && (a.empty() || b.empty())) return Region();
  if ((op == Op::Diff || op == Op::Or || op == Op::Xor) && b.empty()) return a;
  if ((op == Op::Or || op == Op::Xor) && a.empty()) return b;
  if (op == Op::Diff && a.empty()) return Region();
  if (op == Op::And && a.isRectangle() && b.isRectangle()) {
    RECT common;
    IntersectRect(&common, &a.rects_[0], &b.rects_[0]);
    return Region(common);
  }
  std::vector<LONG> ys;
  for (const RECT& r : a.rects_) {
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  for (const RECT& r : b.rects_) {
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  Region out;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    out.appendBand(ys[i], ys[i + 1],
                   combineSpans(spansIn(a, ys[i], ys[i + 1]), spansIn(b, ys[i], ys[i + 1]), op));
  }
  return out;
}

Region Region::fromRows(LONG top, const std::vector<std::vector<Span>>& rows) {
  Region out;
  for (size_t i = 0; i < rows.size(); ++i) {
    LONG y = top + static_cast<LONG>(i);
    out.appendBand(y, y + 1, rows[i]);
  }
  return out;
}

Region Region::ellipse(const RECT& bounds) {
  LONG width = bounds.right - bounds.left;
  LONG height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return Region();
  double a = width / 2.0, b = height / 2.0;
  double cx = bounds.left + a, cy = bounds.top + b;
  std::vector<std::vector<Span>> rows(static_cast<size_t>(height));
  for (LONG row = 0; row < height; ++row) {
    double dy = (bounds.top + row + 0.5 - cy) / b;
    double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    auto left = static_cast<LONG>(std::lround(cx - half));
    auto right = static_cast<LONG>(std::lround(cx + half));
    if (right > left) rows[static_cast<size_t>(row)].push_back({left, right});
  }
  return fromRows(bounds.top, rows);
}

Region Region::roundRect(const RECT& bounds, int cornerWidth, int cornerHeight) {
  LONG width = bounds.right - bounds.left;
  LONG height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return Region();
  double a = std::min<double>(std::abs(cornerWidth), width) / 2.0;
  double b = std::min<double>(std::abs(cornerHeight), height) / 2.0;
  if (a < 0.5 || b < 0.5) return Region(bounds);
  std::vector<std::vector<Span>> rows(static_cast<size_t>(height));
  for (LONG row = 0; row < height; ++row) {
    double y = row + 0.5;
    double dy = 0;
    if (y < b) dy = (b - y) / b;
    if (y > height - b) dy = (y - (height - b)) / b;
    double inset = a - a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    auto left = bounds.left + static_cast<LONG>(std::lround(inset));
    auto right = bounds.right - static_cast<LONG>(std::lround(inset));
    if (right > left) rows[static_cast<size_t>(row)].push_back({left, right});
  }
  return fromRows(bounds.top, rows);
}

Region Region::polygon(std::span<const POINT> points, int fillMode) {
  if (points.size() < 3) return Region();
  LONG top = points[0].y, bottom = points[0].y;
  for (const POINT& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  std::vector<std::vector<Span>> rows(static_cast<size_t>(bottom - top));
  for (LONG y = top; y < bottom; ++y) {
    // Crossings of the pixel row's centre line, with the edge direction.
    double scan = y + 0.5;
    std::vector<std::pair<double, int>> crossings;
    for (size_t i = 0; i < points.size(); ++i) {
      const POINT& p = points[i];
      const POINT& q = points[(i + 1) % points.size()];
      if (p.y == q.y) continue;
      double y0 = p.y, y1 = q.y;
      if (scan < std::min(y0, y1) || scan >= std::max(y0, y1)) continue;
      double x = p.x + (scan - y0) * (q.x - p.x) / (y1 - y0);
      crossings.push_back({x, q.y > p.y ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    std::vector<Span>& row = rows[static_cast<size_t>(y - top)];
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].second;
      bool filled = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!filled) continue;
      auto left = static_cast<LONG>(std::lround(crossings[i].first));
      auto right = static_cast<LONG>(std::lround(crossings[i + 1].first));
      if (right <= left) continue;
      if (!row.empty() && row.back().right >= left) {
        row.back().right = std::max(row.back().right, right);
      } else {
        row.push_back({left, right});
      }
    }
  }
  return fromRows(top, rows);
}

}  // namespace platform::internal
