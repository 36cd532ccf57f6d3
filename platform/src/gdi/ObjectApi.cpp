// GDI objects: stock objects, creation, selection, deletion and the
// attributes of a device context.
#include <algorithm>
#include <cstring>
#include <utility>

#include "internal/GdiLookup.h"
#include "platform/gdi.h"

using platform::internal::addObject;
using platform::internal::Bitmap;
using platform::internal::bitmapOf;
using platform::internal::Brush;
using platform::internal::contextOf;
using platform::internal::DeviceContext;
using platform::internal::Font;
using platform::internal::GdiHandleTable;
using platform::internal::GdiObject;
using platform::internal::Pen;
using platform::internal::RegionObject;
using platform::internal::StockObjects;

namespace {

template <typename T>
int copyOut(const T& value, int size, LPVOID buffer) {
  if (!buffer) return static_cast<int>(sizeof(T));
  int count = std::min<int>(size, static_cast<int>(sizeof(T)));
  if (count <= 0) return 0;
  std::memcpy(buffer, &value, static_cast<size_t>(count));
  return count;
}

// Runs a change of one attribute of a context; answers the old value, or
// `failure` for a bad handle.
template <typename T, typename Change>
T changeState(HDC dc, T failure, Change change) {
  auto context = contextOf(dc);
  if (!context) return failure;
  return change(context->state());
}

BOOL changeOrigin(HDC dc, POINT DeviceContext::State::*field, POINT value, bool relative,
                  POINT* previous) {
  auto context = contextOf(dc);
  if (!context) return FALSE;
  POINT& origin = context->state().*field;
  if (previous) *previous = origin;
  if (relative) {
    origin.x += value.x;
    origin.y += value.y;
  } else {
    origin = value;
  }
  return TRUE;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
  return StockObjects::handle(index);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  auto context = contextOf(dc);
  auto target = GdiHandleTable::instance().find(object);
  if (!context || !target) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DeviceContext::State& state = context->state();
  HGDIOBJ previous = nullptr;
  switch (target->kind()) {
    case GdiObject::Kind::Pen:
      previous = std::exchange(state.penHandle, object);
      state.pen = std::static_pointer_cast<Pen>(target);
      return previous;
    case GdiObject::Kind::Brush:
      previous = std::exchange(state.brushHandle, object);
      state.brush = std::static_pointer_cast<Brush>(target);
      return previous;
    case GdiObject::Kind::Font:
      previous = std::exchange(state.fontHandle, object);
      state.font = std::static_pointer_cast<Font>(target);
      return previous;
    case GdiObject::Kind::Bitmap:
      previous = state.bitmapHandle;
      if (!context->selectBitmap(object, std::static_pointer_cast<Bitmap>(target))) return nullptr;
      return previous;
    case GdiObject::Kind::Region: {
      int type = SelectClipRgn(dc, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    case GdiObject::Kind::DeviceContext:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
  auto target = GdiHandleTable::instance().find(object);
  if (!target) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (target->permanent()) return TRUE;
  if (target->kind() == GdiObject::Kind::DeviceContext) return FALSE;
  if (target->kind() == GdiObject::Kind::Bitmap &&
      std::static_pointer_cast<Bitmap>(target)->selected) {
    return FALSE;
  }
  GdiHandleTable::instance().remove(object);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
  auto target = GdiHandleTable::instance().find(object);
  if (!target) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (target->kind()) {
    case GdiObject::Kind::Pen:
      return OBJ_PEN;
    case GdiObject::Kind::Brush:
      return OBJ_BRUSH;
    case GdiObject::Kind::Font:
      return OBJ_FONT;
    case GdiObject::Kind::Bitmap:
      return OBJ_BITMAP;
    case GdiObject::Kind::Region:
      return OBJ_REGION;
    case GdiObject::Kind::DeviceContext:
      return std::static_pointer_cast<DeviceContext>(target)->isMemory() ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  auto target = GdiHandleTable::instance().find(object);
  if (!target) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (target->kind()) {
    case GdiObject::Kind::Pen: {
      auto pen = std::static_pointer_cast<Pen>(target);
      return copyOut(LOGPEN{static_cast<UINT>(pen->style()), POINT{pen->width(), 0}, pen->color()},
                     size, buffer);
    }
    case GdiObject::Kind::Brush:
      return copyOut(std::static_pointer_cast<Brush>(target)->describe(), size, buffer);
    case GdiObject::Kind::Font:
      return copyOut(std::static_pointer_cast<Font>(target)->logFont(), size, buffer);
    case GdiObject::Kind::Bitmap: {
      auto bitmap = std::static_pointer_cast<Bitmap>(target);
      WORD bits = bitmap->monochrome() ? 1 : 32;
      LONG widthBytes =
          bitmap->monochrome() ? ((bitmap->width() + 15) / 16) * 2 : bitmap->width() * 4;
      return copyOut(BITMAP{0, bitmap->width(), bitmap->height(), widthBytes, 1, bits, nullptr},
                     size, buffer);
    }
    case GdiObject::Kind::Region:
    case GdiObject::Kind::DeviceContext:
      break;
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  auto context = contextOf(dc);
  if (!context) return nullptr;
  const DeviceContext::State& state = context->state();
  switch (type) {
    case OBJ_PEN:
      return state.penHandle;
    case OBJ_BRUSH:
      return state.brushHandle;
    case OBJ_FONT:
      return state.fontHandle;
    case OBJ_BITMAP:
      return state.bitmapHandle;
  }
  return nullptr;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  int kind = style & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Wide pens are always solid, as the platform draws them.
  if (width > 1 && kind != PS_NULL && kind != PS_INSIDEFRAME) kind = PS_SOLID;
  return addObject<HPEN>(std::make_shared<Pen>(kind, width, color & 0xFFFFFF));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return addObject<HBRUSH>(Brush::solid(color));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return addObject<HBRUSH>(Brush::hatched(hatch, color));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto source = bitmapOf(bitmap);
  if (!source) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return addObject<HBRUSH>(Brush::pattern(source));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW copy = *font;
  copy.lfFaceName[LF_FACESIZE - 1] = 0;
  return addObject<HFONT>(std::make_shared<Font>(copy));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW lf{height,
              width,
              escapement,
              orientation,
              weight,
              static_cast<BYTE>(italic),
              static_cast<BYTE>(underline),
              static_cast<BYTE>(strikeOut),
              static_cast<BYTE>(charSet),
              static_cast<BYTE>(outPrecision),
              static_cast<BYTE>(clipPrecision),
              static_cast<BYTE>(quality),
              static_cast<BYTE>(pitchAndFamily),
              {}};
  if (faceName) {
    size_t length = std::char_traits<char16_t>::length(faceName);
    std::copy_n(faceName, std::min<size_t>(length, LF_FACESIZE - 1), lf.lfFaceName);
  }
  return CreateFontIndirectW(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  auto context = contextOf(dc);
  if (!context || width < 0 || height < 0) return nullptr;
  // A memory context's compatible bitmap has the format of its bitmap.
  bool monochrome =
      context->isMemory() && context->state().bitmap && context->state().bitmap->monochrome();
  return addObject<HBITMAP>(std::make_shared<Bitmap>(width, height, monochrome));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>(width, height, bitsPerPixel == 1);
  bitmap->load(bits, static_cast<int>(bitsPerPixel));
  return addObject<HBITMAP>(std::move(bitmap));
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  return changeState(dc, CLR_INVALID, [&](DeviceContext::State& s) {
    return std::exchange(s.textColor, color & 0xFFFFFF);
  });
}

COLORREF GetTextColor(HDC dc) {
  return changeState(dc, CLR_INVALID, [](DeviceContext::State& s) { return s.textColor; });
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  return changeState(dc, CLR_INVALID, [&](DeviceContext::State& s) {
    return std::exchange(s.bkColor, color & 0xFFFFFF);
  });
}

COLORREF GetBkColor(HDC dc) {
  return changeState(dc, CLR_INVALID, [](DeviceContext::State& s) { return s.bkColor; });
}

int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return changeState(dc, 0, [&](DeviceContext::State& s) { return std::exchange(s.bkMode, mode); });
}

int GetBkMode(HDC dc) {
  return changeState(dc, 0, [](DeviceContext::State& s) { return s.bkMode; });
}

int SetROP2(HDC dc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return changeState(dc, 0, [&](DeviceContext::State& s) { return std::exchange(s.rop2, mode); });
}

int GetROP2(HDC dc) {
  return changeState(dc, 0, [](DeviceContext::State& s) { return s.rop2; });
}

int SetPolyFillMode(HDC dc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return changeState(dc, 0,
                     [&](DeviceContext::State& s) { return std::exchange(s.polyFillMode, mode); });
}

int GetPolyFillMode(HDC dc) {
  return changeState(dc, 0, [](DeviceContext::State& s) { return s.polyFillMode; });
}

UINT SetTextAlign(HDC dc, UINT align) {
  return changeState(dc, GDI_ERROR,
                     [&](DeviceContext::State& s) { return std::exchange(s.textAlign, align); });
}

UINT GetTextAlign(HDC dc) {
  return changeState(dc, GDI_ERROR, [](DeviceContext::State& s) { return s.textAlign; });
}

COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
  return changeState(dc, CLR_INVALID, [&](DeviceContext::State& s) {
    return std::exchange(s.dcBrushColor, color & 0xFFFFFF);
  });
}

COLORREF SetDCPenColor(HDC dc, COLORREF color) {
  return changeState(dc, CLR_INVALID, [&](DeviceContext::State& s) {
    return std::exchange(s.dcPenColor, color & 0xFFFFFF);
  });
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  return changeOrigin(dc, &DeviceContext::State::viewportOrg, POINT{x, y}, false, previous);
}

BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  return changeOrigin(dc, &DeviceContext::State::viewportOrg, POINT{dx, dy}, true, previous);
}

BOOL GetViewportOrgEx(HDC dc, POINT* origin) {
  auto context = contextOf(dc);
  if (!context || !origin) return FALSE;
  *origin = context->state().viewportOrg;
  return TRUE;
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous) {
  return changeOrigin(dc, &DeviceContext::State::windowOrg, POINT{x, y}, false, previous);
}

BOOL GetWindowOrgEx(HDC dc, POINT* origin) {
  auto context = contextOf(dc);
  if (!context || !origin) return FALSE;
  *origin = context->state().windowOrg;
  return TRUE;
}
