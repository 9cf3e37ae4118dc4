/** @defgroup ui Window services
 * The window table and its messaging, menus, dialog fields and layout,
 * drawing, colours, dialog fonts and window properties: what a host's screens
 * need on top of the platform's window system.
 * @{ */
#ifndef CORVALIB_UI_H
#define CORVALIB_UI_H

#include "base.h"

CORVA_BEGIN_DECLS

typedef uint32_t CvHACCEL; /**< accelerator-table handle, 0 = none */
typedef uint32_t CvHFONT;  /**< font handle, 0 = the system font where a font is measured */
typedef uint32_t CvHDC;    /**< device-context handle */
typedef uint32_t CvHBRUSH; /**< brush handle */
typedef uint32_t CvHPALETTE; /**< palette handle */

/** A point in pixels. */
typedef struct CvPOINT {
  int32_t x, y;
} CvPOINT;

/** A rectangle in pixels: left and top inside, right and bottom just outside. */
typedef struct CvRECT {
  int32_t left, top, right, bottom;
} CvRECT;

/** A fetched message, as the platform's queue delivers it. */
typedef struct CvMSG {
  CvHWND hwnd;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  uint32_t time;
  CvPOINT pt;
} CvMSG;

/** @defgroup ui_window_table Window table
 * Two lists of open data-entry screens, 15 entries each: the dialog list
 * (isDialog non-zero; modeless dialogs, offered every message through the
 * dialog keys) and the window list. Each entry is a window handle and the menu
 * command it belongs to (0: none). Entries keep the order they were added in.
 * @{ */

/** Appends to the list; 0 when it is full, when menuId is non-zero and already
 * in that list, or while the table is frozen. The handle is not checked. */
CORVA_API uint8_t AddWindowToTable(CvHWND window, uint16_t menuId, uint8_t isDialog);
/** Removes the first entry with the handle, closing the gap; 0 when none. */
CORVA_API uint8_t RemoveWindowFromTable(CvHWND window, uint8_t isDialog);
/** The first window with the menu command (menuId 0: the first without one); 0 when none. */
CORVA_API CvHWND GetWindowFromMenu(uint16_t menuId, uint8_t isDialog);
/** The menu command of the first entry with the handle; 0 when none. */
CORVA_API uint16_t GetMenuFromWindow(CvHWND window, uint8_t isDialog);
/** Always 0: nothing in the library freezes the table. */
CORVA_API uint8_t IsSystemFrozen(void);

/** Sends the message to every screen, dialogs first, each list in order. The
 * handles are copied first, so screens may add or remove entries while they
 * handle it; a handle that is no longer a window receives nothing. */
CORVA_API void SendMessageToDataEntryScreens(uint32_t ignored, uint32_t message, uintptr_t wParam,
                                             intptr_t lParam);
/** The same, skipping every entry whose handle is `excluded`. */
CORVA_API void SendMessageToDataEntryScreensExceptFor(CvHWND excluded, uint32_t message,
                                                      uintptr_t wParam, intptr_t lParam);
/** Sends to the screens; WM_PALETTECHANGED (0x311) is then also posted to
 * MainWindow (a MainWindow of 0 posts it to the calling thread's queue). */
CORVA_API void BroadcastMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
/** BroadcastMessage, skipping every screen whose handle is `excluded`. */
CORVA_API void BroadcastMessageWithExclusion(CvHWND excluded, uint32_t message, uintptr_t wParam,
                                             intptr_t lParam);
/** Posts to MainWindow; nothing while MainWindow is 0. */
CORVA_API void PostMessageToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam);

/** Offers a fetched message to the current accelerator table (for MainWindow),
 * the MDI client's system keys and the dialog keys of every registered dialog,
 * and translates and dispatches it when none of them took it. Null: nothing. */
CORVA_API void Dispatch(CvMSG *msg);
/** Fetches the calling thread's next message (waiting for it) and dispatches
 * it: 1; the quit message: 0, nothing dispatched. */
