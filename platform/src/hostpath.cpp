#include <corvaplat/hostpath.h>

#include <dirent.h>
#include <sys/stat.h>

#include <corvaplat/config.h>
#include <corvaplat/sys.h>

#include "util.h"

namespace corva::platform {
namespace {

bool exists(const std::string& path) {
  struct stat st;
  return sys().stat(path.c_str(), &st) == 0;
}

// The entry of `directory` whose name equals `name` without regard to case;
// the name itself when there is none.
std::string match_case(const std::string& directory, std::string_view name) {
  std::string exact = directory;
  if (exact.empty() || exact.back() != '/') exact += '/';
  exact += name;
  if (exists(exact)) return std::string(name);
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return std::string(name);
  std::string found(name);
  while (const dirent* entry = ::readdir(dir)) {
    if (equal_no_case(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::optional<std::string> dos_to_host_path(std::string_view dos) {
  std::string out;
  if (dos.size() >= 2 && dos[1] == ':' &&
      ((dos[0] >= 'A' && dos[0] <= 'Z') || (dos[0] >= 'a' && dos[0] <= 'z'))) {
    std::optional<std::string> root = drive_root(dos[0]);
    if (!root) return std::nullopt;
    out = *root;
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    dos.remove_prefix(2);
    if (out != "/") out += '/';
  } else if (!dos.empty() && (dos[0] == '/' || dos[0] == '\\')) {
    out = "/";
  }
  while (!dos.empty() && (dos[0] == '/' || dos[0] == '\\')) dos.remove_prefix(1);
  // The usual case: the name exists as spelt, separators aside.
  std::string direct = out;
  for (char c : dos) direct += c == '\\' ? '/' : c;
  if (exists(direct)) return direct;
  while (!dos.empty()) {
    const std::size_t cut = dos.find_first_of("/\\");
    const std::string_view part = dos.substr(0, cut);
    dos.remove_prefix(cut == std::string_view::npos ? dos.size() : cut + 1);
    if (part.empty() || part == ".") continue;
    std::string directory = out.empty() ? std::string(".") : out;
    if (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    if (part == "..") {
      out += "..";
    } else {
      out += match_case(directory, part);
    }
    if (!dos.empty()) out += '/';
  }
  return out;
}

}  // namespace corva::platform
