// The exported time-of-day and duration functions.
#include <cstring>

#include "calendar/timedur.h"
#include "corvalib/calendar.h"
#include "frame/boundary.h"

namespace cal = corva::calendar;

extern "C" {

int32_t bIsValidTime(const CvTime* time) try {
  return time != nullptr && cal::valid_time(*time);
} CORVA_BOUNDARY(0)

int32_t bIsValidDuration(const CvDuration* duration) try {
  return duration != nullptr && cal::valid_duration(*duration);
} CORVA_BOUNDARY(0)

void vTimeDiff(const CvTime* a, const CvTime* b, CvDuration* diff) try {
  if (a != nullptr && b != nullptr && diff != nullptr) *diff = cal::time_diff(*a, *b);
} CORVA_BOUNDARY()

void vDurationDiff(const CvDuration* a, const CvDuration* b, CvDuration* diff) try {
  if (a != nullptr && b != nullptr && diff != nullptr) *diff = cal::duration_diff(*a, *b);
} CORVA_BOUNDARY()

void vDurationSum(const CvDuration* a, const CvDuration* b, CvDuration* sum) try {
  if (a != nullptr && b != nullptr && sum != nullptr) *sum = cal::duration_sum(*a, *b);
} CORVA_BOUNDARY()

float fHoursToUnits(const CvDuration* duration) try {
  return duration != nullptr ? cal::hours_to_units(*duration) : 0.0f;
} CORVA_BOUNDARY(0)

void vUnitsToHours(float units, CvDuration* duration) try {
  if (duration != nullptr) *duration = cal::units_to_hours(units);
} CORVA_BOUNDARY()

int32_t bDurationToString(const CvDuration* duration, char* text, int32_t with_seconds) try {
  if (text == nullptr) return 1;
  char out[24] = "";
  const std::size_t n =
      duration != nullptr ? cal::duration_text(*duration, with_seconds != 0, out) : 0;
  std::memcpy(text, out, n + 1);
  return 1;
} CORVA_BOUNDARY(0)

int32_t bTimeToString(const CvTime* time, char* text, int32_t with_seconds, int32_t with_half) try {
  if (text == nullptr) return 1;
  char out[24] = "";
  const std::size_t n =
      time != nullptr ? cal::time_text(*time, with_seconds != 0, with_half != 0, out) : 0;
  std::memcpy(text, out, n + 1);
  return 1;
} CORVA_BOUNDARY(0)

int32_t bStringToDuration(const char* text, CvDuration* duration) try {
  if (duration == nullptr) return 0;
  if (text == nullptr) {
    *duration = {0, 0, 0};
    return 0;
  }
  return cal::read_duration(text, *duration) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t bStringToTime(const char* text, CvTime* time) try {
  if (time == nullptr) return 0;
  if (text == nullptr) {
    *time = {0, 0, 0, 0};
    return 0;
  }
  return cal::read_time(text, *time) ? 1 : 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