CORVA_API int32_t MyGetMessage(void);
/** Spins on the tick count for the time, handling no messages. A wait that
 * would cross the 32-bit wrap of the tick count ends at once. */
CORVA_API void WaitFor(uint16_t milliseconds);
/** Dispatches every message that arrives until the time is up; all queued
 * messages are handled before the clock is read. */
CORVA_API void YieldFor(uint16_t milliseconds);
/** Gives the focus to TopWindow when it is a visible window: 1; else 0. */
CORVA_API int32_t RedirectFocusToTop(void);
/** Marks the application active (AppActive := 1). */
CORVA_API void WeBecomeActive(void);
/** Marks the application inactive (AppActive := 0): library boxes then wait. */
CORVA_API void WeBecomeInactive(void);
/** Makes the table current and returns the previous one, which is saved: one
 * level of undo. SetAccelerator(A); SetAccelerator(B); RestoreAccelerator()
 * gives A back and leaves it current; a second RestoreAccelerator changes nothing. */
CORVA_API CvHACCEL SetAccelerator(CvHACCEL accelerators);
/** The current accelerator table; 0 when none is set. */
CORVA_API CvHACCEL GetAccelerator(void);
/** Makes the table saved by the last SetAccelerator current again and returns
 * it; see SetAccelerator. */
CORVA_API CvHACCEL RestoreAccelerator(void);

/** @} */

/** @defgroup ui_menus Menus
 * Positions are 16-bit signed; -1 means not found. Two items match by text
 * when their visible texts are equal: '&' and '.' dropped, a backslash dropped
 * with the character after it, and everything from a TAB (or a backslash
 * followed by 't') on cut off; at most 79 characters of a text take part.
 * @{ */

/** The lowest position holding the command; id 0 finds the first separator. */
CORVA_API int16_t FindMenuItemWithID(CvHMENU menu, uint16_t id);
/** The lowest position whose visible text is that of text; -1 for null text. */
CORVA_API int16_t FindMenuItemWithText(CvHMENU menu, const char *text);
/** Merges source into destination: popups by visible text (reused, or appended
 * empty and filled), commands by identifier (replaced in place, or appended),
 * separators always appended; each command merged is recorded with `module`
 * as its owner. Returns 1. */
CORVA_API int32_t AddMenuToMenu(uint32_t module, CvHMENU destination, CvHMENU source);
/** Takes out of destination what merging source put there (a popup the merge
 * emptied goes too, and the last separator for each separator); 0 when it met
 * an item of source that destination lacks (earlier removals stay done). */
CORVA_API int32_t DelMenuFromMenu(uint32_t module, CvHMENU destination, CvHMENU source);
/** The owner recorded for the command in that very menu (the popup holding it,
 * not the menu bar above); 0 when none. */
CORVA_API uint32_t MenuIDToModule(CvHMENU menu, uint16_t id);
/** Forgets every owner; a later merge starts a new table. */
CORVA_API void DelMenuIDOwnerTable(void);
/** The number of items; -1 for a handle that is not a menu. */
CORVA_API int32_t GetMenuItemCount(CvHMENU menu);

/** @} */

/** @defgroup ui_dialog_fields Dialog fields
 * A control named by dialog and ID that does not exist makes the operation do
 * nothing (or give the empty result named). Item data are pointer-sized.
 * @{ */

/** EM_LIMITTEXT with the limit (0: the largest); the message's answer. */
CORVA_API int32_t SetEditLimit(CvHWND edit, uint32_t limit);
/** SetEditLimit on the dialog's control id. */
CORVA_API int32_t SetDlgEditLimit(CvHWND dialog, int32_t id, uint32_t limit);
/** The offset from firstId of the first checked button of firstId..lastId; 0
 * when none is checked (as when the first is). */
