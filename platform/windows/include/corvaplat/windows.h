// The headless window system: windows, classes and their procedures, the
// standard controls, dialogs from registered templates, the per-thread message
// queue, timers, accelerators and keyboard input.
//
// It is a real in-process model, not a set of stubs: a window has a handle, a
// class, a procedure, a parent, an owner, children in order, a control ID, a
// text, styles, a rectangle, properties; messages go through its procedure;
// the queue delivers posted messages, typed keys, paints and timers in the
// order the Windows user interface delivers them. Windows paint themselves
// through the graphics layer (corvaplat/paint.h), into an image when a tree is
// rendered (corvaplat/render.h); a test can also look at the model
// (dump_window_tree, window_text, ...).
//
// Handles are 32-bit, never 0, and a handle is never given to a second window
// while the first is alive: the low 16 bits index a slot, the high 16 bits
// count the slot's reuses. Calls on a destroyed or unknown handle fail as on
// Windows: they answer 0 (or FALSE) and set the last error to 1400.
//
// Threads: a window belongs to the thread that created it, and so does the
// queue its posted messages and timers go to. PostMessageA and
// PostThreadMessageA may be called from any thread; everything else belongs
// to the window's own thread. SendMessageA calls the procedure directly, on the
// caller's thread.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/atoms.h>
#include <corvaplat/geometry.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corva::platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using AccelHandle = std::uint32_t;
using FontHandle = std::uint32_t;
using MenuHandle = std::uint32_t;
using ThreadId = std::uint32_t;

// One queued message, laid out as the Win32 MSG record (with pointer-sized
// wParam and lParam).
struct MSG {
  WindowHandle hwnd;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
  std::uint32_t time;
  Point pt;
};

using WindowProc = LRESULT (*)(WindowHandle hwnd, std::uint32_t message, WPARAM wParam,
                               LPARAM lParam);
// A dialog procedure answers TRUE when it handled the message; a result for the
// sender goes into DWLP_MSGRESULT.
using DialogProc = std::intptr_t (*)(WindowHandle dialog, std::uint32_t message, WPARAM wParam,
                                     LPARAM lParam);
using TimerProc = void (*)(WindowHandle hwnd, std::uint32_t message, std::uintptr_t id,
                           std::uint32_t time);

// ---- Message numbers -----------------------------------------------------------
enum : std::uint32_t {
  WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
  WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018, WM_ACTIVATEAPP = 0x001C, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
  WM_NEXTDLGCTL = 0x0028, WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCPAINT = 0x0085,
  WM_GETDLGCODE = 0x0087,
  WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_KEYFIRST = 0x0100, WM_KEYLAST = 0x0108,
  WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
  WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORLISTBOX = 0x0134, WM_CTLCOLORBTN = 0x0135,
  WM_CTLCOLORDLG = 0x0136, WM_CTLCOLORSCROLLBAR = 0x0137, WM_CTLCOLORSTATIC = 0x0138,
  WM_MDICREATE = 0x0220, WM_MDIDESTROY = 0x0221, WM_MDIACTIVATE = 0x0222, WM_MDINEXT = 0x0224,
  WM_MDIGETACTIVE = 0x0229,
  WM_QUERYNEWPALETTE = 0x030F, WM_PALETTECHANGED = 0x0311, WM_USER = 0x0400,
};

