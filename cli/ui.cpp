// corva ui: the window system at work. Builds the product's frame with an MDI
// client, opens a ledger screen and a modeless screen laid out by a dialog
// file, plays typed keys through the library's message loop, and prints the
// window tree.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/screens.h"
#include "cli/ui_screen.h"
#include "corvalib.h"
#include "corvaplat/menus.h"
#include "corvaplat/windows.h"

namespace corva::cli {
namespace {

namespace plat = corva::platform;

constexpr plat::ModuleHandle kModule = 0xC11;
constexpr std::uint16_t kLayoutId = 1;
constexpr std::uint16_t kCustomerCommand = 40010, kLedgerCommand = 40011;

struct Flag {
  const char* name;
  std::uint32_t bits;
};
constexpr Flag kFlags[] = {
    {"tabstop", plat::WS_TABSTOP},
    {"group", plat::WS_GROUP},
    {"border", plat::WS_BORDER},
    {"disabled", plat::WS_DISABLED},
    {"defpushbutton", plat::BS_DEFPUSHBUTTON},
    {"checkbox", plat::BS_AUTOCHECKBOX},
    {"autocheckbox", plat::BS_AUTOCHECKBOX},
    {"autoradiobutton", plat::BS_AUTORADIOBUTTON},
    {"groupbox", plat::BS_GROUPBOX},
    {"dropdownlist", plat::CBS_DROPDOWNLIST},
    {"dropdown", plat::CBS_DROPDOWN},
    {"sort", plat::LBS_SORT},
    {"number", plat::ES_NUMBER},
    {"uppercase", plat::ES_UPPERCASE},
    {"noprefix", plat::SS_NOPREFIX},
};

// Words of a line; a quoted word may hold blanks.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string w;
    if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      w = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? line.size() : end + 1;
      w.insert(0, 1, '\x01');  // marks a quoted text
    } else {
      const std::size_t end = line.find_first_of(" \t", i);
      w = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
      i = end == std::string::npos ? line.size() : end;
    }
    out.push_back(w);
  }
  return out;
}

bool number(const std::string& s, int& v) {
  const char* end = s.data() + s.size();
  const auto r = std::from_chars(s.data(), end, v);
  return r.ec == std::errc() && r.ptr == end && v >= 0 && v <= 32767;
}

struct Layout {
  plat::DialogTemplate dialog;
  std::vector<std::pair<int, std::string>> items;
};

// Reads a dialog file; false with a message on the first line it cannot use.
bool read_layout(const std::string& path, Layout& out) {
  std::ifstream in(path);
  if (!in) return fail("cannot read " + path) == 0;
  std::string line;
  int n = 0;
  bool have_dialog = false;
  while (std::getline(in, line)) {
    ++n;
    auto w = words(line);
    if (w.empty() || w[0][0] == '#') continue;
    auto bad = [&](const char* why) {
      return fail(path + ":" + std::to_string(n) + ": " + why) == 0;
    };
    auto text = [](const std::string& s) { return s.substr(1); };
    if (w[0] == "dialog") {
      if (w.size() != 4 || w[1][0] != '\x01' || !number(w[2], out.dialog.cx) ||
          !number(w[3], out.dialog.cy))
        return bad("expected: dialog \"CAPTION\" WIDTH HEIGHT");
      out.dialog.caption = text(w[1]);
      have_dialog = true;
    } else if (w[0] == "control") {
      plat::DialogItem item;
      if (w.size() < 7 || !number(w[2], item.id) || !number(w[3], item.x) ||
          !number(w[4], item.y) || !number(w[5], item.cx) || !number(w[6], item.cy))
        return bad("expected: control CLASS ID X Y WIDTH HEIGHT [flags] [\"TEXT\"]");
      item.class_name = w[1];
      item.style = plat::WS_VISIBLE;
      for (std::size_t k = 7; k < w.size(); ++k) {
        if (w[k][0] == '\x01') {
          item.text = text(w[k]);
          continue;
        }
        bool known = false;
        for (const Flag& f : kFlags) {
          if (w[k] == f.name) {
            item.style |= f.bits;
            known = true;
          }
        }
        if (w[k] == "hidden") {
          item.style &= ~plat::WS_VISIBLE;
          known = true;
        }
        if (!known) return bad("unknown flag");
      }
      out.dialog.items.push_back(item);
    } else if (w[0] == "item") {
      int id = 0;
      if (w.size() != 3 || !number(w[1], id) || w[2][0] != '\x01')
        return bad("expected: item ID \"TEXT\"");
      out.items.emplace_back(id, text(w[2]));
    } else {
      return bad("unknown line");
    }
  }
  if (!have_dialog) return fail(path + ": no dialog line") == 0;
  return true;
}

