// The program-fault end: shown, then the process ends.
#pragma once
#include <cstdint>

namespace corva::containers {

// Shows message `id`, then message 20300, then ends the application with the
// text "Problem detected in MemStore". Does not return.
[[noreturn]] void fatal_memstore(std::uint16_t id);

}  // namespace corva::containers