// Edit, button, list box, combo box and dialog messages.
enum : std::uint32_t {
  EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_REPLACESEL = 0x00C2, EM_LIMITTEXT = 0x00C5,
  EM_SETLIMITTEXT = 0x00C5, EM_GETLIMITTEXT = 0x00D5,
  BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
  BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5,
  CB_LIMITTEXT = 0x0141, CB_ADDSTRING = 0x0143, CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146,
  CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149,
  CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B, CB_FINDSTRING = 0x014C,
  CB_SELECTSTRING = 0x014D, CB_SETCURSEL = 0x014E, CB_GETITEMDATA = 0x0150,
  CB_SETITEMDATA = 0x0151, CB_GETDROPPEDCONTROLRECT = 0x0152, CB_SHOWDROPDOWN = 0x014F,
  CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158,
  LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182,
  LB_RESETCONTENT = 0x0184, LB_SETCURSEL = 0x0186, LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189,
  LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B, LB_SELECTSTRING = 0x018C,
  LB_FINDSTRING = 0x018F, LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A,
  LB_FINDSTRINGEXACT = 0x01A2,
  DM_GETDEFID = 0x0400, DM_SETDEFID = 0x0401,
};
// Results of the list messages and the "has a default ID" mark of DM_GETDEFID.
enum : int { LB_ERR = -1, CB_ERR = -1, LB_ERRSPACE = -2, CB_ERRSPACE = -2 };
enum : std::uint32_t { DC_HASDEFID = 0x534B };
// Notification codes, in the high word of WM_COMMAND's wParam.
enum : std::uint32_t {
  BN_CLICKED = 0, EN_SETFOCUS = 0x100, EN_KILLFOCUS = 0x200, EN_CHANGE = 0x300,
  EN_MAXTEXT = 0x501, LBN_SELCHANGE = 1, CBN_SELCHANGE = 1,
};
enum : std::uint32_t { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_FOCUS = 8 };
enum : std::uint32_t { WA_INACTIVE = 0, WA_ACTIVE = 1 };
enum : std::uint32_t { SC_CLOSE = 0xF060, SC_NEXTWINDOW = 0xF040, SC_PREVWINDOW = 0xF050 };

// ---- Styles --------------------------------------------------------------------
enum : std::uint32_t {
  WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
  WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
  WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
  WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
  WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
  WS_OVERLAPPEDWINDOW = 0x00CF0000,
  WS_EX_MDICHILD = 0x00000040,
  ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_PASSWORD = 0x20,
  ES_NOHIDESEL = 0x100, ES_UPPERCASE = 0x8, ES_LOWERCASE = 0x10,
  ES_AUTOHSCROLL = 0x80, ES_READONLY = 0x800, ES_NUMBER = 0x2000,
  SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_BLACKRECT = 0x4, SS_GRAYRECT = 0x5,
  SS_WHITERECT = 0x6, SS_BLACKFRAME = 0x7, SS_GRAYFRAME = 0x8, SS_WHITEFRAME = 0x9,
  SS_SIMPLE = 0xB, SS_LEFTNOWORDWRAP = 0xC, SS_ETCHEDHORZ = 0x10, SS_ETCHEDVERT = 0x11,
  SS_ETCHEDFRAME = 0x12, SS_TYPEMASK = 0x1F, SS_NOPREFIX = 0x80, SS_CENTERIMAGE = 0x200,
  BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
  BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
  BS_AUTORADIOBUTTON = 0x9, BS_TYPEMASK = 0xF, BS_LEFTTEXT = 0x20,
  LBS_NOTIFY = 0x1, LBS_SORT = 0x2,
  CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3, CBS_SORT = 0x100,
  DS_MODALFRAME = 0x80, DS_SETFONT = 0x40,
};

// GetWindowLong indexes; the DWLP_ ones belong to dialogs.
enum : int {
  GWLP_WNDPROC = -4, GWLP_HINSTANCE = -6, GWLP_HWNDPARENT = -8, GWLP_ID = -12,
  GWL_STYLE = -16, GWL_EXSTYLE = -20, GWLP_USERDATA = -21,
  DWLP_MSGRESULT = 0, DWLP_DLGPROC = int(sizeof(LRESULT)), DWLP_USER = int(2 * sizeof(LRESULT)),
};
// GetWindow relations.
enum : std::uint32_t {
  GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
  GW_CHILD = 5,
};
// ShowWindow commands.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
             SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8,
             SW_RESTORE = 9 };
// SetWindowPos flags.
enum : std::uint32_t {
  SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_NOREDRAW = 0x8,
  SWP_NOACTIVATE = 0x10, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80,
};
// PeekMessage flags.
enum : std::uint32_t { PM_NOREMOVE = 0x0, PM_REMOVE = 0x1 };

// Virtual keys.
enum : std::uint32_t {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F4 = 0x73, VK_F6 = 0x75, VK_F12 = 0x7B,
};

// Standard identifiers of dialog buttons.
enum : int { IDC_OK = 1, IDC_CANCEL = 2 };

