// The exported number and money formatters: argument checks, then numbers/format.
#include "corvalib/numbers.h"
#include "frame/boundary.h"
#include "numbers/format.h"

namespace nb = corva::numbers;

extern "C" {

void RealToStringFixed(double x, uint16_t width, uint16_t whole_width, uint16_t high, char* dest,
                       uint16_t* pos, uint8_t* done) try {
  bool ok = false;
  if (dest != nullptr && pos != nullptr) nb::real_to_string_fixed(x, width, whole_width, high, dest, *pos, ok);
  if (done != nullptr) *done = ok ? 1 : 0;
} CORVA_BOUNDARY()

void MyRealToString(double x, uint16_t high, char* dest, uint16_t decimals, uint16_t width) try {
  if (dest != nullptr) nb::real_to_string(x, high, dest, decimals, width);
} CORVA_BOUNDARY()

void MyQtyToString(double x, uint16_t high, char* dest, uint16_t decimals, uint16_t width) try {
  if (dest != nullptr) nb::real_to_string(x, high, dest, decimals, width);
} CORVA_BOUNDARY()

void DollarsToString(double amount, uint16_t high, char* dest, uint8_t negate, char sign_style) try {
  if (dest != nullptr) nb::dollars_to_string(amount, high, dest, negate != 0, sign_style);
} CORVA_BOUNDARY()

void AppendRtoString(uint16_t high, char* dest, double amount, uint16_t width, char sign_style) try {
  if (dest != nullptr) nb::append_amount(high, dest, amount, width, sign_style);
} CORVA_BOUNDARY()

void AppendRtoStringNoComma(uint16_t high, char* dest, double x, uint16_t width) try {
  if (dest != nullptr) nb::append_amount_no_separators(high, dest, x, width);
} CORVA_BOUNDARY()

}  // extern "C"
