// Device contexts that paint into pixel (or vector) surfaces, and image files.
//
// The surfaces are the drawing library's; this header names them without
// including its headers, so a caller that only passes them along needs none.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/gdi.h>
#include <corvaplat/geometry.h>

#include <functional>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace corva::platform {

// A device context of `window` that paints into `surface` as well as
// recording into the drawing log. The context's device point (0, 0) lies at
// `origin` on the surface; nothing it draws leaves `limit` (surface
// coordinates), whatever clip region is selected later. It starts with
// `font`, else the system font. 0 for a null surface.
CORVAPLAT_API DcHandle open_surface_dc(cairo_surface_t* surface, std::uint32_t window,
                                       GdiHandle font, Point origin, const Rect& limit);

enum class ImageKind { kPng, kSvg };
// Makes a width x height surface of that kind, lets `paint` draw into it and
// writes it to `path` (a new file beside it renamed over the path, so an old
// image is replaced whole or not at all). False, with the reason in *error,
// for a bad size or a file that cannot be written.
CORVAPLAT_API bool write_image(ImageKind kind, const char* path, int width, int height,
                               const std::function<void(cairo_surface_t*)>& paint,
                               std::string* error);

}  // namespace corva::platform
