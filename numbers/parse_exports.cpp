// The exported number and money parsers: argument checks, then numbers/parse.
#include "corvalib/numbers.h"
#include "frame/boundary.h"
#include "frame/settings.h"
#include "numbers/parse.h"

namespace nb = corva::numbers;

namespace {

// A null text reads as the empty text.
const char* readable(uint16_t& high, const char* s) {
  if (s != nullptr) return s;
  high = 0;
  return "";
}

uint8_t amount(uint16_t high, const char* s, double* result, int places, bool auto_decimal,
               bool round) {
  if (result == nullptr) return 0;
  s = readable(high, s);
  return nb::read_amount(high, s, *result, places, auto_decimal, round) ? 1 : 0;
}

}  // namespace

extern "C" {

void StringToReal(uint16_t high, const char* s, uint16_t* pos, double* result, uint8_t* done) try {
  bool ok = false;
  if (pos != nullptr && result != nullptr) ok = nb::string_to_real(high, readable(high, s), *pos, *result);
  if (done != nullptr) *done = ok ? 1 : 0;
} CORVA_BOUNDARY()

void PrepString4RealConv(uint16_t high, char* s) try {
  if (s != nullptr) nb::prepare(high, s);
} CORVA_BOUNDARY()

uint8_t MyStringToReal(uint16_t high, const char* s, double* result) try {
  const corva::frame::Settings& st = corva::frame::settings();
  return amount(high, s, result, st.currency_digits, st.auto_decimal, false);
} CORVA_BOUNDARY(0)

uint8_t MyStringToQty(uint16_t high, const char* s, double* result) try {
  const corva::frame::Settings& st = corva::frame::settings();
  return amount(high, s, result, st.real_precision, st.auto_decimal, true);
} CORVA_BOUNDARY(0)

uint8_t MyStringToRealWithNoExtras(uint16_t high, const char* s, double* result) try {
  return amount(high, s, result, 0, false, false);
} CORVA_BOUNDARY(0)

uint8_t MyStringToQtyWithNoExtras(uint16_t high, const char* s, double* result) try {
  return amount(high, s, result, 0, false, false);
} CORVA_BOUNDARY(0)

}  // extern "C"
