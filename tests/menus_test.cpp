// Menus of the platform layer, and merging a module's menu into the application's.
#include <gtest/gtest.h>

#include "corvalib/ui.h"
#include "corvaplat/globalmem.h"
#include "corvaplat/menus.h"
#include "ui/menus.h"

namespace {
using namespace corva::platform;

// Builds a menu from an outline: each line "TEXT|ID", a popup "TEXT{", its
// end "}", a separator "-".
MenuHandle build(std::initializer_list<const char*> lines, bool bar = true) {
  std::vector<MenuHandle> stack{bar ? CreateMenu() : CreatePopupMenu()};
  std::vector<std::string> titles;
  std::vector<MenuHandle> parents;
  for (std::string l : lines) {
    if (l == "-") {
      AppendMenuA(stack.back(), MF_SEPARATOR, 0, nullptr);
    } else if (l == "}") {
      const MenuHandle done = stack.back();
      stack.pop_back();
      AppendMenuA(stack.back(), MF_POPUP, done, titles.back().c_str());
      titles.pop_back();
    } else if (l.back() == '{') {
      titles.push_back(l.substr(0, l.size() - 1));
      stack.push_back(CreatePopupMenu());
    } else {
      const auto bar_at = l.rfind('|');
      AppendMenuA(stack.back(), MF_STRING, std::stoul(l.substr(bar_at + 1)),
                  l.substr(0, bar_at).c_str());
    }
  }
  return stack.front();
}

class Menus : public testing::Test {
 protected:
  void TearDown() override { DelMenuIDOwnerTable(); }
};

TEST_F(Menus, PlatformMenusKeepItemsAndStates) {
  const MenuHandle bar = build({"&File{", "&Open\tCtrl+O|100", "-", "E&xit|101", "}", "&Help|900"});
  EXPECT_EQ(::GetMenuItemCount(bar), 2);
  EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu);  // a popup
  EXPECT_EQ(GetMenuItemID(bar, 1), 900u);
  EXPECT_EQ(GetMenuItemID(bar, 2), 0xFFFFFFFFu);  // no such position
  const MenuHandle file = GetSubMenu(bar, 0);
  EXPECT_EQ(GetMenuItemID(file, 1), 0u);          // the separator
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), (3u << 8) | MF_POPUP);
  EXPECT_EQ(CheckMenuItem(bar, 101, MF_BYCOMMAND | MF_CHECKED), 0u);  // found in the submenu
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), MF_CHECKED);
  char text[6];
  EXPECT_EQ(GetMenuStringA(bar, 100, text, sizeof text, MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "&Open");
  EXPECT_EQ(GetMenuStringA(bar, 100, nullptr, 0, MF_BYCOMMAND), 12);
  EXPECT_EQ(dump_menu(bar), "&File\n  &Open\\tCtrl+O  id=100\n  ----\n  E&xit  id=101 checked\n"
                            "&Help  id=900\n");
  // Replacing the popup with a command destroys its submenu.
  const std::size_t live = live_menu_count();
  EXPECT_TRUE(ModifyMenuA(bar, 0, MF_BYPOSITION, 5, "Plain"));
  EXPECT_FALSE(IsMenu(file));
  EXPECT_EQ(live_menu_count(), live - 1);
  EXPECT_TRUE(DestroyMenu(bar));
  EXPECT_EQ(::GetMenuItemCount(bar), -1);
  EXPECT_FALSE(AppendMenuA(bar, 0, 1, "x"));
}

TEST_F(Menus, VisibleTexts) {
  struct Case {
    const char* text;
    const char* visible;
  };
  const Case cases[] = {{"&File", "File"},           {"File...", "File"},
                        {"&Open\tCtrl+O", "Open"},   {"Open\\tCtrl+O", "Open"},
                        {"a\\&b", "ab"},             {"Save &As...", "Save As"},
                        {"\\\\x", "x"},              {"", ""},
                        {"back\\", "back"}};
  for (const Case& c : cases) EXPECT_EQ(corva::ui::visible_text(c.text), c.visible) << c.text;
  const MenuHandle m = build({"&New|1", "&Open\tCtrl+O|2", "-", "&Close|3"}, false);
  EXPECT_EQ(FindMenuItemWithText(m, "Open\\tCtrl+O"), 1);
  EXPECT_EQ(FindMenuItemWithText(m, "close"), -1);  // case counts
  EXPECT_EQ(FindMenuItemWithText(m, nullptr), -1);
  EXPECT_EQ(FindMenuItemWithID(m, 3), 3);
  EXPECT_EQ(FindMenuItemWithID(m, 0), 2);  // a separator reads as 0
  EXPECT_EQ(FindMenuItemWithID(m, 9), -1);
  EXPECT_EQ(FindMenuItemWithID(0xBAD, 1), -1);
  EXPECT_EQ(::GetMenuItemCount(0xBAD), -1);
  DestroyMenu(m);
}

