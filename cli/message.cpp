// corva message / corva log: a numbered message shown as a box on the
// terminal, and the error log of a data directory.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "cli/scratch.h"
#include "corvalib.h"
#include "corvaplat/console.h"
#include "corvaplat/headfile.h"
#include "corvaplat/modules.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/paths.h"

namespace corva::cli {
namespace {

namespace plat = corva::platform;

bool g_ask = true;  // the demonstration never waits for a key

const char* button_name(int id) {
  switch (id) {
    case plat::IDOK: return "OK";
    case plat::IDCANCEL: return "Cancel";
    case plat::IDABORT: return "Abort";
    case plat::IDRETRY: return "Retry";
    case plat::IDIGNORE: return "Ignore";
    case plat::IDYES: return "Yes";
    case plat::IDNO: return "No";
    default: return "none";
  }
}

const char* icon(std::uint32_t style) {
  switch (style & plat::MB_ICONMASK) {
    case plat::MB_ICONHAND: return "(X) ";
    case plat::MB_ICONQUESTION: return "(?) ";
    case plat::MB_ICONEXCLAMATION: return "(!) ";
    case plat::MB_ICONASTERISK: return "(i) ";
    default: return "";
  }
}

// The box as text; a person at the terminal answers with a button's first
// letter (Enter takes the default), anyone else gets the default.
int terminal_box(void*, const plat::MessageBoxRequest& box) {
  int buttons[3];
  const int n = plat::box_buttons(box.style, buttons);
  const int fallback = plat::default_button(box.style);
  std::cerr << "+-- " << box.caption << "\n| " << icon(box.style) << box.text << "\n|";
  for (int i = 0; i < n; ++i) {
    std::cerr << "  [" << button_name(buttons[i])[0] << "]" << (button_name(buttons[i]) + 1);
  }
  if (box.style & 0x4000) std::cerr << "  [H]elp";
  std::cerr << "   (default " << button_name(fallback) << ")\n";
  if (!g_ask || !plat::input_is_interactive()) return fallback;
  for (;;) {
    std::cerr << "> " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer.empty()) return fallback;
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(answer[0])));
    for (int i = 0; i < n; ++i) {
      if (button_name(buttons[i])[0] == key) return buttons[i];
    }
    std::cerr << "| press one of the letters shown, or Enter\n";
  }
}

void set_data_path(const std::string& dir) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  char* field = MyCorvaLibDataPtr->DataPath;
  Assign(static_cast<uint16_t>(path.size()), path.c_str(), 63, field);
}

struct MessageOptions {
  unsigned long number = 0, card = 0;
  std::string text, data;
  CLI::Option* card_given = nullptr;
  CLI::Option* text_given = nullptr;
};
MessageOptions g_msg;

// The data directory given, else that of CVX70.INI, as the host would read it.
void use_data_path(const std::string& dir) {
  if (dir.size() > 62)
    usage_error(
        "--data: a data directory has 63 characters at most; map a longer one to a "
        "drive with CORVALIB_DRIVE_<LETTER>");
  if (!dir.empty()) {
    set_data_path(dir);
  } else {
    ReReadCorvaIni();
  }
}

int show_message() {
  const MessageOptions& o = g_msg;
  char probe[2];
  if (plat::LoadStringA(CorvaLibHandle(), static_cast<std::uint32_t>(o.number), probe,
                        sizeof probe) == 0)
    return fail("the library has no message " + std::to_string(o.number));
  use_data_path(o.data);
  plat::set_message_box_presenter(terminal_box, nullptr);
  const auto number = static_cast<uint16_t>(o.number);
  uint16_t button;
  if (o.card_given->count() > 0) {
    button = MessageWithCard(0, number, static_cast<uint16_t>(o.card));
  } else if (o.text_given->count() > 0) {
    const auto high = static_cast<uint16_t>(std::min<std::size_t>(o.text.size(), 65535));
    button = MessageWithString(0, number, high, o.text.c_str());
  } else {
    button = Message(0, number);
  }
  std::cout << "answer: " << button_name(button) << " (" << button << ")\n";
  return 0;
}

