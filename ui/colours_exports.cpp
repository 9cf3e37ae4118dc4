// The exported colour and palette functions.
#include "corvalib/ui.h"
#include "ui/colours.h"

namespace ui = corva::ui;

extern "C" {

CvHBRUSH ColorMapperInit(CvHMODULE, int16_t scheme) { return ui::colour_init(scheme); }
void ColorMapperDispose(void) { ui::colour_dispose(); }
int16_t ColorMapper(int16_t element) { return element < 15 ? element : -1; }
CvHBRUSH GetColorReturnBrush(int16_t set, int16_t element) { return ui::brush_of(set, element); }
uint32_t GetColorReturnBkColor(int16_t set, int16_t element) {
  return ui::colour_of(set, element);
}
uint32_t GetColorReturnBrushColor(int16_t set, int16_t element) {
  return ui::colour_of(set, element);
}
CvHBRUSH GetWhiteBrush(void) { return ui::white_brush(); }
CvHPALETTE GetColorSetPalette(CvHPALETTE palette) { return ui::set_palette(palette); }
CvHPALETTE GetColorReturnPalette(void) { return ui::palette(); }
int32_t DeleteColorPalette(void) { return ui::delete_palette(); }
int32_t PerformPaletteChgd(CvHWND window) { return ui::palette_changed(window); }
int32_t GetColorDefaults(int16_t row, int16_t count, uint32_t* buffer) {
  return ui::colour_defaults(row, count, buffer) ? 1 : 0;
}
CvHBRUSH GetCVXUniversalDlgColors(CvHDC dc, CvHWND control, int16_t kind,
                                  CvUniversalDlgColors* record, const CvControlColorEntry* list) {
  return ui::dialog_colours(dc, control, kind, record, list);
}

}  // extern "C"
