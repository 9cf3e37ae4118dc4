// corva: the command-line host of the library. It loads libcorvalib.so like any
// host, answers the library's message boxes on the terminal, and runs one
// command per subsystem.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/command.h"
#include "cli/complete.h"
#include "corvalib.h"
#include "corvaplat/console.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/process.h"

#ifndef CORVA_SOURCE_SAMPLES
#define CORVA_SOURCE_SAMPLES ""
#endif

namespace corva::cli {

namespace {

std::vector<Command>& registry() {
  static std::vector<Command> all;
  return all;
}

int g_status = 0;  // the exit status the chosen command's action left

// Boxes are printed and answered with their default button: the host runs
// unattended, from scripts as much as from a terminal.
int print_box(void*, const platform::MessageBoxRequest& box) {
  std::cerr << "[" << box.caption << "] " << box.text << "\n";
  return platform::default_button(box.style);
}

// The version of the loaded library, read from its file name
// ("libcorvalib.so.1.0.0"), so a mismatch between program and library shows.
int print_version() {
  const std::string file = platform::loaded_library_path("libcorvalib.so");
  const auto at = file.rfind(".so.");
  std::cout << "corva " << CORVALIB_VERSION_STRING << "\n";
  if (at == std::string::npos) {
    std::cout << "libcorvalib: version unknown" << (file.empty() ? "" : " (" + file + ")") << "\n";
  } else {
    std::cout << "libcorvalib " << file.substr(at + 4) << " (" << file << ")\n";
  }
  return 0;
}

// The command line's words that chose app, as in "corva files lock".
std::string words_of(const CLI::App* app) {
  std::string words;
  for (; app != nullptr; app = app->get_parent()) {
    words = app->get_name() + (words.empty() ? "" : " " + words);
  }
  return words;
}

// The last command the command line chose (app itself when it chose none).
CLI::App* chosen(CLI::App* app) {
  for (;;) {
    const auto picked = app->get_subcommands();
    if (picked.empty()) return app;
    app = picked.back();
  }
}

std::vector<std::string> word_names(const CLI::App* group) {
  std::vector<std::string> names;
  for (const CLI::App* sub :
       group->get_subcommands([](const CLI::App* a) { return !a->get_group().empty(); })) {
    names.push_back(sub->get_name());
  }
  return names;
}

std::string one_of(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  }
  return text;
}

bool looks_like_option(const std::string& word) {
  return word.size() > 1 && word != "--" && word[0] == '-' &&
         !std::isdigit(static_cast<unsigned char>(word[1])) && word[1] != '.';
}

int parse_failure(CLI::App& app, const CLI::ParseError& e) {
  CLI::App* at = chosen(&app);
  std::string what = e.what();
  // Words left over explain the failure better than what they caused (a
  // missing argument after an unknown option).
  const std::vector<std::string> extras = app.remaining(true);
  const auto option = std::find_if(extras.begin(), extras.end(), looks_like_option);
  const std::string converting = "Could not convert: ";
  if (option != extras.end()) {
    what = "unknown option '" + *option + "'";
  } else if (dynamic_cast<const CLI::ConversionError*>(&e) != nullptr &&
             what.starts_with(converting) && what.find(" = ") != std::string::npos) {
    const auto eq = what.find(" = ");
    what = what.substr(converting.size(), eq - converting.size()) + ": '" + what.substr(eq + 3) +
           "' is not a number";
  } else if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr && !extras.empty()) {
    what = word_names(at).empty() ? "unexpected argument '" + extras.front() + "'"
                                  : "unknown command '" + extras.front() + "'; the choices are " +
                                        one_of(word_names(at));
  }
  std::cerr << words_of(at) << ": " << what << "\n"
            << "Try '" << words_of(at) << " --help' for more information.\n";
  return 2;
}

// corva help [COMMAND [WORD...]]: read before the command line is parsed, as
// the words name commands rather than run them.
int show_help(CLI::App& app, const std::vector<std::string>& words) {
  CLI::App* at = &app;
  for (const std::string& w : words) {
    const auto names = word_names(at);
    if (std::find(names.begin(), names.end(), w) == names.end()) {
      std::cerr << words_of(at) << ": no command '" << w << "'; the choices are " << one_of(names)
                << "\n";
      return 2;
    }
    at = at->get_subcommand(w);
  }
  std::cout << at->get_formatter()->make_help(at, words_of(at), CLI::AppFormatMode::Normal);
  return 0;
}

void define_help(CLI::App& app) {
  app.add_subcommand("help", "show the help of a command")
      ->add_option("COMMAND", "the command and its words, as in 'help files find'")
      ->expected(-1);
}

void define_demo(CLI::App& app) {
  auto* demo = app.add_subcommand("demo", "run every command's demonstration on the sample data");
  static std::string given;
  demo->add_option("--samples", given, "the sample data directory (default: the installed one)")
      ->type_name("DIR");
  on_run(demo, [] {
    const std::string samples = samples_directory(given);
    if (samples.empty()) return 1;
    int status = 0;
    for (const Command& c : registry()) {
      if (!c.demo) continue;
      std::cout << "== " << c.place << " ==\n" << std::flush;
      if (int rc = c.demo(samples); rc != 0) status = rc;
    }
    return status;
  });
}

