#include <corvaplat/gdi.h>
#include <corvaplat/raster.h>

#include <cairo.h>

#include <atomic>
#include <cstdlib>

#include "graphics/fonts.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <map>
#include <mutex>

namespace corva::platform {
namespace {

enum class ObjectKind { kFont, kPen, kBrush, kPalette, kRegion };

struct Object {
  explicit Object(ObjectKind k = ObjectKind::kFont) : kind(k) {}
  ObjectKind kind;
  LogFont font{};
  ColorRef color = 0;
  int width = 0;
  int style = PS_SOLID;
  std::vector<PaletteEntry> entries;
  bool realized = false;
  Rect rect{};
  bool stock = false;
};

struct DcState {
  GdiHandle font = 0, pen = 0, brush = 0, palette = 0;
  bool clipped = false;
  Rect clip{};
  ColorRef text_color = 0x000000, bk_color = 0xFFFFFF;
  int bk_mode = OPAQUE;
  Size window_ext{1, 1}, viewport_ext{1, 1};
  Point window_org{0, 0}, viewport_org{0, 0};
  Point position{0, 0};
};

struct Dc {
  std::uint32_t window = 0;
  DcState state;
  std::vector<DcState> saved;
  cairo_t* cr = nullptr;  // null: the context only records
  Point origin{0, 0};     // where device (0, 0) lies on the surface
  Rect limit{};           // surface coordinates nothing may leave
};

struct Gdi {
  std::recursive_mutex mutex;
  std::map<GdiHandle, Object> objects;
  std::map<DcHandle, Dc> dcs;
  std::vector<DrawOp> log;
  std::map<ColorRef, GdiHandle> stock_brushes;
  GdiHandle next_object = 0x00300100;
  DcHandle next_dc = 0x00400001;
  GdiHandle system_font = 0x00300001, gui_font = 0x00300002, white_brush = 0x00300003,
            black_brush = 0x00300004, null_brush = 0x00300005, black_pen = 0x00300006,
            null_pen = 0x00300007;
  CursorHandle cursor = IDC_ARROW;
};

Gdi& gdi() {
  static Gdi* g = [] {
    auto* made = new Gdi;
    Object system{ObjectKind::kFont};
    system.font.height = 16;
    system.font.weight = FW_BOLD;
    std::strcpy(system.font.face_name, "System");
    system.stock = true;
    made->objects[made->system_font] = system;
    Object gui{ObjectKind::kFont};
    gui.font.height = -11;
    gui.font.weight = FW_NORMAL;
    std::strcpy(gui.font.face_name, "MS Sans Serif");
    gui.stock = true;
    made->objects[made->gui_font] = gui;
    auto stock = [](ObjectKind k, ColorRef c) {
      Object o{k};
      o.color = c;
      o.width = 1;
      o.stock = true;
      return o;
    };
    made->objects[made->white_brush] = stock(ObjectKind::kBrush, 0xFFFFFF);
    made->objects[made->black_brush] = stock(ObjectKind::kBrush, 0x000000);
    made->objects[made->null_brush] = stock(ObjectKind::kBrush, kClrInvalid);
    made->objects[made->black_pen] = stock(ObjectKind::kPen, 0x000000);
    made->objects[made->null_pen] = stock(ObjectKind::kPen, 0x000000);
    made->objects[made->null_pen].style = PS_NULL;
    return made;
  }();
  return *g;
}

int pixel_height(const LogFont& f) {
  const int h = f.height < 0 ? -f.height : f.height;
  return h == 0 ? 16 : h;
}

int base_width(const LogFont& f) {
  if (f.width > 0) return f.width;
  const int w = (7 * pixel_height(f) + 8) / 16;
  return w < 1 ? 1 : w;
}

int char_width(const LogFont& f, char c) {
  static constexpr const char* kNarrow = " !'(),./:;I[]`fijlrt|";
  static constexpr const char* kWide = "MWmw@%";
  const int w = base_width(f);
  int cw = w;
  if (c != '\0' && std::strchr(kNarrow, c) != nullptr) cw = w / 2 < 1 ? 1 : w / 2;
  else if (c != '\0' && std::strchr(kWide, c) != nullptr) cw = w + w / 2;
  return cw + (f.weight >= 600 ? 1 : 0);
}

std::atomic<TextMetrics> text_metrics{TextMetrics::kFont};

bool synthetic() { return text_metrics.load(std::memory_order_relaxed) == TextMetrics::kSynthetic; }

TextMetric synthetic_metrics(const LogFont& f) {
  const int h = pixel_height(f);
  const int descent = h / 4;
  const int bold = f.weight >= 600 ? 1 : 0;
  return TextMetric{h, h - descent, descent, f.height < 0 ? h / 8 : 0, 0,
                    base_width(f), base_width(f) + base_width(f) / 2 + bold, f.weight};
}

TextMetric metrics_of(const LogFont& f) {
  return synthetic() ? synthetic_metrics(f) : fonts::metrics(f);
}

int width_of(const LogFont& f, std::string_view text) {
  if (!synthetic()) return fonts::measure(f, text).cx;
  int width = 0;
  for (char c : text) width += char_width(f, c);
  return width;
}

// The width of each prefix of the text: element i is the width of its first
// i characters.
std::vector<int> prefix_widths(const LogFont& f, std::string_view text) {
  if (!synthetic()) return fonts::prefix_widths(f, text);
  std::vector<int> x(text.size() + 1, 0);
  for (std::size_t i = 0; i < text.size(); ++i) x[i + 1] = x[i] + char_width(f, text[i]);
  return x;
}

Dc* find_dc(Gdi& g, DcHandle dc) {
  auto it = g.dcs.find(dc);
  return it == g.dcs.end() ? nullptr : &it->second;
}

const LogFont* font_of(const Gdi& g, const Dc& d) {
  auto f = g.objects.find(d.state.font);
  if (f == g.objects.end() || f->second.kind != ObjectKind::kFont)
    return &g.objects.at(g.system_font).font;
  return &f->second.font;
}

GdiHandle add_object(Object o) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const GdiHandle h = g.next_object++;
  g.objects[h] = std::move(o);
  return h;
}

void log_op(Gdi& g, const Dc& d, DcHandle dc, DrawOp::Kind kind, Rect r, ColorRef color,
            std::string text = {}) {
  g.log.push_back(DrawOp{kind, dc, d.window, r, color, std::move(text), d.state.clipped,
                         d.state.clip, d.origin});
}

ColorRef color_of(const Gdi& g, GdiHandle h) {
  auto it = g.objects.find(h);
  return it == g.objects.end() ? kClrInvalid : it->second.color;
}

// Logical to device coordinates under the context's mapping.
Point to_device(const DcState& s, Point p) {
  return Point{(p.x - s.window_org.x) * s.viewport_ext.cx / s.window_ext.cx + s.viewport_org.x,
               (p.y - s.window_org.y) * s.viewport_ext.cy / s.window_ext.cy + s.viewport_org.y};
}

// The RGB a colour stands for in the context: a palette index (0x01000000 |
// i) takes the selected palette's entry, whether it was realized or not (none
// selected: black); a palette-relative RGB (0x02BBGGRR) is that RGB.
void set_source(cairo_t* cr, const Gdi& g, const Dc& d, ColorRef color) {
  if ((color >> 24) == 0x01) {
    auto it = g.objects.find(d.state.palette);
    const std::uint32_t index = color & 0xFFFF;
    color = 0;
    if (it != g.objects.end() && index < it->second.entries.size()) {
      const PaletteEntry& e = it->second.entries[index];
      color = ColorRef{e.red} | ColorRef{e.green} << 8 | ColorRef{e.blue} << 16;
    }
  }
  cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                       ((color >> 16) & 0xFF) / 255.0);
}

