// The exported drawing helpers.
#include "corvalib/ui.h"
#include "corvaplat/gdi.h"
#include "corvaplat/windows.h"
#include "frame/boundary.h"
#include "ui/drawing.h"

namespace plat = corva::platform;
namespace ui = corva::ui;

namespace {
uint32_t packed(int32_t cx, int32_t cy) {
  return (static_cast<uint32_t>(cx) & 0xFFFF) | ((static_cast<uint32_t>(cy) & 0xFFFF) << 16);
}
}  // namespace

extern "C" {

uint32_t PutUpHourGlass(void) try { return ui::hourglass_up(); } CORVA_BOUNDARY(0)
uint32_t TakeDownHourGlass(void) try { return ui::hourglass_down(); } CORVA_BOUNDARY(0)

int16_t DrawTabClippedText(CvHDC dc, const CvRECT* rect, const char* text, int32_t length,
                           const int16_t* tabStops, int16_t tabCount, int16_t margin,
                           uint32_t format) try {
  if (rect == nullptr || text == nullptr) return 0;
  return ui::draw_tab_clipped(dc, *rect, text, length, tabStops, tabCount < 0 ? 0 : tabCount,
                              margin, format);
} CORVA_BOUNDARY(0)

int16_t MyDrawText(CvHDC dc, CvHDC attributeDc, const char* text, int32_t length,
                   const CvRECT* rect, uint32_t format) try {
  if (rect == nullptr) return 0;
  return ui::draw_y_up(dc, attributeDc, text, length, *rect, format);
} CORVA_BOUNDARY(0)

void DrawBevelRect(CvHDC dc, const CvRECT* rect, uint16_t width, int16_t flags, int16_t raised) try {
  if (rect != nullptr) ui::draw_bevel(dc, *rect, width, flags, raised);
} CORVA_BOUNDARY()

int32_t MyPtInRect(const CvRECT* rect, int32_t x, int32_t y) try {
  return rect != nullptr && ui::point_in(*rect, x, y) ? 1 : 0;
} CORVA_BOUNDARY(0)

CvRECT* ScreenToClientRect(CvHWND window, CvRECT* rect) try {
  if (rect == nullptr) return nullptr;
  plat::Point a{rect->left, rect->top}, b{rect->right, rect->bottom};
  plat::ScreenToClient(window, &a);
  plat::ScreenToClient(window, &b);
  *rect = CvRECT{a.x, a.y, b.x, b.y};
  return rect;
} CORVA_BOUNDARY(nullptr)

CvRECT* ClientToScreenRect(CvHWND window, CvRECT* rect) try {
  if (rect == nullptr) return nullptr;
  plat::Point a{rect->left, rect->top}, b{rect->right, rect->bottom};
  plat::ClientToScreen(window, &a);
  plat::ClientToScreen(window, &b);
  *rect = CvRECT{a.x, a.y, b.x, b.y};
  return rect;
} CORVA_BOUNDARY(nullptr)

uint32_t GetTextExtent(CvHDC dc, const char* text, int32_t length) try {
  plat::Size s{0, 0};
  if (!plat::GetTextExtentPointA(dc, text, length, &s)) return 0;
  return packed(s.cx, s.cy);
} CORVA_BOUNDARY(0)

uint32_t GetWindowExt(CvHDC dc) try {
  plat::Size s{0, 0};
  if (!plat::GetWindowExtEx(dc, &s)) return 0;
  return packed(s.cx, s.cy);
} CORVA_BOUNDARY(0)

}  // extern "C"
