// corva files find and corva files path: directory searches and DOS names
// from the shell.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "corvalib.h"
#include "corvaplat/paths.h"

namespace corva::cli {
namespace {

// The drive and directory of the pattern, as the found names are printed.
std::string directory_of(const std::string& pattern) {
  CvNameRecord r;
  ParseFileName(static_cast<uint16_t>(pattern.size()), pattern.c_str(), &r);
  return std::string(r.drive, strnlen(r.drive, sizeof r.drive)) +
         std::string(r.directory, strnlen(r.directory, sizeof r.directory));
}

void print_entry(const std::string& dir, const CvFindRecord& f) {
  const std::string name = dir + f.name;
  std::cout << name;
  for (std::size_t i = name.size(); i < 40; ++i) std::cout << ' ';
  if (f.attrib & 0x10) {
    std::cout << "      <DIR>\n";
  } else {
    std::cout << ' '
              << std::string(10 - std::min<std::size_t>(10, std::to_string(f.size).size()), ' ')
              << f.size << "\n";
  }
}

int find(const std::string& pattern, long attribute) {
  const std::string dir = directory_of(pattern);
  CvFindRecord f{};
  int count = 0;
  const auto high = static_cast<uint16_t>(std::min<std::size_t>(pattern.size(), 260));
  if (attribute < 0) {
    for (bool more = FindFirst(high, pattern.c_str(), 0, &f); more; more = FindNext(&f)) {
      print_entry(dir, f);
      ++count;
    }
  } else {
    char name[261] = {};
    std::memcpy(name, pattern.data(), high);
    const auto a = static_cast<uint8_t>(attribute);
    for (bool more = CVXFindFirstFile(&f, 260, name, a); more;
         more = CVXFindNextFile(260, name, &f, a)) {
      print_entry(dir, f);
      ++count;
    }
  }
  CloseFinds();
  if (count == 0) return fail("no entry matches " + pattern);
  std::cout << count << (count == 1 ? " entry\n" : " entries\n");
  return 0;
}

int resolve(const std::string& dos) {
  std::string host;
  bool exists = false;
  if (const std::uint32_t e = corva::platform::resolve_dos_path(dos, host, &exists); e != 0)
    return fail("cannot resolve " + dos + ": " + error_words(e));
  std::cout << host << (exists ? "" : "  (does not exist yet)") << "\n";
  return 0;
}

int cwd() {
  char dir[261];
  if (!GetFullDir(260, dir)) return fail("cannot tell the current directory");
  std::cout << dir << "\n";
  return 0;
}

// Maps drive S: to the samples and searches it as a company directory.
int demo(const std::string& samples) {
  std::error_code ec;
  const std::string root = std::filesystem::absolute(samples, ec).string();
  setenv("CORVALIB_DRIVE_S", root.c_str(), 1);
  std::cout << "S: is " << root << "\n";
  int rc = find("S:\\*.TXT", -1);
  if (rc == 0) rc = resolve("s:\\LEDGER.TXT");
  if (rc == 0) rc = resolve("S:\\NEW\\..\\NEWFILE.DAT");
  return rc;
}

void define_find(CLI::App& app) {
  static std::string pattern;
  static long attribute = -1;
  app.add_option("--attribute", attribute,
                 "only entries whose attributes are exactly N (16: directories), and never "
                 "names that begin with a dot")
      ->type_name("N")
      ->check(within(0, 255));
  app.add_option("PATTERN", pattern, "a DOS name with wildcards, such as 'C:\\DATA\\*.DAT'")
      ->required();
  app.footer(
      "Searches as the library does and prints each entry as a DOS name with its size or\n"
      "<DIR>. Exit status 1 when nothing matches.");
  on_run(&app, [] { return find(pattern, attribute); });
}

void define_path(CLI::App& app) {
  auto* resolve_word = app.add_subcommand("resolve", "print the host path a DOS name stands for");
  static std::string dos;
  resolve_word->add_option("DOSPATH", dos, "a DOS name, such as 'S:\\LEDGER.TXT'")->required();
  on_run(resolve_word, [] { return resolve(dos); });
  on_run(app.add_subcommand("cwd", "print the current drive and directory"), cwd);
}

const Registration find_word{
    {"files find", "list the entries a DOS pattern matches", define_find, demo}};
const Registration path_word{
    {"files path", "DOS names: resolve one, or the current directory", define_path, {}}};

}  // namespace
}  // namespace corva::cli
