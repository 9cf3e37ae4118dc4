// Case-blind lookups of names in directories, private to the layer. The names
// of a few recently used directories are remembered, and a remembered listing
// is used only while one stat of its directory shows it unchanged.
#pragma once
#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corva::platform {

// The entry of directory `dir` whose name equals `name` without regard to
// case: `name` itself when an entry has exactly that name, else the smallest
// match in byte order; nullopt when none matches. `dir_stat` is a stat of dir
// taken by the caller just before the call. A directory that cannot be listed
// answers for the exact name only.
std::optional<std::string> find_entry(const std::string& dir, const struct stat& dir_stat,
                                      std::string_view name);

// How many directories, and how many names in all, are remembered at most.
inline constexpr std::size_t kRememberedDirectories = 8;
inline constexpr std::size_t kRememberedNames = 65536;

}  // namespace corva::platform
