// A C++ host with one data-entry dialog on the platform's window system.
//
// The window system is an in-process model: windows, dialogs built from
// templates, a message queue and keyboard input, with nothing drawn. A host
// builds its screens with the platform's calls (corvaplat/windows.h) and fills
// and reads their fields with the library's (corvalib/ui.h), which format
// amounts and dates in the user's regional settings.
//
// Here the "user" is a short script that runs whenever the queue is empty:
// it types a new amount into the invoice dialog and presses Enter. The host
// then reads the fields back, prints them and ends its message loop.
#include <corvalib.h>
#include <corvaplat/windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace plat = corva::platform;

namespace {

// The host's module handle: its dialog templates are registered under it.
constexpr plat::ModuleHandle kHostModule = 0x4E57;
constexpr std::uint16_t kInvoiceDialog = 100;
constexpr std::uint16_t kCmdInvoice = 40001;  // the menu command that opens it
constexpr int kCustomer = 101, kAmount = 102, kInvoiceDate = 103;

struct Outcome {
  bool saved = false;
  char customer[31] = {};
  double amount = 0.0;
  std::uint32_t date = 0;
} outcome;

template <std::size_t N>
constexpr std::uint16_t high_of(const char (&)[N]) {
  return static_cast<std::uint16_t>(N - 1);  // a bounded string's HIGH
}

// The dialog procedure: fills the fields when the dialog opens, reads them
// when the user confirms.
std::intptr_t invoice_proc(plat::WindowHandle dialog, std::uint32_t message, plat::WPARAM wParam,
                           plat::LPARAM) {
  switch (message) {
    case plat::WM_INITDIALOG: {
      char customer[31] = "  Harbour Timber Ltd.  ";
      SetDlgItemTextWithTrim(dialog, kCustomer, high_of(customer), customer);
      SetDlgEditLimit(dialog, kCustomer, high_of(customer));
      SetDlgItemDollars(dialog, 1234.5, kAmount);  // shown as "1,234.50"
      std::uint32_t date = 0;
      MakeDate(3, 31, 2026, &date);
      SetDlgItemDate(dialog, date, kInvoiceDate);  // a plain edit gets "Mar 31, 2026"
      return 1;  // put the focus on the first tab stop
    }
    case plat::WM_COMMAND:
      if ((wParam & 0xFFFF) == plat::IDC_OK) {
        GetDlgItemTextTrimmed(dialog, kCustomer, high_of(outcome.customer), outcome.customer);
        outcome.amount = GetDlgItemDollars(dialog, kAmount);
        char date[31];
        GetDlgItemTextTrimmed(dialog, kInvoiceDate, high_of(date), date);
        MedStrToDate(high_of(date), date, &outcome.date);
        outcome.saved = true;
      }
      if ((wParam & 0xFFFF) == plat::IDC_OK || (wParam & 0xFFFF) == plat::IDC_CANCEL) {
        std::printf("%s", plat::dump_window_tree(dialog).c_str());
        // A screen leaves the window table when it closes.
        RemoveWindowFromTable(dialog, 1);
        plat::DestroyWindow(dialog);
        plat::PostQuitMessage(0);
        return 1;
      }
      return 0;
  }
  return 0;
}

plat::LRESULT frame_proc(plat::WindowHandle window, std::uint32_t message, plat::WPARAM wParam,
                         plat::LPARAM lParam) {
  return plat::DefWindowProcA(window, message, wParam, lParam);
}

// The user's part, one step each time the queue runs dry.
bool user(void* context) {
  static int step = 0;
  const plat::WindowHandle dialog = *static_cast<plat::WindowHandle*>(context);
  switch (step++) {
    case 0:  // click into the amount and select what is there
      SetDlgFocus(dialog, kAmount);
      plat::SendDlgItemMessageA(dialog, kAmount, plat::EM_SETSEL, 0, -1);
      return true;
    case 1:  // type over it and press Enter, which the dialog takes as OK
      plat::type_text("987.65\n");
      return true;
    default:  // nothing more to do: let the loop end
      plat::PostQuitMessage(1);
      return false;
  }
}

}  // namespace

int main() {
  // The dialog's template: positions in dialog units.
  constexpr std::uint32_t kField = plat::WS_VISIBLE | plat::WS_TABSTOP | plat::WS_BORDER;
  constexpr std::uint32_t kButton = plat::WS_VISIBLE | plat::WS_TABSTOP;
  plat::DialogTemplate invoice;
  invoice.caption = "Invoice";
  invoice.cx = 200;
  invoice.cy = 90;
  invoice.items = {
      {"STATIC", "&Customer", -1, plat::WS_VISIBLE, 4, 6, 40, 10},
      {"EDIT", "", kCustomer, kField, 50, 4, 140, 12},
      {"STATIC", "&Amount", -1, plat::WS_VISIBLE, 4, 22, 40, 10},
      {"EDIT", "", kAmount, kField, 50, 20, 70, 12},
      {"STATIC", "&Date", -1, plat::WS_VISIBLE, 4, 38, 40, 10},
      {"EDIT", "", kInvoiceDate, kField, 50, 36, 70, 12},
      {"BUTTON", "OK", plat::IDC_OK, kButton | plat::BS_DEFPUSHBUTTON, 50, 70, 40, 14},
      {"BUTTON", "Cancel", plat::IDC_CANCEL, kButton, 100, 70, 40, 14},
  };
  plat::register_dialog_template(kHostModule, kInvoiceDialog, invoice);

  // The main frame; the library sends and posts to it through the shared record.
  plat::RegisterClassA(plat::WindowClass{"ExampleFrame", frame_proc, 0, kHostModule});
  const plat::WindowHandle frame =
      plat::CreateWindowExA(0, "ExampleFrame", "Ledger", plat::WS_OVERLAPPEDWINDOW | plat::WS_VISIBLE,
                            0, 0, 800, 600, 0, 0, kHostModule, nullptr);
  MyCorvaLibDataPtr->MainWindow = frame;
  WeBecomeActive();

  // A modeless dialog, registered in the window table so that the library's
  // loop gives it its dialog keys (Tab, Enter, Escape, mnemonics).
  plat::WindowHandle dialog =
      plat::CreateDialogParamA(kHostModule, kInvoiceDialog, frame, invoice_proc, 0);
  if (dialog == 0 || !AddWindowToTable(dialog, kCmdInvoice, 1)) {
    std::fprintf(stderr, "the invoice dialog could not be opened\n");
    return 1;
  }

  // The host's message loop: MyGetMessage fetches, offers each message to the
  // registered dialogs and dispatches it, and answers 0 for the quit message.
  plat::set_idle_handler(user, &dialog);
  while (MyGetMessage() != 0) {
  }
  plat::set_idle_handler(nullptr, nullptr);

  char amount[19];
  DollarsToString(outcome.amount, high_of(amount), amount, 0, '-');
  Trim(high_of(amount), amount);
  char date[31];
  DateToLongStr(outcome.date, high_of(date), date);
  std::printf("saved: %s\ncustomer: \"%s\"\namount: %s\ndate: %s\n", outcome.saved ? "yes" : "no",
              outcome.customer, amount, date);

  plat::DestroyWindow(frame);
  const bool expected = outcome.saved && std::strcmp(outcome.customer, "Harbour Timber Ltd.") == 0 &&
                        std::fabs(outcome.amount - 987.65) < 0.001 && IsLegalDate(outcome.date);
  return expected ? 0 : 1;
}
