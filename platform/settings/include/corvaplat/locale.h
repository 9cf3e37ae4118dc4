// The host's regional conventions, read from its POSIX locale (LC_ALL,
// LC_NUMERIC, LC_MONETARY, LC_TIME, LANG), in the terms of WIN.INI's "intl"
// section.
#pragma once
#include <corvaplat/api.h>

#include <string>

namespace corva::platform {

struct RegionalConventions {
  std::string locale_name;   // the locale the environment names ("C" when none works)
  char decimal_point = '.';  // sDecimal
  char thousands_separator = ',';  // sThousand; 0 when the locale has none
  int currency_digits = 2;   // iCurrDigits
  int date_order = 0;        // iDate: 0 month-day-year, 1 day-month-year, 2 year-month-day
  char date_separator = '/'; // sDate
};

// The conventions of the locale the environment names. A separator that is
// a multibyte space (as in UTF-8 locales) becomes a plain space.
CORVAPLAT_API RegionalConventions host_regional_conventions();

// The same, worked out from the parts a locale gives (tests feed them in).
CORVAPLAT_API RegionalConventions regional_conventions_from(const char* decimal_point,
                                                            const char* thousands_separator,
                                                            int frac_digits, const char* date_format);

}  // namespace corva::platform
