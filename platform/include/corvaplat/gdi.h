// The graphics services the library measures text with: fonts, device
// contexts, text metrics and extents.
//
// Nothing is drawn, but text is measured the same way every time: a font of
// pixel height h (16 when it asks for 0) has a base character width w
// (its requested width, else (7h + 8) / 16, so 7 for the system font of 16);
// the narrow characters " !'(),./:;I[]`fijlrt|" are w/2 wide (at least 1), the
// wide ones "MWmw@%" are w + w/2, every other character w, and a bold font
// (weight 600 and up) adds one pixel to each character. tmAveCharWidth is w.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>

namespace corva::platform {

using GdiHandle = std::uint32_t;  // fonts, and any other graphics object
using DcHandle = std::uint32_t;

constexpr int kFaceSize = 32;

struct LogFont {
  std::int32_t height, width, escapement, orientation, weight;
  std::uint8_t italic, underline, strike_out, char_set, out_precision, clip_precision, quality,
      pitch_and_family;
  char face_name[kFaceSize];
};

struct TextMetric {
  std::int32_t height, ascent, descent, internal_leading, external_leading, ave_char_width,
      max_char_width, weight;
};

struct Size {
  std::int32_t cx, cy;
};

enum : int { SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17 };
enum : std::int32_t { FW_NORMAL = 400, FW_BOLD = 700 };

// A font made from its description; 0 for a null description.
CORVAPLAT_API GdiHandle CreateFontIndirectA(const LogFont* font);
// Copies a font's description; returns the bytes copied, 0 for a handle that
// is not a font (or a buffer too small).
CORVAPLAT_API int GetObjectA(GdiHandle object, int size, void* buffer);
// Deletes a font; stock objects and unknown handles answer false.
CORVAPLAT_API bool DeleteObject(GdiHandle object);
CORVAPLAT_API GdiHandle GetStockObject(int which);

// A device context of a window (0: the screen); it starts with the window's
// font (WM_GETFONT), else the system font.
CORVAPLAT_API DcHandle GetDC(std::uint32_t window);
CORVAPLAT_API int ReleaseDC(std::uint32_t window, DcHandle dc);
// Selects a font into the context; returns the one it replaces, 0 on failure.
CORVAPLAT_API GdiHandle SelectObject(DcHandle dc, GdiHandle object);
CORVAPLAT_API bool GetTextMetricsA(DcHandle dc, TextMetric* metrics);
CORVAPLAT_API bool GetTextExtentPoint32A(DcHandle dc, const char* text, int count, Size* size);
// Device contexts and fonts alive now, for leak checks in tests.
CORVAPLAT_API int live_dc_count();
CORVAPLAT_API int live_font_count();

}  // namespace corva::platform