CORVA_API uint16_t GetDlgRadioCheck(CvHWND dialog, uint16_t firstId, uint16_t lastId);
/** Enables the dialog's control id (enable non-zero) or disables it. */
CORVA_API void EnableDlgWindow(CvHWND dialog, int16_t id, int32_t enable);
/** EnableDlgWindow on each control of firstId..lastId. */
CORVA_API void EnableDlgWindowRange(CvHWND dialog, int16_t firstId, int16_t lastId, int32_t enable);
/** Gives the focus to the dialog's control id. */
CORVA_API void SetDlgFocus(CvHWND dialog, int16_t id);
/** Makes the button the dialog's default push button and gives it the focus. */
CORVA_API void SetFocusToButton(CvHWND dialog, int16_t id);
/** NUL-fills all high + 1 characters, then reads the text (at most high
 * characters); the characters read. */
CORVA_API uint16_t GetWindowTextWithNulls(CvHWND control, uint16_t high, char *text);
/** GetWindowTextWithNulls on the dialog's control id. */
CORVA_API uint16_t GetDlgItemTextWithNulls(CvHWND dialog, int16_t id, uint16_t high, char *text);
/** Reads the text, trims blanks at both ends, NUL-fills the rest; the length. */
CORVA_API uint16_t GetWindowTextTrimmed(CvHWND control, uint16_t high, char *text);
/** GetWindowTextTrimmed on the dialog's control id. */
CORVA_API uint16_t GetDlgItemTextTrimmed(CvHWND dialog, int16_t id, uint16_t high, char *text);
/** Trims the caller's own array in place, then sets it as the control's text. */
CORVA_API void SetWindowTextWithTrim(CvHWND control, uint16_t high, char *text);
/** SetWindowTextWithTrim on the dialog's control id. */
CORVA_API void SetDlgItemTextWithTrim(CvHWND dialog, uint16_t id, uint16_t high, char *text);
/** A signed amount in a pair of fields: positive in the debit field, negative
 * (without its sign) in the credit field, both empty when its size does not
 * exceed half a unit of the last currency decimal. Nothing unless both
 * controls exist. */
CORVA_API void SetDlgDrCr(CvHWND dialog, double amount, int16_t debitId, int16_t creditId);
/** Reads the debit field (when not empty) or else the negated credit field into
 * *amount, then rewrites the pair in that form (-3 typed as a debit moves to
 * the credit field). Nothing, *amount untouched, unless both controls exist;
 * a null amount: nothing. */
CORVA_API void GetDlgDrCr(CvHWND dialog, double *amount, int16_t debitId, int16_t creditId);
/** Sets an amount as the control's text, as DollarsToString (sign style '-')
 * writes it, leading blanks off. */
CORVA_API void SetWindowDollars(CvHWND control, double amount);
/** SetWindowDollars on the dialog's control id. */
CORVA_API void SetDlgItemDollars(CvHWND dialog, double amount, uint16_t id);
/** Reads the control's text as an amount with MyStringToReal, whose value
 * counts even when the text did not parse. */
CORVA_API double GetWindowDollars(CvHWND control);
/** GetWindowDollars on the dialog's control id; 0.0 without the control. */
CORVA_API double GetDlgItemDollars(CvHWND dialog, uint16_t id);
/** Sets a real with the decimals as the control's text, as MyRealToString
 * writes it in width 18, leading blanks off. */
CORVA_API void SetWindowReal(CvHWND control, double value, uint16_t decimals);
/** SetWindowReal on the dialog's control id. */
CORVA_API void SetDlgItemReal(CvHWND dialog, double value, uint16_t id, uint16_t decimals);
/** Reads the control's text as a real, through PrepString4RealConv and
 * StringToReal. */
CORVA_API double GetWindowReal(CvHWND control);
/** GetWindowReal on the dialog's control id; 0.0 without the control. */
CORVA_API double GetDlgItemReal(CvHWND dialog, uint16_t id);
/** Reads the control's text as a quantity with MyStringToQty; 0.0 when it
 * does not parse. */
