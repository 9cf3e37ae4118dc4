// The DOS path resolver on any name, over a small tree on drive D (no two
// names in it differ in case only): a name on a drive never resolves outside
// that drive's root ("..", however written, stops there), and an existing
// name resolves to the same file in any case.
//   byte 0: a current directory to start from; the rest: the DOS name
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "corvaplat/paths.h"
#include "fuzz_support.h"

namespace {

using corva::fuzz::check;
namespace plat = corva::platform;

const std::string& tree() {
  static const std::string root = [] {
    const std::string d = corva::fuzz::Root::get().drive_d();
    std::filesystem::create_directories(d + "/Co1/Sub");
    std::filesystem::create_directories(d + "/Books/Archive 2");
    for (const char* f : {"/Co1/Ledger.dat", "/Co1/Sub/INDEX.DAT", "/Books/notes", "/README"})
      corva::fuzz::Root::get().write(d + f, "x");
    return d;
  }();
  return root;
}

bool under(const std::string& host, const std::string& root) {
  return host == root || host.rfind(root + "/", 0) == 0;
}

char flip(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 300) return 0;
  const std::string& root = tree();
  static const char* const starts[] = {"D:\\", "D:\\CO1", "D:\\co1\\sub", "D:\\DATA"};
  plat::_chdrive(4);
  plat::_chdir(starts[data[0] % 4]);
  std::string dos(reinterpret_cast<const char*>(data + 1), size - 1);
  dos = dos.substr(0, dos.find('\0'));

  std::string host;
  bool exists = false;
  if (plat::resolve_dos_path(dos, host, &exists) != 0) return 0;
  if (!dos.empty() && dos[0] == '/') return 0;  // a host path, used as it is
  // Drives C: and D: are the only ones mapped, both inside the root.
  check(under(host, corva::fuzz::Root::get().path()));
  const bool has_drive = dos.size() >= 2 && dos[1] == ':';
  if (!has_drive || dos[0] == 'd' || dos[0] == 'D') check(under(host, root));
  if (!exists) return 0;
  std::string flipped = dos;
  for (char& c : flipped) c = flip(c);
  std::string again;
  bool found = false;
  check(plat::resolve_dos_path(flipped, again, &found) == 0 && found);
  check(std::filesystem::equivalent(again, host));
  return 0;
}
