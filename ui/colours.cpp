#include "ui/colours.h"

#include <algorithm>
#include <array>

#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "corvaplat/windows.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr int kSchemes = 5, kSets = 7, kShades = 4, kElements = 15;

// Background and brush colour of each shade, by scheme and set.
constexpr std::uint32_t kShadeTable[kSchemes][kSets][kShades] = {
    {{0x02C0C0C0, 0x02FFFFFF, 0x0200FFFF, 0x02FFFFB5},
     {0x02EFCEC6, 0x02FFFFFF, 0x0200FFFF, 0x02FFFFB5},
     {0x0200FFFF, 0x02FFFFFF, 0x0200FFFF, 0x02FFFFB5},
     {0x02C6DED6, 0x02FFFFFF, 0x0200FFFF, 0x02000000},
     {0x02BDC684, 0x02FFFFFF, 0x0200FFFF, 0x02000000},
     {0x02FFFF00, 0x02FFFFFF, 0x0200FFFF, 0x02000000},
     {0x02FFFF00, 0x02FFFFFF, 0x0200FFFF, 0x02C0C0C0}},
    {{0x02E7EED2, 0x02DEEFF7, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02F7E7DE, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02BAFFF7, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02DCF3E7, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02E7EED2, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02F9CEEB, 0x02FFFFFF, 0x02C0C0C0},
     {0x02E7EED2, 0x02F9CEEB, 0x02FFFFFF, 0x02C0C0C0}},
    {{0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000}},
    {{0x02B5CEE7, 0x02DEEFF7, 0x02FFFFFF, 0x02000000},
     {0x02EFCEC6, 0x02F7E7DE, 0x02FFFFFF, 0x02E7EED2},
     {0x0294EFEF, 0x02BAFFF7, 0x02FFFFFF, 0x02E7EED2},
     {0x02C6DED6, 0x02DCF3E7, 0x02FFFFFF, 0x02000000},
     {0x02BDC684, 0x02E7EED2, 0x02FFFFFF, 0x02000000},
     {0x02E7ADD6, 0x02F9CEEB, 0x02FFFFFF, 0x02000000},
     {0x02E7ADD6, 0x02F9CEEB, 0x02FFFFFF, 0x02C0C0C0}},
    {{0x02B5CEE7, 0x02DEEFF7, 0x02000000, 0x02000000},
     {0x02EFCEC6, 0x02F7E7DE, 0x02000000, 0x02000000},
     {0x0294EFEF, 0x02BAFFF7, 0x02000000, 0x02000000},
     {0x02C6DED6, 0x02DCF3E7, 0x02000000, 0x02000000},
     {0x02BDC684, 0x02E7EED2, 0x02000000, 0x02000000},
     {0x02E7ADD6, 0x02F9CEEB, 0x02000000, 0x02000000},
     {0x02E7ADD6, 0x02F9CEEB, 0x02000000, 0x02000000}},
};

// The shade of each element, by scheme; element 9 has none.
constexpr int kElementMap[kElements][kSchemes] = {
    {1, 3, 0, 1, 0}, {1, 3, 1, 2, 1}, {1, 2, 1, 2, 1}, {0, 3, 0, 0, 0}, {2, 0, 1, 1, 1},
    {3, 0, 1, 3, 1}, {0, 3, 0, 0, 0}, {1, 3, 1, 2, 1}, {1, 2, 1, 2, 1}, {-1, -1, -1, -1, -1},
    {3, 3, 1, 3, 1}, {1, 2, 1, 2, 1}, {1, 3, 1, 3, 1}, {1, 2, 1, 2, 1}, {1, 3, 0, 2, 1},
};