// WM_GETDLGCODE answers.
enum : std::uint32_t {
  DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_HASSETSEL = 0x8,
  DLGC_DEFPUSHBUTTON = 0x10, DLGC_UNDEFPUSHBUTTON = 0x20, DLGC_RADIOBUTTON = 0x40,
  DLGC_WANTCHARS = 0x80, DLGC_STATIC = 0x100, DLGC_BUTTON = 0x2000,
};

// ---- Classes ---------------------------------------------------------------------
// The predefined classes: "EDIT", "STATIC", "BUTTON", "LISTBOX", "COMBOBOX",
// "MDICLIENT" and the dialog class "#32770". Class names compare without
// regard to case.
struct WindowClass {
  const char* name = nullptr;
  WindowProc procedure = nullptr;
  std::uint32_t style = 0;
  ModuleHandle instance = 0;
  std::uint32_t background = 0;  // the brush WM_ERASEBKGND fills with; 0: the window colour
};
// Registers a class; its atom, or 0 when the name is empty, the procedure null
// or the name already taken (last error 1410).
CORVAPLAT_API Atom RegisterClassA(const WindowClass& window_class);
CORVAPLAT_API bool UnregisterClassA(const char* name, ModuleHandle instance);
// The default procedure: text, fonts, closing, activation, the dialog-code and
// the colour answers of the Windows default handling.
CORVAPLAT_API LRESULT DefWindowProcA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam,
                                     LPARAM lParam);
CORVAPLAT_API LRESULT CallWindowProcA(WindowProc procedure, WindowHandle hwnd,
                                      std::uint32_t message, WPARAM wParam, LPARAM lParam);

// The lParam of WM_NCCREATE and WM_CREATE points to this.
struct CreateStruct {
  void* param;
  ModuleHandle instance;
  MenuHandle menu;
  WindowHandle parent;
  std::int32_t cy, cx, y, x;
  std::uint32_t style;
  const char* name;
  const char* class_name;
  std::uint32_t ex_style;
};

// ---- Windows ---------------------------------------------------------------------
// Creates a window. For a child (WS_CHILD) `menu` is its control ID and x, y
// are relative to the parent's client area; for a top-level window `parent`
// becomes its owner. The window gets WM_NCCREATE and WM_CREATE; either
// answering -1 (WM_NCCREATE: 0) destroys it and gives 0. Unknown class: 0 with
// last error 1407.
CORVAPLAT_API WindowHandle CreateWindowExA(std::uint32_t ex_style, const char* class_name,
                                           const char* text, std::uint32_t style, int x, int y,
                                           int width, int height, WindowHandle parent,
                                           MenuHandle menu, ModuleHandle instance, void* param);
// Destroys the window, its owned windows and its children: WM_DESTROY goes to
// the window before its children, WM_NCDESTROY after; the focus and the active
// window move away from it; its timers and queued messages go.
CORVAPLAT_API bool DestroyWindow(WindowHandle hwnd);
CORVAPLAT_API bool IsWindow(WindowHandle hwnd);
CORVAPLAT_API bool IsChild(WindowHandle parent, WindowHandle hwnd);
CORVAPLAT_API WindowHandle GetParent(WindowHandle hwnd);  // the owner for a top-level window
CORVAPLAT_API WindowHandle SetParent(WindowHandle hwnd, WindowHandle parent);
CORVAPLAT_API WindowHandle GetWindow(WindowHandle hwnd, std::uint32_t relation);
CORVAPLAT_API WindowHandle GetTopWindow(WindowHandle parent);  // first child; 0 = desktop
// The top-level window a window lies in (itself when top-level).
CORVAPLAT_API WindowHandle top_level_parent(WindowHandle hwnd);
// The first top-level window whose class and text match (null matches any).
CORVAPLAT_API WindowHandle FindWindowA(const char* class_name, const char* text);
// Top-level windows of the calling thread, in creation order.
CORVAPLAT_API std::vector<WindowHandle> thread_windows();
CORVAPLAT_API ThreadId GetWindowThreadProcessId(WindowHandle hwnd, std::uint32_t* process);
CORVAPLAT_API ThreadId GetCurrentThreadId();

CORVAPLAT_API int GetClassNameA(WindowHandle hwnd, char* buffer, int size);
CORVAPLAT_API std::string class_name(WindowHandle hwnd);

