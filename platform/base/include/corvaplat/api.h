// Export macro and the handle types shared by every part of the platform layer.
#pragma once
#include <cstdint>
#include <string>

#if defined(CORVAPLAT_BUILDING)
#define CORVAPLAT_API __attribute__((visibility("default")))
#else
#define CORVAPLAT_API
#endif

namespace corva::platform {

// Handles are 32-bit and opaque; 0 always means "none".
using ModuleHandle = std::uint32_t;
using WindowHandle = std::uint32_t;
using Atom = std::uint16_t;

// Windows error numbers that the layer reports (GetLastError values).
enum WinError : std::uint32_t {
  kErrorSuccess = 0,
  kErrorInvalidFunction = 1,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorTooManyOpenFiles = 4,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorNotEnoughMemory = 8,
  kErrorInvalidData = 13,
  kErrorNoMoreFiles = 18,
  kErrorWriteFault = 29,
  kErrorSharingViolation = 32,
  kErrorLockViolation = 33,
  kErrorHandleEof = 38,
  kErrorFileExists = 80,
  kErrorInvalidParameter = 87,
  kErrorDiskFull = 112,
  kErrorInsufficientBuffer = 122,
  kErrorInvalidName = 123,
  kErrorModNotFound = 126,
  kErrorProcNotFound = 127,
  kErrorDirNotEmpty = 145,
  kErrorAlreadyExists = 183,
  kErrorFilenameTooLong = 206,
  kErrorMoreData = 234,
  kErrorNoMoreItems = 259,
  kErrorNotLocked = 158,
  kErrorInvalidWindowHandle = 1400,
  kErrorResourceNameNotFound = 1814,
};

// Thread-local last error, as GetLastError/SetLastError keep it.
CORVAPLAT_API std::uint32_t GetLastError();
CORVAPLAT_API void SetLastError(std::uint32_t error);

// Maps a POSIX errno value to the Windows error number the library expects.
CORVAPLAT_API std::uint32_t error_from_errno(int err);
// What a Windows error number means, in a few words for a person ("the disk
// is full"); numbers the layer never reports read "error N".
CORVAPLAT_API std::string error_text(std::uint32_t error);

}  // namespace corva::platform
