#include <corvaplat/framework.h>

#include <algorithm>
#include <mutex>

namespace corva::platform {
namespace {

struct Chain {
  std::mutex mutex;
  std::vector<ModuleHandle> modules;
};

Chain& chain() {
  // Never destroyed: the library's unload runs after static destructors.
  static Chain* c = new Chain;
  return *c;
}

}  // namespace

bool AfxInitExtensionModule(ExtensionModule& record, ModuleHandle module) {
  if (module == 0) return false;
  record.module = module;
  record.initialised = true;
  return true;
}

void AfxTermExtensionModule(ExtensionModule& record, bool) {
  Chain& c = chain();
  std::lock_guard lock(c.mutex);
  std::erase(c.modules, record.module);
  record.initialised = false;
}

void add_dyn_link_library(const ExtensionModule& record, bool) {
  if (!record.initialised) return;
  Chain& c = chain();
  std::lock_guard lock(c.mutex);
  if (std::find(c.modules.begin(), c.modules.end(), record.module) == c.modules.end()) {
    c.modules.push_back(record.module);
  }
}

std::vector<ModuleHandle> extension_chain() {
  Chain& c = chain();
  std::lock_guard lock(c.mutex);
  return c.modules;
}

}  // namespace corva::platform
