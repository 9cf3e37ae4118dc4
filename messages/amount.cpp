// The money text of a "%$%" parameter: the amount in the currency format of
// the regional settings in a field of 18 with the leading blanks removed
// ("-1,234.50"), or question marks when it is too large for the field.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/settings.h"
#include "messages/engine.h"

namespace corva::messages {

std::string_view amount_text(double amount, char (&field)[28]) {
  constexpr int kHigh = 27;
  constexpr int kWidth = 18;  // the money field
  const frame::Settings& s = frame::settings();
  if (std::fabs(amount) < s.currency_half_unit) amount = 0.0;
  std::memset(field, 0, sizeof field);
  if (!(std::fabs(amount) < 1e9)) {  // too large, or not a number
    std::memset(field, '?', kHigh);
    return {field, kHigh};
  }
  const int digits = s.currency_digits > 9 ? 9 : s.currency_digits;
  char converted[48];
  std::snprintf(converted, sizeof converted, "%*.*f", kWidth - 2, digits, amount);
  std::string t(converted);
  if (s.decimal_point != '.') {
    const auto dot = t.find('.');
    if (dot != std::string::npos && dot < static_cast<std::size_t>(kWidth)) t[dot] = s.decimal_point;
  }
  const auto point = t.find(s.decimal_point);
  if (point != std::string::npos) {
    for (long p = static_cast<long>(point); p > 0 && p < kWidth;) {
      p -= 4;
      if (p > 0 && t[p] >= '0' && t[p] <= '9' && t[0] == ' ') {
        t.erase(0, 1);
        t.insert(static_cast<std::size_t>(p), 1, s.thousands_separator);
      }
    }
  }
  const auto first = t.find_first_not_of(' ');
  t.erase(0, first == std::string::npos ? t.size() : first);
  const std::size_t n = t.size() < static_cast<std::size_t>(kHigh) ? t.size() : kHigh;
  std::memcpy(field, t.data(), n);
  return {field, n};
}

}  // namespace corva::messages
