#include <corvaplat/owned_file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include <corvaplat/clock.h>
#include <corvaplat/sys.h>

namespace corva::platform {
namespace {

int open_flags(OwnedOpen how) {
  switch (how) {
    case OwnedOpen::kRead: return O_RDONLY;
    case OwnedOpen::kUpdate: return O_RDWR | O_NOFOLLOW;
    case OwnedOpen::kCreateNew: return O_RDWR | O_CREAT | O_EXCL;  // O_EXCL never follows
  }
  return O_RDONLY;
}

int not_regular_error(const struct stat& st) { return S_ISDIR(st.st_mode) ? EISDIR : ENXIO; }

int set_lock(int fd, int command, struct flock& fl) {
  for (;;) {
    if (sys().fcntl(fd, command, &fl) == 0) return 0;
    if (errno != EINTR) return errno;
  }
}

}  // namespace

int open_owned(const std::string& path, OwnedOpen how, unsigned mode) {
  const int fd = sys().open(path.c_str(), open_flags(how) | O_CLOEXEC | O_NONBLOCK, mode);
  if (fd < 0) return -1;
  struct stat st {};
  int err = 0;
  if (sys().fstat(fd, &st) != 0) {
    err = errno;
  } else if (!S_ISREG(st.st_mode)) {
    err = not_regular_error(st);
  }
  if (err != 0) {
    sys().close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

namespace {

// Makes path as a new file that no other process sees before this one holds
// its lock: made under a temporary name, locked, then linked into place. On a
// file system without hard links it is made in place and locked at once. The
// descriptor, or -1 with errno (EEXIST: another process made it first).
int create_locked(const std::string& path, short type, std::int64_t start, std::int64_t length) {
  static std::atomic<unsigned> sequence{0};
  const std::size_t slash = path.rfind('/');
  const std::string temp = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + "." +
                           std::to_string(::getpid()) + "." +
                           std::to_string(sequence.fetch_add(1)) + ".new";
  int fd = open_owned(temp, OwnedOpen::kCreateNew);
  if (fd < 0) return -1;
  int err = lock_bounded(fd, type, start, length);
  if (err == 0 && sys().link(temp.c_str(), path.c_str()) != 0) err = errno;
  sys().unlink(temp.c_str());
  if (err == 0) return fd;
  sys().close(fd);
  if (err == EPERM || err == ENOTSUP) {  // no hard links on this file system
    fd = open_owned(path, OwnedOpen::kCreateNew);
    if (fd < 0) return -1;
    err = lock_bounded(fd, type, start, length);
    if (err == 0) return fd;
    sys().close(fd);
  }
  errno = err;
  return -1;
}

}  // namespace

int open_locked(const std::string& path, short type, std::int64_t start, std::int64_t length,
                bool* created) {
  if (created != nullptr) *created = false;
  for (int round = 0; round < 8; ++round) {
    int fd = open_owned(path, OwnedOpen::kUpdate);
    if (fd < 0 && errno == ENOENT) {
      fd = create_locked(path, type, start, length);
      if (fd < 0 && errno == EEXIST) continue;  // another process made it first: open that one
      if (fd >= 0 && created != nullptr) *created = true;
      return fd;
    }
    if (fd < 0) return -1;
    if (const int err = lock_bounded(fd, type, start, length); err != 0) {
      sys().close(fd);
      errno = err;
      return -1;
    }
    return fd;
  }
  errno = EAGAIN;
  return -1;
}

int read_owned(int fd, std::string& content, std::size_t limit) {
  content.clear();
  struct stat st {};
  if (sys().fstat(fd, &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return not_regular_error(st);
  if (st.st_size > static_cast<off_t>(limit)) return EFBIG;
  content.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  for (;;) {
    // One byte past the limit tells a file that grew too large since the stat.
    if (got == content.size()) content.resize(std::min(got + 4096, limit + 1));
    if (got == content.size()) break;
    const long n = sys().read(fd, content.data() + got, content.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      content.clear();
      return err;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > limit) {
    content.clear();
    return EFBIG;
  }
  content.resize(got);
  return 0;
}

bool is_regular_file(const std::string& path) {
  struct stat st {};
  return sys().stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// Waiting writers mark themselves with a shared lock on one byte far past any
// data, so a process that just released a lock and wants it again sees them
// and queues behind them instead of taking it back at once. Without this a
// process writing in a loop could keep the lock from a polling waiter until
// the waiter's bound ran out. Lock ranges "to the end of the file" stop short
// of that byte.
constexpr std::int64_t kWaitingByte = std::int64_t{1} << 62;

struct LockCall {
  int fd;
  int command;  // F_OFD_SETLK, or F_SETLK on a kernel without open-file locks

  int set(short type, std::int64_t start, std::int64_t length) {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(start);
    fl.l_len = static_cast<off_t>(length);
    int err = set_lock(fd, command, fl);
    if (err == EINVAL && command == F_OFD_SETLK) {
      command = F_SETLK;
      fl.l_pid = 0;
      err = set_lock(fd, command, fl);
    }
    return err;
  }

  // Whether another open file holds the waiting mark.
  bool others_waiting() {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(kWaitingByte);
    fl.l_len = 1;
    const int get = command == F_OFD_SETLK ? F_OFD_GETLK : F_GETLK;
    return set_lock(fd, get, fl) == 0 && fl.l_type != F_UNLCK;
  }
};

}  // namespace

int lock_bounded(int fd, short type, std::int64_t start, std::int64_t length,
                 std::chrono::milliseconds limit) {
  if (length == 0 && start < kWaitingByte) length = kWaitingByte - start;
  LockCall call{fd, F_OFD_SETLK};
  Clock& c = clock();
  const std::uint64_t begun = c.ticks_ms();
  // Only a writer queues behind the waiting mark: readers share the range.
  bool waiting = false;
  if (type != F_WRLCK || !call.others_waiting()) {
    const int err = call.set(type, start, length);
    if (err != EAGAIN && err != EACCES) return err;
  }
  if (type == F_WRLCK) waiting = call.set(F_RDLCK, kWaitingByte, 1) == 0;
  std::chrono::milliseconds pause{1};
  int err = EAGAIN;
  for (;;) {
    const std::uint64_t waited = c.ticks_ms() - begun;
    if (waited >= static_cast<std::uint64_t>(limit.count())) break;
    const auto left = std::chrono::milliseconds(limit.count() - static_cast<std::int64_t>(waited));
    c.sleep(std::min(pause, left));
    // Short pauses keep waiters taking turns with a busy holder.
    pause = std::min(pause * 2, std::chrono::milliseconds{4});
    err = call.set(type, start, length);
    if (err != EAGAIN && err != EACCES) break;
    err = EAGAIN;
  }
  if (waiting) call.set(F_UNLCK, kWaitingByte, 1);
  return err;
}

int final_target(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (sys().lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    char link[4096];
    const long n = sys().readlink(target.c_str(), link, sizeof link);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof link) return n < 0 ? errno : ENAMETOOLONG;
    std::string next(link, static_cast<std::size_t>(n));
    if (next.front() != '/') {
      const std::size_t slash = target.rfind('/');
      if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
    }
    target = std::move(next);
  }
  return ELOOP;
}

}  // namespace corva::platform
