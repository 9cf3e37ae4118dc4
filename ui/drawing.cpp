#include "ui/drawing.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "corvaplat/gdi.h"
#include "corvaplat/windows.h"
#include "frame/settings.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr std::uint32_t kCentre = 1, kRight = 2, kVCentre = 4, kBottom = 8, kWordBreak = 16,
                        kSingleLine = 32, kNoClip = 256;

std::uint16_t g_busy = 0;
std::uint32_t g_kept_cursor = 0;

plat::Rect plain(const CvRECT& r) { return plat::Rect{r.left, r.top, r.right, r.bottom}; }

int width_of(CvHDC dc, const char* p, int n) {
  plat::Size s{0, 0};
  plat::GetTextExtentPoint32A(dc, p, n, &s);
  return s.cx;
}

// Where a line of p[0..n) that must fit width w ends (at least one character).
int line_break(CvHDC dc, const char* p, int n, int w, bool word_break) {
  const int whole = width_of(dc, p, n);
  if (whole <= w) return n;
  int at = whole > 0 ? static_cast<int>(static_cast<long long>(n) * w / whole) : n;
  while (at < n && width_of(dc, p, at) < w) ++at;
  while (at > 0 && width_of(dc, p, at) > w) --at;
  if (at == 0) at = 1;
  if (word_break && at < n) {
    for (int k = at - 1; k > 0; --k) {
      if (p[k] == ' ') {
        at = k;
        break;
      }
    }
    while (at < n && p[at] == ' ') ++at;
  }
  return at;
}

}  // namespace

std::uint32_t hourglass_up() {
  if (g_busy == 0) {
    g_kept_cursor = plat::SetCursor(plat::LoadCursorA(0, plat::IDC_WAIT));
    ++g_busy;
    return g_kept_cursor;
  }
  return g_busy++;
}

std::uint32_t hourglass_down() {
  if (g_busy == 0) return 0;
  const std::uint16_t before = g_busy--;
  if (g_busy == 0) return plat::SetCursor(g_kept_cursor);
  return before;
}

std::int16_t draw_tab_clipped(CvHDC dc, const CvRECT& rect, const char* text, int length,
                              const std::int16_t* stops, int stop_count, int margin,
                              std::uint32_t format) {
  if (text == nullptr) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  plat::Rect r = plain(rect);
  if (stops == nullptr || std::memchr(text, '\t', static_cast<std::size_t>(length)) == nullptr)
    return static_cast<std::int16_t>(plat::DrawTextA(dc, text, length, &r, format));
  format &= ~kRight;
  int tallest = 0, column = 0, start = 0;
  for (int pos = 0; pos < length && text[pos] != '\0'; ++pos) {
    const bool tab = text[pos] == '\t';
    if (!tab && pos + 1 != length) continue;
    plat::Rect c{rect.left, rect.top, 0, rect.bottom};
    std::uint32_t f = format;
    if (column >= 1 && column <= stop_count) {
      const int stop = stops[column - 1];
      c.left = rect.left + std::abs(stop) + margin;
      if (stop < 0) f |= kRight;
    } else if (column > stop_count) {
      c.left = rect.left + margin;
    }
    c.right = column < stop_count ? rect.left + std::abs(stops[column]) - margin
                                  : rect.right - margin;
    if (c.left < rect.left) c.left = rect.left;
    const int end = tab ? pos : pos + 1;  // a tab is not drawn, the last character is
    tallest = std::max(tallest, plat::DrawTextA(dc, text + start, end - start, &c, f));
    start = pos + 1;
    ++column;
  }
  return static_cast<std::int16_t>(tallest);
}