CORVAPLAT_API LRESULT GetWindowLongPtrA(WindowHandle hwnd, int index);
CORVAPLAT_API LRESULT SetWindowLongPtrA(WindowHandle hwnd, int index, LRESULT value);
CORVAPLAT_API std::int32_t GetWindowLongA(WindowHandle hwnd, int index);
CORVAPLAT_API std::int32_t SetWindowLongA(WindowHandle hwnd, int index, std::int32_t value);

// Text, through WM_SETTEXT / WM_GETTEXT. GetWindowTextA copies at most size - 1
// characters, NUL-terminates when size > 0, and returns the characters copied.
CORVAPLAT_API bool SetWindowTextA(WindowHandle hwnd, const char* text);
CORVAPLAT_API int GetWindowTextA(WindowHandle hwnd, char* buffer, int size);
CORVAPLAT_API int GetWindowTextLengthA(WindowHandle hwnd);
CORVAPLAT_API std::string window_text(WindowHandle hwnd);

// Visibility: ShowWindow returns whether the window was visible before.
CORVAPLAT_API bool ShowWindow(WindowHandle hwnd, int command);
// Visible itself and every ancestor visible.
CORVAPLAT_API bool IsWindowVisible(WindowHandle hwnd);
// Returns whether the window was disabled before.
CORVAPLAT_API bool EnableWindow(WindowHandle hwnd, bool enable);
CORVAPLAT_API bool IsWindowEnabled(WindowHandle hwnd);

// Focus and activation. SetFocus returns the previous focus (0 on failure) and
// activates the window's top-level window; 0 takes the focus away.
CORVAPLAT_API WindowHandle SetFocus(WindowHandle hwnd);
CORVAPLAT_API WindowHandle GetFocus();
CORVAPLAT_API WindowHandle SetActiveWindow(WindowHandle hwnd);
CORVAPLAT_API WindowHandle GetActiveWindow();
CORVAPLAT_API bool SetForegroundWindow(WindowHandle hwnd);
// The foreground window when the application has the foreground, else 0.
CORVAPLAT_API WindowHandle GetForegroundWindow();
// The user switches to another program (false) or back to this one (true):
// WM_ACTIVATEAPP goes to every top-level window of the thread, and WM_ACTIVATE
// to the active one.
CORVAPLAT_API void set_application_foreground(bool foreground);
CORVAPLAT_API bool application_foreground();

// Rectangles. Window rectangles are in screen coordinates; client rectangles
// start at (0, 0). The non-client frame: 4 pixels with WS_THICKFRAME, else 1
// with WS_BORDER or WS_DLGFRAME; a caption (WS_CAPTION) adds 18 at the top,
// and a menu bar (a top-level window's menu) 19 below it.
CORVAPLAT_API bool GetWindowRect(WindowHandle hwnd, Rect* rect);
CORVAPLAT_API bool GetClientRect(WindowHandle hwnd, Rect* rect);
CORVAPLAT_API bool ClientToScreen(WindowHandle hwnd, Point* point);
CORVAPLAT_API bool ScreenToClient(WindowHandle hwnd, Point* point);
// Maps points from one window's client coordinates to another's (0: screen).
CORVAPLAT_API int MapWindowPoints(WindowHandle from, WindowHandle to, Point* points, int count);
CORVAPLAT_API bool MoveWindow(WindowHandle hwnd, int x, int y, int width, int height,
                              bool repaint);
CORVAPLAT_API bool SetWindowPos(WindowHandle hwnd, WindowHandle insert_after, int x, int y,
                                int width, int height, std::uint32_t flags);
CORVAPLAT_API bool AdjustWindowRect(Rect* rect, std::uint32_t style, bool menu);
// Several moves carried out together: Begin gives a handle (0 for a negative
// count), Defer queues one SetWindowPos (0 and the queue dropped for a bad
// window), End carries them all out in order.
using DeferHandle = std::uint32_t;
CORVAPLAT_API DeferHandle BeginDeferWindowPos(int count);
CORVAPLAT_API DeferHandle DeferWindowPos(DeferHandle moves, WindowHandle hwnd,
                                         WindowHandle insert_after, int x, int y, int width,
                                         int height, std::uint32_t flags);
