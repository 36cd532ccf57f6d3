#include "internal/FontFace.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "internal/TextContext.h"

namespace platform::internal {

FontFace::FontFace(const std::string& family, int emSize, int weight, bool italic)
    : description_(pango_font_description_new()) {
  pango_font_description_set_family(description_.get(), family.c_str());
  pango_font_description_set_absolute_size(description_.get(), double(emSize) * PANGO_SCALE);
  pango_font_description_set_weight(description_.get(), static_cast<PangoWeight>(weight));
  pango_font_description_set_style(description_.get(),
                                   italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  metrics_.emSize = emSize;
}

std::shared_ptr<FontFace> FontFace::get(const std::string& family, int emSize, int weight,
                                        bool italic) {
  using Key = std::tuple<std::string, int, int, bool>;
  static std::mutex mutex;
  static std::map<Key, std::shared_ptr<FontFace>> faces;
  std::lock_guard lock(mutex);
  std::shared_ptr<FontFace>& face = faces[Key{family, emSize, weight, italic}];
  if (!face) face = std::make_shared<FontFace>(family, emSize, weight, italic);
  return face;
}

const FontMetrics& FontFace::metrics() const {
  std::lock_guard lock(mutex_);
  if (measured_) return metrics_;
  PangoFontMetrics* pm =
      pango_context_get_metrics(TextContext::current().context(), description_.get(), nullptr);
  metrics_.ascent = (pango_font_metrics_get_ascent(pm) + PANGO_SCALE - 1) / PANGO_SCALE;
  metrics_.descent = (pango_font_metrics_get_descent(pm) + PANGO_SCALE - 1) / PANGO_SCALE;
  pango_font_metrics_unref(pm);
  metrics_.height = metrics_.ascent + metrics_.descent;
  metrics_.internalLeading = std::max(0, metrics_.height - metrics_.emSize);
  metrics_.externalLeading = 0;
  static constexpr std::u16string_view kAlphabet =
      u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  int total = 0;
  for (char16_t c : kAlphabet)
    total += advanceLocked(c);
  metrics_.aveCharWidth = (total + 26) / 52;
  metrics_.maxCharWidth = std::max({advanceLocked(u'W'), advanceLocked(u'M'), advanceLocked(u'@')});
  measured_ = true;
  return metrics_;
}

int FontFace::measureCharacter(char16_t ch) const {
  if (ch < 0x20 || ch == 0x7F) return 0;
  if (ch >= 0xDC00 && ch < 0xE000) return 0;  // the pair's width sits on its first half
  char16_t probe = (ch >= 0xD800 && ch < 0xDC00) ? u'\uFFFD' : ch;
  PangoLayoutHandle layout =
      TextContext::current().layout(description_.get(), std::u16string_view(&probe, 1));
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return PANGO_PIXELS(logical.width);
}

int FontFace::advanceLocked(char16_t ch) const {
  std::unique_ptr<Page>& page = advances_[ch >> 8];
  if (!page) {
    page = std::make_unique<Page>();
    page->fill(-1);
  }
  int16_t& slot = (*page)[ch & 0xFF];
  if (slot < 0) slot = static_cast<int16_t>(measureCharacter(ch));
  return slot;
}

int FontFace::advance(char16_t ch) const {
  std::lock_guard lock(mutex_);
  return advanceLocked(ch);
}

int FontFace::measure(std::u16string_view text) const {
  std::lock_guard lock(mutex_);
  int width = 0;
  for (char16_t c : text)
    width += advanceLocked(c);
  return width;
}

}  // namespace platform::internal
