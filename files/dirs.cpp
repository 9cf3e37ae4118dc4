#include "files/dirs.h"

#include <algorithm>
#include <cstring>

#include "corvalib/frame.h"
#include "corvaplat/disk.h"
#include "corvaplat/paths.h"
#include "files/handle_io.h"

namespace corva::files {
namespace plat = corva::platform;

std::string current_directory(std::uint16_t drive, std::size_t room) {
  char work[261];
  room = std::min(room, sizeof work);
  if (plat::_getdcwd(drive, work, static_cast<int>(room)) == nullptr) return {};
  return work;
}

bool set_full_dir(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') {
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    // SetDrive of the letter minus 'A'; anything but a mapped letter fails.
    plat::_chdrive(letter - 'A' + 1);
    path.remove_prefix(2);
  }
  std::string rest(path);
  // Without its drive "/DATA" would read as a host path; it is the drive's root.
  if (!rest.empty() && rest[0] == '/') rest[0] = '\\';
  return plat::_chdir(rest.c_str()) == 0;
}

std::int32_t disk_space(std::uint16_t drive) {
  if (drive > 26) return -1;
  char root[4] = {static_cast<char>('A' + drive - 1), ':', '\\', '\0'};
  std::uint32_t sectors = 0, bytes = 0, free_clusters = 0, total = 0;
  if (!plat::GetDiskFreeSpaceA(drive == 0 ? nullptr : root, &sectors, &bytes, &free_clusters,
                               &total))
    return -1;
  // A LONGINT cannot tell more than 2 GiB; a larger disk reports that much, so
  // unsigned comparisons against a file size stay right.
  const std::uint64_t free_bytes = std::uint64_t{free_clusters} * sectors * bytes;
  return static_cast<std::int32_t>(std::min<std::uint64_t>(free_bytes, 0x7FFFFFFF));
}

std::int16_t delete_file(const std::string& name) { return plat::DeleteFileA(name.c_str()) ? 0 : 1; }

bool copy_file(const char* destination, const char* source, bool copy_data) {
  const HandleIo& io = handle_io();
  const std::int32_t from = io.open_read(source);
  if (from < 0) return false;
  const std::int32_t to = io.create(destination);
  if (to < 0) {
    io.close(from);
    return false;
  }
  bool ok = copy_data;
  constexpr std::uint32_t kBuffer = 8192;
  void* buffer = nullptr;
  if (ok && !_CppAllocate(&buffer, kBuffer, "FILESYST", __LINE__)) ok = false;
  while (ok) {
    const std::uint32_t got = io.read(from, buffer, kBuffer);
    if (got == 0 || got == kIoError) break;
    if (io.write(to, buffer, got) != got) ok = false;
  }
  io.close(from);
  io.close(to);
  _RealDeAllocate(buffer);
  return ok;
}

}  // namespace corva::files
