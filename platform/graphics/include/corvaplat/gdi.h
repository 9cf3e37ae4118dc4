// The graphics services: fonts, pens, brushes, palettes, regions, device
// contexts, text metrics and extents, and drawing.
//
// A device context either only records what is drawn (the drawing log) or
// also paints it into a pixel surface (see corvaplat/raster.h).
//
// Text is measured and drawn with the packaged font family (DejaVu: sans
// serif for every face it lacks, mono and serif for the fixed-pitch and roman
// faces), so the numbers are the same on every machine. A test may switch to
// synthetic metrics instead (set_text_metrics), which need no font: a font of
// pixel height h (16 when it asks for 0) has a base character width w
// (its requested width, else (7h + 8) / 16, so 7 for the system font of 16);
// the narrow characters " !'(),./:;I[]`fijlrt|" are w/2 wide (at least 1), the
// wide ones "MWmw@%" are w + w/2, every other character w, and a bold font
// (weight 600 and up) adds one pixel to each character. tmAveCharWidth is w.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>
#include <vector>

#include <corvaplat/geometry.h>

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

using ColorRef = std::uint32_t;  // 0x00BBGGRR; 0x02BBGGRR is palette-relative
using CursorHandle = std::uint32_t;

struct PaletteEntry {
  std::uint8_t red, green, blue, flags;
};

enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
             PS_NULL = 5 };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { WHITE_BRUSH = 0, BLACK_BRUSH = 4, NULL_BRUSH = 5, BLACK_PEN = 7, NULL_PEN = 8 };
enum : std::uint32_t { IDC_ARROW = 32512, IDC_WAIT = 32514 };
constexpr ColorRef kClrInvalid = 0xFFFFFFFF;

// Which metrics measure text (and lay it out when drawn); the font's are the
// default. Returns the previous choice.
enum class TextMetrics { kFont, kSynthetic };
CORVAPLAT_API TextMetrics set_text_metrics(TextMetrics which);

// A font made from its description; 0 for a null description.
CORVAPLAT_API GdiHandle CreateFontIndirectA(const LogFont* font);
// Copies a font's description; returns the bytes copied, 0 for a handle that
// is not a font (or a buffer too small).
CORVAPLAT_API int GetObjectA(GdiHandle object, int size, void* buffer);
// Deletes a font, pen, brush, palette or region; stock objects and unknown
// handles answer false.
CORVAPLAT_API bool DeleteObject(GdiHandle object);
CORVAPLAT_API GdiHandle GetStockObject(int which);

// A device context of a window (0: the screen) that only records into the
// drawing log; it starts with `font`, else (0 or not a font) the system font.
// The window system hands these out through GetDC and BeginPaint.
CORVAPLAT_API DcHandle open_dc(std::uint32_t window, GdiHandle font);
// Closes a context of open_dc or open_surface_dc; false for an unknown one.
CORVAPLAT_API bool close_dc(DcHandle dc);
// Selects a font into the context; returns the one it replaces, 0 on failure.
CORVAPLAT_API GdiHandle SelectObject(DcHandle dc, GdiHandle object);
CORVAPLAT_API bool GetTextMetricsA(DcHandle dc, TextMetric* metrics);
CORVAPLAT_API bool GetTextExtentPoint32A(DcHandle dc, const char* text, int count, Size* size);
CORVAPLAT_API bool GetTextExtentPointA(DcHandle dc, const char* text, int count, Size* size);

// Pens, brushes, palettes and regions; SelectObject takes any of them (a
// region as the clip) and gives back the one of its kind it replaces.
CORVAPLAT_API GdiHandle CreatePen(int style, int width, ColorRef color);
CORVAPLAT_API GdiHandle CreateSolidBrush(ColorRef color);
CORVAPLAT_API GdiHandle CreatePalette(const PaletteEntry* entries, int count);
CORVAPLAT_API GdiHandle CreateRectRgnIndirect(const Rect* rect);
// A stock solid brush of the colour, made on first use and shared; it is
// never deleted and not counted as live.
CORVAPLAT_API GdiHandle stock_brush(ColorRef color);
// The colour of a pen or brush, kClrInvalid for anything else.
CORVAPLAT_API ColorRef object_color(GdiHandle object);
// How many objects of any kind are alive now (fonts, pens, brushes, palettes,
// regions, stock objects aside), for leak checks in tests.
CORVAPLAT_API int live_object_count();

