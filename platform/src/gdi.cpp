#include <corvaplat/gdi.h>

#include <cstring>
#include <map>
#include <mutex>

#include <corvaplat/windows.h>

namespace corva::platform {
namespace {

struct Dc {
  std::uint32_t window = 0;
  GdiHandle font = 0;
};

struct Gdi {
  std::mutex mutex;
  std::map<GdiHandle, LogFont> fonts;
  std::map<DcHandle, Dc> dcs;
  GdiHandle next_font = 0x00300100;
  DcHandle next_dc = 0x00400001;
  GdiHandle system_font = 0;
  GdiHandle gui_font = 0;
};

Gdi& gdi() {
  static Gdi* g = [] {
    auto* made = new Gdi;
    LogFont system{};
    system.height = 16;
    system.weight = FW_BOLD;
    std::strcpy(system.face_name, "System");
    made->system_font = 0x00300001;
    made->fonts[made->system_font] = system;
    LogFont gui{};
    gui.height = -11;
    gui.weight = FW_NORMAL;
    std::strcpy(gui.face_name, "MS Sans Serif");
    made->gui_font = 0x00300002;
    made->fonts[made->gui_font] = gui;
    return made;
  }();
  return *g;
}

bool stock(const Gdi& g, GdiHandle h) { return h == g.system_font || h == g.gui_font; }

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

const LogFont* font_of(Gdi& g, DcHandle dc) {
  auto d = g.dcs.find(dc);
  if (d == g.dcs.end()) return nullptr;
  auto f = g.fonts.find(d->second.font);
  return f == g.fonts.end() ? &g.fonts[g.system_font] : &f->second;
}

}  // namespace

GdiHandle CreateFontIndirectA(const LogFont* font) {
  if (font == nullptr) return 0;
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const GdiHandle h = g.next_font++;
  LogFont copy = *font;
  copy.face_name[kFaceSize - 1] = '\0';
  g.fonts[h] = copy;
  return h;
}

int GetObjectA(GdiHandle object, int size, void* buffer) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto it = g.fonts.find(object);
  if (it == g.fonts.end()) return 0;
  if (buffer == nullptr) return static_cast<int>(sizeof(LogFont));
  if (size < static_cast<int>(sizeof(LogFont))) return 0;
  std::memcpy(buffer, &it->second, sizeof(LogFont));
  return static_cast<int>(sizeof(LogFont));
}

bool DeleteObject(GdiHandle object) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  if (stock(g, object)) return false;
  return g.fonts.erase(object) != 0;
}

GdiHandle GetStockObject(int which) {
  Gdi& g = gdi();
  if (which == SYSTEM_FONT) return g.system_font;
  if (which == DEFAULT_GUI_FONT) return g.gui_font;
  return 0;
}

DcHandle GetDC(std::uint32_t window) {
  if (window != 0 && !IsWindow(window)) return 0;
  const auto font = window != 0 ? static_cast<GdiHandle>(SendMessageA(window, WM_GETFONT, 0, 0)) : 0;
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const DcHandle dc = g.next_dc++;
  g.dcs[dc] = Dc{window, g.fonts.count(font) != 0 ? font : g.system_font};
  return dc;
}

int ReleaseDC(std::uint32_t, DcHandle dc) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  return g.dcs.erase(dc) != 0 ? 1 : 0;
}

GdiHandle SelectObject(DcHandle dc, GdiHandle object) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  auto d = g.dcs.find(dc);
  if (d == g.dcs.end() || g.fonts.count(object) == 0) return 0;
  const GdiHandle old = d->second.font;
  d->second.font = object;
  return old;
}

bool GetTextMetricsA(DcHandle dc, TextMetric* metrics) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const LogFont* f = font_of(g, dc);
  if (f == nullptr || metrics == nullptr) return false;
  const int h = pixel_height(*f);
  const int descent = h / 4;
  const int bold = f->weight >= 600 ? 1 : 0;
  *metrics = TextMetric{h, h - descent, descent, f->height < 0 ? h / 8 : 0, 0,
                        base_width(*f), base_width(*f) + base_width(*f) / 2 + bold, f->weight};
  return true;
}

bool GetTextExtentPoint32A(DcHandle dc, const char* text, int count, Size* size) {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  const LogFont* f = font_of(g, dc);
  if (f == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) return false;
  int width = 0;
  for (int i = 0; i < count; ++i) width += char_width(*f, text[i]);
  *size = Size{width, pixel_height(*f)};
  return true;
}

int live_dc_count() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  return static_cast<int>(g.dcs.size());
}

int live_font_count() {
  Gdi& g = gdi();
  std::lock_guard lock(g.mutex);
  return static_cast<int>(g.fonts.size()) - 2;
}

}  // namespace corva::platform
