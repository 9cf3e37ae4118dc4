// The directory calls of the layer, in a replaceable table like sys(): reading
// a directory, the working directory and the free space of a file system. A
// test replaces an entry to make a listing fail or a disk look full.
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

struct DirCalls {
  void* (*opendir)(const char* path);          // DIR*, null with errno on failure
  const char* (*readdir)(void* dir);           // next entry name, null at the end
  int (*closedir)(void* dir);
  int (*chdir)(const char* path);
  int (*statvfs)(const char* path, void* buffer);  // struct statvfs*
};

CORVAPLAT_API DirCalls& dir_sys();
CORVAPLAT_API const DirCalls& real_dir_sys();

// Replaces the table for the life of the object, then puts the old one back.
class DirSysOverride {
 public:
  DirSysOverride() : saved_(dir_sys()) {}
  ~DirSysOverride() { dir_sys() = saved_; }
  DirSysOverride(const DirSysOverride&) = delete;
  DirSysOverride& operator=(const DirSysOverride&) = delete;
  DirCalls& calls() { return dir_sys(); }

 private:
  DirCalls saved_;
};

}  // namespace corva::platform
