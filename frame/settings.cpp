#include "frame/boundary.h"
#include "frame/settings.h"

#include "corvalib/files.h"

#include <string>

#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "frame/state.h"
#include "text/bstr.h"

namespace corva::frame {

namespace {
Settings g_settings;

std::uint32_t pack_date(unsigned year, unsigned month, unsigned day) {
  return (year << 16) | (month << 8) | day;
}

// Reads one character of section "intl" of WIN.INI, the current one as the
// default, so a missing key keeps it.
void read_character(const char* key, char& setting) {
  char text[2] = {setting, '\0'};
  GetWINProfileString("intl", key, text, text, 2);
  setting = text[0];
}

// A Yes/No switch of the application's INI file: on when the text read
// starts with Y in either case.
bool read_switch(const char* section, const char* key, const char* current) {
  char text[6] = {};
  text::write(5, text, current);
  GetCVXProfileString(section, key, text, text, 6);
  UpperCase(5, text);
  return text[0] == 'Y';
}
}  // namespace

Settings& settings() { return g_settings; }

void reread_regional_settings() {
  Settings& s = g_settings;
  read_character("sDate", s.date_separator);
  s.date_order = static_cast<std::int32_t>(
      GetWINProfileInt("intl", "iDate", static_cast<std::int16_t>(s.date_order)));
  s.earliest_date = pack_date(1901, 1, 1);
  s.latest_date = pack_date(2099, 12, 31);
  read_character("sDecimal", s.decimal_point);
  read_character("sThousand", s.thousands_separator);
  s.currency_digits = static_cast<std::uint16_t>(
      GetWINProfileInt("intl", "iCurrDigits", static_cast<std::int16_t>(s.currency_digits)));
  double scale = 1.0;
  for (unsigned i = 1; i <= s.currency_digits; ++i) scale *= 10.0;
  s.currency_scale = scale;
  s.currency_half_unit = 1.0 / scale / 2.0;
}

void reread_application_settings() {
  Settings& s = g_settings;
  char* path = record().DataPath;
  // The path as a plain string for the default: the field need not hold a NUL.
  const std::string current(text::view(63, path));
  GetCVXProfileString("Lib", "DATAPATH", current.c_str(), path, 63);
  text::fill_from(63, path, text::length(63, path));
  AddBackSlash(63, path);
  s.auto_decimal = read_switch("Lib", "AUTODECIMAL", s.auto_decimal ? "Yes" : "No");
  s.allow_large_clip = read_switch("Options", "AllowLargeClip", "N");
}

}  // namespace corva::frame

using namespace corva;

extern "C" {

void ReReadWinIni(void) try { frame::reread_regional_settings(); } CORVA_BOUNDARY()

void ReReadCorvaIni(void) try { frame::reread_application_settings(); } CORVA_BOUNDARY()

int32_t SetDateOrder(int32_t order) try {
  const int32_t previous = frame::settings().date_order;
  frame::settings().date_order = order;
  return previous;
} CORVA_BOUNDARY(0)

void GetDecimalPoint(uint16_t high, char* buffer) try {
  if (high == 0 || buffer == nullptr) return;
  text::write(high, buffer, std::string_view(&frame::settings().decimal_point, 1));
} CORVA_BOUNDARY()

uint16_t GetCurrencyPrecision(void) try {
  return frame::settings().currency_digits;
} CORVA_BOUNDARY(0)

uint8_t GetAutoDecimal(void) try {
  return frame::settings().auto_decimal ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t SetAutoDecimal(uint8_t on) try {
  frame::settings().auto_decimal = on != 0;
  return WriteCVXProfileString("Lib", "AUTODECIMAL", on != 0 ? "Yes" : "No");
} CORVA_BOUNDARY(0)

int16_t GetRealPrecision(void) try { return frame::settings().real_precision; } CORVA_BOUNDARY(0)

int16_t SetRealPrecision(uint16_t precision) try {
  const int16_t previous = frame::settings().real_precision;
  frame::settings().real_precision = static_cast<int16_t>(precision);
  return previous;
} CORVA_BOUNDARY(0)

}  // extern "C"
