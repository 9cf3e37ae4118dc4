// The tax information file read from a data directory on a mapped drive.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "corvalib/payroll.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/profile.h"
#include "payroll/taxinfo.h"
#include "support/boxes.h"
#include "support/temp_dir.h"

namespace {

namespace pf = corva::platform;

const char* kFile =
    ";VERSION~1999.2\r\n"
    "; made-up values for the tests\r\n"
    "[General]\r\n"
    "StateList=CA,NY,TX,OH\r\n"
    "[Federal]\r\n"
    "401kLimit=15500.50\r\n"
    "[CA]\r\n"
    "HasLocalities=N\r\n"
    "SUILimit=70000\r\n"
    "SIT=Yes\r\nLITPercent=y\r\nLITAmount=no\r\nLITEr=\r\nSUIEe=N\r\nSDIEe=yes\r\n"
    "SIT_CAG=CA state tax\r\n"
    "Statefilingstatus=Married,Single\r\n"
    "[OH]\r\n"
    "HasLocalities=yes\r\n"
    "SUILimit=9000\r\n"
    "[NY]\r\n"
    "HasLocalities=Y\r\n"
    "Localities=NYC,Yonkers\r\n"
    "Localfilingstatus=Head/Household\r\n";

// A data directory "T:\CO1\" holding the file; the record's data path names it.
class TaxFile : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.file("CO1"));
    setenv("CORVALIB_DRIVE_T", dir_.path().c_str(), 1);
    write(kFile);
    set_data_path("T:\\CO1\\");
    corva::payroll::forget_filing_statuses();
    boxes_.clear();
  }
  void TearDown() override {
    set_data_path("");
    unsetenv("CORVALIB_DRIVE_T");
    corva::payroll::forget_filing_statuses();
  }
  void write(const std::string& text) {
    dir_.write("CO1/TaxInfo.Dat", text);
    pf::profile_cache_clear();
  }
  static void set_data_path(const char* path) {
    Assign(static_cast<uint16_t>(std::strlen(path)), path, 63, MyCorvaLibDataPtr->DataPath);
  }
  corva::test::TempDir dir_;
  corva::test::BoxRecorder boxes_;
};

TEST_F(TaxFile, StateRecords) {
  StateTaxInfo ca;
  std::memset(&ca, 0x55, sizeof ca);
  ASSERT_EQ(NewGetStateTaxInfo("CA", &ca), 1);
  EXPECT_EQ(+ca.HasLocalities, 0);
  EXPECT_EQ(+ca.SUILimit, 70000 & 0xFFFF);
  // Packed fields are read by value (+): a reference to one would be misaligned.
  // Flags: only a first 'y' or 'Y' counts; empty values and missing keys are 0.
  const int flags[] = {+ca.SIT, +ca.LITPercent, +ca.LITAmount, +ca.LITEr, +ca.SUIEe, +ca.SDIEe, +ca.Special};
  EXPECT_EQ(std::vector<int>(std::begin(flags), std::end(flags)), (std::vector<int>{1, 1, 0, 0, 0, 1, 0}));
  EXPECT_STREQ(ca.SIT_CAG, "CA state tax");
  EXPECT_STREQ(ca.Localities, "");
  for (char c : ca.WF_ER_CAG) EXPECT_EQ(c, 0);  // missing texts are cleared

  StateTaxInfo ny{};
  ASSERT_EQ(NewGetStateTaxInfo("ny", &ny), 1);  // sections match in any case
  EXPECT_STREQ(ny.Localities, "NYC,Yonkers");

  // Localities promised but not named: FALSE with the first two fields filled.
  StateTaxInfo oh{};
  EXPECT_EQ(NewGetStateTaxInfo("OH", &oh), 0);
  EXPECT_EQ(+oh.HasLocalities, 1);
  EXPECT_EQ(+oh.SUILimit, 9000);

  // Codes shorter than two characters leave the record untouched.
  for (const char* bad : {static_cast<const char*>(nullptr), "", "C"}) {
    StateTaxInfo untouched;
    std::memset(&untouched, 0x55, sizeof untouched);
    EXPECT_EQ(NewGetStateTaxInfo(bad, &untouched), 0);
    EXPECT_EQ(+untouched.SUILimit, 0x5555);
  }
  EXPECT_EQ(NewGetStateTaxInfo("CA", nullptr), 0);
  // The code is read within its two characters: an unterminated code at the
  // end of its block, or a longer text, names the same section.
  const auto unterminated = std::make_unique<char[]>(2);
  std::memcpy(unterminated.get(), "CA", 2);
  for (const char* code : {static_cast<const char*>(unterminated.get()), "CAL"}) {
    StateTaxInfo same{};
    EXPECT_EQ(NewGetStateTaxInfo(code, &same), 1);
    EXPECT_EQ(std::memcmp(&same, &ca, sizeof ca), 0);
  }

  // Another program replaces the file: the next call reads the new values.
  dir_.write("CO1/TaxInfo.Dat", "[CA]\nSUILimit=123\nSIT=n\n");
  ASSERT_EQ(NewGetStateTaxInfo("CA", &ca), 1);
  EXPECT_EQ(+ca.SUILimit, 123);
  EXPECT_EQ(+ca.SIT, 0);
  EXPECT_EQ(boxes_.count(), 0u);
}

