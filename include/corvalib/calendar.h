/** @defgroup calendar Calendar
 * Dates, date texts and the clock, times of day and durations.
 * @{ */
#ifndef CORVALIB_CALENDAR_H
#define CORVALIB_CALENDAR_H

#include "base.h"

CORVA_BEGIN_DECLS

/** @defgroup calendar_dates Dates
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
 * A null date pointer is ignored (nothing is written).
 * @{ */

/** A start and an end date, either of which may be empty. */
typedef struct CvDateRange {
  uint32_t StartDate; /**< the first day of the range; 0: open at the start */
  uint32_t EndDate;   /**< the last day of the range; 0: open at the end */
} CvDateRange;

/** @name Stepping units of IncDate and DecDate
 * Any other unit changes nothing. */
/** @{ */
#define CORVA_STEP_DAY 1   /**< one day */
#define CORVA_STEP_WEEK 2  /**< seven days */
#define CORVA_STEP_MONTH 3 /**< one month, a month end staying a month end */
#define CORVA_STEP_YEAR 4  /**< one year */
/** @} */

/** 1 when the date lies in 1901-2099 and is a real calendar date. */
CORVA_API uint8_t IsLegalDate(uint32_t date);
/** Packs month, day (low 8 bits each) and year (low 16 bits); nothing checked. */
CORVA_API void MakeDate(uint16_t month, uint16_t day, uint16_t year, uint32_t *date);
/** Stores the empty date (0). */
CORVA_API void ClearDate(uint32_t *date);
/** The month field of a date value (bits 8-15); not checked. */
CORVA_API uint16_t MONTH(uint32_t date);
/** The day field of a date value (bits 0-7); not checked. */
CORVA_API uint16_t DAY(uint32_t date);
/** The year field of a date value (bits 16-31); not checked. */
CORVA_API uint16_t YEAR(uint32_t date);
/** 1 when a is later, -1 when earlier, 0 when equal. */
CORVA_API int16_t CompareDates(uint32_t a, uint32_t b);
/** One unit forward, in place, never past 31 December 2099. A month end stays a
 * month end and a day past the new month's end is cut to it: 31 January 1999
 * plus a month is 28 February 1999, and 28 February 1999 plus a month is
 * 31 March 1999. A year from 29 February 2000 is 28 February 2001, and a year
 * from 28 February 2003 is 29 February 2004. */
CORVA_API void IncDate(uint32_t *date, uint16_t unit);
/** One unit back, in place, never before 1 January 1901 (the empty date minus a
 * day is 1 January 1901). 31 March 1999 minus a month is 28 February 1999. */
CORVA_API void DecDate(uint32_t *date, uint16_t unit);
/** The last day of the date's month. */
CORVA_API void EndOfMonth(uint32_t *date);
/** The last day of the date's calendar quarter. */
CORVA_API void EndOfQtr(uint32_t *date);
/** The last day of quarter 1-4 of the year; any other quarter means the first. */
CORVA_API void vSetQtrEndingDate(int16_t quarter, uint16_t year, uint32_t *date);
/** The day number; 0 when the date is not legal. */
CORVA_API int32_t AbsDate(uint32_t date);
/** The date of a day number 1-72684; 1 January 1901 for numbers below 1.
 * Numbers past 72684 give dates outside the legal range. */
CORVA_API void FileDate(int32_t day_number, uint32_t *date);
/** (day_number + 1) mod 7, signed: 0 Sunday ... 6 Saturday for day numbers >= 0. */
CORVA_API int32_t DayOfWeek(int32_t day_number);
/** -1 when the date is not legal or before the start, 1 when after the end, 0
 * when inside (both ends included). A null range gives -1. */
CORVA_API int16_t DateInRange(const CvDateRange *range, uint32_t date);
/** As DateInRange, but an empty bound does not limit; both empty gives -1. */
CORVA_API int16_t DateInRangeWithNullRange(const CvDateRange *range, uint32_t date);
/** The month's length in the year; 0 for months outside 1-12. */
CORVA_API uint16_t NumDaysInMonthInYear(int16_t month, uint16_t year);
/** The month's length with February as the last date operation left it. */
CORVA_API uint16_t NumDaysInMonth(int16_t month);

/** @} */

/** @defgroup calendar_texts Date texts and the clock
 * Texts follow the regional date order (0 month-day-year, 1 day-month-year,
 * 2 year-month-day) and, in the short form, the date separator. A date that
 * is not legal writes as the empty text; so does every date under an unknown
 * date order. A null text pointer is never written.
 * @{ */

/** The month's name ("January" for 1 ... "December" for 12), at most high
 * characters and always terminated; empty for other numbers. */
CORVA_API void GetMonthName(int16_t month, uint16_t high, char *text);
/** The weekday's name ("Sunday" for 0 ... "Saturday" for 6), at most high
 * characters and always terminated; empty for other numbers. */
CORVA_API void GetDayName(int16_t weekday, uint16_t high, char *text);
/** The short form, '1/5/99' in date order 0 with separator "/". A text longer
 * than high fills all high + 1 positions and has no NUL. */
CORVA_API void DateToShortStr(uint32_t date, uint16_t high, char *text);
/** The short form with two-digit day and month: '01/05/99'. A text longer
 * than high fills all high + 1 positions and has no NUL. */
CORVA_API void DateToShortStr2(uint32_t date, uint16_t high, char *text);
/** 'Jan 5, 1999' (order 1: '5 Jan 1999', order 2: '1999 Jan 5'); cut to high
 * characters, always terminated. */