CORVA_API double GetWindowQty(CvHWND control);
/** GetWindowQty on the dialog's control id; 0.0 without the control. */
CORVA_API double GetDlgItemQty(CvHWND dialog, uint16_t id);
/** *date := the date control's answer to message 0x469 (0 from any other
 * control); whether that is a legal date. A null date: only the answer. The
 * DlgItem form: 0 and *date untouched without a control. */
CORVA_API uint8_t GetWindowDate(CvHWND control, uint32_t *date);
/** GetWindowDate on the dialog's control id. */
CORVA_API uint8_t GetDlgItemDate(CvHWND dialog, uint32_t *date, int16_t id);
/** Offers the date with message 0x46A; a control that does not take it gets
 * the medium date text (empty for an illegal date), selected whole when it
 * has the focus. */
CORVA_API void SetWindowDate(CvHWND control, uint32_t date);
/** SetWindowDate on the dialog's control id. */
CORVA_API void SetDlgItemDate(CvHWND dialog, uint32_t date, int16_t id);
/** At most 20 characters of the text as a decimal number, accepted when it
 * ends at a blank or the end (and, unsigned, is not above 2147483647); a
 * signed number beyond 32 bits stops at the bound. Refused: *ok = 0 (when ok is
 * not null) and 0; accepted: *ok = 1 and the number. An empty text is 0. */
CORVA_API int32_t GetWindowInt(CvHWND control, int32_t *ok, int32_t isSigned);
/** Reads a number in [min, max] into *value (its low 16 bits; value may be
 * null): 0. Out of range or no number: message 20500 "Number must be between
 * min and max.", the focus to the control, and the result is id. Without a
 * control: id at once. */
CORVA_API int16_t MyGetDlgItemCard(CvHWND dialog, int16_t id, uint16_t min, uint16_t max,
                                   uint16_t *value);
/** Selects the first list item whose first word equals the edit text's first
 * word; clears the selection when none does. Nothing for an empty list. */
CORVA_API void SetListBoxSelection(CvHWND dialog, int16_t editId, int16_t listId);
/** The lowest index of the combo box's items carrying the item data, -1 when
 * none. */
CORVA_API int16_t GetComboIndexByItemData(CvHWND combo, uintptr_t data);
/** The lowest index of the list box's items carrying the item data, -1 when
 * none. */
CORVA_API int16_t GetListIndexByItemData(CvHWND list, uintptr_t data);
/** Selects the combo box's item carrying the data: 1; 0 and no change when
 * none does. */
CORVA_API int32_t SetComboByItemData(CvHWND combo, uintptr_t data);
/** Selects the list box's item carrying the data: 1; 0 and no change when
 * none does. */
CORVA_API int32_t SetListByItemData(CvHWND list, uintptr_t data);
/** The combo box's selected item's data (0 without a selection); its index,
 * -1 for none, goes to *index when index is not null. */
CORVA_API uintptr_t GetComboSelItemData(CvHWND combo, int32_t *index);
/** The list box's selected item's data (0 without a selection); its index,
 * -1 for none, goes to *index when index is not null. */
CORVA_API uintptr_t GetListSelItemData(CvHWND list, int32_t *index);
/** Adds the text with the data to the combo box; the new index, -1 when it
 * could not be added (or text is null). */
CORVA_API int32_t SetCBhWndDataAndText(CvHWND combo, uintptr_t data, const char *text);
/** SetCBhWndDataAndText on the dialog's combo box comboId. */
CORVA_API int32_t SetCBDataAndText(CvHWND dialog, uint16_t comboId, uintptr_t data,
                                   const char *text);


/** @} */

