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

int print(const Buffer& b) {
  std::cout << "[" << b.text() << "]\n";
  return 0;
}

struct StrOptions {
  unsigned long high = 80, width = 0, at = 0, number = 0;
  std::string mode = "left", text, other;
};
StrOptions g_str;

void add_high(CLI::App* app) {
  app->add_option("--high", g_str.high,
                  "the HIGH of the array the text goes into (0-65534, default 80)")
      ->type_name("H")
      ->check(within(0, 65534));
}

void define(CLI::App& app) {
  StrOptions& o = g_str;
  auto* justify = app.add_subcommand("justify", "pad TEXT to a width, left, centred or right");
  add_high(justify);
  justify->add_option("--width", o.width, "the width (0-65535)")
      ->type_name("N")
      ->required()
      ->check(within(0, 65535));
  justify->add_option("--mode", o.mode, "left (default), centre or right")
      ->type_name("MODE")
      ->check(CLI::IsMember({"left", "centre", "center", "right"}));
  justify->add_option("TEXT", o.text, "the text")->required();
  on_run(justify, [] {
    const StrOptions& o = g_str;
    const unsigned mode = o.mode == "left" ? 0 : o.mode == "right" ? 2 : 1;
    Buffer b(o.high, o.text);
    Justify(b.high, b.data(), static_cast<uint16_t>(o.width), static_cast<uint16_t>(mode));
    return print(b);
  });
  for (const char* op : {"trim", "upper"}) {
    const bool trim = op[0] == 't';
    auto* sub = app.add_subcommand(op, trim ? "cut the blanks from both ends" : "in capitals");
    add_high(sub);
    sub->add_option("TEXT", o.text, "the text")->required();
    on_run(sub, [trim] {
      Buffer b(g_str.high, g_str.text);
      (trim ? Trim : UpperCase)(b.high, b.data());
      return print(b);
    });
  }
  auto* pos = app.add_subcommand("pos", "where PATTERN first occurs in TEXT");
  pos->add_option("PATTERN", o.other, "the text to look for")->required();
  pos->add_option("TEXT", o.text, "the text to look in")->required();
  on_run(pos, [] {
    const std::string &p = g_str.other, &t = g_str.text;
    std::cout << Pos(static_cast<uint16_t>(p.size()), p.c_str(), static_cast<uint16_t>(t.size()),
                     t.c_str())
              << "\n";
    return 0;
  });
  auto* insert = app.add_subcommand("insert", "put INSERTED into TEXT at a position");
  add_high(insert);
  insert->add_option("--at", o.at, "the position (0-65535)")
      ->type_name("N")
      ->required()
      ->check(within(0, 65535));
  insert->add_option("INSERTED", o.other, "the text to insert")->required();
  insert->add_option("TEXT", o.text, "the text")->required();
  on_run(insert, [] {
    const StrOptions& o = g_str;
    Buffer b(o.high, o.text);
    Insert(static_cast<uint16_t>(o.other.size()), o.other.c_str(), b.high, b.data(),
           static_cast<uint16_t>(o.at));
    return print(b);
  });
  auto* card = app.add_subcommand("card", "fill the first '###' of TEXT with NUMBER");
  add_high(card);
  card->add_option("NUMBER", o.number, "0-65535")->required()->check(within(0, 65535));
  card->add_option("TEXT", o.text, "the text")->required();
  on_run(card, [] {
    Buffer b(g_str.high, g_str.text);
    InsertCard(b.high, b.data(), static_cast<uint16_t>(g_str.number));
    return print(b);
  });
  auto* compare = app.add_subcommand("compare", "compare two texts: -1, 0 or 1");
  compare->add_option("A", o.other, "the first text")->required();
  compare->add_option("B", o.text, "the second text")->required();
  on_run(compare, [] {
    const std::string &a = g_str.other, &c = g_str.text;
    std::cout << CompareStr(static_cast<uint16_t>(a.size()), a.c_str(),
                            static_cast<uint16_t>(c.size()), c.c_str())
              << "\n";
    return 0;
  });
  app.footer(
      "Texts go into an array of HIGH H and are cut to fit. The result is printed between\n"
      "brackets, so padding shows.");
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

const Registration reg{
    {"str", "bounded-string operations (justify, trim, pos, ...)", define, demo}};

}  // namespace
}  // namespace corva::cli
