// What the file copy needs of the buffered files and the message engine,
// behind one table: by default the library's own exported functions, and in
// tests a set of in-memory files, a full disk or a user who cancels.
//
// This header includes no public header on purpose: the binding declares the
// exported functions with an opaque file variable, which must not meet their
// typed declarations in one translation unit.
#pragma once
#include <cstdint>

namespace corva::files {

struct CopyIo {
  void (*lookup)(void* file, std::uint16_t high, const char* name, std::uint8_t create);
  void (*create32)(void* file, std::uint16_t high, const char* name);
  std::uint8_t (*read_block)(void* file, std::uint16_t count, void* data);
  std::uint8_t (*write_block)(void* file, std::uint16_t count, const void* data);
  void (*file_length)(void* file, std::int32_t* length);
  void (*close)(void* file);
  // Shows a numbered message; the button pressed (2 Cancel), 0 when none showed.
  std::uint16_t (*message)(std::uint32_t style, std::uintptr_t ref);
};

// The table in force. An entry is null while the library lacks the function;
// the copy then fails as if the step had failed.
CopyIo& copy_io();

}  // namespace corva::files
