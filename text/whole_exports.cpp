// The exported whole-number conversions: argument checks, then text/whole.
#include "corvalib/text.h"
#include "frame/boundary.h"
#include "text/whole.h"

namespace tx = corva::text;

namespace {

// Digit limits: the value before a digit may not pass `tens`, and when equal
// to it the digit must stay below `digit`.
constexpr std::uint32_t kCardTens = 6553, kCardDigit = 6;              // 65535 accepted
constexpr std::uint32_t kULongTens = 429496729, kULongDigit = 5;       // 4294967295 refused
constexpr std::uint32_t kUCharTens = 25, kUCharDigit = 5;              // 255 refused

// A null text reads as the empty text.
const char* readable(uint16_t& high, const char* text) {
  if (text != nullptr) return text;
  high = 0;
  return "";
}

void set(uint8_t* done, bool value) {
  if (done != nullptr) *done = value ? 1 : 0;
}

void write_number(uint16_t magnitude, bool negative, uint16_t width, uint16_t high, char* text,
                  uint16_t* position, uint8_t* done) {
  if (text == nullptr || position == nullptr) return set(done, false);
  bool ok = false;
  tx::put_whole(magnitude, negative, width, high, text, *position, ok);
  set(done, ok);
}

template <typename T>
void read_unsigned(uint16_t high, const char* text, uint16_t* position, T* value, uint8_t* done,
                   std::uint32_t tens, std::uint32_t digit) {
  if (position == nullptr || value == nullptr) return set(done, false);
  text = readable(high, text);
  std::uint32_t v = 0;
  bool ok = false;
  tx::read_digits(high, text, *position, v, ok, tens, digit);
  *value = static_cast<T>(v);
  set(done, ok);
}

template <typename T>
void read_signed(uint16_t high, const char* text, uint16_t* position, T* value, uint8_t* done,
                 std::uint32_t tens, std::uint32_t digit, std::uint32_t max_negative,
                 std::uint32_t max_positive) {
  if (position == nullptr || value == nullptr) return set(done, false);
  text = readable(high, text);
  std::int32_t v = 0;
  bool ok = false;
  tx::read_signed(high, text, *position, v, ok, tens, digit, max_negative, max_positive);
  if (ok) *value = static_cast<T>(v);
  set(done, ok);
}

}  // namespace

extern "C" {

void CardToString(uint16_t value, uint16_t width, uint16_t high, char* text, uint16_t* position,
                  uint8_t* done) try {
  write_number(value, false, width, high, text, position, done);
} CORVA_BOUNDARY()

void IntToString(int16_t value, uint16_t width, uint16_t high, char* text, uint16_t* position,
                 uint8_t* done) try {
  // The magnitude as a CARDINAL, so -32768 gives 32768.
  const auto magnitude = static_cast<uint16_t>(value < 0 ? -static_cast<int32_t>(value) : value);
  write_number(magnitude, value < 0, width, high, text, position, done);
} CORVA_BOUNDARY()

void StringToCard(uint16_t high, const char* text, uint16_t* position, uint16_t* value,
                  uint8_t* done) try {
  read_unsigned(high, text, position, value, done, kCardTens, kCardDigit);
} CORVA_BOUNDARY()

void StringToUnsignedLong(uint16_t high, const char* text, uint16_t* position, uint32_t* value,
                          uint8_t* done) try {
  read_unsigned(high, text, position, value, done, kULongTens, kULongDigit);
} CORVA_BOUNDARY()

void StringToUnsignedChar(uint16_t high, const char* text, uint16_t* position, uint8_t* value,
                          uint8_t* done) try {
  read_unsigned(high, text, position, value, done, kUCharTens, kUCharDigit);
} CORVA_BOUNDARY()

void StringToInt(uint16_t high, const char* text, uint16_t* position, int16_t* value,
                 uint8_t* done) try {
  read_signed(high, text, position, value, done, kCardTens, kCardDigit, 32768, 32767);
} CORVA_BOUNDARY()

void StringToLong(uint16_t high, const char* text, uint16_t* position, int32_t* value,
                  uint8_t* done) try {
  read_signed(high, text, position, value, done, kULongTens, kULongDigit, 2147483642u,
              2147483641u);
} CORVA_BOUNDARY()

void MyStringToCard(uint16_t high, const char* text, uint16_t* value) try {
  if (value == nullptr) return;
  text = readable(high, text);
  uint16_t position = 0;
  while (position < high && text[position] == ' ') ++position;
  std::uint32_t v = 0;
  bool done = false;
  tx::read_digits(high, text, position, v, done, kCardTens, kCardDigit);
  *value = static_cast<uint16_t>(v);
} CORVA_BOUNDARY()

}  // extern "C"
