// The exported dialog-field helpers.
#include "corvalib/ui.h"
#include "corvaplat/windows.h"
#include "ui/fields.h"

namespace plat = corva::platform;
namespace ui = corva::ui;

extern "C" {

int32_t SetEditLimit(CvHWND edit, uint32_t limit) {
  return static_cast<int32_t>(plat::SendMessageA(edit, plat::EM_LIMITTEXT, limit, 0));
}

int32_t SetDlgEditLimit(CvHWND dialog, int32_t id, uint32_t limit) {
  return static_cast<int32_t>(plat::SendDlgItemMessageA(dialog, id, plat::EM_LIMITTEXT, limit, 0));
}

uint16_t GetDlgRadioCheck(CvHWND dialog, uint16_t firstId, uint16_t lastId) {
  return ui::radio_check(dialog, firstId, lastId);
}

void EnableDlgWindow(CvHWND dialog, int16_t id, int32_t enable) {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) plat::EnableWindow(c, enable != 0);
}

void EnableDlgWindowRange(CvHWND dialog, int16_t firstId, int16_t lastId, int32_t enable) {
  ui::enable_range(dialog, firstId, lastId, enable != 0);
}

void SetDlgFocus(CvHWND dialog, int16_t id) {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) plat::SetFocus(c);
}

void SetFocusToButton(CvHWND dialog, int16_t id) { ui::focus_to_button(dialog, id); }

uint16_t GetWindowTextWithNulls(CvHWND control, uint16_t high, char* text) {
  if (text == nullptr) return 0;
  return ui::text_with_nulls(control, high, text);
}

uint16_t GetDlgItemTextWithNulls(CvHWND dialog, int16_t id, uint16_t high, char* text) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0 || text == nullptr) return 0;
  return ui::text_with_nulls(c, high, text);
}

uint16_t GetWindowTextTrimmed(CvHWND control, uint16_t high, char* text) {
  if (text == nullptr) return 0;
  return ui::text_trimmed(control, high, text);
}

uint16_t GetDlgItemTextTrimmed(CvHWND dialog, int16_t id, uint16_t high, char* text) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0 || text == nullptr) return 0;
  return ui::text_trimmed(c, high, text);
}

void SetWindowTextWithTrim(CvHWND control, uint16_t high, char* text) {
  if (text != nullptr) ui::set_text_trimmed(control, high, text);
}

void SetDlgItemTextWithTrim(CvHWND dialog, uint16_t id, uint16_t high, char* text) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c != 0 && text != nullptr) ui::set_text_trimmed(c, high, text);
}

void SetDlgDrCr(CvHWND dialog, double amount, int16_t debitId, int16_t creditId) {
  const CvHWND debit = plat::GetDlgItem(dialog, debitId);
  const CvHWND credit = plat::GetDlgItem(dialog, creditId);
  if (debit != 0 && credit != 0) ui::set_dr_cr(debit, credit, amount);
}

void GetDlgDrCr(CvHWND dialog, double* amount, int16_t debitId, int16_t creditId) {
  const CvHWND debit = plat::GetDlgItem(dialog, debitId);
  const CvHWND credit = plat::GetDlgItem(dialog, creditId);
  if (amount != nullptr && debit != 0 && credit != 0) *amount = ui::get_dr_cr(debit, credit);
}

void SetWindowDollars(CvHWND control, double amount) { ui::set_dollars(control, amount); }

void SetDlgItemDollars(CvHWND dialog, double amount, uint16_t id) {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_dollars(c, amount);
}

double GetWindowDollars(CvHWND control) { return ui::get_dollars(control); }

double GetDlgItemDollars(CvHWND dialog, uint16_t id) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_dollars(c) : 0.0;
}

void SetWindowReal(CvHWND control, double value, uint16_t decimals) {
  ui::set_real(control, value, decimals);
}

void SetDlgItemReal(CvHWND dialog, double value, uint16_t id, uint16_t decimals) {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_real(c, value, decimals);
}

double GetWindowReal(CvHWND control) { return ui::get_real(control); }

double GetDlgItemReal(CvHWND dialog, uint16_t id) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_real(c) : 0.0;
}

double GetWindowQty(CvHWND control) { return ui::get_qty(control); }

double GetDlgItemQty(CvHWND dialog, uint16_t id) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_qty(c) : 0.0;
}

uint8_t GetWindowDate(CvHWND control, uint32_t* date) { return ui::get_date(control, date) ? 1 : 0; }

uint8_t GetDlgItemDate(CvHWND dialog, uint32_t* date, int16_t id) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 && ui::get_date(c, date) ? 1 : 0;
}

void SetWindowDate(CvHWND control, uint32_t date) { ui::set_date(control, date); }

void SetDlgItemDate(CvHWND dialog, uint32_t date, int16_t id) {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_date(c, date);
}

int16_t MyGetDlgItemCard(CvHWND dialog, int16_t id, uint16_t min, uint16_t max, uint16_t* value) {
  return ui::get_card(dialog, id, min, max, value);
}

int32_t GetWindowInt(CvHWND control, int32_t* ok, int32_t isSigned) {
  return ui::window_int(control, ok, isSigned != 0);
}

void SetListBoxSelection(CvHWND dialog, int16_t editId, int16_t listId) {
  ui::select_by_first_word(dialog, editId, listId);
}

int16_t GetComboIndexByItemData(CvHWND combo, uintptr_t data) {
  return ui::index_by_data(combo, data, true);
}

int32_t SetComboByItemData(CvHWND combo, uintptr_t data) {
  return ui::select_by_data(combo, data, true) ? 1 : 0;
}

int16_t GetListIndexByItemData(CvHWND list, uintptr_t data) {
  return ui::index_by_data(list, data, false);
}

int32_t SetListByItemData(CvHWND list, uintptr_t data) {
  return ui::select_by_data(list, data, false) ? 1 : 0;
}

uintptr_t GetComboSelItemData(CvHWND combo, int32_t* index) {
  return ui::selected_data(combo, index, true);
}

uintptr_t GetListSelItemData(CvHWND list, int32_t* index) {
  return ui::selected_data(list, index, false);
}

int32_t SetCBhWndDataAndText(CvHWND combo, uintptr_t data, const char* text) {
  if (text == nullptr) return -1;
  return ui::add_with_data(combo, data, text);
}

int32_t SetCBDataAndText(CvHWND dialog, uint16_t comboId, uintptr_t data, const char* text) {
  if (text == nullptr) return -1;
  const auto index = static_cast<int32_t>(plat::SendDlgItemMessageA(
      dialog, comboId, plat::CB_ADDSTRING, 0, reinterpret_cast<plat::LPARAM>(text)));
  if (index < 0) return -1;
  plat::SendDlgItemMessageA(dialog, comboId, plat::CB_SETITEMDATA,
                            static_cast<plat::WPARAM>(index), static_cast<plat::LPARAM>(data));
  return index;
}

}  // extern "C"
