#include <corvaplat/sys.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace corva::platform {
namespace {

int sys_open(const char* path, int flags, unsigned mode) {
  return ::open(path, flags | O_CLOEXEC, static_cast<mode_t>(mode));
}
long sys_read(int fd, void* b, std::size_t n) { return ::read(fd, b, n); }
long sys_write(int fd, const void* b, std::size_t n) { return ::write(fd, b, n); }
long sys_pread(int fd, void* b, std::size_t n, std::int64_t off) { return ::pread(fd, b, n, off); }
long sys_pwrite(int fd, const void* b, std::size_t n, std::int64_t off) {
  return ::pwrite(fd, b, n, off);
}
std::int64_t sys_lseek(int fd, std::int64_t off, int whence) { return ::lseek(fd, off, whence); }
int sys_fcntl(int fd, int cmd, void* arg) { return ::fcntl(fd, cmd, arg); }
int sys_ftruncate(int fd, std::int64_t len) { return ::ftruncate(fd, len); }
int sys_fstat(int fd, void* st) { return ::fstat(fd, static_cast<struct stat*>(st)); }
int sys_stat(const char* p, void* st) { return ::stat(p, static_cast<struct stat*>(st)); }
int sys_mkdir(const char* p, unsigned mode) { return ::mkdir(p, static_cast<mode_t>(mode)); }
int sys_lstat(const char* p, void* st) { return ::lstat(p, static_cast<struct stat*>(st)); }
long sys_readlink(const char* p, char* b, std::size_t n) { return ::readlink(p, b, n); }
int sys_fchmod(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }
int sys_fchown(int fd, unsigned uid, unsigned gid) {
  return ::fchown(fd, static_cast<uid_t>(uid), static_cast<gid_t>(gid));
}
int sys_kill(int pid, int sig) { return ::kill(static_cast<pid_t>(pid), sig); }

const SysCalls kReal = {
    sys_open,  ::close,         sys_read,  sys_write,  sys_pread, sys_pwrite,
    sys_lseek, sys_fcntl,       ::fsync,   sys_ftruncate, sys_fstat, sys_stat,
    ::rename,  ::unlink,        sys_mkdir, ::rmdir,    ::access,  sys_lstat,
    sys_readlink, sys_fchmod,   sys_fchown, sys_kill,  ::link,
};

SysCalls g_table = kReal;

}  // namespace

SysCalls& sys() { return g_table; }
const SysCalls& real_sys() { return kReal; }

}  // namespace corva::platform
