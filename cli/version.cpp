// corva version: the library's identity as the loaded shared object reports it.
#include <iostream>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/modules.h"

namespace corva::cli {
namespace {

int show(const Args& args) {
  if (!args.empty()) return usage_error("version takes no arguments");
  std::cout << "corvalib " << CORVALIB_VERSION_STRING << " (module \""
            << platform::module_name(CorvaLibHandle()) << "\", handle " << CorvaLibHandle()
            << ")\n";
  return 0;
}

const Registration reg{{"version", "show the library version", "usage: corva version\n",
                        show, [](const std::string&) { return show({}); }}};

}  // namespace
}  // namespace corva::cli