/** @defgroup ui_dialog_layout Dialog layout
 * Ranges of control IDs are inclusive and walked upward; IDs without a control
 * are skipped. A hidden button or static text ("BUTTON", "DEFBUTTON",
 * "Redirect", "STATIC") has the first '&' of its text replaced by 0x1F, so
 * that its mnemonic no longer answers; showing it puts the '&' back.
 * @{ */

/** Hides the controls without repainting each, then invalidates the union of
 * their rectangles in the dialog once. */
CORVA_API void HideDlgCtlRange(CvHWND dialog, int16_t firstId, int16_t lastId);
/** Shows the controls without repainting each, then invalidates the union of
 * their rectangles in the dialog once. */
CORVA_API void ShowDlgCtlRange(CvHWND dialog, int16_t firstId, int16_t lastId);
/** Hides the second range, then shows the first; one repaint for both. */
CORVA_API void SwapDlgCtlRange(CvHWND dialog, int16_t showFirst, int16_t showLast,
                               int16_t hideFirst, int16_t hideLast);
/** The same over two lists of IDs (null or a count of 0 or less: none), hide
 * list first; mnemonics are left as they are. */
CORVA_API void SwapDlgCtlSet(CvHWND dialog, const int16_t *showIds, int16_t showCount,
                             const int16_t *hideIds, int16_t hideCount);
/** ShowDlgCtlRange for showCommand 5 (SW_SHOW), HideDlgCtlRange for any other. */
CORVA_API void ShowDlgWindowRange(CvHWND dialog, int16_t firstId, int16_t lastId,
                                  int16_t showCommand);
/** One control: mnemonic disarmed for command 0, rearmed otherwise, then
 * ShowWindow; its answer (whether it was visible), 0 without the control. */
CORVA_API int32_t ShowDlgWindow(CvHWND dialog, int16_t id, int16_t showCommand);
/** Moves control moveId against referenceId. Vertical, first flag present
 * wins: 0x100 tops level, 0x200 bottoms level, 0x400 below, 0x800 above, 0x1000
 * centred; horizontal: 0x1 lefts, 0x2 rights, 0x4 to the right, 0x8 to the
 * left, 0x10 centred; no flag keeps the position. Then dx, dy are added.
 * 1 when moved; 0 when either control is missing. */
CORVA_API int32_t AlignControls(CvHWND dialog, int16_t moveId, int16_t referenceId, int16_t dx,
                                int16_t dy, uint32_t flags);
/** Puts a label directly above its list box, keeping the label's left. */
CORVA_API void AlignStatToLB(CvHWND dialog, int16_t staticId, int16_t listId);
/** Grows the control by dx, dy (right and bottom move) and repaints it. */
CORVA_API void StretchDlgWindow(CvHWND dialog, int16_t id, int16_t dx, int16_t dy);
/** Centres window horizontally over reference (screen rectangles), keeping its
 * top. A child window is placed in its parent's coordinates to the same effect. */
CORVA_API void CenterWindow(CvHWND window, CvHWND reference);
/** Turns redrawing on and invalidates the whole client area. */
CORVA_API void ForceRePaint(CvHWND window);
/** 1 when dialog is a parent (or further up the parent chain) of window; 0
 * otherwise, for the dialog itself, or when either is not a window. */
CORVA_API int32_t IsInDlg(CvHWND dialog, CvHWND window);
/** 1 when the window's class is one of the product's edit classes (any case). */
CORVA_API int32_t IsEdit(CvHWND window);
/** 0x8000 while Shift is down, else 0. */
CORVA_API int32_t IsKeyShifted(void);
/** The average character width of the window's font. */
CORVA_API int16_t GetAveCharWidth(CvHWND window);
/** The width of the 62 letters and digits in the font (0: system font) / 62. */
CORVA_API int16_t GetAvgCharWidth(CvHDC dc, CvHFONT font);
/** GetAvgCharWidth of the font (0: system font) on the screen. */
CORVA_API uint16_t GetDlgCharWidth(CvHFONT font);
/** The character height of the font (0: system font) on the screen. */
CORVA_API uint16_t GetDlgCharHeight(CvHFONT font);
/** The width of the text in the font on the screen; 0 for null text. */
CORVA_API int16_t GetDlgStringWidth(CvHFONT font, const char *text);
/** Reads strings firstId, firstId + 1, ... (79 characters each) until one is
 * empty; the 1-based place of the first equal to text without regard to case,
 * else 0. The first argument has no effect. */
