// Message boxes. A host installs a presenter that shows the box and returns the
// button; with none installed a box is written as one line to standard error
// and answered with its default button, so nothing ever waits on a box that
// nobody can see.
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

// Style bits (the Windows MB_ values).
enum : std::uint32_t {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
  MB_ICONASTERISK = 0x40, MB_ICONMASK = 0xF0,
  MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00,
  MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_MODEMASK = 0x3000,
  MB_SETFOREGROUND = 0x10000, MB_TOPMOST = 0x40000,
};
// Button codes.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
  WindowHandle owner;
  const char* text;     // never null when handed to a presenter
  const char* caption;  // never null when handed to a presenter
  std::uint32_t style;
};

// A presenter returns the button code the user chose.
using MessageBoxPresenter = int (*)(void* context, const MessageBoxRequest& request);

// Installs a presenter (null restores the standard-error fallback); returns the previous one.
CORVAPLAT_API MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter presenter,
                                                            void* context);
// Shows a box through the presenter; returns the button code.
CORVAPLAT_API int MessageBoxA(WindowHandle owner, const char* text, const char* caption,
                              std::uint32_t style);
// The button that a box of this style answers by default (its MB_DEFBUTTONn
// among the buttons its type has).
CORVAPLAT_API int default_button(std::uint32_t style);
// The buttons a box of this style shows, in order; returns how many (at most 3).
CORVAPLAT_API int box_buttons(std::uint32_t style, int buttons[3]);
// The word a button shows: "OK", "Cancel", "Yes", ...; "?" for an unknown code.
CORVAPLAT_API const char* box_button_name(int id);

}  // namespace corva::platform