CORVAPLAT_API bool EndDeferWindowPos(DeferHandle moves);
// Paint requests: the update rectangle of a window (union of invalidations).
CORVAPLAT_API bool InvalidateRect(WindowHandle hwnd, const Rect* rect, bool erase);
CORVAPLAT_API bool ValidateRect(WindowHandle hwnd, const Rect* rect);
CORVAPLAT_API bool GetUpdateRect(WindowHandle hwnd, Rect* rect, bool erase);
CORVAPLAT_API bool UpdateWindow(WindowHandle hwnd);  // sends WM_PAINT when invalid

// Rectangle arithmetic.
CORVAPLAT_API bool SetRectEmpty(Rect* rect);
CORVAPLAT_API bool IsRectEmpty(const Rect* rect);
CORVAPLAT_API bool UnionRect(Rect* out, const Rect* a, const Rect* b);
CORVAPLAT_API bool OffsetRect(Rect* rect, int dx, int dy);

// Properties: a name or an atom to a value. A name is entered in the atom
// table while the property exists.
CORVAPLAT_API bool SetPropA(WindowHandle hwnd, const char* name, std::uintptr_t value);
CORVAPLAT_API bool SetPropA(WindowHandle hwnd, Atom atom, std::uintptr_t value);
CORVAPLAT_API std::uintptr_t GetPropA(WindowHandle hwnd, const char* name);
CORVAPLAT_API std::uintptr_t GetPropA(WindowHandle hwnd, Atom atom);
CORVAPLAT_API std::uintptr_t RemovePropA(WindowHandle hwnd, const char* name);
CORVAPLAT_API std::uintptr_t RemovePropA(WindowHandle hwnd, Atom atom);

// FlashWindow: inverts the caption (invert) or restores it to the window's
// active state; returns whether the caption was highlighted before.
CORVAPLAT_API bool FlashWindow(WindowHandle hwnd, bool invert);
// How many times the window's caption was inverted by FlashWindow.
CORVAPLAT_API int flash_count(WindowHandle hwnd);

// ---- Dialogs ---------------------------------------------------------------------
// A dialog template as a host or a test registers it. Positions and sizes are
// in dialog units: x and cx in quarters, y and cy in eighths of the dialog
// font's average character width and height (8 by 16 pixels for the default
// font, so x units are 2 pixels and y units 2 pixels).
struct DialogItem {
  std::string class_name;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX", or any class
  std::string text;
  int id = 0;
  std::uint32_t style = 0;  // WS_CHILD | WS_VISIBLE are added
  int x = 0, y = 0, cx = 0, cy = 0;
};
struct DialogTemplate {
  std::uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string class_name;  // empty: the dialog class
  // The font the template names; kept for the host. The dialog manager lays
  // every dialog out in the default font's units and gives it no font (a
  // host that wants one sends WM_SETFONT).
  std::uint16_t point_size = 0;
  std::string face_name;
  std::vector<DialogItem> items;
};
// Registers a template under a numeric identifier of a module (replacing an
// earlier one); CreateDialogParamA and DialogBoxParamA find it there.
CORVAPLAT_API void register_dialog_template(ModuleHandle module, std::uint16_t id,
                                            DialogTemplate dialog);
CORVAPLAT_API void unregister_dialog_template(ModuleHandle module, std::uint16_t id);
CORVAPLAT_API const DialogTemplate* find_dialog_template(ModuleHandle module, std::uint16_t id);

// A modeless dialog: created with its controls, then WM_INITDIALOG (a TRUE
// answer puts the focus on the first tab stop). 0 when the template is unknown.
CORVAPLAT_API WindowHandle CreateDialogParamA(ModuleHandle module, std::uint16_t id,
                                              WindowHandle owner, DialogProc procedure,
                                              LPARAM param);
// A modal dialog: disables the owner and runs its own message loop until
// EndDialog; returns the EndDialog result (-1 when it can't be created).
CORVAPLAT_API LRESULT DialogBoxParamA(ModuleHandle module, std::uint16_t id, WindowHandle owner,
                                      DialogProc procedure, LPARAM param);
