#include "cli/complete.h"

#include <iostream>

namespace corva::cli {
namespace {

bool listed(const CLI::App* a) { return !a->get_group().empty(); }

// The command the typed words lead to; words that are not commands (options,
// their values, arguments) are passed over.
const CLI::App* reached(const CLI::App& app, const std::vector<std::string>& words) {
  const CLI::App* at = &app;
  for (const std::string& w : words) {
    for (const CLI::App* sub : at->get_subcommands(listed)) {
      if (sub->get_name() == w) {
        at = sub;
        break;
      }
    }
  }
  return at;
}

}  // namespace

int complete(const CLI::App& app, const std::vector<std::string>& words) {
  const CLI::App* at = reached(app, words);
  for (const CLI::App* sub : at->get_subcommands(listed)) std::cout << sub->get_name() << "\n";
  for (const CLI::Option* o : at->get_options()) {
    for (const std::string& name : o->get_lnames()) std::cout << "--" << name << "\n";
  }
  return 0;
}

}  // namespace corva::cli
