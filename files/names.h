// File names taken apart and put together, as the name record holds them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "corvalib/files.h"

namespace corva::files {

// Fills the record from the text (already cut to the caller's HIGH + 1).
void parse_file_name(std::string_view text, CvNameRecord& record);
// The parts of a, or of b where a lacks them, in one text.
std::string construct_file_name(const CvNameRecord& a, const CvNameRecord& b);
// name with everything after its last dot replaced by extension ('.LCK' when
// it has no dot).
std::string replace_extension(std::string_view name, std::string_view extension);

}  // namespace corva::files
