// Directory searches that stay open between calls.
#pragma once

namespace corva::files {

// Ends every directory search still open. Safe to call at any time, also
// while the process exits.
void close_all_finds();

}  // namespace corva::files
