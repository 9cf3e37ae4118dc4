// The corva host's subcommands. Each source file under cli/ registers its own
// with a static Registration, so adding a command touches no other file.
#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corva::cli {

using Args = std::vector<std::string>;

struct Command {
  std::string name;     // first word after "corva"
  std::string summary;  // one line for "corva --help"
  std::string usage;    // the text of "corva NAME --help"
  // Runs the command on the words after its name; returns the exit status.
  std::function<int(const Args&)> run;
  // Shows the command at work on the bundled samples (directory given); may be empty.
  std::function<int(const std::string& samples)> demo;
};

struct Registration {
  explicit Registration(Command command);
};

const std::vector<Command>& commands();

// Helpers for reading a command line.
bool wants_help(const Args& args);
// Takes "--name VALUE" out of args; fallback when absent. False on a missing value.
bool take_option(Args& args, std::string_view name, std::string& value);
// Parses a whole number in 0..max; false when it is not one.
bool parse_number(const std::string& text, unsigned long max, unsigned long& value);
// Writes "corva: <what>" to standard error and returns 2 (usage error).
int usage_error(const std::string& what);
// Opens the file NAME of the samples directory for a demo; false (with a
// message on standard error) when it cannot be read.
bool open_sample(const std::string& samples, const char* name, std::ifstream& in);

}  // namespace corva::cli
