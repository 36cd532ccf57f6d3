#include "internal/Font.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "internal/TextContext.h"

namespace platform::internal {
namespace {

constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kMono = "DejaVu Sans Mono";
constexpr const char* kSerif = "DejaVu Serif";
// The em size of a font asked for with height 0.
constexpr int kDefaultEm = 11;

std::string asciiLower(std::u16string_view name) {
  std::string out;
  for (char16_t c : name)
    out.push_back(c < 0x80 ? static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c) : '?');
  return out;
}

// The desktop's common face names map to the DejaVu family that looks
// closest; any other name is asked of fontconfig, with DejaVu Sans behind it.
std::string familyFor(const LOGFONTW& lf) {
  std::u16string_view face(lf.lfFaceName, std::char_traits<char16_t>::length(lf.lfFaceName));
  std::string lower = asciiLower(face);
  static const std::map<std::string, const char*> known = {
      {"", kSans},
      {"ms sans serif", kSans},
      {"microsoft sans serif", kSans},
      {"ms shell dlg", kSans},
      {"ms shell dlg 2", kSans},
      {"tahoma", kSans},
      {"segoe ui", kSans},
      {"arial", kSans},
      {"helvetica", kSans},
      {"verdana", kSans},
      {"system", kSans},
      {"courier", kMono},
      {"courier new", kMono},
      {"fixedsys", kMono},
      {"terminal", kMono},
      {"consolas", kMono},
      {"lucida console", kMono},
      {"times new roman", kSerif},
      {"times", kSerif},
      {"georgia", kSerif},
  };
  auto it = known.find(lower);
  if (it != known.end()) return it->second;
  if (lf.lfPitchAndFamily & FIXED_PITCH) return TextContext::toUtf8(face) + "," + kMono;
  return TextContext::toUtf8(face) + "," + kSans;
}

// Cell height over em size of a family, measured once.
double cellRatio(const std::string& family) {
  static std::mutex mutex;
  static std::map<std::string, double> ratios;
  std::lock_guard lock(mutex);
  auto it = ratios.find(family);
  if (it != ratios.end()) return it->second;
  FontDescription description(pango_font_description_new());
  pango_font_description_set_family(description.get(), family.c_str());
  pango_font_description_set_absolute_size(description.get(), 1000.0 * PANGO_SCALE);
  PangoFontMetrics* metrics =
      pango_context_get_metrics(TextContext::current().context(), description.get(), nullptr);
  double cell = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                static_cast<double>(PANGO_SCALE);
  pango_font_metrics_unref(metrics);
  double ratio = cell > 0 ? cell / 1000.0 : 1.0;
  ratios[family] = ratio;
  return ratio;
}

}  // namespace

Font::Font(const LOGFONTW& logFont)
    : logFont_(logFont), description_(pango_font_description_new()) {
  std::string family = familyFor(logFont_);
  int em = kDefaultEm;
  if (logFont_.lfHeight < 0) em = -logFont_.lfHeight;
  if (logFont_.lfHeight > 0) {
    em = std::max(1, static_cast<int>(std::lround(logFont_.lfHeight / cellRatio(family))));
  }
  pango_font_description_set_family(description_.get(), family.c_str());
  pango_font_description_set_absolute_size(description_.get(), double(em) * PANGO_SCALE);
  int weight = logFont_.lfWeight == FW_DONTCARE ? FW_NORMAL : logFont_.lfWeight;
  pango_font_description_set_weight(description_.get(),
                                    static_cast<PangoWeight>(std::clamp(weight, 100, 1000)));
  pango_font_description_set_style(description_.get(),
                                   logFont_.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  metrics_.emSize = em;
}

std::u16string Font::faceName() const {
  std::u16string_view face(logFont_.lfFaceName,
                           std::char_traits<char16_t>::length(logFont_.lfFaceName));
  if (!face.empty()) return std::u16string(face);
  return u"DejaVu Sans";
}

const FontMetrics& Font::metrics() const {
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
  measured_ = true;  // advances below need the ascent no more
  static constexpr std::u16string_view kAlphabet =
      u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  int total = 0;
  for (char16_t c : kAlphabet)
    total += advanceLocked(c);
  metrics_.aveCharWidth = (total + 26) / 52;
  metrics_.maxCharWidth = std::max({advanceLocked(u'W'), advanceLocked(u'M'), advanceLocked(u'@')});
  return metrics_;
}

int Font::measureCharacter(char16_t ch) const {
  if (ch < 0x20 || ch == 0x7F) return 0;
  if (ch >= 0xDC00 && ch < 0xE000) return 0;  // the pair's width sits on its first half
  char16_t probe = (ch >= 0xD800 && ch < 0xDC00) ? u'\uFFFD' : ch;
  PangoLayoutHandle layout = TextContext::current().layout(*this, std::u16string_view(&probe, 1));
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return PANGO_PIXELS(logical.width);
}

int Font::advanceLocked(char16_t ch) const {
  std::unique_ptr<Page>& page = advances_[ch >> 8];
  if (!page) {
    page = std::make_unique<Page>();
    page->fill(-1);
  }
  int16_t& slot = (*page)[ch & 0xFF];
  if (slot < 0) slot = static_cast<int16_t>(measureCharacter(ch));
  return slot;
}

int Font::advance(char16_t ch) const {
  std::lock_guard lock(mutex_);
  return advanceLocked(ch);
}

int Font::measure(std::u16string_view text) const {
  std::lock_guard lock(mutex_);
  int width = 0;
  for (char16_t c : text)
    width += advanceLocked(c);
  return width;
}

TEXTMETRICW Font::textMetrics() const {
  const FontMetrics& m = metrics();
  TEXTMETRICW tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = logFont_.lfWeight == FW_DONTCARE ? FW_NORMAL : logFont_.lfWeight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = logFont_.lfItalic;
  tm.tmUnderlined = logFont_.lfUnderline;
  tm.tmStruckOut = logFont_.lfStrikeOut;
  // The low bit set means variable pitch, as the platform reports it.
  bool fixed = pango_font_description_get_family(description_.get()) &&
               std::string(pango_font_description_get_family(description_.get())).find("Mono") !=
                   std::string::npos;
  tm.tmPitchAndFamily =
      static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (fixed ? 0 : TMPF_FIXED_PITCH) |
                        (fixed ? FF_MODERN : FF_SWISS));
  tm.tmCharSet = logFont_.lfCharSet;
  return tm;
}

}  // namespace platform::internal
