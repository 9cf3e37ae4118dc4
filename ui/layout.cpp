#include "ui/layout.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/gdi.h"
#include "corvaplat/paint.h"
#include "corvaplat/resources.h"
#include "corvaplat/text.h"
#include "corvaplat/windows.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr std::uint32_t kHideFlags = 0x8F;  // HIDEWINDOW|NOREDRAW|NOZORDER|NOMOVE|NOSIZE
constexpr std::uint32_t kShowFlags = 0x4F;  // the same with SHOWWINDOW
constexpr std::uint32_t kPlaceFlags = plat::SWP_NOSIZE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE;
constexpr char kDisarmed = 0x1F;
constexpr const char* kSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kSampleLength = 62;
constexpr std::uint32_t kSetRedraw = 0x000B;

bool equal_no_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (plat::char_lower(a[i]) != plat::char_lower(b[i])) return false;
  }
  return true;
}

std::string class_of(CvHWND h, int size) {
  std::string name(static_cast<std::size_t>(size), '\0');
  name.resize(static_cast<std::size_t>(plat::GetClassNameA(h, name.data(), size)));
  return name;
}

// The window rectangle in the dialog's client coordinates.
plat::Rect in_client(CvHWND dialog, CvHWND control) {
  plat::Rect r{};
  plat::GetWindowRect(control, &r);
  plat::Point tl{r.left, r.top};
  plat::ScreenToClient(dialog, &tl);
  return plat::Rect{tl.x, tl.y, tl.x + r.width(), tl.y + r.height()};
}

// One hide or show of a control, adding its rectangle to the union.
void place(CvHWND control, bool show, bool mnemonics, plat::Rect& area) {
  if (mnemonics) set_mnemonic_armed(control, show);
  plat::Rect r{};
  plat::GetWindowRect(control, &r);
  plat::UnionRect(&area, &area, &r);
  plat::SetWindowPos(control, 0, 0, 0, 0, 0, show ? kShowFlags : kHideFlags);
}

void repaint(CvHWND dialog, plat::Rect area) {
  plat::Point tl{area.left, area.top}, br{area.right, area.bottom};
  plat::ScreenToClient(dialog, &tl);
  plat::ScreenToClient(dialog, &br);
  const plat::Rect r{tl.x, tl.y, br.x, br.y};
  plat::InvalidateRect(dialog, &r, true);
}

std::uint16_t text_width(std::uint32_t dc, std::uint32_t font, std::string_view text) {
  const plat::GdiHandle f = font != 0 ? font : plat::GetStockObject(plat::SYSTEM_FONT);
  const plat::GdiHandle old = plat::SelectObject(dc, f);
  plat::Size size{0, 0};
  const bool ok = plat::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  if (old != 0) plat::SelectObject(dc, old);
  return ok ? static_cast<std::uint16_t>(size.cx) : 0;
}

}  // namespace

void set_mnemonic_armed(CvHWND control, bool armed) {
  const std::string cls = class_of(control, 40);
  if (!equal_no_case(cls, "BUTTON") && !equal_no_case(cls, "DEFBUTTON") &&
      !equal_no_case(cls, "Redirect") && !equal_no_case(cls, "STATIC"))
    return;
  char text[199];
  plat::GetWindowTextA(control, text, sizeof text);
  char* at = std::strchr(text, armed ? kDisarmed : '&');
  if (at == nullptr) return;
  *at = armed ? '&' : kDisarmed;
  plat::SetWindowTextA(control, text);
}

void swap_ranges(CvHWND dialog, int show_first, int show_last, int hide_first, int hide_last,
                 bool mnemonics) {
  plat::Rect area{};
  plat::SetRectEmpty(&area);
  for (int id = hide_first; id <= hide_last; ++id) {
    if (const CvHWND c = plat::GetDlgItem(dialog, id)) place(c, false, mnemonics, area);
  }
  for (int id = show_first; id <= show_last; ++id) {
    if (const CvHWND c = plat::GetDlgItem(dialog, id)) place(c, true, mnemonics, area);
  }
  repaint(dialog, area);
}

void swap_sets(CvHWND dialog, std::span<const std::int16_t> show,
               std::span<const std::int16_t> hide) {
  plat::Rect area{};
  for (std::int16_t id : hide) {
    if (const CvHWND c = plat::GetDlgItem(dialog, id)) place(c, false, false, area);
  }
  for (std::int16_t id : show) {
    if (const CvHWND c = plat::GetDlgItem(dialog, id)) place(c, true, false, area);
  }
  repaint(dialog, area);
}

std::int32_t show_one(CvHWND dialog, int id, int command) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0) return 0;
  set_mnemonic_armed(c, command != plat::SW_HIDE);
  return plat::ShowWindow(c, command) ? 1 : 0;
}

std::int32_t align(CvHWND dialog, int move_id, int reference_id, int dx, int dy,
                   std::uint32_t flags) {
  const CvHWND move = plat::GetDlgItem(dialog, move_id);
  const CvHWND ref = plat::GetDlgItem(dialog, reference_id);
  if (move == 0 || ref == 0) return 0;
  const plat::Rect m = in_client(dialog, move), r = in_client(dialog, ref);
  const int mw = m.width(), mh = m.height(), rw = r.width(), rh = r.height();
  int top = m.top;
  if (flags & 0x100) top = r.top;
  else if (flags & 0x200) top = r.top + rh - mh;
  else if (flags & 0x400) top = r.top + rh;
  else if (flags & 0x800) top = r.top - mh;
  else if (flags & 0x1000) top = (rh + 2 * r.top - mh) / 2;
  int left = m.left;
  if (flags & 0x1) left = r.left;
  else if (flags & 0x2) left = r.left + rw - mw;
  else if (flags & 0x4) left = r.left + rw;
  else if (flags & 0x8) left = r.left - mw;
  else if (flags & 0x10) left = (rw + 2 * r.left - mw) / 2;
  return plat::SetWindowPos(move, 0, left + dx, top + dy, 0, 0, kPlaceFlags) ? 1 : 0;
}

