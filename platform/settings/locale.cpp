#include <corvaplat/locale.h>

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace corva::platform {
namespace {

// One 8-bit character for a locale's separator text; 0 for none.
char one_character(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  const std::string_view t(text);
  if (t.size() == 1) return t[0];
  // UTF-8 no-break and narrow no-break spaces, used by many locales.
  if (t == "\xc2\xa0" || t == "\xe2\x80\xaf" || t == "\xe2\x80\x89") return ' ';
  return static_cast<unsigned char>(t[0]) < 0x80 ? t[0] : 0;
}

}  // namespace

RegionalConventions regional_conventions_from(const char* decimal_point,
                                              const char* thousands_separator, int frac_digits,
                                              const char* date_format) {
  RegionalConventions r;
  if (const char c = one_character(decimal_point); c != 0) r.decimal_point = c;
  r.thousands_separator = one_character(thousands_separator);
  r.currency_digits = frac_digits >= 0 && frac_digits <= 9 ? frac_digits : 2;
  // The order of day, month and year in the date format, and the first
  // character that separates two of them.
  std::string format = date_format == nullptr ? "" : date_format;
  if (format == "%D") format = "%m/%d/%y";
  if (format == "%F") format = "%Y-%m-%d";
  int day = -1, month = -1, year = -1, position = 0;
  char separator = 0;
  for (std::size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '%') continue;
    std::size_t j = i + 1;
    while (j < format.size() && std::strchr("-_0^#E O", format[j]) != nullptr) ++j;  // flags
    if (j >= format.size()) break;
    const char conversion = format[j];
    if (conversion == 'd' || conversion == 'e') day = position++;
    else if (conversion == 'm' || conversion == 'b' || conversion == 'h') month = position++;
    else if (conversion == 'y' || conversion == 'Y') year = position++;
    if (separator == 0 && position == 1 && j + 1 < format.size() && format[j + 1] != '%')
      separator = format[j + 1];
    i = j;
  }
  if (year == 0) r.date_order = 2;
  else if (day >= 0 && month >= 0 && day < month) r.date_order = 1;
  else r.date_order = 0;
  if (separator != 0) r.date_separator = separator;
  return r;
}

RegionalConventions host_regional_conventions() {
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  const bool named = loc != static_cast<locale_t>(0);
  if (!named) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const char* frac = nl_langinfo_l(FRAC_DIGITS, loc);
  const int digits = frac == nullptr || *frac == CHAR_MAX ? -1 : static_cast<signed char>(*frac);
  RegionalConventions r = regional_conventions_from(
      nl_langinfo_l(RADIXCHAR, loc), nl_langinfo_l(THOUSEP, loc), digits, nl_langinfo_l(D_FMT, loc));
  const char* name = nullptr;
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    if (const char* v = std::getenv(var); v != nullptr && *v != '\0') {
      name = v;
      break;
    }
  }
  r.locale_name = named && name != nullptr ? name : "C";
  freelocale(loc);
  return r;
}

}  // namespace corva::platform
