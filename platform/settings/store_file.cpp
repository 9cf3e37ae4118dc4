#include "settings/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include <corvaplat/dirsys.h>
#include <corvaplat/owned_file.h>
#include <corvaplat/sys.h>

namespace corva::platform::store {
namespace {

Identity identity_of(const struct stat& st) {
  Identity id;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.size = st.st_size;
  id.mtime_sec = st.st_mtim.tv_sec;
  id.mtime_nsec = st.st_mtim.tv_nsec;
  id.ctime_sec = st.st_ctim.tv_sec;
  id.ctime_nsec = st.st_ctim.tv_nsec;
  return id;
}

int write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    const long n = sys().write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// Writes content to a new file, flushes it to the disk and closes it; 0 or
// the errno of the first step that failed (fd is closed either way).
int fill_and_close(int fd, std::string_view content) {
  int err = write_all(fd, content);
  if (err == 0 && sys().fsync(fd) != 0) err = errno;
  if (sys().close(fd) != 0 && err == 0) err = errno;
  return err;
}

std::atomic<unsigned> g_temp_sequence{0};

// The temporary files of a write of `name` are ".<name>.<pid>.<n>.tmp".
std::string temp_prefix(const std::string& path) { return "." + name_of(path) + "."; }

// The writer's process id in a temporary file's name, or 0 when the name is
// not one of ours.
int temp_writer(std::string_view entry, std::string_view prefix) {
  constexpr std::string_view kSuffix = ".tmp";
  if (entry.size() <= prefix.size() + kSuffix.size() || entry.substr(0, prefix.size()) != prefix ||
      entry.substr(entry.size() - kSuffix.size()) != kSuffix)
    return 0;
  std::string_view rest = entry.substr(prefix.size(), entry.size() - prefix.size() - kSuffix.size());
  long pid = 0;
  std::size_t i = 0;
  for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && pid < 1 << 30; ++i)
    pid = pid * 10 + (rest[i] - '0');
  if (i == 0 || i >= rest.size() || rest[i] != '.') return 0;
  for (++i; i < rest.size(); ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 0;
  }
  return static_cast<int>(pid);
}

// Removes the temporary files of path whose writer process is gone (killed
// in the middle of a write). Runs under the write lock, which every writer
// holds from making its temporary file to renaming it.
void remove_orphaned_temporaries(const std::string& path) {
  const std::string dir = directory_of(path);
  const std::string prefix = temp_prefix(path);
  std::vector<std::string> orphans;
  void* d = dir_sys().opendir(dir.c_str());
  if (d == nullptr) return;
  while (const char* entry = dir_sys().readdir(d)) {
    const int pid = temp_writer(entry, prefix);
    if (pid > 0 && pid != ::getpid() && sys().kill(pid, 0) != 0 && errno == ESRCH)
      orphans.emplace_back(entry);
  }
  dir_sys().closedir(d);
  for (const std::string& name : orphans) sys().unlink((dir + "/" + name).c_str());
}

}  // namespace

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

Watch::Watch(const std::string& path, const Identity& read) {
  const int fd = open_owned(path, OwnedOpen::kRead);
  if (fd < 0) return;
  struct stat st {};
  if (sys().fstat(fd, &st) != 0 || identity_of(st) != read) {
    sys().close(fd);
    return;
  }
  fd_ = fd;
  links_ = st.st_nlink;
}

Watch::~Watch() {
  if (fd_ >= 0) sys().close(fd_);
}

Watch::Watch(Watch&& other) noexcept : fd_(other.fd_), links_(other.links_) { other.fd_ = -1; }

Watch& Watch::operator=(Watch&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) sys().close(fd_);
    fd_ = other.fd_;
    links_ = other.links_;
    other.fd_ = -1;
  }
  return *this;
}

bool Watch::unchanged(const Identity& read) const {
  struct stat st {};
  return fd_ >= 0 && sys().fstat(fd_, &st) == 0 && st.st_nlink == links_ &&
         identity_of(st) == read;
}

int identify(const std::string& path, Identity& id) {
  struct stat st {};
  if (sys().stat(path.c_str(), &st) != 0) return errno;
  id = identity_of(st);
  return 0;
}

int read_whole(const std::string& path, std::string& content, Identity& id) {
  const int fd = open_owned(path, OwnedOpen::kRead);
  if (fd < 0) return errno;
  struct stat st {};
  int err = sys().fstat(fd, &st) != 0 ? errno : read_owned(fd, content);
  if (err == 0) {
    id = identity_of(st);
    if (static_cast<std::int64_t>(content.size()) != id.size) id.size = -1;  // changing under us
  }
  sys().close(fd);
  return err;
}

WriteLock::WriteLock(const std::string& path) {
  if (error_ = final_target(path, target_); error_ != 0) return;
  // Nothing is made beside a link's target that is no file (/dev/zero).
  struct stat st {};
  if (sys().stat(target_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    return;
  }
  const std::string lock_path = directory_of(target_) + "/." + name_of(target_) + ".lock";
  fd_ = open_locked(lock_path, F_WRLCK, 0, 0);
  if (fd_ < 0) error_ = errno;
}

WriteLock::~WriteLock() {
  if (fd_ >= 0) sys().close(fd_);  // closing the description releases the lock
}

int replace(const std::string& path, std::string_view content) {
  remove_orphaned_temporaries(path);
  struct stat old {};
  const bool exists = sys().stat(path.c_str(), &old) == 0;
  const std::string temp = directory_of(path) + "/" + temp_prefix(path) +
                           std::to_string(::getpid()) + "." +
                           std::to_string(g_temp_sequence.fetch_add(1)) + ".tmp";
  // Private until it has the old file's owner and mode; a new file gets the
  // usual mode less the umask.
  const int fd = open_owned(temp, OwnedOpen::kCreateNew, exists ? 0600 : 0666);
  if (fd < 0) return errno;
  int err = 0;
  if (exists) {
    (void)sys().fchown(fd, old.st_uid, old.st_gid);  // allowed to root and to the owner's group
    if (sys().fchmod(fd, old.st_mode & 07777) != 0) err = errno;
  }
  if (err == 0) {
    err = fill_and_close(fd, content);
  } else {
    sys().close(fd);
  }
  if (err == 0 && sys().rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) sys().unlink(temp.c_str());
  return err;
}

int save_new(const std::string& name, std::string_view content) {
  for (unsigned n = 0; n < 10000; ++n) {
    const std::string candidate = n == 0 ? name : name + "." + std::to_string(n);
    const int fd = open_owned(candidate, OwnedOpen::kCreateNew, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return errno;
    const int err = fill_and_close(fd, content);
    if (err != 0) sys().unlink(candidate.c_str());
    return err;
  }
  return EEXIST;
}

}  // namespace corva::platform::store
