// Directory searches with DOS wildcards: the run-time library's _findfirst,
// _findnext and _findclose, and the matching rule they use.
#pragma once
#include <corvaplat/api.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corva::platform {

// Matches a name against a DOS wildcard pattern without regard to case:
//   "*"        any run of characters, dots included ("*" and "*.*" match all);
//   "?"        one character, or none before a dot or at the end ("FILE?.TXT"
//              matches "FILE.TXT" and "FILE1.TXT");
//   "*."       a star before the last dot stops at the name's last dot, and a
//              dot followed by a wildcard or ending the pattern also matches the
//              end of a name without one: "*." matches only names without an
//              extension, "LEDGER.*" matches "LEDGER" and "LEDGER.DAT", and
//              "????????.???" matches exactly the 8.3 names;
//   anything else matches itself.
// A pattern holding a wildcard drops its trailing blanks and dots first, one
// dot coming back when it ended in one: "*. " matches every name, "* ." and
// "*.." act as "*.", "aa? " matches "aa" and "aaa". A run of "?" alone also
// matches the entries "." and "..".
CORVAPLAT_API bool dos_wildcard_match(std::string_view pattern, std::string_view name);

// File attributes as the find record holds them.
enum FileAttribute : std::uint32_t {
  kAttrNormal = 0x00,
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolume = 0x08,
  kAttrSubdir = 0x10,
  kAttrArchive = 0x20,
};

// The run-time library's find record. A directory is kAttrSubdir; a file is
// kAttrArchive, with kAttrReadOnly when its owner may not write it; a name
// beginning with a dot (other than "." and "..") adds kAttrHidden. Times are
// seconds since 1970 cut to 32 bits, sizes are cut to 0xFFFFFFFF.
struct FindData {
  std::uint32_t attrib;
  std::int32_t time_create;
  std::int32_t time_access;
  std::int32_t time_write;
  std::uint32_t size;
  char name[260];
};

// Starts a search of the directory named by the pattern's path (a DOS name;
// the current directory when there is none) for the entries whose names match
// its last component. Below a drive's root the search first returns "." and
// "..". The rest follows in the order of the names in upper case. Answers a
// handle and fills data with the first entry, or -1 when nothing matches or
// the directory cannot be read (GetLastError tells which).
CORVAPLAT_API std::intptr_t _findfirst(const char* pattern, FindData* data);
// The next entry: 0, or -1 at the end (kErrorNoMoreFiles) or for a bad handle.
CORVAPLAT_API int _findnext(std::intptr_t handle, FindData* data);
// Ends the search: 0, or -1 for a handle that is not open.
CORVAPLAT_API int _findclose(std::intptr_t handle);
// How many searches are open (for tests of the library's cleanup).
CORVAPLAT_API std::size_t open_searches();

}  // namespace corva::platform
