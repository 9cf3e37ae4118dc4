// corva num (and its short forms corva amount, corva qty, corva words): amounts
// and quantities formatted and parsed with the regional settings in force, and
// the cheque line in words.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/config.h"

namespace corva::cli {
namespace {

constexpr const char* kUsage =
    "usage: corva num amount format|parse VALUE [--style S]\n"
    "       corva num qty format|parse VALUE [--decimals N]\n"
    "       corva num words AMOUNT\n"
    "       (also as corva amount ..., corva qty ..., corva words ...)\n"
    "Options for one run, in place of the regional settings:\n"
    "  --decimal C    decimal symbol\n"
    "  --thousand C   thousands separator\n"
    "  --digits N     currency digits (0-9)\n"
    "--style is the sign style of an amount: '-' (default), '<' or ' '.\n"
    "--decimals is the number of decimals of a quantity (default 2, the real precision).\n"
    "Formatted texts are printed between brackets, so the alignment shows.\n";

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
  ~Overrides() {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // Empty values keep the setting. False (with a message) when they cannot apply.
  bool apply(const std::string& decimal, const std::string& thousand, const std::string& digits) {
    std::vector<std::pair<std::string, std::string>> keys;
    if (!decimal.empty()) keys.emplace_back("sDecimal", decimal);
    if (!thousand.empty()) keys.emplace_back("sThousand", thousand);
    if (!digits.empty()) keys.emplace_back("iCurrDigits", digits);
    if (keys.empty()) return true;
    char pattern[] = "/tmp/corva-num-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      std::cerr << "corva: cannot make a temporary directory\n";
      return false;
    }
    dir_ = pattern;
    write_ini(platform::windows_directory() + "/WIN.INI", dir_ + "/WIN.INI", keys);
    setenv("CORVALIB_WINDIR", dir_.c_str(), 1);
    platform::reload_configuration();
    ReReadWinIni();
    return true;
  }

 private:
  static bool same(std::string a, std::string b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  }

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
        in_intl = same(t, "[intl]");
        out << line << "\n";
        if (in_intl && !written) put_keys();
        continue;
      }
      if (in_intl) {
        const std::string key = trimmed(t.substr(0, t.find('=')));
        bool replaced = false;
        for (const auto& kv : keys) replaced |= same(key, kv.first);
        if (replaced) continue;
      }
      out << line << "\n";
    }
    if (!written) {
      out << "[intl]\n";
      put_keys();
    }
  }

  std::string dir_;
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

int run_num(const Args& all) {
  Args args = all;
  std::string decimal, thousand, digits, style = "-", decimals = "2";
  if (!take_option(args, "--decimal", decimal) || !take_option(args, "--thousand", thousand) ||
      !take_option(args, "--digits", digits) || !take_option(args, "--style", style) ||
      !take_option(args, "--decimals", decimals))
    return usage_error("an option needs a value");
  if (decimal.size() > 1 || thousand.size() > 1)
    return usage_error("--decimal and --thousand take one character");
  unsigned long n = 0;
  if (!digits.empty() && !parse_number(digits, 9, n)) return usage_error("--digits must be 0-9");
  unsigned long places = 0;
  if (!parse_number(decimals, 9, places)) return usage_error("--decimals must be 0-9");
  if (style.size() != 1) return usage_error("--style takes one character: '-', '<' or ' '");
  Overrides overrides;
  if (!overrides.apply(decimal, thousand, digits)) return 1;

  if (args.empty()) return usage_error("num needs amount, qty or words (see corva num --help)");
  const std::string kind = args[0];
  double x = 0.0;
  if (kind == "words" && args.size() == 2) {
    if (!parse_value(args[1], x)) return usage_error("AMOUNT must be a number such as 1234.56");
    char line[201];
    AmountToWords(x, 200, line);
    std::cout << line << "\n";
    return 0;
  }
  if ((kind == "amount" || kind == "qty") && args.size() == 3) {
    const std::string& op = args[1];
    if (op == "parse") return parse_amount(args[2], kind == "qty");
    if (op == "format") {
      if (!parse_value(args[2], x)) return usage_error("VALUE must be a number such as 1234.56");
      if (kind == "amount") return format_amount(x, style[0]);
      char text[40];
      MyQtyToString(x, 39, text, static_cast<uint16_t>(places), 20);
      std::cout << "[" << text << "]\n";
      return 0;
    }
  }
  return usage_error("num: unknown operation or wrong number of values (see corva num --help)");
}

// The short forms put their own name in front.
Args with(const char* kind, const Args& args) {
  Args all{kind};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

// Each typed amount read as an amount field reads it, shown back in the two
// money styles, and in words when it is one.
int demo(const std::string& samples) {
  std::ifstream in(samples + "/amounts.txt");
  if (!in) {
    std::cerr << "corva: cannot read " << samples << "/amounts.txt\n";
    return 1;
  }
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

const Registration reg_num{{"num", "amounts and quantities as text and back, cheque words", kUsage,
                            run_num, demo}};
const Registration reg_amount{{"amount", "format or parse an amount (corva num amount)", kUsage,
                               [](const Args& a) { return run_num(with("amount", a)); }, {}}};
const Registration reg_qty{{"qty", "format or parse a quantity (corva num qty)", kUsage,
                            [](const Args& a) { return run_num(with("qty", a)); }, {}}};
const Registration reg_words{{"words", "an amount in words for a cheque (corva num words)", kUsage,
                              [](const Args& a) { return run_num(with("words", a)); }, {}}};

}  // namespace
}  // namespace corva::cli
