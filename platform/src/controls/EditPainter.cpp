#include "internal/EditPainter.h"

#include <algorithm>
#include <string>

namespace platform::internal {

int EditPainter::lineLeft(EditText& text, const EditView& view, size_t line) {
  int left = view.format.left - view.xOffset;
  if (view.alignment == ES_LEFT) return left;
  int free = (view.format.right - view.format.left) -
             text.xOf(text.lineStart(line) + text.lineLength(line));
  if (free <= 0) return left;
  return left + (view.alignment == ES_RIGHT ? free : free / 2);
}

void EditPainter::paint(HDC dc, EditText& text, const EditView& view, HBRUSH background) {
  int saved = SaveDC(dc);
  RECT all{0, 0, 0x7FFF, 0x7FFF};
  FillRect(dc, &all, background);
  SetBkMode(dc, TRANSPARENT);
  if (!view.enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  IntersectClipRect(dc, view.format.left, view.format.top, view.format.right, view.format.bottom);
  if (text.length() == 0 && !view.cue.empty()) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    ExtTextOutW(dc, view.format.left, view.format.top, 0, nullptr, view.cue.data(),
                static_cast<UINT>(view.cue.size()), nullptr);
  }
  // Only the lines that meet the area being painted are laid out and drawn:
  // a partial repaint costs the lines it repaints.
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) clip = view.format;
  size_t count = text.lineCount();
  int y = view.format.top;
  for (size_t line = view.firstLine; line < count && y < view.format.bottom && y < clip.bottom;
       ++line) {
    if (y + view.lineHeight > clip.top) drawLine(dc, text, view, line, y);
    y += view.lineHeight;
  }
  if (view.showCaret) {
    size_t line = text.lineOf(text.caret());
    if (line >= view.firstLine) {
      int top = view.format.top + static_cast<int>(line - view.firstLine) * view.lineHeight;
      int x = lineLeft(text, view, line) + text.xOf(text.caret());
      x = std::min(x, static_cast<int>(view.format.right) - 1);
      RECT caret{x, top, x + 1, top + view.lineHeight};
      FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
  }
  RestoreDC(dc, saved);
}

void EditPainter::drawLine(HDC dc, EditText& text, const EditView& view, size_t line, int y) {
  size_t start = text.lineStart(line);
  size_t length = text.lineLength(line);
  int left = lineLeft(text, view, line);
  drawRuns(dc, text, view, start, length, left, y);
  if (!view.showSelection || !text.hasSelection()) return;
  size_t from = std::max(text.selectionStart(), start);
  size_t to = std::min(text.selectionEnd(), start + length);
  bool throughBreak = text.selectionEnd() > start + length &&
                      text.selectionStart() <= start + length && line + 1 < text.lineCount();
  if (from > to || (from == to && !throughBreak)) return;
  int x0 = left + text.xOf(from);
  int x1 = left + text.xOf(to) + (throughBreak ? 4 : 0);
  RECT highlight{x0, y, x1, y + view.lineHeight};
  int saved = SaveDC(dc);
  FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  IntersectClipRect(dc, x0, y, x1, y + view.lineHeight);
  SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  drawRuns(dc, text, view, start, length, left, y);
  RestoreDC(dc, saved);
}

// The runs of a line between tabs, each where the text model places it.
void EditPainter::drawRuns(HDC dc, EditText& text, const EditView& view, size_t start,
                           size_t length, int left, int y) {
  std::u16string_view all(text.text());
  size_t runStart = start;
  size_t end = start + length;
  for (size_t i = start; i <= end; ++i) {
    if (i < end && all[i] != u'\t') continue;
    if (i > runStart) {
      int x = left + text.xOf(runStart);
      if (view.mask) {
        std::u16string masked(i - runStart, view.mask);
        ExtTextOutW(dc, x, y, 0, nullptr, masked.data(), static_cast<UINT>(masked.size()), nullptr);
      } else {
        ExtTextOutW(dc, x, y, 0, nullptr, all.data() + runStart, static_cast<UINT>(i - runStart),
                    nullptr);
      }
    }
    runStart = i + 1;
  }
}

}  // namespace platform::internal
