// The exported menu functions.
#include "corvalib/ui.h"
#include "corvaplat/menus.h"
#include "ui/menus.h"

namespace ui = corva::ui;

extern "C" {

int16_t FindMenuItemWithID(CvHMENU menu, uint16_t id) { return ui::find_item_with_id(menu, id); }

int16_t FindMenuItemWithText(CvHMENU menu, const char* text) {
  if (text == nullptr) return -1;
  return ui::find_item_with_text(menu, text);
}

int32_t AddMenuToMenu(uint32_t module, CvHMENU destination, CvHMENU source) {
  return ui::merge(module, destination, source) ? 1 : 0;
}

int32_t DelMenuFromMenu(uint32_t module, CvHMENU destination, CvHMENU source) {
  return ui::unmerge(module, destination, source) ? 1 : 0;
}

uint32_t MenuIDToModule(CvHMENU menu, uint16_t id) { return ui::owner_of(menu, id); }

void DelMenuIDOwnerTable(void) { ui::free_owner_table(); }

int32_t GetMenuItemCount(CvHMENU menu) { return corva::platform::menu_item_count(menu); }

}  // extern "C"
