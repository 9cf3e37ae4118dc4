// The exported colour and palette functions.
#include "corvalib/ui.h"
#include "frame/boundary.h"
#include "ui/colours.h"

namespace ui = corva::ui;

extern "C" {

CvHBRUSH ColorMapperInit(CvHMODULE, int16_t scheme) try {
  return ui::colour_init(scheme);
} CORVA_BOUNDARY(0)
void ColorMapperDispose(void) try { ui::colour_dispose(); } CORVA_BOUNDARY()
int16_t ColorMapper(int16_t element) try { return element < 15 ? element : -1; } CORVA_BOUNDARY(-1)
CvHBRUSH GetColorReturnBrush(int16_t set, int16_t element) try {
  return ui::brush_of(set, element);
} CORVA_BOUNDARY(0)
uint32_t GetColorReturnBkColor(int16_t set, int16_t element) try {
  return ui::colour_of(set, element);
} CORVA_BOUNDARY(0)
uint32_t GetColorReturnBrushColor(int16_t set, int16_t element) try {
  return ui::colour_of(set, element);
} CORVA_BOUNDARY(0)
CvHBRUSH GetWhiteBrush(void) try { return ui::white_brush(); } CORVA_BOUNDARY(0)
CvHPALETTE GetColorSetPalette(CvHPALETTE palette) try {
  return ui::set_palette(palette);
} CORVA_BOUNDARY(0)
CvHPALETTE GetColorReturnPalette(void) try { return ui::palette(); } CORVA_BOUNDARY(0)
int32_t DeleteColorPalette(void) try { return ui::delete_palette(); } CORVA_BOUNDARY(0)
int32_t PerformPaletteChgd(CvHWND window) try {
  return ui::palette_changed(window);
} CORVA_BOUNDARY(0)
int32_t GetColorDefaults(int16_t row, int16_t count, uint32_t* buffer) try {
  return ui::colour_defaults(row, count, buffer) ? 1 : 0;
} CORVA_BOUNDARY(0)
CvHBRUSH GetCVXUniversalDlgColors(CvHDC dc, CvHWND control, int16_t kind,
                                  CvUniversalDlgColors* record, const CvControlColorEntry* list) try {
  return ui::dialog_colours(dc, control, kind, record, list);
} CORVA_BOUNDARY(0)

}  // extern "C"