// Starts painting with the context's limit and selected clip region in force;
// false (nothing to paint) for a recording-only context.
bool begin_paint(const Dc& d) {
  if (d.cr == nullptr) return false;
  cairo_save(d.cr);
  cairo_rectangle(d.cr, d.limit.left, d.limit.top, d.limit.width(), d.limit.height());
  cairo_clip(d.cr);
  if (d.state.clipped) {
    cairo_rectangle(d.cr, d.state.clip.left + d.origin.x, d.state.clip.top + d.origin.y,
                    d.state.clip.width(), d.state.clip.height());
    cairo_clip(d.cr);
  }
  cairo_set_antialias(d.cr, CAIRO_ANTIALIAS_NONE);
  return true;
}
void end_paint(const Dc& d) { cairo_restore(d.cr); }

// Fills a device rectangle (surface pixels left..right-1, top..bottom-1).
void paint_fill(const Gdi& g, const Dc& d, Rect r, ColorRef color) {
  if (color == kClrInvalid || !begin_paint(d)) return;
  const int left = std::min(r.left, r.right), right = std::max(r.left, r.right);
  const int top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
  set_source(d.cr, g, d, color);
  cairo_rectangle(d.cr, left + d.origin.x, top + d.origin.y, right - left, bottom - top);
  cairo_fill(d.cr);
  end_paint(d);
}

