// corva ini, corva reg, corva settings: the profile files, the registry and
// the regional and application settings from the shell.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/config.h"
#include "corvaplat/locale.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"

namespace corva::cli {
namespace {

constexpr const char* kIniUsage =
    "usage: corva ini get  FILE SECTION KEY [--default TEXT]\n"
    "       corva ini set  FILE SECTION KEY VALUE   (sets the key)\n"
    "       corva ini set  FILE SECTION KEY         (deletes the key)\n"
    "       corva ini set  FILE SECTION             (deletes the section)\n"
    "       corva ini list FILE [SECTION]           (section names, or KEY=VALUE lines)\n"
    "A FILE without a directory lives in the Windows directory (CORVALIB_WINDIR);\n"
    "X:\\... paths map through CORVALIB_DRIVE_X.\n";

constexpr const char* kRegUsage =
    "usage: corva reg get  PRODUCT SECTION NAME\n"
    "       corva reg set  PRODUCT SECTION NAME VALUE [--type sz|dword|binary]\n"
    "       corva reg list PRODUCT SECTION\n"
    "Sections Options and Tips are the user's, all others the machine's.\n"
    "dword values are decimal or 0x hex numbers, binary values hex bytes (\"01 ff\").\n";

constexpr const char* kSettingsUsage =
    "usage: corva settings [--from-locale]\n"
    "Prints the regional settings (WIN.INI [intl]) and application settings\n"
    "(CVX70.INI) in force. --from-locale first writes WIN.INI [intl] from the\n"
    "host's locale (decimal point, thousands separator, currency digits, date\n"
    "order and separator); a locale without a thousands separator leaves it as it was.\n";

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
  const std::uint32_t n = platform::GetPrivateProfileStringA(
      section, key, fallback.c_str(), buffer.data(), static_cast<std::uint32_t>(buffer.size()),
      file.c_str());
  return std::string(buffer.data(), n);
}

int run_ini(const Args& all) {
  Args args = all;
  std::string fallback;
  if (!take_option(args, "--default", fallback)) return usage_error("--default needs a value");
  if (args.size() < 2) return usage_error("ini needs an operation and a FILE (see corva ini --help)");
  const std::string op = args[0], file = args[1];
  if (op == "get" && args.size() == 4) {
    std::cout << profile_value(file, args[2].c_str(), args[3].c_str(), fallback) << "\n";
    return 0;
  }
  if (op == "set" && args.size() >= 3 && args.size() <= 5) {
    const char* key = args.size() >= 4 ? args[3].c_str() : nullptr;
    const char* value = args.size() == 5 ? args[4].c_str() : nullptr;
    if (platform::WritePrivateProfileStringA(args[2].c_str(), key, value, file.c_str()) != 1) {
      std::cerr << "corva: cannot write " << platform::profile_path(file.c_str()) << " (error "
                << platform::GetLastError() << ")\n";
      return 1;
    }
    return 0;
  }
  if (op == "list" && (args.size() == 2 || args.size() == 3)) {
    std::vector<char> buffer(1 << 20);
    const char* section = args.size() == 3 ? args[2].c_str() : nullptr;
    const std::uint32_t n = platform::GetPrivateProfileStringA(
        section, nullptr, "", buffer.data(), static_cast<std::uint32_t>(buffer.size()), file.c_str());
    for (const std::string& name : split_list(buffer, n)) {
      if (section == nullptr) {
        std::cout << "[" << name << "]\n";
      } else {
        std::cout << name << "=" << profile_value(file, section, name.c_str(), "") << "\n";
      }
    }
    return 0;
  }
  return usage_error("ini: unknown operation or wrong arguments (see corva ini --help)");
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
  std::cerr << "corva: " << what << ": error " << err << "\n";
  return 1;
}

int run_reg(const Args& all) {
  Args args = all;
  std::string kind = "sz";
  if (!take_option(args, "--type", kind)) return usage_error("--type needs a value");
  if (args.size() < 3) return usage_error("reg needs an operation, PRODUCT and SECTION");
  const std::string op = args[0];
  const char* product = args[1].c_str();
  const char* section = args[2].c_str();
  if (op == "get" && args.size() == 4) {
    std::uint32_t type = 0, size = 0;
    std::int32_t err = CVXRegQryValue(product, section, args[3].c_str(), &type, nullptr, &size);
    std::vector<std::uint8_t> data(size);
    if (err == 0) err = CVXRegQryValue(product, section, args[3].c_str(), &type, data.data(), &size);
    if (err != 0) return report(err, "cannot read " + args[3]);
    data.resize(size);
    std::cout << show_value(type, data) << "\n";
    return 0;
  }
  if (op == "set" && args.size() == 5) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!parse_value(kind, args[4], type, data)) return usage_error("reg: not a " + kind + " value");
    return report(CVXRegSetValue(product, section, args[3].c_str(), type, data.data(),
                                 static_cast<std::uint32_t>(data.size())),
                  "cannot write " + args[3]);
  }
  if (op == "list" && args.size() == 3) {
    CvHANDLE key = 0;
    if (const std::int32_t err = CVXGetRegKey(product, section, &key, 0); err != 0)
      return report(err, "cannot open the key");
    for (std::uint32_t i = 0;; ++i) {
      char name[512];
      std::uint32_t name_size = sizeof name, type = 0, size = 0;
      if (platform::RegEnumValueA(key, i, name, &name_size, nullptr, &type, nullptr, &size) != 0) break;
      std::vector<std::uint8_t> data(size);
      name_size = sizeof name;
      platform::RegEnumValueA(key, i, name, &name_size, nullptr, &type, data.data(), &size);
      std::cout << name << "=" << show_value(type, data) << "\n";
    }
    platform::RegCloseKey(key);
    return 0;
  }
  return usage_error("reg: unknown operation or wrong arguments (see corva reg --help)");
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

