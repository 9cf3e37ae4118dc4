// The library's one directory search, kept open between calls.
#pragma once
#include <cstdint>
#include <string_view>

#include "corvalib/files.h"

namespace corva::files {

// Starts the search for pattern (ending the one before) and fills find with
// the first match; false when nothing matched (no search is open then).
bool find_first(std::string_view pattern, CvFindRecord& find);
// The next match of the open search; at its end the search closes and the
// answer is false.
bool find_next(CvFindRecord& find);
// The first or next match whose attributes equal attribute (0: any) and whose
// name does not begin with a dot.
bool find_first_accepted(std::string_view pattern, std::uint8_t attribute, CvFindRecord& find);
bool find_next_accepted(std::uint8_t attribute, CvFindRecord& find);
// Ends the open search, if any.
void close_find();

// Ends every directory search still open. Safe to call at any time, also
// while the process exits.
void close_all_finds();

}  // namespace corva::files
