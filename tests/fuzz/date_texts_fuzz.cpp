// Typed and medium date texts under every date order. Any bytes are read
// without fault; a legal date written as text reads back as itself.
//   byte 0: date order (mod 3) and separator; bytes 1-4: a date value for the
//   round trips; the rest: a text read both ways (exactly HIGH + 1 bytes)
#include <cstdint>
#include <cstring>

#include "corvalib/calendar.h"
#include "frame/settings.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;

// Medium texts carry the full year; typed texts two digits, which read back
// as written only inside the window 1950-2049.
void round_trips(std::uint32_t date) {
  if (IsLegalDate(date) != 1) return;
  char medium[40];
  DateToMedStr(date, 39, medium);
  std::uint32_t back = 0;
  MedStrToDate(39, medium, &back);
  check(back == date);
  const std::uint16_t year = YEAR(date);
  if (year < 1950 || year > 2049) return;
  char typed[20];
  DateToShortStr(date, 19, typed);
  back = 0;
  ShortStrToDate(19, typed, &back, 0);
  check(back == date);
  DateToShortStr2(date, 19, typed);
  ShortStrToDate(19, typed, &back, 0);
  check(back == date);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5 || size > 4096) return 0;
  corva::frame::Settings& s = corva::frame::settings();
  s.date_order = data[0] % 3;
  s.date_separator = "/-."[(data[0] >> 2) % 3];
  std::uint32_t value;
  std::memcpy(&value, data + 1, 4);
  round_trips(value);

  std::uint16_t high = 0;
  const auto text = corva::fuzz::bounded({reinterpret_cast<const char*>(data + 5), size - 5}, high);
  std::uint32_t typed = 0, medium = 0;
  ShortStrToDate(high, text.data(), &typed, value);
  MedStrToDate(high, text.data(), &medium);
  round_trips(typed);
  round_trips(medium);
  return 0;
}
