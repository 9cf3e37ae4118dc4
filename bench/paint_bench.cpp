// A full paint of the largest sample screen (the frame with its menu, MDI
// screens and an open popup) into an image, next to cairo drawing the same
// rectangles, lines and text directly (the floor): the same operations,
// replayed from the drawing log with the text laid out beforehand.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <vector>

#include "cli/screens.h"
#include "corvaplat/gdi.h"
#include "corvaplat/render.h"

namespace {
namespace plat = corva::platform;

constexpr int kWidth = 640, kHeight = 440;

void BM_PaintFrameScreen(benchmark::State& s) {
  const plat::WindowHandle frame = corva::cli::open_sample_screen("frame", 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  for (auto _ : s) {
    plat::paint_window_to_surface(frame, surface, nullptr);
    plat::clear_drawing_log();
  }
  cairo_surface_destroy(surface);
  corva::cli::close_sample_screen();
}

struct Op {
  plat::DrawOp op;
  PangoLayout* layout = nullptr;
};

void BM_PaintFrameScreen_direct_cairo(benchmark::State& s) {
  const plat::WindowHandle frame = corva::cli::open_sample_screen("frame", 0);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  plat::clear_drawing_log();
  plat::paint_window_to_surface(frame, surface, nullptr);
  cairo_t* cr = cairo_create(surface);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 10");
  std::vector<Op> ops;
  for (const plat::DrawOp& op : plat::drawing_log()) {
    Op o{op, nullptr};
    if (op.kind == plat::DrawOp::kText) {
      o.layout = pango_cairo_create_layout(cr);
      pango_layout_set_font_description(o.layout, font);
      pango_layout_set_text(o.layout, op.text.c_str(), -1);
    }
    ops.push_back(o);
  }
  plat::clear_drawing_log();
  corva::cli::close_sample_screen();
  auto source = [cr](plat::ColorRef c) {
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
  };
  for (auto _ : s) {
    for (const Op& o : ops) {
      const plat::Rect r = o.op.rect;
      const double x = o.op.origin.x, y = o.op.origin.y;
      source(o.op.color);
      switch (o.op.kind) {
        case plat::DrawOp::kFill:
          cairo_rectangle(cr, x + r.left, y + r.top, r.width(), r.height());
          cairo_fill(cr);
          break;
        case plat::DrawOp::kLine:
          cairo_move_to(cr, x + r.left + 0.5, y + r.top + 0.5);
          cairo_line_to(cr, x + r.right + 0.5, y + r.bottom + 0.5);
          cairo_stroke(cr);
          break;
        case plat::DrawOp::kText:
          cairo_move_to(cr, x + r.left, y + r.top);
          pango_cairo_show_layout(cr, o.layout);
          break;
      }
    }
    cairo_surface_flush(surface);
  }
  for (Op& o : ops) {
    if (o.layout != nullptr) g_object_unref(o.layout);
  }
  pango_font_description_free(font);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(BM_PaintFrameScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintFrameScreen_direct_cairo)->Unit(benchmark::kMicrosecond);

}  // namespace
