// The corva host's commands. Each source file under cli/ registers its own
// with a static Registration, so adding a command touches no other file. A
// command's place is its words after "corva": "date", or "files lock" for a
// word under the group "files" (groups are registered like commands).
#pragma once
#include <CLI/CLI.hpp>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corva::cli {

struct Command {
  std::string place;    // "date", "files lock"
  std::string summary;  // one line in the help of the command above
  // Adds the command's options, arguments and words below it, and its action
  // (on_run); empty for a group that only gathers words.
  std::function<void(CLI::App&)> define;
  // Shows the command at work on the sample data (directory given); may be empty.
  std::function<int(const std::string& samples)> demo;
};

struct Registration {
  explicit Registration(Command command);
};

// Every registered command, ordered by place (a group before its words).
const std::vector<Command>& commands();

// Makes fn the action of app, run when the command line names app; fn's
// result is the exit status.
void on_run(CLI::App* app, std::function<int()> fn);

// Stops the command as used wrongly: "corva WORDS: <what>" on standard error,
// exit status 2.
[[noreturn]] void usage_error(const std::string& what);
// Writes "corva: <what>" to standard error and returns 1 (the command failed).
int fail(const std::string& what);
// What went wrong, in words for a message: of a Windows error number ("the
// disk is full"), and of the result code a file variable holds.
std::string error_words(std::uint32_t error);
std::string file_result_words(std::int32_t result);

// The sample data directory: `given` when not empty, else the one installed
// beside the program (../share/corvalib/samples), else the source tree's.
// Empty (with a message on standard error) when none is there.
std::string samples_directory(const std::string& given);
// Opens the file NAME of the samples directory for a demo; false (with a
// message on standard error) when it cannot be read.
bool open_sample(const std::string& samples, const char* name, std::ifstream& in);

// True when a and b are the same text without regard to case (ASCII), as
// section, key and file names compare.
bool same_text(std::string_view a, std::string_view b);

// A check that a numeric option is a whole number from low to high; the
// option's own help states the range.
CLI::Validator within(long long low, long long high);

}  // namespace corva::cli
