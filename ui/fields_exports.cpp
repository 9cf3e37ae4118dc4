// The exported dialog-field helpers.
#include "corvalib/ui.h"
#include "corvaplat/windows.h"
#include "frame/boundary.h"
#include "ui/fields.h"

namespace plat = corva::platform;
namespace ui = corva::ui;

extern "C" {

int32_t SetEditLimit(CvHWND edit, uint32_t limit) try {
  return static_cast<int32_t>(plat::SendMessageA(edit, plat::EM_LIMITTEXT, limit, 0));
} CORVA_BOUNDARY(0)

int32_t SetDlgEditLimit(CvHWND dialog, int32_t id, uint32_t limit) try {
  return static_cast<int32_t>(plat::SendDlgItemMessageA(dialog, id, plat::EM_LIMITTEXT, limit, 0));
} CORVA_BOUNDARY(0)

uint16_t GetDlgRadioCheck(CvHWND dialog, uint16_t firstId, uint16_t lastId) try {
  return ui::radio_check(dialog, firstId, lastId);
} CORVA_BOUNDARY(0)

void EnableDlgWindow(CvHWND dialog, int16_t id, int32_t enable) try {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) plat::EnableWindow(c, enable != 0);
} CORVA_BOUNDARY()

void EnableDlgWindowRange(CvHWND dialog, int16_t firstId, int16_t lastId, int32_t enable) try {
  ui::enable_range(dialog, firstId, lastId, enable != 0);
} CORVA_BOUNDARY()

void SetDlgFocus(CvHWND dialog, int16_t id) try {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) plat::SetFocus(c);
} CORVA_BOUNDARY()

void SetFocusToButton(CvHWND dialog, int16_t id) try {
  ui::focus_to_button(dialog, id);
} CORVA_BOUNDARY()

uint16_t GetWindowTextWithNulls(CvHWND control, uint16_t high, char* text) try {
  if (text == nullptr) return 0;
  return ui::text_with_nulls(control, high, text);
} CORVA_BOUNDARY(0)

uint16_t GetDlgItemTextWithNulls(CvHWND dialog, int16_t id, uint16_t high, char* text) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0 || text == nullptr) return 0;
  return ui::text_with_nulls(c, high, text);
} CORVA_BOUNDARY(0)

uint16_t GetWindowTextTrimmed(CvHWND control, uint16_t high, char* text) try {
  if (text == nullptr) return 0;
  return ui::text_trimmed(control, high, text);
} CORVA_BOUNDARY(0)

uint16_t GetDlgItemTextTrimmed(CvHWND dialog, int16_t id, uint16_t high, char* text) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0 || text == nullptr) return 0;
  return ui::text_trimmed(c, high, text);
} CORVA_BOUNDARY(0)

void SetWindowTextWithTrim(CvHWND control, uint16_t high, char* text) try {
  if (text != nullptr) ui::set_text_trimmed(control, high, text);
} CORVA_BOUNDARY()

void SetDlgItemTextWithTrim(CvHWND dialog, uint16_t id, uint16_t high, char* text) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c != 0 && text != nullptr) ui::set_text_trimmed(c, high, text);
} CORVA_BOUNDARY()

void SetDlgDrCr(CvHWND dialog, double amount, int16_t debitId, int16_t creditId) try {
  const CvHWND debit = plat::GetDlgItem(dialog, debitId);
  const CvHWND credit = plat::GetDlgItem(dialog, creditId);
  if (debit != 0 && credit != 0) ui::set_dr_cr(debit, credit, amount);
} CORVA_BOUNDARY()

void GetDlgDrCr(CvHWND dialog, double* amount, int16_t debitId, int16_t creditId) try {
  const CvHWND debit = plat::GetDlgItem(dialog, debitId);
  const CvHWND credit = plat::GetDlgItem(dialog, creditId);
  if (amount != nullptr && debit != 0 && credit != 0) *amount = ui::get_dr_cr(debit, credit);
} CORVA_BOUNDARY()

void SetWindowDollars(CvHWND control, double amount) try {
  ui::set_dollars(control, amount);
} CORVA_BOUNDARY()

void SetDlgItemDollars(CvHWND dialog, double amount, uint16_t id) try {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_dollars(c, amount);
} CORVA_BOUNDARY()

double GetWindowDollars(CvHWND control) try { return ui::get_dollars(control); } CORVA_BOUNDARY(0)

