// A money amount in words for the cheque line:
//   1234.56 -> "One Thousand Two Hundred Thirty-Four and 56/100 Dollars".
#include "numbers/words.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "corvaplat/modules.h"
#include "frame/state.h"
#include "text/bstr.h"
#include "text/whole.h"

namespace corva::numbers {

namespace {

enum Word : std::uint16_t {
  kUnits = 20600,  // plus 0 to 19
  kTens = 20620,   // plus the tens digit 1 to 9
  kAnd = 20630,
  kDollars = 20631,
  kHundred = 20633,
  kThousand = 20634,
  kMillion = 20635,
  kOver100 = 20636,
};

// A word of the library's string table, at most 10 characters.
void add_word(std::string& out, unsigned id) {
  char word[11];
  const int n = platform::LoadStringA(frame::own_module(), id, word, sizeof word);
  out.append(word, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// The words of 0 to 1999 ("Nineteen Hundred Ninety-Nine"); nothing for 0.
void add_group(std::string& out, unsigned n) {
  const unsigned h = n / 100, r = n % 100;
  if (h > 0) {
    add_word(out, kUnits + h);
    out += ' ';
    add_word(out, kHundred);
  }
  if (r == 0) return;
  if (h > 0) out += ' ';
  if (r <= 19) {
    add_word(out, kUnits + r);
    return;
  }
  add_word(out, kTens + r / 10);
  if (r % 10 > 0) {
    out += '-';
    add_word(out, kUnits + r % 10);
  }
}

}  // namespace

void amount_to_words(double amount, std::uint16_t high, char* dest) {
  // Amounts the words cannot say (negative, 2,000,000,000 or more, NaN) give
  // an empty line rather than a wrong one.
  if (!(amount >= 0.0 && amount < 2e9)) return text::fill_from(high, dest, 0);
  const auto dollars = static_cast<std::int32_t>(amount);  // toward zero
  // The 0.005 is fixed: it rounds the cents half up whatever the currency digits.
  const auto cents = static_cast<std::uint16_t>(((amount + 0.005) - dollars) * 100.0);
  const std::int32_t millions = dollars / 1000000;
  const std::int32_t thousands = (dollars - millions * 1000000) / 1000;
  const std::int32_t units = dollars % 1000;

  // Each group's words are built whole (the longest, "Seventeen Hundred
  // Seventy-Seven", has 31 characters); only the finished line is cut at HIGH.
  std::string line;
  const auto group = [&line](std::int32_t n, int word) {
    if (n <= 0) return;
    add_group(line, static_cast<unsigned>(n));
    line += ' ';
    if (word != 0) {
      add_word(line, static_cast<unsigned>(word));
      line += ' ';
    }
  };
  group(millions, kMillion);
  group(thousands, kThousand);
  group(units, 0);
  if (dollars == 0) {
    add_word(line, kUnits);
    line += ' ';
  }
  add_word(line, kAnd);
  line += ' ';
  char digits[8];
  std::uint16_t pos = 0;
  bool done = false;
  text::put_whole(cents, false, 1, sizeof digits - 1, digits, pos, done);
  line.append(digits, pos);
  add_word(line, kOver100);
  line += ' ';
  add_word(line, kDollars);
  text::write(high, dest, line);
}

}  // namespace corva::numbers
