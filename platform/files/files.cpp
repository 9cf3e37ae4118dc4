#include <corvaplat/clock.h>
#include <corvaplat/config.h>
#include <corvaplat/files.h>
#include <corvaplat/paths.h>
#include <corvaplat/sys.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace corva::platform {
namespace {

constexpr std::uint32_t kMaxHandles = 65535;
constexpr std::int64_t kMaxPosition = 0x7FFFFFFF;

// Offsets of the sharing marks from kShareMarkBase. Every open holds a shared
// lock on the marks of what it does and what it denies.
enum Mark : std::int64_t { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3 };

struct Region {
  std::int64_t start, length;
};

struct OpenFile_ {
  int fd = -1;
  bool can_read = false, can_write = false;  // the access the open asked for
  bool fd_readable = true;                   // the descriptor can take shared locks
  bool exclusive_locks = true;               // false when the descriptor cannot take write locks
  std::int64_t position = 0;
  std::vector<Region> locks;
  // Read-ahead for small reads, kept only by opens that deny others writing:
  // then nobody but this handle can change the file, and its own writes drop
  // the cache.
  bool may_cache = false;
  std::unique_ptr<char[]> cache;
  std::int64_t cache_start = 0;
  std::size_t cache_length = 0;
};

constexpr std::uint32_t kCacheSize = 16 * 1024;
constexpr std::uint32_t kCachedReadLimit = 4096;  // larger reads go straight to the file

// The handle table. Slots are read without the mutex (one atomic load per
// call); opening and closing, which change them, take it. Using a handle
// while another thread closes it is the caller's fault, as on the original.
std::mutex g_mutex;
std::atomic<OpenFile_*> g_slots[kMaxHandles + 1];  // index = handle; 0 unused
std::uint32_t g_high_water = 0;                    // highest slot ever used
thread_local int g_crt_errno = 0;

OpenFile_* find(HFILE h) {
  if (h <= 0 || static_cast<std::uint32_t>(h) > kMaxHandles) return nullptr;
  return g_slots[h].load(std::memory_order_acquire);
}

HFILE insert(std::unique_ptr<OpenFile_> f) {
  std::lock_guard<std::mutex> guard(g_mutex);
  std::uint32_t i = 1;
  while (i <= g_high_water && g_slots[i].load(std::memory_order_relaxed) != nullptr) ++i;
  if (i > kMaxHandles) return HFILE_ERROR;
  if (i > g_high_water) g_high_water = i;
  g_slots[i].store(f.release(), std::memory_order_release);
  return static_cast<HFILE>(i);
}

std::unique_ptr<OpenFile_> remove(HFILE h) {
  if (h <= 0 || static_cast<std::uint32_t>(h) > kMaxHandles) return nullptr;
  std::lock_guard<std::mutex> guard(g_mutex);
  return std::unique_ptr<OpenFile_>(g_slots[h].exchange(nullptr, std::memory_order_acq_rel));
}

int fail_crt(int e) {
  g_crt_errno = e;
  return -1;
}

// One OFD lock call; returns the errno (0 on success).
int ofd_lock(int fd, int command, short type, std::int64_t start, std::int64_t length,
             struct flock* out = nullptr) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = start;
  fl.l_len = length;
  fl.l_pid = 0;
  if (sys().fcntl(fd, command, &fl) != 0) return errno;
  if (out != nullptr) *out = fl;
  return 0;
}

