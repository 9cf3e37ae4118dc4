// Starting another program from a command line (WinExec).
//
// The command line is split into words as the original platform's run-time
// splits it: blanks separate words outside double quotes, a double quote
// toggles quoting and is dropped, 2n backslashes before a quote give n
// backslashes and a quoting toggle, 2n+1 give n backslashes and a literal
// quote, other backslashes are kept. The first word names the program as a DOS
// name (drive letters and case-blind components); ".EXE" programs are run as
// they are found on the host. The program starts detached: WinExec does not
// wait for it.
#pragma once
#include <corvaplat/api.h>

#include <string>
#include <string_view>
#include <vector>

namespace corva::platform {

// Words of a command line, split as described above.
CORVAPLAT_API std::vector<std::string> split_command_line(std::string_view line);

// Starts the program. Answers more than 31 on success; 2 when the program
// does not exist, 3 when its directory does not, 0 when the system could not
// start it (or the line is null or empty).
CORVAPLAT_API std::uint32_t WinExec(const char* command_line, std::uint32_t show);

// A stand-in for starting programs (tests, or a host with a launcher of its
// own): receives the whole line and the show command and answers as WinExec
// would. Null restores the real start. Returns the previous one.
using ProgramStarter = std::uint32_t (*)(void* context, const char* command_line,
                                         std::uint32_t show);
CORVAPLAT_API ProgramStarter set_program_starter(ProgramStarter starter, void* context);

}  // namespace corva::platform
