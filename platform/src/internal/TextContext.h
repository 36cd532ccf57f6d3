// Pango on this thread: the context that lays out and draws text for every
// device context and measures fonts. Each thread has its own, because pango
// contexts are not shared between threads.
#pragma once

#include <string>
#include <string_view>

#include "internal/CairoHandles.h"
#include "internal/Font.h"

namespace platform::internal {

class TextContext {
 public:
  static TextContext& current();

  PangoContext* context() const { return context_.get(); }
  // A one-line layout of the text in the font (control characters dropped).
  PangoLayoutHandle layout(const Font& font, std::u16string_view text) const;
  // Draws the text with its cell's top left corner at (x, top).
  void draw(cairo_t* cr, const Font& font, double x, double top, std::u16string_view text) const;

  static std::string toUtf8(std::u16string_view text);

 private:
  TextContext();
  PangoContextHandle context_;
};

}  // namespace platform::internal
