// Merging a module's menu into the application's, taking it out again, finding
// items by identifier or visible text, and the table of which module owns each
// merged command.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "corvalib/base.h"

namespace corva::ui {

// The text a user sees of a menu item: '&' and '.' dropped, a backslash
// dropped with the character after it, and everything from a TAB (or from
// "\t" written out) on cut off.
std::string visible_text(std::string_view text);

std::int16_t find_item_with_id(CvHMENU menu, std::uint16_t id);
std::int16_t find_item_with_text(CvHMENU menu, std::string_view text);
bool merge(std::uint32_t module, CvHMENU destination, CvHMENU source);
bool unmerge(std::uint32_t module, CvHMENU destination, CvHMENU source);

// The owner table: menus with the commands merged into them and their modules.
std::uint32_t owner_of(CvHMENU menu, std::uint16_t id);
void free_owner_table();
// Room for entries in the record of a menu; 0 without a record (for tests).
std::int16_t owner_capacity(CvHMENU menu);
std::int16_t owner_record_count();

}  // namespace corva::ui