// A line between device points, the last point left out, in the pen's
// colour, width and style.
void paint_line(const Gdi& g, const Dc& d, Point from, Point to) {
  auto pen = g.objects.find(d.state.pen);
  if (pen == g.objects.end() || pen->second.style == PS_NULL || !begin_paint(d)) return;
  const int width = std::max(1, pen->second.width);
  set_source(d.cr, g, d, pen->second.color);
  cairo_set_line_width(d.cr, width);
  cairo_set_line_cap(d.cr, CAIRO_LINE_CAP_BUTT);
  static constexpr double kDash[] = {6, 2}, kDot[] = {1, 1}, kDashDot[] = {6, 2, 1, 2},
                          kDashDotDot[] = {6, 2, 1, 2, 1, 2};
  switch (pen->second.style) {
    case PS_DASH: cairo_set_dash(d.cr, kDash, 2, 0); break;
    case PS_DOT: cairo_set_dash(d.cr, kDot, 2, 0); break;
    case PS_DASHDOT: cairo_set_dash(d.cr, kDashDot, 4, 0); break;
    case PS_DASHDOTDOT: cairo_set_dash(d.cr, kDashDotDot, 6, 0); break;
    default: break;
  }
  // Pixel centres, so a one-pixel line covers whole pixels.
  const double half = (width % 2) != 0 ? 0.5 : 0.0;
  cairo_move_to(d.cr, from.x + d.origin.x + half, from.y + d.origin.y + half);
  cairo_line_to(d.cr, to.x + d.origin.x + half, to.y + d.origin.y + half);
  cairo_stroke(d.cr);
  end_paint(d);
}

// Text with its cell's top-left corner at the device point: the cell filled
// with the background colour first in OPAQUE mode; `box` (device, or null)
// clips it further; `underline` marks the mnemonic (-1: none).
void paint_text(const Gdi& g, const Dc& d, Point at, std::string_view text, const Rect* box,
                int underline) {
  if (text.empty() || !begin_paint(d)) return;
  const LogFont& f = *font_of(g, d);
  const double x = at.x + d.origin.x, y = at.y + d.origin.y;
  if (box != nullptr) {
    cairo_rectangle(d.cr, box->left + d.origin.x, box->top + d.origin.y, box->width(),
                    box->height());
    cairo_clip(d.cr);
  }
  if (d.state.bk_mode == OPAQUE) {
    set_source(d.cr, g, d, d.state.bk_color);
    cairo_rectangle(d.cr, x, y, width_of(f, text), metrics_of(f).height);
    cairo_fill(d.cr);
  }
  set_source(d.cr, g, d, d.state.text_color);
  cairo_set_antialias(d.cr, CAIRO_ANTIALIAS_DEFAULT);
  fonts::draw(d.cr, f, text, x, y, underline);
  end_paint(d);
}

}  // namespace

// ---- Fonts and objects -------------------------------------------------------------

TextMetrics set_text_metrics(TextMetrics which) { return text_metrics.exchange(which); }

GdiHandle CreateFontIndirectA(const LogFont* font) {
  if (font == nullptr) return 0;
  Object o{ObjectKind::kFont};
  o.font = *font;
  o.font.face_name[kFaceSize - 1] = '\0';
  return add_object(std::move(o));
}

int GetObjectA(GdiHandle object, int size, void* buffer) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.objects.find(object);
  if (it == g.objects.end() || it->second.kind != ObjectKind::kFont) return 0;
  if (buffer == nullptr) return static_cast<int>(sizeof(LogFont));
  if (size < static_cast<int>(sizeof(LogFont))) return 0;
  std::memcpy(buffer, &it->second.font, sizeof(LogFont));
  return static_cast<int>(sizeof(LogFont));
}

bool DeleteObject(GdiHandle object) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.objects.find(object);
  if (it == g.objects.end() || it->second.stock) return false;
  g.objects.erase(it);
  return true;
}

