#include <corvaplat/clock.h>

#include <time.h>

#include <thread>

namespace corva::platform {
namespace {

using std::chrono::system_clock;

class RealClock final : public Clock {
 public:
  system_clock::time_point now() override { return system_clock::now(); }
  std::chrono::seconds utc_offset(system_clock::time_point at) override {
    std::time_t t = system_clock::to_time_t(at);
    struct tm local {};
    localtime_r(&t, &local);
    return std::chrono::seconds(local.tm_gmtoff);
  }
  std::uint64_t ticks_ms() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  void sleep(std::chrono::milliseconds d) override { std::this_thread::sleep_for(d); }
};

RealClock g_real;
Clock* g_clock = &g_real;

}  // namespace

Clock::~Clock() = default;

ManualClock::ManualClock(system_clock::time_point start, std::chrono::seconds offset)
    : now_(start), offset_(offset) {}
system_clock::time_point ManualClock::now() { return now_; }
std::chrono::seconds ManualClock::utc_offset(system_clock::time_point) { return offset_; }
std::uint64_t ManualClock::ticks_ms() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now_.time_since_epoch()).count());
}
void ManualClock::sleep(std::chrono::milliseconds d) {
  ++sleeps_;
  slept_ += d;
  now_ += d;
}
void ManualClock::set(system_clock::time_point t) { now_ = t; }
void ManualClock::advance(std::chrono::milliseconds d) { now_ += d; }

Clock* set_clock(Clock* c) {
  Clock* old = g_clock == &g_real ? nullptr : g_clock;
  g_clock = c != nullptr ? c : &g_real;
  return old;
}

Clock& clock() { return *g_clock; }

LocalTime GetLocalTime() {
  using namespace std::chrono;
  auto now = g_clock->now();
  auto local = now + g_clock->utc_offset(now);
  auto days = floor<std::chrono::days>(local);
  year_month_day ymd{days};
  hh_mm_ss hms{floor<milliseconds>(local - days)};
  LocalTime t{};
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.day_of_week = static_cast<int>(weekday{days}.c_encoding());
  t.hour = static_cast<int>(hms.hours().count());
  t.minute = static_cast<int>(hms.minutes().count());
  t.second = static_cast<int>(hms.seconds().count());
  t.milliseconds = static_cast<int>(hms.subseconds().count());
  return t;
}

system_clock::time_point from_local(const LocalTime& t) {
  using namespace std::chrono;
  sys_days d{year{t.year} / t.month / t.day};
  auto local = d + hours{t.hour} + minutes{t.minute} + seconds{t.second} +
               milliseconds{t.milliseconds};
  return local - g_clock->utc_offset(local);
}

std::uint32_t GetTickCount() { return static_cast<std::uint32_t>(g_clock->ticks_ms()); }

void Sleep(std::uint32_t ms) { g_clock->sleep(std::chrono::milliseconds(ms)); }

}  // namespace corva::platform
