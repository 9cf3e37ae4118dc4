#include "graphics/fonts.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace corva::platform::fonts {
namespace {

// The packaged family's faces; nothing else is ever loaded.
constexpr const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kFontFiles[] = {"DejaVuSans.ttf",     "DejaVuSans-Bold.ttf",
                                      "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf",
                                      "DejaVuSerif.ttf",    "DejaVuSerif-Bold.ttf"};
// The sans-serif face's ascent plus descent, in em units of 2048: a cell
// height h asks for an em of h * 2048 / 2384.
constexpr int kCellUnits = 2384;
constexpr int kEmUnits = 2048;

bool any_of(std::string_view name, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (name.size() == std::strlen(n) && strncasecmp(name.data(), n, name.size()) == 0)
      return true;
  }
  return false;
}

const char* family_of(const LogFont& f) {
  const std::string_view name(f.face_name, strnlen(f.face_name, kFaceSize));
  if (any_of(name, {"Courier", "Courier New", "Fixedsys", "Terminal", "Lucida Console",
                    "Consolas", "Monospace", "DejaVu Sans Mono"}) ||
      (f.pitch_and_family & 3) == 1)
    return "DejaVu Sans Mono";
  if (any_of(name, {"Times", "Times New Roman", "Roman", "Serif", "Georgia", "DejaVu Serif"}))
    return "DejaVu Serif";
  return "DejaVu Sans";
}

int em_pixels(const LogFont& f) {
  if (f.height < 0) return -f.height;
  const int cell = f.height == 0 ? 16 : f.height;
  return std::max(1, (cell * kEmUnits + kCellUnits / 2) / kCellUnits);
}

// Code page 1252 to UTF-8 (0x80-0x9F hold the few letters and signs the
// code page adds; its unused slots stay as the C1 controls).
constexpr std::uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
// Whether the code page's 0x80-0x9F characters take two bytes in UTF-8 (the
// rest take three).
constexpr auto kHighIsTwoBytes = [] {
  std::array<bool, 32> two{};
  for (int i = 0; i < 32; ++i) two[i] = kHigh[i] < 0x800;
  return two;
}();

std::string to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    std::uint32_t u = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
    if (u == 0) u = ' ';
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

struct Laid {
  PangoLayout* layout;
  int width;
};

struct FontState {
  std::mutex mutex;
  PangoFontMap* map = nullptr;
  PangoContext* context = nullptr;
  std::map<std::string, PangoFontDescription*> descriptions;
  std::map<std::string, TextMetric> metrics;
  std::map<std::string, Laid> layouts;
  std::size_t cached_bytes = 0;  // of the layouts' keys
};

FontState& state() {
  static FontState* s = [] {
    auto* made = new FontState;
    FcConfig* config = FcConfigCreate();
    for (const char* file : kFontFiles) {
      const std::string path = std::string(kFontDir) + file;
      FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str()));
    }
    made->map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(made->map), config);
    FcConfigDestroy(config);
    made->context = pango_font_map_create_context(made->map);
    // Unhinted outlines, grey antialiasing, exact advances: the same pixels on
    // every machine with the same font file.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(made->context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(made->context, 96);
    return made;
  }();
  return *s;
}

std::string key_of(const LogFont& f) {
  return std::string(family_of(f)) + '/' + std::to_string(em_pixels(f)) +
         (f.weight >= 600 ? "b" : "") + (f.italic ? "i" : "");
}

PangoFontDescription* description(FontState& s, const std::string& key, const LogFont& f) {
  auto it = s.descriptions.find(key);
  if (it != s.descriptions.end()) return it->second;
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family_of(f));
  pango_font_description_set_absolute_size(d, em_pixels(f) * PANGO_SCALE);
  pango_font_description_set_weight(d, f.weight >= 600 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, f.italic ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
  s.descriptions[key] = d;
  return d;
}

int round_units(int units) { return (units + PANGO_SCALE / 2) / PANGO_SCALE; }

// Laid-out text, kept for the next paint of the same text in the same font;
// the cache is emptied when it grows past its bound.
const Laid& laid_out(FontState& s, const LogFont& f, std::string_view text) {
  const std::string font_key = key_of(f);
  std::string key = font_key;
  key += '\n';
  key.append(text);
  auto it = s.layouts.find(key);
  if (it != s.layouts.end()) return it->second;
  constexpr std::size_t kCached = 2048, kCachedBytes = std::size_t{1} << 20;
  if (s.layouts.size() >= kCached || s.cached_bytes + key.size() > kCachedBytes) {
    for (auto& [k, laid] : s.layouts) g_object_unref(laid.layout);
    s.layouts.clear();
    s.cached_bytes = 0;
  }
  s.cached_bytes += key.size();
  PangoLayout* layout = pango_layout_new(s.context);
  pango_layout_set_font_description(layout, description(s, font_key, f));
  const std::string utf8 = to_utf8(text);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  int width = 0, height = 0;
  pango_layout_get_size(layout, &width, &height);
  return s.layouts.emplace(std::move(key), Laid{layout, round_units(width)}).first->second;
}

