// Load and unload of the shared object: the steps that bring the library into
// a process and take it out again.
#include <cstring>

#include "corvalib/frame.h"
#include "corvaplat/atoms.h"
#include "corvaplat/framework.h"
#include "corvaplat/modules.h"
#include "files/finds.h"
#include "frame/settings.h"
#include "frame/state.h"
#include "resources/string_table.h"

namespace corva::frame {

extern platform::ExtensionModule g_extension;

namespace {
CvHMODULE g_module = 0;
PropertyAtoms g_atoms;
bool g_attached = false;
}  // namespace

CvHMODULE own_module() { return g_module; }
const PropertyAtoms& property_atoms() { return g_atoms; }

bool attach() {
  if (g_attached) return true;
  const platform::ModuleHandle module =
      platform::register_module("corvalib", resources::string_table());
  if (!platform::AfxInitExtensionModule(g_extension, module)) return false;
  g_module = module;
  std::memset(&record(), 0, sizeof(CorvaLibDataType));
  reset_slots();
  RequirePerInstanceData(g_module, 3, reinterpret_cast<std::uintptr_t>(&record()));
  g_atoms.dialog_id = platform::GlobalAddAtomA("CVX DIALOG ID");
  g_atoms.window_data = platform::GlobalAddAtomA("WINDOW DATA PTR");
  g_atoms.noprefix_save = platform::GlobalAddAtomA("SS_NOPREFIX SAVE AREA");
  reread_regional_settings();
  RegisterInstanceForStringSearch(g_module, 9);
  g_attached = true;
  return true;
}

void detach() {
  if (!g_attached) return;
  platform::AfxTermExtensionModule(g_extension, false);
  platform::GlobalDeleteAtom(g_atoms.dialog_id);
  platform::GlobalDeleteAtom(g_atoms.window_data);
  platform::GlobalDeleteAtom(g_atoms.noprefix_save);
  g_atoms = {};
  free_string_search();
  files::close_all_finds();
  g_attached = false;
}

namespace {
// Runs before any host code can call in, as the process-attach step would.
// The priority places it after the platform layer's own static state.
[[gnu::constructor(200)]] void on_load() { attach(); }
[[gnu::destructor(200)]] void on_unload() { detach(); }
}  // namespace

}  // namespace corva::frame