double GetDlgItemDollars(CvHWND dialog, uint16_t id) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_dollars(c) : 0.0;
} CORVA_BOUNDARY(0)

void SetWindowReal(CvHWND control, double value, uint16_t decimals) try {
  ui::set_real(control, value, decimals);
} CORVA_BOUNDARY()

void SetDlgItemReal(CvHWND dialog, double value, uint16_t id, uint16_t decimals) try {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_real(c, value, decimals);
} CORVA_BOUNDARY()

double GetWindowReal(CvHWND control) try { return ui::get_real(control); } CORVA_BOUNDARY(0)

double GetDlgItemReal(CvHWND dialog, uint16_t id) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_real(c) : 0.0;
} CORVA_BOUNDARY(0)

double GetWindowQty(CvHWND control) try { return ui::get_qty(control); } CORVA_BOUNDARY(0)

double GetDlgItemQty(CvHWND dialog, uint16_t id) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 ? ui::get_qty(c) : 0.0;
} CORVA_BOUNDARY(0)

uint8_t GetWindowDate(CvHWND control, uint32_t* date) try {
  return ui::get_date(control, date) ? 1 : 0;
} CORVA_BOUNDARY(0)

uint8_t GetDlgItemDate(CvHWND dialog, uint32_t* date, int16_t id) try {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  return c != 0 && ui::get_date(c, date) ? 1 : 0;
} CORVA_BOUNDARY(0)

void SetWindowDate(CvHWND control, uint32_t date) try {
  ui::set_date(control, date);
} CORVA_BOUNDARY()

void SetDlgItemDate(CvHWND dialog, uint32_t date, int16_t id) try {
  if (const CvHWND c = plat::GetDlgItem(dialog, id)) ui::set_date(c, date);
} CORVA_BOUNDARY()

int16_t MyGetDlgItemCard(CvHWND dialog, int16_t id, uint16_t min, uint16_t max, uint16_t* value) try {
  return ui::get_card(dialog, id, min, max, value);
} CORVA_BOUNDARY(id)

int32_t GetWindowInt(CvHWND control, int32_t* ok, int32_t isSigned) try {
  return ui::window_int(control, ok, isSigned != 0);
} CORVA_BOUNDARY(0)

void SetListBoxSelection(CvHWND dialog, int16_t editId, int16_t listId) try {
  ui::select_by_first_word(dialog, editId, listId);
} CORVA_BOUNDARY()

int16_t GetComboIndexByItemData(CvHWND combo, uintptr_t data) try {
  return ui::index_by_data(combo, data, true);
} CORVA_BOUNDARY(-1)

int32_t SetComboByItemData(CvHWND combo, uintptr_t data) try {
  return ui::select_by_data(combo, data, true) ? 1 : 0;
} CORVA_BOUNDARY(0)

int16_t GetListIndexByItemData(CvHWND list, uintptr_t data) try {
  return ui::index_by_data(list, data, false);
} CORVA_BOUNDARY(-1)

int32_t SetListByItemData(CvHWND list, uintptr_t data) try {
  return ui::select_by_data(list, data, false) ? 1 : 0;
} CORVA_BOUNDARY(0)

uintptr_t GetComboSelItemData(CvHWND combo, int32_t* index) try {
  return ui::selected_data(combo, index, true);
} CORVA_BOUNDARY(0)

uintptr_t GetListSelItemData(CvHWND list, int32_t* index) try {
  return ui::selected_data(list, index, false);
} CORVA_BOUNDARY(0)

int32_t SetCBhWndDataAndText(CvHWND combo, uintptr_t data, const char* text) try {
  if (text == nullptr) return -1;
  return ui::add_with_data(combo, data, text);
} CORVA_BOUNDARY(0)

int32_t SetCBDataAndText(CvHWND dialog, uint16_t comboId, uintptr_t data, const char* text) try {
  if (text == nullptr) return -1;
  const auto index = static_cast<int32_t>(plat::SendDlgItemMessageA(
      dialog, comboId, plat::CB_ADDSTRING, 0, reinterpret_cast<plat::LPARAM>(text)));
  if (index < 0) return -1;
  plat::SendDlgItemMessageA(dialog, comboId, plat::CB_SETITEMDATA,
                            static_cast<plat::WPARAM>(index), static_cast<plat::LPARAM>(data));
  return index;
} CORVA_BOUNDARY(0)

}  // extern "C"
