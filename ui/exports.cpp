// The exported window-table and message-loop functions.
#include <cstddef>

#include "corvalib/frame.h"
#include "corvalib/ui.h"
#include "corvaplat/clock.h"
#include "frame/boundary.h"
#include "ui/window_table.h"

namespace plat = corva::platform;
namespace ui = corva::ui;

// The exported message record is the platform's, field for field.
static_assert(sizeof(CvMSG) == sizeof(plat::MSG));
static_assert(offsetof(CvMSG, message) == offsetof(plat::MSG, message));
static_assert(offsetof(CvMSG, wParam) == offsetof(plat::MSG, wParam));
static_assert(offsetof(CvMSG, lParam) == offsetof(plat::MSG, lParam));
static_assert(offsetof(CvMSG, time) == offsetof(plat::MSG, time));
static_assert(offsetof(CvMSG, pt) == offsetof(plat::MSG, pt));

namespace {
plat::MSG to_platform(const CvMSG& m) {
  return plat::MSG{m.hwnd, m.message, m.wParam, m.lParam, m.time, {m.pt.x, m.pt.y}};
}
}  // namespace

extern "C" {

uint8_t AddWindowToTable(CvHWND window, uint16_t menuId, uint8_t isDialog) try {
  return ui::add(window, menuId, isDialog != 0) ? 1 : 0;
} CORVA_BOUNDARY(0)

uint8_t RemoveWindowFromTable(CvHWND window, uint8_t isDialog) try {
  return ui::remove(window, isDialog != 0) ? 1 : 0;
} CORVA_BOUNDARY(0)

CvHWND GetWindowFromMenu(uint16_t menuId, uint8_t isDialog) try {
  return ui::window_for(menuId, isDialog != 0);
} CORVA_BOUNDARY(0)

uint16_t GetMenuFromWindow(CvHWND window, uint8_t isDialog) try {
  return ui::menu_for(window, isDialog != 0);
} CORVA_BOUNDARY(0)

uint8_t IsSystemFrozen(void) try { return ui::table().frozen != 0 ? 1 : 0; } CORVA_BOUNDARY(0)

void SendMessageToDataEntryScreens(uint32_t, uint32_t message, uintptr_t wParam, intptr_t lParam) try {
  ui::send_to_screens(false, 0, message, wParam, lParam);
} CORVA_BOUNDARY()

void SendMessageToDataEntryScreensExceptFor(CvHWND excluded, uint32_t message, uintptr_t wParam,
                                            intptr_t lParam) try {
  ui::send_to_screens(true, excluded, message, wParam, lParam);
} CORVA_BOUNDARY()

void BroadcastMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) try {
  SendMessageToDataEntryScreens(0, message, wParam, lParam);
  ui::post_palette_to_main(message, wParam, lParam);
} CORVA_BOUNDARY()

void BroadcastMessageWithExclusion(CvHWND excluded, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) try {
  SendMessageToDataEntryScreensExceptFor(excluded, message, wParam, lParam);
  ui::post_palette_to_main(message, wParam, lParam);
} CORVA_BOUNDARY()

void PostMessageToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) try {
  if (MyCorvaLibDataPtr == nullptr || MyCorvaLibDataPtr->MainWindow == 0) return;
  plat::PostMessageA(MyCorvaLibDataPtr->MainWindow, message, wParam, lParam);
} CORVA_BOUNDARY()

void Dispatch(CvMSG* msg) try {
  if (msg == nullptr) return;
  plat::MSG m = to_platform(*msg);
  ui::dispatch(m);
} CORVA_BOUNDARY()

int32_t MyGetMessage(void) try {
  plat::MSG msg{};
  // With no window filter the fetch cannot fail; -1 would mean a message that
  // was not fetched, and is not dispatched.
  const int got = plat::GetMessageA(&msg, 0, 0, 0);
  if (got == 0) return 0;
  if (got > 0) ui::dispatch(msg);
  return 1;
} CORVA_BOUNDARY(0)

void WaitFor(uint16_t milliseconds) try {
  const std::uint32_t end = ui::deadline(milliseconds);
  while (plat::GetTickCount() < end) {
  }
} CORVA_BOUNDARY()

void YieldFor(uint16_t milliseconds) try {
  const std::uint32_t end = ui::deadline(milliseconds);
  plat::MSG msg{};
  for (;;) {
    if (plat::PeekMessageA(&msg, 0, 0, 0, plat::PM_REMOVE)) {
      ui::dispatch(msg);
      continue;
    }
    if (plat::GetTickCount() >= end) return;
  }
} CORVA_BOUNDARY()

int32_t RedirectFocusToTop(void) try {
  if (MyCorvaLibDataPtr == nullptr) return 0;
  const CvHWND top = MyCorvaLibDataPtr->TopWindow;
  if (top == 0 || !plat::IsWindow(top) || !plat::IsWindowVisible(top)) return 0;
  plat::SetFocus(top);
  return 1;
} CORVA_BOUNDARY(0)

void WeBecomeActive(void) try {
  if (MyCorvaLibDataPtr != nullptr) MyCorvaLibDataPtr->AppActive = 1;
} CORVA_BOUNDARY()

void WeBecomeInactive(void) try {
  if (MyCorvaLibDataPtr != nullptr) MyCorvaLibDataPtr->AppActive = 0;
} CORVA_BOUNDARY()

CvHACCEL SetAccelerator(CvHACCEL accelerators) try {
  ui::WindowTable& t = ui::table();
  t.saved_accelerators = t.accelerators;
  t.accelerators = accelerators;
  return t.saved_accelerators;
} CORVA_BOUNDARY(0)

CvHACCEL GetAccelerator(void) try { return ui::table().accelerators; } CORVA_BOUNDARY(0)

CvHACCEL RestoreAccelerator(void) try {
  ui::WindowTable& t = ui::table();
  t.accelerators = t.saved_accelerators;
  return t.accelerators;
} CORVA_BOUNDARY(0)

}  // extern "C"