plat::LRESULT frame_proc(plat::WindowHandle h, std::uint32_t m, plat::WPARAM w, plat::LPARAM l) {
  return plat::DefWindowProcA(h, m, w, l);
}

std::intptr_t screen_proc(plat::WindowHandle d, std::uint32_t m, plat::WPARAM w, plat::LPARAM) {
  if (m == plat::WM_INITDIALOG) return 1;
  if (m == plat::WM_COMMAND && ((w & 0xFFFF) == 1 || (w & 0xFFFF) == 2)) {
    std::cout << "screen closed with " << ((w & 0xFFFF) == 1 ? "OK" : "Cancel") << "\n";
    RemoveWindowFromTable(d, 1);
    plat::DestroyWindow(d);
    return 1;
  }
  return 0;
}

std::string unescape(const std::string& keys) {
  std::string out;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != '\\' || i + 1 == keys.size()) {
      out += keys[i];
      continue;
    }
    const char c = keys[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'e' ? '\x1b' : c;
  }
  return out;
}

int dump(const std::string& layout_path, const std::string& keys) {
  Layout layout;
  if (!read_layout(layout_path, layout)) return 1;
  plat::reset_window_system();
  plat::WindowClass frame_class;
  frame_class.name = "CvxFrame";
  frame_class.procedure = frame_proc;
  plat::RegisterClassA(frame_class);
  const plat::WindowHandle frame = plat::CreateWindowExA(
      0, "CvxFrame", "Corvantis", plat::WS_OVERLAPPEDWINDOW | plat::WS_VISIBLE, 0, 0, 640, 480, 0,
      0, kModule, nullptr);
  const plat::WindowHandle client =
      plat::CreateWindowExA(0, "MDICLIENT", "", plat::WS_CHILD | plat::WS_VISIBLE, 0, 0, 632, 436,
                            frame, 0xCAC, kModule, nullptr);
  MyCorvaLibDataPtr->MainWindow = frame;
  MyCorvaLibDataPtr->MDIClientWindow = client;
  const plat::WindowHandle ledger =
      plat::CreateWindowExA(plat::WS_EX_MDICHILD, "CvxFrame", "Ledger",
                            plat::WS_CHILD | plat::WS_VISIBLE | plat::WS_CAPTION, 8, 8, 300, 200,
                            client, 0, kModule, nullptr);
  AddWindowToTable(ledger, kLedgerCommand, 0);
  plat::register_dialog_template(kModule, kLayoutId, layout.dialog);
  const plat::WindowHandle screen =
      plat::CreateDialogParamA(kModule, kLayoutId, frame, screen_proc, 0);
  if (screen == 0) return fail("the screen could not be made (unknown control class?)");
  fill_screen_lists(screen, ScreenLayout{layout.dialog, layout.items});
  AddWindowToTable(screen, kCustomerCommand, 1);
  plat::type_text(unescape(keys));
  plat::MSG msg{};
  while (plat::PeekMessageA(&msg, 0, 0, 0, plat::PM_REMOVE)) {
    CvMSG m{msg.hwnd, msg.message, msg.wParam, msg.lParam, msg.time, {msg.pt.x, msg.pt.y}};
    Dispatch(&m);
  }
  std::cout << plat::dump_window_tree(0) << std::flush;
  // The screen's module brings its own menu into the frame's.
  const plat::MenuHandle bar = plat::CreateMenu(), file = plat::CreatePopupMenu();
  plat::AppendMenuA(file, 0, 57600, "&New");
  plat::AppendMenuA(file, 0, 57665, "E&xit");
  plat::AppendMenuA(bar, plat::MF_POPUP, file, "&File");
  const plat::MenuHandle module = plat::CreateMenu(), mfile = plat::CreatePopupMenu(),
                         reports = plat::CreatePopupMenu();
  plat::AppendMenuA(mfile, 0, kCustomerCommand, "&Customers...\tCtrl+U");
  plat::AppendMenuA(reports, 0, 40020, "&Aging");
  plat::AppendMenuA(module, plat::MF_POPUP, mfile, "File");
  plat::AppendMenuA(module, plat::MF_POPUP, reports, "&Reports");
  AddMenuToMenu(kModule, bar, module);
  plat::SetMenu(frame, bar);
  std::cout << "menu of the frame:\n" << plat::dump_menu(plat::GetMenu(frame));
  std::printf("command %u belongs to module 0x%x\n", kCustomerCommand,
              MenuIDToModule(plat::GetSubMenu(bar, 0), kCustomerCommand));
  DelMenuIDOwnerTable();
  plat::DestroyMenu(module);
  plat::DestroyMenu(bar);
  std::printf("window table: command %u -> dialog 0x%08x, command %u -> window 0x%08x\n",
              kCustomerCommand, GetWindowFromMenu(kCustomerCommand, 1), kLedgerCommand,
              GetWindowFromMenu(kLedgerCommand, 0));
  plat::reset_window_system();
  RemoveWindowFromTable(ledger, 0);
  MyCorvaLibDataPtr->MainWindow = MyCorvaLibDataPtr->MDIClientWindow = 0;
  return 0;
}

