#include "numbers/arith.h"

#include <cmath>

#include "frame/settings.h"

namespace corva::numbers {

double round_at(double x, double scale, double bias) {
  const bool negative = x < 0.0;
  const double scaled = std::fabs(x) * scale;
  if (!(scaled < 0x1p52)) return x;  // also NaN and infinities
  const double r = std::floor(scaled + bias) / scale;
  return negative ? -r : r;
}

double round_currency(double x) {
  return round_at(x, frame::settings().currency_scale, kCurrencyBias);
}

bool is_zero_currency(double x) { return std::fabs(x) < frame::settings().currency_half_unit; }

}  // namespace corva::numbers
