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

void define(CLI::App& app) {
  static unsigned long high = 20, count = 1, width = 0;
  static std::string text, mask;
  for (const char* op : {"next", "prev"}) {
    const bool up = op[0] == 'n';
    auto* sub =
        app.add_subcommand(op, up ? "step the number in REF up" : "step the number in REF down");
    sub->add_option("--high", high, "the HIGH of the array REF goes into (0-65534, default 20)")
        ->type_name("H")
        ->check(within(0, 65534));
    sub->add_option("--count", count, "how many steps, each printed (0-100000, default 1)")
        ->type_name("N")
        ->check(within(0, 100000));
    sub->add_option("REF", text, "a reference, such as INV-0099")->required();
    on_run(sub, [up] {
      Buffer b(high, text);
      for (unsigned long i = 0; i < count; ++i) {
        (up ? TextIncrement : TextDecrement)(b.high, b.data());
        std::cout << "[" << b.text() << "]\n";
      }
      return 0;
    });
  }
  auto* match = app.add_subcommand("match", "compare TEXT with MASK ('*' is any one character)");
  match->add_option("MASK", mask, "the mask, such as INV-****")->required();
  match->add_option("TEXT", text, "the text")->required();
  match->footer("Prints 0 when TEXT matches, else 1 or -1 as a comparison.");
  on_run(match, [] {
    const int16_t r = MatchMask(text.c_str(), mask.c_str());
    std::cout << r
              << (r == 0  ? " (matches)\n"
                  : r < 0 ? " (sorts before the mask)\n"
                          : " (sorts after the mask)\n");
    return 0;
  });
  auto* wrap_word = app.add_subcommand("wrap", "cut TEXT into lines of at most N characters");
  wrap_word->add_option("--width", width, "the line width (0-65534)")
      ->type_name("N")
      ->required()
      ->check(within(0, 65534));
  wrap_word->add_option("TEXT", text, "the text")->required();
  on_run(wrap_word, [] {
    wrap(static_cast<uint16_t>(width), text);
    return 0;
  });
  auto* amp = app.add_subcommand("amp", "double every '&'");
  amp->add_option("TEXT", text, "the text")->required();
  on_run(amp, [] {
    Buffer b(std::max<std::size_t>(text.size() * 2, 1), text);
    FixPrefix(b.high, b.data());
    std::cout << "[" << b.text() << "]\n";
    return 0;
  });
  app.footer("Results are printed between brackets, so spaces show.");
}

int demo(const std::string& samples) {
  std::ifstream refs, memo;
  if (!open_sample(samples, "references.txt", refs) || !open_sample(samples, "memo.txt", memo))
    return 1;
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

const Registration reg{{"text", "reference numbers, masks and line wrapping", define, demo}};

}  // namespace
}  // namespace corva::cli
