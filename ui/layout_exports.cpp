// The exported dialog-layout functions.
#include <span>

#include "corvalib/ui.h"
#include "corvaplat/windows.h"
#include "frame/boundary.h"
#include "text/bstr.h"
#include "ui/layout.h"

namespace ui = corva::ui;

namespace {
std::span<const int16_t> ids(const int16_t* list, int16_t count) {
  if (list == nullptr || count <= 0) return {};
  return {list, static_cast<std::size_t>(count)};
}
}  // namespace

extern "C" {

void HideDlgCtlRange(CvHWND dialog, int16_t firstId, int16_t lastId) try {
  ui::swap_ranges(dialog, 1, 0, firstId, lastId, true);
} CORVA_BOUNDARY()

void ShowDlgCtlRange(CvHWND dialog, int16_t firstId, int16_t lastId) try {
  ui::swap_ranges(dialog, firstId, lastId, 1, 0, true);
} CORVA_BOUNDARY()

void SwapDlgCtlRange(CvHWND dialog, int16_t showFirst, int16_t showLast, int16_t hideFirst,
                     int16_t hideLast) try {
  ui::swap_ranges(dialog, showFirst, showLast, hideFirst, hideLast, true);
} CORVA_BOUNDARY()

void SwapDlgCtlSet(CvHWND dialog, const int16_t* showIds, int16_t showCount,
                   const int16_t* hideIds, int16_t hideCount) try {
  ui::swap_sets(dialog, ids(showIds, showCount), ids(hideIds, hideCount));
} CORVA_BOUNDARY()

void ShowDlgWindowRange(CvHWND dialog, int16_t firstId, int16_t lastId, int16_t showCommand) try {
  if (showCommand == corva::platform::SW_SHOW) ShowDlgCtlRange(dialog, firstId, lastId);
  else HideDlgCtlRange(dialog, firstId, lastId);
} CORVA_BOUNDARY()

int32_t ShowDlgWindow(CvHWND dialog, int16_t id, int16_t showCommand) try {
  return ui::show_one(dialog, id, showCommand);
} CORVA_BOUNDARY(0)

int32_t AlignControls(CvHWND dialog, int16_t moveId, int16_t referenceId, int16_t dx, int16_t dy,
                      uint32_t flags) try {
  return ui::align(dialog, moveId, referenceId, dx, dy, flags);
} CORVA_BOUNDARY(0)

void AlignStatToLB(CvHWND dialog, int16_t staticId, int16_t listId) try {
  ui::align(dialog, staticId, listId, 0, 0, 0x800);
} CORVA_BOUNDARY()

void StretchDlgWindow(CvHWND dialog, int16_t id, int16_t dx, int16_t dy) try {
  ui::stretch(dialog, id, dx, dy);
} CORVA_BOUNDARY()

void CenterWindow(CvHWND window, CvHWND reference) try {
  ui::centre(window, reference);
} CORVA_BOUNDARY()

void ForceRePaint(CvHWND window) try { ui::force_repaint(window); } CORVA_BOUNDARY()

int32_t IsInDlg(CvHWND dialog, CvHWND window) try {
  return ui::in_dialog(dialog, window) ? 1 : 0;
} CORVA_BOUNDARY(0)

int32_t IsEdit(CvHWND window) try { return ui::is_edit(window) ? 1 : 0; } CORVA_BOUNDARY(0)

int32_t IsKeyShifted(void) try {
  return (corva::platform::GetKeyState(corva::platform::VK_SHIFT) & 0x8000) != 0 ? 0x8000 : 0;
} CORVA_BOUNDARY(0)

int16_t GetAveCharWidth(CvHWND window) try {
  return ui::window_ave_char_width(window);
} CORVA_BOUNDARY(0)

int16_t GetAvgCharWidth(CvHDC dc, CvHFONT font) try {
  return ui::avg_char_width(dc, font);
} CORVA_BOUNDARY(0)

uint16_t GetDlgCharWidth(CvHFONT font) try { return ui::dlg_char_width(font); } CORVA_BOUNDARY(0)

uint16_t GetDlgCharHeight(CvHFONT font) try { return ui::dlg_char_height(font); } CORVA_BOUNDARY(0)

int16_t GetDlgStringWidth(CvHFONT font, const char* text) try {
  return text == nullptr ? 0 : ui::dlg_string_width(font, text);
} CORVA_BOUNDARY(0)

uint16_t FindStrInResource(uint32_t, uint16_t high, const char* text, uint16_t firstId) try {
  return ui::find_in_strings(corva::text::view(high, text), firstId);
} CORVA_BOUNDARY(0)

uint16_t FindStrFromEdit(uint32_t ignored, CvHWND dialog, uint16_t editId, uint16_t firstId) try {
  char text[80];
  if (corva::platform::GetDlgItemTextA(dialog, editId, text, sizeof text) == 0) return 0;
  return FindStrInResource(ignored, 79, text, firstId);
} CORVA_BOUNDARY(0)

int32_t LoadLongWindedText(CvHMODULE instance, CvHWND dialog, int16_t id, uint16_t resourceId,
                           const char* resourceType) try {
  return ui::load_long_text(instance, dialog, id, resourceId, resourceType) ? 1 : 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
