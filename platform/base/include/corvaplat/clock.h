// The clock and sleeps. Everything in the library that reads the time or waits
// goes through here, so tests can drive time with a ManualClock.
#pragma once
#include <corvaplat/api.h>

#include <chrono>

namespace corva::platform {

// Local date and time, as SYSTEMTIME holds it (month 1-12, weekday 0 = Sunday).
struct LocalTime {
  int year, month, day_of_week, day, hour, minute, second, milliseconds;
};

class CORVAPLAT_API Clock {
 public:
  virtual ~Clock();
  virtual std::chrono::system_clock::time_point now() = 0;
  // Offset of local time from UTC at the given moment.
  virtual std::chrono::seconds utc_offset(std::chrono::system_clock::time_point at) = 0;
  // Milliseconds since an arbitrary start, as GetTickCount counts.
  virtual std::uint64_t ticks_ms() = 0;
  virtual void sleep(std::chrono::milliseconds duration) = 0;
};

// A clock for tests: time stands still until set or advanced; a sleep advances
// it by the slept time and counts the call.
class CORVAPLAT_API ManualClock final : public Clock {
 public:
  explicit ManualClock(std::chrono::system_clock::time_point start = {},
                       std::chrono::seconds utc_offset = std::chrono::seconds{0});
  std::chrono::system_clock::time_point now() override;
  std::chrono::seconds utc_offset(std::chrono::system_clock::time_point) override;
  std::uint64_t ticks_ms() override;
  void sleep(std::chrono::milliseconds duration) override;

  void set(std::chrono::system_clock::time_point t);
  void advance(std::chrono::milliseconds d);
  int sleeps() const { return sleeps_; }
  std::chrono::milliseconds slept() const { return slept_; }

 private:
  std::chrono::system_clock::time_point now_;
  std::chrono::seconds offset_;
  std::chrono::milliseconds slept_{0};
  int sleeps_ = 0;
};

// Installs a clock (null restores the real one); returns the previous one. The
// caller keeps ownership.
CORVAPLAT_API Clock* set_clock(Clock* clock);
CORVAPLAT_API Clock& clock();

CORVAPLAT_API LocalTime GetLocalTime();
CORVAPLAT_API std::uint32_t GetTickCount();
CORVAPLAT_API void Sleep(std::uint32_t milliseconds);

// Makes a LocalTime into a time point of the installed clock's local zone.
CORVAPLAT_API std::chrono::system_clock::time_point from_local(const LocalTime& t);

}  // namespace corva::platform
