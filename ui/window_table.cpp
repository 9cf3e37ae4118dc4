#include "ui/window_table.h"

#include <algorithm>

#include "corvalib/frame.h"
#include "corvaplat/clock.h"

namespace corva::ui {
namespace {
WindowTable g_table;
}  // namespace

WindowTable& table() { return g_table; }
TableList& list(bool is_dialog) { return is_dialog ? g_table.dialogs : g_table.windows; }

bool add(CvHWND window, std::uint16_t menu, bool is_dialog) {
  if (g_table.frozen != 0) return false;
  TableList& l = list(is_dialog);
  if (menu != 0 && window_for(menu, is_dialog) != 0) return false;
  if (l.count >= kTableEntries) return false;
  l.entries[l.count] = TableEntry{window, menu};
  ++l.count;
  return true;
}

bool remove(CvHWND window, bool is_dialog) {
  TableList& l = list(is_dialog);
  for (std::uint16_t i = 0; i < l.count; ++i) {
    if (l.entries[i].window != window) continue;
    --l.count;
    std::copy(l.entries.begin() + i + 1, l.entries.begin() + l.count + 1, l.entries.begin() + i);
    l.entries[l.count] = TableEntry{};
    return true;
  }
  return false;
}

CvHWND window_for(std::uint16_t menu, bool is_dialog) {
  const TableList& l = list(is_dialog);
  for (std::uint16_t i = 0; i < l.count; ++i) {
    if (l.entries[i].menu == menu) return l.entries[i].window;
  }
  return 0;
}

std::uint16_t menu_for(CvHWND window, bool is_dialog) {
  const TableList& l = list(is_dialog);
  for (std::uint16_t i = 0; i < l.count; ++i) {
    if (l.entries[i].window == window) return l.entries[i].menu;
  }
  return 0;
}

void send_to_screens(bool exclude, CvHWND excluded, std::uint32_t message, std::uintptr_t wparam,
                     std::intptr_t lparam) {
  // Copied first: a screen may leave or join the table while it handles the message.
  std::array<CvHWND, 32> handles{};
  std::size_t n = 0;
  for (const TableList* l : {&g_table.dialogs, &g_table.windows}) {
    for (std::uint16_t i = 0; i < l->count; ++i) {
      if (exclude && l->entries[i].window == excluded) continue;
      handles[n++] = l->entries[i].window;
    }
  }
  for (std::size_t i = 0; i < n; ++i) platform::SendMessageA(handles[i], message, wparam, lparam);
}

void post_palette_to_main(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  if (message != platform::WM_PALETTECHANGED || MyCorvaLibDataPtr == nullptr) return;
  platform::PostMessageA(MyCorvaLibDataPtr->MainWindow, message, wparam, lparam);
}

void dispatch(platform::MSG& msg) {
  bool handled = false;
  if (const CorvaLibDataType* r = MyCorvaLibDataPtr) {
    if (g_table.accelerators != 0 && r->MainWindow != 0)
      handled = platform::TranslateAcceleratorA(r->MainWindow, g_table.accelerators, &msg);
    if (!handled && r->MDIClientWindow != 0)
      handled = platform::TranslateMDISysAccel(r->MDIClientWindow, &msg);
    for (std::uint16_t i = 0; !handled && i < g_table.dialogs.count; ++i) {
      const CvHWND dialog = g_table.dialogs.entries[i].window;
      if (dialog != 0) handled = platform::IsDialogMessageA(dialog, &msg);
    }
  }
  if (!handled) {
    platform::TranslateMessage(&msg);
    platform::DispatchMessageA(&msg);
  }
}

std::uint32_t deadline(std::uint16_t milliseconds) {
  const std::uint32_t start = platform::GetTickCount();
  return UINT32_MAX - start > milliseconds ? start + milliseconds : 0;
}

}  // namespace corva::ui