TEST_F(Menus, MergeReusesPopupsAndRecordsOwners) {
  const MenuHandle app = build({"File...{", "&New|1", "}", "&Window|50"});
  const MenuHandle module = build({"&File{", "&Payroll|200", "-", "&New|1", "}", "&Reports{",
                                   "Checks|300", "}"});
  EXPECT_EQ(AddMenuToMenu(7, app, module), 1);
  EXPECT_EQ(dump_menu(app),
            "&File\n  &New  id=1\n  &Payroll  id=200\n  ----\n&Window  id=50\n"
            "&Reports\n  Checks  id=300\n");
  const MenuHandle file = GetSubMenu(app, 0);
  EXPECT_EQ(MenuIDToModule(file, 200), 7u);
  EXPECT_EQ(MenuIDToModule(file, 1), 7u);  // replaced in place, now the module's
  EXPECT_EQ(MenuIDToModule(app, 200), 0u);  // asked of the bar, not the popup
  // Merging again replaces the commands, owned by the later module, and adds
  // each separator again.
  EXPECT_EQ(AddMenuToMenu(8, app, module), 1);
  EXPECT_EQ(::GetMenuItemCount(file), 4);
  EXPECT_EQ(MenuIDToModule(file, 200), 8u);
  EXPECT_EQ(MenuIDToModule(GetSubMenu(app, 2), 300), 8u);
  EXPECT_EQ(corva::ui::owner_record_count(), 2);

  // Taking it out: first merge's separator stays, the created popup goes.
  EXPECT_EQ(DelMenuFromMenu(8, app, module), 1);
  EXPECT_EQ(dump_menu(app), "&File\n  ----\n&Window  id=50\n");  // the source's text
  EXPECT_EQ(MenuIDToModule(file, 200), 0u);
  // A second removal stops at the first command no longer there.
  EXPECT_EQ(DelMenuFromMenu(8, app, module), 0);
  DelMenuIDOwnerTable();
  EXPECT_EQ(corva::ui::owner_record_count(), 0);
  EXPECT_EQ(AddMenuToMenu(9, app, module), 1);
  EXPECT_EQ(MenuIDToModule(GetSubMenu(app, 0), 200), 9u);
  DestroyMenu(app);
  DestroyMenu(module);
}

TEST_F(Menus, RemovalStopsAtAMissingCommand) {
  const MenuHandle app = build({"&Edit|10", "&Post|11", "Keep|12"});
  const MenuHandle module = build({"&Post|11", "&Void|13", "Keep|12"});
  EXPECT_EQ(DelMenuFromMenu(1, app, module), 0);
  EXPECT_EQ(dump_menu(app), "&Edit  id=10\nKeep  id=12\n");  // Post went before the stop
  DestroyMenu(app);
  DestroyMenu(module);
}

TEST_F(Menus, OwnerEntriesGrowByTenAndSurviveNoMemory) {
  const MenuHandle app = CreateMenu();
  const MenuHandle module = CreatePopupMenu();
  for (std::uint16_t id = 1; id <= 11; ++id) AppendMenuA(module, 0, id, "x");
  AddMenuToMenu(3, app, module);
  EXPECT_EQ(corva::ui::owner_capacity(app), 20);
  EXPECT_EQ(MenuIDToModule(app, 11), 3u);
  // No memory for a new menu's record: the command is merged, without an owner.
  const MenuHandle other = CreateMenu();
  const MenuHandle one = CreatePopupMenu();
  AppendMenuA(one, 0, 77, "Seventy-seven");
  fail_next_global_allocations(1);
  EXPECT_EQ(AddMenuToMenu(4, other, one), 1);
  EXPECT_EQ(FindMenuItemWithID(other, 77), 0);
  EXPECT_EQ(MenuIDToModule(other, 77), 0u);
  EXPECT_EQ(MenuIDToModule(app, 5), 3u);  // what was recorded stays
  for (MenuHandle m : {app, module, other, one}) DestroyMenu(m);
}

}  // namespace
