#include "files/handle_io.h"

#include <corvaplat/files.h>

namespace corva::files {
namespace {

namespace plat = corva::platform;
std::int32_t open_read(const char* name) { return plat::_lopen(name, plat::OF_READ); }
std::int32_t create(const char* name) { return plat::_lcreat(name, 0); }
std::uint32_t read(std::int32_t f, void* b, std::uint32_t n) { return plat::_lread(f, b, n); }
std::uint32_t write(std::int32_t f, const void* b, std::uint32_t n) {
  return plat::_lwrite(f, b, n);
}
std::int32_t close(std::int32_t f) { return plat::_lclose(f); }

HandleIo g_io = {open_read, create, read, write, close};

}  // namespace

HandleIo& handle_io() { return g_io; }

}  // namespace corva::files