constexpr std::uint32_t kDefaults[6][14] = {
    {0x02C0C0C0, 0x02FFFFFF, 0x0200FFFF, 0x02000000, 0x02000000, 0x02000000, 0x02000000,
     0x02000000, 0x02000000, 0x02000000, 0x02000000, 0x02FFFFFF, 0x02FFFFFF, 0x02C0C0C0},
    {0x02800000, 0x02FFFFFF, 0x0200FFFF, 0x02FFFFFF, 0x02000000, 0x02000000, 0x02000000,
     0x02000000, 0x02000000, 0x02000000, 0x02000000, 0x02FFFFFF, 0x02FFFFB6, 0x02C0C0C0},
    {0x0200FFFF, 0x02FFFFFF, 0x02FFFFFF, 0x02000000, 0x02000000, 0x02000000, 0x02000000,
     0x02000000, 0x02000000, 0x02000000, 0x02FFFFB6, 0x02C0C0C0, 0x00000000, 0x00000000},
    {0x02008080, 0x02FFFFFF, 0x02FFFFFF, 0x02000000, 0x02000000, 0x02000000, 0x02000000,
     0x02000000, 0x02000000, 0x02000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},
    {0x02808000, 0x02FFFFFF, 0x02FFFFFF, 0x02000000, 0x02000000, 0x02000000, 0x02000000,
     0x02000000, 0x02000000, 0x02000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000},
    {0x02FFFFFF, 0x02800000, 0x02000000, 0x02FFFFFF, 0x02000000, 0x0200FFFF, 0x02000000,
     0x02FFFFFF, 0x02000000, 0x02FF00FF, 0x02000000, 0x02000000, 0x02000000, 0x02000000},
};

constexpr int kKindEdit = 101, kKindList = 103, kKindDialog = 104;

struct ColourState {
  int scheme = 0;  // the offset is scheme * 7
  std::array<int, kElements> map{};
  std::array<std::array<CvHBRUSH, kShades>, kSets> brushes{};
  CvHBRUSH white = 0;
  CvHPALETTE palette = 0;
};
ColourState g;

bool in_bounds(int set, int element) {
  return set >= 0 && set < kSets && element >= 0 && element < kElements;
}

// Selects the stored palette into a context as a foreground palette and realizes it.
void select_palette(CvHDC dc) {
  if (g.palette == 0) return;
  plat::SelectPalette(dc, g.palette, false);
  plat::RealizePalette(dc);
}

plat::Rect rect_of(const CvRECT& r) { return plat::Rect{r.left, r.top, r.right, r.bottom}; }

// Repaints bands k..2 of the control's parent, within its update rectangle.
void repaint_bands(CvHWND parent, const CvUniversalDlgColors& rec, int k) {
  plat::Rect update{};
  plat::GetUpdateRect(parent, &update, true);
  const plat::DcHandle dc = plat::GetDC(parent);
  select_palette(dc);
  plat::SetBkMode(dc, plat::OPAQUE);
  bool first = true;
  for (int i = k; i <= 2; ++i) {
    const plat::Rect band = rect_of(rec.bandRect[i]);
    if (band.top <= 0) continue;
    const CvHBRUSH brush = brush_of(rec.set, rec.bandElement[i]);
    const plat::GdiHandle old = plat::SelectObject(dc, brush);
    plat::Point tl{band.left, band.top + rec.bandTopOffset[i]}, br{band.right, band.bottom};
    plat::ScreenToClient(parent, &tl);
    plat::ScreenToClient(parent, &br);
    if (!(tl.x <= update.left && tl.y <= update.top && br.x <= update.right &&
          br.y <= update.bottom)) {
      plat::Rect fill{std::max(tl.x, update.left), std::max(tl.y, update.top), br.x - 1, br.y - 1};
      if (update.right > 0 && update.right < fill.right) {
        fill.right = update.right;
        --update.right;
      }
      if (update.bottom > 0 && update.bottom < fill.bottom) {
        fill.bottom = update.bottom;
        --update.bottom;
      }
      plat::FillRect(dc, &fill, brush);
      if (first) {
        plat::InvalidateRect(parent, &fill, false);
        first = false;
      }
    }
    if (old != 0) plat::SelectObject(dc, old);
  }
  plat::ReleaseDC(parent, dc);
}

// The first pair of the list with the control's handle: its flag, or -1.
int listed_flag(const CvControlColorEntry* list, CvHWND control) {
  for (const CvControlColorEntry* e = list; e != nullptr && e->window != 0; ++e) {
    if (e->window == control) return e->flag != 0 ? 1 : 0;
  }
  return -1;
}

}  // namespace

CvHBRUSH colour_init(int scheme) {
  if (scheme < 0 || scheme >= kSchemes) scheme = 1;
  colour_dispose();
  g.scheme = scheme;
  g.map.fill(-1);
  for (int e = 0; e < kElements; ++e) g.map[static_cast<std::size_t>(e)] = kElementMap[e][scheme];
  for (int s = 0; s < kSets; ++s) {
    for (int h = 0; h < kShades; ++h)
      g.brushes[static_cast<std::size_t>(s)][static_cast<std::size_t>(h)] =
          plat::CreateSolidBrush(kShadeTable[scheme][s][h]);
  }
  g.white = plat::CreateSolidBrush(0x00FFFFFF);
  return g.white;
}

