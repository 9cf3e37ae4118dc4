// The terminal a host program runs on.
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

// True when standard input is a terminal, so that a person can answer.
CORVAPLAT_API bool input_is_interactive();

// Flushes standard output and says whether everything written to it arrived:
// kErrorSuccess, or why not (kErrorDiskFull when the device is full). A
// program checks this last, so a failed write does not pass for success.
CORVAPLAT_API std::uint32_t finish_standard_output();

}  // namespace corva::platform
