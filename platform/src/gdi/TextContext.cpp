#include "internal/TextContext.h"

#include <glib.h>

namespace platform::internal {

TextContext& TextContext::current() {
  thread_local TextContext context;
  return context;
}

TextContext::TextContext() {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  context_.reset(pango_font_map_create_context(map));
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_.get(), options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context_.get(), 96);
  pango_context_set_round_glyph_positions(context_.get(), TRUE);
}

std::string TextContext::toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c < 0x20 || c == 0x7F) continue;  // control characters draw nothing
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    char buffer[6];
    int length = g_unichar_to_utf8(c, buffer);
    out.append(buffer, static_cast<size_t>(length));
  }
  return out;
}

PangoLayoutHandle TextContext::layout(const Font& font, std::u16string_view text) const {
  return layout(font.description(), text, font.logFont().lfUnderline != 0,
                font.logFont().lfStrikeOut != 0);
}

PangoLayoutHandle TextContext::layout(const PangoFontDescription* description,
                                      std::u16string_view text, bool underline,
                                      bool strikeOut) const {
  PangoLayoutHandle layout(pango_layout_new(context_.get()));
  pango_layout_set_font_description(layout.get(), description);
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_font_features_new("kern=0,liga=0,clig=0"));
  if (underline) {
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  }
  if (strikeOut) {
    pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  }
  pango_layout_set_attributes(layout.get(), attributes);
  pango_attr_list_unref(attributes);
  std::string utf8 = toUtf8(text);
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

void TextContext::draw(cairo_t* cr, const Font& font, double x, double top,
                       std::u16string_view text) const {
  if (text.empty()) return;
  PangoLayoutHandle line = layout(font, text);
  double baseline = pango_layout_get_baseline(line.get()) / static_cast<double>(PANGO_SCALE);
  cairo_move_to(cr, x, top + font.metrics().ascent - baseline);
  pango_cairo_show_layout(cr, line.get());
}

}  // namespace platform::internal

#if defined(__SANITIZE_ADDRESS__)
// fontconfig, pango, cairo, glib and the display libraries keep caches and
// connections for the life of the process; the leak checker is told so
// instead of reporting them at exit. Allocations of this project's own code
// are still checked.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libpango\n"
         "leak:libcairo.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libharfbuzz.so\n"
         "leak:libSDL2\n"
         "leak:libX11.so\n"
         "leak:libxcb.so\n"
         "leak:libdbus-1.so\n";
}
#endif
