// The exported window-property functions.
#include "corvalib/ui.h"
#include "ui/properties.h"

namespace ui = corva::ui;

extern "C" {

int32_t AttachDialogID(CvHWND window, uint16_t id) { return ui::attach_dialog_id(window, id); }
uint32_t GetDialogID(CvHWND window) { return ui::dialog_id(window); }
uint32_t RemoveDialogID(CvHWND window) { return ui::remove_dialog_id(window); }

int32_t SetMyWindowData(CvHWND window, void* data) { return ui::set_window_data(window, data); }
void* GetMyWindowData(CvHWND window) { return ui::window_data(window); }
void* RemoveMyWindowData(CvHWND window) { return ui::remove_window_data(window); }

void SS_NOPREFIX_Save(CvHWND dialog) { ui::save_noprefix(dialog); }
void SS_NOPREFIX_Remove(CvHWND dialog) { ui::remove_noprefix(dialog); }
uint32_t SS_NOPREFIX_State(CvHWND window) { return ui::noprefix_state(window); }

}  // extern "C"
