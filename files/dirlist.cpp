#include "files/dirlist.h"

#include "corvalib/files.h"
#include "corvalib/text.h"
#include "files/dirs.h"
#include "files/finds.h"
#include "text/bstr.h"

#include <corvaplat/windows.h>

namespace corva::files {
namespace {

namespace plat = corva::platform;
void reset_list(CvHWND dialog, std::int16_t list) {
  plat::SendDlgItemMessageA(dialog, list, plat::LB_RESETCONTENT, 0, 0);
}
void add_string(CvHWND dialog, std::int16_t list, const char* text) {
  plat::SendDlgItemMessageA(dialog, list, plat::LB_ADDSTRING, 0,
                            reinterpret_cast<plat::LPARAM>(text));
}
void set_item_text(CvHWND dialog, std::int16_t item, const char* text) {
  plat::SetDlgItemTextA(dialog, item, text);
}
DialogListTarget g_target{reset_list, add_string, set_item_text};

}  // namespace

DialogListTarget& dialog_list_target() { return g_target; }

int list_directory_into_dialog(CvHWND dialog, const char* path, std::uint16_t high,
                               std::int16_t list, std::int16_t item, std::uint8_t attribute) {
  constexpr std::uint16_t kHigh = 80;
  char work[kHigh + 1];
  text::assign(kHigh, work, high, path);
  if (g_target.reset_list != nullptr && list != 0) g_target.reset_list(dialog, list);
  if (list == 0) return 0;
  if (!set_full_dir(text::view(kHigh, work))) return 0;
  if (item != 0 && g_target.set_item_text != nullptr) g_target.set_item_text(dialog, item, work);
  AddBackSlash(kHigh, work);
  Append(kHigh, work, 3, "*.*");
  CvFindRecord find{};
  int listed = 0;
  bool more = find_first_accepted(text::view(kHigh, work), attribute, find);
  while (more) {
    if (g_target.add_string != nullptr) g_target.add_string(dialog, list, find.name);
    ++listed;
    more = find_next_accepted(attribute, find);
  }
  return listed;
}

}  // namespace corva::files
