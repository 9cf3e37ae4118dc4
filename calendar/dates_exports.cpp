// The exported date functions: argument checks, then calendar/dates.
#include "calendar/dates.h"
#include "corvalib/calendar.h"
#include "frame/boundary.h"

namespace cal = corva::calendar;

extern "C" {

uint8_t IsLegalDate(uint32_t date) try { return cal::is_legal(date) ? 1 : 0; } CORVA_BOUNDARY(0)

void MakeDate(uint16_t month, uint16_t day, uint16_t year, uint32_t* date) try {
  if (date != nullptr) *date = cal::make(year, month & 0xFFu, day & 0xFFu);
} CORVA_BOUNDARY()

void ClearDate(uint32_t* date) try {
  if (date != nullptr) *date = 0;
} CORVA_BOUNDARY()

uint16_t MONTH(uint32_t date) try { return cal::fields(date).month; } CORVA_BOUNDARY(0)
uint16_t DAY(uint32_t date) try { return cal::fields(date).day; } CORVA_BOUNDARY(0)
uint16_t YEAR(uint32_t date) try { return cal::fields(date).year; } CORVA_BOUNDARY(0)

int16_t CompareDates(uint32_t a, uint32_t b) try {
  return static_cast<int16_t>(cal::compare(a, b));
} CORVA_BOUNDARY(0)

void IncDate(uint32_t* date, uint16_t unit) try {
  if (date != nullptr) cal::increment(*date, unit);
} CORVA_BOUNDARY()

void DecDate(uint32_t* date, uint16_t unit) try {
  if (date != nullptr) cal::decrement(*date, unit);
} CORVA_BOUNDARY()

void EndOfMonth(uint32_t* date) try {
  if (date != nullptr) cal::end_of_month(*date);
} CORVA_BOUNDARY()

void EndOfQtr(uint32_t* date) try {
  if (date != nullptr) cal::end_of_quarter(*date);
} CORVA_BOUNDARY()

void vSetQtrEndingDate(int16_t quarter, uint16_t year, uint32_t* date) try {
  if (date != nullptr) *date = cal::quarter_end(quarter, year);
} CORVA_BOUNDARY()

int32_t AbsDate(uint32_t date) try { return cal::day_number(date); } CORVA_BOUNDARY(0)

void FileDate(int32_t day_number, uint32_t* date) try {
  if (date != nullptr) *date = cal::from_day_number(day_number);
} CORVA_BOUNDARY()

int32_t DayOfWeek(int32_t day_number) try { return cal::weekday(day_number); } CORVA_BOUNDARY(0)

int16_t DateInRange(const CvDateRange* range, uint32_t date) try {
  if (range == nullptr) return -1;
  return static_cast<int16_t>(cal::in_range(range->StartDate, range->EndDate, date, false));
} CORVA_BOUNDARY(0)

int16_t DateInRangeWithNullRange(const CvDateRange* range, uint32_t date) try {
  if (range == nullptr) return -1;
  return static_cast<int16_t>(cal::in_range(range->StartDate, range->EndDate, date, true));
} CORVA_BOUNDARY(0)

uint16_t NumDaysInMonthInYear(int16_t month, uint16_t year) try {
  cal::leap_step(year);
  return cal::month_length(static_cast<uint16_t>(month));
} CORVA_BOUNDARY(0)

uint16_t NumDaysInMonth(int16_t month) try {
  return cal::month_length(static_cast<uint16_t>(month));
} CORVA_BOUNDARY(0)

}  // extern "C"
