// corva: the command-line host of the library. It loads libcorvalib.so like any
// host, answers the library's message boxes on the terminal, and runs one
// subcommand per subsystem.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "cli/command.h"
#include "corvaplat/msgbox.h"

namespace corva::cli {

namespace {
std::vector<Command>& registry() {
  static std::vector<Command> all;
  return all;
}

// Boxes are printed and answered with their default button: the host runs
// unattended, from scripts as much as from a terminal.
int print_box(void*, const platform::MessageBoxRequest& box) {
  const int button = platform::default_button(box.style);
  std::cout << "[" << box.caption << "] " << box.text << "\n";
  return button;
}

void print_help() {
  std::cout << "usage: corva COMMAND [ARGS...]\n"
               "       corva COMMAND --help\n\ncommands:\n";
  for (const Command& c : registry()) {
    std::printf("  %-10s %s\n", c.name.c_str(), c.summary.c_str());
  }
  std::printf("  %-10s %s\n", "demo", "run every command's demonstration on the samples");
}

int run_demo(const Args& args) {
  Args rest = args;
  std::string samples = "samples";
  if (wants_help(rest)) {
    std::cout << "usage: corva demo [--samples DIR]\n"
                 "Shows each subsystem at work on the bundled sample data.\n";
    return 0;
  }
  if (!take_option(rest, "--samples", samples)) return usage_error("--samples needs a value");
  if (!rest.empty()) return usage_error("demo: unexpected '" + rest.front() + "'");
  int status = 0;
  for (const Command& c : registry()) {
    if (!c.demo) continue;
    std::cout << "== " << c.name << " ==\n";
    if (int rc = c.demo(samples); rc != 0) status = rc;
  }
  return status;
}
}  // namespace

Registration::Registration(Command command) {
  auto& all = registry();
  auto at = std::lower_bound(all.begin(), all.end(), command.name,
                             [](const Command& c, const std::string& n) { return c.name < n; });
  all.insert(at, std::move(command));
}

const std::vector<Command>& commands() { return registry(); }

bool wants_help(const Args& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

bool take_option(Args& args, std::string_view name, std::string& value) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it != name) continue;
    if (it + 1 == args.end()) return false;
    value = *(it + 1);
    args.erase(it, it + 2);
    return true;
  }
  return true;
}

bool parse_number(const std::string& text, unsigned long max, unsigned long& value) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, value);
  return r.ec == std::errc() && r.ptr == end && value <= max;
}

int usage_error(const std::string& what) {
  std::cerr << "corva: " << what << "\n";
  return 2;
}

bool open_sample(const std::string& samples, const char* name, std::ifstream& in) {
  in.open(samples + "/" + name);
  if (in) return true;
  std::cerr << "corva: cannot read " << samples << "/" << name << "\n";
  return false;
}

}  // namespace corva::cli

int main(int argc, char** argv) {
  using namespace corva::cli;
  corva::platform::set_message_box_presenter(print_box, nullptr);
  Args args(argv + 1, argv + argc);
  if (args.empty() || args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
    print_help();
    return args.empty() ? 2 : 0;
  }
  const std::string name = args.front();
  args.erase(args.begin());
  if (name == "demo") return run_demo(args);
  for (const Command& c : commands()) {
    if (c.name != name) continue;
    if (wants_help(args)) {
      std::cout << c.usage;
      return 0;
    }
    return c.run(args);
  }
  return usage_error("unknown command '" + name + "' (see corva --help)");
}