GdiHandle GetStockObject(int which) {
  Gdi& g = gdi();
  switch (which) {
    case SYSTEM_FONT: return g.system_font;
    case DEFAULT_GUI_FONT: return g.gui_font;
    case WHITE_BRUSH: return g.white_brush;
    case BLACK_BRUSH: return g.black_brush;
    case NULL_BRUSH: return g.null_brush;
    case BLACK_PEN: return g.black_pen;
    case NULL_PEN: return g.null_pen;
    default: return 0;
  }
}

GdiHandle CreatePen(int style, int width, ColorRef color) {
  Object o{ObjectKind::kPen};
  o.style = style;
  o.color = color;
  o.width = width;
  return add_object(std::move(o));
}

GdiHandle CreateSolidBrush(ColorRef color) {
  Object o{ObjectKind::kBrush};
  o.color = color;
  return add_object(std::move(o));
}

GdiHandle CreatePalette(const PaletteEntry* entries, int count) {
  if (entries == nullptr || count <= 0) return 0;
  Object o{ObjectKind::kPalette};
  o.entries.assign(entries, entries + count);
  return add_object(std::move(o));
}

GdiHandle CreateRectRgnIndirect(const Rect* rect) {
  if (rect == nullptr) return 0;
  Object o{ObjectKind::kRegion};
  o.rect = *rect;
  return add_object(std::move(o));
}

GdiHandle stock_brush(ColorRef color) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.stock_brushes.find(color);
  if (it != g.stock_brushes.end()) return it->second;
  Object o{ObjectKind::kBrush};
  o.color = color;
  o.stock = true;
  const GdiHandle h = add_object(std::move(o));
  g.stock_brushes[color] = h;
  return h;
}

ColorRef object_color(GdiHandle object) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.objects.find(object);
  if (it == g.objects.end()) return kClrInvalid;
  const ObjectKind k = it->second.kind;
  return k == ObjectKind::kPen || k == ObjectKind::kBrush ? it->second.color : kClrInvalid;
}

int live_object_count() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  int n = 0;
  for (const auto& [h, o] : g.objects) n += o.stock ? 0 : 1;
  return n;
}

int live_font_count() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  int n = 0;
  for (const auto& [h, o] : g.objects) n += !o.stock && o.kind == ObjectKind::kFont ? 1 : 0;
  return n;
}

// ---- Device contexts ---------------------------------------------------------------

DcHandle open_dc(std::uint32_t window, GdiHandle font) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const DcHandle dc = g.next_dc++;
  Dc d;
  d.window = window;
  auto f = g.objects.find(font);
  d.state.font = f != g.objects.end() && f->second.kind == ObjectKind::kFont ? font : g.system_font;
  d.state.pen = g.black_pen;
  d.state.brush = g.white_brush;
  g.dcs[dc] = d;
  return dc;
}

DcHandle open_surface_dc(cairo_surface_t* surface, std::uint32_t window, GdiHandle font,
                         Point origin, const Rect& limit) {
  if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return 0;
  const DcHandle dc = open_dc(window, font);
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc& d = g.dcs[dc];
  d.cr = cairo_create(surface);
  d.origin = origin;
  d.limit = limit;
  return dc;
}

bool close_dc(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.dcs.find(dc);
  if (it == g.dcs.end()) return false;
  if (it->second.cr != nullptr) cairo_destroy(it->second.cr);
  g.dcs.erase(it);
  return true;
}

int live_dc_count() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  return static_cast<int>(g.dcs.size());
}

GdiHandle SelectObject(DcHandle dc, GdiHandle object) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  auto it = g.objects.find(object);
  if (d == nullptr || it == g.objects.end()) return 0;
  GdiHandle* slot = nullptr;
  switch (it->second.kind) {
    case ObjectKind::kFont: slot = &d->state.font; break;
    case ObjectKind::kPen: slot = &d->state.pen; break;
    case ObjectKind::kBrush: slot = &d->state.brush; break;
    case ObjectKind::kPalette: return 0;  // palettes go through SelectPalette
    case ObjectKind::kRegion:
      d->state.clipped = true;
      d->state.clip = it->second.rect;
      return 1;  // SIMPLEREGION
  }
  const GdiHandle old = *slot;
  *slot = object;
  return old;
}

bool GetTextMetricsA(DcHandle dc, TextMetric* metrics) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || metrics == nullptr) return false;
  *metrics = metrics_of(*font_of(g, *d));
  return true;
}

