// Opening, reading and locking the files the library keeps for itself
// (profiles, the registry store, the error log, lock companions, temporary
// files), which sit in directories other programs and users may share.
//
// Only regular files are used: a FIFO, a device or a directory planted under
// one of these names is refused without blocking, and a file over
// kMaxOwnedFileSize is not read. Every lock wait is bounded, so a lock
// another process keeps forever costs a caller at most kLockWaitLimit.
#pragma once
#include <corvaplat/api.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corva::platform {

// The largest profile, store or log the library reads: 16 MiB.
inline constexpr std::size_t kMaxOwnedFileSize = std::size_t{16} << 20;

// How long a lock wait lasts at most before the operation gives up.
inline constexpr std::chrono::milliseconds kLockWaitLimit{3000};

// How an owned file is opened.
enum class OwnedOpen {
  kRead,       // an existing file, read only; a symlink is followed
  kUpdate,     // an existing file, read and write; never through a symlink
  kCreateNew,  // a new file that must not exist yet (O_EXCL), read and write
};

// Opens path as `how` says, close-on-exec and without blocking on a special
// file, and checks that what was opened is a regular file. The descriptor, or
// -1 with errno set: ELOOP for a symlink where none is followed, EISDIR for a
// directory, ENXIO for any other special file. Mode applies to a created file
// (less the umask).
CORVAPLAT_API int open_owned(const std::string& path, OwnedOpen how, unsigned mode = 0666);

// Opens path for update (kUpdate), creating it (mode 0666 less the umask) when
// missing, and locks [start, start + length) with lock_bounded. A file this
// call creates is made under a temporary name, locked and only then linked
// into place, so no other process sees it before its creator holds the lock;
// `created` (optional) says whether this call made it. The descriptor, or -1
// with errno set (EAGAIN: the lock stayed taken).
CORVAPLAT_API int open_locked(const std::string& path, short type, std::int64_t start,
                              std::int64_t length, bool* created = nullptr);

// Reads an open file from its current offset to its end; 0, or an errno
// (EFBIG when it holds more than `limit` bytes, the content then empty).
CORVAPLAT_API int read_owned(int fd, std::string& content,
                             std::size_t limit = kMaxOwnedFileSize);

// Whether path names a regular file (a symlink to one counts).
CORVAPLAT_API bool is_regular_file(const std::string& path);

// Takes an open-file lock (F_RDLCK, F_WRLCK) on [start, start + length) of
// fd (length 0: to the end of the file), retrying through the platform clock
// while another holder has it, for at most `limit`. Writers take turns: one
// that finds others waiting queues behind them rather than taking the lock
// first. 0 once held; EAGAIN when the wait ran out; another errno on failure.
CORVAPLAT_API int lock_bounded(int fd, short type, std::int64_t start, std::int64_t length,
                               std::chrono::milliseconds limit = kLockWaitLimit);

// The path a write through `path` should replace: path itself, or the file
// its chain of symlinks ends at (a shared profile linked into place). 0, or
// ELOOP for a chain too long.
CORVAPLAT_API int final_target(const std::string& path, std::string& target);

}  // namespace corva::platform
