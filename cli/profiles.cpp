// corva ini, corva reg, corva settings: the profile files, the registry and
// the regional and application settings from the shell.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/scratch.h"
#include "corvalib.h"
#include "corvaplat/config.h"
#include "corvaplat/locale.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"

namespace corva::cli {
namespace {

// The NUL-separated names of a profile listing.
std::vector<std::string> split_list(const std::vector<char>& buffer, std::uint32_t count) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < count;) {
    std::string name(&buffer[at]);
    at += name.size() + 1;
    names.push_back(std::move(name));
  }
  return names;
}

std::string profile_value(const std::string& file, const char* section, const char* key,
                          const std::string& fallback) {
  std::vector<char> buffer(65536);
  const std::uint32_t n =
      platform::GetPrivateProfileStringA(section, key, fallback.c_str(), buffer.data(),
                                         static_cast<std::uint32_t>(buffer.size()), file.c_str());
  return std::string(buffer.data(), n);
}

// The file's keys of a section (or the sections, with section null).
std::vector<std::string> profile_names(const std::string& file, const char* section) {
  std::vector<char> buffer(1 << 20);
  const std::uint32_t n = platform::GetPrivateProfileStringA(
      section, nullptr, "", buffer.data(), static_cast<std::uint32_t>(buffer.size()), file.c_str());
  return split_list(buffer, n);
}

bool has_name(const std::vector<std::string>& names, const std::string& wanted) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return same_text(n, wanted); });
}

bool profile_exists(const std::string& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(platform::profile_path(file.c_str()), ec);
}

// A missing file, section or key fails, unless a fallback stands in for it.
int ini_get(const std::string& file, const std::string& section, const std::string& key,
            const std::string* fallback) {
  if (fallback == nullptr) {
    if (!profile_exists(file)) return fail("no file " + platform::profile_path(file.c_str()));
    if (!has_name(profile_names(file, section.c_str()), key))
      return fail("no key " + key + " in section [" + section + "] of " +
                  platform::profile_path(file.c_str()));
  }
  std::cout << profile_value(file, section.c_str(), key.c_str(), fallback ? *fallback : "") << "\n";
  return 0;
}

// Sets the key; a null value deletes it, a null key the whole section.
int ini_set(const std::string& file, const std::string& section, const char* key,
            const char* value) {
  if (platform::WritePrivateProfileStringA(section.c_str(), key, value, file.c_str()) != 1)
    return fail("cannot write " + platform::profile_path(file.c_str()) + ": " +
                error_words(platform::GetLastError()));
  return 0;
}

// The section names, or with a section its KEY=VALUE lines.
int ini_list(const std::string& file, const char* section) {
  if (!profile_exists(file)) return fail("no file " + platform::profile_path(file.c_str()));
  for (const std::string& name : profile_names(file, section)) {
    if (section == nullptr) {
      std::cout << "[" << name << "]\n";
    } else {
      std::cout << name << "=" << profile_value(file, section, name.c_str(), "") << "\n";
    }
  }
  return 0;
}

void define_ini(CLI::App& app) {
  static std::string file, section, key, value, fallback;
  const char* file_help = "the INI file; without a directory it lives in the Windows directory";
  auto* get = app.add_subcommand("get", "print the value of a key");
  get->add_option("FILE", file, file_help)->required();
  get->add_option("SECTION", section, "the section")->required();
  get->add_option("KEY", key, "the key")->required();
  auto* has_fallback =
      get->add_option("--default", fallback, "printed when the key is missing")->type_name("TEXT");
  on_run(get, [has_fallback] {
    return ini_get(file, section, key, has_fallback->count() > 0 ? &fallback : nullptr);
  });
  auto* set = app.add_subcommand(
      "set", "set a key; without VALUE delete the key, without KEY the whole section");
  set->add_option("FILE", file, file_help)->required();
  set->add_option("SECTION", section, "the section")->required();
  auto* has_key = set->add_option("KEY", key, "the key");
  auto* has_value = set->add_option("VALUE", value, "the new value");
  on_run(set, [has_key, has_value] {
    return ini_set(file, section, has_key->count() > 0 ? key.c_str() : nullptr,
                   has_value->count() > 0 ? value.c_str() : nullptr);
  });
  auto* list = app.add_subcommand("list", "the section names, or a section's KEY=VALUE lines");
  list->add_option("FILE", file, file_help)->required();
  auto* has_section = list->add_option("SECTION", section, "the section");
  on_run(list, [has_section] {
    return ini_list(file, has_section->count() > 0 ? section.c_str() : nullptr);
  });
  app.footer(
      "The Windows directory is CORVALIB_WINDIR; X:\\... paths map through\n"
      "CORVALIB_DRIVE_X.");
}

