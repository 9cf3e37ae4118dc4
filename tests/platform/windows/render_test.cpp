// Rendering window trees: bad windows and paths, procedures that destroy
// windows while they paint, and nothing drawn outside the window or the clip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvaplat/paint.h"
#include "corvaplat/render.h"
#include "corvaplat/windows.h"
#include "tests/support/pixels.h"
#include "tests/support/temp_dir.h"

namespace {
using namespace corva::platform;
using corva::test::Pixels;
using corva::test::TempDir;

constexpr std::uint32_t kUntouched = 0xFF00FF;

// What the destroying class does when it is asked to paint.
std::uint32_t g_destroy_on = 0;
bool g_destroy_root = false;

LRESULT destroying_proc(WindowHandle h, std::uint32_t m, WPARAM w, LPARAM l) {
  if (m == g_destroy_on) {
    DestroyWindow(g_destroy_root ? top_level_parent(h) : h);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

class Render : public testing::Test {
 protected:
  void SetUp() override { reset_window_system(); }
  void TearDown() override { reset_window_system(); }

  // A captioned top-level window 100 x 80 at (300, 200) with an edit inside.
  static WindowHandle frame() {
    const WindowHandle f = CreateWindowExA(0, "#32770", "Frame",
                                           WS_POPUP | WS_CAPTION | WS_VISIBLE, 300, 200, 100, 80,
                                           0, 0, 0, nullptr);
    CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE | WS_BORDER, 4, 4, 60, 20, f, 1, 0,
                    nullptr);
    return f;
  }
};

TEST_F(Render, WindowsDestroyedWhilePaintingEndTheirPaint) {
  struct Case {
    std::uint32_t message;
    bool root;
  };
  for (const Case c : {Case{WM_PAINT, false}, Case{WM_ERASEBKGND, false}, Case{WM_NCPAINT, true},
                       Case{WM_PAINT, true}}) {
    SCOPED_TRACE(c.message);
    g_destroy_on = c.message;
    g_destroy_root = c.root;
    WindowClass wc;
    wc.name = "RenderDestroys";
    wc.procedure = destroying_proc;
    RegisterClassA(wc);
    const WindowHandle f = frame();
    const WindowHandle victim = CreateWindowExA(0, "RenderDestroys", "", WS_CHILD | WS_VISIBLE,
                                                10, 30, 20, 20, f, 2, 0, nullptr);
    CreateWindowExA(0, "BUTTON", "after", WS_CHILD | WS_VISIBLE, 40, 30, 40, 20, f, 3, 0, nullptr);
    Pixels pixels(100, 80);
    EXPECT_TRUE(paint_window_to_surface(f, pixels.surface(), nullptr));
    EXPECT_FALSE(IsWindow(victim));
    EXPECT_EQ(IsWindow(f), !c.root);
    reset_window_system();
  }
  g_destroy_on = 0;
}

TEST_F(Render, NothingIsDrawnOutsideTheWindowOrTheClip) {
  const WindowHandle f = frame();
  // Children partly and wholly outside the frame's client area.
  CreateWindowExA(0, "BUTTON", "partly", WS_CHILD | WS_VISIBLE, 70, 40, 200, 200, f, 4, 0, nullptr);
  CreateWindowExA(0, "BUTTON", "outside", WS_CHILD | WS_VISIBLE, -900, -900, 50, 50, f, 5, 0,
                  nullptr);
  Pixels pixels(160, 120);
  ASSERT_TRUE(paint_window_to_surface(f, pixels.surface(), nullptr));
  EXPECT_EQ(pixels.differing(100, 0, 160, 120, kUntouched), 0);
  EXPECT_EQ(pixels.differing(0, 80, 160, 120, kUntouched), 0);
  EXPECT_EQ(pixels.differing(0, 0, 100, 80, kUntouched), 100 * 80) << "every pixel painted";

  Pixels clipped(100, 80);
  const Rect clip{10, 10, 30, 30};
  ASSERT_TRUE(paint_window_to_surface(f, clipped.surface(), &clip));
  EXPECT_EQ(clipped.differing(10, 10, 30, 30, kUntouched), 20 * 20);
  EXPECT_EQ(clipped.differing(0, 0, 100, 80, kUntouched), 20 * 20);
}

// The dialog answers every colour request with a brush of its own colour.
constexpr ColorRef kAnswered = 0x203040;
std::intptr_t colouring_proc(WindowHandle, std::uint32_t m, WPARAM, LPARAM) {
  if (m >= WM_CTLCOLOREDIT && m <= WM_CTLCOLORSTATIC) return stock_brush(kAnswered);
  return m == WM_INITDIALOG ? 1 : 0;
}

TEST_F(Render, ControlsAndDialogsPaintWithTheBrushTheirParentAnswers) {
  DialogTemplate d;
  d.style = WS_POPUP | WS_VISIBLE;
  d.cx = 200;
  d.cy = 100;
  struct Case {
    const char* cls;
    std::uint32_t style;
    Point probe;  // inside the control, in the dialog's client coordinates
  };
  const std::vector<Case> cases = {
      {"STATIC", SS_LEFT, {78, 12}},          {"EDIT", WS_BORDER, {78, 42}},
      {"BUTTON", BS_AUTOCHECKBOX, {78, 72}},  {"LISTBOX", WS_BORDER, {78, 102}},
      {"COMBOBOX", CBS_DROPDOWNLIST, {30, 132}},
  };
  int id = 10;
  for (const Case& c : cases) {
    DialogItem item;
    item.class_name = c.cls;
    item.id = id++;
    item.style = c.style | WS_VISIBLE;
    item.x = 10;
    item.y = (item.id - 10) * 15 + 2;
    item.cx = 60;
    item.cy = 12;
    d.items.push_back(item);
  }
  register_dialog_template(0, 7, d);
  const WindowHandle dialog = CreateDialogParamA(0, 7, 0, colouring_proc, 0);
  ASSERT_NE(dialog, 0u);
  Rect whole{};
  GetWindowRect(dialog, &whole);
  Pixels pixels(whole.width(), whole.height());
  ASSERT_TRUE(paint_window_to_surface(dialog, pixels.surface(), nullptr));
  const std::uint32_t answered = 0x403020;  // kAnswered as 0xRRGGBB
  EXPECT_EQ(pixels.at(whole.width() - 2, whole.height() - 2), answered) << "the dialog's own";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    EXPECT_EQ(pixels.at(c.probe.x, c.probe.y), answered);
  }
}

TEST_F(Render, BadWindowsAndPathsGiveAReason) {
  TempDir temp;
  std::string error;
  Pixels pixels(10, 10);
  EXPECT_FALSE(paint_window_to_surface(0xDEAD, pixels.surface(), nullptr));
  EXPECT_FALSE(render_window_png(0xDEAD, temp.file("x.png").c_str(), &error));
  EXPECT_EQ(error, "no such window");

  const WindowHandle empty = CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                                             0, 0, 0, nullptr);
  EXPECT_TRUE(paint_window_to_surface(empty, pixels.surface(), nullptr));
  EXPECT_EQ(pixels.differing(0, 0, 10, 10, kUntouched), 0);
  EXPECT_FALSE(render_window_png(empty, temp.file("x.png").c_str(), &error));
  EXPECT_NE(error.find("0x0"), std::string::npos) << error;

  const WindowHandle f = frame();
  const std::string missing_dir = temp.file("no/such/dir/x.png");
  EXPECT_FALSE(render_window_png(f, missing_dir.c_str(), &error));
  EXPECT_NE(error.find(missing_dir), std::string::npos) << error;
  // A directory in the way: the rename fails, the directory stays, no new file is left.
  temp.mkdir("taken.png");
  EXPECT_FALSE(render_window_svg(f, temp.file("taken.png").c_str(), &error));
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(temp.path())) entries += e.exists();
  EXPECT_EQ(entries, 1);

  ASSERT_TRUE(render_window_png(f, temp.file("f.png").c_str(), &error)) << error;
  ASSERT_TRUE(render_window_svg(f, temp.file("f.svg").c_str(), &error)) << error;
  EXPECT_EQ(temp.read("f.png").substr(1, 3), "PNG");
  EXPECT_NE(temp.read("f.svg").find("<svg"), std::string::npos);
}

}  // namespace
