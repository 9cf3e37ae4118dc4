// DOS names taken apart, private to the layer (paths.cpp, search.cpp and
// name_cache.cpp).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corva::platform {

struct ParsedName {
  std::string host_path;           // set when the name is a host path ("/...")
  char drive = 0;                  // 'A'..'Z' otherwise
  std::string root;                // the drive's host directory
  std::vector<std::string> parts;  // components below the root, "." and ".." applied
};

// Takes a DOS name apart against the current drive and directory. With
// wild_last, the last component may hold "*" and "?" and keeps its dots.
std::uint32_t parse_dos_name(std::string_view dos, bool wild_last, ParsedName& out);
// Finds the first `count` components on disk (fixing their case); each must
// be a directory. host receives the directory reached.
std::uint32_t walk_parts(ParsedName& name, std::size_t count, std::string& host);
// Resolves every component; the last need not exist.
std::uint32_t resolve_parsed(ParsedName& name, std::string& host, bool* found);
// The names in a directory, without "." and "..", in byte order.
bool list_directory(const std::string& host, std::vector<std::string>& names);
// The host path of the entry `name` in the directory dir.
std::string child_path(const std::string& dir, std::string_view name);

}  // namespace corva::platform
