// What the file copy needs of the buffered files and the message engine,
// behind one table: by default the library's own exported functions, and in
// tests a set of in-memory files, a full disk or a user who cancels.
#pragma once
#include <cstdint>

#include "corvalib/files.h"

namespace corva::files {

struct CopyIo {
  void (*lookup)(CvxFileType* file, std::uint16_t high, const char* name, std::uint8_t create);
  void (*create32)(CvxFileType* file, std::uint16_t high, const char* name);
  std::uint8_t (*read_block)(CvxFileType* file, std::uint16_t count, void* data);
  std::uint8_t (*write_block)(CvxFileType* file, std::uint16_t count, const void* data);
  void (*file_length)(CvxFileType* file, std::int32_t* length);
  void (*close)(CvxFileType* file);
  // Shows a numbered message; the button pressed (2 Cancel), 0 when none showed.
  std::uint16_t (*message)(std::uint32_t style, std::uintptr_t ref);
};

// The table in force.
CopyIo& copy_io();

}  // namespace corva::files
