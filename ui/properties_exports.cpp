// The exported window-property functions.
#include "corvalib/ui.h"
#include "frame/boundary.h"
#include "ui/properties.h"

namespace ui = corva::ui;

extern "C" {

int32_t AttachDialogID(CvHWND window, uint16_t id) try {
  return ui::attach_dialog_id(window, id);
} CORVA_BOUNDARY(0)
uint32_t GetDialogID(CvHWND window) try { return ui::dialog_id(window); } CORVA_BOUNDARY(0)
uint32_t RemoveDialogID(CvHWND window) try {
  return ui::remove_dialog_id(window);
} CORVA_BOUNDARY(0)

int32_t SetMyWindowData(CvHWND window, void* data) try {
  return ui::set_window_data(window, data);
} CORVA_BOUNDARY(0)
void* GetMyWindowData(CvHWND window) try { return ui::window_data(window); } CORVA_BOUNDARY(nullptr)
void* RemoveMyWindowData(CvHWND window) try {
  return ui::remove_window_data(window);
} CORVA_BOUNDARY(nullptr)

void SS_NOPREFIX_Save(CvHWND dialog) try { ui::save_noprefix(dialog); } CORVA_BOUNDARY()
void SS_NOPREFIX_Remove(CvHWND dialog) try { ui::remove_noprefix(dialog); } CORVA_BOUNDARY()
uint32_t SS_NOPREFIX_State(CvHWND window) try {
  return ui::noprefix_state(window);
} CORVA_BOUNDARY(0)

}  // extern "C"
