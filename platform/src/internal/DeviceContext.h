// A device context: a drawing target (a window's part of its top-level
// surface, a memory bitmap, or nothing for the screen) with the selected
// objects, colours, modes, origins and clipping, and the saved states.
//
// Device coordinates start at the top left of the window's client area (or
// of its window rectangle, or of the bitmap); logical coordinates are device
// coordinates moved by the viewport and window origins. Clipping regions are
// kept in device coordinates, as the platform keeps them.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "internal/Bitmap.h"
#include "internal/Brush.h"
#include "internal/CairoHandles.h"
#include "internal/Font.h"
#include "internal/GdiObject.h"
#include "internal/Pen.h"
#include "internal/Region.h"
#include "internal/WindowSurface.h"

namespace platform::internal {

class DeviceContext final : public GdiObject {
 public:
  struct State {
    HGDIOBJ penHandle = nullptr;
    HGDIOBJ brushHandle = nullptr;
    HGDIOBJ fontHandle = nullptr;
    HGDIOBJ bitmapHandle = nullptr;
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    std::shared_ptr<Bitmap> bitmap;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    int bkMode = 2;        // OPAQUE
    int rop2 = 13;         // R2_COPYPEN
    int polyFillMode = 1;  // ALTERNATE
    UINT textAlign = 0;
    POINT position{};
    POINT viewportOrg{};
    POINT windowOrg{};
    std::optional<Region> clip;  // device coordinates
  };

  DeviceContext();

  // A context of a window's client area (or whole window) on its surface;
  // null for an unknown window.
  static std::shared_ptr<DeviceContext> forWindow(HWND hwnd, bool wholeWindow);
  static std::shared_ptr<DeviceContext> forMemory();
  // The screen: it measures but has nothing to draw on.
  static std::shared_ptr<DeviceContext> forScreen();

  Kind kind() const override { return Kind::DeviceContext; }
  HWND window() const { return window_; }
  bool isMemory() const { return memory_; }
  State& state() { return state_; }
  const State& state() const { return state_; }

  // Limits drawing to part of the surface (the update region of a paint).
  void restrictTo(const Region& deviceRegion);
  int save();
  bool restore(int level);
  int savedCount() const { return static_cast<int>(saved_.size()); }
  void clipChanged() { clipDirty_ = true; }
  bool selectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap);

  // The pen and brush in force: the DC pen and brush take the context's
  // own colours.
  std::shared_ptr<Pen> pen() const;
  std::shared_ptr<Brush> brush() const;

  // A cairo context set up for drawing in logical coordinates with the
  // clipping applied and no antialiasing; null when there is no target.
  cairo_t* begin();
  // Sets the source for drawing in a colour (or with a brush) under the
  // raster operation; false when the operation draws nothing.
  bool setColorSource(cairo_t* cr, COLORREF color) const;
  bool setBrushSource(cairo_t* cr, const Brush& brush) const;

  POINT offset() const;  // logical to device
  // Device size of the target (client area, window, or bitmap).
  SIZE size() const { return size_; }
  // The area drawing reaches, in device coordinates.
  Region clipArea() const;
  COLORREF pixel(POINT logical) const;
  cairo_surface_t* targetSurface() const;
  POINT surfaceOrigin() const { return origin_; }

 private:
  void selectDefaults();
  void rebuildTarget();

  HWND window_ = nullptr;
  bool memory_ = false;
  std::shared_ptr<WindowSurface> windowSurface_;
  CairoContext cairo_;
  POINT origin_{};  // device (0,0) in surface pixels
  SIZE size_{};
  std::optional<Region> visible_;  // surface pixels; none: the whole target
  bool clipDirty_ = true;
  State state_;
  std::vector<State> saved_;
};

}  // namespace platform::internal
