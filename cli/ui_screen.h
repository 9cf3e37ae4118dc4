// Screens laid out by a dialog file, shared by the ui subcommands.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "corvaplat/windows.h"

namespace corva::cli {

// A dialog file read into a template, with the items of its list and combo
// boxes (control ID, text) in order.
struct ScreenLayout {
  platform::DialogTemplate dialog;
  std::vector<std::pair<int, std::string>> items;
};
// Reads a dialog file; false with a message on standard error when it cannot.
bool read_screen_layout(const std::string& path, ScreenLayout& out);
// Fills the list and combo boxes of a made screen with the layout's items.
void fill_screen_lists(platform::WindowHandle screen, const ScreenLayout& layout);

// corva ui show: opens the screen on the desktop until a person closes it,
// then prints what its fields hold. Returns the exit status.
int show_screen(const std::string& screen);

}  // namespace corva::cli
