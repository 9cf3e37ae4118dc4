// The exported menu functions.
#include "corvalib/ui.h"
#include "corvaplat/menus.h"
#include "frame/boundary.h"
#include "ui/menus.h"

namespace ui = corva::ui;

extern "C" {

int16_t FindMenuItemWithID(CvHMENU menu, uint16_t id) try {
  return ui::find_item_with_id(menu, id);
} CORVA_BOUNDARY(-1)

int16_t FindMenuItemWithText(CvHMENU menu, const char* text) try {
  if (text == nullptr) return -1;
  return ui::find_item_with_text(menu, text);
} CORVA_BOUNDARY(-1)

int32_t AddMenuToMenu(uint32_t module, CvHMENU destination, CvHMENU source) try {
  return ui::merge(module, destination, source) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t DelMenuFromMenu(uint32_t module, CvHMENU destination, CvHMENU source) try {
  return ui::unmerge(module, destination, source) ? 1 : 0;
} CORVA_BOUNDARY(0)

uint32_t MenuIDToModule(CvHMENU menu, uint16_t id) try {
  return ui::owner_of(menu, id);
} CORVA_BOUNDARY(0)

void DelMenuIDOwnerTable(void) try { ui::free_owner_table(); } CORVA_BOUNDARY()

int32_t GetMenuItemCount(CvHMENU menu) try {
  return corva::platform::GetMenuItemCount(menu);
} CORVA_BOUNDARY(0)

}  // extern "C"