// Draws a sample screen or one laid out by a dialog file (NAME.dlg) into
// image files, with no display.
int render(const std::string& screen, const std::string& png, const std::string& svg, int scheme) {
  plat::WindowHandle window = 0;
  if (screen.size() > 4 && screen.compare(screen.size() - 4, 4, ".dlg") == 0) {
    Layout layout;
    if (!read_layout(screen, layout)) return 1;
    window = open_dialog_screen(layout.dialog, layout.items, scheme);
  } else {
    window = open_sample_screen(screen, scheme);
    if (window == 0) {
      close_sample_screen();
      std::string names;
      for (const std::string& n : sample_screens()) names += (names.empty() ? "" : ", ") + n;
      usage_error("SCREEN: no sample screen '" + screen + "'; the samples are " + names +
                  ", or give a NAME.dlg file");
    }
  }
  const int status = window != 0 ? render_screen(window, png, svg)
                                 : fail("the screen could not be made (unknown control class?)");
  close_sample_screen();
  return status;
}

void define(CLI::App& app) {
  static std::string layout, keys, samples;
  auto* dump_word =
      app.add_subcommand("dump", "open a sample screen, type into it, print the window tree");
  dump_word->add_option("--layout", layout, "the dialog file (default: the samples' customer.dlg)")
      ->type_name("FILE");
  dump_word->add_option("--type", keys, "keys to type: \\t Tab, \\n Enter, \\e Escape")
      ->type_name("KEYS");
  dump_word->add_option("--samples", samples, "the sample data directory")->type_name("DIR");
  dump_word->footer(
      "Opens the frame, its MDI client, a ledger screen and the screen laid out in FILE,\n"
      "types KEYS into the screen through the message loop and prints the window tree:\n"
      "handle, class, control ID, text, style, rectangle in the parent, state.");
  on_run(dump_word, [] {
    if (!layout.empty()) return dump(layout, keys);
    const std::string dir = samples_directory(samples);
    return dir.empty() ? 1 : dump(dir + "/customer.dlg", keys);
  });

  static std::string screen, png, svg;
  static int scheme = 0;
  auto* render_word =
      app.add_subcommand("render", "draw a screen into a PNG or SVG file, with no display");
  render_word
      ->add_option("SCREEN", screen,
                   "a sample screen (entry, lists, frame, message) or a NAME.dlg file")
      ->required();
  auto* png_option =
      render_word->add_option("--png", png, "the PNG file to write")->type_name("FILE");
  auto* svg_option =
      render_word->add_option("--svg", svg, "the SVG file to write")->type_name("FILE");
  render_word->add_option("--scheme", scheme, "the library's colour scheme (0-4, default 0)")
      ->type_name("N")
      ->check(within(0, 4));
  on_run(render_word, [png_option, svg_option] {
    if (png_option->count() == 0 && svg_option->count() == 0)
      usage_error("needs --png FILE or --svg FILE");
    return render(screen, png, svg, scheme);
  });

  static std::string shown;
  auto* show_word = app.add_subcommand(
      "show", "open a screen on the desktop for a person to type into");
  show_word->add_option("SCREEN", shown, "a NAME.dlg file, or the name of one under samples/")
      ->required();
  show_word->footer("When the screen is closed, prints what its fields hold.");
  on_run(show_word, [] { return show_screen(shown); });
}

int demo(const std::string& samples) {
  return dump(samples + "/customer.dlg", "Acme Hardware\\tc\\t \\t\\tS");
}

}  // namespace

bool read_screen_layout(const std::string& path, ScreenLayout& out) {
  Layout layout;
  if (!read_layout(path, layout)) return false;
  out.dialog = std::move(layout.dialog);
  out.items = std::move(layout.items);
  return true;
}

void fill_screen_lists(plat::WindowHandle screen, const ScreenLayout& layout) {
  for (const auto& [id, text] : layout.items) {
    const plat::WindowHandle c = plat::GetDlgItem(screen, id);
    const bool combo = plat::class_name(c) == "COMBOBOX";
    plat::SendMessageA(c, combo ? plat::CB_ADDSTRING : plat::LB_ADDSTRING, 0,
                       reinterpret_cast<plat::LPARAM>(text.c_str()));
  }
}

namespace {

const Registration reg{
    {"ui", "the window system: a sample screen and its window tree", define, demo}};

}  // namespace
}  // namespace corva::cli
