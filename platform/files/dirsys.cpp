#include <corvaplat/dirsys.h>

#include <dirent.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace corva::platform {
namespace {

void* sys_opendir(const char* path) { return ::opendir(path); }
const char* sys_readdir(void* dir) {
  const dirent* e = ::readdir(static_cast<DIR*>(dir));
  return e != nullptr ? e->d_name : nullptr;
}
int sys_closedir(void* dir) { return ::closedir(static_cast<DIR*>(dir)); }
int sys_statvfs(const char* path, void* buffer) {
  return ::statvfs(path, static_cast<struct statvfs*>(buffer));
}

const DirCalls kReal = {sys_opendir, sys_readdir, sys_closedir, ::chdir, sys_statvfs};
DirCalls g_table = kReal;

}  // namespace

DirCalls& dir_sys() { return g_table; }
const DirCalls& real_dir_sys() { return kReal; }

}  // namespace corva::platform
