// The tax information file read from any bytes by every tax function, and
// GetTokenFromLine over any text with any size and separator: each call that
// answers 1 moves the cursor, so a caller's loop always ends, and a token
// never holds more than size - 1 characters or the separator.
//   byte 0: token size (1-64); byte 1: separator; byte 2: state code's first
//   letter; the rest: the file's bytes, which are also the token text
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "corvalib/payroll.h"
#include "fuzz_support.h"
#include "payroll/taxinfo.h"

namespace {

using corva::fuzz::check;

void tokens(const std::string& text, std::int32_t size, char separator) {
  std::vector<char> line(text.begin(), text.end());
  line.push_back('\0');
  std::vector<char> token(static_cast<std::size_t>(size));
  char* cursor = line.data();
  while (true) {
    char* before = cursor;
    if (GetTokenFromLine(&cursor, token.data(), size, separator) != 1) {
      check(cursor == before);
      break;
    }
    check(cursor > before && cursor <= line.data() + text.size());
    const std::size_t n = strnlen(token.data(), token.size());
    check(n < token.size() && std::memchr(token.data(), separator, n) == nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 8192) return 0;
  const auto& root = corva::fuzz::Root::get();
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
  tokens(text.substr(0, text.find('\0')), data[0] % 64 + 1, static_cast<char>(data[1]));

  root.write(root.data() + "/TaxInfo.Dat", text);
  corva::payroll::forget_filing_statuses();
  char buffer[256];
  NewGetStates(buffer, sizeof buffer);
  const char code[3] = {static_cast<char>('A' + data[2] % 26), 'A', '\0'};
  StateTaxInfo info{};
  NewGetStateTaxInfo(code, &info);
  NewGetStateTaxInfo("CA", &info);
  double limit = 0;
  NewGetFederalTaxInfo(&limit);
  GetTaxTableVersionInfo(buffer, sizeof buffer);
  for (std::int32_t i = 0; GetFilingStatus(i, buffer, 32) == 1; ++i) check(i < 256);
  StateFilingStatusIsValidForState("Single", code);
  LocalFilingStatusIsValidForState("Single", "CA");
  GetDefaultStateFilingStatus(code);
  GetDefaultLocalFilingStatus("CA");
  return 0;
}
