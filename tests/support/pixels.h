// An image surface to paint into and read back, for tests of what is drawn.
#pragma once
#include <cairo.h>

#include <cstdint>

namespace corva::test {

class Pixels {
 public:
  // A width x height surface filled with `fill` (0xRRGGBB).
  Pixels(int width, int height, std::uint32_t fill = 0xFF00FF)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {
    cairo_t* cr = cairo_create(surface_);
    cairo_set_source_rgb(cr, ((fill >> 16) & 0xFF) / 255.0, ((fill >> 8) & 0xFF) / 255.0,
                         (fill & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  ~Pixels() { cairo_surface_destroy(surface_); }
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;

  cairo_surface_t* surface() const { return surface_; }
  // The pixel at (x, y) as 0xRRGGBB.
  std::uint32_t at(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
  }
  // How many pixels of the rectangle [left, right) x [top, bottom) are not `colour`.
  int differing(int left, int top, int right, int bottom, std::uint32_t colour) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += at(x, y) != colour ? 1 : 0;
    return n;
  }

 private:
  cairo_surface_t* surface_;
};

}  // namespace corva::test
