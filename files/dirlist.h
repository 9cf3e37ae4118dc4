// The dialog services that MyDlgDirList fills a list box through: by default
// the window layer's list-box messages; in a library built without a window
// layer the listing runs (the directory change, the search) and shows nothing.
#pragma once
#include <cstdint>

#include "corvalib/base.h"

namespace corva::files {

struct DialogListTarget {
  // Empties list box `list` of the dialog (LB_RESETCONTENT).
  void (*reset_list)(CvHWND dialog, std::int16_t list);
  // Adds one entry to the list box (LB_ADDSTRING).
  void (*add_string)(CvHWND dialog, std::int16_t list, const char* text);
  // Sets the text of a dialog item (SetDlgItemTextA).
  void (*set_item_text)(CvHWND dialog, std::int16_t item, const char* text);
};

// The services in force; entries may be null (then that step shows nothing).
DialogListTarget& dialog_list_target();

// MyDlgDirList: the entries listed.
int list_directory_into_dialog(CvHWND dialog, const char* path, std::uint16_t high,
                               std::int16_t list, std::int16_t item, std::uint8_t attribute);

}  // namespace corva::files
