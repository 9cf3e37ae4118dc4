// corva version: the library's identity as the loaded shared object reports it.
#include <iostream>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/modules.h"
#include "corvaplat/process.h"

namespace corva::cli {
namespace {

int show() {
  const std::string file = platform::loaded_library_path("libcorvalib.so");
  std::cout << "corvalib " << CORVALIB_VERSION_STRING << " (module \""
            << platform::module_name(CorvaLibHandle()) << "\", handle " << CorvaLibHandle()
            << ", file " << (file.empty() ? "unknown" : file) << ")\n";
  return 0;
}

const Registration reg{{"version", "show the library version and where it was loaded from",
                        [](CLI::App& app) { on_run(&app, show); },
                        [](const std::string&) { return show(); }}};

}  // namespace
}  // namespace corva::cli
