// The clipboard's text. The edit controls cut, copy and paste through it
// (WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, and Ctrl+X, Ctrl+C, Ctrl+V typed into
// them); with a display attached it is the desktop's clipboard.
#pragma once
#include <corvaplat/api.h>

#include <string>
#include <string_view>

namespace corva::platform {

CORVAPLAT_API void set_clipboard_text(std::string_view text);
// The desktop's clipboard text when a display is attached and answers, else
// the text set last in this process.
CORVAPLAT_API std::string clipboard_text();

}  // namespace corva::platform