TEST_F(TaxFile, StatesVersionAndFederalLimit) {
  char states[300];
  std::memset(states, 'x', sizeof states);
  EXPECT_EQ(NewGetStates(states, 255), 0);  // too small: untouched, file not read
  EXPECT_EQ(states[0], 'x');
  ASSERT_EQ(NewGetStates(states, 256), 1);
  EXPECT_STREQ(states, "CA,NY,TX,OH");

  double limit = -1;
  ASSERT_EQ(NewGetFederalTaxInfo(&limit), 1);
  EXPECT_DOUBLE_EQ(limit, 15500.5);

  struct Case {
    const char* first_line;
    int result;
    std::string version;
  };
  const std::vector<Case> cases = {
      {";VERSION~1999.2\r\n", 1, "1999.2\n"},  // short line: the line feed comes along
      {";VERSION~12345678\n", 1, "12345678"},
      {";VERSION~123456789\n", 1, "12345678"},  // 17 characters at most
      {"[General]\n", 0, "Unknown"},
  };
  for (const auto& c : cases) {
    write(std::string(c.first_line) + "[Federal]\n401kLimit=abc\n");
    char version[12];
    std::memset(version, 'x', sizeof version);
    EXPECT_EQ(GetTaxTableVersionInfo(version, sizeof version), c.result) << c.first_line;
    EXPECT_EQ(std::string(version), c.version);
    for (std::size_t i = c.version.size(); i < sizeof version; ++i) EXPECT_EQ(version[i], 0);
  }
  // Not a number: 0.0 and TRUE. No key: the default 10000.
  EXPECT_EQ(NewGetFederalTaxInfo(&limit), 1);
  EXPECT_DOUBLE_EQ(limit, 0.0);
  write("[General]\n");
  EXPECT_EQ(NewGetFederalTaxInfo(&limit), 1);
  EXPECT_DOUBLE_EQ(limit, 10000.0);
  EXPECT_EQ(boxes_.count(), 0u);
}

TEST_F(TaxFile, FilingStatuses) {
  // No "FilingStatuses" key: the built-in list.
  char name[32];
  ASSERT_EQ(GetFilingStatus(2, name, sizeof name), 1);
  EXPECT_STREQ(name, "Head/Household");
  ASSERT_EQ(GetFilingStatus(15, name, sizeof name), 1);
  EXPECT_STREQ(name, "Special H");
  for (int32_t bad : {16, -1}) {
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(GetFilingStatus(bad, name, sizeof name), 0);
    EXPECT_EQ(name[0], 0);
  }
  ASSERT_EQ(GetFilingStatus(6, name, 5), 1);  // cut to size - 1
  EXPECT_STREQ(name, "Qual");
  EXPECT_EQ(GetFilingStatusFromText("Qualifying Widow(er)"), 6);
  EXPECT_EQ(GetFilingStatusFromText("single"), -1);
  EXPECT_EQ(GetFilingStatusFromText(nullptr), -1);

  // A state with its own list: its first entry is the default.
  EXPECT_EQ(GetDefaultStateFilingStatus("CA"), 1);
  EXPECT_EQ(StateFilingStatusIsValidForState("Single", "CA"), 1);
  EXPECT_EQ(StateFilingStatusIsValidForState("Head/Household", "CA"), 0);
  // Without one: default 0 and the whole general list is valid.
  EXPECT_EQ(GetDefaultStateFilingStatus("TX"), 0);
  EXPECT_EQ(StateFilingStatusIsValidForState("Special C", "TX"), 1);
  EXPECT_EQ(StateFilingStatusIsValidForState("Nobody", "TX"), 0);
  EXPECT_EQ(GetDefaultLocalFilingStatus("NY"), 2);
  EXPECT_EQ(LocalFilingStatusIsValidForState("Single", "NY"), 0);
  // A bad code sees no state list.
  EXPECT_EQ(GetDefaultStateFilingStatus("C"), 0);
  EXPECT_EQ(StateFilingStatusIsValidForState("Single", nullptr), 1);

  // The file's own list, read once per process.
  corva::payroll::forget_filing_statuses();
  write("[General]\nFilingStatuses=Alone,Together," + std::string(40, 'L') + "\n");
  EXPECT_EQ(GetFilingStatusFromText("Together"), 1);
  ASSERT_EQ(GetFilingStatus(2, name, sizeof name), 1);
  EXPECT_EQ(std::string(name), std::string(31, 'L'));  // names count up to 31
  ASSERT_EQ(GetFilingStatus(3, name, sizeof name), 1);
  EXPECT_EQ(std::string(name), std::string(9, 'L'));
  write("[General]\nFilingStatuses=Other\n");
  EXPECT_EQ(GetFilingStatusFromText("Other"), -1);
}

