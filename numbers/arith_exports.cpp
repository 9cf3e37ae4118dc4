// The exported real arithmetic: rounding, zero tests, safe division, byte
// comparison.
#include <cmath>
#include <cstring>

#include "corvalib/numbers.h"
#include "frame/boundary.h"
#include "frame/settings.h"
#include "numbers/arith.h"

namespace nb = corva::numbers;

extern "C" {

double Round(double x) try { return nb::round_currency(x); } CORVA_BOUNDARY(0)

double Round5(double x) try { return nb::round_at(x, 100000.0, nb::kFifthBias); } CORVA_BOUNDARY(0)

uint8_t IsZero(double x) try { return nb::is_zero_currency(x) ? 1 : 0; } CORVA_BOUNDARY(0)

uint8_t IsZero5(double x) try {
  const int precision = corva::frame::settings().real_precision;
  const double threshold = 5.0 / std::pow(10.0, precision + 1);
  return std::fabs(x) < threshold ? 1 : 0;
} CORVA_BOUNDARY(0)

uint8_t IsZero7(double x) try { return std::fabs(x) < 5.0 / 1e8 ? 1 : 0; } CORVA_BOUNDARY(0)

double SafeDivide(double a, double b) try {
  if (a == 0.0 || b == 0.0) return 0.0;
  return a / b;
} CORVA_BOUNDARY(0)

void ZeroReal(double* out) try {
  if (out != nullptr) *out = 0.0;
} CORVA_BOUNDARY()

uint8_t Equal(uint32_t size_a, const void* a, uint32_t size_b, const void* b) try {
  if (size_a != size_b) return 0;
  if (size_a == 0) return 1;
  if (a == nullptr || b == nullptr) return 0;
  return std::memcmp(a, b, size_a) == 0 ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t IsPseudoNumber(uint16_t /*high*/, const char* s) try {
  return s != nullptr && s[0] != '\0' ? 1 : 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
