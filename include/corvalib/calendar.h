/* Dates, date texts and the clock, times of day and durations. */
#ifndef CORVALIB_CALENDAR_H
#define CORVALIB_CALENDAR_H

#include "base.h"

CORVA_BEGIN_DECLS

/* ---- Dates -----------------------------------------------------------------
 * A date value is 32 bits: the day in bits 0-7, the month in bits 8-15 and the
 * full year in bits 16-31 (29 February 2000 is 0x07D0021D); 0 is the empty
 * date. Legal dates run from 1 January 1901 to 31 December 2099, and comparing
 * two values as signed integers orders them in time. Day numbers count from
 * 1 January 1901 (day 1) to 31 December 2099 (day 72684); 0 means no date.
 *
 * February's length is process-wide state: each operation that looks at a
 * year sets it for that year, and NumDaysInMonth(2) reports what the last one
 * left. Call these from one thread at a time.
 *
 * A null date pointer is ignored (nothing is written). */

/* A start and an end date, either of which may be empty. */
typedef struct CvDateRange {
  uint32_t StartDate;
  uint32_t EndDate;
} CvDateRange;

/* Stepping units of IncDate and DecDate; any other unit changes nothing. */
#define CORVA_STEP_DAY 1
#define CORVA_STEP_WEEK 2
#define CORVA_STEP_MONTH 3
#define CORVA_STEP_YEAR 4

/* 1 when the date lies in 1901-2099 and is a real calendar date. */
CORVA_API uint8_t IsLegalDate(uint32_t date);
/* Packs month, day (low 8 bits each) and year (low 16 bits); nothing checked. */
CORVA_API void MakeDate(uint16_t month, uint16_t day, uint16_t year, uint32_t *date);
CORVA_API void ClearDate(uint32_t *date);
CORVA_API uint16_t MONTH(uint32_t date);
CORVA_API uint16_t DAY(uint32_t date);
CORVA_API uint16_t YEAR(uint32_t date);
/* 1 when a is later, -1 when earlier, 0 when equal. */
CORVA_API int16_t CompareDates(uint32_t a, uint32_t b);
/* One unit forward, in place, never past 31 December 2099. A month end stays a
 * month end and a day past the new month's end is cut to it: 31 January 1999
 * plus a month is 28 February 1999, and 28 February 1999 plus a month is
 * 31 March 1999. A year from 29 February 2000 is 28 February 2001, and a year
 * from 28 February 2003 is 29 February 2004. */
CORVA_API void IncDate(uint32_t *date, uint16_t unit);
/* One unit back, in place, never before 1 January 1901 (the empty date minus a
 * day is 1 January 1901). 31 March 1999 minus a month is 28 February 1999. */
CORVA_API void DecDate(uint32_t *date, uint16_t unit);
/* The last day of the date's month. */
CORVA_API void EndOfMonth(uint32_t *date);
/* The last day of the date's calendar quarter. */
CORVA_API void EndOfQtr(uint32_t *date);
/* The last day of quarter 1-4 of the year; any other quarter means the first. */
CORVA_API void vSetQtrEndingDate(int16_t quarter, uint16_t year, uint32_t *date);
/* The day number; 0 when the date is not legal. */
CORVA_API int32_t AbsDate(uint32_t date);
/* The date of a day number 1-72684; 1 January 1901 for numbers below 1.
 * Numbers past 72684 give dates outside the legal range. */
CORVA_API void FileDate(int32_t day_number, uint32_t *date);
/* (day_number + 1) mod 7, signed: 0 Sunday ... 6 Saturday for day numbers >= 0. */
CORVA_API int32_t DayOfWeek(int32_t day_number);
/* -1 when the date is not legal or before the start, 1 when after the end, 0
 * when inside (both ends included). A null range gives -1. */
CORVA_API int16_t DateInRange(const CvDateRange *range, uint32_t date);
/* As DateInRange, but an empty bound does not limit; both empty gives -1. */
CORVA_API int16_t DateInRangeWithNullRange(const CvDateRange *range, uint32_t date);
/* The month's length in the year; 0 for months outside 1-12. */
CORVA_API uint16_t NumDaysInMonthInYear(int16_t month, uint16_t year);
/* The month's length with February as the last date operation left it. */
CORVA_API uint16_t NumDaysInMonth(int16_t month);

/* ---- Date texts and the clock ----------------------------------------------
 * Texts follow the regional date order (0 month-day-year, 1 day-month-year,
 * 2 year-month-day) and, in the short form, the date separator. A date that
 * is not legal writes as the empty text; so does every date under an unknown
 * date order. A null text pointer is never written. */

/* The month's (1-12) or weekday's (0 Sunday - 6 Saturday) name, at most high
 * characters and always terminated; empty for other numbers. */
CORVA_API void GetMonthName(int16_t month, uint16_t high, char *text);
CORVA_API void GetDayName(int16_t weekday, uint16_t high, char *text);
/* '1/5/99' and, with two-digit day and month, '01/05/99'. A text longer than
 * high fills all high + 1 positions and has no NUL. */
CORVA_API void DateToShortStr(uint32_t date, uint16_t high, char *text);
CORVA_API void DateToShortStr2(uint32_t date, uint16_t high, char *text);
/* 'Jan 5, 1999' (order 1: '5 Jan 1999', order 2: '1999 Jan 5'); cut to high
 * characters, always terminated. */
CORVA_API void DateToMedStr(uint32_t date, uint16_t high, char *text);
/* 'January 5, 1999'; like the short form, may fill all high + 1 positions. */
CORVA_API void DateToLongStr(uint32_t date, uint16_t high, char *text);
/* Reads 'Jan 5, 1999', '5 Jan 1999' or '1999 Jan 5' (by the date order, any
 * case; the first 19 characters) into *date. The year is taken as written
 * ('Jan 5, 99' is the year 99), and a full month name is not understood.
 * Check the result with IsLegalDate. Under an unknown order: the empty date. */
CORVA_API void MedStrToDate(uint16_t high, const char *text, uint32_t *date);
/* Reads a typed date: one to three numbers, with any non-digits between them
 * or run together ('1/5/99', '010599', '1231', '5'); a missing year or month
 * comes from default_date (the empty date when that is not legal), and a year
 * below 1900 is windowed (00-49 to 20xx, 50-1899 plus 1900). Parts run
 * together are cut after two digits, so in order 0 '12/5' is 2 January (as
 * '01' '2/5') while '12/05' is 5 December. Unreadable texts give the empty date or a date that
 * IsLegalDate rejects. Under an unknown order the result is the default. */
CORVA_API void ShortStrToDate(uint16_t high, const char *text, uint32_t *date,
                              uint32_t default_date);
/* Today from the local clock; GetDate writes it as DateToShortStr does. */
CORVA_API void GetCurrentDate(uint32_t *date);
CORVA_API void GetDate(uint16_t high, char *text);
/* The local time as 'HH:MM:SS.hh' (hundredths); with high below 11 the text is
 * cut to high + 1 characters and has no NUL. */
CORVA_API void GetTime(uint16_t high, char *text);
/* hour << 24 | minute << 16 | second << 8 | hundredths, local time. */
CORVA_API int32_t GetDosTime(void);

CORVA_END_DECLS

#endif