CORVA_API uint16_t FindStrInResource(uint32_t ignored, uint16_t high, const char *text,
                                     uint16_t firstId);
/** FindStrInResource on the control's text; 0 when it is empty. */
CORVA_API uint16_t FindStrFromEdit(uint32_t ignored, CvHWND dialog, uint16_t editId,
                                   uint16_t firstId);
/** Sets a text resource of the module as the control's text: 1; 0 when the
 * resource is not there. A type below 0x10000 is a resource type number. */
CORVA_API int32_t LoadLongWindedText(CvHMODULE instance, CvHWND dialog, int16_t id,
                                     uint16_t resourceId, const char *resourceType);

/** @} */

/** @defgroup ui_drawing Drawing
 * Formats are the DrawText values: 1 centre, 2 right, 4 centre vertically, 8
 * bottom, 16 word break, 32 single line, 256 no clipping. Extents are packed:
 * width in the low 16 bits, height in the high 16 bits.
 * @{ */

/** The busy cursor nests: the first call puts up the wait cursor and returns
 * the cursor it replaced; later calls return the depth before them. */
CORVA_API uint32_t PutUpHourGlass(void);
/** Undoes one PutUpHourGlass; the last puts the old cursor back and returns
 * what it replaced; 0 when no busy cursor is up. */
CORVA_API uint32_t TakeDownHourGlass(void);
/** Text in columns at tab stops (distances from rect's left; a negative stop
 * right-aligns its column), margin pixels inside each column; the tallest
 * column's height, 0 for null text. Without tabs or stops: DrawText. A
 * negative length is the text's own. */
CORVA_API int16_t DrawTabClippedText(CvHDC dc, const CvRECT *rect, const char *text,
                                     int32_t length, const int16_t *tabStops, int16_t tabCount,
                                     int16_t margin, uint32_t format);
/** Text in a rectangle whose y axis points up (top above bottom), measured in
 * attributeDc and drawn in dc (either may be 0); the y at which the next line
 * starts. length -1: the text's own. */
CORVA_API int16_t MyDrawText(CvHDC dc, CvHDC attributeDc, const char *text, int32_t length,
                             const CvRECT *rect, uint32_t format);
/** A bevel of width lines inside rect: raised lights the top and left edges;
 * flag 16 swaps top and bottom colours, flag 1 left and right. */
CORVA_API void DrawBevelRect(CvHDC dc, const CvRECT *rect, uint16_t width, int16_t flags,
                             int16_t raised);
/** Inside, edges included, for either direction of the y axis (by the signs of
 * left and top); 0 for a null rectangle. */
CORVA_API int32_t MyPtInRect(const CvRECT *rect, int32_t x, int32_t y);
/** Converts both corners from screen to the window's client coordinates in
 * place and returns rect. */
CORVA_API CvRECT *ScreenToClientRect(CvHWND window, CvRECT *rect);
/** Converts both corners from the window's client coordinates to screen
 * coordinates in place and returns rect. */
CORVA_API CvRECT *ClientToScreenRect(CvHWND window, CvRECT *rect);
/** The text's packed extent, 0 when it can't be measured. */
CORVA_API uint32_t GetTextExtent(CvHDC dc, const char *text, int32_t length);
/** The context's packed window extent, 0 for a bad context. */
CORVA_API uint32_t GetWindowExt(CvHDC dc);

/** @} */

