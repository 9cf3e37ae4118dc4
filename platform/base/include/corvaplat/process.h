// The running process: the files it runs from, and ending it on a fatal fault.
#pragma once
#include <corvaplat/api.h>

#include <string>
#include <string_view>

namespace corva::platform {

// Called with the text of a fatal exit. A handler may end the process itself,
// throw, or jump away; if it returns, the process ends as without one.
using FatalExitHandler = void (*)(const char* text);

// Installs a handler (null restores the default); returns the previous one.
CORVAPLAT_API FatalExitHandler set_fatal_exit_handler(FatalExitHandler handler);

// Ends the process: writes "Fatal application exit: <text>" to standard error
// and exits with status 3, after giving an installed handler the text first.
[[noreturn]] CORVAPLAT_API void FatalAppExitA(std::uint32_t action, const char* text);

// The program file of this process, every symbolic link resolved; empty when
// the system does not say.
CORVAPLAT_API std::string executable_path();

// The file of the loaded shared object whose file name begins with `name`
// ("libcorvalib.so"), every symbolic link resolved, so the name ends in the
// full version ("libcorvalib.so.1.0.0"); empty when none is loaded.
CORVAPLAT_API std::string loaded_library_path(std::string_view name);

}  // namespace corva::platform
