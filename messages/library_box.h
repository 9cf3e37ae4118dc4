// The library's own message path: a numbered message shown without any of the
// application's windows (out of memory, program faults).
#pragma once
#include <cstdint>

namespace corva::messages {

// Shows library message `id` on the library's own path (Lib_Message) and
// returns the button code.
int library_message(std::uint16_t id);

}  // namespace corva::messages