bool GetTextExtentPoint32A(DcHandle dc, const char* text, int count, Size* size) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) return false;
  const LogFont* f = font_of(g, *d);
  *size = Size{width_of(*f, std::string_view(text != nullptr ? text : "",
                                             static_cast<std::size_t>(count))),
               metrics_of(*f).height};
  return true;
}

bool GetTextExtentPointA(DcHandle dc, const char* text, int count, Size* size) {
  return GetTextExtentPoint32A(dc, text, count, size);
}

GdiHandle SelectPalette(DcHandle dc, GdiHandle palette, bool) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  auto it = g.objects.find(palette);
  if (d == nullptr || it == g.objects.end() || it->second.kind != ObjectKind::kPalette) return 0;
  const GdiHandle old = d->state.palette;
  d->state.palette = palette;
  return old;
}

unsigned RealizePalette(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return 0xFFFFFFFF;  // GDI_ERROR
  auto it = g.objects.find(d->state.palette);
  if (it == g.objects.end()) return 0;
  if (it->second.realized) return 0;
  it->second.realized = true;
  return static_cast<unsigned>(it->second.entries.size());
}

ColorRef SetTextColor(DcHandle dc, ColorRef color) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return kClrInvalid;
  const ColorRef old = d->state.text_color;
  d->state.text_color = color;
  return old;
}

ColorRef SetBkColor(DcHandle dc, ColorRef color) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return kClrInvalid;
  const ColorRef old = d->state.bk_color;
  d->state.bk_color = color;
  return old;
}

int SetBkMode(DcHandle dc, int mode) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  const int old = d->state.bk_mode;
  d->state.bk_mode = mode;
  return old;
}

ColorRef GetTextColor(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  return d != nullptr ? d->state.text_color : kClrInvalid;
}

ColorRef GetBkColor(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  return d != nullptr ? d->state.bk_color : kClrInvalid;
}

int GetBkMode(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  return d != nullptr ? d->state.bk_mode : 0;
}

int SaveDC(DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return 0;
  d->saved.push_back(d->state);
  return static_cast<int>(d->saved.size());
}

bool RestoreDC(DcHandle dc, int saved) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || d->saved.empty()) return false;
  const int n = static_cast<int>(d->saved.size());
  const int level = saved < 0 ? n + saved + 1 : saved;
  if (level < 1 || level > n) return false;
  d->state = d->saved[static_cast<std::size_t>(level - 1)];
  d->saved.resize(static_cast<std::size_t>(level - 1));
  return true;
}

int SelectClipRgn(DcHandle dc, GdiHandle region) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return 0;
  if (region == 0) {
    d->state.clipped = false;
    return 1;
  }
  auto it = g.objects.find(region);
  if (it == g.objects.end() || it->second.kind != ObjectKind::kRegion) return 0;
  d->state.clipped = true;
  d->state.clip = it->second.rect;
  return 1;
}

bool SetWindowExtEx(DcHandle dc, int x, int y, Size* old) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || x == 0 || y == 0) return false;
  if (old != nullptr) *old = d->state.window_ext;
  d->state.window_ext = Size{x, y};
  return true;
}

bool GetWindowExtEx(DcHandle dc, Size* size) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || size == nullptr) return false;
  *size = d->state.window_ext;
  return true;
}

bool SetViewportExtEx(DcHandle dc, int x, int y, Size* old) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || x == 0 || y == 0) return false;
  if (old != nullptr) *old = d->state.viewport_ext;
  d->state.viewport_ext = Size{x, y};
  return true;
}

bool SetWindowOrgEx(DcHandle dc, int x, int y, Point* old) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return false;
  if (old != nullptr) *old = d->state.window_org;
  d->state.window_org = Point{x, y};
  return true;
}

bool SetViewportOrgEx(DcHandle dc, int x, int y, Point* old) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return false;
  if (old != nullptr) *old = d->state.viewport_org;
  d->state.viewport_org = Point{x, y};
  return true;
}

bool LPtoDP(DcHandle dc, Point* points, int count) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || (points == nullptr && count > 0)) return false;
  for (int i = 0; i < count; ++i) points[i] = to_device(d->state, points[i]);
  return true;
}

// ---- Drawing -----------------------------------------------------------------------

bool MoveToEx(DcHandle dc, int x, int y, Point* old) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return false;
  if (old != nullptr) *old = d->state.position;
  d->state.position = Point{x, y};
  return true;
}