int run_settings(const Args& args) {
  if (args.size() == 1 && args[0] == "--from-locale") {
    const platform::RegionalConventions r = platform::host_regional_conventions();
    const std::string decimal(1, r.decimal_point), date(1, r.date_separator);
    const std::string thousands(1, r.thousands_separator);
    bool ok = WriteWINProfileString("intl", "sDecimal", decimal.c_str()) == 1;
    // A locale without grouping (C, POSIX) leaves the separator as it was.
    if (r.thousands_separator != 0)
      ok = ok && WriteWINProfileString("intl", "sThousand", thousands.c_str()) == 1;
    ok = ok && WriteWINProfileString("intl", "iCurrDigits", std::to_string(r.currency_digits).c_str()) == 1;
    ok = ok && WriteWINProfileString("intl", "iDate", std::to_string(r.date_order).c_str()) == 1;
    ok = ok && WriteWINProfileString("intl", "sDate", date.c_str()) == 1;
    if (!ok) {
      std::cerr << "corva: cannot write " << platform::profile_path(nullptr) << "\n";
      return 1;
    }
    std::printf("WIN.INI [intl] written from locale %s\n", r.locale_name.c_str());
  } else if (!args.empty()) {
    return usage_error("settings takes only --from-locale");
  }
  print_settings();
  return 0;
}

// Runs the tour in a child process with its own Windows directory, so the
// settings it reads do not stay in force for the demonstrations after it.
int demo(const std::string& samples) {
  std::cout.flush();
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid > 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/corva-demo-XXXXXX";
  const char* dir = mkdtemp(pattern);
  std::error_code ec;
  if (dir == nullptr ||
      !fs::copy_file(samples + "/CVX70.INI", std::string(dir) + "/CVX70.INI", ec) ||
      !fs::copy_file(samples + "/WIN.INI", std::string(dir) + "/WIN.INI", ec)) {
    std::cerr << "corva: cannot copy the sample INI files from " << samples << "\n";
    _exit(1);
  }
  setenv("CORVALIB_WINDIR", dir, 1);
  platform::reload_configuration();
  auto step = [](const std::string& line, Args args, int (*run)(const Args&)) {
    std::cout << "$ corva " << line << "\n" << std::flush;
    const int rc = run(args);
    std::cout << std::flush;
    return rc;
  };
  int rc = 0;
  rc |= step("ini list CVX70.INI", {"list", "CVX70.INI"}, run_ini);
  rc |= step("ini list CVX70.INI Lib", {"list", "CVX70.INI", "Lib"}, run_ini);
  rc |= step("ini set CVX70.INI lib autodecimal no", {"set", "CVX70.INI", "lib", "autodecimal", "no"}, run_ini);
  rc |= step("ini get CVX70.INI LIB AutoDecimal", {"get", "CVX70.INI", "LIB", "AutoDecimal"}, run_ini);
  rc |= step("settings", {}, run_settings);
  rc |= step("reg set Ledger Options LastCompany \"Harbour Timber\"",
             {"set", "Ledger", "Options", "LastCompany", "Harbour Timber"}, run_reg);
  rc |= step("reg set Ledger Options Windows 3 --type dword",
             {"set", "Ledger", "Options", "Windows", "3", "--type", "dword"}, run_reg);
  rc |= step("reg list Ledger Options", {"list", "Ledger", "Options"}, run_reg);
  fs::remove_all(dir, ec);
  std::cout.flush();
  _exit(rc == 0 ? 0 : 1);
}

const Registration ini{{"ini", "read, write and list INI files", kIniUsage, run_ini, demo}};
const Registration reg{{"reg", "read, write and list the product's registry values", kRegUsage,
                        run_reg, nullptr}};
const Registration settings{{"settings", "show the regional and application settings (--from-locale)",
                             kSettingsUsage, run_settings, nullptr}};

}  // namespace
}  // namespace corva::cli
