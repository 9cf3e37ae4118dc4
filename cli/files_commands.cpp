// corva files: dispatches to the registered words and runs all their demos.
#include <iostream>
#include <map>

#include "cli/files_commands.h"

namespace corva::cli {
namespace {

struct Entry {
  std::string usage;
  std::function<int(const Args&)> run;
  std::function<int(const std::string&)> demo;
};

std::map<std::string, Entry>& words() {
  static std::map<std::string, Entry> all;
  return all;
}

constexpr const char* kUsage =
    "usage: corva files WORD ...\n"
    "  lock FILE OFFSET LENGTH [--hold SECONDS]\n"
    "      locks LENGTH bytes of FILE from OFFSET as Lock does (ten attempts,\n"
    "      one second apart), holds them SECONDS (default 10), then unlocks.\n"
    "      Exit status 0 when the lock was held, 1 when it was refused.\n"
    "  find PATTERN\n"
    "  path resolve DOSPATH\n";

int run(const Args& all) {
  if (all.empty()) return usage_error("files needs a word (see corva files --help)");
  const auto it = words().find(all.front());
  if (it == words().end()) return usage_error("files: unknown word '" + all.front() + "'");
  return it->second.run(Args(all.begin() + 1, all.end()));
}

int demo(const std::string& samples) {
  int status = 0;
  for (const auto& [word, e] : words()) {
    if (!e.demo) continue;
    if (int rc = e.demo(samples); rc != 0) status = rc;
  }
  return status;
}

const Registration reg{{"files", "buffered files, record locks, paths and searches", kUsage, run,
                        demo}};

}  // namespace

FilesSubcommand::FilesSubcommand(std::string word, std::string text,
                                 std::function<int(const Args&)> run_word,
                                 std::function<int(const std::string&)> demo_word) {
  words()[std::move(word)] = Entry{std::move(text), std::move(run_word), std::move(demo_word)};
}

}  // namespace corva::cli