// True when another open holds the given mark.
bool mark_held_elsewhere(int fd, Mark m) {
  struct flock fl {};
  if (ofd_lock(fd, F_OFD_GETLK, F_WRLCK, kShareMarkBase + m, 1, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

// Places this open's sharing marks and checks them against the other opens;
// false (marks removed) on a conflict. The marks are taken before the check,
// so of two conflicting opens racing each other at least one fails and never
// both succeed.
bool claim_sharing(const OpenFile_& f, bool deny_read, bool deny_write) {
  // A descriptor that cannot read cannot hold shared locks; such an open (of
  // a file the process may only write) is checked but leaves no marks.
  const bool mine[4] = {f.can_read, f.can_write, deny_read, deny_write};
  for (int m = 0; m < 4; ++m) {
    if (mine[m] && f.fd_readable) ofd_lock(f.fd, F_OFD_SETLK, F_RDLCK, kShareMarkBase + m, 1);
  }
  const bool conflict = (f.can_read && mark_held_elsewhere(f.fd, kDeniesRead)) ||
                        (f.can_write && mark_held_elsewhere(f.fd, kDeniesWrite)) ||
                        (deny_read && mark_held_elsewhere(f.fd, kHasRead)) ||
                        (deny_write && mark_held_elsewhere(f.fd, kHasWrite));
  if (conflict) ofd_lock(f.fd, F_OFD_SETLK, F_UNLCK, kShareMarkBase, 4);
  return !conflict;
}

// The error of a failed open: a missing file in a missing directory is a
// missing path, as the original platform tells them apart.
std::uint32_t open_error(int err, const std::string& path) {
  if (err == ENOENT) {
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : path.substr(0, slash);
    struct stat st {};
    if (sys().stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kErrorPathNotFound;
    return kErrorFileNotFound;
  }
  return error_from_errno(err);
}

struct OpenRequest {
  bool read, write, deny_read, deny_write;
  std::uint32_t disposition;  // CREATE_NEW ... TRUNCATE_EXISTING
  bool read_only_file;        // a made file gets no write permission
};

HFILE open_handle(const char* name, const OpenRequest& r) {
  std::string path;
  std::uint32_t error = 0;
  if (!file_host_path(name, path, error)) {
    SetLastError(error);
    return HFILE_ERROR;
  }
  int create = 0;
  switch (r.disposition) {
    case CREATE_NEW:
      create = O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      create = O_CREAT;
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      break;
    default:
      SetLastError(kErrorInvalidParameter);
      return HFILE_ERROR;
  }
  const unsigned perms = r.read_only_file ? 0444 : 0666;
  auto f = std::make_unique<OpenFile_>();
  f->can_read = r.read;
  f->can_write = r.write;
  // Open for reading and writing where the host allows it, so that every
  // open can take both kinds of lock; the access asked for is enforced here.
  f->fd = sys().open(path.c_str(), O_RDWR | create, perms);
  if (f->fd < 0 && (errno == EACCES || errno == EROFS || errno == ETXTBSY) &&
      !(r.read && r.write)) {
    f->fd = sys().open(path.c_str(), (r.write ? O_WRONLY : O_RDONLY) | create, perms);
    f->exclusive_locks = r.write;
    f->fd_readable = !r.write;
  }
  if (f->fd < 0) {
    SetLastError(open_error(errno, path));
    return HFILE_ERROR;
  }
  struct stat st {};
  if (sys().fstat(f->fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    sys().close(f->fd);
    SetLastError(kErrorAccessDenied);
    return HFILE_ERROR;
  }
  if (!claim_sharing(*f, r.deny_read, r.deny_write)) {
    sys().close(f->fd);
    SetLastError(kErrorSharingViolation);
    return HFILE_ERROR;
  }
  // Emptying waits for the sharing check, so a refused open destroys nothing.
  const bool empty = r.disposition == CREATE_ALWAYS || r.disposition == TRUNCATE_EXISTING;
  if (empty && st.st_size != 0 && sys().ftruncate(f->fd, 0) != 0) {
    const int err = errno;
    sys().close(f->fd);
    SetLastError(error_from_errno(err));
    return HFILE_ERROR;
  }
  f->may_cache = r.deny_write && f->fd_readable;
  const int fd = f->fd;
  const HFILE h = insert(std::move(f));
  if (h == HFILE_ERROR) {
    sys().close(fd);
    SetLastError(kErrorTooManyOpenFiles);
  }
  return h;
}

// pread until count bytes or the end of the file; the bytes read, or -1.
long read_at(int fd, char* p, std::size_t count, std::int64_t at) {
  std::size_t done = 0;
  while (done < count) {
    const long n = sys().pread(fd, p + done, count - done, at + static_cast<std::int64_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

// A small read served from the read-ahead, refilled when it runs out.
long read_cached(OpenFile_& f, char* p, std::size_t count) {
  if (!f.cache) f.cache = std::make_unique<char[]>(kCacheSize);
  std::size_t done = 0;
  while (done < count) {
    const std::int64_t at = f.position + static_cast<std::int64_t>(done);
    if (at < f.cache_start || at >= f.cache_start + static_cast<std::int64_t>(f.cache_length)) {
      const long n = read_at(f.fd, f.cache.get(), kCacheSize, at);
      if (n < 0) return -1;
      f.cache_start = at;
      f.cache_length = static_cast<std::size_t>(n);
      if (n == 0) break;
    }
    const std::size_t offset = static_cast<std::size_t>(at - f.cache_start);
    std::size_t take = f.cache_length - offset;
    if (take > count - done) take = count - done;
    std::memcpy(p + done, f.cache.get() + offset, take);
    done += take;
  }
  return static_cast<long>(done);
}

OpenRequest request_from_mode(std::uint32_t mode, std::uint32_t disposition) {
  OpenRequest r{};
  switch (mode & OF_ACCESS_MASK) {
    case OF_WRITE:
      r.write = true;
      break;
    case OF_READWRITE:
      r.read = r.write = true;
      break;
    default:
      r.read = true;
      break;
  }
  switch (mode & OF_SHARE_MASK) {
    case OF_SHARE_EXCLUSIVE:
      r.deny_read = r.deny_write = true;
      break;
    case OF_SHARE_DENY_WRITE:
      r.deny_write = true;
      break;
    case OF_SHARE_DENY_READ:
      r.deny_read = true;
      break;
    default:
      break;  // compatibility mode and deny-none share everything
  }
  r.disposition = disposition;
  return r;
}

bool overlaps(const Region& a, const Region& b) {
  return a.start < b.start + b.length && b.start < a.start + a.length;
}

}  // namespace

bool file_host_path(const char* name, std::string& host, std::uint32_t& error) {
  error = kErrorPathNotFound;
  if (name == nullptr || name[0] == '\0') return false;
  error = resolve_dos_path(name, host);
  if (error == kErrorFilenameTooLong) error = kErrorPathNotFound;  // as OpenFile reports it
  return error == kErrorSuccess;
}

HFILE _lopen(const char* name, std::uint32_t mode) {
  return open_handle(name, request_from_mode(mode, OPEN_EXISTING));
}

HFILE _lcreat(const char* name, std::uint32_t attribute) {
  OpenRequest r = request_from_mode(OF_READWRITE | OF_SHARE_COMPAT, CREATE_ALWAYS);
  r.read_only_file = (attribute & FILE_ATTRIBUTE_READONLY) != 0;
  return open_handle(name, r);
}

HFILE OpenFile(const char* name, OFSTRUCT* record, std::uint32_t style) {
  const HFILE h = open_handle(
      name, request_from_mode(style, (style & OF_CREATE) != 0 ? CREATE_ALWAYS : OPEN_EXISTING));
  if (record != nullptr) {
    std::memset(record, 0, sizeof *record);
    record->cBytes = sizeof *record;
    record->fFixedDisk = 1;
    if (name != nullptr) std::strncpy(record->szPathName, name, sizeof record->szPathName - 1);
    if (h == HFILE_ERROR) record->nErrCode = static_cast<std::uint16_t>(GetLastError());
  }
  return h;
}

std::uint32_t CreateFileA(const char* name, std::uint32_t access, std::uint32_t share,
                          std::uint32_t disposition, std::uint32_t attributes) {
  OpenRequest r{};
  r.read = (access & GENERIC_READ) != 0;
  r.write = (access & GENERIC_WRITE) != 0;
  r.deny_read = (share & FILE_SHARE_READ) == 0;
  r.deny_write = (share & FILE_SHARE_WRITE) == 0;
  r.disposition = disposition;
  r.read_only_file = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  const HFILE h = open_handle(name, r);
  return h == HFILE_ERROR ? INVALID_HANDLE_VALUE : static_cast<std::uint32_t>(h);
}

std::int32_t CloseHandle(std::uint32_t handle) {
  if (handle == INVALID_HANDLE_VALUE || handle > kMaxHandles) {
    SetLastError(kErrorInvalidHandle);
    return 0;
  }
  return _lclose(static_cast<HFILE>(handle)) == 0 ? 1 : 0;
}

std::uint32_t _lread(HFILE h, void* buffer, std::uint32_t count) {
  OpenFile_* f = find(h);
  if (f == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return kTransferError;
  }
  if (!f->can_read || (buffer == nullptr && count != 0)) {
    SetLastError(f->can_read ? kErrorInvalidParameter : kErrorAccessDenied);
    return kTransferError;
  }
  char* p = static_cast<char*>(buffer);
  const long n = f->may_cache && count <= kCachedReadLimit ? read_cached(*f, p, count)
                                                           : read_at(f->fd, p, count, f->position);
  if (n < 0) {
    SetLastError(error_from_errno(errno));
    return kTransferError;
  }
  f->position += n;
  return static_cast<std::uint32_t>(n);
}

std::uint32_t _lwrite(HFILE h, const void* buffer, std::uint32_t count) {
  OpenFile_* f = find(h);
  if (f == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return kTransferError;
  }
  if (!f->can_write || (buffer == nullptr && count != 0)) {
    SetLastError(f->can_write ? kErrorInvalidParameter : kErrorAccessDenied);
    return kTransferError;
  }
  std::uint32_t done = 0;
  const char* p = static_cast<const char*>(buffer);
  f->cache_length = 0;
  while (done < count) {
    const long n = sys().pwrite(f->fd, p + done, count - done, f->position + done);
    if (n < 0) {
      const int err = errno;
      if (err == EINTR) continue;
      if (err == ENOSPC || err == EFBIG || err == EDQUOT) {
        SetLastError(kErrorDiskFull);
        break;  // the medium is full: report what was written
      }
      SetLastError(error_from_errno(err));
      f->position += done;  // what was written before the failure stays written
      return kTransferError;
    }
    if (n == 0) {
      SetLastError(kErrorDiskFull);
      break;
    }
    done += static_cast<std::uint32_t>(n);
  }
  f->position += done;
  return done;
}

std::int32_t _llseek(HFILE h, std::int32_t offset, int origin) {
  OpenFile_* f = find(h);
  if (f == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return HFILE_ERROR;
  }
  std::int64_t base = 0;
  switch (origin) {
    case FILE_BEGIN:
      break;
    case FILE_CURRENT:
      base = f->position;
      break;
    case FILE_END: {
      struct stat st {};
      if (sys().fstat(f->fd, &st) != 0) {
        SetLastError(error_from_errno(errno));
        return HFILE_ERROR;
      }
      base = st.st_size;
      break;
    }
    default:
      SetLastError(kErrorInvalidParameter);
      return HFILE_ERROR;
  }
  const std::int64_t target = base + offset;
  if (target < 0 || target > kMaxPosition) {
    SetLastError(target < 0 ? 131u /* negative seek */ : kErrorInvalidParameter);
    return HFILE_ERROR;
  }
  f->position = target;
  return static_cast<std::int32_t>(target);
}

HFILE _lclose(HFILE h) {
  std::unique_ptr<OpenFile_> f = remove(h);
  if (!f) {
    SetLastError(kErrorInvalidHandle);
    return HFILE_ERROR;
  }
  // Closing the last descriptor of the open ends its locks and sharing marks.
  if (sys().close(f->fd) != 0 && errno != EINTR) {
    SetLastError(error_from_errno(errno));
    return HFILE_ERROR;
  }
  return 0;
}

int _locking(HFILE h, int mode, std::int32_t count) {
  OpenFile_* f = find(h);
  if (f == nullptr) return fail_crt(CRT_EBADF);
  if (mode < LK_UNLCK || mode > LK_NBRLCK || count < 0) return fail_crt(CRT_EINVAL);
  if (count == 0) return 0;
  const Region r{f->position, count};
  if (mode == LK_UNLCK) {
    for (auto it = f->locks.begin(); it != f->locks.end(); ++it) {
      if (it->start == r.start && it->length == r.length) {
        const int err = ofd_lock(f->fd, F_OFD_SETLK, F_UNLCK, r.start, r.length);
        if (err != 0) return fail_crt(err == EBADF ? CRT_EBADF : CRT_EINVAL);
        f->locks.erase(it);
        return 0;
      }
    }
    return fail_crt(CRT_EACCES);
  }
  const bool waits = mode == LK_LOCK || mode == LK_RLCK;
  const int attempts = waits ? kLockAttempts : 1;
  for (int attempt = 1;; ++attempt) {
    bool own_overlap = false;
    for (const Region& held : f->locks) own_overlap = own_overlap || overlaps(held, r);
    if (!own_overlap) {
      const short type = f->exclusive_locks ? F_WRLCK : F_RDLCK;
      const int err = ofd_lock(f->fd, F_OFD_SETLK, type, r.start, r.length);
      if (err == 0) {
        f->locks.push_back(r);
        return 0;
      }
      if (err != EAGAIN && err != EACCES) return fail_crt(err == EBADF ? CRT_EBADF : CRT_EINVAL);
    }
    if (attempt >= attempts) return fail_crt(waits ? CRT_EDEADLOCK : CRT_EACCES);
    Sleep(kLockRetryMs);
  }
}

int _commit(HFILE h) {
  OpenFile_* f = find(h);
  if (f == nullptr) return fail_crt(CRT_EBADF);
  if (sys().fsync(f->fd) != 0 && errno != EINVAL && errno != EROFS) return fail_crt(CRT_EBADF);
  return 0;
}

HFILE _dup(HFILE h) {
  OpenFile_* f = find(h);
  if (f == nullptr) {
    fail_crt(CRT_EBADF);
    return HFILE_ERROR;
  }
  auto copy = std::make_unique<OpenFile_>();
  copy->fd = sys().fcntl(f->fd, F_DUPFD_CLOEXEC, nullptr);
  if (copy->fd < 0) {
    fail_crt(CRT_EBADF);
    return HFILE_ERROR;
  }
  copy->can_read = f->can_read;
  copy->can_write = f->can_write;
  copy->exclusive_locks = f->exclusive_locks;
  copy->fd_readable = f->fd_readable;
  copy->position = f->position;
  const int fd = copy->fd;
  const HFILE d = insert(std::move(copy));
  if (d == HFILE_ERROR) {
    sys().close(fd);
    fail_crt(CRT_EBADF);
  }
  return d;
}

int crt_errno() { return g_crt_errno; }

int open_file_count() {
  std::lock_guard<std::mutex> guard(g_mutex);
  int n = 0;
  for (std::uint32_t i = 1; i <= g_high_water; ++i) n += g_slots[i].load() != nullptr ? 1 : 0;
  return n;
}

}  // namespace corva::platform
