#include "cli/screens.h"

#include <cstring>
#include <iostream>

#include "corvalib.h"
#include "corvaplat/gdi.h"
#include "corvaplat/menus.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/paint.h"
#include "corvaplat/render.h"

namespace corva::cli {
namespace {

namespace plat = corva::platform;
using plat::DialogItem;

constexpr plat::ModuleHandle kModule = 0xC12;
constexpr std::uint16_t kScreenId = 1;

// The library's colours for a dialog: every control listed, so edits and
// list boxes take the scheme's shades too.
struct Colouring {
  CvUniversalDlgColors record{};
  std::vector<CvControlColorEntry> list;
  CvHFONT bold = 0, unbold = 0;
  plat::MenuHandle menu = 0;  // the frame's menu bar
};
Colouring colouring;

std::intptr_t coloured_proc(plat::WindowHandle d, std::uint32_t m, plat::WPARAM w,
                            plat::LPARAM l) {
  if (m == plat::WM_INITDIALOG) return 1;
  if (m >= plat::WM_CTLCOLOREDIT && m <= plat::WM_CTLCOLORSTATIC)
    return HandleGlobalDlgMessages(d, m, w, l, &colouring.record, colouring.list.data());
  return 0;
}

DialogItem item(const char* cls, int id, std::uint32_t style, int x, int y, int cx, int cy,
                const char* text = "") {
  DialogItem i;
  i.class_name = cls;
  i.text = text;
  i.id = id;
  i.style = style | plat::WS_VISIBLE;
  i.x = x;
  i.y = y;
  i.cx = cx;
  i.cy = cy;
  return i;
}

// Shows a dialog as the product does: the library's colour answers, its bold
// dialog font made normal for all but the buttons and group boxes.
plat::WindowHandle show_dialog(plat::DialogTemplate dialog,
                               const std::vector<std::pair<int, std::string>>& items, int scheme) {
  dialog.style |= plat::WS_VISIBLE;
  plat::register_dialog_template(kModule, kScreenId, std::move(dialog));
  ColorMapperInit(0, static_cast<int16_t>(scheme));
  colouring.record = CvUniversalDlgColors{};
  colouring.record.set = static_cast<int16_t>(scheme);
  const plat::WindowHandle screen =
      plat::CreateDialogParamA(kModule, kScreenId, 0, coloured_proc, 0);
  if (screen == 0) return 0;
  plat::SetWindowPos(screen, 0, 0, 0, 0, 0, plat::SWP_NOSIZE | plat::SWP_NOZORDER);
  for (const auto& [id, text] : items) {
    const plat::WindowHandle c = plat::GetDlgItem(screen, id);
    const bool combo = plat::class_name(c) == "COMBOBOX";
    plat::SendMessageA(c, combo ? plat::CB_ADDSTRING : plat::LB_ADDSTRING, 0,
                       reinterpret_cast<plat::LPARAM>(text.c_str()));
  }
  colouring.list.clear();
  for (plat::WindowHandle c = plat::GetWindow(screen, plat::GW_CHILD); c != 0;
       c = plat::GetWindow(c, plat::GW_HWNDNEXT))
    colouring.list.push_back(CvControlColorEntry{c, 1});
  colouring.list.push_back(CvControlColorEntry{0, 0});
  plat::LogFont lf{};
  lf.height = -13;
  lf.weight = plat::FW_BOLD;
  std::strcpy(lf.face_name, "MS Sans Serif");
  colouring.bold = plat::CreateFontIndirectA(&lf);
  plat::SendMessageA(screen, plat::WM_SETFONT, colouring.bold, 0);
  for (plat::WindowHandle c = plat::GetWindow(screen, plat::GW_CHILD); c != 0;
       c = plat::GetWindow(c, plat::GW_HWNDNEXT))
    plat::SendMessageA(c, plat::WM_SETFONT, colouring.bold, 0);
  colouring.unbold = UnBoldDialogFont(screen, 0);
  return screen;
}

plat::LRESULT send(plat::WindowHandle dialog, int id, std::uint32_t m, plat::WPARAM w = 0,
                   plat::LPARAM l = 0) {
  return plat::SendDlgItemMessageA(dialog, id, m, w, l);
}

// A journal entry: date, amount, debit or credit, memo, and the states of
// edits and check boxes.
plat::WindowHandle entry_screen(int scheme) {
  plat::DialogTemplate d;
  d.caption = "Journal Entry";
  d.cx = 230;
  d.cy = 150;
  const std::uint32_t edit = plat::WS_BORDER | plat::WS_TABSTOP;
  d.items = {
      item("STATIC", 100, plat::SS_RIGHT, 4, 8, 44, 10, "&Date:"),
      item("EDIT", 101, edit, 52, 6, 60, 13, "12/07/2026"),
      item("STATIC", 102, plat::SS_RIGHT, 4, 26, 44, 10, "&Amount:"),
      item("EDIT", 103, edit | plat::ES_RIGHT, 52, 24, 60, 13, "1,250.00"),
      item("BUTTON", 104, plat::BS_GROUPBOX, 122, 2, 100, 40, "Entry side"),
      item("BUTTON", 105, plat::BS_AUTORADIOBUTTON | plat::WS_GROUP, 130, 14, 40, 10, "De&bit"),
      item("BUTTON", 106, plat::BS_AUTORADIOBUTTON, 174, 14, 44, 10, "C&redit"),
      item("BUTTON", 107, plat::BS_AUTOCHECKBOX, 130, 28, 80, 10, "Reco&nciled"),
      item("STATIC", 108, plat::SS_RIGHT, 4, 46, 44, 10, "&Memo:"),
      item("EDIT", 109, edit | plat::ES_MULTILINE, 52, 44, 170, 30,
           "Office rent for December\r\nPaid by cheque 1042"),
      item("STATIC", 110, plat::SS_RIGHT, 4, 82, 44, 10, "Balance:"),
      item("EDIT", 111, edit | plat::ES_READONLY, 52, 80, 60, 13, "8,904.17"),
      item("STATIC", 112, plat::SS_RIGHT, 4, 100, 44, 10, "Account:"),
      item("EDIT", 113, edit | plat::WS_DISABLED, 52, 98, 60, 13, "4100 Rent"),
      item("BUTTON", 114, plat::BS_AUTO3STATE, 122, 82, 100, 10, "&Post to all ledgers"),
      item("BUTTON", 115, plat::BS_AUTOCHECKBOX | plat::WS_DISABLED, 122, 98, 100, 10,
           "&Print voucher"),
      item("STATIC", 116, plat::SS_ETCHEDHORZ, 4, 116, 222, 2),
      item("BUTTON", plat::IDC_OK, plat::BS_DEFPUSHBUTTON | plat::WS_TABSTOP, 118, 126, 50, 16,
           "OK"),
      item("BUTTON", plat::IDC_CANCEL, plat::BS_PUSHBUTTON | plat::WS_TABSTOP, 174, 126, 50, 16,
           "Cancel"),
  };
  const plat::WindowHandle s = show_dialog(d, {}, scheme);
  if (s == 0) return 0;
  send(s, 105, plat::BM_SETCHECK, plat::BST_CHECKED);
  send(s, 114, plat::BM_SETCHECK, plat::BST_INDETERMINATE);
  send(s, 115, plat::BM_SETCHECK, plat::BST_CHECKED);
  plat::SetFocus(plat::GetDlgItem(s, 103));
  send(s, 103, plat::EM_SETSEL, 0, 5);
  return s;
}

// Lists and combo boxes: a scrolled list with its selection, a dropped-down
// combo, a closed one, a simple one, static frames and a pressed button.
plat::WindowHandle lists_screen(int scheme) {
  plat::DialogTemplate d;
  d.caption = "Accounts and Terms";
  d.cx = 230;
  d.cy = 140;
  d.items = {
      item("STATIC", 100, 0, 6, 4, 90, 10, "&Accounts"),
      item("LISTBOX", 101, plat::WS_BORDER | plat::WS_VSCROLL | plat::WS_TABSTOP, 6, 16, 100, 70),
      item("STATIC", 102, 0, 120, 4, 90, 10, "&Terms"),
      item("COMBOBOX", 103, plat::CBS_DROPDOWNLIST | plat::WS_TABSTOP, 120, 16, 100, 70),
      item("STATIC", 104, 0, 120, 60, 90, 10, "&Currency"),
      item("COMBOBOX", 105, plat::CBS_DROPDOWN | plat::WS_TABSTOP, 120, 72, 100, 60),
      item("STATIC", 106, plat::SS_BLACKFRAME, 6, 92, 100, 20),
      item("STATIC", 107, plat::SS_CENTER | plat::SS_NOPREFIX, 8, 96, 96, 12, "Totals & balances"),
      item("STATIC", 108, plat::SS_GRAYRECT, 120, 92, 4, 20),
      item("BUTTON", 109, plat::BS_PUSHBUTTON, 130, 92, 44, 16, "&Refresh"),
      item("BUTTON", 110, plat::BS_PUSHBUTTON | plat::WS_DISABLED, 178, 92, 44, 16, "&Delete"),
      item("BUTTON", plat::IDC_OK, plat::BS_DEFPUSHBUTTON | plat::WS_TABSTOP, 118, 120, 50, 16,
           "OK"),
      item("BUTTON", plat::IDC_CANCEL, plat::BS_PUSHBUTTON | plat::WS_TABSTOP, 174, 120, 50, 16,
           "Cancel"),
  };
  const std::vector<std::pair<int, std::string>> items = {
      {101, "1000 Cash"},      {101, "1100 Bank"},        {101, "1200 Receivables"},
      {101, "1500 Inventory"}, {101, "2000 Payables"},    {101, "2100 Taxes due"},
      {101, "3000 Capital"},   {101, "4000 Sales"},       {101, "4100 Rent"},
      {101, "5000 Purchases"}, {103, "Net 30"},           {103, "Net 10"},
      {103, "Cash on delivery"}, {103, "Prepaid"},        {105, "Dollar"},
      {105, "Euro"},           {105, "Pound"},
  };
  const plat::WindowHandle s = show_dialog(d, items, scheme);
  if (s == 0) return 0;
  send(s, 101, plat::LB_SETCURSEL, 7);
  send(s, 103, plat::CB_SETCURSEL, 0);
  send(s, 103, plat::CB_SHOWDROPDOWN, 1);
  send(s, 105, plat::CB_SETCURSEL, 1);
  send(s, 109, plat::BM_SETSTATE, 1);
  plat::SetFocus(plat::GetDlgItem(s, 101));
  return s;
}

// A ledger screen: the library draws its columns with tab-clipped text in
// bevelled header and rows.
plat::LRESULT ledger_proc(plat::WindowHandle h, std::uint32_t m, plat::WPARAM w, plat::LPARAM l) {
  if (m != plat::WM_PAINT) return plat::DefWindowProcA(h, m, w, l);
  plat::PaintStruct ps{};
  const plat::DcHandle dc = plat::BeginPaint(h, &ps);
  plat::Rect client{};
  plat::GetClientRect(h, &client);
  static const int16_t kStops[] = {76, 180, -262, -340};
  static const char* const kRows[] = {
      "Date\tAccount\tDebit\tCredit",        "12/01/2026\t1100 Bank\t\t1,250.00",
      "12/01/2026\t4100 Rent\t1,250.00\t",   "12/03/2026\t1000 Cash\t310.40\t",
      "12/03/2026\t4000 Sales\t\t310.40",    "12/05/2026\t5000 Purchases\t86.99\t",
  };
  const plat::GdiHandle face = plat::GetSysColorBrush(plat::COLOR_BTNFACE);
  plat::SelectObject(dc, plat::GetStockObject(plat::DEFAULT_GUI_FONT));
  plat::SetBkMode(dc, plat::TRANSPARENT);
  int y = 2;
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const CvRECT row{2, y, client.right - 2, y + 20};
    if (i == 0) {
      const plat::Rect head{row.left, row.top, row.right, row.bottom};
      plat::FillRect(dc, &head, face);
      DrawBevelRect(dc, &row, 2, 0, 1);
    }
    DrawTabClippedText(dc, &row, kRows[i], -1, kStops, 4, 4,
                       plat::DT_SINGLELINE | plat::DT_VCENTER);
    y += 20;
  }
  const CvRECT total{2, y + 4, client.right - 2, y + 26};
  DrawBevelRect(dc, &total, 1, 0, 0);
  DrawTabClippedText(dc, &total, "Balance\t\t1,560.40\t1,560.40", -1, kStops, 4, 4,
                     plat::DT_SINGLELINE | plat::DT_VCENTER);
  plat::EndPaint(h, &ps);
  return 0;
}

// The frame: its menu bar with the File menu open, the MDI client and two
// screens, the ledger in front.
plat::WindowHandle frame_screen(int scheme) {
  ColorMapperInit(0, static_cast<int16_t>(scheme));
  plat::WindowClass frame_class;
  frame_class.name = "CvxRenderFrame";
  frame_class.procedure = plat::DefWindowProcA;
  plat::RegisterClassA(frame_class);
  plat::WindowClass ledger_class;
  ledger_class.name = "CvxRenderLedger";
  ledger_class.procedure = ledger_proc;
  plat::RegisterClassA(ledger_class);
  const plat::MenuHandle bar = plat::CreateMenu(), file = plat::CreatePopupMenu(),
                         edit = plat::CreatePopupMenu(), reports = plat::CreatePopupMenu();
  plat::AppendMenuA(file, 0, 100, "&New\tCtrl+N");
  plat::AppendMenuA(file, 0, 101, "&Open...\tCtrl+O");
  plat::AppendMenuA(file, plat::MF_GRAYED, 102, "&Save\tCtrl+S");
  plat::AppendMenuA(file, plat::MF_SEPARATOR, 0, nullptr);
  plat::AppendMenuA(file, plat::MF_CHECKED, 103, "&Autosave");
  plat::AppendMenuA(file, plat::MF_POPUP, reports, "&Reports");
  plat::AppendMenuA(file, plat::MF_HILITE, 104, "&Customers...\tCtrl+U");
  plat::AppendMenuA(file, plat::MF_SEPARATOR, 0, nullptr);
  plat::AppendMenuA(file, 0, 105, "E&xit");
  plat::AppendMenuA(reports, 0, 110, "&Aging");
  plat::AppendMenuA(edit, 0, 120, "&Undo");
  plat::AppendMenuA(bar, plat::MF_POPUP | plat::MF_HILITE, file, "&File");
  plat::AppendMenuA(bar, plat::MF_POPUP, edit, "&Edit");
  plat::AppendMenuA(bar, plat::MF_POPUP | plat::MF_GRAYED, plat::CreatePopupMenu(), "&Window");
  colouring.menu = bar;
  const plat::WindowHandle frame = plat::CreateWindowExA(
      0, "CvxRenderFrame", "Corvantis - Sample Company",
      plat::WS_OVERLAPPEDWINDOW | plat::WS_VISIBLE, 0, 0, 640, 440, 0, bar, kModule, nullptr);
  plat::Rect inside{};
  plat::GetClientRect(frame, &inside);
  const plat::WindowHandle client = plat::CreateWindowExA(
      0, "MDICLIENT", "", plat::WS_CHILD | plat::WS_VISIBLE, 0, 0, inside.right, inside.bottom,
      frame, 0xCAC, kModule, nullptr);
  const std::uint32_t child = plat::WS_CHILD | plat::WS_VISIBLE | plat::WS_OVERLAPPEDWINDOW;
  const plat::WindowHandle customers =
      plat::CreateWindowExA(plat::WS_EX_MDICHILD, "CvxRenderFrame", "Customers", child, 300, 8,
                            300, 200, client, 0, kModule, nullptr);
  const plat::WindowHandle list = plat::CreateWindowExA(
      0, "LISTBOX", "", plat::WS_CHILD | plat::WS_VISIBLE, 0, 0, 292, 174, customers, 1, kModule,
      nullptr);
  for (const char* name : {"Acme Hardware", "Birch & Sons", "Corner Bakery", "Delta Freight"})
    plat::SendMessageA(list, plat::LB_ADDSTRING, 0, reinterpret_cast<plat::LPARAM>(name));
  plat::SendMessageA(list, plat::LB_SETCURSEL, 1, 0);
  const plat::WindowHandle ledger =
      plat::CreateWindowExA(plat::WS_EX_MDICHILD, "CvxRenderLedger", "Ledger - December", child,
                            40, 170, 360, 200, client, 0, kModule, nullptr);
  // The ledger in front and active.
  plat::SetWindowPos(ledger, 0, 0, 0, 0, 0, plat::SWP_NOMOVE | plat::SWP_NOSIZE);
  plat::SendMessageA(client, plat::WM_MDIACTIVATE, ledger, 0);
  plat::SetActiveWindow(frame);
  return frame;
}

// A message box as the window system shows one: its text, and its buttons
// with the default one marked.
plat::WindowHandle message_screen(int scheme) {
  const std::uint32_t style = plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION | plat::MB_DEFBUTTON2;
  plat::DialogTemplate d;
  d.caption = "Corvantis";
  d.cx = 200;
  d.cy = 64;
  d.items = {item("STATIC", 100, 0, 12, 8, 180, 24,
                  "Save the changes to the journal entry before closing it?")};
  int buttons[3] = {};
  const int count = plat::box_buttons(style, buttons);
  static const char* const kNames[] = {"", "OK", "Cancel", "&Abort", "&Retry", "&Ignore",
                                       "&Yes", "&No"};
  const int def = plat::default_button(style);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t kind = buttons[i] == def ? plat::BS_DEFPUSHBUTTON : plat::BS_PUSHBUTTON;
    d.items.push_back(item("BUTTON", buttons[i], kind | plat::WS_TABSTOP,
                           200 - (count - i) * 54 - 2, 42, 48, 16, kNames[buttons[i]]));
  }
  const plat::WindowHandle s = show_dialog(d, {}, scheme);
  if (s != 0) plat::SetFocus(plat::GetDlgItem(s, def));
  return s;
}

}  // namespace

