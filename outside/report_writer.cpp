// Starting the report writer for a company, or bringing it to the front.
#include "outside/report_writer.h"

#include <strings.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "corvalib/files.h"
#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvalib/outside.h"
#include "corvaplat/exec.h"
#include "corvaplat/windows.h"
#include "outside/bridge.h"
#include "text/bstr.h"

namespace corva::outside {
namespace {

constexpr std::uint16_t kPathHigh = 559;
constexpr std::uint16_t kProgramHigh = 254;
constexpr const char* kWindowClass = "xvt320task9012";
constexpr std::uint16_t kOtherCompanyMessage = 20347;

using Path = std::array<char, kPathHigh + 1>;

// The program directory and a name in it. An empty directory stands for the
// root of the current drive, so the separator is always there.
std::string in_program_directory(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (path.empty() || path.back() != '\\') path += '\\';
  path += name;
  return path;
}

// The company the report writer has open, through its component library;
// false when the library cannot be loaded.
bool open_company(std::string_view program, Path& company) {
  const std::string library = in_program_directory(program, "QZUSER.DLL");
  text::write(kPathHigh, company.data(), library);
  const std::uint32_t module = load_library16(company.data());
  if (module == 0) return false;
  const std::uint32_t procedure = proc_address16(module, "QZ_GetCurrentCompany");
  static std::array<unsigned char, 64> description{};  // the library's block of zeros
  CvCompanyQuery query{static_cast<std::uint16_t>(company.size()), company.data()};
  call_proc16(procedure, description.data(), &query, 0);
  company[kPathHigh] = '\0';
  free_library16(module);
  return true;
}

void bring_to_front() {
  const platform::WindowHandle window = platform::FindWindowA(kWindowClass, nullptr);
  if (window == 0) return;
  platform::SetWindowPos(window, 0, 0, 0, 0, 0,
                         platform::SWP_NOSIZE | platform::SWP_NOMOVE | platform::SWP_SHOWWINDOW);
  if (platform::GetWindowLongA(window, platform::GWL_STYLE) & platform::WS_MINIMIZE)
    platform::ShowWindow(window, platform::SW_SHOWNORMAL);
}

void start(const Path& requested) {
  Path program{};
  GetCVXProfileString("Install", "PROGRAMPATH", "", program.data(), kPathHigh + 1);
  const std::string_view directory = text::view(kPathHigh, program.data());
  SetFullDir(kPathHigh, program.data());
  const std::string line = in_program_directory(directory, "CVR.EXE") + " -ENV\"QZDATA=" +
                           std::string(text::view(kPathHigh, requested.data())) + "\" -d" +
                           in_program_directory(directory, "ddmaster.DAT");
  Path command{};
  text::write(kPathHigh, command.data(), line);
  platform::WinExec(command.data(), platform::SW_SHOW);
  SetFullDir(kPathHigh, requested.data());
}

}  // namespace

void run_report_writer(const char* company) {
  Path running{}, requested{};
  std::array<char, kProgramHigh + 1> program{};
  GetCVXProfileString("Install", "PROGRAMPATH", "", program.data(), kProgramHigh + 1);
  if (!open_company(text::view(kProgramHigh, program.data()), running)) return;
  if (company != nullptr && *company != '\0') {
    text::write(kPathHigh, requested.data(), std::string_view(company, strnlen(company, kPathHigh)));
  } else {
    GetFullDir(kPathHigh, requested.data());
  }
  if (strcasecmp(running.data(), requested.data()) == 0) bring_to_front();
  if (running[0] == '\0') {
    start(requested);
  } else if (strcasecmp(running.data(), requested.data()) != 0) {
    Message(0, kOtherCompanyMessage);
  }
}

}  // namespace corva::outside
