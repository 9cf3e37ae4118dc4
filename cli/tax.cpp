// corva tax: the payroll tax information file of the data directory.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "corvalib.h"

namespace corva::cli {
namespace {

// Points the data path at the directory of a TaxInfo.Dat named on the command line.
bool use_file(const std::string& file) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path p = fs::absolute(file, ec);
  if (ec || !fs::is_regular_file(p, ec)) return fail("no file " + file) == 0;
  if (!same_text(p.filename().string(), "TaxInfo.Dat"))
    return fail("the tax file must be named TaxInfo.Dat") == 0;
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
            << "  LITEr " << t.LITEr << "  SUIEe " << t.SUIEe << "  SDIEe " << t.SDIEe << "  SDIEr "
            << t.SDIEr << "  Special " << t.Special << "\n";
  const std::pair<const char*, const char*> texts[] = {{"Localities", t.Localities},
                                                       {"SpecialFields", t.SpecialFields},
                                                       {"SIT_CAG", t.SIT_CAG},
                                                       {"SUI_CAG", t.SUI_CAG},
                                                       {"SDI_CAG", t.SDI_CAG},
                                                       {"HC_CAG", t.HC_CAG},
                                                       {"WF_CAG", t.WF_CAG},
                                                       {"SETT_CAG", t.SETT_CAG},
                                                       {"SUI_ER_CAG", t.SUI_ER_CAG},
                                                       {"SDI_ER_CAG", t.SDI_ER_CAG},
                                                       {"HC_ER_CAG", t.HC_ER_CAG},
                                                       {"WF_ER_CAG", t.WF_ER_CAG},
                                                       {"SETT_ER_CAG", t.SETT_ER_CAG},
                                                       {"Statefilingstatus", t.Statefilingstatus},
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
  for (int32_t i = 0; GetFilingStatus(i, name, sizeof name); ++i)
    std::cout << i << " " << name << "\n";
  return 0;
}

// The state codes of the tax file, as stored ("CA,NY,TX"); empty (with a
// message) when the file cannot be read.
std::string state_list() {
  char states[256];
  if (NewGetStates(states, sizeof states)) return states;
  fail("cannot read the tax tables (TaxInfo.Dat in the data directory)");
  return {};
}

bool listed(const std::string& states, const std::string& code) {
  for (std::size_t at = 0; at <= states.size();) {
    const std::size_t comma = std::min(states.find(',', at), states.size());
    if (same_text(std::string_view(states).substr(at, comma - at), code)) return true;
    at = comma + 1;
  }
  return false;
}

int show_states() {
  const std::string states = state_list();
  if (states.empty()) return 1;
  std::cout << states << "\n";
  return 0;
}

int show_federal() {
  double limit = 0;
  if (!NewGetFederalTaxInfo(&limit)) return fail("the tax tables have no federal limit");
  std::cout << "401(k) limit: " << limit << "\n";
  return 0;
}

int show_version() {
  char version[9];
  if (GetTaxTableVersionInfo(version, sizeof version) == 0)
    return fail("the tax tables carry no version");
  std::string text(version, strnlen(version, sizeof version));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  std::cout << text << "\n";
  return 0;
}

int show_status(const std::string* name) {
  if (name == nullptr) return show_statuses();
  const int32_t index = GetFilingStatusFromText(name->c_str());
  if (index < 0) return fail("no filing status '" + *name + "' (see corva tax status)");
  std::cout << index << "\n";
  return 0;
}

void define(CLI::App& app) {
  static std::string file, code, status;
  app.fallthrough();  // --file may follow the word
  auto* file_option =
      app.add_option("--file", file,
                     "another TaxInfo.Dat (its directory becomes drive X:, the data path X:\\)")
          ->type_name("PATH");
  // Runs fn with the file named on the command line, if one was.
  auto with_file = [file_option](std::function<int()> fn) {
    return [file_option, fn = std::move(fn)] {
      if (file_option->count() > 0 && !use_file(file)) return 1;
      return fn();
    };
  };
  on_run(app.add_subcommand("states", "the state codes the file has sections for"),
         with_file(show_states));
  auto* state = app.add_subcommand("state", "every field of a state's record");
  state->add_option("CODE", code, "a two-letter state code, such as CA")->required();
  on_run(state, with_file([] {
           const std::string states = state_list();
           if (states.empty()) return 1;
           if (!listed(states, code))
             return fail("no state " + code + " in the tax tables; they have " + states);
           return show_state(code);
         }));
  on_run(app.add_subcommand("federal", "the federal 401(k) limit"), with_file(show_federal));
  on_run(app.add_subcommand("version", "the version of the tax tables"), with_file(show_version));
  auto* statuses = app.add_subcommand("status", "the filing statuses, or the index of NAME");
  auto* name = statuses->add_option("NAME", status, "a filing status, such as Single");
  on_run(statuses,
         with_file([name] { return show_status(name->count() > 0 ? &status : nullptr); }));
  app.footer("The file is TaxInfo.Dat in the data directory in force, unless --file names one.");
}

int demo(const std::string& samples) {
  if (!use_file(samples + "/TaxInfo.Dat")) return 1;
  int status = 0;
  const std::pair<const char*, std::function<int()>> steps[] = {
      {"version", show_version},
      {"states", show_states},
      {"federal", show_federal},
      {"state CA", [] { return show_state("CA"); }},
      {"state NY", [] { return show_state("NY"); }},
      {"status Head/Household", [] {
         const std::string name = "Head/Household";
         return show_status(&name);
       }}};
  for (const auto& [line, run] : steps) {
    std::cout << "$ corva tax " << line << "\n";
    if (run() != 0) status = 1;
  }
  return status;
}

const Registration reg{
    {"tax", "the payroll tax information file (states, filing statuses, ...)", define, demo}};

}  // namespace
}  // namespace corva::cli
