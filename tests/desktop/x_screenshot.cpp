// Writes what an X window (the root window unless an id is given) shows as a
// PNG file, for the desktop tests' screenshots of the real executable.
//   x_screenshot <out.png> [window id]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: x_screenshot <out.png> [window id]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_screenshot: no display\n");
    return 1;
  }
  Window window = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : DefaultRootWindow(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 1;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return 1;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, attributes.width, attributes.height);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < attributes.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < attributes.width; ++x)
      row[x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
  }
  cairo_surface_mark_dirty(surface);
  const bool written = cairo_surface_write_to_png(surface, argv[1]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  XDestroyImage(image);
  XCloseDisplay(display);
  return written ? 0 : 1;
}