// Palettes in a device context: selecting one returns the previous; realizing
// reports how many entries changed the system palette (each new palette's
// entries the first time it is realized, 0 afterwards).
CORVAPLAT_API GdiHandle SelectPalette(DcHandle dc, GdiHandle palette, bool background);
CORVAPLAT_API unsigned RealizePalette(DcHandle dc);

// Colour state of a device context.
CORVAPLAT_API ColorRef SetTextColor(DcHandle dc, ColorRef color);
CORVAPLAT_API ColorRef SetBkColor(DcHandle dc, ColorRef color);
CORVAPLAT_API int SetBkMode(DcHandle dc, int mode);
CORVAPLAT_API ColorRef GetTextColor(DcHandle dc);
CORVAPLAT_API ColorRef GetBkColor(DcHandle dc);
CORVAPLAT_API int GetBkMode(DcHandle dc);

// Saving and restoring the whole state (fonts, pens, brushes, colours, clip,
// mapping); RestoreDC(-1) restores the last save.
CORVAPLAT_API int SaveDC(DcHandle dc);
CORVAPLAT_API bool RestoreDC(DcHandle dc, int saved);
CORVAPLAT_API int SelectClipRgn(DcHandle dc, GdiHandle region);  // 0: no clip
// Mapping: window (logical) and viewport (device) origins and extents.
CORVAPLAT_API bool SetWindowExtEx(DcHandle dc, int x, int y, Size* old);
CORVAPLAT_API bool GetWindowExtEx(DcHandle dc, Size* size);
CORVAPLAT_API bool SetViewportExtEx(DcHandle dc, int x, int y, Size* old);
CORVAPLAT_API bool SetWindowOrgEx(DcHandle dc, int x, int y, Point* old);
CORVAPLAT_API bool SetViewportOrgEx(DcHandle dc, int x, int y, Point* old);
CORVAPLAT_API bool LPtoDP(DcHandle dc, Point* points, int count);

// Drawing: every operation is written to the drawing log, and painted when
// the context has a surface.
CORVAPLAT_API bool MoveToEx(DcHandle dc, int x, int y, Point* old);
CORVAPLAT_API bool LineTo(DcHandle dc, int x, int y);
CORVAPLAT_API int FillRect(DcHandle dc, const Rect* rect, GdiHandle brush);
// A rectangle or the ellipse in it: outlined with the selected pen, filled
// with the selected brush (logged as a fill with the brush's colour).
CORVAPLAT_API bool Rectangle(DcHandle dc, int left, int top, int right, int bottom);
CORVAPLAT_API bool Ellipse(DcHandle dc, int left, int top, int right, int bottom);
CORVAPLAT_API bool TextOutA(DcHandle dc, int x, int y, const char* text, int count);

// DrawTextA formats.
enum : std::uint32_t {
  DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100, DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
};
// Text in a rectangle: lines at '\n' (and, with DT_WORDBREAK, at the last blank
// that fits the width), '&' marking a mnemonic unless DT_NOPREFIX, aligned by
// the format and clipped to the rectangle unless DT_NOCLIP. Returns the height
// from the rectangle's top to the end of the text (0 for none); DT_CALCRECT
// only measures, setting the rectangle's right and bottom.
CORVAPLAT_API int DrawTextA(DcHandle dc, const char* text, int count, Rect* rect,
                            std::uint32_t format);

struct DrawOp {
  enum Kind { kLine, kFill, kText } kind;
  DcHandle dc;
  std::uint32_t window;  // the context's window, 0 for the screen
  Rect rect;             // line: from (left, top) to (right, bottom); fill: the rectangle;
                         // text: its position and extent
  ColorRef color;        // line: the pen's; fill: the brush's; text: the text colour
  std::string text;
  bool clipped;          // a clip region was selected
  Rect clip;
  Point origin{};        // where the context's device (0, 0) lay on its surface
};
CORVAPLAT_API const std::vector<DrawOp>& drawing_log();
CORVAPLAT_API void clear_drawing_log();

// Cursors: the predefined ones by number (module 0); SetCursor returns the
// cursor that was current.
CORVAPLAT_API CursorHandle LoadCursorA(ModuleHandle module, std::uint32_t id);
CORVAPLAT_API CursorHandle SetCursor(CursorHandle cursor);
CORVAPLAT_API CursorHandle GetCursor();

// Device contexts and fonts alive now, for leak checks in tests.
CORVAPLAT_API int live_dc_count();
CORVAPLAT_API int live_font_count();

}  // namespace corva::platform