// A registry value as text: sz without its NUL, dword in decimal, others in hex.
std::string show_value(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (type == platform::kRegSz) {
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  if (type == platform::kRegDword && data.size() == 4) {
    return std::to_string(data[0] | (data[1] << 8) | (data[2] << 16) |
                          (static_cast<std::uint32_t>(data[3]) << 24));
  }
  std::string hex;
  for (std::uint8_t b : data) {
    char two[4];
    std::snprintf(two, sizeof two, "%s%02x", hex.empty() ? "" : " ", b);
    hex += two;
  }
  return "hex(" + std::to_string(type) + ") " + hex;
}

bool parse_value(const std::string& kind, const std::string& text, std::uint32_t& type,
                 std::vector<std::uint8_t>& data) {
  data.clear();
  if (kind == "sz") {
    type = platform::kRegSz;
    data.assign(text.begin(), text.end());
    data.push_back(0);
    return true;
  }
  if (kind == "dword") {
    char* end = nullptr;
    const unsigned long long n = std::strtoull(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || n > 0xFFFFFFFFull) return false;
    type = platform::kRegDword;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    return true;
  }
  if (kind == "binary") {
    type = platform::kRegBinary;
    std::string digits;
    for (char c : text) {
      if (c != ' ' && c != ',') digits.push_back(c);
    }
    if (digits.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
      char* end = nullptr;
      const std::string pair = digits.substr(i, 2);
      const unsigned long b = std::strtoul(pair.c_str(), &end, 16);
      if (*end != '\0') return false;
      data.push_back(static_cast<std::uint8_t>(b));
    }
    return true;
  }
  return false;
}

int report(std::int32_t err, const std::string& what) {
  if (err == 0) return 0;
  return fail(what + ": " + error_words(static_cast<std::uint32_t>(err)));
}

struct RegOptions {
  std::string product, section, name, value, type = "sz";
};
RegOptions g_reg;  // what the command line named

int reg_get(const RegOptions& o) {
  std::uint32_t type = 0, size = 0;
  std::int32_t err =
      CVXRegQryValue(o.product.c_str(), o.section.c_str(), o.name.c_str(), &type, nullptr, &size);
  std::vector<std::uint8_t> data(size);
  if (err == 0)
    err = CVXRegQryValue(o.product.c_str(), o.section.c_str(), o.name.c_str(), &type, data.data(),
                         &size);
  if (err != 0) return report(err, "cannot read " + o.name);
  data.resize(size);
  std::cout << show_value(type, data) << "\n";
  return 0;
}

int reg_set(const RegOptions& o) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!parse_value(o.type, o.value, type, data))
    usage_error("'" + o.value + "' is not a " + o.type + " value");
  return report(CVXRegSetValue(o.product.c_str(), o.section.c_str(), o.name.c_str(), type,
                               data.data(), static_cast<std::uint32_t>(data.size())),
                "cannot write " + o.name);
}

