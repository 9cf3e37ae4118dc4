// corva str: bounded-string operations from the shell.
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
    "usage: corva str OPERATION [OPTIONS] TEXT...\n"
    "  justify  --width N [--mode left|centre|right] [--high H] TEXT\n"
    "  trim     [--high H] TEXT\n"
    "  upper    [--high H] TEXT\n"
    "  pos      PATTERN TEXT\n"
    "  insert   --at N [--high H] INSERTED TEXT\n"
    "  card     NUMBER TEXT            (fills the first ###)\n"
    "  compare  A B\n"
    "Texts go into an array of HIGH H (default 80) and are cut to fit.\n"
    "The result is printed between brackets, so padding shows.\n";

int print(const Buffer& b) {
  std::cout << "[" << b.text() << "]\n";
  return 0;
}

int run(const Args& all) {
  Args args = all;
  if (args.empty()) return usage_error("str needs an operation (see corva str --help)");
  const std::string op = args.front();
  args.erase(args.begin());
  std::string high_text = "80", width_text, mode_text = "left", at_text;
  if (!take_option(args, "--high", high_text) || !take_option(args, "--width", width_text) ||
      !take_option(args, "--mode", mode_text) || !take_option(args, "--at", at_text))
    return usage_error("an option needs a value");
  unsigned long high = 0;
  if (!parse_number(high_text, 65534, high)) return usage_error("--high must be 0-65534");
  auto need = [&](std::size_t n) { return args.size() == n; };

  if (op == "justify" && need(1)) {
    unsigned long width = 0;
    if (!parse_number(width_text, 65535, width)) return usage_error("--width must be 0-65535");
    const unsigned mode = mode_text == "left" ? 0 : mode_text == "centre" || mode_text == "center" ? 1
                        : mode_text == "right" ? 2 : 3;
    if (mode == 3) return usage_error("--mode must be left, centre or right");
    Buffer b(high, args[0]);
    Justify(b.high, b.data(), static_cast<uint16_t>(width), static_cast<uint16_t>(mode));
    return print(b);
  }
  if ((op == "trim" || op == "upper") && need(1)) {
    Buffer b(high, args[0]);
    (op == "trim" ? Trim : UpperCase)(b.high, b.data());
    return print(b);
  }
  if (op == "pos" && need(2)) {
    const std::string& p = args[0];
    const std::string& t = args[1];
    std::cout << Pos(static_cast<uint16_t>(p.size()), p.c_str(), static_cast<uint16_t>(t.size()),
                     t.c_str())
              << "\n";
    return 0;
  }
  if (op == "insert" && need(2)) {
    unsigned long at = 0;
    if (!parse_number(at_text, 65535, at)) return usage_error("--at must be 0-65535");
    Buffer b(high, args[1]);
    const std::string& in = args[0];
    Insert(static_cast<uint16_t>(in.size()), in.c_str(), b.high, b.data(), static_cast<uint16_t>(at));
    return print(b);
  }
  if (op == "card" && need(2)) {
    unsigned long n = 0;
    if (!parse_number(args[0], 65535, n)) return usage_error("NUMBER must be 0-65535");
    Buffer b(high, args[1]);
    InsertCard(b.high, b.data(), static_cast<uint16_t>(n));
    return print(b);
  }
  if (op == "compare" && need(2)) {
    const std::string& a = args[0];
    const std::string& c = args[1];
    std::cout << CompareStr(static_cast<uint16_t>(a.size()), a.c_str(),
                            static_cast<uint16_t>(c.size()), c.c_str())
              << "\n";
    return 0;
  }
  return usage_error("str: unknown operation or wrong number of texts (see corva str --help)");
}

// Lays out the sample ledger lines in fixed columns, as a report would.
int demo(const std::string& samples) {
  std::ifstream in;
  if (!open_sample(samples, "ledger.txt", in)) return 1;
  std::string line;
  while (std::getline(in, line)) {
    const auto bar = line.find('|');
    if (bar == std::string::npos) continue;
    char row[41] = {};
    const std::string name = line.substr(0, bar), amount = line.substr(bar + 1);
    char field[13];
    Assign(static_cast<uint16_t>(name.size()), name.c_str(), 27, row);
    JustifyLeft(40, row, 28);
    Assign(static_cast<uint16_t>(amount.size()), amount.c_str(), 12, field);
    AppendWithJustify(40, row, 12, field, 12, 2);
    std::cout << "[" << row << "]\n";
  }
  return 0;
}

const Registration reg{{"str", "bounded-string operations (justify, trim, pos, ...)", kUsage, run, demo}};

}  // namespace
}  // namespace corva::cli
