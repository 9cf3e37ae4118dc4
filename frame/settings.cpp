#include "frame/settings.h"

namespace corva::frame {

namespace {
Settings g_settings;

std::uint32_t pack_date(unsigned year, unsigned month, unsigned day) {
  return (year << 16) | (month << 8) | day;
}
}  // namespace

Settings& settings() { return g_settings; }

void reread_regional_settings() {
  Settings& s = g_settings;
  s.earliest_date = pack_date(1901, 1, 1);
  s.latest_date = pack_date(2099, 12, 31);
  double scale = 1.0;
  for (unsigned i = 1; i <= s.currency_digits; ++i) scale *= 10.0;
  s.currency_scale = scale;
  s.currency_half_unit = 1.0 / scale / 2.0;
}

// The application's INI file is not read yet: the settings keep their values.
void reread_application_settings() {}

}  // namespace corva::frame
