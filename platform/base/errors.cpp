#include <corvaplat/api.h>

#include <cerrno>
#include <string>

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

namespace corva::platform {

std::string error_text(std::uint32_t error) {
  switch (error) {
    case kErrorSuccess: return "no error";
    case kErrorInvalidFunction: return "the operation is not supported";
    case kErrorFileNotFound: return "no such file";
    case kErrorPathNotFound: return "no such directory";
    case kErrorTooManyOpenFiles: return "too many open files";
    case kErrorAccessDenied: return "permission denied";
    case kErrorInvalidHandle: return "the file is not open";
    case kErrorNotEnoughMemory: return "not enough memory";
    case kErrorInvalidData: return "the data is not valid";
    case kErrorNoMoreFiles: return "no more files";
    case kErrorWriteFault: return "the device refused the data";
    case kErrorSharingViolation: return "the file is in use by another program";
    case kErrorLockViolation: return "that part of the file is locked by another program";
    case kErrorHandleEof: return "reached the end of the file";
    case kErrorFileExists:
    case kErrorAlreadyExists: return "it already exists";
    case kErrorInvalidParameter: return "an argument is not valid";
    case kErrorDiskFull: return "the disk is full";
    case kErrorInsufficientBuffer: return "the result does not fit";
    case kErrorInvalidName: return "the name is not valid";
    case kErrorModNotFound: return "no such module";
    case kErrorProcNotFound: return "no such entry point";
    case kErrorDirNotEmpty: return "the directory is not empty";
    case kErrorNotLocked: return "that part of the file is not locked";
    case kErrorFilenameTooLong: return "the name is too long";
    case kErrorMoreData: return "more data is available";
    case kErrorNoMoreItems: return "no more items";
    case kErrorInvalidWindowHandle: return "no such window";
    case kErrorResourceNameNotFound: return "no such resource";
    default: return "error " + std::to_string(error);
  }
}

}  // namespace corva::platform