std::int16_t draw_y_up(CvHDC dc, CvHDC attribute_dc, const char* text, int length,
                       const CvRECT& rect, std::uint32_t format) {
  if (dc == 0) dc = attribute_dc;
  if (attribute_dc == 0) attribute_dc = dc;
  const int width = rect.right - rect.left, height = rect.top - rect.bottom;
  if (width < 1 || height <= 0 || dc == 0) return static_cast<std::int16_t>(rect.top);
  if (text != nullptr && length == -1) length = static_cast<int>(std::strlen(text));
  plat::Size size{0, 0};
  if (text == nullptr || length <= 0 || text[0] == '\0') {
    plat::GetTextExtentPoint32A(attribute_dc, "X", 1, &size);
    return static_cast<std::int16_t>(rect.top - size.cy);
  }
  plat::GetTextExtentPoint32A(attribute_dc, text, length, &size);
  plat::TextMetric tm{};
  plat::GetTextMetricsA(attribute_dc, &tm);
  int x = rect.left;
  if (format & kCentre) {
    x = rect.left + (width - size.cx) / 2;
    format &= ~kRight;
  } else if (format & kRight) {
    x = rect.right - size.cx;
  }
  if (format & kWordBreak) format &= ~(kVCentre | kBottom);

  if (!(format & kSingleLine)) {
    CvRECT work = rect;
    const char* p = text;
    int left = length;
    for (const char* cr; left > 0 && (cr = static_cast<const char*>(
                                          std::memchr(p, '\r', static_cast<std::size_t>(left))));) {
      const int part = static_cast<int>(cr - p);
      work.top = draw_y_up(dc, attribute_dc, p, part, work, format);
      const int skip = std::min(part + 2, left);  // the CR and the character after it
      p += skip;
      left -= skip;
    }
    while (left > 0) {
      const int n = line_break(attribute_dc, p, left, width, (format & kWordBreak) != 0);
      work.top = draw_y_up(dc, attribute_dc, p, n, work, format | kSingleLine);
      p += n;
      left -= n;
    }
    return static_cast<std::int16_t>(work.top);
  }

  int y = rect.top;
  if (format & kBottom) y = rect.bottom + tm.ascent + tm.descent;
  else if (format & kVCentre) y = rect.top - (height - tm.ascent - tm.descent) / 2;
  const int saved = plat::SaveDC(dc);
  if (!(format & kNoClip)) {
    plat::Point corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    plat::LPtoDP(attribute_dc, corners, 2);
    plat::Rect clip{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                    std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
    if (frame::settings().allow_large_clip) {
      clip.right += 1;
      if (clip.left > 0) clip.left -= 1;
    }
    const plat::GdiHandle region = plat::CreateRectRgnIndirect(&clip);
    plat::SelectClipRgn(dc, region);
    plat::DeleteObject(region);
  }
  plat::TextOutA(dc, x, y, text, length);
  if (saved != 0) plat::RestoreDC(dc, -1);
  return static_cast<std::int16_t>(y - size.cy);
}

void draw_bevel(CvHDC dc, const CvRECT& rect, std::uint16_t width, int flags, int raised) {
  const plat::GdiHandle white = plat::CreatePen(plat::PS_SOLID, 1, 0xFFFFFF);
  const plat::GdiHandle grey = plat::CreatePen(plat::PS_SOLID, 1, 0x808080);
  plat::GdiHandle top = raised != 0 ? white : grey, left = top;
  plat::GdiHandle bottom = raised != 0 ? grey : white, right = bottom;
  if (flags & 16) std::swap(top, bottom);
  if (flags & 1) std::swap(left, right);
  const plat::GdiHandle old = plat::SelectObject(dc, top);
  for (int i = 0; i < width; ++i) {
    plat::SelectObject(dc, top);
    plat::MoveToEx(dc, rect.left + i, rect.top + i, nullptr);
    plat::LineTo(dc, rect.right - i, rect.top + i);
    plat::SelectObject(dc, bottom);
    plat::MoveToEx(dc, rect.left + i, rect.bottom - 1 - i, nullptr);
    plat::LineTo(dc, rect.right - i, rect.bottom - 1 - i);
    plat::SelectObject(dc, left);
    plat::MoveToEx(dc, rect.left + i, rect.top + i + 1, nullptr);
    plat::LineTo(dc, rect.left + i, rect.bottom - 1 - i);
    plat::SelectObject(dc, right);
    plat::MoveToEx(dc, rect.right - 1 - i, rect.top + i + 1, nullptr);
    plat::LineTo(dc, rect.right - 1 - i, rect.bottom - 1 - i);
  }
  if (old != 0) plat::SelectObject(dc, old);
  plat::DeleteObject(white);
  plat::DeleteObject(grey);
}

bool point_in(const CvRECT& r, std::int32_t x, std::int32_t y) {
  if (r.left >= 0) {
    if (x < r.left || x > r.right) return false;
    return r.top >= 1 ? (r.top <= y && y <= r.bottom) : (r.bottom <= y && y <= r.top);
  }
  if (r.top <= 0) return false;
  return r.right <= x && x <= r.left &&
         ((r.top <= y && y <= r.bottom) || (r.bottom <= y && y <= r.top));
}

}  // namespace corva::ui
