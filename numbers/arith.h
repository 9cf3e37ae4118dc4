// Rounding and zero tests of amounts, quantities and reals.
#pragma once

namespace corva::numbers {

// The bias added before the floor: half a unit of the last place, plus a hair
// so that an amount whose decimal form ends in an exact 5 rounds up even when
// its binary value lies just below the half.
inline constexpr double kCurrencyBias = 0.50000000001;  // units of the last currency digit
inline constexpr double kFifthBias = 0.50000000000001;  // units of the fifth decimal

// The one rounding routine: the magnitude of x times scale, plus bias, floored,
// divided by scale, the sign put back afterwards (so -0.004 gives -0.0).
// Halves go away from zero. A magnitude whose scaled value has no fraction
// left (2^52 or more) comes back unchanged: there the sum with the bias would
// round up to the next whole unit, and the product might overflow.
double round_at(double x, double scale, double bias);

// Rounded at the currency digits of the regional settings.
double round_currency(double x);
// Magnitude below the currency half unit.
bool is_zero_currency(double x);

}  // namespace corva::numbers
