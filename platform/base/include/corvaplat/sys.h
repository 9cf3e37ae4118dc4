// The one table through which the layer makes its system calls.
//
// Every file, directory and lock call of the layer goes through sys(), so a
// test can replace an entry to make, say, the third write fail with ENOSPC or a
// read return EINTR, and restore the table afterwards (SysOverride does both).
// Entries have the POSIX signatures, with opaque pointers where a POSIX struct
// is passed, and report errors through errno like the calls they stand for.
#pragma once
#include <corvaplat/api.h>

#include <cstddef>
#include <cstdint>

namespace corva::platform {

struct SysCalls {
  int (*open)(const char* path, int flags, unsigned mode);
  int (*close)(int fd);
  long (*read)(int fd, void* buffer, std::size_t count);
  long (*write)(int fd, const void* buffer, std::size_t count);
  long (*pread)(int fd, void* buffer, std::size_t count, std::int64_t offset);
  long (*pwrite)(int fd, const void* buffer, std::size_t count, std::int64_t offset);
  std::int64_t (*lseek)(int fd, std::int64_t offset, int whence);
  int (*fcntl)(int fd, int command, void* argument);  // struct flock* for lock commands
  int (*fsync)(int fd);
  int (*ftruncate)(int fd, std::int64_t length);
  int (*fstat)(int fd, void* stat_buffer);             // struct stat*
  int (*stat)(const char* path, void* stat_buffer);    // struct stat*
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
  int (*mkdir)(const char* path, unsigned mode);
  int (*rmdir)(const char* path);
  int (*access)(const char* path, int mode);
  int (*lstat)(const char* path, void* stat_buffer);   // struct stat*
  long (*readlink)(const char* path, char* buffer, std::size_t size);
  int (*fchmod)(int fd, unsigned mode);
  int (*fchown)(int fd, unsigned owner, unsigned group);
  int (*kill)(int pid, int signal);                    // signal 0: does pid exist
  int (*link)(const char* from, const char* to);
};

// The table in force.
CORVAPLAT_API SysCalls& sys();
// The real calls.
CORVAPLAT_API const SysCalls& real_sys();

// Replaces the table for the life of the object, then puts the old one back.
class SysOverride {
 public:
  SysOverride() : saved_(sys()) {}
  ~SysOverride() { sys() = saved_; }
  SysOverride(const SysOverride&) = delete;
  SysOverride& operator=(const SysOverride&) = delete;
  SysCalls& calls() { return sys(); }

 private:
  SysCalls saved_;
};

}  // namespace corva::platform
