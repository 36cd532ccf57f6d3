// Handle-to-object lookups for the GDI functions, with the platform's last
// error for handles that name nothing.
#pragma once

#include <memory>

#include "internal/Bitmap.h"
#include "internal/Brush.h"
#include "internal/DeviceContext.h"
#include "internal/Font.h"
#include "internal/GdiHandleTable.h"
#include "internal/Pen.h"
#include "internal/RegionObject.h"
#include "internal/StockObjects.h"
#include "internal/SystemColors.h"
#include "platform/kernel.h"

namespace platform::internal {

inline std::shared_ptr<DeviceContext> contextOf(HDC dc) {
  auto context =
      GdiHandleTable::instance().findAs<DeviceContext>(dc, GdiObject::Kind::DeviceContext);
  if (!context) SetLastError(ERROR_INVALID_HANDLE);
  return context;
}

inline std::shared_ptr<RegionObject> regionOf(HRGN region) {
  auto object = GdiHandleTable::instance().findAs<RegionObject>(region, GdiObject::Kind::Region);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

// A brush handle, or a system colour given as COLOR_x + 1.
inline std::shared_ptr<Brush> brushOf(HBRUSH brush) {
  int index = SystemColors::indexOfBrushValue(brush);
  if (index >= 0) brush = StockObjects::systemColorBrush(index);
  auto object = GdiHandleTable::instance().findAs<Brush>(brush, GdiObject::Kind::Brush);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

inline std::shared_ptr<Font> fontOf(HFONT font) {
  return GdiHandleTable::instance().findAs<Font>(font, GdiObject::Kind::Font);
}

inline std::shared_ptr<Bitmap> bitmapOf(HBITMAP bitmap) {
  return GdiHandleTable::instance().findAs<Bitmap>(bitmap, GdiObject::Kind::Bitmap);
}

template <typename Handle>
Handle addObject(std::shared_ptr<GdiObject> object) {
  HGDIOBJ handle = GdiHandleTable::instance().add(std::move(object));
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return static_cast<Handle>(handle);
}

}  // namespace platform::internal
