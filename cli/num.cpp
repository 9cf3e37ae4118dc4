// corva num (and its short forms corva amount, corva qty, corva words): amounts
// and quantities formatted and parsed with the regional settings in force, and
// the cheque line in words.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/scratch.h"
#include "corvalib.h"
#include "corvaplat/config.h"

namespace corva::cli {
namespace {

std::string shortest(double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// A number from the command line, in the C form (1234.5, -0.07, 1e9, nan).
bool parse_value(const std::string& text, double& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  auto r = std::from_chars(first, last, value);
  return r.ec == std::errc() && r.ptr == last;
}

// Regional settings for this run: a copy of WIN.INI with the given keys of
// section "intl" replaced, in a directory of its own that stands for the
// Windows directory, read with the library's refresh. Removed at the end.
class Overrides {
 public:
  // Empty values keep the setting. False (with a message) when they cannot apply.
  bool apply(const std::string& decimal, const std::string& thousand, const std::string& digits) {
    std::vector<std::pair<std::string, std::string>> keys;
    if (!decimal.empty()) keys.emplace_back("sDecimal", decimal);
    if (!thousand.empty()) keys.emplace_back("sThousand", thousand);
    if (!digits.empty()) keys.emplace_back("iCurrDigits", digits);
    if (keys.empty()) return true;
    const std::string& dir = scratch_.emplace("num").path();
    if (dir.empty()) return false;
    write_ini(platform::windows_directory() + "/WIN.INI", dir + "/WIN.INI", keys);
    setenv("CORVALIB_WINDIR", dir.c_str(), 1);
    platform::reload_configuration();
    ReReadWinIni();
    return true;
  }

 private:
  static std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
  }

  static void write_ini(const std::string& from, const std::string& to,
                        const std::vector<std::pair<std::string, std::string>>& keys) {
    std::ifstream in(from);
    std::ofstream out(to);
    std::string line;
    bool in_intl = false, written = false;
    auto put_keys = [&] {
      for (const auto& [k, v] : keys) out << k << "=" << v << "\n";
      written = true;
    };
    while (std::getline(in, line)) {
      const std::string t = trimmed(line);
      if (!t.empty() && t.front() == '[') {
        in_intl = same_text(t, "[intl]");
        out << line << "\n";
        if (in_intl && !written) put_keys();
        continue;
      }
      if (in_intl) {
        const std::string key = trimmed(t.substr(0, t.find('=')));
        bool replaced = false;
        for (const auto& kv : keys) replaced |= same_text(key, kv.first);
        if (replaced) continue;
      }
      out << line << "\n";
    }
    if (!written) {
      out << "[intl]\n";
      put_keys();
    }
  }

  std::optional<ScratchDir> scratch_;
};

int format_amount(double x, char style) {
  char text[40];
  DollarsToString(x, 39, text, 0, style);
  std::cout << "[" << text << "]\n";
  return 0;
}

int parse_amount(const std::string& typed, bool quantity) {
  char text[81] = {};
  Assign(static_cast<uint16_t>(typed.size()), typed.c_str(), 80, text);
  double v = 0.0;
  const uint8_t done = quantity ? MyStringToQty(80, text, &v) : MyStringToReal(80, text, &v);
  std::cout << shortest(v) << (done ? "" : " (not a number)") << "\n";
  return done ? 0 : 1;
}

struct NumOptions {
  std::string decimal, thousand, style = "-";
  int digits = -1;
  unsigned decimals = 2;
  std::string text;
  double value = 0;
};
NumOptions g_num;

CLI::Validator one_character() {
  return CLI::Validator(
      [](std::string& c) { return c.size() == 1 ? std::string() : "takes one character"; }, "");
}

// The options for one run in place of the regional settings.
void add_regional(CLI::App* app) {
  NumOptions& o = g_num;
  app->add_option("--decimal", o.decimal, "decimal symbol for this run")
      ->type_name("C")
      ->check(one_character());
  app->add_option("--thousand", o.thousand, "thousands separator for this run")
      ->type_name("C")
      ->check(one_character());
  app->add_option("--digits", o.digits, "currency digits for this run (0-9)")
      ->type_name("N")
      ->check(within(0, 9));
}

// Runs fn with the regional options in force.
std::function<int()> regional(int (*fn)()) {
  return [fn] {
    const NumOptions& o = g_num;
    Overrides overrides;
    if (!overrides.apply(o.decimal, o.thousand, o.digits < 0 ? "" : std::to_string(o.digits)))
      return 1;
    return fn();
  };
}

CLI::App* leaf(CLI::App& parent, const char* name, const std::string& summary, int (*fn)()) {
  CLI::App* app = parent.add_subcommand(name, summary);
  add_regional(app);
  on_run(app, regional(fn));
  return app;
}

int format_quantity() {
  char text[40];
  MyQtyToString(g_num.value, 39, text, static_cast<uint16_t>(g_num.decimals), 20);
  std::cout << "[" << text << "]\n";
  return 0;
}

// The words format and parse of an amount or a quantity.
void define_kind(CLI::App& app, bool quantity) {
  const char* kind = quantity ? "quantity" : "amount";
  auto* format = leaf(
      app, "format", quantity ? "a quantity as text" : "an amount as text, with its sign style",
      quantity ? format_quantity : +[] { return format_amount(g_num.value, g_num.style[0]); });
  format->add_option("VALUE", g_num.value, std::string("the ") + kind + ", such as -1234.5")
      ->required();
  if (quantity) {
    format->add_option("--decimals", g_num.decimals, "decimals to show (0-9, default 2)")
        ->type_name("N")
        ->check(within(0, 9));
  } else {
    format->add_option("--style", g_num.style, "the sign style: '-' (default), '<' or ' '")
        ->type_name("S")
        ->check(CLI::IsMember({"-", "<", " "}));
  }
  auto* parse = leaf(
      app, "parse", std::string("a ") + kind + " read as a field reads it",
      quantity ? +[] { return parse_amount(g_num.text, true); }
               : +[] { return parse_amount(g_num.text, false); });
  parse
      ->add_option("TEXT", g_num.text,
                   std::string("the ") + kind + " as typed, such as '1,234.50-'")
      ->required();
  app.footer("Formatted texts are printed between brackets, so the alignment shows.");
}

void define_amount(CLI::App& app) { define_kind(app, false); }
void define_qty(CLI::App& app) { define_kind(app, true); }

void define_words(CLI::App& app) {
  add_regional(&app);
  app.add_option("AMOUNT", g_num.value, "the amount, 0 up to 2,000,000,000")
      ->required()
      ->check(CLI::Validator(
          [](std::string& text) {
            double v = 0;
            return parse_value(text, v) && v >= 0 && v < 2e9
                       ? std::string()
                       : "a cheque amount is a number from 0 up to 2,000,000,000";
          },
          ""));
  on_run(&app, regional([] {
    char line[201];
    AmountToWords(g_num.value, 200, line);
    std::cout << line << "\n";
    return 0;
  }));
}

void define_num(CLI::App& app) {
  define_amount(*app.add_subcommand("amount", "format or parse an amount"));
  define_qty(*app.add_subcommand("qty", "format or parse a quantity"));
  define_words(*app.add_subcommand("words", "an amount in words for a cheque"));
  app.footer("The short forms corva amount, corva qty and corva words do the same.");
}

// Each typed amount read as an amount field reads it, shown back in the two
// money styles, and in words when it is one.
int demo(const std::string& samples) {
  std::ifstream in;
  if (!open_sample(samples, "amounts.txt", in)) return 1;
  std::string typed;
  while (std::getline(in, typed)) {
    if (typed.empty() || typed[0] == '#') continue;
    char text[40] = {}, minus[40], brackets[40], words[121];
    Assign(static_cast<uint16_t>(typed.size()), typed.c_str(), 39, text);
    double v = 0.0;
    const bool done = MyStringToReal(39, text, &v) != 0;
    std::printf("%-14s -> ", typed.c_str());
    if (!done) {
      std::printf("not an amount\n");
      continue;
    }
    DollarsToString(v, 18, minus, 0, '-');
    DollarsToString(v, 19, brackets, 0, '<');
    AmountToWords(Round(v), 120, words);
    std::printf("[%s] [%s] %s\n", minus, brackets, v >= 0 ? words : "");
  }
  return 0;
}

const Registration reg_num{
    {"num", "amounts and quantities as text and back, cheque words", define_num, demo}};
const Registration reg_amount{
    {"amount", "format or parse an amount (corva num amount)", define_amount, {}}};
const Registration reg_qty{{"qty", "format or parse a quantity (corva num qty)", define_qty, {}}};
const Registration reg_words{
    {"words", "an amount in words for a cheque (corva num words)", define_words, {}}};

}  // namespace
}  // namespace corva::cli
