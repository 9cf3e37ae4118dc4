// corva files find and corva files path: directory searches and DOS names
// from the shell.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/files_commands.h"
#include "corvalib.h"
#include "corvaplat/paths.h"

namespace corva::cli {
namespace {

constexpr const char* kFindUsage =
    "usage: corva files find [--attribute N] PATTERN\n"
    "  find      searches as the library does (FindFirst/FindNext) and prints each\n"
    "            entry as a DOS name with its size or <DIR>; with --attribute N\n"
    "            only entries whose attributes are exactly N (16 directories), and\n"
    "            never names that begin with a dot\n"
    "Drive letters map through CORVALIB_DRIVE_<LETTER> (C: defaults to /).\n";

constexpr const char* kPathUsage =
    "usage: corva files path resolve DOSPATH\n"
    "       corva files path cwd\n"
    "  resolve   prints the host path a DOS name stands for\n"
    "  cwd       prints the current drive and directory\n"
    "Drive letters map through CORVALIB_DRIVE_<LETTER> (C: defaults to /).\n";

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
    std::cout << ' ' << std::string(10 - std::min<std::size_t>(10, std::to_string(f.size).size()), ' ')
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
  if (count == 0) {
    std::cerr << "corva: no entry matches " << pattern << "\n";
    return 1;
  }
  std::cout << count << (count == 1 ? " entry\n" : " entries\n");
  return 0;
}

int resolve(const std::string& dos) {
  std::string host;
  bool exists = false;
  if (const std::uint32_t e = corva::platform::resolve_dos_path(dos, host, &exists); e != 0) {
    std::cerr << "corva: cannot resolve " << dos << " (error " << e << ")\n";
    return 1;
  }
  std::cout << host << (exists ? "" : "  (does not exist yet)") << "\n";
  return 0;
}

int cwd() {
  char dir[261];
  if (!GetFullDir(260, dir)) return 1;
  std::cout << dir << "\n";
  return 0;
}

int run_find(const Args& all) {
  Args args = all;
  std::string attribute_text;
  if (!take_option(args, "--attribute", attribute_text)) return usage_error("--attribute needs a value");
  unsigned long attribute = 0;
  if (!attribute_text.empty() && !parse_number(attribute_text, 255, attribute))
    return usage_error("--attribute must be 0-255");
  if (args.size() != 1) return usage_error("files find takes one PATTERN");
  return find(args[0], attribute_text.empty() ? -1 : static_cast<long>(attribute));
}

int run_path(const Args& args) {
  if (args.size() == 2 && args[0] == "resolve") return resolve(args[1]);
  if (args.size() == 1 && args[0] == "cwd") return cwd();
  return usage_error("files path: resolve DOSPATH or cwd");
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

const FilesSubcommand find_word{"find", kFindUsage, run_find, demo};
const FilesSubcommand path_word{"path", kPathUsage, run_path};

}  // namespace
}  // namespace corva::cli
