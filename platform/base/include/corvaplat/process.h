// Ending the process on a fatal fault.
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

// Called with the text of a fatal exit. A handler may end the process itself,
// throw, or jump away; if it returns, the process ends as without one.
using FatalExitHandler = void (*)(const char* text);

// Installs a handler (null restores the default); returns the previous one.
CORVAPLAT_API FatalExitHandler set_fatal_exit_handler(FatalExitHandler handler);

// Ends the process: writes "Fatal application exit: <text>" to standard error
// and exits with status 3, after giving an installed handler the text first.
[[noreturn]] CORVAPLAT_API void FatalAppExitA(std::uint32_t action, const char* text);

}  // namespace corva::platform
