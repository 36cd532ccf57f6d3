// Text output and measurement.
#include <algorithm>
#include <string_view>

#include "internal/GdiLookup.h"
#include "internal/ShapeDrawing.h"
#include "internal/TextBlock.h"
#include "internal/TextContext.h"
#include "platform/gdi.h"

using platform::internal::contextOf;
using platform::internal::DeviceContext;
using platform::internal::Font;
using platform::internal::ShapeDrawing;
using platform::internal::TextBlock;
using platform::internal::TextContext;

namespace {

std::u16string_view textOf(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<size_t>(count));
}

void setTextSource(cairo_t* cr, COLORREF color) {
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                       GetBValue(color) / 255.0);
}

// Draws one line whose tabs were laid out by the block, with its mnemonic
// underline.
void drawLine(DeviceContext& dc, const TextBlock& block, const TextBlock::Line& line, int x,
              int top, bool underlineOnly) {
  const Font& font = *dc.state().font;
  if (dc.state().bkMode == OPAQUE && !underlineOnly) {
    ShapeDrawing::fillColor(dc, RECT{x, top, x + line.width, top + block.lineHeight()},
                            dc.state().bkColor);
  }
  cairo_t* cr = dc.begin();
  if (!cr) return;
  setTextSource(cr, dc.state().textColor);
  if (!underlineOnly) {
    std::u16string_view text(line.text);
    size_t start = 0;
    while (start <= text.size()) {
      size_t tab = text.find(u'\t', start);
      size_t end = tab == std::u16string_view::npos ? text.size() : tab;
      TextContext::current().draw(cr, font, x + block.offsetOf(line, start), top,
                                  text.substr(start, end - start));
      if (tab == std::u16string_view::npos) break;
      start = tab + 1;
    }
  }
  if (line.underline >= 0) {
    auto at = static_cast<size_t>(line.underline);
    int left = x + block.offsetOf(line, at);
    int right = x + block.offsetOf(line, at + 1);
    int y = top + font.metrics().ascent + 1;
    cairo_rectangle(cr, left, y, right - left, 1);
    cairo_fill(cr);
  }
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  DeviceContext::State& state = context->state();
  const Font& font = *state.font;
  std::u16string_view line = textOf(text, static_cast<int>(count));
  if (state.textAlign & TA_UPDATECP) {
    x = state.position.x;
    y = state.position.y;
  }
  int width = 0;
  if (dx) {
    for (size_t i = 0; i < line.size(); ++i)
      width += dx[i];
  } else {
    width = font.measure(line);
  }
  const auto& m = font.metrics();
  UINT horizontal = state.textAlign & TA_CENTER;
  int left = horizontal == TA_RIGHT ? x - width : horizontal == TA_CENTER ? x - width / 2 : x;
  UINT vertical = state.textAlign & TA_BASELINE;
  int top = vertical == TA_BASELINE ? y - m.ascent : vertical == TA_BOTTOM ? y - m.height : y;
  if ((state.textAlign & TA_UPDATECP) && horizontal != TA_CENTER) {
    state.position.x = horizontal == TA_RIGHT ? x - width : x + width;
  }
  int saved = context->save();
  if (rect && (options & ETO_OPAQUE)) ShapeDrawing::fillColor(*context, *rect, state.bkColor);
  if (rect && (options & ETO_CLIPPED)) {
    IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  }
  if (context->state().bkMode == OPAQUE && !(options & ETO_OPAQUE)) {
    ShapeDrawing::fillColor(*context, RECT{left, top, left + width, top + m.height},
                            context->state().bkColor);
  }
  if (cairo_t* cr = context->begin()) {
    setTextSource(cr, context->state().textColor);
    if (!dx) {
      TextContext::current().draw(cr, font, left, top, line);
    } else {
      int at = left;
      for (size_t i = 0; i < line.size(); ++i) {
        TextContext::current().draw(cr, font, at, top, line.substr(i, 1));
        at += dx[i];
      }
    }
  }
  context->restore(saved);
  return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) {
  auto context = contextOf(dc);
  if (!context || !rect) return 0;
  TextBlock block(*context->state().font, textOf(text, count), format, rect->right - rect->left);
  int height = static_cast<int>(block.lines().size()) * block.lineHeight();
  if (format & DT_CALCRECT) {
    rect->right = rect->left + block.widest();
    rect->bottom = rect->top + height;
    return height;
  }
  int top = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = rect->top + (rect->bottom - rect->top - height) / 2;
    if (format & DT_BOTTOM) top = rect->bottom - height;
  }
  int saved = context->save();
  if (!(format & DT_NOCLIP))
    IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  for (const TextBlock::Line& line : block.lines()) {
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - line.width) / 2;
    if (format & DT_RIGHT) x = rect->right - line.width;
    drawLine(*context, block, line, x, top, (format & DT_PREFIXONLY) != 0);
    top += block.lineHeight();
  }
  context->restore(saved);
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return top - rect->top;
  return height;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
  auto context = contextOf(dc);
  if (!context || !size || count < 0) return FALSE;
  const Font& font = *context->state().font;
  size->cx = font.measure(textOf(text, count));
  size->cy = font.metrics().height;
  return TRUE;
}

BOOL GetTextExtentPointW(HDC dc, LPCWSTR text, int count, SIZE* size) {
  return GetTextExtentPoint32W(dc, text, count, size);
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx,
                           SIZE* size) {
  auto context = contextOf(dc);
  if (!context || count < 0) return FALSE;
  const Font& font = *context->state().font;
  std::u16string_view line = textOf(text, count);
  int x = 0;
  int fitted = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    x += font.advance(line[i]);
    if (dx) dx[i] = x;
    if (x <= maxExtent) fitted = static_cast<int>(i) + 1;
  }
  if (fit) *fit = fitted;
  if (size) *size = SIZE{x, font.metrics().height};
  return TRUE;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
  auto context = contextOf(dc);
  if (!context || !metrics) return FALSE;
  *metrics = context->state().font->textMetrics();
  return TRUE;
}

int GetTextFaceW(HDC dc, int count, LPWSTR name) {
  auto context = contextOf(dc);
  if (!context) return 0;
  std::u16string face = context->state().font->faceName();
  if (!name) return static_cast<int>(face.size()) + 1;
  if (count <= 0) return 0;
  size_t copied = std::min<size_t>(face.size(), static_cast<size_t>(count) - 1);
  std::copy_n(face.data(), copied, name);
  name[copied] = 0;
  return static_cast<int>(copied);
}
