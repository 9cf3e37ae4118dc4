// The drawing helpers, checked against the graphics layer's drawing log.
#include <gtest/gtest.h>

#include <cstring>

#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "frame/settings.h"
#include "tests/support/synthetic_metrics.h"
#include "tests/ui_host.h"

namespace {
using namespace corva::testhost;

class Drawing : public testing::Test {
 protected:
  void SetUp() override {
    dc = GetDC(0);
    clear_drawing_log();
  }
  void TearDown() override { ReleaseDC(0, dc); }
  corva::test::SyntheticMetrics metrics;
  static std::vector<DrawOp> texts() {
    std::vector<DrawOp> out;
    for (const DrawOp& op : drawing_log()) {
      if (op.kind == DrawOp::kText) out.push_back(op);
    }
    return out;
  }
  int width(const char* s) {
    Size sz{};
    GetTextExtentPoint32A(dc, s, static_cast<int>(std::strlen(s)), &sz);
    return sz.cx;
  }
  DcHandle dc = 0;
};

TEST_F(Drawing, BusyCursorNests) {
  const CursorHandle before = GetCursor();
  EXPECT_EQ(PutUpHourGlass(), before);
  EXPECT_EQ(PutUpHourGlass(), 1u);
  EXPECT_EQ(GetCursor(), static_cast<CursorHandle>(IDC_WAIT));
  EXPECT_EQ(TakeDownHourGlass(), 2u);
  EXPECT_EQ(GetCursor(), static_cast<CursorHandle>(IDC_WAIT));
  EXPECT_EQ(TakeDownHourGlass(), static_cast<std::uint32_t>(IDC_WAIT));
  EXPECT_EQ(GetCursor(), before);
  EXPECT_EQ(TakeDownHourGlass(), 0u);
}

TEST_F(Drawing, TabStoppedColumns) {
  const CvRECT r{10, 0, 500, 20};
  const int16_t stops[] = {-100, 200};
  EXPECT_EQ(DrawTabClippedText(dc, &r, "A\tB", 3, stops, 2, 2, DT_RIGHT), 16);
  auto ops = texts();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].clip.left, 10);
  EXPECT_EQ(ops[0].clip.right, 108);
  EXPECT_EQ(ops[0].rect.left, 10);  // the caller's right alignment is dropped
  EXPECT_EQ(ops[1].clip.left, 112);
  EXPECT_EQ(ops[1].clip.right, 208);
  EXPECT_EQ(ops[1].rect.right, 208);  // right-aligned by its negative stop
  EXPECT_EQ(ops[1].text, "B");
  clear_drawing_log();
  DrawTabClippedText(dc, &r, "A\tB", 3, stops, 1, 2, 0);
  ops = texts();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[1].clip.left, 112);
  EXPECT_EQ(ops[1].clip.right, 498);
  clear_drawing_log();
  EXPECT_EQ(DrawTabClippedText(dc, &r, "No tabs", -1, stops, 2, 2, 0), 16);
  EXPECT_EQ(texts().size(), 1u);
  EXPECT_EQ(DrawTabClippedText(dc, &r, nullptr, 3, stops, 2, 2, 0), 0);
}

TEST_F(Drawing, TextInAYUpRectangle) {
  // Zero width: nothing drawn, the top comes back.
  const CvRECT none{10, 100, 10, 0};
  EXPECT_EQ(MyDrawText(dc, 0, "text", -1, &none, 0), 100);
  EXPECT_TRUE(texts().empty());
  const CvRECT r{0, 100, 5 * 7, 0};  // five system-font characters wide
  EXPECT_EQ(MyDrawText(dc, dc, "", 0, &r, 0), 100 - 16);
  // A word longer than the width breaks inside it; the blanks at a break
  // begin no line.
  EXPECT_EQ(MyDrawText(dc, 0, "Abcdefgh  xy", -1, &r, DT_WORDBREAK), 100 - 3 * 16);
  std::vector<std::string> lines;
  for (const DrawOp& op : texts()) lines.push_back(op.text);
  EXPECT_EQ(lines, (std::vector<std::string>{"Abcd", "efgh  ", "xy"}));
  clear_drawing_log();
  // A carriage return ends a line; one line is clipped to the rectangle.
  EXPECT_EQ(MyDrawText(dc, 0, "ab\r\ncd", -1, &r, 0), 100 - 2 * 16);
  ASSERT_EQ(texts().size(), 2u);
  EXPECT_EQ(texts()[1].text, "cd");
  EXPECT_TRUE(texts()[0].clipped);
  EXPECT_EQ(texts()[0].clip, (Rect{0, 0, 35, 100}));
  clear_drawing_log();
  corva::frame::settings().allow_large_clip = true;
  const CvRECT inset{5, 100, 40, 0};
  MyDrawText(dc, 0, "x", 1, &inset, DT_SINGLELINE | DT_RIGHT);
  corva::frame::settings().allow_large_clip = false;
  ASSERT_EQ(texts().size(), 1u);
  EXPECT_EQ(texts()[0].clip, (Rect{4, 0, 41, 100}));
  EXPECT_EQ(texts()[0].rect.left, 40 - width("x"));
}

