// The host application framework's extension-module chain: the modules whose
// resources and classes a host's lookups also search.
#pragma once
#include <corvaplat/api.h>

#include <vector>

namespace corva::platform {

struct ExtensionModule {
  ModuleHandle module = 0;
  bool initialised = false;
};

// AfxInitExtensionModule: records the module; false for module 0.
CORVAPLAT_API bool AfxInitExtensionModule(ExtensionModule& record, ModuleHandle module);
// AfxTermExtensionModule: takes the module out of the chain.
CORVAPLAT_API void AfxTermExtensionModule(ExtensionModule& record, bool all = false);
// Creating a CDynLinkLibrary: puts the module into the chain (once).
CORVAPLAT_API void add_dyn_link_library(const ExtensionModule& record, bool system_library);
// The modules in the chain, oldest first.
CORVAPLAT_API std::vector<ModuleHandle> extension_chain();

}  // namespace corva::platform
