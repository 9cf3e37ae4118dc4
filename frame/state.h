// Process-wide state of the library frame, for the library's own subsystems.
#pragma once
#include <cstdint>

#include "corvalib/base.h"

namespace corva::frame {

// The one shared record (what MyCorvaLibDataPtr points at).
CorvaLibDataType& record();
// The library's own module handle; 0 before load.
CvHMODULE own_module();

// The property-name atoms created at load.
struct PropertyAtoms {
  std::uint16_t dialog_id = 0;        // "CVX DIALOG ID"
  std::uint16_t window_data = 0;      // "WINDOW DATA PTR"
  std::uint16_t noprefix_save = 0;    // "SS_NOPREFIX SAVE AREA"
};
const PropertyAtoms& property_atoms();

// The load and unload steps; run by the shared object's constructor and
// destructor. Load returns false when the library cannot come up.
bool attach();
void detach();

// Slots 0-14 and the string search, reset by attach.
void reset_slots();
void free_string_search();

}  // namespace corva::frame
