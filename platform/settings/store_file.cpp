#include "settings/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>

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

std::atomic<unsigned> g_temp_sequence{0};

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
  const int fd = sys().open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (fd < 0) return;
  struct stat st {};
  if (sys().fstat(fd, &st) != 0 || identity_of(st) != read) {
    sys().close(fd);
    return;
  }
  fd_ = fd;
  links_ = st.st_nlink;
  changed_sec_ = st.st_ctim.tv_sec;
  changed_nsec_ = st.st_ctim.tv_nsec;
}

Watch::~Watch() {
  if (fd_ >= 0) sys().close(fd_);
}

Watch::Watch(Watch&& other) noexcept
    : fd_(other.fd_),
      links_(other.links_),
      changed_sec_(other.changed_sec_),
      changed_nsec_(other.changed_nsec_) {
  other.fd_ = -1;
}

Watch& Watch::operator=(Watch&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) sys().close(fd_);
    fd_ = other.fd_;
    links_ = other.links_;
    changed_sec_ = other.changed_sec_;
    changed_nsec_ = other.changed_nsec_;
    other.fd_ = -1;
  }
  return *this;
}

bool Watch::unchanged(const Identity& read) const {
  struct stat st {};
  return fd_ >= 0 && sys().fstat(fd_, &st) == 0 && st.st_nlink == links_ &&
         st.st_ctim.tv_sec == changed_sec_ && st.st_ctim.tv_nsec == changed_nsec_ &&
         identity_of(st) == read;
}

int identify(const std::string& path, Identity& id) {
  struct stat st {};
  if (sys().stat(path.c_str(), &st) != 0) return errno;
  id = identity_of(st);
  return 0;
}

int read_whole(const std::string& path, std::string& content, Identity& id) {
  const int fd = sys().open(path.c_str(), O_RDONLY, 0);
  if (fd < 0) return errno;
  int err = 0;
  struct stat st {};
  if (sys().fstat(fd, &st) != 0) {
    err = errno;
  } else if (S_ISDIR(st.st_mode)) {
    err = EISDIR;
  } else {
    id = identity_of(st);
    content.clear();
    content.resize(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0));
    std::size_t got = 0;
    for (;;) {
      if (got == content.size()) content.resize(got + 4096);  // grew since the stat
      const long n = sys().read(fd, content.data() + got, content.size() - got);
      if (n < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    if (err == 0 && static_cast<std::int64_t>(got) != id.size) id.size = -1;  // changing under us
  }
  sys().close(fd);
  return err;
}

WriteLock::WriteLock(const std::string& path) {
  const std::string lock_path = directory_of(path) + "/." + name_of(path) + ".lock";
  fd_ = sys().open(lock_path.c_str(), O_RDWR | O_CREAT, 0666);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;
  while (sys().fcntl(fd_, F_OFD_SETLKW, &fl) != 0) {
    if (errno == EINTR) continue;
    error_ = errno;
    sys().close(fd_);
    fd_ = -1;
    return;
  }
}

WriteLock::~WriteLock() {
  if (fd_ >= 0) sys().close(fd_);  // closing the description releases the lock
}

int replace(const std::string& path, std::string_view content) {
  const std::string temp = directory_of(path) + "/." + name_of(path) + "." +
                           std::to_string(::getpid()) + "." +
                           std::to_string(g_temp_sequence.fetch_add(1)) + ".tmp";
  const int fd = sys().open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return errno;
  int err = write_all(fd, content);
  if (err == 0 && sys().fsync(fd) != 0) err = errno;
  if (sys().close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && sys().rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) sys().unlink(temp.c_str());
  return err;
}

}  // namespace corva::platform::store
