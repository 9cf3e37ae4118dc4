// Times of day on a 12-hour clock and durations in hours, minutes and seconds,
// their checks, differences and sums, decimal hours, and their texts.
#pragma once
#include <cstdint>
#include <string_view>

#include "corvalib/calendar.h"

namespace corva::calendar {

bool valid_time(const CvTime& t);
bool valid_duration(const CvDuration& d);

// The duration from b to a, across midnight when a is earlier.
CvDuration time_diff(const CvTime& a, const CvTime& b);
// a - b; the hours may come out negative, minutes and seconds stay 0-59.
CvDuration duration_diff(const CvDuration& a, const CvDuration& b);
// a + b, wrapping once past 23 hours.
CvDuration duration_sum(const CvDuration& a, const CvDuration& b);

// Decimal hours to two places, from hours and minutes (seconds not used).
float hours_to_units(const CvDuration& d);
// Whole hours and rounded minutes; 1.999 gives 1 hour 60 minutes.
CvDuration units_to_hours(float units);

// Writes the text and its NUL at out (room for 24 characters covers every
// record); returns the length.
std::size_t duration_text(const CvDuration& d, bool with_seconds, char* out);
std::size_t time_text(const CvTime& t, bool with_seconds, bool with_half, char* out);

// Reads 'H:MM[:SS]'; false (and a cleared record) when it cannot.
bool read_duration(std::string_view text, CvDuration& d);
// As read_duration, and PM when the text holds "PM" or "pm" anywhere.
bool read_time(std::string_view text, CvTime& t);

}  // namespace corva::calendar
