#include <corvaplat/api.h>

#include <cerrno>

namespace corva::platform {
namespace {
thread_local std::uint32_t g_last_error = 0;
}

std::uint32_t GetLastError() { return g_last_error; }
void SetLastError(std::uint32_t error) { g_last_error = error; }

std::uint32_t error_from_errno(int err) {
  switch (err) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:   // a symlink planted where the library keeps its own file
    case ENXIO: return kErrorAccessDenied;  // a FIFO or device in its place
    case EBADF: return kErrorInvalidHandle;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EEXIST: return kErrorFileExists;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case EAGAIN: return kErrorLockViolation;
    case EINVAL: return kErrorInvalidParameter;
    default: return kErrorInvalidFunction;
  }
}

}  // namespace corva::platform