int reg_list(const RegOptions& o) {
  CvHANDLE key = 0;
  if (const std::int32_t err = CVXGetRegKey(o.product.c_str(), o.section.c_str(), &key, 0);
      err != 0)
    return report(err, "cannot open " + o.product + "\\" + o.section);
  for (std::uint32_t i = 0;; ++i) {
    char name[512];
    std::uint32_t name_size = sizeof name, type = 0, size = 0;
    if (platform::RegEnumValueA(key, i, name, &name_size, nullptr, &type, nullptr, &size) != 0)
      break;
    std::vector<std::uint8_t> data(size);
    name_size = sizeof name;
    platform::RegEnumValueA(key, i, name, &name_size, nullptr, &type, data.data(), &size);
    std::cout << name << "=" << show_value(type, data) << "\n";
  }
  platform::RegCloseKey(key);
  return 0;
}

void define_reg(CLI::App& app) {
  RegOptions& o = g_reg;
  auto where = [&o](CLI::App* sub) {
    sub->add_option("PRODUCT", o.product, "the product's key")->required();
    sub->add_option("SECTION", o.section, "the section")->required();
  };
  auto* get = app.add_subcommand("get", "print a value");
  where(get);
  get->add_option("NAME", o.name, "the value's name")->required();
  on_run(get, [] { return reg_get(g_reg); });
  auto* set = app.add_subcommand("set", "set a value");
  where(set);
  set->add_option("NAME", o.name, "the value's name")->required();
  set->add_option("VALUE", o.value, "the value")->required();
  set->add_option("--type", o.type, "sz (default), dword or binary")
      ->type_name("TYPE")
      ->check(CLI::IsMember({"sz", "dword", "binary"}));
  on_run(set, [] { return reg_set(g_reg); });
  auto* list = app.add_subcommand("list", "print a section's values as NAME=VALUE");
  where(list);
  on_run(list, [] { return reg_list(g_reg); });
  app.footer(
      "Sections Options and Tips are the user's, all others the machine's.\n"
      "dword values are decimal or 0x hex numbers, binary values hex bytes (\"01 ff\").");
}

// The settings as this process holds them after both refreshes.
void print_settings() {
  ReReadWinIni();
  ReReadCorvaIni();
  char text[2] = {};
  const std::int32_t order = SetDateOrder(0);
  SetDateOrder(order);
  GetDecimalPoint(1, text);
  char date_separator[2] = "-", thousands[2] = ",", clip[6] = "N";
  // The two characters and the switch without an accessor are read the way
  // the refresh reads them.
  GetWINProfileString("intl", "sDate", date_separator, date_separator, 2);
  GetWINProfileString("intl", "sThousand", thousands, thousands, 2);
  GetCVXProfileString("Options", "AllowLargeClip", clip, clip, 6);
  static const char* const kOrders[] = {"month-day-year", "day-month-year", "year-month-day"};
  const char* order_name = order >= 0 && order <= 2 ? kOrders[order] : "unknown";
  std::printf("Windows directory   %s\n", platform::windows_directory().c_str());
  std::printf("date separator      '%s'\n", date_separator);
  std::printf("date order          %d (%s)\n", static_cast<int>(order), order_name);
  std::printf("decimal point       '%s'\n", text);
  std::printf("thousands separator '%s'\n", thousands);
  std::printf("currency digits     %u\n", static_cast<unsigned>(GetCurrencyPrecision()));
  std::printf("real precision      %d\n", static_cast<int>(GetRealPrecision()));
  std::printf("automatic decimal   %s\n", GetAutoDecimal() ? "Yes" : "No");
  std::printf("large clipboard     %s\n", (clip[0] == 'Y' || clip[0] == 'y') ? "Yes" : "No");
  std::printf("data path           '%.64s'\n", MyCorvaLibDataPtr->DataPath);
  std::fflush(stdout);
}