const std::vector<std::string>& sample_screens() {
  static const std::vector<std::string> names = {"entry", "lists", "frame", "message"};
  return names;
}

plat::WindowHandle open_sample_screen(const std::string& name, int scheme) {
  close_sample_screen();
  if (name == "entry") return entry_screen(scheme);
  if (name == "lists") return lists_screen(scheme);
  if (name == "frame") return frame_screen(scheme);
  if (name == "message") return message_screen(scheme);
  return 0;
}

plat::WindowHandle open_dialog_screen(const plat::DialogTemplate& dialog,
                                      const std::vector<std::pair<int, std::string>>& items,
                                      int scheme) {
  close_sample_screen();
  return show_dialog(dialog, items, scheme);
}

void close_sample_screen() {
  plat::reset_window_system();
  ColorMapperDispose();
  if (colouring.menu != 0) plat::DestroyMenu(colouring.menu);
  colouring.menu = 0;
  for (CvHFONT* font : {&colouring.bold, &colouring.unbold}) {
    if (*font != 0) plat::DeleteObject(*font);
    *font = 0;
  }
}

int render_screen(plat::WindowHandle window, const std::string& png, const std::string& svg) {
  std::string error;
  if (!png.empty() && !plat::render_window_png(window, png.c_str(), &error)) {
    std::cerr << "corva: " << error << "\n";
    return 1;
  }
  if (!svg.empty() && !plat::render_window_svg(window, svg.c_str(), &error)) {
    std::cerr << "corva: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace corva::cli
