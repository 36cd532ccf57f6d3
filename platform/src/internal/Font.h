// A font: a LOGFONTW resolved to a pango font description, with its metrics
// and the advance width of each character, measured once and cached.
//
// Text is laid out without kerning or ligatures, so that the width of a run
// is the sum of its characters' advances: measuring a line is a table lookup
// per character, and what is measured is what pango draws.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "internal/FontFace.h"
#include "internal/GdiObject.h"
#include "platform/gdi.h"

namespace platform::internal {

class Font final : public GdiObject {
 public:
  explicit Font(const LOGFONTW& logFont);
  Kind kind() const override { return Kind::Font; }

  const LOGFONTW& logFont() const { return logFont_; }
  const PangoFontDescription* description() const { return face_->description(); }
  std::u16string faceName() const;
  const FontMetrics& metrics() const { return face_->metrics(); }
  int advance(char16_t ch) const { return face_->advance(ch); }
  // Sum of the advances of the characters.
  int measure(std::u16string_view text) const { return face_->measure(text); }
  TEXTMETRICW textMetrics() const;

 private:
  LOGFONTW logFont_;
  std::shared_ptr<FontFace> face_;
};

}  // namespace platform::internal
