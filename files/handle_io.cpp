#include "files/handle_io.h"

#if __has_include(<corvaplat/files.h>)
#include <corvaplat/files.h>
#define CORVA_FILES_HAVE_HANDLES 1
#endif

namespace corva::files {
namespace {

#if defined(CORVA_FILES_HAVE_HANDLES)
namespace plat = corva::platform;
std::int32_t open_read(const char* name) { return plat::_lopen(name, plat::OF_READ); }
std::int32_t create(const char* name) { return plat::_lcreat(name, 0); }
std::uint32_t read(std::int32_t f, void* b, std::uint32_t n) { return plat::_lread(f, b, n); }
std::uint32_t write(std::int32_t f, const void* b, std::uint32_t n) {
  return plat::_lwrite(f, b, n);
}
std::int32_t close(std::int32_t f) { return plat::_lclose(f); }
#else
// Without the platform's file handles every open fails.
std::int32_t open_read(const char*) { return -1; }
std::int32_t create(const char*) { return -1; }
std::uint32_t read(std::int32_t, void*, std::uint32_t) { return kIoError; }
std::uint32_t write(std::int32_t, const void*, std::uint32_t) { return kIoError; }
std::int32_t close(std::int32_t) { return -1; }
#endif

HandleIo g_io = {open_read, create, read, write, close};

}  // namespace

HandleIo& handle_io() { return g_io; }

bool handle_io_bound() {
#if defined(CORVA_FILES_HAVE_HANDLES)
  return true;
#else
  return false;
#endif
}

}  // namespace corva::files