bool LineTo(DcHandle dc, int x, int y) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return false;
  log_op(g, *d, dc, DrawOp::kLine, Rect{d->state.position.x, d->state.position.y, x, y},
         color_of(g, d->state.pen));
  paint_line(g, *d, to_device(d->state, d->state.position), to_device(d->state, Point{x, y}));
  d->state.position = Point{x, y};
  return true;
}

int FillRect(DcHandle dc, const Rect* rect, GdiHandle brush) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  auto it = g.objects.find(brush);
  if (d == nullptr || rect == nullptr || it == g.objects.end() ||
      it->second.kind != ObjectKind::kBrush)
    return 0;
  log_op(g, *d, dc, DrawOp::kFill, *rect, it->second.color);
  const Point a = to_device(d->state, Point{rect->left, rect->top});
  const Point b = to_device(d->state, Point{rect->right, rect->bottom});
  paint_fill(g, *d, Rect{a.x, a.y, b.x, b.y}, it->second.color);
  return 1;
}

namespace {

// Rectangle and Ellipse: the shape inside the device box, its outline one pen
// width inside the box's edge, as the Windows drawing layer places them.
bool shape(DcHandle dc, int left, int top, int right, int bottom, bool round) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr) return false;
  const ColorRef fill = color_of(g, d->state.brush);
  log_op(g, *d, dc, DrawOp::kFill, Rect{left, top, right, bottom}, fill);
  const Point a = to_device(d->state, Point{left, top});
  const Point b = to_device(d->state, Point{right, bottom});
  if (!begin_paint(*d)) return true;
  const double x = std::min(a.x, b.x) + d->origin.x, y = std::min(a.y, b.y) + d->origin.y;
  const double w = std::abs(b.x - a.x), h = std::abs(b.y - a.y);
  auto path = [&](double by) {
    cairo_new_path(d->cr);
    if (!round) {
      cairo_rectangle(d->cr, x + by, y + by, w - 2 * by, h - 2 * by);
      return;
    }
    cairo_save(d->cr);
    cairo_translate(d->cr, x + w / 2, y + h / 2);
    cairo_scale(d->cr, std::max(0.5, w / 2 - by), std::max(0.5, h / 2 - by));
    cairo_arc(d->cr, 0, 0, 1, 0, 2 * 3.14159265358979);
    cairo_restore(d->cr);
  };
  if (round) cairo_set_antialias(d->cr, CAIRO_ANTIALIAS_GRAY);
  if (fill != kClrInvalid) {
    path(0.5);
    set_source(d->cr, g, *d, fill);
    cairo_fill(d->cr);
  }
  auto pen = g.objects.find(d->state.pen);
  if (pen != g.objects.end() && pen->second.style != PS_NULL) {
    const int width = std::max(1, pen->second.width);
    path(width / 2.0);
    set_source(d->cr, g, *d, pen->second.color);
    cairo_set_line_width(d->cr, width);
    cairo_stroke(d->cr);
  }
  end_paint(*d);
  return true;
}

}  // namespace

bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) {
  return shape(dc, left, top, right, bottom, false);
}

bool Ellipse(DcHandle dc, int left, int top, int right, int bottom) {
  return shape(dc, left, top, right, bottom, true);
}

bool TextOutA(DcHandle dc, int x, int y, const char* text, int count) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || count < 0 || (text == nullptr && count > 0)) return false;
  const std::string_view shown(text != nullptr ? text : "", static_cast<std::size_t>(count));
  const LogFont& f = *font_of(g, *d);
  const int w = width_of(f, shown), h = metrics_of(f).height;
  log_op(g, *d, dc, DrawOp::kText, Rect{x, y, x + w, y + h}, d->state.text_color,
         std::string(shown));
  paint_text(g, *d, to_device(d->state, Point{x, y}), shown, nullptr, -1);
  return true;
}

