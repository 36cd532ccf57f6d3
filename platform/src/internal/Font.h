// A font: a LOGFONTW resolved to a pango font description, with its metrics
// and the advance width of each character, measured once and cached.
//
// Text is laid out without kerning or ligatures, so that the width of a run
// is the sum of its characters' advances: measuring a line is a table lookup
// per character, and what is measured is what pango draws.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "internal/CairoHandles.h"
#include "internal/GdiObject.h"
#include "platform/gdi.h"

namespace platform::internal {

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;  // ascent + descent
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int emSize = 0;
};

class Font final : public GdiObject {
 public:
  explicit Font(const LOGFONTW& logFont);
  Kind kind() const override { return Kind::Font; }

  const LOGFONTW& logFont() const { return logFont_; }
  const PangoFontDescription* description() const { return description_.get(); }
  std::u16string faceName() const;
  const FontMetrics& metrics() const;
  int advance(char16_t ch) const;
  // Sum of the advances of the characters.
  int measure(std::u16string_view text) const;
  TEXTMETRICW textMetrics() const;

 private:
  using Page = std::array<int16_t, 256>;
  int advanceLocked(char16_t ch) const;
  int measureCharacter(char16_t ch) const;

  LOGFONTW logFont_;
  FontDescription description_;
  mutable std::mutex mutex_;
  mutable bool measured_ = false;
  mutable FontMetrics metrics_;
  mutable std::array<std::unique_ptr<Page>, 256> advances_;
};

}  // namespace platform::internal