TEST_F(TaxFile, UnusableFileShowsOneMessagePerCall) {
  // A missing file, and things planted under its name that are no file: each
  // tax function fails the same way, at once.
  const std::string file = dir_.file("CO1/TaxInfo.Dat");
  struct Case {
    const char* what;
    void (*plant)(const std::string& file);
  } cases[] = {
      {"missing", [](const std::string&) {}},
      {"directory", [](const std::string& f) { std::filesystem::create_directory(f); }},
      {"FIFO", [](const std::string& f) { mkfifo(f.c_str(), 0600); }},
      {"symlink to a device",
       [](const std::string& f) { std::filesystem::create_symlink("/dev/zero", f); }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(file);
    pf::profile_cache_clear();
    c.plant(file);
    boxes_.clear();
    char states[256];
    EXPECT_EQ(NewGetStates(states, sizeof states), 0) << c.what;
    StateTaxInfo info{};
    EXPECT_EQ(NewGetStateTaxInfo("CA", &info), 0) << c.what;
    double limit = -1;
    EXPECT_EQ(NewGetFederalTaxInfo(&limit), 0) << c.what;
    EXPECT_EQ(limit, 0.0) << c.what;
    char version[9];
    EXPECT_EQ(GetTaxTableVersionInfo(version, sizeof version), 0) << c.what;
    EXPECT_STREQ(version, "Unknown") << c.what;
    EXPECT_EQ(boxes_.count(), 4u) << c.what;
    EXPECT_EQ(boxes_.last(), "Unable to locate TAXINFO.DAT.") << c.what;
    // The filing statuses fall back to the built-in list.
    corva::payroll::forget_filing_statuses();
    EXPECT_EQ(GetFilingStatusFromText("Special A"), 8) << c.what;
  }
}

TEST(TaxTokens, ListsSplitAsStored) {
  struct Case {
    const char* list;
    int32_t size;
    std::vector<std::string> tokens;
  };
  const std::vector<Case> cases = {
      {"A,,B,", 32, {"A", "", "B"}},
      {"", 32, {}},
      {"ABCDE,F", 3, {"AB", "CD", "E", "F"}},  // the rest of a long token comes next
      {",", 32, {""}},
      {"AB,,C", 1, {"", "", ""}},  // no room for a character: each token passed over
  };
  for (const auto& c : cases) {
    std::vector<char> text(c.list, c.list + std::strlen(c.list) + 1);
    char* cursor = text.data();
    std::vector<std::string> got;
    char token[32];
    while (GetTokenFromLine(&cursor, token, c.size, ',')) got.emplace_back(token);
    EXPECT_EQ(got, c.tokens) << c.list;
  }
  char token[4] = "zz";
  char* null_cursor = nullptr;
  EXPECT_EQ(GetTokenFromLine(&null_cursor, token, 4, ','), 0);
  EXPECT_EQ(GetTokenFromLine(nullptr, token, 4, ','), 0);
  char text[] = "A";
  char* cursor = text;
  EXPECT_EQ(GetTokenFromLine(&cursor, token, 0, ','), 0);
  EXPECT_STREQ(token, "zz");
  // A NUL separator is the end of the text, never stepped over.
  char two[] = "AB";
  cursor = two;
  EXPECT_EQ(GetTokenFromLine(&cursor, token, 4, '\0'), 1);
  EXPECT_EQ(GetTokenFromLine(&cursor, token, 4, '\0'), 0);
  EXPECT_EQ(cursor, two + 2);
}

}  // namespace