/** @defgroup ui_colours Colours and palette
 * Schemes 0-4, colour sets 0-6, shades 0-3, screen elements 0-14 (element 9
 * has no shade). Colours are 0x02BBGGRR, palette-relative.
 * @{ */

/** The dialog's colouring, owned by the dialog: its colour set, whether its
 * background is painted in bands, and up to three bands (band 0 the whole
 * dialog, in screen coordinates) with the element that colours each. */
typedef struct CvUniversalDlgColors {
  int16_t set;            /**< the colour set, 0-6 */
  int32_t banded;         /**< non-zero: the background is painted in bands */
  int32_t repaintPending; /**< set when the dialog was coloured; a trigger repaints */
  CvHWND firstTrigger;  /**< colouring it repaints bands 1 and 2 */
  CvHWND secondTrigger; /**< colouring it repaints band 2 */
  int16_t bandTopOffset[3]; /**< added to each band's top edge when it is filled */
  CvRECT bandRect[3];       /**< each band in screen coordinates; band 0 the whole dialog */
  int16_t bandElement[3];   /**< the screen element that colours each band */
} CvUniversalDlgColors;

/** One entry of a dialog's control list; the list ends at a window of 0. */
typedef struct CvControlColorEntry {
  CvHWND window; /**< a control of the dialog; 0 ends the list */
  int32_t flag;  /**< whether to colour it; see GetCVXUniversalDlgColors */

} CvControlColorEntry;

/** Takes the scheme (5 and up: 1), maps its elements and makes its 28 brushes
 * and a white brush; returns the white brush. instance is not read. */
CORVA_API CvHBRUSH ColorMapperInit(CvHMODULE instance, int16_t scheme);
/** Deletes the brushes. */
CORVA_API void ColorMapperDispose(void);
/** element when below 15, else -1. */
CORVA_API int16_t ColorMapper(int16_t element);
/** The brush of the set and the element's shade; 0 unless set is 0-6 and
 * element 0-14, and before ColorMapperInit. */
CORVA_API CvHBRUSH GetColorReturnBrush(int16_t set, int16_t element);
/** The background colour of the set and the element's shade; 0 unless set is
 * 0-6 and element 0-14. */
CORVA_API uint32_t GetColorReturnBkColor(int16_t set, int16_t element);
/** The brush colour of the set and the element's shade; 0 unless set is 0-6
 * and element 0-14. */
CORVA_API uint32_t GetColorReturnBrushColor(int16_t set, int16_t element);
/** The white brush ColorMapperInit made; 0 before it. */
CORVA_API CvHBRUSH GetWhiteBrush(void);
/** Stores the palette (the host's) and returns it. */
CORVA_API CvHPALETTE GetColorSetPalette(CvHPALETTE palette);
/** The stored palette; 0 when none is stored. */
CORVA_API CvHPALETTE GetColorReturnPalette(void);
/** Deletes the stored palette and forgets it; the deletion's result. */
CORVA_API int32_t DeleteColorPalette(void);
/** Realizes the stored palette in the window's context as a foreground
 * palette; the entries that changed, 0 without a palette. */
CORVA_API int32_t PerformPaletteChgd(CvHWND window);
/** Copies count (at most 14) default colours of row 0-5, or all ones for a
 * higher row; 1, or 0 when buffer is null or count negative. */
CORVA_API int32_t GetColorDefaults(int16_t row, int16_t count, uint32_t *buffer);
/** The brush for a control-colour request of a dialog (kind 100 static, 101
 * edit, 102 button, 103 list box, 104 the dialog, or 0), or 0 to let the
 * default handling paint. Edits, list boxes and kind 0 are coloured only when
 * listed with a non-zero flag; others unless listed with 0. */
CORVA_API CvHBRUSH GetCVXUniversalDlgColors(CvHDC dc, CvHWND control, int16_t kind,
                                           CvUniversalDlgColors *record,
                                           const CvControlColorEntry *list);