void stretch(CvHWND dialog, int id, int dx, int dy) {
  const CvHWND c = plat::GetDlgItem(dialog, id);
  if (c == 0) return;
  const plat::Rect r = in_client(dialog, c);
  plat::MoveWindow(c, r.left, r.top, r.width() + dx, r.height() + dy, true);
}

void centre(CvHWND window, CvHWND reference) {
  plat::Rect w{}, r{};
  if (!plat::GetWindowRect(window, &w) || !plat::GetWindowRect(reference, &r)) return;
  plat::Point at{w.left + ((r.left + r.right) - (w.left + w.right)) / 2, w.top};
  // A child window is placed in its parent's client coordinates, so that it
  // lands at the same place on the screen.
  if (plat::GetWindowLongA(window, plat::GWL_STYLE) & plat::WS_CHILD)
    plat::ScreenToClient(plat::GetParent(window), &at);
  plat::SetWindowPos(window, 0, at.x, at.y, 0, 0, kPlaceFlags);
}

void force_repaint(CvHWND window) {
  plat::SendMessageA(window, kSetRedraw, 1, 0);
  plat::InvalidateRect(window, nullptr, true);
}

bool in_dialog(CvHWND dialog, CvHWND window) {
  if (!plat::IsWindow(dialog) || !plat::IsWindow(window)) return false;
  for (CvHWND p = plat::GetParent(window); p != 0; p = plat::GetParent(p)) {
    if (p == dialog) return true;
  }
  return false;
}

bool is_edit(CvHWND window) {
  static constexpr const char* kEditClasses[] = {
      "EDIT",          "ABD_EditDate",  "ABD_Dollars",    "ABD_Edit",      "ABD_Qty",
      "ABD_Real3",     "ABD_Real5",     "ABD_EditDr",     "ABD_EditCr",    "BBD_EditPayroll",
      "BBD_EditAcnt",  "BBD_EditCust",  "BBD_EditItem",   "BBD_EditCalc",  "BBD_EditProj",
      "BBD_EditStax",  "BBD_EditStAuth", "BBD_EditSRep",  "HierEdit"};
  const std::string cls = class_of(window, 64);
  if (cls.empty()) return false;
  return std::any_of(std::begin(kEditClasses), std::end(kEditClasses),
                     [&cls](const char* c) { return equal_no_case(cls, c); });
}

std::int16_t window_ave_char_width(CvHWND window) {
  const auto font = static_cast<std::uint32_t>(plat::SendMessageA(window, plat::WM_GETFONT, 0, 0));
  const plat::DcHandle dc = plat::GetDC(window);
  if (dc == 0) return 0;
  const plat::GdiHandle old = font != 0 ? plat::SelectObject(dc, font) : 0;
  plat::TextMetric tm{};
  const bool ok = plat::GetTextMetricsA(dc, &tm);
  if (old != 0) plat::SelectObject(dc, old);
  plat::ReleaseDC(window, dc);
  return ok ? static_cast<std::int16_t>(tm.ave_char_width) : 0;
}

std::int16_t avg_char_width(std::uint32_t dc, std::uint32_t font) {
  return static_cast<std::int16_t>(text_width(dc, font, std::string_view(kSample, kSampleLength)) /
                                   kSampleLength);
}

std::uint16_t dlg_char_width(std::uint32_t font) {
  const plat::DcHandle dc = plat::GetDC(0);
  const auto w = static_cast<std::uint16_t>(avg_char_width(dc, font));
  plat::ReleaseDC(0, dc);
  return w;
}

std::uint16_t dlg_char_height(std::uint32_t font) {
  const plat::DcHandle dc = plat::GetDC(0);
  const plat::GdiHandle old =
      plat::SelectObject(dc, font != 0 ? font : plat::GetStockObject(plat::SYSTEM_FONT));
  plat::TextMetric tm{};
  const bool ok = plat::GetTextMetricsA(dc, &tm);
  if (old != 0) plat::SelectObject(dc, old);
  plat::ReleaseDC(0, dc);
  return ok ? static_cast<std::uint16_t>(tm.height) : 0;
}

std::int16_t dlg_string_width(std::uint32_t font, std::string_view text) {
  const plat::DcHandle dc = plat::GetDC(0);
  const auto w = static_cast<std::int16_t>(text_width(dc, font, text));
  plat::ReleaseDC(0, dc);
  return w;
}

std::uint16_t find_in_strings(std::string_view text, std::uint16_t first_id) {
  char buffer[80];
  for (std::uint32_t id = first_id; id <= 0xFFFF; ++id) {
    MyLoadString(static_cast<std::uint16_t>(id), 79, buffer);
    if (buffer[0] == '\0') return 0;
    if (equal_no_case(buffer, text)) return static_cast<std::uint16_t>(id - first_id + 1);
  }
  return 0;
}

bool load_long_text(CvHMODULE instance, CvHWND dialog, int id, std::uint16_t resource,
                    const char* type) {
  const plat::ResourceHandle found = plat::FindResourceA(instance, resource, type);
  if (found == 0) return false;
  const plat::ResourceHandle loaded = plat::LoadResource(instance, found);
  if (loaded == 0) return false;
  const void* text = plat::LockResource(loaded);
  if (text != nullptr) plat::SetDlgItemTextA(dialog, id, static_cast<const char*>(text));
  plat::FreeResource(loaded);
  return text != nullptr;
}

}  // namespace corva::ui
