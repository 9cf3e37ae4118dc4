// The exported tax-information functions: argument checks, then payroll/taxinfo.
#include <cstring>
#include <string>

#include "corvalib/payroll.h"
#include "frame/boundary.h"
#include "payroll/taxinfo.h"

namespace tax = corva::payroll;

namespace {

// Copies text into an array of size bytes as strncpy does: at most size
// characters, the rest NUL (no terminator when the text fills it).
void copy_padded(const std::string& text, char* out, std::size_t size) {
  const std::size_t n = std::min(text.size(), size);
  std::memcpy(out, text.data(), n);
  std::memset(out + n, 0, size - n);
}

}  // namespace

extern "C" {

int32_t NewGetStates(char* buffer, uint16_t size) try {
  if (buffer == nullptr || size < 256) return 0;
  std::memset(buffer, 0, size);
  std::string path;
  return tax::locate(path) && tax::read_states(path, buffer, size) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t NewGetStateTaxInfo(const char* state, StateTaxInfo* info) try {
  if (info == nullptr || !tax::is_state_code(state)) return 0;
  const char code[3] = {state[0], state[1], '\0'};
  *info = StateTaxInfo{};
  std::string path;
  return tax::locate(path) && tax::read_state(path, code, *info) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t GetTokenFromLine(char** cursor, char* token, int32_t size, char separator) try {
  if (cursor == nullptr || *cursor == nullptr || token == nullptr || size < 1) return 0;
  const char* at = *cursor;
  const bool got = tax::next_token(at, token, static_cast<std::size_t>(size), separator);
  *cursor += at - *cursor;
  return got ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t GetFilingStatus(int32_t index, char* name, uint16_t size) try {
  if (name == nullptr || size < 1) return 0;
  const auto& list = tax::filing_statuses();
  std::memset(name, 0, size);
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return 0;
  const std::string& entry = list[static_cast<std::size_t>(index)];
  std::memcpy(name, entry.data(), std::min<std::size_t>(entry.size(), size - 1u));
  return 1;
} CORVA_BOUNDARY(0)

int32_t GetFilingStatusFromText(const char* name) try {
  return name == nullptr ? -1 : tax::filing_status_index(name);
} CORVA_BOUNDARY(-1)

int32_t StateFilingStatusIsValidForState(const char* name, const char* state) try {
  return name != nullptr && tax::status_valid_for_state(name, state, tax::Level::state) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t LocalFilingStatusIsValidForState(const char* name, const char* state) try {
  return name != nullptr && tax::status_valid_for_state(name, state, tax::Level::local) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t GetDefaultStateFilingStatus(const char* state) try {
  return tax::default_status(state, tax::Level::state);
} CORVA_BOUNDARY(0)

int32_t GetDefaultLocalFilingStatus(const char* state) try {
  return tax::default_status(state, tax::Level::local);
} CORVA_BOUNDARY(0)

int32_t GetTaxTableVersionInfo(char* version, uint16_t size) try {
  if (version == nullptr) return 0;
  std::string path;
  std::string text;
  const bool found = tax::locate(path) && tax::read_version(path, text);
  copy_padded(found ? text : std::string("Unknown"), version, size);
  return found ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t NewGetFederalTaxInfo(double* limit401k) try {
  if (limit401k == nullptr) return 0;
  *limit401k = 0.0;
  std::string path;
  if (!tax::locate(path)) return 0;
  *limit401k = tax::read_federal_limit(path);
  return 1;
} CORVA_BOUNDARY(0)

}  // extern "C"
