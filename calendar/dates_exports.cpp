// The exported date functions: argument checks, then calendar/dates.
#include "calendar/dates.h"
#include "corvalib/calendar.h"

namespace cal = corva::calendar;

extern "C" {

uint8_t IsLegalDate(uint32_t date) { return cal::is_legal(date) ? 1 : 0; }

void MakeDate(uint16_t month, uint16_t day, uint16_t year, uint32_t* date) {
  if (date != nullptr) *date = cal::make(year, month & 0xFFu, day & 0xFFu);
}

void ClearDate(uint32_t* date) {
  if (date != nullptr) *date = 0;
}

uint16_t MONTH(uint32_t date) { return cal::fields(date).month; }
uint16_t DAY(uint32_t date) { return cal::fields(date).day; }
uint16_t YEAR(uint32_t date) { return cal::fields(date).year; }

int16_t CompareDates(uint32_t a, uint32_t b) { return static_cast<int16_t>(cal::compare(a, b)); }

void IncDate(uint32_t* date, uint16_t unit) {
  if (date != nullptr) cal::increment(*date, unit);
}

void DecDate(uint32_t* date, uint16_t unit) {
  if (date != nullptr) cal::decrement(*date, unit);
}

void EndOfMonth(uint32_t* date) {
  if (date != nullptr) cal::end_of_month(*date);
}

void EndOfQtr(uint32_t* date) {
  if (date != nullptr) cal::end_of_quarter(*date);
}

void vSetQtrEndingDate(int16_t quarter, uint16_t year, uint32_t* date) {
  if (date != nullptr) *date = cal::quarter_end(quarter, year);
}

int32_t AbsDate(uint32_t date) { return cal::day_number(date); }

void FileDate(int32_t day_number, uint32_t* date) {
  if (date != nullptr) *date = cal::from_day_number(day_number);
}

int32_t DayOfWeek(int32_t day_number) { return cal::weekday(day_number); }

int16_t DateInRange(const CvDateRange* range, uint32_t date) {
  if (range == nullptr) return -1;
  return static_cast<int16_t>(cal::in_range(range->StartDate, range->EndDate, date, false));
}

int16_t DateInRangeWithNullRange(const CvDateRange* range, uint32_t date) {
  if (range == nullptr) return -1;
  return static_cast<int16_t>(cal::in_range(range->StartDate, range->EndDate, date, true));
}

uint16_t NumDaysInMonthInYear(int16_t month, uint16_t year) {
  cal::leap_step(year);
  return cal::month_length(static_cast<uint16_t>(month));
}

uint16_t NumDaysInMonth(int16_t month) { return cal::month_length(static_cast<uint16_t>(month)); }

}  // extern "C"
