// corva message / corva log: a numbered message shown as a box on the
// terminal, and the error log of a data directory.
#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/console.h"
#include "corvaplat/headfile.h"
#include "corvaplat/paths.h"
#include "corvaplat/msgbox.h"

namespace corva::cli {
namespace {

namespace plat = corva::platform;

bool g_ask = true;  // the demonstration never waits for a key

constexpr const char* kMessageUsage =
    "usage: corva message NUMBER [--card N | --string TEXT] [--data DIR]\n"
    "Shows library message NUMBER (0-65535) as a box on the terminal, the first\n"
    "\"###\" filled with N or the first \"$$$\" with TEXT, and logs it to\n"
    "ERRORLOG.TXT in DIR (default: the DATAPATH of CVX70.INI). At a terminal the answer is the\n"
    "key of a button (Enter: the default); otherwise the default button answers.\n"
    "Prints the button pressed.\n";

constexpr const char* kLogUsage =
    "usage: corva log [--data DIR] [--all]\n"
    "Prints the error log ERRORLOG.TXT of DIR or else of the DATAPATH of\n"
    "CVX70.INI, newest first\n"
    "(--all: the blank lines too).\n";

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
  std::cout << "+-- " << box.caption << "\n| " << icon(box.style) << box.text << "\n|";
  for (int i = 0; i < n; ++i) {
    std::cout << "  [" << button_name(buttons[i])[0] << "]" << (button_name(buttons[i]) + 1);
  }
  if (box.style & 0x4000) std::cout << "  [H]elp";
  std::cout << "   (default " << button_name(fallback) << ")\n";
  if (!g_ask || !plat::input_is_interactive()) return fallback;
  for (;;) {
    std::cout << "> " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer.empty()) return fallback;
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(answer[0])));
    for (int i = 0; i < n; ++i) {
      if (button_name(buttons[i])[0] == key) return buttons[i];
    }
    std::cout << "| press one of the letters shown, or Enter\n";
  }
}

void set_data_path(const std::string& dir) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  char* field = MyCorvaLibDataPtr->DataPath;
  Assign(static_cast<uint16_t>(path.size()), path.c_str(), 63, field);
}

int run_message(const Args& all) {
  Args args = all;
  std::string card, text, data;
  const bool has_string = std::find(args.begin(), args.end(), "--string") != args.end();
  if (!take_option(args, "--card", card) || !take_option(args, "--string", text) ||
      !take_option(args, "--data", data))
    return usage_error("an option needs a value");
  if (args.size() != 1) return usage_error("message needs one NUMBER (see corva message --help)");
  unsigned long number = 0, n = 0;
  if (!parse_number(args[0], 65535, number)) return usage_error("NUMBER must be 0-65535");
  if (!card.empty() && has_string) return usage_error("give --card or --string, not both");
  if (!card.empty() && !parse_number(card, 65535, n)) return usage_error("--card must be 0-65535");
  if (!data.empty()) {
    set_data_path(data);
  } else {
    ReReadCorvaIni();  // the data directory of CVX70.INI, as the host would read it
  }
  plat::set_message_box_presenter(terminal_box, nullptr);
  uint16_t button;
  if (!card.empty()) {
    button = MessageWithCard(0, number, static_cast<uint16_t>(n));
  } else if (has_string) {
    const auto high = static_cast<uint16_t>(text.size() < 65535 ? text.size() : 65535);
    button = MessageWithString(0, number, high, text.c_str());
  } else {
    button = Message(0, number);
  }
  std::cout << "answer: " << button_name(button) << " (" << button << ")\n";
  return 0;
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
  if (!resolved || plat::read_file_head(path.c_str(), image, sizeof image, &present) != 0) {
    std::cerr << "corva: no error log at " << name << "\n";
    return 1;
  }
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

int run_log(const Args& all) {
  Args args = all;
  std::string data;
  if (!take_option(args, "--data", data)) return usage_error("--data needs a value");
  bool everything = false;
  if (!args.empty() && args.front() == "--all") {
    everything = true;
    args.erase(args.begin());
  }
  if (!args.empty()) return usage_error("log: unexpected '" + args.front() + "'");
  if (data.empty()) {
    ReReadCorvaIni();
    data = std::string(MyCorvaLibDataPtr->DataPath, Length(63, MyCorvaLibDataPtr->DataPath));
  }
  if (data.empty()) return usage_error("log needs --data DIR (CVX70.INI sets no data directory)");
  return print_log(data, everything);
}

// Three messages into a scratch data directory, then its log.
int demo(const std::string&) {
  std::error_code ec;
  const auto dir = std::filesystem::temp_directory_path(ec) /
                   ("corva-message-demo-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::cerr << "corva: cannot make " << dir << "\n";
    return 1;
  }
  set_data_path(dir.string());
  auto previous = plat::set_message_box_presenter(terminal_box, nullptr);
  g_ask = false;
  const char verb[] = "close the year";
  MessageWithString(0, 20302, sizeof verb - 1, verb);
  MessageWithCard(0, 20500, 1);
  Message(0, 20311);
  plat::set_message_box_presenter(previous, nullptr);
  const int rc = print_log(dir.string(), false);
  set_data_path("");
  std::filesystem::remove_all(dir, ec);
  return rc;
}

const Registration message_command{{"message", "show a numbered message and log it", kMessageUsage,
                                    run_message, demo}};
const Registration log_command{{"log", "print the error log of a data directory", kLogUsage,
                                run_log, nullptr}};

}  // namespace
}  // namespace corva::cli
