#include "internal/Font.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "internal/DisplayScale.h"
#include "internal/TextContext.h"

namespace platform::internal {
namespace {

constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kMono = "DejaVu Sans Mono";
constexpr const char* kSerif = "DejaVu Serif";
// The em size of a font asked for with height 0, at 96 dots per inch.
constexpr int kDefaultEmAt96 = 11;

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

Font::Font(const LOGFONTW& logFont) : logFont_(logFont) {
  std::string family = familyFor(logFont_);
  int em = PixelsForDisplay(kDefaultEmAt96);
  if (logFont_.lfHeight < 0) em = -logFont_.lfHeight;
  if (logFont_.lfHeight > 0) {
    em = std::max(1, static_cast<int>(std::lround(logFont_.lfHeight / cellRatio(family))));
  }
  int weight = logFont_.lfWeight == FW_DONTCARE ? FW_NORMAL : logFont_.lfWeight;
  face_ = FontFace::get(family, em, std::clamp(weight, 100, 1000), logFont_.lfItalic != 0);
}

std::u16string Font::faceName() const {
  std::u16string_view face(logFont_.lfFaceName,
                           std::char_traits<char16_t>::length(logFont_.lfFaceName));
  if (!face.empty()) return std::u16string(face);
  return u"DejaVu Sans";
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
  const char* family = pango_font_description_get_family(description());
  bool fixed = family && std::string(family).find("Mono") != std::string::npos;
  tm.tmPitchAndFamily =
      static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (fixed ? 0 : TMPF_FIXED_PITCH) |
                        (fixed ? FF_MODERN : FF_SWISS));
  tm.tmCharSet = logFont_.lfCharSet;
  return tm;
}

}  // namespace platform::internal
