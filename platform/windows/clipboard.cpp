// The clipboard's text, and what an edit control does with it.
#include <corvaplat/clipboard.h>
#include <corvaplat/display.h>

#include <algorithm>

#include "windows/internal.h"

namespace corva::platform {
namespace {

std::mutex& clipboard_mutex() {
  static auto* m = new std::mutex;
  return *m;
}
std::string& local_clipboard() {
  static auto* text = new std::string;
  return *text;
}

}  // namespace

void set_clipboard_text(std::string_view text) {
  {
    std::lock_guard g(clipboard_mutex());
    local_clipboard().assign(text);
  }
  if (DisplayBackend* d = win::thread_display()) d->set_clipboard(std::string(text));
}

std::string clipboard_text() {
  if (DisplayBackend* d = win::thread_display()) {
    std::string text;
    if (d->clipboard(&text)) return text;
  }
  std::lock_guard g(clipboard_mutex());
  return local_clipboard();
}

namespace win {

LRESULT edit_clipboard(WindowHandle hwnd, std::uint32_t message) {
  std::uint32_t start = 0, end = 0;
  SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool read_only = (GetWindowLongA(hwnd, GWL_STYLE) & ES_READONLY) != 0;
  if ((message == WM_COPY || message == WM_CUT) && start < end)
    set_clipboard_text(window_text(hwnd).substr(start, end - start));
  if (read_only || message == WM_COPY) return 0;
  std::string text;
  if (message == WM_PASTE) {
    text = clipboard_text();
    // A single-line field takes the first line only.
    if (!(GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE)) text = text.substr(0, text.find_first_of("\r\n"));
    if (text.empty()) return 0;
  } else if (start == end) {
    return 0;
  }
  SendMessageA(hwnd, EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(text.c_str()));
  InvalidateRect(hwnd, nullptr, true);
  return 0;
}

}  // namespace win
}  // namespace corva::platform
