// corva files: one command whose words (lock, find, path ...) come from
// separate sources. Each registers its word with a FilesSubcommand.
#pragma once
#include <string>

#include "cli/command.h"

namespace corva::cli {

struct FilesSubcommand {
  FilesSubcommand(std::string word, std::string usage, std::function<int(const Args&)> run,
                  std::function<int(const std::string& samples)> demo = {});
};

}  // namespace corva::cli
