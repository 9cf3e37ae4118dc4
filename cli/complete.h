// Completion for the shells: "corva __complete WORD..." lists, one per line,
// the commands and options that may follow the words typed so far. The bash
// and zsh scripts installed with corva ask it, so they always know the
// commands of the program at hand.
#pragma once
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace corva::cli {

// Prints what may follow words on the command line app parses; returns 0.
int complete(const CLI::App& app, const std::vector<std::string>& words);

}  // namespace corva::cli
