// What device contexts paint into a surface: fills, lines, clips, mapping,
// palettes and text, each checked at the pixels it should and should not touch.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "corvaplat/gdi.h"
#include "corvaplat/raster.h"
#include "tests/support/pixels.h"

namespace {
using namespace corva::platform;
using corva::test::Pixels;

constexpr std::uint32_t kUntouched = 0xFF00FF;

// 0xRRGGBB of a COLORREF (0x00BBGGRR).
constexpr std::uint32_t rgb(ColorRef c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

struct Probe {
  int x, y;
  std::uint32_t rgb;
};

TEST(Raster, WhatEachOperationPaints) {
  const ColorRef red = 0x0000FF, blue = 0xFF0000;
  struct Case {
    const char* name;
    std::function<void(DcHandle)> draw;
    std::vector<Probe> probes;  // surface coordinates; the context's origin is (10, 10)
  };
  const std::vector<Case> cases = {
      {"a fill covers its rectangle without the right and bottom edges",
       [&](DcHandle dc) {
         const Rect r{0, 0, 5, 5};
         FillRect(dc, &r, stock_brush(red));
       },
       {{10, 10, rgb(red)}, {14, 14, rgb(red)}, {15, 14, kUntouched}, {14, 15, kUntouched}}},
      {"a line leaves out its last point",
       [&](DcHandle dc) {
         MoveToEx(dc, 0, 20, nullptr);
         LineTo(dc, 10, 20);
       },
       {{10, 30, 0x000000}, {19, 30, 0x000000}, {20, 30, kUntouched}, {15, 31, kUntouched}}},
      {"a null pen draws nothing",
       [&](DcHandle dc) {
         SelectObject(dc, GetStockObject(NULL_PEN));
         MoveToEx(dc, 0, 20, nullptr);
         LineTo(dc, 10, 20);
       },
       {{12, 30, kUntouched}}},
      {"a selected clip region bounds a fill",
       [&](DcHandle dc) {
         const Rect clip{0, 0, 3, 3}, all{0, 0, 10, 10};
         const GdiHandle region = CreateRectRgnIndirect(&clip);
         SelectClipRgn(dc, region);
         FillRect(dc, &all, stock_brush(blue));
         DeleteObject(region);
       },
       {{12, 12, rgb(blue)}, {13, 13, kUntouched}}},
      {"nothing leaves the context's limit",
       [&](DcHandle dc) {
         const Rect huge{-10000, -10000, 10000, 10000};
         FillRect(dc, &huge, stock_brush(red));
       },
       {{5, 5, rgb(red)}, {4, 4, kUntouched}, {49, 49, rgb(red)}, {50, 50, kUntouched}}},
      {"the viewport origin moves what is drawn",
       [&](DcHandle dc) {
         SetViewportOrgEx(dc, 5, 5, nullptr);
         const Rect r{0, 0, 1, 1};
         FillRect(dc, &r, stock_brush(red));
       },
       {{15, 15, rgb(red)}, {10, 10, kUntouched}}},
      {"a palette index takes the selected palette's entry, realized or not",
       [&](DcHandle dc) {
         const PaletteEntry entries[2] = {{0, 0, 0, 0}, {0x12, 0x34, 0x56, 0}};
         const GdiHandle palette = CreatePalette(entries, 2);
         SelectPalette(dc, palette, false);
         const Rect r{0, 0, 2, 2};
         FillRect(dc, &r, stock_brush(0x01000001));
         DeleteObject(palette);
       },
       {{10, 10, 0x123456}}},
      {"a palette index without a palette is black",
       [&](DcHandle dc) {
         const Rect r{0, 0, 2, 2};
         FillRect(dc, &r, stock_brush(0x01000007));
       },
       {{10, 10, 0x000000}}},
      {"opaque text fills its cell with the background colour",
       [&](DcHandle dc) {
         SetBkColor(dc, 0x00FFFF);
         TextOutA(dc, 0, 0, "  ", 2);
       },
       {{10, 10, 0xFFFF00}, {11, 20, 0xFFFF00}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pixels pixels(60, 60, kUntouched);
    const DcHandle dc = open_surface_dc(pixels.surface(), 0, 0, Point{10, 10}, Rect{5, 5, 50, 50});
    ASSERT_NE(dc, 0u);
    c.draw(dc);
    close_dc(dc);
    for (const Probe& p : c.probes)
      EXPECT_EQ(pixels.at(p.x, p.y), p.rgb) << "at " << p.x << "," << p.y;
  }
}

TEST(Raster, TextIsDrawnInItsCellAndMeasuredWithThePackagedFont) {
  Pixels pixels(80, 40, 0xFFFFFF);
  const DcHandle dc = open_surface_dc(pixels.surface(), 0, 0, Point{0, 0}, Rect{0, 0, 80, 40});
  SetBkMode(dc, TRANSPARENT);
  Size size{};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "Wm", 2, &size));
  TextOutA(dc, 4, 4, "Wm", 2);
  close_dc(dc);
  EXPECT_GT(pixels.differing(4, 4, 4 + size.cx, 4 + size.cy, 0xFFFFFF), 10);
  EXPECT_EQ(pixels.differing(4 + size.cx + 1, 0, 80, 40, 0xFFFFFF), 0);

  // A face that is not installed falls back to the packaged sans-serif face.
  LogFont known{}, missing{};
  known.height = missing.height = -12;
  std::strcpy(known.face_name, "DejaVu Sans");
  std::strcpy(missing.face_name, "No Such Face");
  const GdiHandle a = CreateFontIndirectA(&known), b = CreateFontIndirectA(&missing);
  const DcHandle measure = open_dc(0, a);
  Size with_known{}, with_missing{};
  TextMetric tm_known{}, tm_missing{};
  GetTextExtentPoint32A(measure, "Ledger 1,250.00", 15, &with_known);
  GetTextMetricsA(measure, &tm_known);
  SelectObject(measure, b);
  GetTextExtentPoint32A(measure, "Ledger 1,250.00", 15, &with_missing);
  GetTextMetricsA(measure, &tm_missing);
  close_dc(measure);
  DeleteObject(a);
  DeleteObject(b);
  EXPECT_EQ(with_known.cx, with_missing.cx);
  EXPECT_EQ(tm_known.height, tm_missing.height);
  EXPECT_GT(with_known.cx, 50);
}

}  // namespace

namespace {

TEST(Raster, LongTextWrapsInOneMeasurementAPiece) {
  // Measuring every candidate break on its own would take minutes here.
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "ledger ";
  const DcHandle dc = open_dc(0, 0);
  TextMetric tm{};
  GetTextMetricsA(dc, &tm);
  Rect r{0, 0, 200, 0};
  const int height = DrawTextA(dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_CALCRECT);
  close_dc(dc);
  EXPECT_GT(height / tm.height, 4000 / 4);
  EXPECT_EQ(r.right, 200);
}

}  // namespace
