// The file handles that whole-file copies read and write through: the
// platform's _lopen family. Kept behind a table so tests can put a failing
// read, a full disk or a refused create in its place.
#pragma once
#include <cstdint>

namespace corva::files {

// What read and write answer when the system refuses the transfer.
inline constexpr std::uint32_t kIoError = 0xFFFFFFFFu;

struct HandleIo {
  std::int32_t (*open_read)(const char* name);  // an existing file, for reading; < 0 fails
  std::int32_t (*create)(const char* name);     // made empty, for writing; < 0 fails
  std::uint32_t (*read)(std::int32_t file, void* buffer, std::uint32_t count);
  std::uint32_t (*write)(std::int32_t file, const void* buffer, std::uint32_t count);
  std::int32_t (*close)(std::int32_t file);
};

// The table in force; tests replace entries and restore them.
HandleIo& handle_io();

}  // namespace corva::files