int write_from_locale() {
  const platform::RegionalConventions r = platform::host_regional_conventions();
  const std::string decimal(1, r.decimal_point), date(1, r.date_separator);
  const std::string thousands(1, r.thousands_separator);
  bool ok = WriteWINProfileString("intl", "sDecimal", decimal.c_str()) == 1;
  // A locale without grouping (C, POSIX) leaves the separator as it was.
  if (r.thousands_separator != 0)
    ok = ok && WriteWINProfileString("intl", "sThousand", thousands.c_str()) == 1;
  ok = ok &&
       WriteWINProfileString("intl", "iCurrDigits", std::to_string(r.currency_digits).c_str()) == 1;
  ok = ok && WriteWINProfileString("intl", "iDate", std::to_string(r.date_order).c_str()) == 1;
  ok = ok && WriteWINProfileString("intl", "sDate", date.c_str()) == 1;
  if (!ok)
    return fail("cannot write " + platform::profile_path(nullptr) + ": " +
                error_words(platform::GetLastError()));
  std::printf("WIN.INI [intl] written from locale %s\n", r.locale_name.c_str());
  return 0;
}

void define_settings(CLI::App& app) {
  static bool from_locale = false;
  app.add_flag("--from-locale", from_locale,
               "first write WIN.INI [intl] from the host's locale (decimal point, thousands "
               "separator, currency digits, date order and separator)");
  app.footer(
      "Prints the regional settings (WIN.INI [intl]) and application settings (CVX70.INI)\n"
      "in force.");
  on_run(&app, [] {
    if (from_locale && write_from_locale() != 0) return 1;
    print_settings();
    return 0;
  });
}

// The tour, with the sample INI files in a Windows directory of its own.
int tour(const std::string& samples) {
  namespace fs = std::filesystem;
  const ScratchDir dir("demo");
  std::error_code ec;
  if (dir.path().empty() || !fs::copy_file(samples + "/CVX70.INI", dir.path() + "/CVX70.INI", ec) ||
      !fs::copy_file(samples + "/WIN.INI", dir.path() + "/WIN.INI", ec))
    return fail("cannot copy the sample INI files from " + samples);
  setenv("CORVALIB_WINDIR", dir.path().c_str(), 1);
  platform::reload_configuration();
  auto step = [](const char* line, const std::function<int()>& run) {
    std::cout << "$ corva " << line << "\n" << std::flush;
    const int rc = run();
    std::cout << std::flush;
    return rc;
  };
  int rc = 0;
  rc |= step("ini list CVX70.INI", [] { return ini_list("CVX70.INI", nullptr); });
  rc |= step("ini list CVX70.INI Lib", [] { return ini_list("CVX70.INI", "Lib"); });
  rc |= step("ini set CVX70.INI lib autodecimal no",
             [] { return ini_set("CVX70.INI", "lib", "autodecimal", "no"); });
  rc |= step("ini get CVX70.INI LIB AutoDecimal",
             [] { return ini_get("CVX70.INI", "LIB", "AutoDecimal", nullptr); });
  rc |= step("settings", [] {
    print_settings();
    return 0;
  });
  rc |= step("reg set Ledger Options LastCompany \"Harbour Timber\"", [] {
    return reg_set({"Ledger", "Options", "LastCompany", "Harbour Timber", "sz"});
  });
  rc |= step("reg set Ledger Options Windows 3 --type dword", [] {
    return reg_set({"Ledger", "Options", "Windows", "3", "dword"});
  });
  rc |= step("reg list Ledger Options", [] { return reg_list({"Ledger", "Options", "", "", ""}); });
  return rc == 0 ? 0 : 1;
}

// Runs the tour in a child process, so the settings it reads do not stay in
// force for the demonstrations after it.
int demo(const std::string& samples) {
  std::cout.flush();
  const pid_t pid = fork();
  if (pid < 0) return fail("cannot start the settings tour");
  if (pid == 0) {
    const int rc = tour(samples);
    std::cout.flush();
    _exit(rc);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

const Registration ini{{"ini", "read, write and list INI files", define_ini, demo}};
const Registration reg{
    {"reg", "read, write and list the product's registry values", define_reg, {}}};
const Registration settings{
    {"settings", "show the regional and application settings", define_settings, {}}};

}  // namespace
}  // namespace corva::cli
