#include "ui/fonts.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/gdi.h"
#include "corvaplat/resources.h"
#include "corvaplat/text.h"
#include "corvaplat/windows.h"
#include "ui/colours.h"
#include "ui/layout.h"
#include "ui/properties.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr std::uint32_t kResizeFlags = 0x16;  // NOMOVE | NOZORDER | NOACTIVATE
constexpr std::uint32_t kMoveFlags = 0x14;    // NOZORDER | NOACTIVATE

std::string lower(std::string s) {
  for (char& c : s) c = plat::char_lower(c);
  return s;
}

std::string class_of(CvHWND h, int size) {
  std::string name(static_cast<std::size_t>(size), '\0');
  name.resize(static_cast<std::size_t>(plat::GetClassNameA(h, name.data(), size)));
  return name;
}

// a * b / c rounded as unsigned division does it: up by one when twice the
// remainder is at least the divisor. Negative values round by their size.
int scale(int a, int b, int c) {
  if (c == 0) return a;
  const long long p = static_cast<long long>(a) * b;
  const long long m = p < 0 ? -p : p;
  long long q = m / c;
  if (2 * (m % c) >= c) ++q;
  return static_cast<int>(p < 0 ? -q : q);
}

// The normal-weight version of the dialog's font; `status` tells why there is none.
enum class Made { kNew, kNoFont, kNoDescription, kCannotCreate };
CvHFONT normal_weight(CvHWND dialog, CvHFONT& old, Made& status) {
  old = static_cast<CvHFONT>(plat::SendMessageA(dialog, plat::WM_GETFONT, 0, 0));
  if (old == 0) {
    status = Made::kNoFont;
    return 0;
  }
  plat::LogFont lf{};
  if (plat::GetObjectA(old, sizeof lf, &lf) == 0) {
    status = Made::kNoDescription;
    return old;
  }
  lf.weight = plat::FW_NORMAL;
  const CvHFONT made = plat::CreateFontIndirectA(&lf);
  status = made != 0 ? Made::kNew : Made::kCannotCreate;
  return made;
}