namespace {

// One line of DrawTextA: its text and the index of its mnemonic (-1: none).
struct TextLine {
  std::string text;
  int mnemonic = -1;
};

// Splits text into lines at '\n' (dropping a '\r' before it) and, with
// DT_WORDBREAK, at the last blank that lets a line fit `room`; one line for
// DT_SINGLELINE (line breaks left out). `mnemonic` indexes the text.
std::vector<TextLine> split_lines(const std::string& all, int mnemonic, std::uint32_t format,
                                  int room, const LogFont& f) {
  std::vector<TextLine> lines;
  auto add = [&](std::size_t start, std::size_t length) {
    TextLine line{all.substr(start, length), -1};
    if (mnemonic >= static_cast<int>(start) && mnemonic < static_cast<int>(start + length))
      line.mnemonic = mnemonic - static_cast<int>(start);
    lines.push_back(std::move(line));
  };
  if (format & DT_SINGLELINE) {
    TextLine one;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] == '\r' || all[i] == '\n') continue;
      if (static_cast<int>(i) == mnemonic) one.mnemonic = static_cast<int>(one.text.size());
      one.text += all[i];
    }
    lines.push_back(std::move(one));
    return lines;
  }
  std::size_t start = 0;
  while (start <= all.size()) {
    const std::size_t end = all.find('\n', start);
    std::size_t length = (end == std::string::npos ? all.size() : end) - start;
    if (length > 0 && all[start + length - 1] == '\r') --length;
    if (format & DT_WORDBREAK) {
      // One measurement of the paragraph; pieces are measured by difference.
      const std::size_t paragraph = start;
      const std::vector<int> x = prefix_widths(f, std::string_view(all).substr(start, length));
      auto width = [&](std::size_t from, std::size_t count) {
        return x[from - paragraph + count] - x[from - paragraph];
      };
      while (width(start, length) > room) {
        std::size_t cut = length;
        while (cut > 0 && (all[start + cut - 1] != ' ' || width(start, cut - 1) > room)) --cut;
        if (cut == 0) break;  // a word longer than the width stays whole
        add(start, cut - 1);
        start += cut;
        length -= cut;
      }
    }
    add(start, length);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

int DrawTextA(DcHandle dc, const char* text, int count, Rect* rect, std::uint32_t format) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  Dc* d = find_dc(g, dc);
  if (d == nullptr || rect == nullptr || text == nullptr) return 0;
  std::string all(text, count < 0 ? std::strlen(text) : static_cast<std::size_t>(count));
  int mnemonic = -1;
  if (!(format & DT_NOPREFIX)) {
    std::string plain;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] == '&' && i + 1 < all.size()) {
        ++i;
        if (all[i] != '&') mnemonic = static_cast<int>(plain.size());
      }
      plain += all[i];
    }
    all = plain;
  }
  if (all.empty()) return 0;
  const LogFont& f = *font_of(g, *d);
  const int line_height = metrics_of(f).height;
  const int room = rect->right - rect->left;
  const std::vector<TextLine> lines = split_lines(all, mnemonic, format, room, f);
  int widest = 0;
  for (const TextLine& l : lines) widest = std::max(widest, width_of(f, l.text));
  const int total = line_height * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    if (!(format & DT_WORDBREAK)) rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  int y = rect->top;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    y = rect->top + (rect->bottom - rect->top - line_height) / 2;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
    y = rect->bottom - line_height;
  const int first = y;
  const Point box_a = to_device(d->state, Point{rect->left, rect->top});
  const Point box_b = to_device(d->state, Point{rect->right, rect->bottom});
  const Rect box{box_a.x, box_a.y, box_b.x, box_b.y};
  for (const TextLine& l : lines) {
    const int w = width_of(f, l.text);
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (room - w) / 2;
    else if (format & DT_RIGHT) x = rect->right - w;
    DrawOp op{DrawOp::kText, dc, d->window, Rect{x, y, x + w, y + line_height},
              d->state.text_color, l.text, d->state.clipped, d->state.clip, d->origin};
    if (!(format & DT_NOCLIP)) {
      op.clipped = true;
      op.clip = *rect;
    }
    g.log.push_back(op);
    paint_text(g, *d, to_device(d->state, Point{x, y}), l.text,
               (format & DT_NOCLIP) ? nullptr : &box, l.mnemonic);
    y += line_height;
  }
  return y - first + (first - rect->top);
}

const std::vector<DrawOp>& drawing_log() { return gdi().log; }

void clear_drawing_log() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  g.log.clear();
}

// ---- Cursors -----------------------------------------------------------------------

CursorHandle LoadCursorA(ModuleHandle module, std::uint32_t id) {
  if (module != 0) return 0;
  return id >= 32512 && id <= 32651 ? id : 0;
}

CursorHandle SetCursor(CursorHandle cursor) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const CursorHandle old = g.cursor;
  g.cursor = cursor;
  return old;
}

CursorHandle GetCursor() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  return g.cursor;
}

}  // namespace corva::platform
