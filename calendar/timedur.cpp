#include "calendar/timedur.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "corvalib/frame.h"

namespace corva::calendar {
namespace {

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

// Hour on a 24-hour clock: 12 AM is 0, 1-11 PM are 13-23.
int hour24(const CvTime& t) {
  if (t.Half != 0 && t.Hour != 12) return t.Hour + 12;
  if (t.Half == 0 && t.Hour == 12) return 0;
  return t.Hour;
}

// a - b field by field with borrows; the hours are left as they come.
CvDuration subtract(int ah, int am, int as, int bh, int bm, int bs) {
  int s = as - bs, m = am - bm, h = ah - bh;
  if (s < 0) s += 60, --m;
  if (m < 0) m += 60, --h;
  return {i16(h), i16(m), i16(s)};
}

// Whole number in the manner of atoi: leading white space, a sign, digits up
// to the first other character; no digit gives 0. Saturates instead of
// overflowing.
long leading_number(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (v < 100000) v = v * 10 + (s[i] - '0');
  }
  return negative ? -v : v;
}

// Splits at ':' (runs of colons count as one, leading ones are skipped) and
// reads up to three parts; false when the hour or minute part is missing or a
// part is out of range.
bool read_parts(std::string_view text, int max_hour, int parts[3]) {
  // The parts are read from a heap copy of the text, as every reader of this
  // family does; no copy means no reading.
  void* block = nullptr;
  if (!_CppAllocate(&block, static_cast<std::uint32_t>(text.size() + 1), "TIMEDUR", __LINE__))
    return false;
  char* copy = static_cast<char*>(block);
  std::memcpy(copy, text.data(), text.size());
  const std::string_view work(copy, text.size());

  const int max[3] = {max_hour, 59, 59};
  int found = 0;
  bool ok = true;
  std::size_t pos = 0;
  while (found < 3 && ok) {
    pos = work.find_first_not_of(':', pos);
    if (pos == std::string_view::npos) break;
    std::size_t end = work.find(':', pos);
    if (end == std::string_view::npos) end = work.size();
    const long v = leading_number(work.substr(pos, end - pos));
    ok = v >= 0 && v <= max[found];
    parts[found++] = static_cast<int>(v);
    pos = end;
  }
  _RealDeAllocate(block);
  return ok && found >= 2;
}

}  // namespace

bool valid_time(const CvTime& t) {
  return t.Hour >= 1 && t.Hour <= 12 && t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 &&
         t.Second <= 59 && (t.Half == 0 || t.Half == 1);
}

bool valid_duration(const CvDuration& d) {
  return d.Hours >= 0 && d.Hours <= 23 && d.Minutes >= 0 && d.Minutes <= 59 && d.Seconds >= 0 &&
         d.Seconds <= 59;
}

CvDuration time_diff(const CvTime& a, const CvTime& b) {
  CvDuration d = subtract(hour24(a), a.Minute, a.Second, hour24(b), b.Minute, b.Second);
  if (d.Hours < 0) d.Hours = i16(d.Hours + 24);
  return d;
}

CvDuration duration_diff(const CvDuration& a, const CvDuration& b) {
  return subtract(a.Hours, a.Minutes, a.Seconds, b.Hours, b.Minutes, b.Seconds);
}

CvDuration duration_sum(const CvDuration& a, const CvDuration& b) {
  int s = a.Seconds + b.Seconds, m = a.Minutes + b.Minutes, h = a.Hours + b.Hours;
  if (s > 59) s -= 60, ++m;
  if (m > 59) m -= 60, ++h;
  if (h > 23) h -= 24;
  return {i16(h), i16(m), i16(s)};
}

float hours_to_units(const CvDuration& d) {
  const float fraction = static_cast<float>(d.Minutes) / 60.0f;
  const double hundredths = (fraction + d.Hours + 0.005) * 100.0;
  // Cut toward zero, kept in 16 bits; every int16 record stays in int32 range.
  const auto cut = static_cast<std::int16_t>(static_cast<std::int32_t>(hundredths));
  return static_cast<float>(cut) / 100.0f;
}

CvDuration units_to_hours(float units) {
  CvDuration d{0, 0, 0};
  // Hours that do not fit the record (or no number at all) give a cleared one.
  if (!(units > -32768.0f && units < 32768.0f)) return d;
  const auto hours = static_cast<std::int32_t>(units);
  d.Hours = i16(hours);
  const float minutes = (units - static_cast<float>(hours)) * 60.0f;
  d.Minutes = i16(static_cast<std::int32_t>(static_cast<double>(minutes) + 0.5));
  return d;
}

std::size_t duration_text(const CvDuration& d, bool with_seconds, char* out) {
  const int n = with_seconds ? std::snprintf(out, 24, "%d:%02d:%02d", d.Hours, d.Minutes, d.Seconds)
                             : std::snprintf(out, 24, "%d:%02d", d.Hours, d.Minutes);
  return static_cast<std::size_t>(n);
}

std::size_t time_text(const CvTime& t, bool with_seconds, bool with_half, char* out) {
  const char* half = t.Half != 0 ? "PM" : "AM";
  int n;
  if (with_seconds && with_half)
    n = std::snprintf(out, 24, "%d:%02d:%02d %s", t.Hour, t.Minute, t.Second, half);
  else if (with_seconds)
    n = std::snprintf(out, 24, "%d:%02d:%02d", t.Hour, t.Minute, t.Second);
  else if (with_half)
    n = std::snprintf(out, 24, "%d:%02d %s", t.Hour, t.Minute, half);
  else
    n = std::snprintf(out, 24, "%d:%02d", t.Hour, t.Minute);
  return static_cast<std::size_t>(n);
}

bool read_duration(std::string_view text, CvDuration& d) {
  int parts[3] = {0, 0, 0};
  d = {0, 0, 0};
  if (!read_parts(text, 23, parts)) return false;
  d = {i16(parts[0]), i16(parts[1]), i16(parts[2])};
  return true;
}

bool read_time(std::string_view text, CvTime& t) {
  int parts[3] = {0, 0, 0};
  t = {0, 0, 0, 0};
  if (!read_parts(text, 23, parts)) return false;
  const bool pm = text.find("PM") != std::string_view::npos || text.find("pm") != std::string_view::npos;
  t = {i16(parts[0]), i16(parts[1]), i16(parts[2]), i16(pm ? 1 : 0)};
  return true;
}

}  // namespace corva::calendar
