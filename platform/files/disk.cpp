#include <corvaplat/disk.h>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <corvaplat/clock.h>
#include <corvaplat/dirsys.h>
#include <corvaplat/paths.h>
#include <corvaplat/sys.h>

namespace corva::platform {
namespace {

constexpr std::uint32_t kSectorBytes = 512;

std::uint32_t cut32(unsigned long long v) {
  return static_cast<std::uint32_t>(std::min<unsigned long long>(v, 0xFFFFFFFFull));
}

std::string temp_directory() {
  const char* t = std::getenv("TMPDIR");
  std::string dir = (t != nullptr && t[0] == '/') ? t : "/tmp";
  if (dir.back() != '/') dir += '/';
  return dir;
}

// The prefix's leading characters that may stand in a file name, at most 3.
// A separator, a dot (no "..", no second extension) or a character DOS
// refuses ends it, so the name always lands in the given directory.
std::string name_prefix(const char* prefix) {
  std::string pre;
  for (const char* p = prefix; p != nullptr && *p != '\0' && pre.size() < 3; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c < 0x20 || std::strchr("\\/:*?\"<>|.", c) != nullptr) break;
    pre += static_cast<char>(c);
  }
  return pre;
}

}  // namespace

std::int32_t GetDiskFreeSpaceA(const char* root, std::uint32_t* sectors_per_cluster,
                               std::uint32_t* bytes_per_sector, std::uint32_t* free_clusters,
                               std::uint32_t* total_clusters) {
  std::string host;
  const std::string dos = root != nullptr ? root : "\\";
  if (auto e = resolve_dos_directory(dos, host); e != kErrorSuccess) {
    SetLastError(e);
    return 0;
  }
  struct statvfs st {};
  if (dir_sys().statvfs(host.c_str(), &st) != 0) {
    SetLastError(error_from_errno(errno));
    return 0;
  }
  const unsigned long long fragment = st.f_frsize != 0 ? st.f_frsize : st.f_bsize;
  const std::uint32_t sectors = std::max<std::uint32_t>(1, cut32(fragment / kSectorBytes));
  const unsigned long long cluster = static_cast<unsigned long long>(sectors) * kSectorBytes;
  if (sectors_per_cluster) *sectors_per_cluster = sectors;
  if (bytes_per_sector) *bytes_per_sector = kSectorBytes;
  if (free_clusters) *free_clusters = cut32(st.f_bavail * fragment / cluster);
  if (total_clusters) *total_clusters = cut32(st.f_blocks * fragment / cluster);
  return 1;
}

std::uint32_t GetTempPathA(std::uint32_t size, char* buffer) {
  const std::string dir = temp_directory();
  const auto needed = static_cast<std::uint32_t>(dir.size() + 1);
  if (buffer == nullptr || size < needed) return needed;
  std::memcpy(buffer, dir.c_str(), needed);
  return needed - 1;
}

std::uint32_t GetTempFileNameA(const char* path, const char* prefix, std::uint32_t unique,
                               char* out) {
  if (path == nullptr || out == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::string dir = path;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += dir[0] == '/' ? '/' : '\\';
  std::string host_dir;
  if (auto e = resolve_dos_directory(dir, host_dir); e != kErrorSuccess) {
    SetLastError(e);
    return 0;
  }
  const std::string pre = name_prefix(prefix);
  auto name_for = [&](std::uint32_t n) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(n & 0xFFFF));
    return pre + digits + ".TMP";
  };
  if (dir.size() + name_for(0).size() > kMaxDosPath) {
    SetLastError(kErrorFilenameTooLong);
    return 0;
  }
  if (unique != 0) {
    const std::string full = dir + name_for(unique);
    std::memcpy(out, full.c_str(), full.size() + 1);
    return unique & 0xFFFF;
  }
  // Start from a number that differs between processes and calls, then walk
  // until a name is free; 0 is never used.
  std::uint32_t n = (GetTickCount() ^ (static_cast<std::uint32_t>(::getpid()) << 4)) & 0xFFFF;
  for (std::uint32_t tries = 0; tries < 0xFFFF; ++tries, n = (n + 1) & 0xFFFF) {
    if (n == 0) continue;
    const std::string name = name_for(n);
    const std::string host = host_dir == "/" ? "/" + name : host_dir + "/" + name;
    // Private to its owner, and never through a name someone planted first.
    const int fd =
        sys().open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      SetLastError(error_from_errno(errno));
      return 0;
    }
    sys().close(fd);
    const std::string full = dir + name;
    std::memcpy(out, full.c_str(), full.size() + 1);
    return n;
  }
  SetLastError(kErrorFileExists);
  return 0;
}

}  // namespace corva::platform