TEST_F(Drawing, BevelsAndTheirPens) {
  const int objects = live_object_count();
  const CvRECT r{0, 0, 10, 8};
  DrawBevelRect(dc, &r, 0, 0, 1);
  EXPECT_TRUE(drawing_log().empty());
  EXPECT_EQ(live_object_count(), objects);  // pens made and deleted all the same
  DrawBevelRect(dc, &r, 1, 0, 1);
  ASSERT_EQ(drawing_log().size(), 4u);
  const DrawOp* ops = drawing_log().data();
  EXPECT_EQ(ops[0].rect, (Rect{0, 0, 10, 0}));  // top
  EXPECT_EQ(ops[0].color, 0xFFFFFFu);
  EXPECT_EQ(ops[1].rect, (Rect{0, 7, 10, 7}));  // bottom
  EXPECT_EQ(ops[1].color, 0x808080u);
  EXPECT_EQ(ops[2].rect, (Rect{0, 1, 0, 7}));   // left
  EXPECT_EQ(ops[2].color, 0xFFFFFFu);
  EXPECT_EQ(ops[3].rect, (Rect{9, 1, 9, 7}));   // right
  EXPECT_EQ(ops[3].color, 0x808080u);
  clear_drawing_log();
  DrawBevelRect(dc, &r, 2, 16, 0);  // sunken, top and bottom swapped back
  ASSERT_EQ(drawing_log().size(), 8u);
  EXPECT_EQ(drawing_log()[0].color, 0xFFFFFFu);
  EXPECT_EQ(drawing_log()[2].color, 0x808080u);  // left: sunken grey, not swapped
  EXPECT_EQ(drawing_log()[4].rect, (Rect{1, 1, 9, 1}));
  EXPECT_EQ(live_object_count(), objects);
}

TEST_F(Drawing, PointsRectanglesAndExtents) {
  struct Case {
    CvRECT r;
    int32_t x, y;
    int32_t in;
  };
  const Case cases[] = {
      {{0, 10, 100, 50}, 0, 10, 1},    {{0, 10, 100, 50}, 100, 50, 1}, {{0, 10, 100, 50}, 50, 51, 0},
      {{0, 0, 100, -50}, 50, -20, 1},  {{0, 50, 100, 10}, 50, 20, 0},  // y-up with a positive top
      {{0, -10, 100, -50}, 5, -30, 1}, {{-10, 5, -50, 20}, -30, 10, 1}, {{-10, 20, -50, 5}, -30, 10, 1},
      {{-10, 20, -50, 5}, -5, 10, 0},  {{-10, 0, -50, -20}, -30, -10, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(MyPtInRect(&c.r, c.x, c.y), c.in) << c.r.left << "," << c.r.top << " " << c.x << "," << c.y;
  EXPECT_EQ(MyPtInRect(nullptr, 0, 0), 0);

  Host host;
  CvRECT r{100, 100, 200, 150};
  CvRECT* same = ScreenToClientRect(host.frame(), &r);
  EXPECT_EQ(same, &r);
  EXPECT_EQ(r.left, 96);  // the frame's client area starts at (4, 22)
  EXPECT_EQ(r.top, 78);
  ClientToScreenRect(host.frame(), &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 150);
  EXPECT_EQ(GetTextExtent(dc, "ab", 2), (16u << 16) | static_cast<std::uint32_t>(width("ab")));
  EXPECT_EQ(GetTextExtent(0xBAD, "ab", 2), 0u);
  EXPECT_EQ(GetWindowExt(dc), 0x00010001u);
  SetWindowExtEx(dc, 1000, -1000, nullptr);
  EXPECT_EQ(GetWindowExt(dc), 0xFC1803E8u);
  EXPECT_EQ(GetWindowExt(0xBAD), 0u);
}

}  // namespace
