#include <corvaplat/headfile.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include <corvaplat/owned_file.h>
#include <corvaplat/sys.h>

namespace corva::platform {
namespace {

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
  bool created = false;
  const int fd = open_locked(path, F_WRLCK, 0, static_cast<std::int64_t>(size), &created);
  if (fd < 0) return fail(-1, errno);
  auto* bytes = new (std::nothrow) unsigned char[size]();
  if (bytes == nullptr) return fail(fd, ENOMEM);
  std::uint32_t result = kErrorSuccess;
  const long got = read_all(fd, bytes, size);
  if (got < 0) {
    result = error_from_errno(errno);
  } else {
    FileHead head{bytes, size, static_cast<std::size_t>(got), created};
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
  const int fd = open_owned(path, OwnedOpen::kRead);
  if (fd < 0) return fail(-1, errno);
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::memset(bytes, 0, size);
  if (size != 0) {
    if (const int err = lock_bounded(fd, F_RDLCK, 0, static_cast<std::int64_t>(size)); err != 0)
      return fail(fd, err);
  }
  const long got = read_all(fd, bytes, size);
  const int err = errno;
  sys().close(fd);
  if (got < 0) return error_from_errno(err);
  if (present != nullptr) *present = static_cast<std::size_t>(got);
  return kErrorSuccess;
}

}  // namespace corva::platform