void define_message(CLI::App& app) {
  MessageOptions& o = g_msg;
  app.add_option("NUMBER", o.number, "the message number (0-65535)")
      ->required()
      ->check(within(0, 65535));
  o.card_given = app.add_option("--card", o.card, "fills the first '###' with N")
                     ->type_name("N")
                     ->check(within(0, 65535));
  o.text_given =
      app.add_option("--string", o.text, "fills the first '$$$' with TEXT")->type_name("TEXT");
  o.card_given->excludes(o.text_given);
  app.add_option("--data", o.data, "log to ERRORLOG.TXT in DIR (default: DATAPATH of CVX70.INI)")
      ->type_name("DIR");
  app.footer(
      "Shows a library message as a box on standard error and logs it. At a terminal the\n"
      "answer is the key of a button (Enter: the default); otherwise the default button\n"
      "answers. Prints the button pressed.");
  on_run(&app, show_message);
}

// Prints the log lines: number, text, with anything unprintable as '.'.
int print_log(const std::string& dir, bool all) {
  std::string name = dir;
  if (!name.empty() && name.back() != '/' && name.back() != '\\') name += '/';
  name += "ERRORLOG.TXT";
  std::string path;
  const bool resolved = plat::resolve_dos_path(name, path) == 0;
  char image[3950];
  std::size_t present = 0;
  if (!resolved || plat::read_file_head(path.c_str(), image, sizeof image, &present) != 0)
    return fail("no error log at " + name);
  std::cout << name << ": " << present << " of 3950 bytes, newest first\n";
  for (std::size_t i = 0; i < 50 && i * 79 < present; ++i) {
    std::string line(image + i * 79, 77);
    for (char& c : line) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '.';
    }
    const auto end = line.find_last_not_of(' ');
    if (end == std::string::npos && !all) continue;
    line.erase(end == std::string::npos ? 0 : end + 1);
    std::printf("%2zu %s\n", i + 1, line.c_str());
  }
  return 0;
}

void define_log(CLI::App& app) {
  static std::string data;
  static bool everything = false;
  app.add_option("--data", data, "the data directory (default: DATAPATH of CVX70.INI)")
      ->type_name("DIR");
  app.add_flag("--all", everything, "show the blank lines too");
  app.footer("Prints the error log ERRORLOG.TXT, newest first.");
  on_run(&app, [] {
    std::string dir = data;
    if (dir.empty()) {
      ReReadCorvaIni();
      dir = std::string(MyCorvaLibDataPtr->DataPath, Length(63, MyCorvaLibDataPtr->DataPath));
    }
    if (dir.empty()) usage_error("needs --data DIR (CVX70.INI sets no data directory)");
    return print_log(dir, everything);
  });
}

// Three messages into a scratch data directory, then its log.
int demo(const std::string&) {
  const ScratchDir dir("message-demo");
  if (dir.path().empty()) return 1;
  // The data path holds 63 characters; a drive letter keeps a long TMPDIR out of it.
  setenv("CORVALIB_DRIVE_L", dir.path().c_str(), 1);
  set_data_path("L:\\");
  auto previous = plat::set_message_box_presenter(terminal_box, nullptr);
  g_ask = false;
  const char verb[] = "close the year";
  MessageWithString(0, 20302, sizeof verb - 1, verb);
  MessageWithCard(0, 20500, 1);
  Message(0, 20311);
  plat::set_message_box_presenter(previous, nullptr);
  const int rc = print_log("L:\\", false);
  set_data_path("");
  return rc;
}

const Registration message_command{
    {"message", "show a numbered message and log it", define_message, demo}};
const Registration log_command{{"log", "print the error log of a data directory", define_log, {}}};

}  // namespace
}  // namespace corva::cli