CORVAPLAT_API bool EndDialog(WindowHandle dialog, LRESULT result);
CORVAPLAT_API LRESULT DefDlgProcA(WindowHandle dialog, std::uint32_t message, WPARAM wParam,
                                  LPARAM lParam);
// The dialog keys: for a message meant for the dialog or one of its controls,
// handles Tab / Shift+Tab (next / previous tab stop), Enter (the default
// button, else IDOK), Escape (IDCANCEL), arrows (within a group) and
// mnemonics (Alt+letter, or a letter when the focus takes no characters),
// dispatches everything else to its window and returns true; false (and
// nothing done) for a message of another window.
CORVAPLAT_API bool IsDialogMessageA(WindowHandle dialog, MSG* msg);
// Converts a rectangle from dialog units to pixels.
CORVAPLAT_API bool MapDialogRect(WindowHandle dialog, Rect* rect);

// The immediate child with that control ID, or 0.
CORVAPLAT_API WindowHandle GetDlgItem(WindowHandle dialog, int id);
CORVAPLAT_API int GetDlgCtrlID(WindowHandle hwnd);
CORVAPLAT_API LRESULT SendDlgItemMessageA(WindowHandle dialog, int id, std::uint32_t message,
                                          WPARAM wParam, LPARAM lParam);
CORVAPLAT_API bool SetDlgItemTextA(WindowHandle dialog, int id, const char* text);
CORVAPLAT_API std::uint32_t GetDlgItemTextA(WindowHandle dialog, int id, char* buffer, int size);
CORVAPLAT_API bool SetDlgItemInt(WindowHandle dialog, int id, std::uint32_t value,
                                 bool is_signed);
// Leading blanks skipped, an optional minus when signed, then digits to the end
// (trailing blanks allowed). *translated (when not null) tells whether the text
// was a number within the 32-bit range; 0 when it was not.
CORVAPLAT_API std::uint32_t GetDlgItemInt(WindowHandle dialog, int id, bool* translated,
                                          bool is_signed);
CORVAPLAT_API bool CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check);
CORVAPLAT_API std::uint32_t IsDlgButtonChecked(WindowHandle dialog, int id);
CORVAPLAT_API bool CheckRadioButton(WindowHandle dialog, int first, int last, int check);
CORVAPLAT_API WindowHandle GetNextDlgTabItem(WindowHandle dialog, WindowHandle control,
                                             bool previous);

// ---- MDI -------------------------------------------------------------------------
// The "MDICLIENT" class keeps its children (MDI screens) with an active one.
// TranslateMDISysAccel turns Ctrl+F4 into SC_CLOSE and Ctrl+F6 / Ctrl+Tab into
// SC_NEXTWINDOW for the active screen and returns true when it did.
CORVAPLAT_API bool TranslateMDISysAccel(WindowHandle client, const MSG* msg);

// ---- The message queue -----------------------------------------------------------
// Calls the window's procedure and returns its answer; 0 for a bad handle.
CORVAPLAT_API LRESULT SendMessageA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam,
                                   LPARAM lParam);
// Queues a message for the window's thread (hwnd 0: the calling thread, as a
// thread message). False for a bad handle (1400) or a full queue (1816).
CORVAPLAT_API bool PostMessageA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam,
                                LPARAM lParam);
CORVAPLAT_API bool PostThreadMessageA(ThreadId thread, std::uint32_t message, WPARAM wParam,
                                      LPARAM lParam);
CORVAPLAT_API void PostQuitMessage(int exit_code);
// The next message: posted messages first, then typed input, then WM_PAINT,
// then WM_TIMER for a due timer; the quit message when the queue holds nothing
// else. With nothing to deliver: the thread's idle handler runs when one is
// installed (see set_idle_handler); then the thread sleeps on the platform
// clock until the next timer is due, or without timers waits for another
// thread to post. Returns 0 for WM_QUIT, -1
// for a bad window filter, else 1.
CORVAPLAT_API int GetMessageA(MSG* msg, WindowHandle hwnd, std::uint32_t first,
                              std::uint32_t last);
// The same without waiting: false when nothing is there.
CORVAPLAT_API bool PeekMessageA(MSG* msg, WindowHandle hwnd, std::uint32_t first,
                                std::uint32_t last, std::uint32_t remove);
