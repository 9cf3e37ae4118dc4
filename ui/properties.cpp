#include "ui/properties.h"

#include "corvaplat/windows.h"
#include "frame/state.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

// The class name as the library reads it (up to 39 characters), compared
// with "STATIC" without regard to case.
bool is_static(plat::WindowHandle h) {
  char name[40];
  if (plat::GetClassNameA(h, name, sizeof name) != 6) return false;
  const char* want = "static";
  for (int i = 0; i < 6; ++i) {
    const char c = (name[i] >= 'A' && name[i] <= 'Z') ? static_cast<char>(name[i] + 32) : name[i];
    if (c != want[i]) return false;
  }
  return true;
}

template <typename Step>
void for_each_static(CvHWND dialog, Step step) {
  for (plat::WindowHandle c = plat::GetWindow(dialog, plat::GW_CHILD); c != 0;
       c = plat::GetWindow(c, plat::GW_HWNDNEXT)) {
    if (is_static(c)) step(c);
  }
}

}  // namespace

bool attach_dialog_id(CvHWND window, std::uint16_t id) {
  return plat::SetPropA(window, frame::property_atoms().dialog_id, id);
}

std::uint32_t dialog_id(CvHWND window) {
  return static_cast<std::uint32_t>(plat::GetPropA(window, frame::property_atoms().dialog_id));
}

std::uint32_t remove_dialog_id(CvHWND window) {
  return static_cast<std::uint32_t>(plat::RemovePropA(window, frame::property_atoms().dialog_id));
}

bool set_window_data(CvHWND window, void* data) {
  return plat::SetPropA(window, frame::property_atoms().window_data,
                        reinterpret_cast<std::uintptr_t>(data));
}

void* window_data(CvHWND window) {
  return reinterpret_cast<void*>(plat::GetPropA(window, frame::property_atoms().window_data));
}

void* remove_window_data(CvHWND window) {
  return reinterpret_cast<void*>(plat::RemovePropA(window, frame::property_atoms().window_data));
}

void save_noprefix(CvHWND dialog) {
  const plat::Atom atom = frame::property_atoms().noprefix_save;
  for_each_static(dialog, [atom](plat::WindowHandle c) {
    const auto style = static_cast<std::uint32_t>(plat::GetWindowLongA(c, plat::GWL_STYLE));
    plat::SetPropA(c, atom, (style & plat::SS_NOPREFIX) != 0 ? 1 : 0);
  });
}

void remove_noprefix(CvHWND dialog) {
  const plat::Atom atom = frame::property_atoms().noprefix_save;
  for_each_static(dialog, [atom](plat::WindowHandle c) { plat::RemovePropA(c, atom); });
}

std::uint32_t noprefix_state(CvHWND window) {
  return plat::GetPropA(window, frame::property_atoms().noprefix_save) != 0 ? plat::SS_NOPREFIX
                                                                           : 0u;
}

}  // namespace corva::ui
