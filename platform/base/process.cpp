#include <corvaplat/process.h>

#include <link.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <corvaplat/sys.h>

namespace corva::platform {
namespace {
FatalExitHandler g_handler = nullptr;

// Follows symbolic links from path (a relative target counts from the link's
// directory), giving up after a chain too long to be real.
std::string resolve_links(std::string path) {
  for (int hops = 0; hops < 16; ++hops) {
    char target[4096];
    const long n = sys().readlink(path.c_str(), target, sizeof target);
    if (n < 0) return errno == EINVAL ? path : std::string();  // EINVAL: not a link
    if (static_cast<std::size_t>(n) == sizeof target) return {};
    std::string next(target, static_cast<std::size_t>(n));
    if (next.empty()) return {};
    if (next.front() != '/') {
      const auto slash = path.rfind('/');
      next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
    }
    path = std::move(next);
  }
  return {};
}

struct Search {
  std::string_view name;
  std::string found;
};

int match_object(dl_phdr_info* info, std::size_t, void* data) {
  auto* search = static_cast<Search*>(data);
  const std::string_view path = info->dlpi_name != nullptr ? info->dlpi_name : "";
  const auto slash = path.rfind('/');
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (!file.starts_with(search->name)) return 0;
  search->found = path;
  return 1;
}
}  // namespace

std::string executable_path() { return resolve_links("/proc/self/exe"); }

std::string loaded_library_path(std::string_view name) {
  Search search{name, {}};
  if (name.empty() || dl_iterate_phdr(match_object, &search) == 0) return {};
  return resolve_links(search.found);
}

FatalExitHandler set_fatal_exit_handler(FatalExitHandler handler) {
  FatalExitHandler old = g_handler;
  g_handler = handler;
  return old;
}

void FatalAppExitA(std::uint32_t, const char* text) {
  if (text == nullptr) text = "";
  if (g_handler != nullptr) g_handler(text);
  std::fprintf(stderr, "Fatal application exit: %s\n", text);
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(3);
}

}  // namespace corva::platform