// WM_KEYDOWN of a key that makes a character queues WM_CHAR (WM_SYSKEYDOWN:
// WM_SYSCHAR) right after it; true when it did.
CORVAPLAT_API bool TranslateMessage(const MSG* msg);
// Calls the procedure of msg->hwnd (a WM_TIMER with a timer procedure calls
// that instead); returns its answer.
CORVAPLAT_API LRESULT DispatchMessageA(const MSG* msg);
// Messages waiting in the calling thread's queue (posted and input).
CORVAPLAT_API std::size_t queued_message_count();
// Posted messages one queue holds at most.
constexpr std::size_t kMessageQueueLimit = 10000;
enum : std::uint32_t { kErrorNotEnoughQuota = 1816, kErrorClassAlreadyExists = 1410,
                       kErrorCannotFindWndClass = 1407, kErrorTimerNotFound = 1402 };

// Called when GetMessageA finds nothing to deliver; the handler may queue input
// or post messages (a scripted user). It answers true to be asked again while
// the queue stays empty, false to let the thread wait (for a timer, or for
// another thread) before it is asked again. Returns the previous handler.
using IdleHandler = bool (*)(void* context);
CORVAPLAT_API IdleHandler set_idle_handler(IdleHandler handler, void* context);

// ---- Timers ----------------------------------------------------------------------
// A timer of a window (hwnd, id) or, with hwnd 0, of the thread (a new id is
// chosen). Setting an existing timer restarts it. Periods are measured on the
// platform clock (GetTickCount); a due timer delivers one WM_TIMER however
// late it is. Returns the id, 0 on failure.
CORVAPLAT_API std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id,
                                      std::uint32_t milliseconds, TimerProc procedure);
CORVAPLAT_API bool KillTimer(WindowHandle hwnd, std::uintptr_t id);
// Whether the window has a running timer of that id.
CORVAPLAT_API bool timer_running(WindowHandle hwnd, std::uintptr_t id);

// ---- Keyboard --------------------------------------------------------------------
// Typed input, queued for the calling thread in order and delivered to the
// window that has the focus (else the active window) when it is taken. The key state (GetKeyState) follows the input as it is
// taken from the queue.
CORVAPLAT_API void key_down(std::uint32_t virtual_key);
CORVAPLAT_API void key_up(std::uint32_t virtual_key);
// A key pressed and released, with Shift / Ctrl / Alt held as given.
CORVAPLAT_API void press_key(std::uint32_t virtual_key, bool shift = false, bool control = false,
                             bool alt = false);
// Types text: each character as the key press that makes it (Shift for capitals
// and the shifted symbols, '\n' as Enter, '\t' as Tab).
CORVAPLAT_API void type_text(std::string_view text);
// Bit 15 set while the key is down (as the queue has delivered it).
CORVAPLAT_API std::int16_t GetKeyState(int virtual_key);

// ---- Accelerators ----------------------------------------------------------------
enum : std::uint8_t { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
struct Accel {
  std::uint8_t flags;  // FVIRTKEY and the modifiers
  std::uint16_t key;   // virtual key, or character when FVIRTKEY is clear
  std::uint16_t command;
};
CORVAPLAT_API AccelHandle CreateAcceleratorTableA(const Accel* entries, int count);
CORVAPLAT_API bool DestroyAcceleratorTable(AccelHandle table);
// For a key message that matches an entry (key and modifiers), sends
// WM_COMMAND (command, 1) to the window and returns true.
CORVAPLAT_API bool TranslateAcceleratorA(WindowHandle hwnd, AccelHandle table, const MSG* msg);

// ---- Debugging -------------------------------------------------------------------
// The window and its descendants, one line each, indented by depth:
//   0x00010002 EDIT id=101 "12.50" style=0x50810000 (10,40)-(110,60) [hidden] [disabled] [focus]
// with the rectangle in the parent's client coordinates. hwnd 0 dumps every
// top-level window of the calling thread.
CORVAPLAT_API std::string dump_window_tree(WindowHandle hwnd);

// Destroys every window, class, template, timer, queue and accelerator table
// of the calling thread's window system, as a fresh process would have it
// (the predefined classes stay). For tests.
CORVAPLAT_API void reset_window_system();

}  // namespace corva::platform
