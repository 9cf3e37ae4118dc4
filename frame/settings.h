// The regional and application settings the library formats and reads with.
// One process-wide set of values; the refresh operations fill it from the
// profiles, and until then it holds the built-in values below.
#pragma once
#include <cstdint>

namespace corva::frame {

struct Settings {
  char date_separator = '-';
  std::int32_t date_order = 0;
  std::uint32_t earliest_date = 0;  // empty date until the first refresh
  std::uint32_t latest_date = 0;
  char decimal_point = '.';
  char thousands_separator = ',';
  std::uint16_t currency_digits = 2;
  double currency_scale = 100.0;
  double currency_half_unit = 0.005;
  bool auto_decimal = true;
  bool allow_large_clip = false;
  std::int16_t real_precision = 2;
};

// The current settings; readers take them from here and nowhere else.
Settings& settings();

// Refreshes the regional settings (run at load, and on the host's request).
void reread_regional_settings();
// Refreshes the application settings (data path, switches) from the
// application's INI file.
void reread_application_settings();

}  // namespace corva::frame
