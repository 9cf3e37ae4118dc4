// The tax information file: locating it in the data directory and reading
// its sections through the profile reader.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corvalib/payroll.h"

namespace corva::payroll {

inline constexpr const char* kFileName = "TaxInfo.Dat";
inline constexpr std::uint16_t kFileMissingMessage = 21051;

// The host name of the file in the data directory (reading the application
// settings first when the directory is empty). False, after showing message
// 21051, when the file does not exist.
bool locate(std::string& path);

// One step of a separated list, as GetTokenFromLine does it. size >= 1; with
// size 1 the token is empty and its characters are passed over.
bool next_token(const char*& cursor, char* token, std::size_t size, char separator);

bool read_states(const std::string& path, char* buffer, std::uint16_t size);
// Fills a cleared record from the state's section; false when the state has
// localities but names none.
bool read_state(const std::string& path, const char* state, StateTaxInfo& info);
double read_federal_limit(const std::string& path);
// The text after the version mark of line 1, or empty when there is none.
bool read_version(const std::string& path, std::string& version);

// The process-wide filing statuses, loaded from the file on first use.
const std::vector<std::string>& filing_statuses();
std::int32_t filing_status_index(std::string_view name);
// Empties the list so that the next use loads it again (tests do this; the
// library itself never reloads it).
void forget_filing_statuses();

// Whether a state accepts a filing status, and its default, taken from the
// state's own list (local or state) or else from the general list.
enum class Level { state, local };
bool status_valid_for_state(std::string_view name, const char* state, Level level);
std::int32_t default_status(const char* state, Level level);

// A state code is a field of two characters, which callers need not
// terminate: only those two are read (a longer text is taken by its first
// two). False when the text is null or shorter.
inline bool is_state_code(const char* text) {
  return text != nullptr && text[0] != '\0' && text[1] != '\0';
}

}  // namespace corva::payroll
