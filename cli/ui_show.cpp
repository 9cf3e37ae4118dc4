// corva ui show: a screen on the desktop that a person types into. The fields
// are read back through the library's field functions when it closes.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/ui_screen.h"
#include "corvalib.h"
#include "corvaplat/display.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/windows.h"

namespace corva::cli {
namespace {

namespace plat = corva::platform;

constexpr plat::ModuleHandle kModule = 0xC13;
constexpr std::uint16_t kScreenId = 1;
constexpr std::uint16_t kScreenCommand = 40030;
// The product's date field: an edit that answers its date and takes one.
constexpr const char* kDateClass = "CvxDate";
constexpr std::uint32_t kGetDate = plat::WM_USER + 105, kSetDate = plat::WM_USER + 106;

plat::WindowProc g_edit_procedure = nullptr;

plat::LRESULT date_field_proc(plat::WindowHandle h, std::uint32_t m, plat::WPARAM w, plat::LPARAM l) {
  if (m == kGetDate) {
    const std::string text = plat::window_text(h);
    std::uint32_t date = 0;
    ShortStrToDate(static_cast<std::uint16_t>(text.size()), text.c_str(), &date, 0);
    return static_cast<plat::LRESULT>(date);
  }
  if (m == kSetDate) {
    char text[16];
    DateToShortStr(static_cast<std::uint32_t>(l), 15, text);
    plat::SetWindowTextA(h, text);
    return 1;
  }
  return plat::CallWindowProcA(g_edit_procedure, h, m, w, l);
}

struct Screen {
  std::vector<int> date_fields;
  std::vector<int> edit_fields;
  bool closed = false;
};
Screen g_screen;

std::string date_text(std::uint32_t date) {
  char text[16];
  DateToShortStr(date, 15, text);
  return text;
}

// What the fields hold, each through the field function that suits it.
void print_fields(plat::WindowHandle screen) {
  for (int id : g_screen.edit_fields) {
    std::printf("field %d: \"%s\" amount %.2f\n", id,
                plat::window_text(plat::GetDlgItem(screen, id)).c_str(),
                GetDlgItemDollars(screen, static_cast<std::uint16_t>(id)));
  }
  for (int id : g_screen.date_fields) {
    std::uint32_t date = 0;
    const bool legal = GetDlgItemDate(screen, &date, static_cast<std::int16_t>(id)) != 0;
    std::printf("field %d: date %s%s\n", id, legal ? date_text(date).c_str() : "-",
                legal ? "" : " (not a legal date)");
  }
  std::fflush(stdout);
}

// OK takes only legal dates: a box says which field is wrong, and the focus
// goes back to it.
bool dates_legal(plat::WindowHandle screen) {
  for (int id : g_screen.date_fields) {
    const plat::WindowHandle field = plat::GetDlgItem(screen, id);
    if (plat::window_text(field).empty() || GetDlgItemDate(screen, nullptr, static_cast<std::int16_t>(id)) != 0)
      continue;
    plat::MessageBoxA(screen, "That is not a date this screen can take.", "Check the date",
                      plat::MB_OK | plat::MB_ICONEXCLAMATION);
    plat::SetFocus(field);
    return false;
  }
  return true;
}

std::intptr_t screen_proc(plat::WindowHandle d, std::uint32_t m, plat::WPARAM w, plat::LPARAM) {
  if (m == plat::WM_INITDIALOG) {
    for (int id : g_screen.date_fields) {
      const plat::WindowHandle field = plat::GetDlgItem(d, id);
      g_edit_procedure = reinterpret_cast<plat::WindowProc>(plat::GetWindowLongPtrA(field, plat::GWLP_WNDPROC));
      plat::SetWindowLongPtrA(field, plat::GWLP_WNDPROC, reinterpret_cast<plat::LRESULT>(&date_field_proc));
    }
    return 1;
  }
  const int command = static_cast<int>(w & 0xFFFF);
  if (m == plat::WM_COMMAND && command == plat::IDC_OK && !dates_legal(d)) return 1;
  if (m == plat::WM_COMMAND && (command == plat::IDC_OK || command == plat::IDC_CANCEL)) {
    std::printf("closed with %s\n", command == plat::IDC_OK ? "OK" : "Cancel");
    print_fields(d);
    RemoveWindowFromTable(d, 1);
    plat::DestroyWindow(d);
    plat::PostQuitMessage(0);
    return 1;
  }
  return 0;
}

std::string screen_path(const std::string& screen) {
  if (std::ifstream(screen).good()) return screen;
  return "samples/" + screen + ".dlg";
}

}  // namespace

int show_screen(const std::string& screen) {
  ScreenLayout layout;
  if (!read_screen_layout(screen_path(screen), layout)) return 1;
  g_screen = Screen{};
  for (plat::DialogItem& item : layout.dialog.items) {
    if (item.class_name == kDateClass) {
      item.class_name = "EDIT";
      g_screen.date_fields.push_back(item.id);
    } else if (item.class_name == "EDIT" || item.class_name == "edit") {
      g_screen.edit_fields.push_back(item.id);
    }
  }
  if (plat::current_display() == nullptr) {
    std::string error;
    if (!plat::select_display("gtk", &error)) {
      std::cerr << "corva: cannot show a screen: " << error << "\n";
      return 1;
    }
  }
  layout.dialog.x = layout.dialog.y = 20;
  plat::register_dialog_template(kModule, kScreenId, layout.dialog);
  const plat::WindowHandle d = plat::CreateDialogParamA(kModule, kScreenId, 0, screen_proc, 0);
  if (d == 0) {
    std::cerr << "corva: the screen could not be made (unknown control class?)\n";
    return 1;
  }
  fill_screen_lists(d, layout);
  AddWindowToTable(d, kScreenCommand, 1);
  // The screen's boxes are real dialogs on the desktop, not lines of text.
  const plat::MessageBoxPresenter printer = plat::set_message_box_presenter(nullptr, nullptr);
  while (MyGetMessage() != 0) {
  }
  plat::set_message_box_presenter(printer, nullptr);
  plat::unregister_dialog_template(kModule, kScreenId);
  return 0;
}

}  // namespace corva::cli
