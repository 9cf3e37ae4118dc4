// The exported date texts, date readers and clock functions.
#include <cstdio>
#include <cstring>

#include "calendar/date_text.h"
#include "corvalib/calendar.h"
#include "corvaplat/clock.h"
#include "frame/boundary.h"
#include "text/bstr.h"

namespace cal = corva::calendar;
namespace bs = corva::text;

namespace {

// Copies all high + 1 positions when the text is that long (leaving no NUL, as
// a bounded string may), and NUL-fills the rest.
void write_full(uint16_t high, char* text, std::string_view source) {
  if (text == nullptr) return;
  const std::size_t n = std::min<std::size_t>(source.size(), std::size_t{high} + 1);
  if (n != 0) std::memcpy(text, source.data(), n);
  bs::fill_from(high, text, n);
}

}  // namespace

extern "C" {

void GetMonthName(int16_t month, uint16_t high, char* text) try {
  bs::write(high, text, cal::month_name(month).view());
} CORVA_BOUNDARY()

void GetDayName(int16_t weekday, uint16_t high, char* text) try {
  bs::write(high, text, cal::day_name(weekday).view());
} CORVA_BOUNDARY()

void DateToShortStr(uint32_t date, uint16_t high, char* text) try {
  write_full(high, text, cal::short_text(date, false).view());
} CORVA_BOUNDARY()

void DateToShortStr2(uint32_t date, uint16_t high, char* text) try {
  write_full(high, text, cal::short_text(date, true).view());
} CORVA_BOUNDARY()

void DateToMedStr(uint32_t date, uint16_t high, char* text) try {
  bs::write(high, text, cal::medium_text(date).view());
} CORVA_BOUNDARY()

void DateToLongStr(uint32_t date, uint16_t high, char* text) try {
  write_full(high, text, cal::long_text(date).view());
} CORVA_BOUNDARY()

void MedStrToDate(uint16_t high, const char* text, uint32_t* date) try {
  if (date != nullptr) cal::read_medium(bs::view(high, text), *date);
} CORVA_BOUNDARY()

void ShortStrToDate(uint16_t high, const char* text, uint32_t* date, uint32_t default_date) try {
  if (date != nullptr) *date = cal::read_short(bs::view(high, text), default_date);
} CORVA_BOUNDARY()

void GetCurrentDate(uint32_t* date) try {
  if (date != nullptr) *date = cal::today();
} CORVA_BOUNDARY()

void GetDate(uint16_t high, char* text) try {
  DateToShortStr(cal::today(), high, text);
} CORVA_BOUNDARY()

void GetTime(uint16_t high, char* text) try {
  const corva::platform::LocalTime t = corva::platform::GetLocalTime();
  cal::Text s;
  s.add_number(static_cast<unsigned>(t.hour), 2);
  s.add(':');
  s.add_number(static_cast<unsigned>(t.minute), 2);
  s.add(':');
  s.add_number(static_cast<unsigned>(t.second), 2);
  s.add('.');
  s.add_number(static_cast<unsigned>(t.milliseconds / 10), 2);
  write_full(high, text, s.view());
} CORVA_BOUNDARY()

int32_t GetDosTime(void) try {
  const corva::platform::LocalTime t = corva::platform::GetLocalTime();
  return t.hour * 16777216 + t.minute * 65536 + t.second * 256 + t.milliseconds / 10;
} CORVA_BOUNDARY(0)

}  // extern "C"
