// Rendering windows into images without a display: any window tree paints
// itself, frame, background, client area and children, into a surface or an
// image file, as the screen would show it.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/geometry.h>

#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace corva::platform {

// Paints `window` and all its descendants as the screen would show them into `surface`
// (a cairo image surface, CAIRO_FORMAT_ARGB32 or RGB24, origin = the window's top-left
// corner of its whole (non-client) rectangle). `clip`, in those coordinates, limits the
// repaint; null repaints everything. Answers false for no such window.
CORVAPLAT_API bool paint_window_to_surface(WindowHandle window, cairo_surface_t* surface,
                                           const Rect* clip);
// Renders the window tree into a PNG / SVG file; false (and a reason in *error) when the
// window does not exist or the file cannot be written.
CORVAPLAT_API bool render_window_png(WindowHandle window, const char* path, std::string* error);
CORVAPLAT_API bool render_window_svg(WindowHandle window, const char* path, std::string* error);

}  // namespace corva::platform
