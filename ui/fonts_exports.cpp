// The exported dialog-font functions, the font-record conversions and the
// shared dialog-message handler.
#include <cstddef>
#include <cstring>

#include "corvalib/ui.h"
#include "corvaplat/gdi.h"
#include "corvaplat/windows.h"
#include "frame/boundary.h"
#include "ui/fonts.h"

namespace ui = corva::ui;

static_assert(sizeof(CvLOGFONT) == sizeof(corva::platform::LogFont));
static_assert(offsetof(CvLOGFONT, lfItalic) == offsetof(corva::platform::LogFont, italic));
static_assert(offsetof(CvLOGFONT, lfFaceName) == offsetof(corva::platform::LogFont, face_name));
static_assert(sizeof(CvCVXFONT) == 50, "the 16-bit record");

namespace {
// The two records the conversions hand out; each call overwrites its own.
CvLOGFONT g_logfont;
CvCVXFONT g_cvxfont;
}  // namespace

extern "C" {

CvHFONT UnBoldDialogFont(CvHWND dialog, int16_t extraWidth) try {
  return ui::unbold(dialog, extraWidth);
} CORVA_BOUNDARY(0)

CvHFONT UnBoldDialogFontOld(CvHWND dialog) try { return ui::unbold_old(dialog); } CORVA_BOUNDARY(0)

CvLOGFONT* psCreateLOGFONT(const CvCVXFONT* source) try {
  if (source == nullptr) return nullptr;
  g_logfont.lfHeight = source->height;
  g_logfont.lfWidth = source->width;
  g_logfont.lfEscapement = source->escapement;
  g_logfont.lfOrientation = source->orientation;
  g_logfont.lfWeight = source->weight;
  std::memcpy(&g_logfont.lfItalic, &source->italic, 8);
  std::memcpy(g_logfont.lfFaceName, source->faceName, sizeof g_logfont.lfFaceName);
  return &g_logfont;
} CORVA_BOUNDARY(nullptr)

CvCVXFONT* psCreateCVXFONT(const CvLOGFONT* source) try {
  if (source == nullptr) return nullptr;
  g_cvxfont.height = static_cast<int16_t>(source->lfHeight);
  g_cvxfont.width = static_cast<int16_t>(source->lfWidth);
  g_cvxfont.escapement = static_cast<int16_t>(source->lfEscapement);
  g_cvxfont.orientation = static_cast<int16_t>(source->lfOrientation);
  g_cvxfont.weight = static_cast<int16_t>(source->lfWeight);
  std::memcpy(&g_cvxfont.italic, &source->lfItalic, 8);
  std::memcpy(g_cvxfont.faceName, source->lfFaceName, sizeof g_cvxfont.faceName);
  return &g_cvxfont;
} CORVA_BOUNDARY(nullptr)

intptr_t HandleGlobalDlgMessages(CvHWND dialog, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam, CvUniversalDlgColors* record,
                                 const CvControlColorEntry* list) try {
  return ui::global_dialog_message(dialog, message, wParam, lParam, record, list);
} CORVA_BOUNDARY(0)

}  // extern "C"