void colour_dispose() {
  for (auto& set : g.brushes) {
    for (CvHBRUSH& b : set) {
      if (b != 0) plat::DeleteObject(b);
      b = 0;
    }
  }
  if (g.white != 0) plat::DeleteObject(g.white);
  g.white = 0;
}

CvHBRUSH brush_of(int set, int element) {
  if (!in_bounds(set, element)) return 0;
  const int shade = g.map[static_cast<std::size_t>(element)];
  if (shade < 0) return 0;
  return g.brushes[static_cast<std::size_t>(set)][static_cast<std::size_t>(shade)];
}

std::uint32_t colour_of(int set, int element) {
  if (!in_bounds(set, element)) return 0;
  const int shade = g.map[static_cast<std::size_t>(element)];
  if (shade < 0) return 0;
  return kShadeTable[g.scheme][set][shade];
}

CvHBRUSH white_brush() { return g.white; }

CvHPALETTE set_palette(CvHPALETTE palette) {
  g.palette = palette;
  return palette;
}

CvHPALETTE palette() { return g.palette; }

std::int32_t delete_palette() {
  const bool deleted = plat::DeleteObject(g.palette);
  g.palette = 0;
  return deleted ? 1 : 0;
}

std::int32_t palette_changed(CvHWND window) {
  if (g.palette == 0) return 0;
  const plat::DcHandle dc = plat::GetDC(window);
  const plat::GdiHandle old = plat::SelectPalette(dc, g.palette, false);
  const unsigned changed = plat::RealizePalette(dc);
  if (old != 0) plat::SelectPalette(dc, old, false);
  plat::ReleaseDC(window, dc);
  return static_cast<std::int32_t>(changed);
}

bool colour_defaults(int row, int count, std::uint32_t* buffer) {
  if (buffer == nullptr || count < 0) return false;
  const int n = std::min(count, 14);
  for (int i = 0; i < n; ++i) buffer[i] = row >= 0 && row <= 5 ? kDefaults[row][i] : 0xFFFFFFFFu;
  return true;
}

CvHBRUSH dialog_colours(CvHDC dc, CvHWND control, int kind, CvUniversalDlgColors* record,
                        const CvControlColorEntry* list) {
  if (dc == 0 || record == nullptr) return 0;
  CvUniversalDlgColors& rec = *record;
  if (kind == kKindDialog) {
    select_palette(dc);
    plat::SetTextColor(dc, 0x000000);
    plat::SetBkColor(dc, colour_of(rec.set, rec.bandElement[0]));
    plat::SetBkMode(dc, plat::OPAQUE);
    const CvHBRUSH answer = brush_of(rec.set, rec.bandElement[0]);
    if (rec.banded != 0) rec.repaintPending = 1;
    return answer;
  }
  const int flag = listed_flag(list, control);
  const bool coloured =
      (kind == kKindEdit || kind == kKindList || kind == 0) ? flag == 1 : flag != 0;
  if (!coloured) {
    select_palette(dc);
    return 0;
  }
  if (rec.repaintPending != 0 && (control == rec.firstTrigger || control == rec.secondTrigger)) {
    repaint_bands(plat::GetParent(control), rec, control == rec.firstTrigger ? 1 : 2);
    rec.repaintPending = 0;
    return 0;
  }
  select_palette(dc);
  plat::Rect c{}, p{};
  plat::GetWindowRect(control, &c);
  plat::GetWindowRect(plat::GetParent(control), &p);
  plat::OffsetRect(&c, -p.left, -p.top);
  int band = 0;
  const plat::Rect origin = rect_of(rec.bandRect[0]);
  for (int i = 0; i < 3; ++i) {
    plat::Rect b = rect_of(rec.bandRect[i]);
    plat::OffsetRect(&b, -origin.left, -origin.top);
    if (c.top >= b.top && c.bottom <= b.bottom && c.left >= b.left && c.right <= b.right) band = i;
  }
  plat::SetTextColor(dc, 0x000000);
  plat::SetBkColor(dc, colour_of(rec.set, rec.bandElement[band]));
  plat::SetBkMode(dc, plat::OPAQUE);
  return brush_of(rec.set, rec.bandElement[band]);
}

}  // namespace corva::ui
