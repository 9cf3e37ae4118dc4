// The sample screens corva ui render draws: together they show every kind of
// standard control, the frame with its menu and MDI screens, a message box,
// and the library's colour schemes, fonts, bevels and tab-clipped text.
#pragma once
#include <string>
#include <vector>

#include "corvaplat/windows.h"

namespace corva::cli {

// The names of the sample screens, in the order the help lists them.
const std::vector<std::string>& sample_screens();

// Builds a sample screen in a fresh window system, coloured with the
// library's colour scheme `scheme`, and returns the window to render; 0 for
// an unknown name. close_sample_screen puts everything away again.
platform::WindowHandle open_sample_screen(const std::string& name, int scheme);
// A screen from a dialog template (with its list and combo box items, by
// control ID), shown and coloured as the samples are.
platform::WindowHandle open_dialog_screen(const platform::DialogTemplate& dialog,
                                          const std::vector<std::pair<int, std::string>>& items,
                                          int scheme);
void close_sample_screen();

// Renders the window into a PNG and / or an SVG file (an empty path: none);
// the exit status, with the reason on standard error when a file cannot be
// written.
int render_screen(platform::WindowHandle window, const std::string& png, const std::string& svg);

}  // namespace corva::cli
