#include "payroll/taxinfo.h"

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/files.h"
#include "corvaplat/owned_file.h"
#include "corvaplat/paths.h"
#include "corvaplat/profile.h"
#include "frame/settings.h"
#include "frame/state.h"
#include "text/bstr.h"

namespace corva::payroll {

namespace {

constexpr const char* kBuiltInStatuses =
    "Single,Married,Head/Household,Not Required,Married/Jointly,Married/Separately,"
    "Qualifying Widow(er),Married/2 Incomes,Special A,Special B,Special C,Special D,"
    "Special E,Special F,Special G,Special H";
constexpr std::size_t kListSize = 256;   // lists of names: 255 characters read
constexpr std::size_t kNameSize = 32;    // one filing status: 31 characters
constexpr std::size_t kPathSize = 260;

// Reads a key into a buffer of `size` bytes with an empty default.
std::uint32_t read_text(const std::string& path, const char* section, const char* key,
                        char* buffer, std::size_t size) {
  return platform::GetPrivateProfileStringA(section, key, "", buffer,
                                            static_cast<std::uint32_t>(size), path.c_str());
}

template <std::size_t N>
std::uint32_t read_field(const std::string& path, const char* section, const char* key,
                         char (&field)[N]) {
  return read_text(path, section, key, field, N);
}

// A flag is set when the first character of its value is 'Y' or 'y'.
std::int32_t read_flag(const std::string& path, const char* section, const char* key) {
  char value[2] = {};
  return read_field(path, section, key, value) >= 1 &&
                 std::tolower(static_cast<unsigned char>(value[0])) == 'y'
             ? 1
             : 0;
}

// Splits a comma-separated list the way the file's readers do.
template <class Visit>
void for_each_token(const char* list, std::size_t token_size, Visit visit) {
  std::vector<char> token(token_size);
  const char* cursor = list;
  while (next_token(cursor, token.data(), token_size, ','))
    if (visit(std::string_view(token.data()))) return;
}

const char* own_list(const StateTaxInfo& info, Level level) {
  return level == Level::state ? info.Statefilingstatus : info.Localfilingstatus;
}

static_assert(sizeof(StateTaxInfo) == 1238);
static_assert(offsetof(StateTaxInfo, SUILimit) == 4);
static_assert(offsetof(StateTaxInfo, Localities) == 6);
static_assert(offsetof(StateTaxInfo, SIT) == 86);
static_assert(offsetof(StateTaxInfo, Special) == 114);
static_assert(offsetof(StateTaxInfo, SpecialFields) == 118);
static_assert(offsetof(StateTaxInfo, SIT_CAG) == 374);
static_assert(offsetof(StateTaxInfo, SETT_ER_CAG) == 694);
static_assert(offsetof(StateTaxInfo, Statefilingstatus) == 726);
static_assert(offsetof(StateTaxInfo, Localfilingstatus) == 982);

}  // namespace

bool locate(std::string& path) {
  char* data_path = frame::record().DataPath;
  constexpr std::uint16_t kDataHigh = sizeof(frame::record().DataPath) - 1;
  if (text::length(kDataHigh, data_path) == 0) frame::reread_application_settings();
  std::string dos(text::view(kDataHigh, data_path));
  if (!dos.empty() && dos.back() != '\\') dos += '\\';
  dos += kFileName;
  if (dos.size() >= kPathSize) dos.resize(kPathSize - 1);
  // The host name is found once; every read of this call then goes straight
  // to the file.
  // Only a regular file is the tax file: a directory or a FIFO planted under
  // its name reads as missing rather than as an empty file or a wait.
  bool exists = false;
  if (platform::resolve_dos_path(dos, path, &exists) == 0 && exists &&
      platform::is_regular_file(path))
    return true;
  Message(0, kFileMissingMessage);  // its text gives the stop icon and OK
  return false;
}

bool next_token(const char*& cursor, char* token, std::size_t size, char separator) {
  if (*cursor == '\0') return false;
  std::size_t n = 0;
  while (*cursor != '\0' && *cursor != separator && n + 1 < size) token[n++] = *cursor++;
  token[n] = '\0';
  // A token with no room for a character (size 1) is passed over whole, so
  // every call moves on and the caller's loop ends.
  if (size == 1)
    while (*cursor != '\0' && *cursor != separator) ++cursor;
  // A NUL separator is the text's end, which is never stepped over.
  if (*cursor == separator && separator != '\0') ++cursor;
  return true;
}

bool read_states(const std::string& path, char* buffer, std::uint16_t size) {
  return read_text(path, "General", "StateList", buffer, size) >= 1;
}

bool read_state(const std::string& path, const char* state, StateTaxInfo& info) {
  info.HasLocalities = read_flag(path, state, "HasLocalities");
  info.SUILimit = static_cast<std::uint16_t>(platform::GetPrivateProfileIntA(state, "SUILimit", 0, path.c_str()));
  if (info.HasLocalities && read_field(path, state, "Localities", info.Localities) == 0)
    return false;
  info.SIT = read_flag(path, state, "SIT");
  info.LITPercent = read_flag(path, state, "LITPercent");
  info.LITAmount = read_flag(path, state, "LITAmount");
  info.LITEr = read_flag(path, state, "LITEr");
  info.SUIEe = read_flag(path, state, "SUIEe");
  info.SDIEe = read_flag(path, state, "SDIEe");
  info.SDIEr = read_flag(path, state, "SDIEr");
  info.Special = read_flag(path, state, "Special");
  read_field(path, state, "SpecialFields", info.SpecialFields);
  read_field(path, state, "SIT_CAG", info.SIT_CAG);
  read_field(path, state, "SUI_CAG", info.SUI_CAG);
  read_field(path, state, "SDI_CAG", info.SDI_CAG);
  read_field(path, state, "HC_CAG", info.HC_CAG);
  read_field(path, state, "WF_CAG", info.WF_CAG);
  read_field(path, state, "SETT_CAG", info.SETT_CAG);
  read_field(path, state, "SUI_ER_CAG", info.SUI_ER_CAG);
  read_field(path, state, "SDI_ER_CAG", info.SDI_ER_CAG);
  read_field(path, state, "HC_ER_CAG", info.HC_ER_CAG);
  read_field(path, state, "WF_ER_CAG", info.WF_ER_CAG);
  read_field(path, state, "SETT_ER_CAG", info.SETT_ER_CAG);
  read_field(path, state, "Statefilingstatus", info.Statefilingstatus);
  read_field(path, state, "Localfilingstatus", info.Localfilingstatus);
  return true;
}

double read_federal_limit(const std::string& path) {
  char value[32] = {};
  platform::GetPrivateProfileStringA("Federal", "401kLimit", "10000.0", value, sizeof value,
                                     path.c_str());
  return std::atof(value);
}

bool read_version(const std::string& path, std::string& version) {
  const platform::HFILE file = platform::_lopen(path.c_str(), platform::OF_READ);
  if (file == platform::HFILE_ERROR) return false;
  // The first line as a text-mode read gives it: CR LF reads as LF, and at
  // most 17 characters, stopping after the line feed.
  char raw[40];
  const std::uint32_t got = platform::_lread(file, raw, sizeof raw);
  platform::_lclose(file);
  std::string line;
  for (std::uint32_t i = 0; i < got && got != platform::kTransferError && line.size() < 17; ++i) {
    if (raw[i] == '\r' && i + 1 < got && raw[i + 1] == '\n') continue;
    line += raw[i];
    if (raw[i] == '\n') break;
  }
  constexpr std::string_view kMark = ";VERSION~";
  if (line.compare(0, kMark.size(), kMark) != 0) return false;
  version = line.substr(kMark.size());
  return true;
}

namespace {
// Created empty at load and destroyed at unload; filled once.
std::vector<std::string> g_statuses;
}  // namespace

void forget_filing_statuses() { g_statuses.clear(); }

const std::vector<std::string>& filing_statuses() {
  std::vector<std::string>& list = g_statuses;
  if (!list.empty()) return list;
  char names[kListSize] = {};
  std::string path;
  if (locate(path)) read_text(path, "General", "FilingStatuses", names, sizeof names);
  for_each_token(names[0] != '\0' ? names : kBuiltInStatuses, kNameSize, [&](std::string_view t) {
    list.emplace_back(t);
    return false;
  });
  return list;
}

std::int32_t filing_status_index(std::string_view name) {
  const auto& list = filing_statuses();
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == name) return static_cast<std::int32_t>(i);
  return -1;
}

bool status_valid_for_state(std::string_view name, const char* state, Level level) {
  StateTaxInfo info{};
  NewGetStateTaxInfo(state, &info);
  const char* own = own_list(info, level);
  if (own[0] == '\0') return filing_status_index(name) >= 0;
  bool found = false;
  for_each_token(own, kListSize, [&](std::string_view t) { return found = (t == name); });
  return found;
}

std::int32_t default_status(const char* state, Level level) {
  StateTaxInfo info{};
  NewGetStateTaxInfo(state, &info);
  const char* own = own_list(info, level);
  if (own[0] == '\0') return 0;
  char first[kNameSize] = {};
  const char* cursor = own;
  next_token(cursor, first, sizeof first, ',');
  return filing_status_index(first);
}

}  // namespace corva::payroll
