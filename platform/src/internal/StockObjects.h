// The stock objects and the system colour brushes: permanent objects made on
// first use, whose handles stay valid for the life of the process.
#pragma once

#include <memory>

#include "internal/GdiObject.h"
#include "platform/gdi.h"

namespace platform::internal {

class StockObjects {
 public:
  // Null for DEFAULT_PALETTE and unknown indexes.
  static HGDIOBJ handle(int index);
  static HBRUSH systemColorBrush(int index);
  // The one-pixel monochrome bitmap a new memory device context holds.
  static HBITMAP defaultBitmap();
};

}  // namespace platform::internal
