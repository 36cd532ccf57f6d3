#include "internal/StockObjects.h"

#include <array>
#include <mutex>

#include "internal/Bitmap.h"
#include "internal/Brush.h"
#include "internal/DisplayScale.h"
#include "internal/Font.h"
#include "internal/GdiHandleTable.h"
#include "internal/Pen.h"
#include "internal/SystemColors.h"

namespace platform::internal {
namespace {

HGDIOBJ addPermanent(std::shared_ptr<GdiObject> object) {
  object->makePermanent();
  return GdiHandleTable::instance().add(std::move(object));
}

LOGFONTW fontWith(LONG height, LONG weight, const char16_t* face, BYTE pitch) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = pitch;
  std::u16string_view name = face;
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  return lf;
}

// The stock fonts are sized once, for the resolution in force when the first
// stock object is asked for (a program installs its display driver before
// that), and keep it, as stock fonts do elsewhere; the non-client metrics
// follow the display.
struct Stock {
  std::array<HGDIOBJ, DC_PEN + 1> objects{};
  std::array<HGDIOBJ, SystemColors::kCount> brushes{};
  HGDIOBJ bitmap = nullptr;

  Stock() {
    objects[WHITE_BRUSH] = addPermanent(Brush::solid(RGB(255, 255, 255)));
    objects[LTGRAY_BRUSH] = addPermanent(Brush::solid(RGB(192, 192, 192)));
    objects[GRAY_BRUSH] = addPermanent(Brush::solid(RGB(128, 128, 128)));
    objects[DKGRAY_BRUSH] = addPermanent(Brush::solid(RGB(64, 64, 64)));
    objects[BLACK_BRUSH] = addPermanent(Brush::solid(RGB(0, 0, 0)));
    objects[NULL_BRUSH] = addPermanent(Brush::null());
    objects[WHITE_PEN] = addPermanent(std::make_shared<Pen>(PS_SOLID, 1, RGB(255, 255, 255)));
    objects[BLACK_PEN] = addPermanent(std::make_shared<Pen>(PS_SOLID, 1, RGB(0, 0, 0)));
    objects[NULL_PEN] = addPermanent(std::make_shared<Pen>(PS_NULL, 1, 0));
    LOGFONTW fixed =
        fontWith(-PixelsForDisplay(12), FW_NORMAL, u"DejaVu Sans Mono", FIXED_PITCH | FF_MODERN);
    objects[OEM_FIXED_FONT] = addPermanent(std::make_shared<Font>(fixed));
    objects[ANSI_FIXED_FONT] = addPermanent(std::make_shared<Font>(fixed));
    objects[SYSTEM_FIXED_FONT] = addPermanent(std::make_shared<Font>(fixed));
    objects[ANSI_VAR_FONT] = addPermanent(std::make_shared<Font>(SystemColors::messageFont()));
    LOGFONTW system =
        fontWith(-PixelsForDisplay(12), FW_BOLD, u"DejaVu Sans", VARIABLE_PITCH | FF_SWISS);
    objects[SYSTEM_FONT] = addPermanent(std::make_shared<Font>(system));
    objects[DEVICE_DEFAULT_FONT] = addPermanent(std::make_shared<Font>(system));
    objects[DEFAULT_GUI_FONT] = addPermanent(std::make_shared<Font>(SystemColors::messageFont()));
    // The DC brush and pen take the context's own colours where they are used.
    objects[DC_BRUSH] = addPermanent(Brush::solid(RGB(255, 255, 255)));
    objects[DC_PEN] = addPermanent(std::make_shared<Pen>(PS_SOLID, 1, 0));
    for (int i = 0; i < SystemColors::kCount; ++i)
      brushes[static_cast<size_t>(i)] = addPermanent(Brush::solid(SystemColors::color(i)));
    bitmap = addPermanent(std::make_shared<Bitmap>(1, 1, true));
  }
};

Stock& stock() {
  static Stock objects;
  return objects;
}

}  // namespace

HGDIOBJ StockObjects::handle(int index) {
  if (index < 0 || index > DC_PEN) return nullptr;
  return stock().objects[static_cast<size_t>(index)];
}

HBRUSH StockObjects::systemColorBrush(int index) {
  if (!SystemColors::valid(index)) return nullptr;
  return static_cast<HBRUSH>(stock().brushes[static_cast<size_t>(index)]);
}

HBITMAP StockObjects::defaultBitmap() {
  return static_cast<HBITMAP>(stock().bitmap);
}

}  // namespace platform::internal
