// Colour schemes, brushes, the palette and a dialog's control colours with bands.
#include <gtest/gtest.h>

#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "tests/ui_host.h"

namespace {
using namespace corva::testhost;

class Colours : public testing::Test {
 protected:
  void SetUp() override { objects = live_object_count(); }
  void TearDown() override {
    ColorMapperDispose();
    EXPECT_EQ(live_object_count(), objects);  // every brush went again
  }
  int objects = 0;
};

TEST_F(Colours, SchemesElementsAndBrushes) {
  EXPECT_EQ(GetColorReturnBrush(0, 0), 0u);  // before the scheme is set up: no brush
  const CvHBRUSH white = ColorMapperInit(0, 1);
  EXPECT_EQ(object_color(white), 0x00FFFFFFu);
  EXPECT_EQ(GetWhiteBrush(), white);
  struct Case {
    int16_t set, element;
    std::uint32_t colour;
  };
  // Scheme 1: element 0 is shade 3, element 4 shade 0, element 2 shade 2.
  const Case cases[] = {{0, 0, 0x02C0C0C0}, {2, 4, 0x02E7EED2}, {3, 2, 0x02FFFFFF},
                        {5, 1, 0x02C0C0C0}, {7, 0, 0},          {0, 15, 0},
                        {0, 9, 0},          {-1, 0, 0},         {6, 14, 0x02C0C0C0}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetColorReturnBkColor(c.set, c.element), c.colour) << c.set << "/" << c.element;
    EXPECT_EQ(GetColorReturnBrushColor(c.set, c.element), c.colour);
    const CvHBRUSH b = GetColorReturnBrush(c.set, c.element);
    EXPECT_EQ(b == 0, c.colour == 0);
    if (b != 0) {
      EXPECT_EQ(object_color(b), c.colour);
    }
  }
  const std::uint32_t scheme1 = GetColorReturnBkColor(1, 1);
  ColorMapperInit(0, 7);  // 5 and up: scheme 1
  EXPECT_EQ(GetColorReturnBkColor(1, 1), scheme1);
  ColorMapperInit(0, 0);
  EXPECT_EQ(GetColorReturnBkColor(1, 4), 0x0200FFFFu);  // scheme 0: element 4 is shade 2
  EXPECT_EQ(ColorMapper(14), 14);
  EXPECT_EQ(ColorMapper(15), -1);
}

TEST_F(Colours, DefaultRows) {
  std::uint32_t buffer[14] = {};
  EXPECT_EQ(GetColorDefaults(9, 3, buffer), 1);
  EXPECT_EQ(buffer[0] & buffer[1] & buffer[2], 0xFFFFFFFFu);
  EXPECT_EQ(buffer[3], 0u);
  EXPECT_EQ(GetColorDefaults(1, 14, buffer), 1);
  EXPECT_EQ(buffer[0], 0x02800000u);
  EXPECT_EQ(buffer[12], 0x02FFFFB6u);
  EXPECT_EQ(GetColorDefaults(1, 3, nullptr), 0);
}

TEST_F(Colours, PaletteIsRealizedOnceAndDeleted) {
  Host host;
  const int dcs = live_dc_count();
  EXPECT_EQ(PerformPaletteChgd(host.frame()), 0);  // no palette: no context either
  const PaletteEntry entries[3] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
  const GdiHandle palette = CreatePalette(entries, 3);
  EXPECT_EQ(GetColorSetPalette(palette), palette);
  EXPECT_EQ(GetColorReturnPalette(), palette);
  EXPECT_EQ(PerformPaletteChgd(host.frame()), 3);
  EXPECT_EQ(PerformPaletteChgd(host.frame()), 0);  // nothing changes the second time
  EXPECT_EQ(live_dc_count(), dcs);
  EXPECT_EQ(DeleteColorPalette(), 1);
  EXPECT_EQ(GetColorReturnPalette(), 0u);
  EXPECT_EQ(DeleteColorPalette(), 0);
}

TEST_F(Colours, ControlColoursFollowTheListAndTheBands) {
  Host host;
  ColorMapperInit(0, 3);
  const WindowHandle d = host.open_customer();
  const WindowHandle edit = GetDlgItem(d, kNameEdit), label = GetDlgItem(d, kNameLabel);
  const WindowHandle ok = GetDlgItem(d, IDC_OK), combo = GetDlgItem(d, kTermsCombo);
  Rect dr{};
  GetWindowRect(d, &dr);
  CvUniversalDlgColors rec{};
  rec.set = 1;
  rec.banded = 1;
  rec.firstTrigger = combo;
  rec.bandRect[0] = {dr.left, dr.top, dr.right, dr.bottom};
  rec.bandRect[1] = {dr.left, dr.top + 150, dr.right, dr.bottom};  // holds the OK button
  rec.bandRect[2] = {0, 0, 0, 0};
  rec.bandElement[0] = 0;  // scheme 3: shade 1
  rec.bandElement[1] = 3;  // shade 0
  const CvControlColorEntry list[] = {{edit, 1}, {label, 0}, {combo, 1}, {edit, 0}, {0, 0}};
  const DcHandle dc = GetDC(d);

  EXPECT_EQ(GetCVXUniversalDlgColors(dc, edit, 101, &rec, list), GetColorReturnBrush(1, 0));
  EXPECT_EQ(GetBkColor(dc), 0x02F7E7DEu);
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, label, 100, &rec, list), 0u);  // listed with 0
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, ok, 101, &rec, list), 0u);     // edits must be listed
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, ok, 102, &rec, list), GetColorReturnBrush(1, 3));
  EXPECT_EQ(GetBkColor(dc), 0x02EFCEC6u);  // band 1's colour
  EXPECT_EQ(GetCVXUniversalDlgColors(0, ok, 102, &rec, list), 0u);
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, ok, 102, nullptr, list), 0u);

  // Painting the dialog arms the band repaint; colouring the trigger fills the bands.
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, d, 104, &rec, list), GetColorReturnBrush(1, 0));
  EXPECT_EQ(rec.repaintPending, 1);
  InvalidateRect(d, nullptr, true);
  clear_drawing_log();
  EXPECT_EQ(GetCVXUniversalDlgColors(dc, combo, 103, &rec, list), 0u);
  EXPECT_EQ(rec.repaintPending, 0);
  ASSERT_EQ(drawing_log().size(), 1u);  // band 2 has no rectangle
  EXPECT_EQ(drawing_log()[0].kind, DrawOp::kFill);
  EXPECT_EQ(drawing_log()[0].color, 0x02EFCEC6u);
  EXPECT_EQ(drawing_log()[0].rect.top, 150 - 19);  // in the dialog's client coordinates
  ReleaseDC(d, dc);
}

}  // namespace
