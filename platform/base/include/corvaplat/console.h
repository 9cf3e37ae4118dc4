// The terminal a host program runs on.
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

// True when standard input is a terminal, so that a person can answer.
CORVAPLAT_API bool input_is_interactive();

}  // namespace corva::platform