// Reads the 16-bit dialog template, never past its end.
class TemplateReader {
 public:
  TemplateReader(const unsigned char* p, std::size_t n) : p_(p), n_(n) {}
  bool ok() const { return ok_; }
  unsigned byte() {
    if (at_ + 1 > n_) return fail();
    return p_[at_++];
  }
  int word() {
    if (at_ + 2 > n_) return static_cast<int>(fail());
    const auto v = static_cast<std::int16_t>(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return v;
  }
  std::uint32_t dword() {
    const auto lo = static_cast<std::uint16_t>(word());
    const auto hi = static_cast<std::uint16_t>(word());
    return lo | (static_cast<std::uint32_t>(hi) << 16);
  }
  void skip_string() {
    while (ok_ && byte() != 0) {
    }
  }
  void skip(std::size_t n) {
    if (at_ + n > n_) fail();
    else at_ += n;
  }

 private:
  unsigned fail() {
    ok_ = false;
    at_ = n_;
    return 0;
  }
  const unsigned char* p_;
  std::size_t n_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

// Dialog units to pixels for a font w wide and h high.
struct Units {
  int w, h;
  int x(int v) const { return w * v / 4 + ((w * v) % 4 >= 2 ? 1 : 0); }
  int y(int v) const { return h * v / 8 + ((h * v) % 8 >= 4 ? 1 : 0); }
  int cx(int v) const { return w * v / 4; }
  int cy(int v) const { return h * v / 8; }
};

std::intptr_t palette_step(CvHWND dialog, std::intptr_t lparam) {
  const std::int32_t r = palette_changed(dialog);
  if (r <= 0) return r;
  const CvHWND main = MyCorvaLibDataPtr != nullptr ? MyCorvaLibDataPtr->MainWindow : 0;
  plat::InvalidateRect(dialog, nullptr, true);
  BroadcastMessage(plat::WM_PALETTECHANGED, main, lparam);
  plat::InvalidateRect(main, nullptr, true);
  return r;
}

}  // namespace

bool keeps_bold(CvHWND child, bool old_form) {
  const std::string cls = lower(class_of(child, 20));
  const auto style = static_cast<std::uint32_t>(plat::GetWindowLongA(child, plat::GWL_STYLE));
  if (cls == "abd_button" || cls == "defbutton" || cls == "abd_boldstatic") return true;
  if (cls == "button") {
    const std::uint32_t low = style & 0xFFFF;
    return low == plat::BS_PUSHBUTTON || low == plat::BS_DEFPUSHBUTTON || low == plat::BS_GROUPBOX;
  }
  return old_form && cls == "bitmapbutton" && (style & 0x80) != 0;
}

CvHFONT unbold(CvHWND dialog, int extra_width) {
  CvHFONT old = 0;
  Made status;
  const CvHFONT font = normal_weight(dialog, old, status);
  if (status != Made::kNew) return font;
  const int old_w = dlg_char_width(old), old_h = dlg_char_height(old);
  const int new_w = dlg_char_width(font), new_h = dlg_char_height(font);
  plat::Rect r{};
  plat::GetWindowRect(dialog, &r);
  const int W = r.width(), H = r.height();
  const int W2 = scale(W, new_w, old_w), H2 = scale(H, new_h, old_h);
  plat::SetWindowPos(dialog, 0, 0, 0, W2, H2, kResizeFlags);
  int widest = 0;
  const CvHWND first = plat::GetWindow(dialog, plat::GW_CHILD);
  plat::DeferHandle moves = first != 0 ? plat::BeginDeferWindowPos(30) : 0;
  if (moves != 0) {
    for (CvHWND c = first; c != 0; c = plat::GetWindow(c, plat::GW_HWNDNEXT)) {
      const std::string cls = lower(class_of(c, 20));
      plat::Rect cr{};
      plat::GetClientRect(c, &cr);
      const auto style = static_cast<std::uint32_t>(plat::GetWindowLongA(c, plat::GWL_STYLE));
      // A drop-down combo box reaches down as far as its list.
      if ((cls.rfind("combo", 0) == 0 || cls.rfind("abd_combo", 0) == 0) && (style & 3) >= 2) {
        plat::Rect dropped{};
        plat::SendMessageA(c, plat::CB_GETDROPPEDCONTROLRECT, 0,
                           reinterpret_cast<plat::LPARAM>(&dropped));
        cr.bottom += dropped.height();
      }
      plat::Point corners[2] = {{cr.left, cr.top}, {cr.right, cr.bottom}};
      plat::MapWindowPoints(c, dialog, corners, 2);
      const int left = scale(corners[0].x, W2, W), right = scale(corners[1].x, W2, W);
      const int top = scale(corners[0].y, H2, H), bottom = scale(corners[1].y, H2, H);
      moves = plat::DeferWindowPos(moves, c, 0, left, top, right - left, bottom - top, kMoveFlags);
      if (moves == 0) break;
      if (extra_width != 0) widest = std::max(widest, right);
      if (!keeps_bold(c, false)) plat::SendMessageA(c, plat::WM_SETFONT, font, 0);
    }
    if (moves != 0) plat::EndDeferWindowPos(moves);
  }
  if (extra_width != 0 && widest + extra_width > W2)
    plat::SetWindowPos(dialog, 0, 0, 0, widest + extra_width, H2, kResizeFlags);
  return font;
}

void layout_from_template(CvHWND dialog, std::uint16_t id, CvHFONT font) {
  const auto module =
      static_cast<plat::ModuleHandle>(plat::GetWindowLongPtrA(dialog, plat::GWLP_HINSTANCE));
  const plat::ResourceHandle found =
      plat::FindResourceA(module, id, plat::int_resource(plat::RT_DIALOG));
  if (found == 0) return;
  const plat::ResourceHandle loaded = plat::LoadResource(module, found);
  const auto* bytes = static_cast<const unsigned char*>(plat::LockResource(loaded));
  if (bytes == nullptr) {
    plat::FreeResource(loaded);
    return;
  }
  TemplateReader t(bytes, plat::SizeofResource(module, found));
  const std::uint32_t style = t.dword();
  const unsigned count = t.byte();
  const int x = t.word(), y = t.word(), cx = t.word(), cy = t.word();
  t.skip_string();  // menu
  t.skip_string();  // class
  t.skip_string();  // caption
  if (style & plat::DS_SETFONT) {
    t.word();
    t.skip_string();
  }
  if (t.ok()) {
    const Units u{dlg_char_width(font), dlg_char_height(font)};
    plat::Rect owner{};
    const CvHWND owner_window = plat::GetWindow(dialog, plat::GW_OWNER);
    plat::GetClientRect(owner_window, &owner);
    plat::Point origin{0, 0};
    plat::ClientToScreen(owner_window, &origin);
    plat::Rect r{origin.x + u.x(x), origin.y + u.y(y), 0, 0};
    r.right = r.left + u.cx(cx);
    r.bottom = r.top + u.cy(cy);
    plat::AdjustWindowRect(&r, static_cast<std::uint32_t>(plat::GetWindowLongA(dialog, plat::GWL_STYLE)),
                           false);
    plat::MoveWindow(dialog, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, false);
    unsigned used = 0;
    for (CvHWND c = plat::GetWindow(dialog, plat::GW_CHILD); c != 0 && used < count;
         c = plat::GetWindow(c, plat::GW_HWNDNEXT)) {
      const std::string cls = lower(class_of(c, 20));
      if (cls.empty()) continue;
      if (cls == "bitmapbutton" && (plat::GetWindowLongA(c, plat::GWL_STYLE) & 0x80)) continue;
      const int ix = t.word(), iy = t.word(), icx = t.word(), icy = t.word();
      t.word();   // identifier
      t.dword();  // style
      if (t.byte() < 0x80) t.skip_string();  // a class name rather than a class code
      t.skip_string();                       // text
      t.skip(t.byte());                      // creation data
      if (!t.ok()) break;
      ++used;
      plat::MoveWindow(c, u.x(ix), u.y(iy), u.cx(icx), u.cy(icy), false);
    }
  }
  plat::FreeResource(loaded);
}

CvHFONT unbold_old(CvHWND dialog) {
  CvHFONT old = 0;
  Made status;
  const CvHFONT font = normal_weight(dialog, old, status);
  if (status != Made::kNew) return font;
  for (CvHWND c = plat::GetWindow(dialog, plat::GW_CHILD); c != 0;
       c = plat::GetWindow(c, plat::GW_HWNDNEXT)) {
    if (class_of(c, 20).empty()) continue;
    if (!keeps_bold(c, true)) plat::SendMessageA(c, plat::WM_SETFONT, font, 0);
  }
  const std::uint32_t id = dialog_id(dialog) & 0xFFFF;
  if (id != 0) layout_from_template(dialog, static_cast<std::uint16_t>(id), font);
  return font;
}

std::intptr_t global_dialog_message(CvHWND dialog, std::uint32_t message, std::uintptr_t wparam,
                                    std::intptr_t lparam, CvUniversalDlgColors* record,
                                    const CvControlColorEntry* list) {
  const auto dc = static_cast<CvHDC>(wparam);
  const auto control = static_cast<CvHWND>(lparam);
  switch (message) {
    case plat::WM_CTLCOLOREDIT: return dialog_colours(dc, control, 101, record, list);
    case plat::WM_CTLCOLORLISTBOX: return dialog_colours(dc, control, 103, record, list);
    case plat::WM_CTLCOLORBTN: return dialog_colours(dc, control, 102, record, list);
    case plat::WM_CTLCOLORDLG: return dialog_colours(dc, control, 104, record, list);
    case plat::WM_CTLCOLORSTATIC: return dialog_colours(dc, control, 100, record, list);
    case plat::WM_CTLCOLORSCROLLBAR: return 0;
    case plat::WM_QUERYNEWPALETTE: return palette_step(dialog, lparam);
    case plat::WM_PALETTECHANGED: {
      const auto changer = static_cast<CvHWND>(wparam);
      const CvHWND main = MyCorvaLibDataPtr != nullptr ? MyCorvaLibDataPtr->MainWindow : 0;
      if (changer == dialog || changer == main) return 0;
      return palette_step(dialog, lparam);
    }
    default: return 0;
  }
}

}  // namespace corva::ui
