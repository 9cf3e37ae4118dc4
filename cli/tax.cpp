// corva tax: the payroll tax information file of the data directory.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

constexpr const char* kUsage =
    "usage: corva tax WHAT [--file PATH]\n"
    "  states          the state codes the file has sections for\n"
    "  state CODE      every field of a state's record\n"
    "  federal         the federal 401(k) limit\n"
    "  version         the version of the tax tables\n"
    "  status [NAME]   the filing statuses, or the index of NAME\n"
    "The file is \"TaxInfo.Dat\" in the data directory in force; --file names\n"
    "another one of that name (its directory becomes drive X:, the data path X:\\).\n";

// Points the data path at the directory of a TaxInfo.Dat named on the command line.
bool use_file(const std::string& file) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path p = fs::absolute(file, ec);
  if (ec || !fs::is_regular_file(p, ec)) {
    std::cerr << "corva: no file " << file << "\n";
    return false;
  }
  if (strcasecmp(p.filename().c_str(), "TaxInfo.Dat") != 0) {
    std::cerr << "corva: the tax file must be named TaxInfo.Dat\n";
    return false;
  }
  setenv("CORVALIB_DRIVE_X", p.parent_path().c_str(), 1);
  Assign(3, "X:\\", 63, MyCorvaLibDataPtr->DataPath);
  return true;
}

void print_text(const char* label, const char* text) {
  if (*text != '\0') std::cout << "  " << label << ": " << text << "\n";
}

int show_state(const std::string& code) {
  StateTaxInfo t{};
  const bool ok = NewGetStateTaxInfo(code.c_str(), &t) != 0;
  std::cout << "state " << code << (ok ? "" : " (incomplete or not found)") << "\n";
  std::cout << "  HasLocalities: " << t.HasLocalities << "  SUILimit: " << t.SUILimit << "\n";
  std::cout << "  SIT " << t.SIT << "  LITPercent " << t.LITPercent << "  LITAmount " << t.LITAmount
            << "  LITEr " << t.LITEr << "  SUIEe " << t.SUIEe << "  SDIEe " << t.SDIEe
            << "  SDIEr " << t.SDIEr << "  Special " << t.Special << "\n";
  const std::pair<const char*, const char*> texts[] = {
      {"Localities", t.Localities},        {"SpecialFields", t.SpecialFields},
      {"SIT_CAG", t.SIT_CAG},              {"SUI_CAG", t.SUI_CAG},
      {"SDI_CAG", t.SDI_CAG},              {"HC_CAG", t.HC_CAG},
      {"WF_CAG", t.WF_CAG},                {"SETT_CAG", t.SETT_CAG},
      {"SUI_ER_CAG", t.SUI_ER_CAG},        {"SDI_ER_CAG", t.SDI_ER_CAG},
      {"HC_ER_CAG", t.HC_ER_CAG},          {"WF_ER_CAG", t.WF_ER_CAG},
      {"SETT_ER_CAG", t.SETT_ER_CAG},      {"Statefilingstatus", t.Statefilingstatus},
      {"Localfilingstatus", t.Localfilingstatus}};
  for (const auto& [label, text] : texts) print_text(label, text);
  if (t.Statefilingstatus[0] != '\0') {
    char name[32];
    GetFilingStatus(GetDefaultStateFilingStatus(code.c_str()), name, sizeof name);
    std::cout << "  default filing status: " << name << "\n";
  }
  return ok ? 0 : 1;
}

int show_statuses() {
  char name[32];
  for (int32_t i = 0; GetFilingStatus(i, name, sizeof name); ++i) std::cout << i << " " << name << "\n";
  return 0;
}

int run(const Args& args) {
  if (wants_help(args)) {
    std::cout << kUsage;
    return 0;
  }
  Args rest = args;
  std::string file;
  if (!take_option(rest, "--file", file)) return usage_error("--file needs a value");
  if (!file.empty() && !use_file(file)) return 1;
  if (rest.empty()) return usage_error("tax: what? (see corva tax --help)");
  const std::string what = rest[0];
  if (what == "states" && rest.size() == 1) {
    char states[256];
    if (!NewGetStates(states, sizeof states)) return 1;
    std::cout << states << "\n";
    return 0;
  }
  if (what == "state" && rest.size() == 2) return show_state(rest[1]);
  if (what == "federal" && rest.size() == 1) {
    double limit = 0;
    if (!NewGetFederalTaxInfo(&limit)) return 1;
    std::cout << "401(k) limit: " << limit << "\n";
    return 0;
  }
  if (what == "version" && rest.size() == 1) {
    char version[9];
    const bool ok = GetTaxTableVersionInfo(version, sizeof version) != 0;
    std::string text(version, strnlen(version, sizeof version));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    std::cout << text << "\n";
    return ok ? 0 : 1;
  }
  if (what == "status" && rest.size() == 1) return show_statuses();
  if (what == "status" && rest.size() == 2) {
    const int32_t index = GetFilingStatusFromText(rest[1].c_str());
    std::cout << index << "\n";
    return index >= 0 ? 0 : 1;
  }
  return usage_error("tax: unknown request (see corva tax --help)");
}

int demo(const std::string& samples) {
  if (!use_file(samples + "/TaxInfo.Dat")) return 1;
  int status = 0;
  for (const Args& a : {Args{"version"}, Args{"states"}, Args{"federal"}, Args{"state", "CA"},
                        Args{"state", "NY"}, Args{"status", "Head/Household"}}) {
    std::cout << "$ corva tax";
    for (const auto& w : a) std::cout << " " << w;
    std::cout << "\n";
    if (run(a) != 0) status = 1;
  }
  return status;
}

const Registration reg{{"tax", "the payroll tax information file (states, filing statuses, ...)",
                        kUsage, run, demo}};

}  // namespace
}  // namespace corva::cli
