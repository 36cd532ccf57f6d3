// A face at one size: the pango description, the metrics and the cached
// advance of each character. Faces are shared: every font object asking for
// the same family, size, weight and slant uses one face, so a font made
// again (a control that rebuilds its font) measures nothing twice.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>

#include "internal/CairoHandles.h"

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

class FontFace {
 public:
  FontFace(const std::string& family, int emSize, int weight, bool italic);

  // The shared face for these properties, made on first use.
  static std::shared_ptr<FontFace> get(const std::string& family, int emSize, int weight,
                                       bool italic);

  const PangoFontDescription* description() const { return description_.get(); }
  const FontMetrics& metrics() const;
  int advance(char16_t ch) const;
  int measure(std::u16string_view text) const;

 private:
  using Page = std::array<int16_t, 256>;
  int advanceLocked(char16_t ch) const;
  int measureCharacter(char16_t ch) const;

  FontDescription description_;
  mutable std::mutex mutex_;
  mutable bool measured_ = false;
  mutable FontMetrics metrics_;
  mutable std::array<std::unique_ptr<Page>, 256> advances_;
};

}  // namespace platform::internal
