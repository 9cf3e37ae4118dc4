// Binds the copy to the library's buffered files and message engine. They are
// referenced weakly, so this part of the library links on its own and picks
// them up wherever the same library defines them.
#include <cstdint>

#include "files/copy_io.h"

extern "C" {
__attribute__((weak, visibility("default"))) void Lookup(void* file, std::uint16_t high, const char* name,
                                  std::uint8_t create);
__attribute__((weak, visibility("default"))) void Create32(void* file, std::uint16_t high, const char* name);
__attribute__((weak, visibility("default"))) std::uint8_t ReadBlock(void* file, std::uint16_t count, void* data);
__attribute__((weak, visibility("default"))) std::uint8_t WriteBlock(void* file, std::uint16_t count, const void* data);
__attribute__((weak, visibility("default"))) void FileLength(void* file, std::int32_t* length);
__attribute__((weak, visibility("default"))) void Close(void* file);
__attribute__((weak, visibility("default"))) std::uint16_t Message(std::uint32_t style, std::uintptr_t ref);
}

namespace corva::files {

CopyIo& copy_io() {
  static CopyIo io = {Lookup, Create32, ReadBlock, WriteBlock, FileLength, Close, Message};
  return io;
}

}  // namespace corva::files
