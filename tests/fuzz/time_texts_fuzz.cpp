// Times of day and durations as text. Any bytes are read without fault; a
// legal record read from text writes and reads back as itself, and any record
// writes within the 24 bytes the interface promises.
//   bytes 0-7: a record of four 16-bit fields; the rest: a text
#include <cstdint>
#include <cstring>
#include <string>

#include "corvalib/calendar.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;

bool same(const CvTime& a, const CvTime& b) {
  return a.Hour == b.Hour && a.Minute == b.Minute && a.Second == b.Second &&
         (a.Half != 0) == (b.Half != 0);
}

bool same(const CvDuration& a, const CvDuration& b) {
  return a.Hours == b.Hours && a.Minutes == b.Minutes && a.Seconds == b.Seconds;
}

void time_round_trip(const CvTime& t) {
  if (bIsValidTime(&t) != 1) return;
  char text[24];
  check(bTimeToString(&t, text, 1, 1) == 1);
  CvTime back{};
  check(bStringToTime(text, &back) == 1 && same(back, t));
}

void duration_round_trip(const CvDuration& d) {
  if (bIsValidDuration(&d) != 1) return;
  char text[24];
  check(bDurationToString(&d, text, 1) == 1);
  CvDuration back{};
  check(bStringToDuration(text, &back) == 1 && same(back, d));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8 || size > 1024) return 0;
  CvTime record;
  std::memcpy(&record, data, sizeof record);
  CvDuration span;
  std::memcpy(&span, data, sizeof span);
  // Any record: the texts stay within 24 bytes (the sanitizer sees an overrun).
  for (int flags = 0; flags < 4; ++flags) {
    char text[24];
    bTimeToString(&record, text, flags & 1, flags >> 1);
    bDurationToString(&span, text, flags & 1);
  }
  time_round_trip(record);
  duration_round_trip(span);

  const std::string text(reinterpret_cast<const char*>(data + 8), size - 8);
  CvTime t{};
  if (bStringToTime(text.c_str(), &t) == 1) time_round_trip(t);
  CvDuration d{};
  if (bStringToDuration(text.c_str(), &d) == 1) duration_round_trip(d);
  return 0;
}