TextMetric metrics_locked(FontState& s, const LogFont& f) {
  const std::string key = key_of(f);
  auto it = s.metrics.find(key);
  if (it != s.metrics.end()) return it->second;
  PangoFontMetrics* m = pango_context_get_metrics(s.context, description(s, key, f), nullptr);
  const int ascent = round_units(pango_font_metrics_get_ascent(m));
  const int descent = round_units(pango_font_metrics_get_descent(m));
  const int average = std::max(1, round_units(pango_font_metrics_get_approximate_char_width(m)));
  pango_font_metrics_unref(m);
  const int widest = laid_out(s, f, "W").width;
  const int height = ascent + descent;
  const TextMetric tm{height, ascent, descent, std::max(0, height - em_pixels(f)), 0,
                      average, std::max(average, widest), f.weight};
  s.metrics[key] = tm;
  return tm;
}

}  // namespace

TextMetric metrics(const LogFont& font) {
  FontState& s = state();
  std::lock_guard lock(s.mutex);
  return metrics_locked(s, font);
}

Size measure(const LogFont& font, std::string_view text) {
  FontState& s = state();
  std::lock_guard lock(s.mutex);
  const int height = metrics_locked(s, font).height;
  if (text.empty()) return Size{0, height};
  return Size{laid_out(s, font, text).width, height};
}

std::vector<int> prefix_widths(const LogFont& font, std::string_view text) {
  FontState& s = state();
  std::lock_guard lock(s.mutex);
  std::vector<int> x(text.size() + 1, 0);
  if (text.empty()) return x;
  const Laid& laid = laid_out(s, font, text);
  // Where each code-page character starts in the layout's UTF-8 text (one to
  // three bytes each), then the x of each cluster walked once in order.
  std::vector<std::size_t> char_at_byte;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t bytes = c < 0x80 ? 1 : (c >= 0xA0 || kHighIsTwoBytes[c - 0x80]) ? 2 : 3;
    char_at_byte.insert(char_at_byte.end(), bytes, i);
  }
  std::vector<int> start(text.size(), -1);
  PangoLayoutIter* it = pango_layout_get_iter(laid.layout);
  do {
    const auto index = static_cast<std::size_t>(pango_layout_iter_get_index(it));
    if (index >= char_at_byte.size()) continue;
    PangoRectangle logical{};
    pango_layout_iter_get_cluster_extents(it, nullptr, &logical);
    start[char_at_byte[index]] = round_units(logical.x);
  } while (pango_layout_iter_next_cluster(it));
  pango_layout_iter_free(it);
  // A character inside a cluster starts where its cluster does.
  for (std::size_t i = 0; i < text.size(); ++i) x[i] = start[i] >= 0 ? start[i] : (i > 0 ? x[i - 1] : 0);
  x[text.size()] = laid.width;
  return x;
}

void draw(cairo_t* cr, const LogFont& font, std::string_view text, double x, double y,
          int underline) {
  if (text.empty()) return;
  FontState& s = state();
  std::lock_guard lock(s.mutex);
  const TextMetric tm = metrics_locked(s, font);
  PangoLayout* layout = laid_out(s, font, text).layout;
  // The layout's own line box may differ from the cell by rounding; put its
  // baseline where the cell's is.
  const double baseline = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
  cairo_move_to(cr, x, y + tm.ascent - baseline);
  pango_cairo_show_layout(cr, layout);
  const auto size = static_cast<int>(text.size());
  if (font.underline || font.strike_out || (underline >= 0 && underline < size)) {
    const int thick = std::max(1, tm.height / 14);
    auto bar = [&](double left, double right, double top) {
      cairo_rectangle(cr, std::round(left), top, std::round(right) - std::round(left), thick);
      cairo_fill(cr);
    };
    const double full = laid_out(s, font, text).width;
    if (font.underline) bar(x, x + full, y + tm.ascent + 1);
    if (font.strike_out) bar(x, x + full, y + tm.ascent - tm.ascent / 3);
    if (underline >= 0 && underline < size) {
      const double from =
          underline == 0 ? 0 : laid_out(s, font, text.substr(0, static_cast<std::size_t>(underline))).width;
      const double to =
          laid_out(s, font, text.substr(0, static_cast<std::size_t>(underline) + 1)).width;
      bar(x + from, x + to, y + tm.ascent + 1);
    }
  }
}

}  // namespace corva::platform::fonts