/** @} */

/** @defgroup ui_dialog_fonts Dialog fonts
 * @{ */

/** The platform's font description. */
typedef struct CvLOGFONT {
  int32_t lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
  uint8_t lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision,
      lfQuality, lfPitchAndFamily;
  char lfFaceName[32];
} CvLOGFONT;

/** The product's 16-bit font record. */
typedef struct CvCVXFONT {
  int16_t height, width, escapement, orientation, weight;
  uint8_t italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality,
      pitchAndFamily;
  char faceName[32];
} CvCVXFONT;

/** Gives the dialog's controls the normal-weight version of its font and
 * rescales the dialog and its controls to the new character size (push
 * buttons, default buttons, group boxes and the product's bold classes keep
 * theirs); with extraWidth, the dialog is widened to reach extraWidth past
 * its rightmost control. Returns the new font, which the caller deletes; 0
 * when the dialog has no font (the system font) or the font can't be made;
 * the dialog's own font, with nothing changed, when that font can't be read. */
CORVA_API CvHFONT UnBoldDialogFont(CvHWND dialog, int16_t extraWidth);
/** The older form: new font for the controls, then, for a dialog with a dialog
 * identifier property, the layout of its dialog template resource again. */
CORVA_API CvHFONT UnBoldDialogFontOld(CvHWND dialog);
/** Converts the product's font record to the platform's. Returns a record of
 * the library's own that the next call overwrites (copy it before); null for
 * a null source. */
CORVA_API CvLOGFONT *psCreateLOGFONT(const CvCVXFONT *source);
/** Converts the platform's font record to the product's. Returns a record of
 * the library's own that the next call overwrites (copy it before); null for
 * a null source. */
CORVA_API CvCVXFONT *psCreateCVXFONT(const CvLOGFONT *source);
/** The shared answer to a dialog's colour (WM_CTLCOLOR...) and palette messages
 * (WM_QUERYNEWPALETTE, WM_PALETTECHANGED); 0 for any other message. */
CORVA_API intptr_t HandleGlobalDlgMessages(CvHWND dialog, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam, CvUniversalDlgColors *record,
                                           const CvControlColorEntry *list);

/** @} */

/** @defgroup ui_properties Window properties
 * Kept on a window under the library's atoms "CVX DIALOG ID", "WINDOW DATA PTR"
 * and "SS_NOPREFIX SAVE AREA"; the caller removes what it attached before the
 * window is destroyed. A handle that is not a window sets and finds nothing.
 * @{ */

/** Puts the dialog's template identifier on the window: 1 when set. */
CORVA_API int32_t AttachDialogID(CvHWND window, uint16_t id);
/** The template identifier on the window; 0 when absent. */
CORVA_API uint32_t GetDialogID(CvHWND window);
/** Takes the template identifier off the window and returns it; 0 when absent. */
CORVA_API uint32_t RemoveDialogID(CvHWND window);
/** Puts a caller's pointer on the window: 1 when set. */
CORVA_API int32_t SetMyWindowData(CvHWND window, void *data);
/** The caller's pointer on the window; null when absent. */
CORVA_API void *GetMyWindowData(CvHWND window);
/** Takes the caller's pointer off the window and returns it; null when absent. */
CORVA_API void *RemoveMyWindowData(CvHWND window);
/** For every child of the dialog of class "STATIC" (any case): remembers
 * whether it has SS_NOPREFIX (0x80). */
CORVA_API void SS_NOPREFIX_Save(CvHWND dialog);
/** Forgets what SS_NOPREFIX_Save remembered for the dialog's static texts. */
CORVA_API void SS_NOPREFIX_Remove(CvHWND dialog);
/** 0x80 when the window's remembered flag is set, else 0. */
CORVA_API uint32_t SS_NOPREFIX_State(CvHWND window);


/** @} */

/** @} */

CORVA_END_DECLS

#endif
