// Owning handles for cairo and pango objects.
#pragma once

// The platform's types come first: glib defines TRUE and FALSE as macros.
#include "platform/types.h"
// clang-format off
#include <cairo.h>
#include <pango/pangocairo.h>
// clang-format on

#include <memory>

namespace platform::internal {

struct CairoSurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoContextRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct CairoPatternRelease {
  void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
struct GObjectRelease {
  void operator()(void* object) const { g_object_unref(object); }
};
struct FontDescriptionRelease {
  void operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
  }
};

using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceRelease>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextRelease>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, CairoPatternRelease>;
using PangoLayoutHandle = std::unique_ptr<PangoLayout, GObjectRelease>;
using PangoContextHandle = std::unique_ptr<PangoContext, GObjectRelease>;
using FontDescription = std::unique_ptr<PangoFontDescription, FontDescriptionRelease>;

}  // namespace platform::internal
