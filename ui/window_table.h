// The application's table of open data-entry screens, its accelerator pair,
// and the message loop built on them.
#pragma once
#include <array>
#include <cstdint>

#include "corvalib/base.h"
#include "corvaplat/windows.h"

namespace corva::ui {

constexpr std::size_t kTableEntries = 15;

struct TableEntry {
  CvHWND window = 0;
  std::uint16_t menu = 0;
};

struct TableList {
  std::array<TableEntry, kTableEntries> entries{};
  std::uint16_t count = 0;
};

struct WindowTable {
  std::uint32_t frozen = 0;
  TableList dialogs;
  TableList windows;
  std::uint32_t accelerators = 0;
  std::uint32_t saved_accelerators = 0;
};

// The one table of the process, zero at load.
WindowTable& table();
TableList& list(bool is_dialog);

bool add(CvHWND window, std::uint16_t menu, bool is_dialog);
bool remove(CvHWND window, bool is_dialog);
CvHWND window_for(std::uint16_t menu, bool is_dialog);
std::uint16_t menu_for(CvHWND window, bool is_dialog);

// Sends to both lists' windows (dialogs first), skipping `excluded` when
// `exclude` is set.
void send_to_screens(bool exclude, CvHWND excluded, std::uint32_t message, std::uintptr_t wparam,
                     std::intptr_t lparam);
// The palette step of the broadcasts: WM_PALETTECHANGED also goes to the main window.
void post_palette_to_main(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

// The dispatch steps for one fetched message.
void dispatch(platform::MSG& msg);
// The deadline of a wait that starts now; 0 when it would cross the wrap.
std::uint32_t deadline(std::uint16_t milliseconds);

}  // namespace corva::ui