// Positional arguments are named for what they hold; their type adds nothing.
// A command's words are listed as its commands.
void tidy_help(CLI::App& app) {
  for (CLI::Option* o : app.get_options([](const CLI::Option* o) { return o->get_positional(); }))
    o->type_name("");
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
    if (sub->get_group() == "Subcommands") sub->group("Commands");
    tidy_help(*sub);
  }
}

// The words of every command, in order, then the library's own.
void build(CLI::App& app) {
  auto format = std::make_shared<CLI::Formatter>();
  format->label("SUBCOMMAND", "COMMAND");
  format->label("Positionals", "Arguments");
  format->label("REQUIRED", "(required)");
  app.formatter(format);
  for (const Command& c : registry()) {
    CLI::App* parent = &app;
    std::string rest = c.place;
    for (auto space = rest.find(' '); space != std::string::npos; space = rest.find(' ')) {
      parent = parent->get_subcommand(rest.substr(0, space));
      rest.erase(0, space + 1);
    }
    CLI::App* sub = parent->add_subcommand(rest, c.summary);
    if (c.define) c.define(*sub);
  }
  define_help(app);
  define_demo(app);
  tidy_help(app);
}

int run(int argc, char** argv) {
  CLI::App app{"corva: the library's functions from the shell, one command per subsystem.",
               "corva"};
  app.footer(
      "Run 'corva help COMMAND' or 'corva COMMAND --help' for a command's options.\n"
      "Settings live in the directory of CORVALIB_WINDIR; DOS drive letters map\n"
      "through CORVALIB_DRIVE_<LETTER> (C: defaults to /).");
  bool version = false;
  app.add_flag("-V,--version", version, "print the versions of corva and of the loaded library");
  build(app);
  // Both take words that name commands, so they read them before any parse.
  const std::string_view first = argc > 1 ? argv[1] : "";
  if (first == "help") return show_help(app, std::vector<std::string>(argv + 2, argv + argc));
  if (first == "__complete") return complete(app, std::vector<std::string>(argv + 2, argv + argc));
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    return parse_failure(app, e);
  }
  if (version) return print_version();
  CLI::App* at = chosen(&app);
  if (at == &app) {
    std::cerr << app.help();
    return 2;
  }
  if (!word_names(at).empty()) {
    std::cerr << words_of(at) << ": needs one of " << one_of(word_names(at)) << "\n"
              << "Try '" << words_of(at) << " --help' for more information.\n";
    return 2;
  }
  return g_status;
}

}  // namespace

Registration::Registration(Command command) {
  auto& all = registry();
  auto at = std::lower_bound(all.begin(), all.end(), command.place,
                             [](const Command& c, const std::string& n) { return c.place < n; });
  all.insert(at, std::move(command));
}

const std::vector<Command>& commands() { return registry(); }

void on_run(CLI::App* app, std::function<int()> fn) {
  app->callback([fn = std::move(fn)] { g_status = fn(); });
}

void usage_error(const std::string& what) { throw CLI::ValidationError(what); }

int fail(const std::string& what) {
  std::cerr << "corva: " << what << "\n";
  return 1;
}

std::string samples_directory(const std::string& given) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!given.empty()) {
    if (fs::is_directory(given, ec)) return given;
    fail("no sample directory " + given);
    return {};
  }
  std::vector<std::string> places;
  if (const std::string exe = platform::executable_path(); !exe.empty())
    places.push_back(
        (fs::path(exe).parent_path().parent_path() / "share/corvalib/samples").string());
  if (*CORVA_SOURCE_SAMPLES != '\0') places.emplace_back(CORVA_SOURCE_SAMPLES);
  for (const std::string& p : places) {
    if (fs::is_directory(p, ec)) return p;
  }
  std::string looked;
  for (const std::string& p : places) looked += (looked.empty() ? "" : ", ") + p;
  fail("cannot find the sample data (looked in " + looked + "); give --samples DIR");
  return {};
}

bool open_sample(const std::string& samples, const char* name, std::ifstream& in) {
  in.open(samples + "/" + name);
  if (in) return true;
  return fail("cannot read " + samples + "/" + name) == 0;
}

bool same_text(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

CLI::Validator within(long long low, long long high) {
  return CLI::Validator(
      [low, high](std::string& text) -> std::string {
        long long v = 0;
        const char* end = text.data() + text.size();
        const auto r = std::from_chars(text.data(), end, v);
        if (r.ec != std::errc() || r.ptr != end) return "'" + text + "' is not a whole number";
        if (v < low || v > high)
          return text + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) +
                 ")";
        return {};
      },
      "");
}

}  // namespace corva::cli

int main(int argc, char** argv) {
  using namespace corva;
  platform::set_message_box_presenter(cli::print_box, nullptr);
  int status = 1;
  try {
    status = cli::run(argc, argv);
  } catch (const std::exception& e) {
    status = cli::fail(e.what());
  }
  if (const std::uint32_t e = platform::finish_standard_output(); e != 0) {
    std::cerr << "corva: cannot write the output: " << platform::error_text(e) << "\n";
    if (status == 0) status = 1;
  }
  return status;
}
