// Settings and the payroll tax tables.
//
// An installation keeps its settings in three places, all in the directory
// that stands for the Windows directory (CORVALIB_WINDIR): WIN.INI (the
// regional settings in [intl]), CVX70.INI (the product's own: where the
// company data lives) and the registry store. The company data directory
// holds the tax tables, TaxInfo.Dat.
//
// The program sets up a fresh installation in a temporary directory, writes
// its settings through the library, has the library read them, and then reads
// the tax tables of the company. Everything it made is removed at the end.
#include <corvalib.h>
#include <corvaplat/config.h>

#include <stdlib.h>  // mkdtemp, setenv

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A small tax file in the format the payroll functions read; its values are
// made up for the example.
constexpr const char* kTaxTables =
    ";VERSION~2026.1\r\n"
    "[General]\r\n"
    "StateList=CA,NY\r\n"
    "FilingStatuses=Single,Married,Head/Household\r\n"
    "[Federal]\r\n"
    "401kLimit=23500.00\r\n"
    "[CA]\r\n"
    "HasLocalities=N\r\n"
    "SUILimit=7000\r\n"
    "SIT=Y\r\n"
    "SDIEe=Y\r\n"
    "SIT_CAG=CA Withholding\r\n"
    "Statefilingstatus=Single,Married,Head/Household\r\n"
    "[NY]\r\n"
    "HasLocalities=Y\r\n"
    "Localities=New York City,Yonkers\r\n"
    "SIT=Y\r\n"
    "Statefilingstatus=Married,Single\r\n";

int failures = 0;

void check(bool ok, const char* what) {
  if (!ok) {
    std::printf("unexpected: %s\n", what);
    ++failures;
  }
}

template <std::size_t N>
constexpr std::uint16_t high_of(const char (&)[N]) {
  return static_cast<std::uint16_t>(N - 1);  // a bounded string's HIGH
}

// A temporary installation: the Windows directory and drive D: inside one
// new directory, removed with everything in it when the program ends.
class Installation {
 public:
  Installation() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corva-settings-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    root_ = pattern;
    setenv("CORVALIB_WINDIR", (root_ + "/windows").c_str(), 1);
    setenv("CORVALIB_DRIVE_D", root_.c_str(), 1);
    // The library read the environment when it loaded: have it read it again.
    corva::platform::reload_configuration();
  }
  ~Installation() {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  bool ready() const { return !root_.empty(); }
  std::string host_path(const std::string& relative) const { return root_ + "/" + relative; }

 private:
  std::string root_;
};

void settings() {
  // A bookkeeper in Lisbon: day-month-year, "," for decimals, "." between
  // thousands. These are WIN.INI's regional settings.
  WriteWINProfileString("intl", "sDate", "/");
  WriteWINProfileString("intl", "iDate", "1");
  WriteWINProfileString("intl", "sDecimal", ",");
  WriteWINProfileString("intl", "sThousand", ".");
  WriteWINProfileString("intl", "iCurrDigits", "2");
  // The product's own file names the company data directory (a DOS name).
  WriteCVXProfileString("Lib", "DATAPATH", "D:\\COMPANY");
  WriteCVXProfileString("Lib", "AUTODECIMAL", "No");

  // The library reads both files when it loads; after a change, ask again.
  ReReadWinIni();
  ReReadCorvaIni();

  char point[2];
  GetDecimalPoint(high_of(point), point);
  char amount[19];
  DollarsToString(1234.5, high_of(amount), amount, 0, '-');
  Trim(high_of(amount), amount);
  std::uint32_t date = 0;
  MakeDate(3, 31, 2026, &date);
  char day[11];
  DateToShortStr(date, high_of(day), day);
  std::printf("decimal point \"%s\", %u currency digits, automatic point %s\n", point,
              GetCurrencyPrecision(), GetAutoDecimal() ? "on" : "off");
  std::printf("an amount: %s, a date: %s\n", amount, day);
  std::printf("company data: %s\n", MyCorvaLibDataPtr->DataPath);
  check(std::strcmp(amount, "1.234,50") == 0, "the amount in the Lisbon format");
  check(std::strcmp(day, "31/3/26") == 0, "the date in day-month-year order");
  check(std::strcmp(MyCorvaLibDataPtr->DataPath, "D:\\COMPANY\\") == 0, "the data path");

  // Any key reads back through the profile functions, with a default.
  char clip[8];
  GetCVXProfileString("Options", "AllowLargeClip", "n", clip, sizeof clip);
  std::printf("AllowLargeClip (not written, so the default): %s\n", clip);

  // The registry: "Options" lives under the current user. Values keep their
  // bytes and their type (1 text).
  const char company[] = "D:\\COMPANY";
  check(CVXRegSetValue("Ledger", "Options", "LastCompany", 1,
                       reinterpret_cast<const std::uint8_t*>(company), sizeof company) == 0,
        "a registry write");
  char back[64] = {};
  std::uint32_t type = 0, size = sizeof back;
  const std::int32_t error = CVXRegQryValue("Ledger", "Options", "LastCompany", &type,
                                            reinterpret_cast<std::uint8_t*>(back), &size);
  std::printf("registry LastCompany: \"%s\" (error %d, type %u, %u bytes)\n", back, error, type,
              size);
  check(error == 0 && std::strcmp(back, company) == 0, "the registry value read back");
}

void tax_tables(const Installation& installation) {
  // The company directory and its tax file. MakeDir takes the DOS name; the
  // file is written here with the host's own calls, as an installer would.
  MakeDir(high_of("D:\\COMPANY"), "D:\\COMPANY");
  std::ofstream(installation.host_path("COMPANY/TaxInfo.Dat"), std::ios::binary) << kTaxTables;

  char version[9] = {};
  GetTaxTableVersionInfo(version, sizeof version);
  version[std::strcspn(version, "\r\n")] = '\0';  // a short version keeps its line end

  char states[256];
  NewGetStates(states, sizeof states);
  double limit = 0.0;
  NewGetFederalTaxInfo(&limit);
  std::printf("tax tables %s, states %s, 401(k) limit %.2f\n", version, states, limit);
  check(std::strncmp(version, "2026.1", 6) == 0, "the tax table version");
  check(std::strcmp(states, "CA,NY") == 0, "the state list");

  StateTaxInfo ca;
  if (NewGetStateTaxInfo("CA", &ca)) {
    std::printf("CA: state income tax %s, employee disability %s, SUI limit %u, \"%s\"\n",
                ca.SIT ? "yes" : "no", ca.SDIEe ? "yes" : "no", static_cast<unsigned>(ca.SUILimit),
                ca.SIT_CAG);
  } else {
    check(false, "the CA section");
  }

  // Filing statuses: the general list, and which of them a state accepts.
  char status[32];
  for (std::int32_t i = 0; GetFilingStatus(i, status, sizeof status); ++i) {
    std::printf("filing status %d: %-15s CA %s, NY %s\n", i, status,
                StateFilingStatusIsValidForState(status, "CA") ? "yes" : "no",
                StateFilingStatusIsValidForState(status, "NY") ? "yes" : "no");
  }
  std::int32_t ny_default = GetDefaultStateFilingStatus("NY");
  GetFilingStatus(ny_default, status, sizeof status);
  std::printf("NY's default status: %s\n", status);
  check(std::strcmp(status, "Married") == 0, "NY's default filing status");
}

}  // namespace

int main() {
  Installation installation;
  if (!installation.ready()) {
    std::perror("mkdtemp");
    return 1;
  }
  settings();
  tax_tables(installation);
  return failures == 0 ? 0 : 1;
}
