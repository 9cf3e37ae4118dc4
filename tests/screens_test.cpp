// The sample screens against their golden images in tests/golden: the same
// font file and font options make the same pixels; a small tolerance absorbs
// rounding differences between versions of the drawing libraries.
// CORVA_UPDATE_GOLDEN=1 writes the images again instead of comparing.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <string>

#include "cli/screens.h"
#include "corvaplat/render.h"
#include "tests/support/pixels.h"

namespace {
using namespace corva::platform;
using corva::test::Pixels;

// Pixels whose channels differ by more than kChannel count as changed; at
// most one in kShare of them may change.
constexpr int kChannel = 48;
constexpr int kShare = 200;

int changed_pixels(cairo_surface_t* a, cairo_surface_t* b) {
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  int changed = 0;
  for (int y = 0; y < h; ++y) {
    const auto* ra = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a));
    const auto* rb = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b));
    for (int x = 0; x < w; ++x) {
      for (int shift = 0; shift < 24; shift += 8) {
        const int ca = int((ra[x] >> shift) & 0xFF), cb = int((rb[x] >> shift) & 0xFF);
        if (std::abs(ca - cb) > kChannel) {
          ++changed;
          break;
        }
      }
    }
  }
  return changed;
}

TEST(Screens, EachSampleMatchesItsGoldenImage) {
  struct Case {
    const char* screen;
    int scheme;
  };
  const bool update = std::getenv("CORVA_UPDATE_GOLDEN") != nullptr;
  for (const Case c : {Case{"entry", 0}, Case{"entry", 2}, Case{"lists", 1}, Case{"frame", 0},
                       Case{"message", 3}}) {
    const std::string name = std::string(c.screen) + "-" + std::to_string(c.scheme) + ".png";
    SCOPED_TRACE(name);
    const WindowHandle screen = corva::cli::open_sample_screen(c.screen, c.scheme);
    ASSERT_NE(screen, 0u);
    Rect whole{};
    GetWindowRect(screen, &whole);
    Pixels pixels(whole.width(), whole.height(), 0);
    ASSERT_TRUE(paint_window_to_surface(screen, pixels.surface(), nullptr));
    corva::cli::close_sample_screen();
    const std::string path = std::string(CORVA_GOLDEN_DIR) + "/" + name;
    if (update) {
      ASSERT_EQ(cairo_surface_write_to_png(pixels.surface(), path.c_str()), CAIRO_STATUS_SUCCESS);
      continue;
    }
    cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << path;
    EXPECT_EQ(cairo_image_surface_get_width(golden), whole.width());
    EXPECT_EQ(cairo_image_surface_get_height(golden), whole.height());
    if (cairo_image_surface_get_width(golden) == whole.width() &&
        cairo_image_surface_get_height(golden) == whole.height()) {
      EXPECT_LE(changed_pixels(golden, pixels.surface()), whole.width() * whole.height() / kShare);
    }
    cairo_surface_destroy(golden);
  }
}

}  // namespace