CORVA_API void DateToMedStr(uint32_t date, uint16_t high, char *text);
/** 'January 5, 1999'; like the short form, may fill all high + 1 positions. */
CORVA_API void DateToLongStr(uint32_t date, uint16_t high, char *text);
/** Reads 'Jan 5, 1999', '5 Jan 1999' or '1999 Jan 5' (by the date order, any
 * case; the first 19 characters) into *date. The year is taken as written
 * ('Jan 5, 99' is the year 99), and a full month name is not understood.
 * Check the result with IsLegalDate. Under an unknown order: the empty date. */
CORVA_API void MedStrToDate(uint16_t high, const char *text, uint32_t *date);
/** Reads a typed date: one to three numbers, with any non-digits between them
 * or run together ('1/5/99', '010599', '1231', '5'); a missing year or month
 * comes from default_date (the empty date when that is not legal), and a year
 * below 1900 is windowed (00-49 to 20xx, 50-1899 plus 1900). Parts run
 * together are cut after two digits, so in order 0 '12/5' is 2 January (as
 * '01' '2/5') while '12/05' is 5 December. Unreadable texts give the empty date or a date that
 * IsLegalDate rejects. Under an unknown order the result is the default. */
CORVA_API void ShortStrToDate(uint16_t high, const char *text, uint32_t *date,
                              uint32_t default_date);
/** Today from the local clock. */
CORVA_API void GetCurrentDate(uint32_t *date);
/** Today from the local clock, written as DateToShortStr writes it. */
CORVA_API void GetDate(uint16_t high, char *text);
/** The local time as 'HH:MM:SS.hh' (hundredths); with high below 11 the text is
 * cut to high + 1 characters and has no NUL. */
CORVA_API void GetTime(uint16_t high, char *text);
/** hour << 24 | minute << 16 | second << 8 | hundredths, local time. */
CORVA_API int32_t GetDosTime(void);

/** @} */

/** @defgroup calendar_times Times of day and durations
 * Results named b... are 1 or 0; flags count as set when not 0. Texts have no
 * HIGH: the caller's array needs room for '12:59:59 PM' and its NUL (12
 * bytes) for legal records, and 24 bytes covers every record. Null record or
 * text pointers are never written or read: checks answer 0, texts come out
 * empty, arithmetic does nothing.
 * @{ */

/** A time of day on the 12-hour clock: hour 1-12, minute and second 0-59, Half
 * 0 for AM and 1 for PM. Midnight is 12:00:00 AM, noon 12:00:00 PM. */
typedef struct CvTime {
  int16_t Hour;   /**< 1-12 */
  int16_t Minute; /**< 0-59 */
  int16_t Second; /**< 0-59 */
  int16_t Half;   /**< 0 AM, 1 PM */
} CvTime;

/** A duration: hours 0-23, minutes and seconds 0-59 when legal. */
typedef struct CvDuration {
  int16_t Hours;   /**< 0-23 when legal */
  int16_t Minutes; /**< 0-59 when legal */
  int16_t Seconds; /**< 0-59 when legal */
} CvDuration;

/** 1 when every field of the time lies in its range (see CvTime). */
CORVA_API int32_t bIsValidTime(const CvTime *time);
/** 1 when every field of the duration lies in its range (see CvDuration). */
CORVA_API int32_t bIsValidDuration(const CvDuration *duration);

/** The duration from b to a, across midnight when a is earlier
 * (1:00 AM from 11:00 PM is 2:00:00). */
CORVA_API void vTimeDiff(const CvTime *a, const CvTime *b, CvDuration *diff);
/** a - b; the hours may be negative (1:00:00 - 2:30:00 is -2 h 30 min). */
CORVA_API void vDurationDiff(const CvDuration *a, const CvDuration *b, CvDuration *diff);
/** a + b, dropping one day past 23 hours (23:30 + 1:45 is 1:15). */
CORVA_API void vDurationSum(const CvDuration *a, const CvDuration *b, CvDuration *sum);
/** Decimal hours to two places from hours and minutes: 1:30 is 1.5, 0:20 is
 * 0.33, 7:59 is 7.98; the seconds do not count. */
CORVA_API float fHoursToUnits(const CvDuration *duration);
/** Whole hours and rounded minutes, seconds 0: 1.5 is 1:30:00. Minutes are not
 * carried (1.999 is 1 hour 60 minutes). Units outside the record's range, or
 * not a number, give 0:00:00. */
CORVA_API void vUnitsToHours(float units, CvDuration *duration);
/** 'H:MM:SS', or 'H:MM' without seconds; always 1. */
CORVA_API int32_t bDurationToString(const CvDuration *duration, char *text, int32_t with_seconds);
/** 'H:MM:SS PM', 'H:MM:SS', 'H:MM PM' or 'H:MM'; always 1. */
CORVA_API int32_t bTimeToString(const CvTime *time, char *text, int32_t with_seconds,
                                int32_t with_half);
/** Reads 'H:MM' or 'H:MM:SS' (hours 0-23); 1 when read, else 0 and a cleared
 * record. Each part is read as atoi does, so 'abc:def' is 0:00:00. */
CORVA_API int32_t bStringToDuration(const char *text, CvDuration *duration);
/** As bStringToDuration, and PM when the text holds "PM" or "pm" anywhere.
 * Hours 13-23 and 0 are taken as typed ('17:30' is hour 17, which
 * bIsValidTime rejects). */
CORVA_API int32_t bStringToTime(const char *text, CvTime *time);

/** @} */

/** @} */

CORVA_END_DECLS

#endif
