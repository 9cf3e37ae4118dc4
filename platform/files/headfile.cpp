#include <corvaplat/headfile.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include <corvaplat/sys.h>

namespace corva::platform {
namespace {

// Takes (or, with F_UNLCK, drops) an open-file lock on bytes [0, size),
// waiting while another holder has it. Falls back to a process lock on a
// kernel without open-file locks.
bool lock_head(int fd, short type, std::size_t size) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = static_cast<off_t>(size);
  for (;;) {
    if (sys().fcntl(fd, F_OFD_SETLKW, &fl) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EINVAL) return false;
    fl.l_pid = 0;
    while (sys().fcntl(fd, F_SETLKW, &fl) != 0) {
      if (errno != EINTR) return false;
    }
    return true;
  }
}

// Reads up to size bytes from offset 0; the count read, or -1.
long read_all(int fd, unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const long n = sys().pread(fd, buffer + done, size - done, static_cast<std::int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

bool write_all(int fd, const unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const long n = sys().pwrite(fd, buffer + done, size - done, static_cast<std::int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::uint32_t fail(int fd, int err) {
  if (fd >= 0) sys().close(fd);
  return error_from_errno(err);
}

}  // namespace

std::uint32_t rewrite_file_head(const char* path, std::size_t size, FileHeadEditor edit,
                                void* context) {
  if (path == nullptr || edit == nullptr || size == 0) return kErrorInvalidParameter;
  const int fd = sys().open(path, O_RDWR | O_CREAT, 0666);
  if (fd < 0) return fail(-1, errno);
  if (!lock_head(fd, F_WRLCK, size)) return fail(fd, errno);
  auto* bytes = new (std::nothrow) unsigned char[size]();
  if (bytes == nullptr) return fail(fd, ENOMEM);
  std::uint32_t result = kErrorSuccess;
  const long got = read_all(fd, bytes, size);
  if (got < 0) {
    result = error_from_errno(errno);
  } else {
    FileHead head{bytes, size, static_cast<std::size_t>(got)};
    if (edit(context, head) && !write_all(fd, bytes, size)) result = error_from_errno(errno);
  }
  delete[] bytes;
  sys().close(fd);  // also drops the lock
  return result;
}

std::uint32_t read_file_head(const char* path, void* buffer, std::size_t size,
                             std::size_t* present) {
  if (present != nullptr) *present = 0;
  if (path == nullptr || (buffer == nullptr && size != 0)) return kErrorInvalidParameter;
  const int fd = sys().open(path, O_RDONLY, 0);
  if (fd < 0) return fail(-1, errno);
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::memset(bytes, 0, size);
  if (size != 0 && !lock_head(fd, F_RDLCK, size)) return fail(fd, errno);
  const long got = read_all(fd, bytes, size);
  const int err = errno;
  sys().close(fd);
  if (got < 0) return error_from_errno(err);
  if (present != nullptr) *present = static_cast<std::size_t>(got);
  return kErrorSuccess;
}

}  // namespace corva::platform
