// corva text: reference-number stepping, masks and line wrapping from the shell.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/buffer.h"
#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

constexpr const char* kUsage =
    "usage: corva text OPERATION [OPTIONS] ...\n"
    "  next  [--high H] [--count N] REF    step the number in REF up (N times)\n"
    "  prev  [--high H] [--count N] REF    step it down\n"
    "  match MASK TEXT                     0 when TEXT matches (\"*\" is one character),\n"
    "                                      else 1 or -1 as a comparison\n"
    "  wrap  --width N TEXT                cut TEXT into lines of at most N characters\n"
    "  amp   TEXT                          double every \"&\"\n"
    "References go into an array of HIGH H (default 20) and are cut to fit.\n"
    "Results are printed between brackets, so spaces show.\n";


// Prints the lines LineWrapper takes out of the text; stops when a call takes
// nothing (a width of 0 leaves the words where they are).
void wrap(uint16_t width, const std::string& text) {
  Buffer rest(std::max<std::size_t>(text.size(), 1), text);
  Buffer line(width, "");
  while (Length(rest.high, rest.data()) != 0) {
    const std::string before = rest.text();
    LineWrapper(line.high, line.data(), rest.high, rest.data());
    std::cout << "[" << line.text() << "]\n";
    if (rest.text() == before) {
      std::cout << "(a line of width " << width << " takes nothing more)\n";
      return;
    }
  }
}

int run(const Args& all) {
  Args args = all;
  if (args.empty()) return usage_error("text needs an operation (see corva text --help)");
  const std::string op = args.front();
  args.erase(args.begin());
  std::string high_text = "20", count_text = "1", width_text;
  if (!take_option(args, "--high", high_text) || !take_option(args, "--count", count_text) ||
      !take_option(args, "--width", width_text))
    return usage_error("an option needs a value");
  unsigned long high = 0, count = 0;
  if (!parse_number(high_text, 65534, high)) return usage_error("--high must be 0-65534");
  if (!parse_number(count_text, 100000, count)) return usage_error("--count must be 0-100000");

  if ((op == "next" || op == "prev") && args.size() == 1) {
    Buffer b(high, args[0]);
    for (unsigned long i = 0; i < count; ++i) {
      (op == "next" ? TextIncrement : TextDecrement)(b.high, b.data());
      std::cout << "[" << b.text() << "]\n";
    }
    return 0;
  }
  if (op == "match" && args.size() == 2) {
    const int16_t r = MatchMask(args[1].c_str(), args[0].c_str());
    std::cout << r << (r == 0 ? " (matches)\n" : r < 0 ? " (sorts before the mask)\n"
                                                      : " (sorts after the mask)\n");
    return 0;
  }
  if (op == "wrap" && args.size() == 1) {
    unsigned long width = 0;
    if (!parse_number(width_text, 65534, width)) return usage_error("wrap needs --width 0-65534");
    wrap(static_cast<uint16_t>(width), args[0]);
    return 0;
  }
  if (op == "amp" && args.size() == 1) {
    Buffer b(std::max<std::size_t>(args[0].size() * 2, 1), args[0]);
    FixPrefix(b.high, b.data());
    std::cout << "[" << b.text() << "]\n";
    return 0;
  }
  return usage_error("text: unknown operation or wrong number of arguments (see corva text --help)");
}

int demo(const std::string& samples) {
  std::ifstream refs(samples + "/references.txt"), memo(samples + "/memo.txt");
  if (!refs || !memo) {
    std::cerr << "corva: cannot read " << samples << "/references.txt or memo.txt\n";
    return 1;
  }
  std::string line;
  std::cout << "-- the next and previous references\n";
  while (std::getline(refs, line)) {
    if (line.empty() || line[0] == '#') continue;
    Buffer up(20, line), down(20, line);
    TextIncrement(up.high, up.data());
    TextDecrement(down.high, down.data());
    std::cout << "[" << line << "] up [" << up.text() << "] down [" << down.text() << "]\n";
  }
  std::cout << "-- references against the mask INV-****-*\n";
  for (const char* ref : {"INV-0099-A", "INV-100-A", "INV-0100-AB", "CHQ-000123"}) {
    std::cout << "[" << ref << "] " << MatchMask(ref, "INV-****-*") << "\n";
  }
  std::cout << "-- the memo in lines of 32, with its ampersands doubled for a label\n";
  std::string text((std::istreambuf_iterator<char>(memo)), std::istreambuf_iterator<char>());
  Buffer label(static_cast<unsigned long>(text.size() * 2), text);
  FixPrefix(label.high, label.data());
  wrap(32, label.text());
  return 0;
}

const Registration reg{{"text", "reference numbers, masks and line wrapping", kUsage, run, demo}};

}  // namespace
}  // namespace corva::cli
